// The registration service's token reply, the token picture and the registration result.

#include "dialogs/Rejestracja.h"
#include "fuzz/Fuzz.h"
#include "net/Blad.h"

#include <QImage>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dane, size_t rozmiar)
{
  const QByteArray tresc = Wejscie(dane, rozmiar);
  const QString tekst = TekstOdpowiedzi(tresc);
  try {
    const TToken token = RozbierzToken(tekst);
    AdresObrazkaTokenu(token);
  } catch (const EBlad &) {
  }
  const TWynikRejestracji wynik = RozbierzWynikRejestracji(tekst);
  if (wynik.Rodzaj == TWynikRejestracji::Zarejestrowano)
    FUZZ_WARUNEK(tekst.startsWith(QStringLiteral("reg_success:")));
  try {
    const QImage obrazek = DekodujObrazekTokenu(tresc);
    FUZZ_WARUNEK(!obrazek.isNull());
  } catch (const EBlad &) {
  }
  return 0;
}
