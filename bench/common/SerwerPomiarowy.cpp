#include "common/SerwerPomiarowy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

TSerwerPomiarowy::TSerwerPomiarowy(TObsluga obsluga) : m_obsluga(std::move(obsluga))
{
  m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int jeden = 1;
  ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &jeden, sizeof jeden);
  sockaddr_in adres{};
  adres.sin_family = AF_INET;
  adres.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(m_fd, reinterpret_cast<sockaddr *>(&adres), sizeof adres);
  ::listen(m_fd, 16);
  socklen_t dlugosc = sizeof adres;
  ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&adres), &dlugosc);
  m_port = ntohs(adres.sin_port);
  m_watek = std::thread([this] { Przyjmuj(); });
}

TSerwerPomiarowy::~TSerwerPomiarowy()
{
  m_koniec = true;
  m_watek.join();
  ::close(m_fd);
}

void TSerwerPomiarowy::Przyjmuj()
{
  while (!m_koniec) {
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, 20) <= 0)
      continue;
    const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
      continue;
    m_obsluga(fd, m_koniec);
    ::close(fd);
  }
}
