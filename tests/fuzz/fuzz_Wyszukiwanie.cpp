// The server lookup's reply and the session's reading of the registration answer.

#include "fuzz/Fuzz.h"
#include "gg/SesjaZapytania.h"
#include "net/Blad.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dane, size_t rozmiar)
{
  const QByteArray odpowiedz = Wejscie(dane, rozmiar);
  const bool kompletna = OdpowiedzKompletna(odpowiedz);
  // Searching only past what was searched before finds the same end.
  for (qsizetype podzial = 0; podzial <= odpowiedz.size(); podzial += 1 + podzial / 3) {
    if (!OdpowiedzKompletna(odpowiedz.first(podzial)))
      FUZZ_WARUNEK(OdpowiedzKompletna(odpowiedz, podzial) == kompletna);
  }
  QByteArray bufor = odpowiedz;
  try {
    const TOdpowiedzSerwera o = RozbierzOdpowiedzSerwera(bufor);
    FUZZ_WARUNEK(o.Informacja.size() <= odpowiedz.size());
  } catch (const EBlad &) {
  }
  FUZZ_WARUNEK(bufor.size() <= odpowiedz.size());
  const QByteArray tresc = TrescOdpowiedzi(odpowiedz);
  FUZZ_WARUNEK(odpowiedz.endsWith(tresc));
  NumerZRejestracji(tresc.trimmed());
  return 0;
}
