// The settings file and the number lists of the data folder, as start-up reads them.

#include "contacts/ListaTekstow.h"
#include "contacts/Ustawienia.h"
#include "fuzz/Fuzz.h"
#include "net/Blad.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>

#include <exception>

namespace {

void Zapisz(const QString &sciezka, const QByteArray &tresc)
{
  QFile plik(sciezka);
  if (plik.open(QIODevice::WriteOnly | QIODevice::Truncate))
    plik.write(tresc);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dane, size_t rozmiar)
{
  TCzytnikWejscia wejscie(Wejscie(dane, rozmiar));
  const QString katalog = QDir::temp().filePath(
      QStringLiteral("fuzz-ustawienia-%1").arg(QCoreApplication::applicationPid()));
  QDir().mkpath(katalog);
  const QString plikUstawien = katalog + QStringLiteral("/Paplanki (GG).conf");
  Zapisz(plikUstawien, wejscie.Kawalek(255) + wejscie.Kawalek(255));
  const QByteArray lista = wejscie.Reszta();
  for (const char *nazwa : {"ListaBlokowanych", "WyslanoNa", "ListaKickujacych"})
    Zapisz(katalog + u'/' + QLatin1String(nazwa), lista);

  QSettings rejestr(plikUstawien, QSettings::IniFormat);
  TUstawienia ustawienia(rejestr, katalog);
  ustawienia.CzytajLogowanie();
  ustawienia.CzytajTestowanie();
  ustawienia.CzytajHasloUzytkownika();
  try {
    ustawienia.CzytajNumerUzytkownika();
  } catch (const EBlad &) {
  }
  ustawienia.WczytajListy();
  const TListaPosortowana &blokowani = ustawienia.ListaBlokowanych();
  // Sorted, and the built-in numbers are there whatever the file said.
  for (qsizetype i = 1; i < blokowani.Liczba(); ++i)
    FUZZ_WARUNEK(blokowani.Znajdz(blokowani[i]) <= i);
  for (const QString &wbudowany : TUstawienia::WbudowaneBlokowane())
    FUZZ_WARUNEK(blokowani.Zawiera(wbudowany));
  ustawienia.ZwolnijListy();
  return 0;
}
