// The address book file: cards, folding, parameters, encodings and every property read from it.

#include "contacts/KsiazkaAdresowa.h"
#include "fuzz/Fuzz.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dane, size_t rozmiar)
{
  const QString sciezka = QDir::temp().filePath(
      QStringLiteral("fuzz-Kontakty-%1.vcf").arg(QCoreApplication::applicationPid()));
  {
    QFile plik(sciezka);
    if (!plik.open(QIODevice::WriteOnly | QIODevice::Truncate))
      return 0;
    plik.write(reinterpret_cast<const char *>(dane), qint64(rozmiar));
  }
  TOutlookApplication ksiazka(sciezka);
  try {
    ksiazka.Polacz();
  } catch (const EKsiazkaAdresowa &) {
    return 0;
  }
  for (int i = 1; i <= ksiazka.Count(); ++i) {
    try {
      const TElementKsiazki e = ksiazka.Item(i);
      e.JestKontaktem();
      e.LastName();
      e.FirstName();
      e.Email1Address();
      e.HomeTelephoneNumber();
      bool jest = false;
      e.WlasciwoscUzytkownika(QStringLiteral("GG-Numery"), &jest);
      e.WlasciwoscUzytkownika(QStringLiteral("GG-Opis"), &jest);
    } catch (const EKsiazkaAdresowa &) {
    }
  }
  OdkodujTekstVCard(QString::fromUtf8(Wejscie(dane, rozmiar)));
  return 0;
}
