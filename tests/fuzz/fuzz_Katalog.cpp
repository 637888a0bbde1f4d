// Directory replies: search results pages and the own entry.

#include "fuzz/Fuzz.h"
#include "gg/Katalog.h"

#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dane, size_t rozmiar)
{
  QByteArray cialo = Wejscie(dane, rozmiar);
  if (cialo.size() < TKatalog::DlugoscNaglowkaOdpowiedzi)
    cialo.resize(TKatalog::DlugoscNaglowkaOdpowiedzi, '\0');
  TKatalog katalog;
  int szukania = 0;
  QObject::connect(&katalog, &TKatalog::Szukaj, [&] { ++szukania; });
  katalog.UstawSzukanie(true);
  try {
    katalog.ObsluzOdpowiedz(cialo);
  } catch (const std::exception &) {
  }
  // One reply asks for one further page at most.
  FUZZ_WARUNEK(szukania <= 1);
  return 0;
}
