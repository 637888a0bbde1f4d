// Code-page conversions of the wire and the escaping of control characters.

#include "fuzz/Fuzz.h"
#include "gg/StronyKodowe.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *dane, size_t rozmiar)
{
  TCzytnikWejscia wejscie(Wejscie(dane, rozmiar));
  static const int strony[] = {1250, 1252, 65001, 28592, 852, 0, -1, 1200};
  const int z = strony[wejscie.Bajt() % std::size(strony)];
  const int na = strony[wejscie.Bajt() % std::size(strony)];
  const QByteArray bajty = wejscie.Reszta();

  ConvertCodePage(bajty, z, na);
  const QString z1250 = Cp1250ToAnsi(bajty);
  FUZZ_WARUNEK(z1250.size() <= bajty.size());
  const QString zUtf8 = Utf8ToAnsi(bajty);
  // Text that came from 1250 goes back to 1250 at one byte per character.
  if (MiesciSieW1250(z1250))
    FUZZ_WARUNEK(AnsiToCp1250(z1250).size() == z1250.size());
  AnsiToUtf8(zUtf8);
  bool znacznik = false;
  DekodujTekstWiadomosci(bajty, &znacznik);
  if (znacznik)
    FUZZ_WARUNEK(bajty.contains(QByteArray(ZnacznikTekstu.data(), ZnacznikTekstu.size())));

  // Escaped text stays on one line, whatever it held.
  for (const QString &e : {EscapeControls(bajty), EscapeControls(zUtf8)})
    for (QChar c : e)
      FUZZ_WARUNEK(c.unicode() >= 0x20 || c == u'\t');
  return 0;
}
