#include "serwer/LogSerwera.h"

#include <cstdio>
#include <ctime>

void TLogSerwera::Zdarzenie(std::string_view tekst)
{
  char czas[32];
  const std::time_t teraz = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&teraz, &tm);
  std::strftime(czas, sizeof czas, "%Y-%m-%d %H:%M:%S", &tm);
  std::string linia = czas;
  linia += ' ';
  // A line stays a line whatever a peer sent.
  for (const char c : tekst)
    linia += (c == '\n' || c == '\r') ? ' ' : c;
  linia += '\n';
  std::fwrite(linia.data(), 1, linia.size(), stderr);
}

void TLogSerwera::Pakiet(std::string_view kierunek, std::uint32_t numer, std::uint32_t typ,
                         std::string_view cialo)
{
  if (!m_gadatliwy)
    return;
  static const char Cyfry[] = "0123456789ABCDEF";
  std::string t(kierunek);
  char naglowek[64];
  std::snprintf(naglowek, sizeof naglowek, " %u typ 0x%02X, %zu B: ", numer, typ, cialo.size());
  t += naglowek;
  for (const char c : cialo.substr(0, 512)) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 32 || b == 127) {
      t += '{';
      t += Cyfry[b >> 4];
      t += Cyfry[b & 15];
      t += '}';
    } else {
      t += c;
    }
  }
  if (cialo.size() > 512)
    t += "...";
  Zdarzenie(t);
}
