#pragma once

#include "serwer/Magazyn.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>

// Registration tokens: a few digits to copy from a picture, valid for ten minutes from issue and
// used up by the first registration that names them (right or wrong).
class TTokeny {
public:
  static constexpr int MinutWaznosci = 10;
  static constexpr int Cyfr = 5;
  // Seconds since the epoch.
  using TZegar = std::function<std::int64_t()>;
  static std::int64_t ZegarSystemowy();

  explicit TTokeny(TMagazyn &magazyn, TZegar zegar = ZegarSystemowy);

  struct TToken {
    std::string Id;
    std::string Wartosc;
  };
  TToken Wydaj();
  // The digits, for the picture; the token stays.
  std::optional<std::string> Wartosc(const std::string &id);
  // True when `wpisane` are the token's digits and it has not expired. Uses the token up.
  bool Zuzyj(const std::string &id, const std::string &wpisane);

private:
  TMagazyn &m_magazyn;
  TZegar m_zegar;
  std::mt19937 m_los;
};
