// Received packets through the real socket on loopback into the tree, as the main window takes
// them: the reassembly, the dispatcher, the tree with its view adapter attached.
//  - 100,000 messages from 1,000 contacts (target: at least 20,000 messages/s);
//  - 100,000 status notifications (target: at least 100,000/s);
//  - 100,000 delivery reports for 100,000 sent messages.
// The argument is the number of messages already in the tree before the burst: the rates must
// not fall as the tree grows.

#include "common/Pomiary.h"
#include "common/SerwerPomiarowy.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "contacts/ModelDrzewa.h"
#include "contacts/Ustawienia.h"
#include "gg/Liczby.h"
#include "gg/Odbior.h"
#include "gg/OdbiorPakietow.h"
#include "gg/Pakiety.h"
#include "net/Gniazdo.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace {

constexpr int kKontakty = 1000;
constexpr int kPierwszyNumer = 1000000;
constexpr int kPakiety = 100000;

// The window as far as the dispatcher needs it; the user is at the keyboard (no sounds).
class TOknoPomiaru : public TOknoSesji {
public:
  void UstawTekstPanelu(int, const QString &) override {}
  int PokazKomunikat(const QString &, const QString &, int) override { return 1; }
  bool PolaczWcisniety() const override { return true; }
  void Display(const QString &) override {}
  void PokazInformacje(const QString &) override {}
  void PrzywolajOkno() override {}
  void UczynWidocznym(TWezel *) override {}
  bool IdleTmrDziala() const override { return true; }
};

// One connection's worth of bytes sent from the server's thread, then held open until the
// client closes.
TSerwerPomiarowy::TObsluga Nadawanie(const QByteArray &dane)
{
  return [dane](int k, const std::atomic<bool> &koniec) {
    qsizetype wyslano = 0;
    while (wyslano < dane.size() && !koniec) {
      const ssize_t n =
          ::send(k, dane.constData() + wyslano, size_t(dane.size() - wyslano), MSG_NOSIGNAL);
      if (n <= 0)
        break;
      wyslano += n;
    }
    char bufor[256];
    pollfd q{k, POLLIN, 0};
    while (!koniec) {
      if (::poll(&q, 1, 50) > 0 && ::recv(k, bufor, sizeof bufor, 0) <= 0)
        break;
    }
  };
}

// Tree, view adapter, settings and dispatcher of one run, with `wiadomosci` messages already
// spread over the contacts.
struct TStanowisko {
  explicit TStanowisko(int wiadomosci)
      : rejestr(katalog.filePath(QStringLiteral("p.conf")), QSettings::IniFormat),
        ustawienia(rejestr, katalog.path()), model(drzewo),
        odbior(drzewo, ustawienia, okno, [](const QString &, const QString &) {})
  {
    for (int k = 0; k < kKontakty; ++k) {
      const int numer = kPierwszyNumer + k;
      drzewo.DodajUzytkownika(numer, QStringLiteral("Imię"), QStringLiteral("Nazwisko"), QString(),
                              QString(), QStringLiteral("Kontakt %1").arg(numer), 3);
    }
    for (int i = 0; i < wiadomosci; ++i) {
      TWezel *w = drzewo.Dodaj(drzewo.Glowny(i % kKontakty), QStringLiteral("dawna"));
      w->UstawDane(std::make_shared<TWypowiedz>(
          nullptr, std::make_unique<TDaneDodatkowe>(2, kPierwszyNumer, 0, -1 - i, QDateTime()),
          QStringLiteral("dawna")));
    }
  }

  QTemporaryDir katalog;
  QSettings rejestr;
  TUstawienia ustawienia;
  TDrzewo drzewo;
  TModelDrzewa model;
  TOknoPomiaru okno;
  TOdbior odbior;
};

// Sends the stream over loopback and dispatches it; returns the packets dispatched.
int Dostarcz(TOdbior &odbior, const QByteArray &strumien, int oczekiwane)
{
  TSerwerPomiarowy nadajnik(Nadawanie(strumien));
  TOdbiorPakietow odbiorPakietow;
  QEventLoop petla;
  int dostarczone = 0;
  odbiorPakietow.UstawDyspozytor([&](qint32 typ, qint32 dlugosc, const QByteArray &cialo) {
    odbior.Obsluz(typ, dlugosc, cialo);
    if (++dostarczone == oczekiwane)
      petla.quit();
  });
  TGniazdo gniazdo;
  gniazdo.OnDataAvailable = [&](TGniazdo *g, quint16) {
    char bufor[10000];
    odbiorPakietow.Odebrano(bufor, g->Receive(bufor, sizeof bufor));
  };
  gniazdo.OnSessionClosed = [&](TGniazdo *, quint16) { petla.quit(); };
  gniazdo.SetAddr(QStringLiteral("127.0.0.1"));
  gniazdo.SetPort(QString::number(nadajnik.Port()));
  gniazdo.Connect();
  QTimer::singleShot(120000, &petla, &QEventLoop::quit);
  petla.exec();
  return dostarczone;
}

QByteArray StrumienWiadomosci()
{
  QByteArray s;
  quint32 los = 7;
  for (int i = 0; i < kPakiety; ++i) {
    los = los * 1103515245u + 12345u;
    QByteArray tekst =
        "Cze\x9C\xE6, co s\xB3ycha\xE6? Wiadomo\x9C\xE6 numer " + QByteArray::number(i);
    if (i % 10 == 0)
      tekst += "\r\ndruga linia";
    const QByteArray cialo = IntToLE(kPierwszyNumer + int(los >> 8) % kKontakty) + IntToLE(i) +
                             IntToLE(qint32(1700000000 + i)) + IntToLE(0x08) + tekst + '\0';
    s += ZbudujRamke(GGAnsRecvMsg, cialo);
  }
  return s;
}

QByteArray StrumienStanow()
{
  QByteArray s;
  static const quint8 stany[] = {2, 3, 4, 5, 1, 21, 20, 22};
  for (int i = 0; i < kPakiety; ++i) {
    const quint8 stan = stany[i % 8];
    QByteArray cialo =
        IntToLE(kPierwszyNumer + (i * 7) % kKontakty) + char(stan) + QByteArray(9, '\0');
    if (stan == 4 || stan == 5 || stan == 21 || stan == 22)
      cialo += "jestem w pracy " + QByteArray::number(i % 100);
    s += ZbudujRamke(GGAnsStatus60, cialo);
  }
  return s;
}

size_t ZajetaPamiec()
{
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

void Raportuj(benchmark::State &state, double sekundy, int dostarczone, size_t bajty,
              const char *miara)
{
  if (dostarczone != kPakiety)
    state.SkipWithError("not every packet was dispatched");
  state.counters[miara] = dostarczone / sekundy;
  state.counters["bajty_na_pakiet"] = double(bajty) / kPakiety;
  state.counters["MiB"] = double(bajty) / (1024.0 * 1024.0);
}

// One burst per iteration into a fresh tree; `przygotuj` adds what the burst needs, untimed.
// With `pamiec` the memory the burst leaves behind is reported per packet.
void Zmierz(benchmark::State &state, const QByteArray &strumien, const char *miara, bool pamiec,
            const std::function<void(TStanowisko &)> &przygotuj = {})
{
  for (auto _ : state) {
    state.PauseTiming();
    auto s = std::make_unique<TStanowisko>(int(state.range(0)));
    if (przygotuj)
      przygotuj(*s);
    malloc_trim(0);
    const size_t przed = ZajetaPamiec();
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    const int dostarczone = Dostarcz(s->odbior, strumien, kPakiety);
    const double sekundy =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.PauseTiming();
    Raportuj(state, sekundy, dostarczone, pamiec ? ZajetaPamiec() - przed : 0, miara);
    state.counters["wezly"] = s->drzewo.LiczbaWezlow();
    s.reset();
    state.ResumeTiming();
  }
}

void BM_Wiadomosci(benchmark::State &state)
{
  Zmierz(state, StrumienWiadomosci(), "wiadomosci/s", true);
}
BENCHMARK(BM_Wiadomosci)
    ->Arg(0)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

void BM_Stany(benchmark::State &state)
{
  Zmierz(state, StrumienStanow(), "stany/s", true);
}
BENCHMARK(BM_Stany)
    ->Arg(0)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

void BM_Potwierdzenia(benchmark::State &state)
{
  QByteArray strumien;
  for (int i = 0; i < kPakiety; ++i)
    strumien += ZbudujRamke(GGAnsSendMsgAck, IntToLE(2) + IntToLE(kPierwszyNumer) +
                                                 IntToLE(1000000 + (i * 7919) % kPakiety));
  // The messages being acknowledged, written by the user.
  Zmierz(state, strumien, "potwierdzenia/s", false, [](TStanowisko &s) {
    for (int i = 0; i < kPakiety; ++i) {
      TWezel *w = s.drzewo.Dodaj(s.drzewo.Glowny(i % kKontakty), QStringLiteral("napisana"));
      w->UstawDane(std::make_shared<TWypowiedz>(
          nullptr,
          std::make_unique<TDaneDodatkowe>(-1, kPierwszyNumer, 0, 1000000 + i, QDateTime()),
          QStringLiteral("napisana")));
      w->UstawObrazStanu(10);
    }
  });
}
BENCHMARK(BM_Potwierdzenia)
    ->Arg(0)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
  QCoreApplication aplikacja(argc, argv);
  return UruchomPomiary(argc, argv);
}
