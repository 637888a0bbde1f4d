// The received byte stream, cut into reads of varying size, through the reassembly into the real
// dispatcher with a conversation tree, its view adapter and the directory's core.

#include "common/OdbiorTestowy.h"
#include "contacts/Galezie.h"
#include "contacts/ModelDrzewa.h"
#include "fuzz/Fuzz.h"
#include "gg/Katalog.h"
#include "gg/OdbiorPakietow.h"

#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dane, size_t rozmiar)
{
  TCzytnikWejscia wejscie(Wejscie(dane, rozmiar));
  const quint8 ustawienia = wejscie.Bajt();
  TStanowiskoOdbioru s((ustawienia & 1) != 0);
  s.Okno.IdleDziala = (ustawienia & 2) != 0;
  TModelDrzewa model(s.Drzewo);
  TKatalog katalog;
  s.Odbior.UstawKatalog(&katalog);
  bool blednyStrumien = false;
  TOdbiorPakietow odbior(
      [&](qint32 typ, qint32 dlugosc, const QByteArray &cialo) {
        FUZZ_WARUNEK(dlugosc == cialo.size());
        try {
          s.Odbior.Obsluz(typ, dlugosc, cialo);
        } catch (const std::exception &) {
          // a failed conversion ends one packet, as the socket's guard would
        }
      },
      [&](qint32, quint32) { blednyStrumien = true; });
  const int kawalek = 1 + (ustawienia >> 2) * 97;
  const QByteArray strumien = wejscie.Reszta();
  for (qsizetype i = 0; i < strumien.size() && !blednyStrumien; i += kawalek) {
    const qsizetype ile = std::min<qsizetype>(kawalek, strumien.size() - i);
    odbior.Odebrano(strumien.constData() + i, int(ile));
  }
  FUZZ_WARUNEK(model.rowCount() == s.Drzewo.LiczbaGlownych());
  // Every contact the stream made can still be found by its number.
  for (int i = 0; i < s.Drzewo.LiczbaGlownych(); ++i)
    if (const TUzytkownik *u = s.Drzewo.Glowny(i)->DaneJako<TUzytkownik>())
      FUZZ_WARUNEK(s.Drzewo.ZnajdzUzytkownika(u->Numer()) != nullptr);
  return 0;
}
