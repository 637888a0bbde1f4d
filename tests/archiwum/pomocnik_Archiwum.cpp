// The real main window in a process of its own, for tests that kill it: it connects through the
// loopback lookup host whose port is the first argument and runs until it is killed.

#include "gg/Sesja.h"
#include "program/FrmPaplankiMain.h"

#include <QApplication>
#include <QToolButton>

int main(int argc, char **argv)
{
  QApplication aplikacja(argc, argv);
  if (argc < 2)
    return 2;
  TFrmPaplankiMain okno;
  okno.show();
  okno.Sesja().UstawPortHttp(QString::fromLatin1(argv[1]));
  okno.PolaczTB->click();
  return aplikacja.exec();
}
