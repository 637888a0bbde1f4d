// The event log: sections, keys and values of any content appended to a log file that holds
// whatever earlier inputs left; each entry must stay one line under its own header.

#include "fuzz/Fuzz.h"
#include "gg/Dziennik.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dane, size_t rozmiar)
{
  static int wywolania = 0;
  static TKoniecIni koniec;
  TCzytnikWejscia wejscie(Wejscie(dane, rozmiar));
  const QString sciezka =
      QDir::temp().filePath(QStringLiteral("fuzz-%1.log").arg(QCoreApplication::applicationPid()));
  const quint8 sposob = wejscie.Bajt();
  if (++wywolania % 1000 == 0 || (sposob & 1)) {
    // Something else wrote the file meanwhile: a start of its own, or what the input says.
    QFile plik(sciezka);
    if (plik.open(QIODevice::WriteOnly | QIODevice::Truncate))
      plik.write(wejscie.Kawalek(200));
  }
  const QString sekcja = QString::fromUtf8(wejscie.Kawalek(40));
  const QString klucz = QString::fromUtf8(wejscie.Kawalek(40));
  const QString wartosc = QString::fromUtf8(wejscie.Reszta());
  const qint64 przed = QFileInfo(sciezka).size();
  if (!DopiszWpisIni(sciezka, sekcja, klucz, wartosc, koniec))
    return 0;
  QFile plik(sciezka);
  FUZZ_WARUNEK(plik.open(QIODevice::ReadOnly));
  FUZZ_WARUNEK(plik.size() == koniec.Rozmiar);
  FUZZ_WARUNEK(plik.seek(przed));
  const QByteArray dopisane = plik.readAll();
  // A line break the file lacked, perhaps a header, and the entry: never more lines.
  FUZZ_WARUNEK(dopisane.endsWith('\n'));
  FUZZ_WARUNEK(dopisane.count('\n') <= 3);
  const QByteArray wpis = dopisane.sliced(dopisane.lastIndexOf('\n', dopisane.size() - 2) + 1);
  FUZZ_WARUNEK(wpis.contains('='));
  return 0;
}
