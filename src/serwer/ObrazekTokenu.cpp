#include "serwer/ObrazekTokenu.h"

#include <cmath>
#include <unordered_map>

namespace {

// 5 x 7 digits, one row a byte, the leftmost pixel in bit 4.
constexpr std::uint8_t Cyfry[10][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
};

// Variable-width codes packed least significant bit first, cut into sub-blocks of 255 bytes.
class TStrumienBitow {
public:
  void Pisz(unsigned kod, int bity)
  {
    m_akumulator |= std::uint32_t(kod) << m_ileBitow;
    m_ileBitow += bity;
    while (m_ileBitow >= 8) {
      m_bajty += char(m_akumulator & 0xFF);
      m_akumulator >>= 8;
      m_ileBitow -= 8;
    }
  }
  std::string Bloki()
  {
    if (m_ileBitow > 0)
      m_bajty += char(m_akumulator & 0xFF);
    m_ileBitow = 0;
    std::string wynik;
    for (std::size_t i = 0; i < m_bajty.size(); i += 255) {
      const std::size_t n = std::min<std::size_t>(255, m_bajty.size() - i);
      wynik += char(n);
      wynik.append(m_bajty, i, n);
    }
    wynik += '\0';
    return wynik;
  }

private:
  std::string m_bajty;
  std::uint32_t m_akumulator = 0;
  int m_ileBitow = 0;
};

void Dopisz16(std::string &cel, int v)
{
  cel += char(v & 0xFF);
  cel += char((v >> 8) & 0xFF);
}

} // namespace

std::string ZakodujGif(int szerokosc, int wysokosc, const std::vector<std::uint8_t> &piksele,
                       const std::vector<std::uint8_t> &paleta)
{
  int bityPalety = 1;
  while ((1 << bityPalety) * 3 < int(paleta.size()) && bityPalety < 8)
    ++bityPalety;
  std::string gif = "GIF89a";
  Dopisz16(gif, szerokosc);
  Dopisz16(gif, wysokosc);
  gif += char(0x80 | ((bityPalety - 1) << 4) | (bityPalety - 1));
  gif += '\0'; // background colour
  gif += '\0'; // aspect
  std::string tablica(paleta.begin(), paleta.end());
  tablica.resize(std::size_t(3) << bityPalety, '\0');
  gif += tablica;
  gif += ',';
  Dopisz16(gif, 0);
  Dopisz16(gif, 0);
  Dopisz16(gif, szerokosc);
  Dopisz16(gif, wysokosc);
  gif += '\0';

  const int minimum = std::max(2, bityPalety);
  gif += char(minimum);
  const unsigned wyczysc = 1u << minimum;
  const unsigned koniec = wyczysc + 1;
  TStrumienBitow s;
  std::unordered_map<std::uint32_t, unsigned> slownik;
  unsigned nastepny = koniec + 1;
  int bity = minimum + 1;
  s.Pisz(wyczysc, bity);
  if (!piksele.empty()) {
    unsigned przedrostek = piksele[0];
    for (std::size_t i = 1; i < piksele.size(); ++i) {
      const std::uint8_t k = piksele[i];
      const std::uint32_t klucz = (std::uint32_t(przedrostek) << 8) | k;
      const auto it = slownik.find(klucz);
      if (it != slownik.end()) {
        przedrostek = it->second;
        continue;
      }
      s.Pisz(przedrostek, bity);
      slownik.emplace(klucz, nastepny++);
      // The reader adds its entry one code later, so the width grows once the table has
      // passed the current limit.
      if (nastepny > (1u << bity) && bity < 12)
        ++bity;
      if (nastepny >= 4095) {
        s.Pisz(wyczysc, bity);
        slownik.clear();
        nastepny = koniec + 1;
        bity = minimum + 1;
      }
      przedrostek = k;
    }
    s.Pisz(przedrostek, bity);
  }
  s.Pisz(koniec, bity);
  gif += s.Bloki();
  gif += ';';
  return gif;
}

std::string ObrazekTokenu(const std::string &cyfry, std::mt19937 &los)
{
  const int w = SzerokoscTokenu, h = WysokoscTokenu;
  std::vector<std::uint8_t> piksele(std::size_t(w * h), 0);
  std::uniform_int_distribution<int> procent(0, 99);
  for (auto &p : piksele)
    if (procent(los) < 6)
      p = 2;
  const double faza = std::uniform_real_distribution<double>(0, 6.28)(los);
  const int skala = 3;
  const int odstep = w / int(std::max<std::size_t>(cyfry.size(), 1));
  for (std::size_t n = 0; n < cyfry.size(); ++n) {
    const int c = cyfry[n] - '0';
    if (c < 0 || c > 9)
      continue;
    const int x0 = int(n) * odstep + 2 + std::uniform_int_distribution<int>(0, 2)(los);
    const int y0 = std::uniform_int_distribution<int>(1, h - 7 * skala - 1)(los);
    const double pochylenie = std::uniform_real_distribution<double>(-0.25, 0.25)(los);
    for (int y = 0; y < 7 * skala; ++y)
      for (int x = 0; x < 5 * skala; ++x) {
        if (!(Cyfry[c][y / skala] & (0x10 >> (x / skala))))
          continue;
        const int px = x0 + x + int(std::lround(pochylenie * (y - 10)));
        const int py = y0 + y + int(std::lround(1.5 * std::sin(faza + (x0 + x) * 0.2)));
        if (px >= 0 && px < w && py >= 0 && py < h)
          piksele[std::size_t(py * w + px)] = 1;
      }
  }
  // A line across, in the digits' colour's lighter kin.
  const int y1 = std::uniform_int_distribution<int>(4, h - 5)(los);
  for (int x = 0; x < w; ++x) {
    const int y = y1 + int(std::lround(3 * std::sin(faza + x * 0.08)));
    if (y >= 0 && y < h && piksele[std::size_t(y * w + x)] == 0)
      piksele[std::size_t(y * w + x)] = 3;
  }
  const std::vector<std::uint8_t> paleta = {0xFF, 0xFF, 0xFF, 0x20, 0x20, 0x60,
                                            0xB0, 0xB0, 0xB0, 0x90, 0x90, 0xD0};
  return ZakodujGif(w, h, piksele, paleta);
}
