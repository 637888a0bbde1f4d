#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <unordered_map>

// Failed logins per address: once an address has `naMinute` failures within the last minute,
// its logins are refused until the oldest of them is a minute old.
class TDlawienieLogowan {
public:
  using TChwila = std::chrono::steady_clock::time_point;
  using TZegar = std::function<TChwila()>;

  explicit TDlawienieLogowan(int naMinute, TZegar zegar = std::chrono::steady_clock::now);

  bool Zdlawiony(const std::string &adres);
  void Nieudane(const std::string &adres);
  // Forgets failures older than a minute (the periodic sweep).
  void Sprzataj();
  std::size_t Adresow() const { return m_nieudane.size(); }

private:
  void Przytnij(std::deque<TChwila> &chwile, TChwila teraz) const;

  int m_naMinute;
  TZegar m_zegar;
  std::unordered_map<std::string, std::deque<TChwila>> m_nieudane;
};
