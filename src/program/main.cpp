#include "app/StrefaCzasowa.h"
#include "app/ui/Aplikacja.h"
#include "app/ui/Przelaczniki.h"
#include "program/FrmPaplankiMain.h"
#include "program/OknaAplikacji.h"
#include "pulpit/IkonaProgramu.h"

int main(int argc, char **argv)
{
  UstalStrefeCzasowa();
  // The first argument as given, before the application object takes its own options out.
  const QString pierwszy = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  TAplikacja aplikacja(argc, argv);
  UstawTozsamoscPulpitu();
  if (ObsluzPrzelaczniki(pierwszy))
    return 0;

  TOknaAplikacji okna;
  okna.Glowne()->show();
  aplikacja.exec();
  return 0;
}
