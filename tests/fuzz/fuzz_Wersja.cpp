// Version files: the published ".wersja" numbers, the version block inside a program file and
// version texts.

#include "app/BlokWersji.h"
#include "app/Wersja.h"
#include "fuzz/Fuzz.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dane, size_t rozmiar)
{
  const QByteArray bajty = Wejscie(dane, rozmiar);
  const QString sciezka = QDir::temp().filePath(
      QStringLiteral("fuzz-%1.wersja").arg(QCoreApplication::applicationPid()));
  {
    QFile plik(sciezka);
    if (!plik.open(QIODevice::WriteOnly | QIODevice::Truncate))
      return 0;
    plik.write(bajty);
  }
  CzytajPlikWersji(sciezka);
  WersjaPliku(sciezka);
  QByteArray blok;
  QString nazwa, adres, prawa;
  quint64 wersja = 0;
  if (!CzytajWersje(sciezka, blok, nazwa, adres, prawa, wersja))
    FUZZ_WARUNEK(wersja == 0 && nazwa.isEmpty());
  ZwolnijWersje(blok);

  const QByteArray znaleziony = ZnajdzBlokWersji(bajty);
  FUZZ_WARUNEK(znaleziony.isEmpty() || bajty.contains(znaleziony));
  for (const QStringView klucz :
       {u"ProductName", u"ProductVersion", u"FileVersion", u"StringFileInfo/041504E2/ProductName"})
    WartoscWersji(znaleziony.isEmpty() ? bajty : znaleziony, klucz);
  RozbierzWersje(QString::fromLatin1(bajty));
  return 0;
}
