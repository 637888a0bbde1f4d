#include "serwer/Dlawienie.h"

TDlawienieLogowan::TDlawienieLogowan(int naMinute, TZegar zegar)
    : m_naMinute(naMinute), m_zegar(std::move(zegar))
{
}

void TDlawienieLogowan::Przytnij(std::deque<TChwila> &chwile, TChwila teraz) const
{
  // A failure counts for exactly one minute.
  const TChwila granica = teraz - std::chrono::minutes(1);
  while (!chwile.empty() && chwile.front() <= granica)
    chwile.pop_front();
}

bool TDlawienieLogowan::Zdlawiony(const std::string &adres)
{
  const auto it = m_nieudane.find(adres);
  if (it == m_nieudane.end())
    return false;
  Przytnij(it->second, m_zegar());
  return int(it->second.size()) >= m_naMinute;
}

void TDlawienieLogowan::Nieudane(const std::string &adres)
{
  m_nieudane[adres].push_back(m_zegar());
}

void TDlawienieLogowan::Sprzataj()
{
  const TChwila teraz = m_zegar();
  for (auto it = m_nieudane.begin(); it != m_nieudane.end();) {
    Przytnij(it->second, teraz);
    it = it->second.empty() ? m_nieudane.erase(it) : std::next(it);
  }
}
