#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Field helpers of the server's packet bodies, on plain byte strings.

inline void DopiszLE(std::string &cel, std::uint32_t v)
{
  const char b[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                     char((v >> 24) & 0xFF)};
  cel.append(b, 4);
}

// The 32-bit little-endian value at `od`; the caller has checked the length.
inline std::uint32_t CzytajLE(std::string_view z, std::size_t od)
{
  const auto b = [&](std::size_t i) {
    return std::uint32_t(static_cast<unsigned char>(z[od + i]));
  };
  return b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
}

// Directory pairs "key NUL value NUL ..."; a missing final NUL ends the value at the end.
inline std::vector<std::pair<std::string_view, std::string_view>> RozbierzPary(std::string_view z)
{
  std::vector<std::pair<std::string_view, std::string_view>> pary;
  while (!z.empty()) {
    auto nul = z.find('\0');
    const std::string_view klucz = z.substr(0, nul);
    z.remove_prefix(nul == std::string_view::npos ? z.size() : nul + 1);
    nul = z.find('\0');
    const std::string_view wartosc = z.substr(0, nul);
    z.remove_prefix(nul == std::string_view::npos ? z.size() : nul + 1);
    pary.emplace_back(klucz, wartosc);
  }
  return pary;
}

inline void DopiszPare(std::string &cel, std::string_view klucz, std::string_view wartosc)
{
  cel.append(klucz);
  cel += '\0';
  cel.append(wartosc);
  cel += '\0';
}

// A decimal number, or 0 when the text is not one (or does not fit).
inline std::uint32_t LiczbaZTekstu(std::string_view t)
{
  if (t.empty() || t.size() > 10)
    return 0;
  std::uint64_t v = 0;
  for (const char c : t) {
    if (c < '0' || c > '9')
      return 0;
    v = v * 10 + std::uint64_t(c - '0');
  }
  return v > 0xFFFFFFFFu ? 0 : std::uint32_t(v);
}
