// From Polacz to "Połączony z serwerem" against a lookup host and a GG server on loopback, and
// the cost of a very long notify list.

#include "common/Pomiary.h"
#include "common/SerwerPomiarowy.h"
#include "contacts/Drzewo.h"
#include "contacts/ListaTekstow.h"
#include "contacts/Sledzeni.h"
#include "contacts/Ustawienia.h"
#include "gg/Dziennik.h"
#include "gg/Liczby.h"
#include "gg/OknoSesji.h"
#include "gg/Pakiety.h"
#include "gg/Sesja.h"
#include "gg/SesjaPakiety.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace {

// Reads until `znacznik` has come (true) or the peer has gone (false); `bufor` keeps the rest.
bool CzytajDo(int fd, QByteArray &bufor, const QByteArray &znacznik,
              const std::atomic<bool> &koniec)
{
  while (!koniec) {
    if (bufor.contains(znacznik))
      return true;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 20) <= 0)
      continue;
    char kawalek[65536];
    const ssize_t ile = ::recv(fd, kawalek, sizeof kawalek, 0);
    if (ile <= 0)
      return false;
    bufor.append(kawalek, ile);
  }
  return false;
}

bool CzytajBajty(int fd, QByteArray &bufor, qsizetype ile, const std::atomic<bool> &koniec)
{
  while (!koniec && bufor.size() < ile) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 20) <= 0)
      continue;
    char kawalek[65536];
    const ssize_t n = ::recv(fd, kawalek, sizeof kawalek, 0);
    if (n <= 0)
      return false;
    bufor.append(kawalek, n);
  }
  return bufor.size() >= ile;
}

void Pisz(int fd, const QByteArray &dane)
{
  ::send(fd, dane.constData(), size_t(dane.size()), MSG_NOSIGNAL);
}

// Everything until the client closes.
void Odrzucaj(int fd, const std::atomic<bool> &koniec)
{
  while (!koniec) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 20) <= 0)
      continue;
    char kawalek[65536];
    if (::recv(fd, kawalek, sizeof kawalek, 0) <= 0)
      return;
  }
}

void SerwerGG(int fd, const std::atomic<bool> &koniec)
{
  Pisz(fd, ZbudujRamke(GGAnsWelcome, IntToLE(0x1234ABCD)));
  QByteArray bufor;
  if (!CzytajBajty(fd, bufor, DlugoscNaglowka + 31, koniec))
    return;
  Pisz(fd, ZbudujRamke(GGAnsLoginOk, QByteArray()));
  Odrzucaj(fd, koniec);
}

class TOknoPomiarowe : public TOknoSesji {
public:
  std::function<void(const QString &)> przyPanelu2;
  void UstawTekstPanelu(int panel, const QString &tekst) override
  {
    if (panel == PanelPolaczenia && przyPanelu2)
      przyPanelu2(tekst);
  }
  int PokazKomunikat(const QString &, const QString &, int) override { return 1; }
  bool PolaczWcisniety() const override { return true; }
};

class TBazaPomiarowa : public TSledzeni {
public:
  void Dodaj(int, const QString &, const QString &, const QString &, const QString &,
             const QString &) override
  {
  }
  void Zapisz(int, int, const QString &, const QString &, const QString &, const QString &,
              const QString &) override
  {
  }
};

// A whole session with `kontaktow` contacts, its servers on loopback.
struct TStanowisko {
  QTemporaryDir katalog;
  QSettings rejestr{katalog.filePath(QStringLiteral("p.conf")), QSettings::IniFormat};
  std::unique_ptr<TUstawienia> ustawienia;
  TDrzewo drzewo;
  TDziennik dziennik{katalog.filePath(QStringLiteral("p.log")), [] { return false; }};
  TOknoPomiarowe okno;
  TBazaPomiarowa baza;
  TSerwerPomiarowy gg{&SerwerGG};
  std::unique_ptr<TSerwerPomiarowy> wyszukiwanie;
  std::unique_ptr<TSesjaGG> sesja;

  explicit TStanowisko(int kontaktow)
  {
    rejestr.setValue(QStringLiteral("Ustawienia/SerwerAlternatywny"), QStringLiteral("1"));
    ustawienia = std::make_unique<TUstawienia>(rejestr, katalog.path());
    ustawienia->WczytajListy();
    for (int i = 0; i < kontaktow; ++i)
      drzewo.DodajUzytkownika(100000 + i, {}, {}, {}, {}, QString::number(i), 3);
    const QByteArray odpowiedz =
        "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n0 0 127.0.0.1:" +
        QByteArray::number(gg.Port()) + " 127.0.0.1\r\n";
    wyszukiwanie =
        std::make_unique<TSerwerPomiarowy>([odpowiedz](int fd, const std::atomic<bool> &koniec) {
          QByteArray bufor;
          if (!CzytajDo(fd, bufor, "\r\n\r\n", koniec))
            return;
          Pisz(fd, odpowiedz);
          Odrzucaj(fd, koniec);
        });
    sesja =
        std::make_unique<TSesjaGG>(drzewo, *ustawienia, dziennik, okno, [this] { return &baza; });
    sesja->UstawPortHttp(QString::number(wyszukiwanie->Port()));
  }

  // Polacz and the event loop until "Połączony z serwerem"; false after 5 s without it.
  bool Polacz()
  {
    QEventLoop petla;
    bool polaczono = false;
    okno.przyPanelu2 = [&](const QString &tekst) {
      if (tekst == QStringLiteral("Połączony z serwerem")) {
        polaczono = true;
        petla.quit();
      }
    };
    QTimer::singleShot(5000, &petla, &QEventLoop::quit);
    sesja->Polacz();
    if (!polaczono)
      petla.exec();
    okno.przyPanelu2 = nullptr;
    return polaczono;
  }

  void Rozlacz()
  {
    sesja->PrzerwijPolaczenie();
    sesja->WstrzymajLaczenie();
  }

  // Lets the socket hand its queue to the network.
  void Oproznij()
  {
    QElapsedTimer limit;
    limit.start();
    while (sesja->BajtyDoWyslania() > 0 && limit.elapsed() < 5000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
};

double Sekundy(std::chrono::steady_clock::time_point od, std::chrono::steady_clock::time_point do_)
{
  return std::chrono::duration<double>(do_ - od).count();
}

void BM_PolaczDoZalogowania(benchmark::State &state)
{
  TStanowisko s(int(state.range(0)));
  for (auto _ : state) {
    const auto poczatek = std::chrono::steady_clock::now();
    const bool ok = s.Polacz();
    const auto koniec = std::chrono::steady_clock::now();
    if (!ok) {
      state.SkipWithError("no login within 5 s");
      break;
    }
    state.SetIterationTime(Sekundy(poczatek, koniec));
    s.Rozlacz();
  }
}
BENCHMARK(BM_PolaczDoZalogowania)
    ->Arg(2000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50);

// Building the packets alone.
void BM_BudowaListyKontaktow(benchmark::State &state)
{
  TDrzewo drzewo;
  for (int i = 0; i < state.range(0); ++i)
    drzewo.DodajUzytkownika(100000 + i, {}, {}, {}, {}, QString::number(i), 3);
  TListaPosortowana blokowani;
  for (const QString &n : TUstawienia::WbudowaneBlokowane())
    blokowani.Dodaj(n);
  qint64 bajty = 0;
  int pakiety = 0;
  for (auto _ : state) {
    ZbudujListeKontaktow(drzewo, blokowani, [&](qint32, const QByteArray &cialo) {
      bajty += cialo.size();
      ++pakiety;
    });
  }
  state.counters["pakiety"] = double(pakiety) / double(state.iterations());
  state.SetBytesProcessed(bajty);
}
BENCHMARK(BM_BudowaListyKontaktow)->Arg(100000)->Unit(benchmark::kMillisecond);

// WyslijListeKontaktow of a logged-in session: building plus handing every frame to the socket.
void BM_WysylanieListyKontaktow(benchmark::State &state)
{
  TStanowisko s(int(state.range(0)));
  if (!s.Polacz()) {
    state.SkipWithError("no login within 5 s");
    return;
  }
  s.Oproznij();
  for (auto _ : state) {
    const auto poczatek = std::chrono::steady_clock::now();
    s.sesja->WyslijListeKontaktow();
    const auto koniec = std::chrono::steady_clock::now();
    state.SetIterationTime(Sekundy(poczatek, koniec));
    s.Oproznij();
  }
  s.Rozlacz();
}
BENCHMARK(BM_WysylanieListyKontaktow)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

} // namespace

int main(int argc, char **argv)
{
  QCoreApplication aplikacja(argc, argv);
  return UruchomPomiary(argc, argv);
}
