#pragma once

// Style bits and results of the program's message boxes, numbered as the Windows message box
// numbers them, so that every caller's flags read the same on every platform.
namespace Komunikat {
inline constexpr int PrzyciskOk = 0;
inline constexpr int PrzyciskiOkAnuluj = 1;
inline constexpr int PrzyciskiPrzerwijPonowIgnoruj = 2;
inline constexpr int PrzyciskiTakNieAnuluj = 3;
inline constexpr int PrzyciskiTakNie = 4;
inline constexpr int PrzyciskiPonowAnuluj = 5;
inline constexpr int MaskaPrzyciskow = 0x0F;

inline constexpr int IkonaBledu = 16;
inline constexpr int IkonaPytania = 32;
inline constexpr int IkonaOstrzezenia = 48;
inline constexpr int IkonaInformacji = 64;
inline constexpr int MaskaIkony = 0xF0;

inline constexpr int DrugiPrzyciskDomyslny = 256;
inline constexpr int TrzeciPrzyciskDomyslny = 512;
inline constexpr int MaskaDomyslnego = 0xF00;

inline constexpr int WynikOk = 1;
inline constexpr int WynikAnuluj = 2;
inline constexpr int WynikPrzerwij = 3;
inline constexpr int WynikPonow = 4;
inline constexpr int WynikIgnoruj = 5;
inline constexpr int WynikTak = 6;
inline constexpr int WynikNie = 7;
} // namespace Komunikat
