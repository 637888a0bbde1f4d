#include "net/Gniazdo.h"

#include "net/AdresySieciowe.h"
#include "net/KodyBledow.h"
#include "net/RozwiazywanieNazwy.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Blocks handed to the system in one call while draining the queue.
constexpr int kBlokowNaRaz = 64;

// Work done for one read-readiness report before the event loop gets its turn; the notifier
// reports the rest at once, so nothing waits longer than one pass of the loop.
constexpr quint64 kBajtowNaTure = 256 * 1024;
constexpr qint64 kNanosekundNaTure = 10'000'000;

bool BladZamykajacyPrzyWysylaniu(int kod)
{
  switch (kod) {
  case KodBledu::WSAEINVAL:
  case KodBledu::WSAENOTSOCK:
  case KodBledu::WSAECONNABORTED:
  case KodBledu::WSAECONNRESET:
  case KodBledu::WSAENOTCONN:
    return true;
  default:
    return false;
  }
}

} // namespace

// Runs owner code; what escapes it becomes a background exception. Callers hand in copies of the
// handlers, because an owner may delete the socket (and the handler being run) from inside one.
template <typename F> void TGniazdo::WywolajWTle(F &&wywolanie)
{
  QPointer<TGniazdo> zyje(this);
  try {
    wywolanie();
  } catch (const std::exception &e) {
    if (zyje)
      WyjatekWTle(e);
  } catch (...) {
    if (zyje)
      WyjatekWTle(EBladGniazda(QStringLiteral("Unknown exception")));
  }
}

TGniazdo::TGniazdo(QObject *parent)
    : QObject(parent), m_odczyt(new QSocketNotifier(QSocketNotifier::Read, this)),
      m_zapis(new QSocketNotifier(QSocketNotifier::Write, this))
{
  // Every readiness report runs behind a guard: no exception may reach Qt's event loop.
  const auto strzez = [this](void (TGniazdo::*reakcja)()) {
    QPointer<TGniazdo> zyje(this);
    ++m_powiadomienia;
    WywolajWTle([&] { (this->*reakcja)(); });
    if (zyje)
      --m_powiadomienia;
  };
  connect(m_odczyt, &QSocketNotifier::activated, this,
          [strzez] { strzez(&TGniazdo::GotowoscOdczytu); });
  connect(m_zapis, &QSocketNotifier::activated, this,
          [strzez] { strzez(&TGniazdo::GotowoscZapisu); });
}

TGniazdo::~TGniazdo()
{
  // The owner may be half destroyed already: close quietly, without calling its handlers.
  PorzucRozwiazywanie();
  if (m_fd >= 0)
    ZwolnijDeskryptor(true, false);
}

void TGniazdo::SetAddr(const QString &wartosc)
{
  const QString tekst = wartosc.trimmed();
  if (Zajete() && tekst != m_addr) {
    BladTekstowy(QStringLiteral("Cannot change Addr if not closed"));
    return;
  }
  m_addr = tekst;
  m_addrUstawiony = true;
}

void TGniazdo::SetPort(const QString &wartosc)
{
  const QString tekst = wartosc.trimmed();
  if (Zajete() && tekst != m_port) {
    BladTekstowy(QStringLiteral("Cannot change Port if not closed"));
    return;
  }
  m_port = tekst;
  m_portUstawiony = true;
}

void TGniazdo::SetProto(const QString &wartosc)
{
  const QString tekst = wartosc.trimmed();
  if (Zajete() && tekst != m_proto) {
    BladTekstowy(QStringLiteral("Cannot change Proto if not closed"));
    return;
  }
  m_proto = tekst;
}

void TGniazdo::SetLocalAddr(const QString &wartosc)
{
  m_localAddr = wartosc.trimmed();
}

void TGniazdo::SetLocalPort(const QString &wartosc)
{
  m_localPort = wartosc.trimmed();
}

void TGniazdo::Connect()
{
  TCel cel;
  if (!PrzygotujCel(cel))
    return;
  // Dotted addresses need no resolver and connect at once; a name is resolved on a helper
  // thread, and a name that does not resolve is reported from the event loop.
  const bool zdalnyGotowy = CzytajAdresIPv4(m_addr, cel.Adres);
  if (zdalnyGotowy && CzytajAdresIPv4(m_localAddr, cel.AdresLokalny))
    Nawiaz(cel);
  else
    RozwiazWTle(cel, !zdalnyGotowy);
}

bool TGniazdo::PrzygotujCel(TCel &cel)
{
  if ((m_fd >= 0 && m_stan != gsClosed) || m_rozwiazywanie) {
    BladTekstowy(QStringLiteral("Connect: Socket already in use"));
    return false;
  }
  if (!m_portUstawiony || m_port.isEmpty()) {
    BladTekstowy(QStringLiteral("Connect: No Port Specified"));
    return false;
  }
  if (!m_addrUstawiony || m_addr.isEmpty()) {
    BladTekstowy(QStringLiteral("Connect: No IP Address Specified"));
    return false;
  }
  if (m_proto.isEmpty()) {
    BladTekstowy(QStringLiteral("Connect: No Protocol Specified"));
    return false;
  }

  const QString proto = m_proto.toLower();
  if (proto != QLatin1String("tcp") && proto != QLatin1String("6")) {
    m_ostatniBlad = KodBledu::WSAEPROTONOSUPPORT;
    BladTekstowy(QStringLiteral("connect: Cannot convert protocol '%1'").arg(m_proto));
    return false;
  }
  if (!RozwiazPort(m_port, "tcp", cel.Port)) {
    m_ostatniBlad = KodBledu::WSANO_DATA;
    BladTekstowy(QStringLiteral("connect: Cannot convert port '%1'").arg(m_port));
    return false;
  }
  if (!RozwiazPort(m_localPort, "tcp", cel.PortLokalny)) {
    m_ostatniBlad = KodBledu::WSANO_DATA;
    BladTekstowy(QStringLiteral("connect: Cannot convert port '%1'").arg(m_localPort));
    return false;
  }
  return true;
}

void TGniazdo::RozwiazWTle(TCel cel, bool zdalny)
{
  const QString nazwa = zdalny ? m_addr : m_localAddr;
  m_rozwiazywanie = new TRozwiazywanieNazwy(
      nazwa,
      [this, cel, zdalny, nazwa](bool ok, quint32 adres, int kod) mutable {
        std::exchange(m_rozwiazywanie, nullptr)->deleteLater();
        QPointer<TGniazdo> zyje(this);
        ++m_powiadomienia;
        WywolajWTle([&] {
          if (!ok) {
            m_ostatniBlad = kod;
            BladTekstowy(QStringLiteral("connect: Cannot convert host address '%1' - %2")
                             .arg(nazwa, OpisBledu(kod)));
            return;
          }
          (zdalny ? cel.Adres : cel.AdresLokalny) = adres;
          if (zdalny && !CzytajAdresIPv4(m_localAddr, cel.AdresLokalny))
            RozwiazWTle(cel, false);
          else
            Nawiaz(cel);
        });
        if (zyje)
          --m_powiadomienia;
      },
      this);
}

void TGniazdo::PorzucRozwiazywanie()
{
  if (!m_rozwiazywanie)
    return;
  m_rozwiazywanie->Anuluj();
  delete std::exchange(m_rozwiazywanie, nullptr);
}

void TGniazdo::Nawiaz(const TCel &cel)
{
  m_bufor.clear();
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
  if (fd < 0) {
    BladSystemowy(QStringLiteral("Connect (socket)"), KodBleduZErrno(errno));
    return;
  }
  m_fd = fd;
  const quint64 pokolenie = ++m_pokolenie;
  m_zamkniecieZgloszone = false;
  m_laczenieNieudane = false;
  QPointer<TGniazdo> zyje(this);
  ZmienStan(gsOpened);
  if (!zyje || !Aktualne(pokolenie))
    return;

  // A failed set-up leaves nothing half open: the descriptor goes and the socket is closed again.
  const auto nieudane = [&](const char *operacja) {
    const int blad = KodBleduZErrno(errno);
    m_zamkniecieZgloszone = true;
    ++m_pokolenie;
    ZwolnijDeskryptor(false, false);
    UstawDomyslne();
    ZmienStan(gsClosed);
    if (zyje)
      BladSystemowy(QString::fromLatin1(operacja), blad);
  };
  if (const char *operacja = UstawOpcje(fd, cel))
    return nieudane(operacja);

  const int bladLaczenia = RozpocznijLaczenie(fd, cel);
  ZmienStan(gsConnecting);
  if (!zyje || !Aktualne(pokolenie))
    return;
  if (bladLaczenia != 0)
    ZglosWynikLaczeniaPozniej(pokolenie, bladLaczenia);
}

const char *TGniazdo::UstawOpcje(int fd, const TCel &cel)
{
  const int jeden = 1;
  if (::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &jeden, sizeof jeden) < 0)
    return "setsockopt(SO_REUSEADDR)";
  if (m_lingerOnOff != gsLingerNoSet) {
    linger l{};
    l.l_onoff = m_lingerOnOff == gsLingerOn ? 1 : 0;
    l.l_linger = m_lingerTimeout;
    if (::setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l) < 0)
      return "setsockopt(SO_LINGER)";
  }
  if (::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &jeden, sizeof jeden) < 0)
    return "setsockopt(SO_KEEPALIVE)";
  if (cel.PortLokalny != 0 || cel.AdresLokalny != INADDR_ANY) {
    sockaddr_in lokalny{};
    lokalny.sin_family = AF_INET;
    lokalny.sin_port = htons(cel.PortLokalny);
    lokalny.sin_addr.s_addr = cel.AdresLokalny;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&lokalny), sizeof lokalny) < 0)
      return "Bind";
  }
  return nullptr;
}

int TGniazdo::RozpocznijLaczenie(int fd, const TCel &cel)
{
  m_odczyt->setSocket(fd);
  m_zapis->setSocket(fd);
  m_zapis->setEnabled(true); // write readiness reports the outcome of the connect

  sockaddr_in zdalny{};
  zdalny.sin_family = AF_INET;
  zdalny.sin_port = htons(cel.Port);
  zdalny.sin_addr.s_addr = cel.Adres;
  if (::connect(fd, reinterpret_cast<sockaddr *>(&zdalny), sizeof zdalny) < 0 &&
      errno != EINPROGRESS && errno != EINTR)
    return KodBleduZErrno(errno);
  return 0;
}

void TGniazdo::ZglosWynikLaczeniaPozniej(quint64 pokolenie, int bladLaczenia)
{
  // Even an attempt refused at once reports its outcome later, from the event loop, as the
  // owners expect after Connect has returned.
  m_zapis->setEnabled(false);
  QTimer::singleShot(0, this, [this, pokolenie, bladLaczenia] {
    if (!Aktualne(pokolenie) || m_stan != gsConnecting)
      return;
    QPointer<TGniazdo> zyje(this);
    ++m_powiadomienia;
    WywolajWTle([&] { WynikLaczenia(bladLaczenia); });
    if (zyje)
      --m_powiadomienia;
  });
}

void TGniazdo::GotowoscZapisu()
{
  if (m_fd < 0) {
    m_zapis->setEnabled(false);
    return;
  }
  if (m_stan == gsConnecting) {
    int blad = 0;
    socklen_t dlugosc = sizeof blad;
    if (::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &blad, &dlugosc) < 0)
      blad = errno;
    WynikLaczenia(blad != 0 ? KodBleduZErrno(blad) : 0);
    return;
  }
  if (m_stan == gsConnected && BajtyDoWyslania() > 0)
    ProbujWyslac();
  else
    m_zapis->setEnabled(false);
}

void TGniazdo::WynikLaczenia(int blad)
{
  const quint64 pokolenie = m_pokolenie;
  QPointer<TGniazdo> zyje(this);
  m_zapis->setEnabled(false);
  m_laczenieNieudane = blad != 0;
  ZmienStan(gsConnected);
  if (!zyje || !Aktualne(pokolenie))
    return;
  if (blad == 0) {
    m_odczyt->setEnabled(true);
    if (BajtyDoWyslania() > 0)
      m_zapis->setEnabled(true);
  }
  if (OnSessionConnected)
    WywolajWTle([&, f = OnSessionConnected] { f(this, quint16(blad)); });
  if (zyje && blad != 0 && Aktualne(pokolenie))
    Close();
}

int TGniazdo::OczekujaceBajty() const
{
  if (m_fd < 0)
    return 0;
  int ile = 0;
  if (::ioctl(m_fd, FIONREAD, &ile) < 0)
    return 0;
  return ile;
}

void TGniazdo::GotowoscOdczytu()
{
  if (m_fd < 0 || m_stan != gsConnected || m_laczenieNieudane) {
    m_odczyt->setEnabled(false);
    return;
  }
  const quint64 pokolenie = m_pokolenie;
  QPointer<TGniazdo> zyje(this);
  if (OczekujaceBajty() > 0) {
    PetlaDanych(pokolenie);
    if (!zyje || !Aktualne(pokolenie) || OczekujaceBajty() > 0)
      return;
  }
  // Nothing waiting: the report is either the peer's close or a stale one.
  char znak = 0;
  ssize_t wynik;
  do {
    wynik = ::recv(m_fd, &znak, 1, MSG_PEEK | MSG_DONTWAIT);
  } while (wynik < 0 && errno == EINTR);
  if (wynik == 0)
    ZamknieciePrzezDrugaStrone(0);
  else if (wynik > 0)
    PetlaDanych(pokolenie);
  else if (errno != EAGAIN && errno != EWOULDBLOCK)
    ZamknieciePrzezDrugaStrone(quint16(KodBleduZErrno(errno)));
}

void TGniazdo::PetlaDanych(quint64 pokolenie)
{
  QPointer<TGniazdo> zyje(this);
  QElapsedTimer czas;
  czas.start();
  const quint64 bajtyNaPoczatku = m_bajtyOdebrane;
  while (zyje && Aktualne(pokolenie) && OczekujaceBajty() > 0) {
    // A peer that sends as fast as we read must not hold the user interface.
    if (m_bajtyOdebrane - bajtyNaPoczatku >= kBajtowNaTure ||
        czas.nsecsElapsed() >= kNanosekundNaTure)
      return;
    if (!OnDataAvailable) {
      // Nobody takes the data: drop it rather than be woken for it forever.
      char smietnik[4096];
      while (Receive(smietnik, sizeof smietnik) > 0) {
      }
      return;
    }
    const quint64 odczyty = m_licznikOdczytow;
    try {
      const auto f = OnDataAvailable;
      f(this, 0);
    } catch (...) {
      return; // a failing data handler only ends this round; the connection stays
    }
    // A handler that took nothing is asked again by the next readiness report, so that the
    // event loop keeps running instead of spinning here.
    if (!zyje || m_licznikOdczytow == odczyty)
      return;
  }
}

void TGniazdo::ZamknieciePrzezDrugaStrone(quint16 powod)
{
  const quint64 pokolenie = m_pokolenie;
  QPointer<TGniazdo> zyje(this);
  m_odczyt->setEnabled(false);
  const bool zglos = !m_zamkniecieZgloszone;
  m_zamkniecieZgloszone = true;
  if (zglos && OnSessionClosed)
    WywolajWTle([&, f = OnSessionClosed] { f(this, powod); });
  if (zyje && Aktualne(pokolenie))
    Close();
}

int TGniazdo::Receive(char *bufor, int rozmiar)
{
  if (m_fd < 0) {
    m_ostatniBlad = KodBledu::WSAENOTCONN;
    return -1;
  }
  if (rozmiar < 0) {
    m_ostatniBlad = KodBledu::WSAEINVAL;
    return -1;
  }
  ++m_licznikOdczytow;
  ssize_t wynik;
  do {
    wynik = ::recv(m_fd, bufor, size_t(rozmiar), MSG_DONTWAIT);
  } while (wynik < 0 && errno == EINTR);
  if (wynik < 0) {
    m_ostatniBlad = KodBleduZErrno(errno);
    return -1;
  }
  m_bajtyOdebrane += quint64(wynik);
  return int(wynik);
}

int TGniazdo::SendString(const QByteArray &tekst)
{
  if (tekst.isEmpty())
    return 0;
  return Send(tekst.constData(), int(tekst.size()));
}

int TGniazdo::Send(const char *dane, int dlugosc)
{
  if (m_stan != gsConnected) {
    // Marked closed without a closed notification: there was no usable connection to lose.
    QPointer<TGniazdo> zyje(this);
    if (m_rozwiazywanie) {
      PorzucRozwiazywanie();
      UstawDomyslne();
    }
    if (m_fd >= 0) {
      m_zamkniecieZgloszone = true;
      ++m_pokolenie;
      ZwolnijDeskryptor(false, false);
      m_bufor.clear();
      UstawDomyslne();
    }
    ZmienStan(gsClosed);
    if (zyje)
      BladSystemowy(QStringLiteral("Send"), KodBledu::WSAENOTCONN);
    return -1;
  }
  if (dlugosc <= 0 || !dane)
    return 0;
  int zostalo = dlugosc;
  const char *z = dane;
  while (zostalo > 0) {
    if (m_bufor.empty() || m_bufor.back().Koniec == TBlokBufora::Rozmiar)
      m_bufor.emplace_back();
    TBlokBufora &blok = m_bufor.back();
    const int ile = std::min(zostalo, TBlokBufora::Rozmiar - blok.Koniec);
    std::memcpy(blok.Dane + blok.Koniec, z, size_t(ile));
    blok.Koniec += ile;
    z += ile;
    zostalo -= ile;
  }
  ProbujWyslac();
  return dlugosc;
}

void TGniazdo::ProbujWyslac()
{
  while (!m_bufor.empty()) {
    while (m_bufor.size() > 1 && m_bufor.front().Poczatek == m_bufor.front().Koniec)
      m_bufor.pop_front();
    TBlokBufora &pierwszy = m_bufor.front();
    if (pierwszy.Poczatek == pierwszy.Koniec) {
      pierwszy.Poczatek = pierwszy.Koniec = 0;
      break;
    }
    int kod = 0;
    ssize_t wyslano = -1;
    if (m_laczenieNieudane || m_fd < 0) {
      kod = KodBledu::WSAENOTCONN;
    } else {
      iovec kawalki[kBlokowNaRaz];
      int ile = 0;
      for (auto it = m_bufor.begin(); it != m_bufor.end() && ile < kBlokowNaRaz; ++it) {
        if (it->Poczatek == it->Koniec)
          continue;
        kawalki[ile].iov_base = it->Dane + it->Poczatek;
        kawalki[ile].iov_len = size_t(it->Koniec - it->Poczatek);
        ++ile;
      }
      msghdr wiadomosc{};
      wiadomosc.msg_iov = kawalki;
      wiadomosc.msg_iovlen = size_t(ile);
      const int flagi = MSG_NOSIGNAL | MSG_DONTWAIT | (m_sendFlags == gsSendUrgent ? MSG_OOB : 0);
      wyslano = ::sendmsg(m_fd, &wiadomosc, flagi);
      if (wyslano < 0) {
        if (errno == EINTR)
          continue;
        kod = KodBleduZErrno(errno);
      }
    }
    if (wyslano < 0) {
      if (kod == KodBledu::WSAEWOULDBLOCK) {
        m_zapis->setEnabled(true); // the rest goes when the network takes more
        return;
      }
      m_ostatniBlad = kod;
      m_zapis->setEnabled(false);
      if (BladZamykajacyPrzyWysylaniu(kod))
        Zamknij(true, false, quint16(kod));
      else
        BladSystemowy(QStringLiteral("TryToSend failed"), kod);
      return;
    }
    qsizetype zostalo = wyslano;
    for (auto it = m_bufor.begin(); it != m_bufor.end() && zostalo > 0; ++it) {
      const int ile = int(std::min<qsizetype>(zostalo, it->Koniec - it->Poczatek));
      it->Poczatek += ile;
      zostalo -= ile;
    }
  }
  m_zapis->setEnabled(false);
}

qsizetype TGniazdo::BajtyDoWyslania() const
{
  qsizetype suma = 0;
  for (const TBlokBufora &blok : m_bufor)
    suma += blok.Koniec - blok.Poczatek;
  return suma;
}

void TGniazdo::Abort()
{
  Zamknij(false, true, 0);
}

void TGniazdo::Close()
{
  Zamknij(true, false, 0);
}

void TGniazdo::Zamknij(bool wylaczNadawanie, bool bezLingerowania, quint16 blad)
{
  if (m_rozwiazywanie) {
    // Nothing was connected yet, so nothing is reported.
    PorzucRozwiazywanie();
    UstawDomyslne();
  }
  if (m_fd < 0 && m_stan == gsClosed)
    return;
  const bool zglos = !m_zamkniecieZgloszone;
  m_zamkniecieZgloszone = true;
  ++m_pokolenie;
  ZwolnijDeskryptor(wylaczNadawanie, bezLingerowania);
  m_bufor.clear();
  // Defaults come back before the owner hears of the close, so that its handler may set up
  // the next connection.
  UstawDomyslne();
  QPointer<TGniazdo> zyje(this);
  ZmienStan(gsClosed);
  if (zyje && zglos && OnSessionClosed)
    WywolajWTle([&, f = OnSessionClosed] { f(this, blad); });
}

void TGniazdo::ZwolnijDeskryptor(bool wylaczNadawanie, bool bezLingerowania)
{
  m_odczyt->setEnabled(false);
  m_zapis->setEnabled(false);
  if (m_fd < 0)
    return;
  if (bezLingerowania && m_stan == gsConnected) {
    // Lingering off: the system finishes the close in the background.
    linger l{};
    ::setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
  }
  if (wylaczNadawanie)
    ::shutdown(m_fd, SHUT_WR);
  ::close(m_fd);
  m_fd = -1;
}

void TGniazdo::UstawDomyslne()
{
  m_addrUstawiony = false;
  m_portUstawiony = false;
  m_proto = QStringLiteral("tcp");
  m_localAddr = QStringLiteral("0.0.0.0");
  m_localPort = QStringLiteral("0");
  m_lingerOnOff = gsLingerOn;
  m_lingerTimeout = 0;
  m_laczenieNieudane = false;
}

void TGniazdo::ZmienStan(TStanGniazda nowy)
{
  if (m_stan == nowy)
    return;
  const TStanGniazda stary = m_stan;
  m_stan = nowy;
  if (OnChangeState)
    WywolajWTle([&, f = OnChangeState] { f(this, stary, nowy); });
}

void TGniazdo::BladTekstowy(const QString &komunikat)
{
  m_ostatniKomunikat = komunikat;
  ZglosBlad();
}

void TGniazdo::BladSystemowy(const QString &operacja, int kod)
{
  m_ostatniBlad = kod;
  m_ostatniKomunikat = QStringLiteral("Error %1 in function %2\r\n%3")
                           .arg(QString::number(kod), operacja, OpisBledu(kod));
  ZglosBlad();
}

void TGniazdo::ZglosBlad()
{
  if (!OnError)
    throw EBladGniazda(m_ostatniKomunikat);
  const auto f = OnError;
  if (m_powiadomienia > 0)
    WywolajWTle([&] { f(this); });
  else
    f(this);
}

void TGniazdo::WyjatekWTle(const std::exception &wyjatek)
{
  QPointer<TGniazdo> zyje(this);
  bool moznaZamknac = true;
  if (OnBgException) {
    try {
      const auto f = OnBgException;
      f(this, wyjatek, moznaZamknac);
    } catch (...) {
      // exceptions of the exception handler go nowhere
    }
  }
  if (zyje && moznaZamknac)
    Abort();
}
