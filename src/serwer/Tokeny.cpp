#include "serwer/Tokeny.h"

#include <chrono>

std::int64_t TTokeny::ZegarSystemowy()
{
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

TTokeny::TTokeny(TMagazyn &magazyn, TZegar zegar)
    : m_magazyn(magazyn), m_zegar(std::move(zegar)), m_los(std::random_device{}())
{
}

TTokeny::TToken TTokeny::Wydaj()
{
  static const char Hex[] = "0123456789ABCDEF";
  TToken t;
  for (int i = 0; i < 16; ++i)
    t.Id += Hex[m_los() % 16];
  for (int i = 0; i < Cyfr; ++i)
    t.Wartosc += char('0' + m_los() % 10);
  // Storage keeps the first second at which the token no longer counts.
  m_magazyn.ZapiszToken(t.Id, t.Wartosc, m_zegar() + MinutWaznosci * 60);
  return t;
}

std::optional<std::string> TTokeny::Wartosc(const std::string &id)
{
  return m_magazyn.WartoscTokenu(id, m_zegar());
}

bool TTokeny::Zuzyj(const std::string &id, const std::string &wpisane)
{
  const auto wartosc = m_magazyn.ZuzyjToken(id, m_zegar());
  return wartosc && !wpisane.empty() && *wartosc == wpisane;
}
