#pragma once

#include <QString>

class TArchiwum;

// Writes the whole conversation with `numer`, oldest first, as plain UTF-8 text (one message per
// line, as the history shows it) or as an HTML page with the text escaped. False when the file
// cannot be written.
bool EksportujRozmowe(TArchiwum &archiwum, int numer, const QString &plik, bool html);
