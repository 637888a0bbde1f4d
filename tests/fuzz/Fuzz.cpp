#include "fuzz/Fuzz.h"

#include "common/Srodowisko.h"

#include <QApplication>

void PrzygotujFuzz()
{
  static QApplication *aplikacja = nullptr;
  if (aplikacja)
    return;
  PrzygotujSrodowiskoTestowe();
  static int argc = 1;
  static char nazwa[] = "fuzz";
  static char *argv[] = {nazwa, nullptr};
  aplikacja = new QApplication(argc, argv);
  // Reports of the code under test would only slow the run down.
  qInstallMessageHandler([](QtMsgType typ, const QMessageLogContext &, const QString &tekst) {
    if (typ == QtFatalMsg) {
      fprintf(stderr, "%s\n", qPrintable(tekst));
      abort();
    }
  });
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
  PrzygotujFuzz();
  return 0;
}
