#include "app/StrefaCzasowa.h"
#include "app/ui/Aplikacja.h"
#include "app/ui/OknaAplikacji.h"
#include "app/ui/Przelaczniki.h"
#include "contacts/ui/FrmPaplankiMain.h"

int main(int argc, char **argv)
{
  UstalStrefeCzasowa();
  // The first argument as given, before the application object takes its own options out.
  const QString pierwszy = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  TAplikacja aplikacja(argc, argv);
  if (ObsluzPrzelaczniki(pierwszy))
    return 0;

  TOknaAplikacji okna;
  okna.Glowne()->show();
  aplikacja.exec();
  return 0;
}
