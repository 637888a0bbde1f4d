#include "net/Pobieranie.h"

#include "net/KlientHttp.h"

#include <QTimer>
#include <QUrl>

#include <utility>

namespace {

// Addresses are built from file paths unencoded; what may not travel in a request line
// (spaces, letters beyond ASCII) is encoded here, as a browser would.
QString AdresZadania(const QString &url)
{
  return QUrl(url, QUrl::TolerantMode).toString(QUrl::FullyEncoded);
}

} // namespace

bool PobierzDoPliku(const QString &url, const QString &plik, int limitMs)
{
  QFile wynik(plik);
  if (!wynik.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return false;
  TKlientHttp klient;
  klient.SetURL(AdresZadania(url));
  klient.SetReplyStream(&wynik);
  klient.SetTimeout(limitMs);
  try {
    klient.Get();
  } catch (const EBlad &) {
    return false;
  }
  return wynik.flush();
}

TPobieranieWTle::TPobieranieWTle(const QString &url, const QString &plik, int limitMs,
                                 std::function<void(bool)> gotowe, QObject *rodzic)
    : QObject(rodzic), m_plik(plik), m_gotowe(std::move(gotowe))
{
  if (!m_plik.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    QTimer::singleShot(0, this, [this] { Koniec(false); });
    return;
  }
  m_klient.SetURL(AdresZadania(url));
  m_klient.SetReplyStream(&m_plik);
  m_klient.SetTimeout(limitMs);
  m_klient.GetWTle([this](bool udane) { Koniec(udane); });
}

void TPobieranieWTle::Koniec(bool udane)
{
  udane = udane && m_plik.flush();
  m_plik.close();
  if (const auto gotowe = std::exchange(m_gotowe, nullptr))
    gotowe(udane);
}
