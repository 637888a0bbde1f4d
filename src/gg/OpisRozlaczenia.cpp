#include "gg/OpisRozlaczenia.h"

QString OpisPowodu(TPowodRozlaczenia powod, const QString &host)
{
  const QString nazwa = host.isEmpty() ? QString() : QStringLiteral(" „%1”").arg(host);
  switch (powod) {
  case TPowodRozlaczenia::Zalogowano:
    return QString();
  case TPowodRozlaczenia::NieznanaNazwaHosta:
    return QStringLiteral("Nie znaleziono serwera%1: ta nazwa nie istnieje albo nie działa "
                          "internet.")
        .arg(nazwa);
  case TPowodRozlaczenia::SerwerOdmowil:
    return QStringLiteral("Serwer%1 odmówił połączenia.").arg(nazwa);
  case TPowodRozlaczenia::BrakPolaczenia:
    return QStringLiteral("Nie udało się połączyć z serwerem%1.").arg(nazwa);
  case TPowodRozlaczenia::OdmowaLogowania:
    return QStringLiteral("Serwer nie przyjął logowania: sprawdź numer i hasło.");
  case TPowodRozlaczenia::ZerwanePolaczenie:
    return QStringLiteral("Połączenie z serwerem zostało zerwane.");
  }
  return QString();
}

QString TekstOdliczania(int pozostaloMs)
{
  if (pozostaloMs < 0)
    return QStringLiteral("Trwa łączenie…");
  // Rounded up: "za 0 s" would be shown for most of the last second.
  const int sekundy = (pozostaloMs + 999) / 1000;
  return QStringLiteral("Następna próba za %1 s.").arg(sekundy);
}

QString TekstOdrzuconych(int liczba)
{
  const QString slowo = liczba == 1 ? QStringLiteral("wiadomość") : QStringLiteral("wiadomości");
  return QStringLiteral("Odrzucono %1 %2 od osób spoza listy").arg(liczba).arg(slowo);
}
