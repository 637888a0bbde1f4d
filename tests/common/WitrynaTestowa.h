#pragma once

#include "common/ServerTestowy.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>

// A loopback stand-in for the maker's web site (HTTP/1.0): a ".wersja" request gets the set
// version bytes (or the set error status), the counter page "Art123" a small page, anything else
// 404. Every request path is recorded in order of arrival.
class TWitrynaTestowa {
public:
  TWitrynaTestowa();

  // "http://127.0.0.1:<port>/"
  QString Adres() const;

  void UstawWersje(const QByteArray &bajty);
  void UstawStatusWersji(int status);
  // Connections are taken but never answered.
  void UstawMilczenie(bool milczenie);

  QStringList Zadania() const;
  int Polaczenia() const { return m_serwer->Przyjete(); }
  // Waits (pumping events) until `ile` requests have come; false on timeout.
  bool CzekajNaZadania(int ile, int limitMs = 10000) const;

  // The version bytes of a ".wersja" file for major.minor.release.build.
  static QByteArray Wersja(quint16 a, quint16 b, quint16 c, quint16 d);

private:
  void Obsluz(TPolaczenieTestowe &polaczenie);

  mutable std::mutex m_mutex;
  QByteArray m_wersja;
  int m_statusWersji = 200;
  bool m_milczenie = false;
  QStringList m_zadania;
  std::unique_ptr<TSerwerTestowy> m_serwer;
};
