// The contact list from the server's storage: the import of the input as reply pieces, then the
// export of what it made and the import of that into a fresh tree, which must give the same
// contacts.

#include "common/OdbiorTestowy.h"
#include "contacts/Galezie.h"
#include "fuzz/Fuzz.h"
#include "gg/ListaKontaktow.h"
#include "gg/Pakiety.h"

#include <exception>

namespace {

// The reply pieces of an import: 0x04 for each but the last, 0x06 for the last.
void Importuj(TStanowiskoOdbioru &s, const QList<QByteArray> &kawalki)
{
  for (qsizetype i = 0; i < kawalki.size(); ++i) {
    const char podtyp = i + 1 < kawalki.size() ? 0x04 : 0x06;
    try {
      s.Obsluz(GGAnsUserList, podtyp + kawalki[i]);
    } catch (const std::exception &) {
      return; // a number that is not a number ends the import
    }
  }
}

QList<int> Numery(const TDrzewo &d)
{
  QList<int> numery;
  for (int i = 0; i < d.LiczbaGlownych(); ++i)
    if (const TUzytkownik *u = d.Glowny(i)->DaneJako<TUzytkownik>())
      numery << u->Numer();
  return numery;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dane, size_t rozmiar)
{
  TCzytnikWejscia wejscie(Wejscie(dane, rozmiar));
  QList<QByteArray> kawalki;
  while (wejscie.Zostalo() > 0)
    kawalki << wejscie.Kawalek(250);
  if (kawalki.isEmpty())
    return 0;

  TStanowiskoOdbioru pierwsze(false);
  Importuj(pierwsze, kawalki);

  // Out through the export, in again.
  QList<QByteArray> wyslane;
  for (const QByteArray &cialo : CialaZapisuListy(TekstListy(pierwsze.Drzewo)))
    wyslane << cialo.sliced(1);
  TStanowiskoOdbioru drugie(false);
  Importuj(drugie, wyslane);
  FUZZ_WARUNEK(Numery(drugie.Drzewo) == Numery(pierwsze.Drzewo));
  return 0;
}
