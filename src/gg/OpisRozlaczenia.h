#pragma once

#include "gg/OknoSesji.h"

#include <QDateTime>
#include <QString>

// The plain-Polish texts of the offline bar, kept apart from its widget.

// Why the program is offline; empty for Zalogowano.
QString OpisPowodu(TPowodRozlaczenia powod, const QString &host);
// When the next attempt is due, from the milliseconds left; negative: one is under way.
QString TekstOdliczania(int pozostaloMs);
// "Odrzucono 2 wiadomości od osób spoza listy".
QString TekstOdrzuconych(int liczba);

// A message dropped because its sender is not on the list and only friends may write.
struct TOdrzuconaWiadomosc {
  int Nadawca = 0;
  QDateTime Czas; // the sender's time, local
  QString PierwszaLinia;
};
