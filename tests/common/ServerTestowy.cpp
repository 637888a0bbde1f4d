#include "common/ServerTestowy.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kKrokMs = 20;

int GniazdoNaLoopbacku(bool sluchaj, quint16 &port)
{
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0)
    throw std::runtime_error("socket");
  const int jeden = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &jeden, sizeof jeden);
  sockaddr_in adres{};
  adres.sin_family = AF_INET;
  adres.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(fd, reinterpret_cast<sockaddr *>(&adres), sizeof adres) < 0 ||
      (sluchaj && ::listen(fd, 16) < 0)) {
    ::close(fd);
    throw std::runtime_error("bind/listen");
  }
  socklen_t dlugosc = sizeof adres;
  ::getsockname(fd, reinterpret_cast<sockaddr *>(&adres), &dlugosc);
  port = ntohs(adres.sin_port);
  return fd;
}

qint64 TerazMs()
{
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

TPolaczenieTestowe::TPolaczenieTestowe(int fd, const std::atomic<bool> &koniec)
    : m_fd(fd), m_koniec(koniec)
{
}

TPolaczenieTestowe::~TPolaczenieTestowe()
{
  if (m_fd >= 0)
    ::close(m_fd);
}

bool TPolaczenieTestowe::Doczytaj(int limitMs)
{
  if (m_fd < 0 || m_zamknietePrzezDrugaStrone)
    return false;
  const qint64 koniec = TerazMs() + limitMs;
  while (!m_koniec.load()) {
    pollfd p{m_fd, POLLIN, 0};
    const int r = ::poll(&p, 1, kKrokMs);
    if (r > 0) {
      char bufor[65536];
      const ssize_t ile = ::recv(m_fd, bufor, sizeof bufor, 0);
      if (ile > 0) {
        m_reszta.append(bufor, ile);
        return true;
      }
      if (ile < 0 && errno == EINTR)
        continue;
      m_zamknietePrzezDrugaStrone = true;
      return false;
    }
    if (TerazMs() >= koniec)
      return false;
  }
  return false;
}

QByteArray TPolaczenieTestowe::CzytajDo(const QByteArray &znacznik, int limitMs)
{
  const qint64 koniec = TerazMs() + limitMs;
  while (true) {
    const qsizetype gdzie = m_reszta.indexOf(znacznik);
    if (gdzie >= 0) {
      const QByteArray wynik = m_reszta.left(gdzie + znacznik.size());
      m_reszta.remove(0, wynik.size());
      return wynik;
    }
    const qint64 zostalo = koniec - TerazMs();
    if (zostalo <= 0 || !Doczytaj(int(zostalo)))
      break;
  }
  QByteArray wynik;
  wynik.swap(m_reszta);
  return wynik;
}

QByteArray TPolaczenieTestowe::Czytaj(qsizetype ile, int limitMs)
{
  const qint64 koniec = TerazMs() + limitMs;
  while (m_reszta.size() < ile) {
    const qint64 zostalo = koniec - TerazMs();
    if (zostalo <= 0 || !Doczytaj(int(zostalo)))
      break;
  }
  const QByteArray wynik = m_reszta.left(ile);
  m_reszta.remove(0, wynik.size());
  return wynik;
}

QByteArray TPolaczenieTestowe::CzytajDoZamkniecia(int limitMs)
{
  const qint64 koniec = TerazMs() + limitMs;
  while (true) {
    const qint64 zostalo = koniec - TerazMs();
    if (zostalo <= 0 || !Doczytaj(int(zostalo)))
      break;
  }
  QByteArray wynik;
  wynik.swap(m_reszta);
  return wynik;
}

bool TPolaczenieTestowe::CzekajNaZamkniecie(int limitMs)
{
  CzytajDoZamkniecia(limitMs);
  return m_zamknietePrzezDrugaStrone;
}

bool TPolaczenieTestowe::Pisz(const QByteArray &dane)
{
  qsizetype wyslano = 0;
  while (wyslano < dane.size() && m_fd >= 0) {
    const ssize_t r =
        ::send(m_fd, dane.constData() + wyslano, size_t(dane.size() - wyslano), MSG_NOSIGNAL);
    if (r < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    wyslano += r;
  }
  return wyslano == dane.size();
}

void TPolaczenieTestowe::Zamknij()
{
  if (m_fd < 0)
    return;
  ::shutdown(m_fd, SHUT_WR);
  ::close(m_fd);
  m_fd = -1;
}

void TPolaczenieTestowe::Resetuj()
{
  if (m_fd < 0)
    return;
  linger l{1, 0};
  ::setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
  ::close(m_fd);
  m_fd = -1;
}

void TPolaczenieTestowe::Spij(int ms)
{
  const qint64 koniec = TerazMs() + ms;
  while (!m_koniec.load() && TerazMs() < koniec)
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min<qint64>(kKrokMs, ms)));
}

TSerwerTestowy::TSerwerTestowy(TScenariusz scenariusz) : m_scenariusz(std::move(scenariusz))
{
  m_fd = GniazdoNaLoopbacku(true, m_port);
  m_watekPrzyjmujacy = std::thread([this] { Przyjmuj(); });
}

TSerwerTestowy::~TSerwerTestowy()
{
  m_koniec = true;
  m_watekPrzyjmujacy.join();
  for (TWatek &w : m_watki)
    w.watek.join();
  ::close(m_fd);
}

void TSerwerTestowy::Przyjmuj()
{
  while (!m_koniec.load()) {
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, kKrokMs) <= 0)
      continue;
    const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
      continue;
    ++m_przyjete;
    std::lock_guard<std::mutex> blokada(m_mutex);
    std::erase_if(m_watki, [](TWatek &w) {
      if (!w.zakonczony->load())
        return false;
      w.watek.join();
      return true;
    });
    auto zakonczony = std::make_shared<std::atomic<bool>>(false);
    m_watki.push_back({std::thread([this, fd, zakonczony] {
                         {
                           TPolaczenieTestowe polaczenie(fd, m_koniec);
                           try {
                             if (m_scenariusz)
                               m_scenariusz(polaczenie);
                           } catch (...) {
                           }
                         }
                         ++m_zakonczone;
                         zakonczony->store(true);
                       }),
                       zakonczony});
  }
}

TPortBezSerwera::TPortBezSerwera()
{
  m_fd = GniazdoNaLoopbacku(false, m_port);
}

TPortBezSerwera::~TPortBezSerwera()
{
  ::close(m_fd);
}
