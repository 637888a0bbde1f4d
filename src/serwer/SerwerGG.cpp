#include "serwer/SerwerGG.h"

#include "gg/Liczby.h"
#include "gg/Pakiety.h"
#include "serwer/LogSerwera.h"
#include "serwer/Pola.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <random>
#include <system_error>

using asio::ip::tcp;
using Zegar = std::chrono::steady_clock;

namespace {

constexpr std::uint32_t TylkoDlaPrzyjaciol = 0x8000;
constexpr int TypZablokowany = 4;
// Output a reader lets pile up before it is cut off.
constexpr std::size_t NajwiecejDoWyslania = 4 * 1024 * 1024;
constexpr std::size_t NajdluzszaLista = 512 * 1024;
constexpr std::size_t KawalekListy = 2040;
constexpr std::size_t NajwiecejUczestnikow = 100;
constexpr int WynikowNaStrone = 20;

bool MaOpis(std::uint32_t status)
{
  return status == 4 || status == 5 || status == 21 || status == 22;
}

std::uint32_t Teraz()
{
  return std::uint32_t(std::time(nullptr));
}

} // namespace

struct TSerwerGG::TPolaczenie : std::enable_shared_from_this<TSerwerGG::TPolaczenie> {
  TPolaczenie() = default;
  ~TPolaczenie()
  {
    if (Fd >= 0)
      ::close(Fd);
  }
  TPolaczenie(const TPolaczenie &) = delete;
  TPolaczenie &operator=(const TPolaczenie &) = delete;

  // What routing a message touches comes first, together: with ten thousand connections
  // each one is cold when its turn comes, and every cache line counts.
  std::string Wyjscie;
  std::string Wejscie;
  // A write fell short: the rest goes when the socket reports room again.
  bool CzekaNaZapis = false;
  bool Oznaczone = false;
  bool Zamkniete = false;
  bool Zamykane = false;
  bool Odpowiadacz = false;
  bool Zalogowany = false;
  std::uint32_t Numer = 0;
  // Blocked entries of `Lista`, so that delivery skips the lookup for the usual user who
  // blocks nobody.
  std::size_t Zablokowanych = 0;
  // Queued messages handed to this connection: removed from storage once they have left the
  // output buffer, so a connection lost before that gets them again at the next login.
  std::int64_t KolejkaDoId = 0;
  Zegar::time_point Ostatnio;
  int Fd = -1;

  std::string Adres;
  Zegar::time_point Poczatek;
  std::uint32_t Ziarno = 0;
  // Announced to others only once its notify list is complete, so that blocked numbers and
  // friends-only never see a moment of presence they should not.
  bool ListaGotowa = false;
  std::uint32_t Status = 1;
  std::string Opis;
  std::uint32_t Czas = 0;
  bool MaCzas = false;
  std::unordered_map<std::uint32_t, std::uint8_t> Lista;

  // The entry's type before (-1: none).
  int Wpisz(std::uint32_t numer, std::uint8_t typ)
  {
    const auto [it, nowy] = Lista.try_emplace(numer, typ);
    int stary = -1;
    if (!nowy) {
      stary = it->second;
      Zablokowanych -= stary == TypZablokowany;
      it->second = typ;
    }
    Zablokowanych += typ == TypZablokowany;
    return stary;
  }
  void Wypisz(std::unordered_map<std::uint32_t, std::uint8_t>::iterator it)
  {
    Zablokowanych -= it->second == TypZablokowany;
    Lista.erase(it);
  }
  std::string ListaKontaktow;
};

TSerwerGG::TSerwerGG(asio::io_context &io, TMagazyn &magazyn, TLogSerwera &log, TLimity limity)
    : m_io(io), m_magazyn(magazyn), m_log(log), m_limity(limity), m_akceptor(io), m_zegar(io),
      m_pauza(io), m_gotowosc(io), m_dlawienie(limity.NieudaneNaMinute), m_bufor(64 * 1024)
{
  const int fd = ::epoll_create1(EPOLL_CLOEXEC);
  if (fd < 0)
    throw std::system_error(errno, std::generic_category(), "epoll_create1");
  m_gotowosc.assign(fd);
}

TSerwerGG::~TSerwerGG() = default;

std::uint16_t TSerwerGG::Sluchaj(const tcp::endpoint &adres)
{
  m_akceptor.open(adres.protocol());
  m_akceptor.set_option(tcp::acceptor::reuse_address(true));
  m_akceptor.bind(adres);
  m_akceptor.listen(asio::socket_base::max_listen_connections);
  m_akceptor.non_blocking(true);
  Przyjmuj();
  Przeglad();
  CzekajNaGotowosc();
  return m_akceptor.local_endpoint().port();
}

void TSerwerGG::Zatrzymaj()
{
  m_zatrzymany = true;
  asio::error_code e;
  m_akceptor.close(e);
  m_zegar.cancel();
  m_pauza.cancel();
  m_gotowosc.cancel(e);
  const std::vector<TWsk> wszystkie(m_polaczenia.begin(), m_polaczenia.end());
  for (const auto &p : wszystkie)
    Zamknij(p, "koniec pracy serwera");
}

void TSerwerGG::Przyjmuj()
{
  // Accepted here rather than through the event library, so that a connection is never
  // registered with its reactor too (every arriving segment would wake both).
  for (;;) {
    sockaddr_storage zdalny{};
    socklen_t dlugosc = sizeof zdalny;
    const int fd = ::accept4(m_akceptor.native_handle(), reinterpret_cast<sockaddr *>(&zdalny),
                             &dlugosc, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      const int blad = errno;
      if (blad == EINTR || blad == ECONNABORTED || blad == EPROTO)
        continue;
      if (blad == EMFILE || blad == ENFILE || blad == ENOBUFS || blad == ENOMEM) {
        // Out of descriptors the pending connection stays in the backlog; retrying at once
        // would only spin. Try again a little later.
        m_log.Zdarzenie("brak deskryptorów, przyjmowanie wstrzymane na 100 ms");
        m_pauza.expires_after(std::chrono::milliseconds(100));
        m_pauza.async_wait([this](asio::error_code e) {
          if (!e && !m_zatrzymany)
            Przyjmuj();
        });
        return;
      }
      if (blad != EAGAIN && blad != EWOULDBLOCK)
        m_log.Zdarzenie("accept: " + std::system_category().message(blad));
      break;
    }
    NowePolaczenie(fd, zdalny, dlugosc);
  }
  // The backlog is empty: the next arrival is an edge the listener reports.
  m_akceptor.async_wait(tcp::acceptor::wait_read, [this](asio::error_code e) {
    if (!e && !m_zatrzymany)
      Przyjmuj();
  });
}

void TSerwerGG::NowePolaczenie(int fd, const sockaddr_storage &zdalny, socklen_t dlugosc)
{
  auto p = std::make_shared<TPolaczenie>();
  p->Fd = fd;
  const int jeden = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &jeden, sizeof jeden);
  tcp::endpoint adres;
  if (dlugosc <= adres.capacity()) {
    std::memcpy(adres.data(), &zdalny, dlugosc);
    adres.resize(dlugosc);
    p->Adres = adres.address().to_string();
  } else {
    p->Adres = "?";
  }
  p->Poczatek = p->Ostatnio = Zegar::now();
  static std::mt19937 los{std::random_device{}()};
  p->Ziarno = std::uint32_t(los());
  epoll_event z{};
  z.events = EPOLLIN | EPOLLOUT | EPOLLRDHUP | EPOLLET;
  z.data.ptr = p.get();
  if (::epoll_ctl(m_gotowosc.native_handle(), EPOLL_CTL_ADD, fd, &z) != 0) {
    m_log.Zdarzenie("epoll_ctl: " + std::system_category().message(errno));
    return; // the connection closes its descriptor as it goes
  }
  m_polaczenia.insert(p);
  std::string cialo;
  DopiszLE(cialo, p->Ziarno);
  // Anything already waiting is reported at once by the registration itself.
  Wyslij(*p, GGAnsWelcome, cialo);
}

void TSerwerGG::CzekajNaGotowosc()
{
  m_gotowosc.async_wait(asio::posix::stream_descriptor::wait_read, [this](asio::error_code e) {
    if (e || m_zatrzymany)
      return;
    ObsluzGotowe();
  });
}

void TSerwerGG::ObsluzGotowe()
{
  constexpr int Naraz = 256;
  epoll_event zdarzenia[Naraz];
  m_wPrzebiegu = true;
  int n = Naraz;
  // A few full rounds at most, so the listener and the timers get their turn under load.
  for (int runda = 0; runda < 4 && n == Naraz; ++runda) {
    n = ::epoll_wait(m_gotowosc.native_handle(), zdarzenia, Naraz, 0);
    for (int i = 0; i < n; ++i) {
      auto *p = static_cast<TPolaczenie *>(zdarzenia[i].data.ptr);
      if (p->Zamkniete)
        continue;
      const std::uint32_t co = zdarzenia[i].events;
      if ((co & EPOLLOUT) && p->CzekaNaZapis) {
        p->CzekaNaZapis = false;
        PiszDalej(p->shared_from_this());
        if (p->Zamkniete)
          continue;
      }
      if (co & (EPOLLIN | EPOLLRDHUP | EPOLLHUP | EPOLLERR))
        Czytaj(p->shared_from_this());
    }
  }
  m_wPrzebiegu = false;
  Oproznij();
  m_zamkniete.clear();
  if (n == Naraz)
    asio::post(m_io, [this] {
      if (!m_zatrzymany)
        ObsluzGotowe();
    });
  else
    CzekajNaGotowosc();
}

void TSerwerGG::Czytaj(const TWsk &p)
{
  // The reactor reports readiness by edges: whatever is left in the socket after a full buffer
  // would wait for the next arrival, so the socket is read until a short read.
  for (int runda = 0; runda < 16; ++runda) {
    const ssize_t r = ::recv(p->Fd, m_bufor.data(), m_bufor.size(), 0);
    if (r < 0 && errno == EINTR)
      continue;
    if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
      return;
    const std::size_t n = r > 0 ? std::size_t(r) : 0;
    if (n == 0) {
      Zamknij(p, "rozłączony");
      return;
    }
    p->Ostatnio = Zegar::now();
    if (p->Wejscie.empty()) {
      std::string_view dane(m_bufor.data(), n);
      if (!Rozbierz(p, dane))
        return;
      p->Wejscie.assign(dane);
    } else {
      p->Wejscie.append(m_bufor.data(), n);
      // Parsed from a buffer of its own, so that the leftover can be put back afterwards.
      std::string kopia;
      kopia.swap(p->Wejscie);
      std::string_view dane(kopia);
      if (!Rozbierz(p, dane))
        return;
      p->Wejscie.assign(dane);
    }
    if (p->Wejscie.capacity() > 64 * 1024 && p->Wejscie.size() < 4096)
      p->Wejscie.shrink_to_fit();
    if (n < m_bufor.size())
      return;
  }
  // A busy sender takes its turn again after the others.
  asio::post(m_io, [this, p] {
    if (!p->Zamkniete)
      Czytaj(p);
  });
}

bool TSerwerGG::Rozbierz(const TWsk &p, std::string_view &dane)
{
  while (dane.size() >= DlugoscNaglowka) {
    const std::uint32_t typ = CzytajLE(dane, 0);
    const std::uint32_t dlugosc = CzytajLE(dane, 4);
    if (dlugosc > m_limity.NajwiekszyPakiet) {
      Zamknij(p, "pakiet ponad limit");
      return false;
    }
    if (dane.size() < DlugoscNaglowka + std::size_t(dlugosc))
      break;
    const std::string_view cialo = dane.substr(DlugoscNaglowka, dlugosc);
    m_log.Pakiet("<-", p->Numer, typ, cialo);
    Obsluz(p, typ, cialo);
    if (p->Zamkniete || p->Zamykane)
      return false;
    dane.remove_prefix(DlugoscNaglowka + std::size_t(dlugosc));
  }
  return true;
}

void TSerwerGG::Obsluz(const TWsk &p, std::uint32_t typ, std::string_view cialo)
{
  if (!p->Zalogowany) {
    if (typ == GGReqLogin60)
      Logowanie(p, cialo);
    else if (typ != GGReqPing)
      Zamknij(p, "pakiet przed zalogowaniem");
    return;
  }
  switch (typ) {
  case GGReqPing:
    Wyslij(*p, GGAnsPong, {});
    break;
  case GGReqNewStatus:
    NowyStan(*p, cialo);
    break;
  case GGReqSendMsg:
    Wiadomosc(*p, cialo);
    break;
  case GGReqNotifyFirst:
    ListaPowiadomien(*p, cialo, false);
    break;
  case GGReqNotifyLast:
    ListaPowiadomien(*p, cialo, true);
    break;
  case GGReqListEmpty:
    KoniecListy(*p);
    break;
  case GGReqAddNotify:
    DodajPowiadomienie(*p, cialo);
    break;
  case GGReqRemoveNotify:
    UsunPowiadomienie(*p, cialo);
    break;
  case GGReqUserList:
    ListaKontaktow(*p, cialo);
    break;
  case GGReqPubDir:
    Katalog(*p, cialo);
    break;
  case GGReqLogin60:
    break; // a second login on a logged-in connection changes nothing
  default:
    if (m_log.Gadatliwy())
      m_log.Zdarzenie("nieznany pakiet " + std::to_string(typ) + " od " + std::to_string(p->Numer));
    break;
  }
}

// --- Connection end ---

void TSerwerGG::Zamknij(const TWsk &p, const char *powod)
{
  if (p->Zamkniete)
    return;
  p->Zamkniete = true;
  if (p->Zalogowany) {
    m_log.Zdarzenie("wylogowany " + std::to_string(p->Numer) + " (" + powod + ")");
    Wyloguj(*p);
  } else if (std::string_view(powod) != "rozłączony") {
    m_log.Zdarzenie("zamknięte połączenie z " + p->Adres + " (" + powod + ")");
  }
  if (p->Fd >= 0) {
    ::epoll_ctl(m_gotowosc.native_handle(), EPOLL_CTL_DEL, p->Fd, nullptr);
    ::close(p->Fd);
    p->Fd = -1;
  }
  p->Wyjscie.clear();
  p->Wyjscie.shrink_to_fit();
  if (m_wPrzebiegu)
    m_zamkniete.push_back(p);
  m_polaczenia.erase(p);
}

void TSerwerGG::ZamknijPoWyslaniu(const TWsk &p)
{
  p->Zamykane = true;
  if (p->Zalogowany) {
    Wyloguj(*p);
    p->Zalogowany = false;
  }
  Oznacz(*p);
}

void TSerwerGG::Wyloguj(TPolaczenie &p)
{
  const auto it = m_zalogowani.find(p.Numer);
  if (it != m_zalogowani.end() && it->second == &p)
    m_zalogowani.erase(it);
  // Observers see it go, then it stops observing.
  const std::string staryOpis = p.Opis;
  const std::uint32_t staryStatus = p.Status;
  const bool bylObecny = p.ListaGotowa;
  p.ListaGotowa = false;
  RozglosZmiane(p, staryStatus, staryOpis, p.Czas, p.MaCzas, bylObecny);
  for (const auto &[numer, typ] : p.Lista) {
    (void)typ;
    auto o = m_obserwatorzy.find(numer);
    if (o == m_obserwatorzy.end())
      continue;
    auto &v = o->second;
    v.erase(std::remove(v.begin(), v.end(), &p), v.end());
    if (v.empty())
      m_obserwatorzy.erase(o);
  }
  p.Lista.clear();
  p.Zablokowanych = 0;
}

// --- Output ---

void TSerwerGG::Wyslij(TPolaczenie &p, std::uint32_t typ, std::string_view cialo)
{
  Wyslij(p, typ, cialo, {});
}

void TSerwerGG::Wyslij(TPolaczenie &p, std::uint32_t typ, std::string_view a, std::string_view b)
{
  if (p.Zamkniete || p.Odpowiadacz)
    return;
  if (m_log.Gadatliwy())
    m_log.Pakiet("->", p.Numer, typ, std::string(a) + std::string(b));
  DopiszLE(p.Wyjscie, typ);
  DopiszLE(p.Wyjscie, std::uint32_t(a.size() + b.size()));
  p.Wyjscie.append(a);
  p.Wyjscie.append(b);
  Oznacz(p);
}

void TSerwerGG::Oznacz(TPolaczenie &p)
{
  if (p.Oznaczone || p.CzekaNaZapis || p.Zamkniete)
    return;
  p.Oznaczone = true;
  m_brudne.push_back(p.shared_from_this());
  if (!m_oproznianieZaplanowane && !m_wPrzebiegu) {
    m_oproznianieZaplanowane = true;
    asio::post(m_io, [this] { Oproznij(); });
  }
}

void TSerwerGG::Oproznij()
{
  m_oproznianieZaplanowane = false;
  // Both lists keep their storage from turn to turn.
  m_oprozniane.swap(m_brudne);
  for (const auto &w : m_oprozniane) {
    w->Oznaczone = false;
    if (!w->Zamkniete && !w->CzekaNaZapis)
      PiszDalej(w);
  }
  m_oprozniane.clear();
  if (m_oprozniane.capacity() > 65536)
    m_oprozniane.shrink_to_fit();
}

void TSerwerGG::PiszDalej(const TWsk &p)
{
  if (p->Zamkniete)
    return;
  std::size_t n = 0;
  if (!p->Wyjscie.empty()) {
    ssize_t w;
    do
      w = ::send(p->Fd, p->Wyjscie.data(), p->Wyjscie.size(), MSG_NOSIGNAL);
    while (w < 0 && errno == EINTR);
    if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      Zamknij(p, "błąd zapisu");
      return;
    }
    n = w > 0 ? std::size_t(w) : 0;
  }
  p->Wyjscie.erase(0, n);
  if (p->Wyjscie.empty() && p->KolejkaDoId > 0) {
    try {
      m_magazyn.UsunZKolejki(p->Numer, p->KolejkaDoId);
    } catch (const std::exception &blad) {
      m_log.Zdarzenie(std::string("magazyn: ") + blad.what());
    }
    p->KolejkaDoId = 0;
  }
  if (p->Wyjscie.empty()) {
    if (p->Wyjscie.capacity() > 64 * 1024)
      p->Wyjscie.shrink_to_fit();
    if (p->Zamykane)
      Zamknij(p, "rozłączony przez serwer");
    return;
  }
  if (p->Wyjscie.size() > NajwiecejDoWyslania) {
    Zamknij(p, "odbiorca nie nadąża");
    return;
  }
  p->CzekaNaZapis = true;
}

void TSerwerGG::Przeglad()
{
  m_zegar.expires_after(std::chrono::seconds(1));
  m_zegar.async_wait([this](asio::error_code e) {
    if (e || m_zatrzymany)
      return;
    const auto teraz = Zegar::now();
    std::vector<std::pair<TWsk, const char *>> doZamkniecia;
    for (const auto &p : m_polaczenia) {
      if (p->Odpowiadacz)
        continue;
      if (!p->Zalogowany && !p->Zamykane && teraz - p->Poczatek > m_limity.NaLogowanie)
        doZamkniecia.emplace_back(p, "brak logowania");
      else if (teraz - p->Ostatnio > m_limity.Bezczynnosc)
        doZamkniecia.emplace_back(p, "bezczynność");
      else if (p->Zamykane && teraz - p->Ostatnio > std::chrono::seconds(10))
        doZamkniecia.emplace_back(p, "rozłączony przez serwer");
    }
    for (const auto &[p, powod] : doZamkniecia)
      Zamknij(p, powod);
    m_dlawienie.Sprzataj();
    Przeglad();
  });
}

// --- Login ---

void TSerwerGG::Logowanie(const TWsk &p, std::string_view cialo)
{
  if (cialo.size() < 12) {
    Zamknij(p, "uszkodzony pakiet logowania");
    return;
  }
  const std::uint32_t numer = CzytajLE(cialo, 0);
  const std::uint32_t skrot = CzytajLE(cialo, 4);
  const std::uint32_t status = CzytajLE(cialo, 8);
  const auto odmowa = [&](const char *powod) {
    m_log.Zdarzenie("logowanie " + std::to_string(numer) + " z " + p->Adres + " odrzucone (" +
                    powod + ")");
    Wyslij(*p, GGAnsLoginFailed, {});
    ZamknijPoWyslaniu(p);
  };
  if (m_dlawienie.Zdlawiony(p->Adres)) {
    odmowa("za wiele nieudanych prób");
    return;
  }
  std::optional<std::string> haslo;
  try {
    haslo = m_magazyn.Haslo(numer);
  } catch (const std::exception &e) {
    m_log.Zdarzenie(std::string("magazyn: ") + e.what());
  }
  if (!haslo ||
      LoginHash(p->Ziarno, QByteArrayView(haslo->data(), qsizetype(haslo->size()))) != skrot) {
    m_dlawienie.Nieudane(p->Adres);
    odmowa(haslo ? "złe hasło" : "nieznany numer");
    return;
  }
  const auto stary = m_zalogowani.find(numer);
  if (stary != m_zalogowani.end() && !stary->second->Odpowiadacz) {
    TPolaczenie &s = *stary->second;
    m_log.Zdarzenie("ponowne logowanie " + std::to_string(numer) +
                    ": pierwsze połączenie rozłączone");
    Wyslij(s, GGAnsDisconnecting, {});
    ZamknijPoWyslaniu(s.shared_from_this());
  } else if (stary != m_zalogowani.end()) {
    odmowa("numer obsługiwany przez serwer");
    return;
  }
  p->Numer = numer;
  p->Zalogowany = true;
  p->Status = status;
  m_zalogowani[numer] = p.get();
  m_log.Zdarzenie("zalogowany " + std::to_string(numer) + " z " + p->Adres);
  Wyslij(*p, GGAnsLoginOk, {});
  WyslijKolejke(*p);
}

void TSerwerGG::WyslijKolejke(TPolaczenie &p)
{
  std::vector<TWiadomoscZakolejkowana> kolejka;
  try {
    kolejka = m_magazyn.Kolejka(p.Numer);
  } catch (const std::exception &e) {
    m_log.Zdarzenie(std::string("magazyn: ") + e.what());
    return;
  }
  if (kolejka.empty())
    return;
  std::string naglowek;
  for (const auto &w : kolejka) {
    naglowek.clear();
    DopiszLE(naglowek, w.Nadawca);
    DopiszLE(naglowek, std::uint32_t(w.Id)); // its own sequence: the queue keeps none
    DopiszLE(naglowek, w.Czas);
    DopiszLE(naglowek, w.Klasa);
    Wyslij(p, GGAnsRecvMsg, naglowek, w.Tresc);
  }
  p.KolejkaDoId = kolejka.back().Id;
  m_log.Zdarzenie("wysłano " + std::to_string(kolejka.size()) + " zakolejkowanych do " +
                  std::to_string(p.Numer));
}

// --- Presence ---

TSerwerGG::TWidok TSerwerGG::Widok(const TStan &u, bool obecny, int typWpisu)
{
  TWidok w;
  if (!obecny || typWpisu == TypZablokowany)
    return w;
  if ((u.Status & TylkoDlaPrzyjaciol) && typWpisu < 0)
    return w;
  const std::uint32_t s = u.Status & 0xFF;
  switch (s) {
  case 2:
  case 3:
    w.Status = s;
    return w;
  case 4:
  case 5:
  case 21:
    w.Status = s;
    w.Opis = u.Opis;
    w.Czas = u.Czas;
    w.MaCzas = u.MaCzas;
    return w;
  default:
    return w; // 1, invisible and anything unknown: not available
  }
}

TSerwerGG::TStan TSerwerGG::Stan(const TPolaczenie &u)
{
  return TStan{u.Status, u.Opis, u.Czas, u.MaCzas};
}

TSerwerGG::TWidok TSerwerGG::Widok(const TPolaczenie *u, std::uint32_t obserwator) const
{
  if (!u)
    return {};
  const auto it = u->Lista.find(obserwator);
  return Widok(Stan(*u), u->ListaGotowa, it == u->Lista.end() ? -1 : int(it->second));
}

void TSerwerGG::DopiszWpis60(std::string &cel, std::uint32_t numer, const TWidok &w)
{
  DopiszLE(cel, numer & 0x00FFFFFF);
  cel += char(w.Status);
  cel.append(9, '\0');
  if (MaOpis(w.Status)) {
    std::string_view opis = w.Opis.substr(0, w.MaCzas ? 250 : 255);
    cel += char(opis.size() + (w.MaCzas ? 5 : 0));
    cel.append(opis);
    if (w.MaCzas) {
      cel += '\0';
      DopiszLE(cel, w.Czas);
    }
  }
}

void TSerwerGG::WyslijStan(TPolaczenie &o, std::uint32_t numer, const TWidok &w)
{
  std::string &c = m_robocze;
  c.clear();
  DopiszLE(c, numer & 0x00FFFFFF);
  c += char(w.Status);
  c.append(9, '\0');
  if (MaOpis(w.Status)) {
    c.append(w.Opis);
    if (w.MaCzas) {
      c += '\0';
      DopiszLE(c, w.Czas);
    }
  }
  Wyslij(o, GGAnsStatus60, c);
}

void TSerwerGG::RozglosZmiane(TPolaczenie &u, std::uint32_t staryStatus,
                              const std::string &staryOpis, std::uint32_t staryCzas,
                              bool staryMaCzas, bool bylObecny)
{
  const auto it = m_obserwatorzy.find(u.Numer);
  if (it == m_obserwatorzy.end())
    return;
  const TStan stary{staryStatus, staryOpis, staryCzas, staryMaCzas};
  const TStan nowy = Stan(u);
  const bool obecny = u.ListaGotowa && u.Zalogowany && !u.Zamkniete;
  // A copy: sending never changes the observers, but closing could.
  const std::vector<TPolaczenie *> obserwatorzy = it->second;
  for (TPolaczenie *o : obserwatorzy) {
    if (o == &u)
      continue;
    const auto wpis = u.Lista.find(o->Numer);
    const int typ = wpis == u.Lista.end() ? -1 : int(wpis->second);
    const TWidok przed = Widok(stary, bylObecny, typ);
    const TWidok po = Widok(nowy, obecny, typ);
    if (!(przed == po))
      WyslijStan(*o, u.Numer, po);
  }
}

void TSerwerGG::ZmianaWpisu(TPolaczenie &u, std::uint32_t kogo, int staryTyp)
{
  if (!u.ListaGotowa)
    return;
  const auto it = m_zalogowani.find(kogo);
  if (it == m_zalogowani.end())
    return;
  TPolaczenie &o = *it->second;
  if (!o.Lista.count(u.Numer))
    return;
  const auto wpis = u.Lista.find(kogo);
  const TWidok przed = Widok(Stan(u), true, staryTyp);
  const TWidok po = Widok(Stan(u), true, wpis == u.Lista.end() ? -1 : int(wpis->second));
  if (!(przed == po))
    WyslijStan(o, u.Numer, po);
}

void TSerwerGG::NowyStan(TPolaczenie &p, std::string_view cialo)
{
  if (cialo.size() < 4)
    return;
  const std::string staryOpis = std::move(p.Opis);
  const std::uint32_t staryStatus = p.Status, staryCzas = p.Czas;
  const bool staryMaCzas = p.MaCzas;
  p.Status = CzytajLE(cialo, 0);
  std::string_view opis = cialo.substr(4);
  p.MaCzas = false;
  p.Czas = 0;
  if (opis.size() > 4 && opis[opis.size() - 5] == '\0') {
    p.MaCzas = true;
    p.Czas = CzytajLE(opis, opis.size() - 4);
    opis.remove_suffix(5);
  }
  // Descriptions travel with a one-byte length in notify replies.
  p.Opis.assign(opis.substr(0, std::min(opis.find('\0'), std::size_t(250))));
  RozglosZmiane(p, staryStatus, staryOpis, staryCzas, staryMaCzas, p.ListaGotowa);
}

void TSerwerGG::ListaPowiadomien(TPolaczenie &p, std::string_view cialo, bool ostatnia)
{
  std::string &odp = m_robocze;
  odp.clear();
  for (std::size_t i = 0; i + 5 <= cialo.size(); i += 5) {
    const std::uint32_t numer = CzytajLE(cialo, i);
    const auto typ = static_cast<std::uint8_t>(cialo[i + 4]);
    if (p.Wpisz(numer, typ) < 0)
      m_obserwatorzy[numer].push_back(&p);
    const auto z = m_zalogowani.find(numer);
    if (z != m_zalogowani.end()) {
      const TWidok w = Widok(z->second, p.Numer);
      if (w.Status != 1)
        DopiszWpis60(odp, numer, w);
    }
  }
  if (!odp.empty()) {
    const std::string kopia = odp;
    Wyslij(p, GGAnsNotifyReply60, kopia);
  }
  if (ostatnia)
    KoniecListy(p);
}

void TSerwerGG::ZapiszZablokowanych(TPolaczenie &p)
{
  std::vector<std::uint32_t> zablokowani;
  for (const auto &[numer, typ] : p.Lista)
    if (typ == TypZablokowany)
      zablokowani.push_back(numer);
  std::sort(zablokowani.begin(), zablokowani.end());
  try {
    // Written only when it changed: a login should not cost a disk sync.
    if (m_magazyn.Zablokowani(p.Numer) != zablokowani)
      m_magazyn.UstawZablokowanych(p.Numer, zablokowani);
  } catch (const std::exception &e) {
    m_log.Zdarzenie(std::string("magazyn: ") + e.what());
  }
}

void TSerwerGG::KoniecListy(TPolaczenie &p)
{
  if (p.ListaGotowa)
    return;
  ZapiszZablokowanych(p);
  p.ListaGotowa = true;
  RozglosZmiane(p, 1, std::string(), 0, false, false);
}

void TSerwerGG::DodajPowiadomienie(TPolaczenie &p, std::string_view cialo)
{
  if (cialo.size() < 8)
    return;
  const std::uint32_t numer = CzytajLE(cialo, 0);
  const auto typ = static_cast<std::uint8_t>(CzytajLE(cialo, 4));
  const int staryTyp = p.Wpisz(numer, typ);
  if (staryTyp < 0)
    m_obserwatorzy[numer].push_back(&p);
  if ((staryTyp == TypZablokowany) != (typ == TypZablokowany) && p.ListaGotowa)
    ZapiszZablokowanych(p);
  ZmianaWpisu(p, numer, staryTyp);
  const auto z = m_zalogowani.find(numer);
  if (z != m_zalogowani.end()) {
    const TWidok w = Widok(z->second, p.Numer);
    if (w.Status != 1) {
      std::string odp;
      DopiszWpis60(odp, numer, w);
      Wyslij(p, GGAnsNotifyReply60, odp);
    }
  }
}

void TSerwerGG::UsunPowiadomienie(TPolaczenie &p, std::string_view cialo)
{
  if (cialo.size() < 4)
    return;
  const std::uint32_t numer = CzytajLE(cialo, 0);
  const auto stary = p.Lista.find(numer);
  if (stary == p.Lista.end())
    return;
  const int staryTyp = int(stary->second);
  p.Wypisz(stary);
  auto o = m_obserwatorzy.find(numer);
  if (o != m_obserwatorzy.end()) {
    auto &v = o->second;
    v.erase(std::remove(v.begin(), v.end(), &p), v.end());
    if (v.empty())
      m_obserwatorzy.erase(o);
  }
  if (staryTyp == TypZablokowany && p.ListaGotowa)
    ZapiszZablokowanych(p);
  ZmianaWpisu(p, numer, staryTyp);
}

// --- Messages ---

std::uint32_t TSerwerGG::Dostarcz(std::uint32_t nadawca, std::uint32_t adresat,
                                  std::uint32_t sekwencja, std::uint32_t klasa,
                                  std::string_view tresc)
{
  const auto z = m_zalogowani.find(adresat);
  if (z != m_zalogowani.end()) {
    TPolaczenie &r = *z->second;
    if (r.Zablokowanych > 0) {
      const auto wpis = r.Lista.find(nadawca);
      if (wpis != r.Lista.end() && wpis->second == TypZablokowany)
        return 1;
    }
    if (r.Odpowiadacz) {
      const std::string tekst(tresc.substr(0, tresc.find('\0')));
      asio::post(m_io, [this, adresat, nadawca, tekst] { Odpowiedz(adresat, nadawca, tekst); });
      return 2;
    }
    std::string &naglowek = m_robocze;
    naglowek.clear();
    DopiszLE(naglowek, nadawca);
    DopiszLE(naglowek, sekwencja);
    DopiszLE(naglowek, Teraz());
    DopiszLE(naglowek, klasa);
    Wyslij(r, GGAnsRecvMsg, naglowek, tresc);
    return 2;
  }
  try {
    if (!m_magazyn.Haslo(adresat))
      return 1;
    if (m_magazyn.Blokuje(adresat, nadawca))
      return 1;
    TWiadomoscZakolejkowana w;
    w.Nadawca = nadawca;
    w.Czas = Teraz();
    w.Klasa = klasa;
    w.Tresc.assign(tresc);
    m_magazyn.Zakolejkuj(adresat, w);
    return 3;
  } catch (const std::exception &e) {
    m_log.Zdarzenie(std::string("magazyn: ") + e.what());
    return 4;
  }
}

void TSerwerGG::Wiadomosc(TPolaczenie &p, std::string_view cialo)
{
  if (cialo.size() < 12) {
    Zamknij(p.shared_from_this(), "uszkodzona wiadomość");
    return;
  }
  const std::uint32_t adresat = CzytajLE(cialo, 0);
  const std::uint32_t sekwencja = CzytajLE(cialo, 4);
  const std::uint32_t klasa = CzytajLE(cialo, 8);
  const std::string_view reszta = cialo.substr(12);
  const std::size_t nul = reszta.find('\0');
  std::uint32_t wynik = 1;
  if (nul != std::string_view::npos && nul + 6 <= reszta.size() && reszta[nul + 1] == 0x01) {
    // A conference: the packet reaches its recipient and everybody listed; each hears of the
    // others.
    const std::string_view opcje = reszta.substr(nul + 2);
    const std::size_t ile = std::min<std::size_t>(CzytajLE(opcje, 0), (opcje.size() - 4) / 4);
    std::vector<std::uint32_t> uczestnicy{adresat};
    for (std::size_t i = 0; i < ile && uczestnicy.size() < NajwiecejUczestnikow; ++i) {
      const std::uint32_t n = CzytajLE(opcje, 4 + 4 * i);
      if (n != p.Numer && std::find(uczestnicy.begin(), uczestnicy.end(), n) == uczestnicy.end())
        uczestnicy.push_back(n);
    }
    const std::string_view tekst = reszta.substr(0, nul + 1);
    for (const std::uint32_t r : uczestnicy) {
      std::string tresc(tekst);
      tresc += char(0x01);
      DopiszLE(tresc, std::uint32_t(uczestnicy.size() - 1));
      for (const std::uint32_t inny : uczestnicy)
        if (inny != r)
          DopiszLE(tresc, inny);
      const std::uint32_t w = Dostarcz(p.Numer, r, sekwencja, klasa, tresc);
      if (r == adresat)
        wynik = w;
    }
  } else {
    wynik = Dostarcz(p.Numer, adresat, sekwencja, klasa, reszta);
  }
  std::string &ack = m_robocze;
  ack.clear();
  DopiszLE(ack, wynik);
  DopiszLE(ack, adresat);
  DopiszLE(ack, sekwencja);
  Wyslij(p, GGAnsSendMsgAck, ack);
}

void TSerwerGG::DodajOdpowiadacza(std::uint32_t numer, const std::string &opis)
{
  auto p = std::make_shared<TPolaczenie>();
  p->Odpowiadacz = true;
  p->Numer = numer;
  p->Zalogowany = true;
  p->ListaGotowa = true;
  p->Status = opis.empty() ? 2 : 4;
  p->Opis = opis;
  m_odpowiadacze[numer] = p;
  m_zalogowani[numer] = p.get();
}

void TSerwerGG::Odpowiedz(std::uint32_t bot, std::uint32_t komu, std::string_view tekst)
{
  // The reply keeps the text's bytes, so its code page (or marker) stays right.
  std::string tresc = "Odpowied\x9F: ";
  tresc.append(tekst);
  tresc += '\0';
  static std::uint32_t sekwencja = 1;
  Dostarcz(bot, komu, sekwencja++, 0x08, tresc);
}

// --- Stored contact list ---

void TSerwerGG::ListaKontaktow(TPolaczenie &p, std::string_view cialo)
{
  if (cialo.empty())
    return;
  const auto rodzaj = static_cast<std::uint8_t>(cialo[0]);
  const std::string_view tekst = cialo.substr(1);
  try {
    if (rodzaj == 0x00 || rodzaj == 0x01) {
      if (rodzaj == 0x00)
        p.ListaKontaktow.clear();
      if (p.ListaKontaktow.size() + tekst.size() <= NajdluzszaLista)
        p.ListaKontaktow.append(tekst);
      // Each piece is stored as it comes: the client never says which one is the last.
      m_magazyn.ZapiszListe(p.Numer, p.ListaKontaktow);
      const char odp = rodzaj == 0x00 ? 0x00 : 0x02;
      Wyslij(p, GGAnsUserList, std::string_view(&odp, 1));
    } else if (rodzaj == 0x02) {
      const std::string lista = m_magazyn.Lista(p.Numer);
      std::size_t od = 0;
      do {
        const std::size_t ile = std::min(KawalekListy, lista.size() - od);
        const char typ = od + ile < lista.size() ? 0x04 : 0x06;
        Wyslij(p, GGAnsUserList, std::string_view(&typ, 1),
               std::string_view(lista).substr(od, ile));
        od += ile;
      } while (od < lista.size());
    }
  } catch (const std::exception &e) {
    m_log.Zdarzenie(std::string("magazyn: ") + e.what());
  }
}

// --- Public directory ---

void TSerwerGG::Katalog(TPolaczenie &p, std::string_view cialo)
{
  if (cialo.size() < 5)
    return;
  const auto rodzaj = static_cast<std::uint8_t>(cialo[0]);
  const std::uint32_t sekwencja = CzytajLE(cialo, 1);
  const auto pary = RozbierzPary(cialo.substr(5));
  const auto wartosc = [&](std::string_view klucz) {
    for (const auto &[k, v] : pary)
      if (k == klucz)
        return v;
    return std::string_view();
  };
  std::string odp;
  odp += char(rodzaj == 0x03 ? 0x05 : rodzaj);
  DopiszLE(odp, sekwencja);
  try {
    if (rodzaj == 0x01) {
      TWpisKatalogu w;
      w.Numer = p.Numer;
      w.Imie = wartosc("firstname");
      w.Nazwisko = wartosc("lastname");
      w.Pseudonim = wartosc("nickname");
      w.Miejscowosc = wartosc("city");
      w.Plec = int(LiczbaZTekstu(wartosc("gender")));
      w.RokUrodzenia = int(LiczbaZTekstu(wartosc("birthyear")));
      m_magazyn.ZapiszWpis(w);
    } else if (rodzaj == 0x02) {
      std::uint32_t numer = LiczbaZTekstu(wartosc("FmNumber"));
      if (numer == 0)
        numer = p.Numer;
      if (const auto w = m_magazyn.Wpis(numer)) {
        DopiszPare(odp, "FmNumber", std::to_string(w->Numer));
        DopiszPare(odp, "firstname", w->Imie);
        DopiszPare(odp, "lastname", w->Nazwisko);
        DopiszPare(odp, "nickname", w->Pseudonim);
        DopiszPare(odp, "city", w->Miejscowosc);
        DopiszPare(odp, "gender", std::to_string(w->Plec));
        DopiszPare(odp, "birthyear", w->RokUrodzenia ? std::to_string(w->RokUrodzenia) : "");
      }
    } else if (rodzaj == 0x03) {
      TKryteriaKatalogu k;
      k.Numer = LiczbaZTekstu(wartosc("FmNumber"));
      k.Imie = wartosc("firstname");
      k.Nazwisko = wartosc("lastname");
      k.Pseudonim = wartosc("nickname");
      k.Miejscowosc = wartosc("city");
      // The search dialog numbers 1 a woman and 2 a man, the entry the other way round.
      const int plec = int(LiczbaZTekstu(wartosc("gender")));
      k.Plec = plec == 1 ? 2 : plec == 2 ? 1 : 0;
      k.RokUrodzenia = int(LiczbaZTekstu(wartosc("birthyear")));
      k.OdNumeru = LiczbaZTekstu(wartosc("fmstart"));
      const bool tylkoAktywni = wartosc("ActiveOnly") == "1";
      std::vector<TWpisKatalogu> strona;
      bool jestWiecej = false;
      std::uint32_t nastepny = 0;
      while (!jestWiecej) {
        const auto partia = m_magazyn.Szukaj(k, WynikowNaStrone + 1);
        for (const auto &w : partia) {
          if (tylkoAktywni) {
            const auto z = m_zalogowani.find(w.Numer);
            if (z == m_zalogowani.end() || Widok(z->second, p.Numer).Status == 1)
              continue;
          }
          if (int(strona.size()) == WynikowNaStrone) {
            jestWiecej = true;
            nastepny = w.Numer;
            break;
          }
          strona.push_back(w);
        }
        if (int(partia.size()) <= WynikowNaStrone || partia.back().Numer == 0xFFFFFFFFu)
          break;
        k.OdNumeru = partia.back().Numer + 1;
      }
      bool pierwszy = true;
      for (const auto &w : strona) {
        if (!pierwszy)
          odp += '\0';
        pierwszy = false;
        const auto z = m_zalogowani.find(w.Numer);
        const TWidok widok = z == m_zalogowani.end() ? TWidok{} : Widok(z->second, p.Numer);
        DopiszPare(odp, "FmNumber", std::to_string(w.Numer));
        DopiszPare(odp, "FmStatus", std::to_string(widok.Status));
        DopiszPare(odp, "firstname", w.Imie);
        DopiszPare(odp, "lastname", w.Nazwisko);
        DopiszPare(odp, "nickname", w.Pseudonim);
        DopiszPare(odp, "city", w.Miejscowosc);
        DopiszPare(odp, "gender", w.Plec == 1 ? "2" : w.Plec == 2 ? "1" : "0");
        DopiszPare(odp, "birthyear", w.RokUrodzenia ? std::to_string(w.RokUrodzenia) : "");
      }
      if (jestWiecej) {
        odp += '\0';
        DopiszPare(odp, "nextstart", std::to_string(nastepny));
      }
    }
  } catch (const std::exception &e) {
    m_log.Zdarzenie(std::string("magazyn: ") + e.what());
  }
  Wyslij(p, GGAnsPubDirReply, odp);
}
