#include "gg/SerwerAlternatywny.h"

#include "contacts/Rejestr.h"
#include "contacts/Ustawienia.h"
#include "gg/HostyGG.h"

TSerwerAlternatywny SerwerAlternatywny(const TUstawienia &ustawienia)
{
  const QString sekcja = QStringLiteral("Ustawienia");
  const QString adres =
      CzytajTekst(ustawienia.Rejestr(), sekcja, QStringLiteral("AdresAlternatywny"), QString())
          .trimmed();
  const QString port =
      CzytajTekst(ustawienia.Rejestr(), sekcja, QStringLiteral("PortAlternatywny"), QString())
          .trimmed();
  TSerwerAlternatywny s;
  s.AdresZUstawien = !adres.isEmpty();
  s.AdresInformacji = adres.isEmpty() ? HostInformacjiAlternatywny.toString() : adres;
  s.AdresRejestracji = adres.isEmpty() ? HostRejestracjiAlternatywny.toString() : adres;
  // A port that is no port number leaves the built-in one.
  bool liczba = false;
  const int numer = port.toInt(&liczba, 10);
  s.PortZUstawien = liczba && numer > 0 && numer < 65536;
  s.Port = s.PortZUstawien ? QString::number(numer) : PortHttpGG.toString();
  return s;
}
