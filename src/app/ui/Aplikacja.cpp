#include "app/ui/Aplikacja.h"

#include "app/Teksty.h"
#include "app/ui/Powloka.h"
#include "app/ui/StanAplikacji.h"
#include "net/Blad.h"

#include <exception>

TAplikacja::TAplikacja(int &argc, char **argv) : QApplication(argc, argv) {}

bool TAplikacja::notify(QObject *odbiorca, QEvent *zdarzenie)
{
  bool wynik = false;
  WykonajZObslugaBledow([&] { wynik = QApplication::notify(odbiorca, zdarzenie); });
  return wynik;
}

void PokazBladAplikacji(const QString &komunikat)
{
  PokazKomunikatProgramu(QApplication::activeWindow(), StanAplikacji().Tytul(), komunikat,
                         Komunikat::PrzyciskOk | Komunikat::IkonaBledu, TekstBlad.toString());
}

bool WykonajZObslugaBledow(const std::function<void()> &dzialanie)
{
  try {
    dzialanie();
    return true;
  } catch (const EBlad &blad) {
    PokazBladAplikacji(blad.KomunikatUzytkownika());
  } catch (const std::exception &blad) {
    PokazBladAplikacji(QString::fromLocal8Bit(blad.what()));
  }
  return false;
}
