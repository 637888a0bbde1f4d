#pragma once

#include <QApplication>
#include <QString>
#include <QTest>

#include <functional>

// Every test process runs against its own empty home: settings, data folder and caches go to a
// temporary directory that is removed at exit, and windows are drawn offscreen.
void PrzygotujSrodowiskoTestowe();

// The temporary home of this process (valid after PrzygotujSrodowiskoTestowe).
QString KatalogTestowy();

// Answers the next modal window (message box or dialog) that becomes active within the timeout by
// calling `odpowiedz` on it. Returns at once; the answer runs from the event loop.
void OdpowiedzNaOknoModalne(std::function<void(QWidget *)> odpowiedz, int limitMs = 5000);

#define PAPLANKI_TEST_MAIN(KlasaTestu)                                                             \
  int main(int argc, char **argv)                                                                  \
  {                                                                                                \
    PrzygotujSrodowiskoTestowe();                                                                  \
    QApplication aplikacja(argc, argv);                                                            \
    KlasaTestu test;                                                                               \
    return QTest::qExec(&test, argc, argv);                                                        \
  }
