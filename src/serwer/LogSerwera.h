#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// One line per event on stderr, with the UTC time in front. Packet dumps only when verbose.
class TLogSerwera {
public:
  explicit TLogSerwera(bool gadatliwy = false) : m_gadatliwy(gadatliwy) {}

  void Zdarzenie(std::string_view tekst);
  bool Gadatliwy() const { return m_gadatliwy; }
  // "<- 0x0B 24 bytes: ..." with control bytes as {XX}; nothing unless verbose.
  void Pakiet(std::string_view kierunek, std::uint32_t numer, std::uint32_t typ,
              std::string_view cialo);

private:
  bool m_gadatliwy;
};
