#include "net/AdresySieciowe.h"

#include "net/KodyBledow.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstring>

namespace {
// Longer names are refused before they reach the resolver.
constexpr int kNajdluzszaNazwa = 256;
} // namespace

bool CzytajAdresIPv4(const QString &tekst, quint32 &adresSieciowy)
{
  in_addr adres{};
  if (inet_pton(AF_INET, tekst.toLatin1().constData(), &adres) != 1)
    return false;
  adresSieciowy = adres.s_addr;
  return true;
}

bool RozwiazNazweIPv4(const QString &nazwa, quint32 &adresSieciowy, int &kodBledu)
{
  if (CzytajAdresIPv4(nazwa, adresSieciowy))
    return true;
  if (nazwa.isEmpty() || nazwa.size() > kNajdluzszaNazwa) {
    kodBledu = KodBledu::WSAEINVAL;
    return false;
  }
  addrinfo wskazowki{};
  wskazowki.ai_family = AF_INET;
  wskazowki.ai_socktype = SOCK_STREAM;
  addrinfo *wynik = nullptr;
  const int blad = getaddrinfo(nazwa.toUtf8().constData(), nullptr, &wskazowki, &wynik);
  if (blad != 0 || !wynik) {
    kodBledu = blad != 0 ? KodBleduZGetaddrinfo(blad) : KodBledu::WSAHOST_NOT_FOUND;
    return false;
  }
  sockaddr_in adres{};
  std::memcpy(&adres, wynik->ai_addr, sizeof adres);
  freeaddrinfo(wynik);
  adresSieciowy = adres.sin_addr.s_addr;
  return true;
}

bool RozwiazPort(const QString &tekst, const char *protokol, quint16 &port)
{
  bool liczba = !tekst.isEmpty();
  for (QChar z : tekst)
    liczba = liczba && z >= u'0' && z <= u'9';
  if (liczba) {
    if (tekst.size() > 5)
      return false;
    const int wartosc = tekst.toInt();
    if (wartosc > 65535)
      return false;
    port = quint16(wartosc);
    return true;
  }
  // Only the UI thread resolves service names, so the non-reentrant lookup is acceptable.
  const servent *usluga = getservbyname(tekst.toLatin1().constData(), protokol);
  if (!usluga)
    return false;
  port = ntohs(quint16(usluga->s_port));
  return true;
}

QString TekstAdresuIPv4(quint32 adresSieciowy)
{
  in_addr adres{};
  adres.s_addr = adresSieciowy;
  char tekst[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &adres, tekst, sizeof tekst);
  return QString::fromLatin1(tekst);
}
