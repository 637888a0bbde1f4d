// Load on the real server process over loopback: many logged-in clients, each with a notify list,
// then messages to random contacts for a while. The generator runs in this process on the
// client's codec and non-blocking sockets under epoll; the server is a separate process (each
// side needs its own descriptors).
//
// Environment (all optional): PAPLANKI_KLIENCI (10000), PAPLANKI_KONTAKTY (50),
// PAPLANKI_SEKUNDY (30), PAPLANKI_TEMPO (messages a second offered, 100000), PAPLANKI_PRZYPNIJ
// (1: the server on the first CPU, the generator on the second; default 0, the scheduler
// places both).

#include "gg/Liczby.h"
#include "gg/Pakiety.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char **environ;

namespace {

using Zegar = std::chrono::steady_clock;
constexpr std::uint32_t PierwszyNumer = 100000;

int ZeSrodowiska(const char *nazwa, int domyslna)
{
  const char *w = std::getenv(nazwa);
  return w && *w ? std::atoi(w) : domyslna;
}

std::int64_t TerazNs()
{
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Zegar::now().time_since_epoch())
      .count();
}

void DopiszLE(std::string &c, std::uint32_t v)
{
  const QByteArray b = IntToLE(qint32(v));
  c.append(b.constData(), 4);
}

void ZapiszLE(char *p, std::uint32_t v)
{
  for (int i = 0; i < 4; ++i, v >>= 8)
    p[i] = char(v & 0xFF);
}

std::uint32_t CzytajLE(const char *p)
{
  return std::uint32_t(LEToInt(QByteArrayView(p, 4)));
}

void Ramka(std::string &cel, std::uint32_t typ, const std::string &cialo)
{
  DopiszLE(cel, typ);
  DopiszLE(cel, std::uint32_t(cialo.size()));
  cel += cialo;
}

std::string Haslo(std::uint32_t numer)
{
  return "p" + std::to_string(numer);
}

long RssKiB(pid_t pid)
{
  std::ifstream f("/proc/" + std::to_string(pid) + "/status");
  std::string linia;
  while (std::getline(f, linia))
    if (linia.rfind("VmRSS:", 0) == 0)
      return std::atol(linia.c_str() + 6);
  return -1;
}

// User plus system CPU seconds of a process (only the system part with `tylkoSystem`).
double CzasProcesora(pid_t pid, bool tylkoSystem = false)
{
  std::ifstream f("/proc/" + std::to_string(pid) + "/stat");
  std::string tekst((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  const std::size_t nawias = tekst.rfind(')');
  if (nawias == std::string::npos)
    return 0;
  std::istringstream pola(tekst.substr(nawias + 2));
  std::string pole;
  unsigned long long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && pola >> pole; ++i) {
    if (i == 14)
      utime = std::stoull(pole);
    if (i == 15)
      stime = std::stoull(pole);
  }
  return double(tylkoSystem ? stime : utime + stime) / double(sysconf(_SC_CLK_TCK));
}

// This process's CPU seconds (user + system, or system only).
double WlasnyCzasProcesora(bool tylkoSystem = false)
{
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  const auto sek = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
  return tylkoSystem ? sek(u.ru_stime) : sek(u.ru_utime) + sek(u.ru_stime);
}

bool Przypnij(pid_t pid, int procesor)
{
  cpu_set_t zbior;
  CPU_ZERO(&zbior);
  CPU_SET(procesor, &zbior);
  return sched_setaffinity(pid, sizeof zbior, &zbior) == 0;
}

struct TKlient {
  int fd = -1;
  std::uint32_t numer = 0;
  int etap = 0; // 0 connecting/welcome, 1 login sent, 2 logged in
  std::string we, wy;
  std::vector<std::uint32_t> kontakty;
};

class TObciazenie {
public:
  TObciazenie(int klienci, int kontakty) : m_klienci(std::size_t(klienci))
  {
    m_epoll = epoll_create1(EPOLL_CLOEXEC);
    std::mt19937 los(12345);
    for (std::size_t i = 0; i < m_klienci.size(); ++i) {
      TKlient &k = m_klienci[i];
      k.numer = PierwszyNumer + std::uint32_t(i);
      std::uniform_int_distribution<std::size_t> kto(0, m_klienci.size() - 1);
      while (k.kontakty.size() < std::size_t(kontakty)) {
        const std::uint32_t n = PierwszyNumer + std::uint32_t(kto(los));
        if (n != k.numer)
          k.kontakty.push_back(n);
      }
    }
  }
  ~TObciazenie()
  {
    for (auto &k : m_klienci)
      if (k.fd >= 0)
        ::close(k.fd);
    ::close(m_epoll);
  }

  // Connects and logs everybody in, at most `naRaz` logins under way. True when all made it
  // before the deadline.
  bool Zaloguj(std::uint16_t port, Zegar::time_point termin, int naRaz = 400)
  {
    std::size_t nastepny = 0;
    while (m_zalogowani < m_klienci.size() && Zegar::now() < termin) {
      while (nastepny < m_klienci.size() && int(nastepny - m_zalogowani) < naRaz)
        Polacz(m_klienci[nastepny++], port);
      Obsluz(10);
      if (m_bledy > 0)
        return false;
    }
    return m_zalogowani == m_klienci.size();
  }

  // Messages at `tempo` a second for `sekundy`, to random contacts, then waits for the last ones.
  void Wysylaj(int tempo, int sekundy)
  {
    const auto poczatek = Zegar::now();
    const auto koniec = poczatek + std::chrono::seconds(sekundy);
    std::mt19937 los(777);
    std::size_t kto = 0;
    std::uint32_t sekwencja = 1;
    double zaleglosc = 0;
    auto ostatnio = poczatek;
    while (Zegar::now() < koniec) {
      const auto teraz = Zegar::now();
      zaleglosc += std::chrono::duration<double>(teraz - ostatnio).count() * tempo;
      ostatnio = teraz;
      // Never more than 50 ms of backlog: an overloaded server shows as a lower rate.
      zaleglosc = std::min(zaleglosc, tempo * 0.05);
      while (zaleglosc >= 1) {
        zaleglosc -= 1;
        TKlient &k = m_klienci[kto];
        kto = (kto + 1) % m_klienci.size();
        const std::uint32_t adresat =
            k.kontakty[std::uniform_int_distribution<std::size_t>(0, k.kontakty.size() - 1)(los)];
        // Header, recipient, sequence, class, then the send time as 16 hex digits and NUL.
        char pakiet[8 + 12 + 17];
        ZapiszLE(pakiet, GGReqSendMsg);
        ZapiszLE(pakiet + 4, 12 + 17);
        ZapiszLE(pakiet + 8, adresat);
        ZapiszLE(pakiet + 12, sekwencja++);
        ZapiszLE(pakiet + 16, 8);
        std::uint64_t czas = std::uint64_t(TerazNs());
        for (int i = 15; i >= 0; --i, czas >>= 4)
          pakiet[20 + i] = "0123456789abcdef"[czas & 15];
        pakiet[36] = '\0';
        Wyslij(k, pakiet, sizeof pakiet);
        ++m_wyslane;
      }
      Obsluz(1);
    }
    m_czasWysylania = std::chrono::duration<double>(Zegar::now() - poczatek).count();
    const auto dobieg = Zegar::now() + std::chrono::seconds(5);
    while ((m_doreczone < m_wyslane || m_potwierdzone < m_wyslane) && Zegar::now() < dobieg)
      Obsluz(10);
  }

  std::size_t Zalogowani() const { return m_zalogowani; }
  std::uint64_t Wyslane() const { return m_wyslane; }
  std::uint64_t Doreczone() const { return m_doreczone; }
  std::uint64_t Potwierdzone() const { return m_potwierdzone; }
  double CzasWysylania() const { return m_czasWysylania; }
  int Bledy() const { return m_bledy; }
  // Delivery latency percentile in microseconds.
  double Opoznienie(double p)
  {
    if (m_opoznienia.empty())
      return -1;
    const std::size_t i =
        std::min(m_opoznienia.size() - 1, std::size_t(p * double(m_opoznienia.size())));
    std::nth_element(m_opoznienia.begin(), m_opoznienia.begin() + std::ptrdiff_t(i),
                     m_opoznienia.end());
    return m_opoznienia[i];
  }

private:
  void Polacz(TKlient &k, std::uint16_t port)
  {
    k.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (k.fd < 0) {
      ++m_bledy;
      return;
    }
    const int jeden = 1;
    setsockopt(k.fd, IPPROTO_TCP, TCP_NODELAY, &jeden, sizeof jeden);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(k.fd, reinterpret_cast<sockaddr *>(&a), sizeof a);
    epoll_event e{};
    // Edge-triggered: a level-triggered set polls every reported socket once more at the next
    // wait, one more touch of a cold socket per packet.
    e.events = EPOLLIN | EPOLLRDHUP | EPOLLET;
    e.data.ptr = &k;
    epoll_ctl(m_epoll, EPOLL_CTL_ADD, k.fd, &e);
  }

  // Straight from the caller's bytes when nothing is waiting before them.
  void Wyslij(TKlient &k, const char *dane, std::size_t ile)
  {
    if (k.wy.empty()) {
      const ssize_t n = ::send(k.fd, dane, ile, MSG_NOSIGNAL);
      const std::size_t poszlo = n > 0 ? std::size_t(n) : 0;
      if (poszlo < ile)
        k.wy.append(dane + poszlo, ile - poszlo);
      return;
    }
    k.wy.append(dane, ile);
    Pisz(k);
  }

  void Pisz(TKlient &k)
  {
    while (!k.wy.empty()) {
      const ssize_t n = ::send(k.fd, k.wy.data(), k.wy.size(), MSG_NOSIGNAL);
      if (n <= 0)
        break; // the rest goes with the next send
      k.wy.erase(0, std::size_t(n));
    }
  }

  void Obsluz(int limitMs)
  {
    epoll_event zdarzenia[512];
    const int n = epoll_wait(m_epoll, zdarzenia, 512, limitMs);
    const std::int64_t teraz = TerazNs();
    for (int i = 0; i < n; ++i) {
      auto &k = *static_cast<TKlient *>(zdarzenia[i].data.ptr);
      // A short read has emptied the socket, so no read has to end in EAGAIN.
      ssize_t r;
      do {
        r = ::recv(k.fd, m_bufor.data(), m_bufor.size(), 0);
        if (r <= 0) {
          if (r == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            ++m_bledy;
            epoll_ctl(m_epoll, EPOLL_CTL_DEL, k.fd, nullptr);
          }
          break;
        }
        if (k.we.empty()) {
          const std::size_t zjedzone = Rozbierz(k, m_bufor.data(), std::size_t(r), teraz);
          k.we.assign(m_bufor.data() + zjedzone, std::size_t(r) - zjedzone);
        } else {
          k.we.append(m_bufor.data(), std::size_t(r));
          const std::size_t zjedzone = Rozbierz(k, k.we.data(), k.we.size(), teraz);
          k.we.erase(0, zjedzone);
        }
      } while (std::size_t(r) == m_bufor.size());
      Pisz(k);
    }
  }

  // Handles the whole packets at `dane`; returns how many bytes they took.
  std::size_t Rozbierz(TKlient &k, const char *dane, std::size_t rozmiar, std::int64_t teraz)
  {
    std::size_t od = 0;
    while (rozmiar - od >= 8) {
      const std::uint32_t typ = CzytajLE(dane + od);
      const std::uint32_t dl = CzytajLE(dane + od + 4);
      if (rozmiar - od < 8 + std::size_t(dl))
        break;
      const char *cialo = dane + od + 8;
      if (typ == GGAnsWelcome && dl >= 4) {
        std::string c;
        DopiszLE(c, k.numer);
        const std::string h = Haslo(k.numer);
        DopiszLE(c, LoginHash(CzytajLE(cialo), QByteArrayView(h.data(), qsizetype(h.size()))));
        DopiszLE(c, 2);
        DopiszLE(c, 0x20);
        c.append(13, '\0');
        c += char(0xFF);
        c += char(0xBE);
        Ramka(k.wy, GGReqLogin60, c);
        k.etap = 1;
      } else if (typ == GGAnsLoginOk) {
        std::string c;
        for (const auto n : k.kontakty) {
          DopiszLE(c, n);
          c += char(1);
        }
        Ramka(k.wy, GGReqNotifyLast, c);
        k.etap = 2;
        ++m_zalogowani;
      } else if (typ == GGAnsLoginFailed) {
        ++m_bledy;
      } else if (typ == GGAnsRecvMsg && dl > 16) {
        ++m_doreczone;
        if (dl >= 16 + 16)
          m_opoznienia.push_back(float(double(teraz - CzytajHex(cialo + 16)) / 1000.0));
      } else if (typ == GGAnsSendMsgAck) {
        ++m_potwierdzone;
      }
      od += 8 + dl;
    }
    return od;
  }

  static std::int64_t CzytajHex(const char *p)
  {
    std::uint64_t w = 0;
    for (int i = 0; i < 16; ++i) {
      const char c = p[i];
      w = w * 16 + std::uint64_t(c <= '9' ? c - '0' : c - 'a' + 10);
    }
    return std::int64_t(w);
  }

  std::vector<TKlient> m_klienci;
  int m_epoll = -1;
  std::size_t m_zalogowani = 0;
  std::uint64_t m_wyslane = 0, m_doreczone = 0, m_potwierdzone = 0;
  double m_czasWysylania = 0;
  int m_bledy = 0;
  std::vector<float> m_opoznienia;
  std::vector<char> m_bufor = std::vector<char>(65536);
};

// The server on ports of its own choosing, with every account made at start.
struct TSerwer {
  pid_t pid = -1;
  std::uint16_t port = 0;
  std::string katalog;

  bool Uruchom(int klienci)
  {
    char wzor[] = "/tmp/paplanki-obciazenie-XXXXXX";
    katalog = mkdtemp(wzor);
    const std::string porty = katalog + "/porty";
    std::vector<std::string> arg{PAPLANKI_SERWER_PLIK,
                                 "--dane",
                                 katalog + "/dane",
                                 "--gg",
                                 "127.0.0.1:0",
                                 "--http",
                                 "127.0.0.1:0",
                                 "--porty-do",
                                 porty};
    for (int i = 0; i < klienci; ++i) {
      arg.push_back("--konto");
      arg.push_back(std::to_string(PierwszyNumer + std::uint32_t(i)) + ":" +
                    Haslo(PierwszyNumer + std::uint32_t(i)));
    }
    std::vector<char *> argv;
    for (auto &a : arg)
      argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t akcje;
    posix_spawn_file_actions_init(&akcje);
    posix_spawn_file_actions_addopen(&akcje, 2, (katalog + "/log").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int w = posix_spawn(&pid, argv[0], &akcje, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&akcje);
    if (w != 0)
      return false;
    for (int i = 0; i < 300 && port == 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      std::ifstream f(porty);
      std::string nazwa;
      int wartosc = 0;
      while (f >> nazwa >> wartosc)
        if (nazwa == "gg")
          port = std::uint16_t(wartosc);
    }
    return port != 0;
  }
  ~TSerwer()
  {
    if (pid > 0) {
      ::kill(pid, SIGTERM);
      int status = 0;
      ::waitpid(pid, &status, 0);
    }
    if (!katalog.empty()) [[maybe_unused]]
      const int w = std::system(("rm -rf '" + katalog + "'").c_str());
  }
};

void Obciazenie(benchmark::State &stan)
{
  const int klienci = ZeSrodowiska("PAPLANKI_KLIENCI", 10000);
  const int kontakty = ZeSrodowiska("PAPLANKI_KONTAKTY", 50);
  const int sekundy = ZeSrodowiska("PAPLANKI_SEKUNDY", 30);
  const int tempo = ZeSrodowiska("PAPLANKI_TEMPO", 100000);
  const bool przypnij = ZeSrodowiska("PAPLANKI_PRZYPNIJ", 0) == 1;
  for (auto _ : stan) {
    TSerwer serwer;
    if (!serwer.Uruchom(klienci)) {
      stan.SkipWithError("serwer nie wystartował");
      return;
    }
    if (przypnij && !(Przypnij(serwer.pid, 0) && Przypnij(0, 1))) {
      stan.SkipWithError("nie da się przypiąć do procesorów 0 i 1");
      return;
    }
    const long rssPusty = RssKiB(serwer.pid);
    TObciazenie o(klienci, kontakty);
    const auto start = Zegar::now();
    if (!o.Zaloguj(serwer.port, start + std::chrono::seconds(120))) {
      stan.SkipWithError(("zalogowano tylko " + std::to_string(o.Zalogowani())).c_str());
      return;
    }
    const double czasLogowania = std::chrono::duration<double>(Zegar::now() - start).count();
    // Let the notify lists settle before the memory is read.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const long rssZalogowani = RssKiB(serwer.pid);
    const double procesorPrzed = CzasProcesora(serwer.pid);
    const double systemPrzed = CzasProcesora(serwer.pid, true);
    const double generatorPrzed = WlasnyCzasProcesora();
    const double generatorSystemPrzed = WlasnyCzasProcesora(true);
    double obciazenie[1] = {0};
    getloadavg(obciazenie, 1);
    o.Wysylaj(tempo, sekundy);
    const double procesorSerwera = CzasProcesora(serwer.pid) - procesorPrzed;
    const double systemSerwera = CzasProcesora(serwer.pid, true) - systemPrzed;
    const double procesorGeneratora = WlasnyCzasProcesora() - generatorPrzed;
    const double systemGeneratora = WlasnyCzasProcesora(true) - generatorSystemPrzed;
    const long rssKoniec = RssKiB(serwer.pid);

    stan.counters["klienci"] = double(o.Zalogowani());
    stan.counters["logowania/s"] = double(klienci) / czasLogowania;
    stan.counters["wiadomosci/s"] = double(o.Doreczone()) / o.CzasWysylania();
    stan.counters["wyslane"] = double(o.Wyslane());
    stan.counters["doreczone"] = double(o.Doreczone());
    stan.counters["potwierdzone"] = double(o.Potwierdzone());
    stan.counters["p50_us"] = o.Opoznienie(0.50);
    stan.counters["p99_us"] = o.Opoznienie(0.99);
    stan.counters["rss_MiB"] = double(rssKoniec) / 1024.0;
    stan.counters["B/polaczenie"] = double(rssZalogowani - rssPusty) * 1024.0 / double(klienci);
    stan.counters["bledy"] = double(o.Bledy());
    // The server's CPU per routed message (delivery, report and their reads and writes).
    stan.counters["serwer_us/wiadomosc"] =
        o.Doreczone() ? procesorSerwera * 1e6 / double(o.Doreczone()) : 0;
    stan.counters["serwer_jadro_%"] =
        procesorSerwera > 0 ? 100 * systemSerwera / procesorSerwera : 0;
    // The load generator's CPU per routed message (sending, receiving and checking both
    // packets) on the same machine.
    stan.counters["generator_us/wiadomosc"] =
        o.Doreczone() ? procesorGeneratora * 1e6 / double(o.Doreczone()) : 0;
    stan.counters["generator_jadro_%"] =
        procesorGeneratora > 0 ? 100 * systemGeneratora / procesorGeneratora : 0;
    // Other work on the machine when the messages started: figures are only comparable at a
    // similar load.
    stan.counters["obciazenie_1min"] = obciazenie[0];
    stan.counters["przypiete"] = przypnij ? 1 : 0;
  }
}

// What the kernel alone charges for the segments a routed message needs: a routed message is
// three small segments over loopback TCP (the send to the server, the delivery, the report),
// each one send and one receive. Here the same sizes go over as many connected pairs as there
// are clients (or as the descriptor limit allows), with no server in between, so the figures are
// the floor under the server's and the generator's CPU per message. The sends of one round all go
// before the receives, so each is timed on its own.
void PodlogaJadra(benchmark::State &stan)
{
  // Both ends live in this process: as many pairs as clients if the descriptor limit allows.
  rlimit limit{};
  getrlimit(RLIMIT_NOFILE, &limit);
  const int Par = int(
      std::min<rlim_t>(rlim_t(ZeSrodowiska("PAPLANKI_KLIENCI", 10000)), (limit.rlim_cur - 64) / 2));
  constexpr std::size_t Pakiet = 8 + 12 + 17; // a send packet as the generator makes it
  const int sluchacz = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t dl = sizeof a;
  if (::bind(sluchacz, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 ||
      ::listen(sluchacz, Par) != 0 ||
      ::getsockname(sluchacz, reinterpret_cast<sockaddr *>(&a), &dl) != 0) {
    stan.SkipWithError("brak gniazda nasłuchu");
    ::close(sluchacz);
    return;
  }
  std::vector<std::pair<int, int>> pary;
  const int jeden = 1;
  for (int i = 0; i < Par; ++i) {
    const int k = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::connect(k, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
      ::close(k);
      break;
    }
    const int s = ::accept4(sluchacz, nullptr, nullptr, SOCK_CLOEXEC);
    setsockopt(k, IPPROTO_TCP, TCP_NODELAY, &jeden, sizeof jeden);
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &jeden, sizeof jeden);
    pary.emplace_back(k, s);
  }
  ::close(sluchacz);
  if (pary.size() != std::size_t(Par)) {
    for (auto [k, s] : pary) {
      ::close(k);
      ::close(s);
    }
    stan.SkipWithError("za mało połączeń");
    return;
  }
  char dane[Pakiet] = {};
  char bufor[4096];
  double naWyslanie = 0, naOdbior = 0;
  std::uint64_t segmentow = 0;
  bool blad = false;
  for (auto _ : stan) {
    const double t0 = WlasnyCzasProcesora();
    for (auto [k, s] : pary)
      blad |= ::send(k, dane, sizeof dane, MSG_NOSIGNAL) != ssize_t(sizeof dane);
    const double t1 = WlasnyCzasProcesora();
    for (auto [k, s] : pary)
      blad |= ::recv(s, bufor, sizeof bufor, 0) != ssize_t(sizeof dane);
    const double t2 = WlasnyCzasProcesora();
    naWyslanie += t1 - t0;
    naOdbior += t2 - t1;
    segmentow += pary.size();
  }
  // The accepted ends close first, so no client port is left waiting out TIME_WAIT for the
  // load that follows.
  for (auto [k, s] : pary) {
    ::close(s);
    ::close(k);
  }
  if (blad) {
    stan.SkipWithError("segment nie przeszedł w całości");
    return;
  }
  const double wyslanie = naWyslanie * 1e6 / double(segmentow);
  const double odbior = naOdbior * 1e6 / double(segmentow);
  stan.counters["wyslanie_us"] = wyslanie;
  stan.counters["odbior_us"] = odbior;
  // Three segments a message; the server makes one receive and two sends of them, the
  // generator one send and two receives.
  stan.counters["serwer_podloga_us/wiadomosc"] = odbior + 2 * wyslanie;
  stan.counters["generator_podloga_us/wiadomosc"] = wyslanie + 2 * odbior;
  stan.counters["razem_podloga_us/wiadomosc"] = 3 * (wyslanie + odbior);
  double obciazenie[1] = {0};
  getloadavg(obciazenie, 1);
  stan.counters["obciazenie_1min"] = obciazenie[0];
  stan.counters["pary"] = double(Par);
}

} // namespace

BENCHMARK(PodlogaJadra)->Iterations(300)->Unit(benchmark::kMillisecond);
BENCHMARK(Obciazenie)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

int main(int argc, char **argv)
{
  // Ten thousand sockets need more than the usual soft limit.
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) == 0) {
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
  }
  signal(SIGPIPE, SIG_IGN);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
