#pragma once

#include <QDateTime>
#include <QString>

// The program's one date-and-time text: the locale's short date, a space and its long time
// without a zone name. A time of exactly midnight is left out, as the classic conversion does.
QString DataCzasNaTekst(const QDateTime &czas);
