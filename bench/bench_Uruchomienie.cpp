// Start-up of an interactive run up to the first shown main window: the ten windows are created
// (four of them check the maker's site for a newer version) and the main window is shown.
// Also: start-up and closing with 10,000 stored contacts with full records (targets 150 ms and
// 100 ms), and, when run under bench/cichy-resolwer, start-up with the connection on and a
// resolver that never answers (target 0.3 s).

#include "common/Pomiary.h"
#include "common/SerwerPomiarowy.h"
#include "program/FrmPaplankiMain.h"
#include "program/OknaAplikacji.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QWindow>

#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

namespace {

// The maker's site on loopback: version 5.0.0.67 for ".wersja", a small page for the rest.
void Witryna(int fd, const std::atomic<bool> &)
{
  std::string zadanie;
  char bufor[4096];
  while (zadanie.find("\r\n\r\n") == std::string::npos) {
    const ssize_t n = ::recv(fd, bufor, sizeof bufor, 0);
    if (n <= 0)
      break;
    zadanie.append(bufor, std::size_t(n));
  }
  const std::string wiersz = zadanie.substr(0, zadanie.find("\r\n"));
  const bool wersja = wiersz.find(".wersja ") != std::string::npos;
  const std::string tresc = wersja ? std::string("\0\0\5\0\x43\0\0\0", 8) : "<html>licznik</html>";
  const std::string odpowiedz =
      "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(tresc.size()) + "\r\n\r\n" + tresc;
  ::send(fd, odpowiedz.data(), odpowiedz.size(), MSG_NOSIGNAL);
}

// Settings homes made by main: a stored account, no connection at start; the same with 10,000
// contacts; the account with the connection on and the GG network's own hosts.
QString g_dom, g_domKontakty, g_domPolaczony;

void UzyjDomu(const QString &dom)
{
  for (const char *zmienna : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
    qputenv(zmienna, dom.toUtf8());
}

void UstawWitryne(const std::string &witryna)
{
  if (witryna.empty()) {
    qunsetenv("PAPLANKI_WITRYNA");
    qunsetenv("PAPLANKI_LICZNIK");
    return;
  }
  qputenv("PAPLANKI_WITRYNA", QByteArray::fromStdString(witryna));
  qputenv("PAPLANKI_LICZNIK", QByteArray::fromStdString(witryna));
}

void CzekajNaPokazanie(TFrmPaplankiMain *glowne)
{
  glowne->show();
  while (!glowne->windowHandle() || !glowne->windowHandle()->isExposed())
    QCoreApplication::processEvents();
}

void Uruchomienie(benchmark::State &stan, const std::string &witryna, const QString &dom = g_dom)
{
  UstawWitryne(witryna);
  UzyjDomu(dom);
  for (auto _ : stan) {
    auto okna = std::make_unique<TOknaAplikacji>();
    CzekajNaPokazanie(okna->Glowne());
    stan.PauseTiming();
    okna.reset();
    QCoreApplication::processEvents();
    stan.ResumeTiming();
  }
}

void WitrynaNieistniejaca(benchmark::State &stan)
{
  // A name that does not resolve.
  Uruchomienie(stan, "http://www.kolbiny.invalid/");
}

void WitrynaNaLoopbacku(benchmark::State &stan)
{
  const TSerwerPomiarowy witryna(&Witryna);
  Uruchomienie(stan, "http://127.0.0.1:" + std::to_string(witryna.Port()) + "/");
}

void DziesiecTysiecyKontaktow(benchmark::State &stan)
{
  const TSerwerPomiarowy witryna(&Witryna);
  Uruchomienie(stan, "http://127.0.0.1:" + std::to_string(witryna.Port()) + "/", g_domKontakty);
}

// From the close of the shown main window until the windows are gone and the settings written.
void ZamykanieZDziesiecioTysiacamiKontaktow(benchmark::State &stan)
{
  const TSerwerPomiarowy witryna(&Witryna);
  UstawWitryne("http://127.0.0.1:" + std::to_string(witryna.Port()) + "/");
  UzyjDomu(g_domKontakty);
  for (auto _ : stan) {
    stan.PauseTiming();
    auto okna = std::make_unique<TOknaAplikacji>();
    CzekajNaPokazanie(okna->Glowne());
    stan.ResumeTiming();
    okna->Glowne()->close();
    okna.reset();
    QCoreApplication::processEvents();
  }
}

// The GG network's lookup host and the maker's site both wait on the resolver.
void CichyResolwer(benchmark::State &stan)
{
  Uruchomienie(stan, std::string(), g_domPolaczony);
}

void ZapiszKonto(const QString &dom, bool polaczony)
{
  QSettings ustawienia(dom + QStringLiteral("/Kolbiny/Paplanki (GG).conf"), QSettings::IniFormat);
  // Were the connection on with the alternative server, the lookup would go to this machine.
  ustawienia.setValue(QStringLiteral("Ustawienia/SerwerAlternatywny"),
                      polaczony ? QStringLiteral("0") : QStringLiteral("1"));
  ustawienia.setValue(QStringLiteral("Ustawienia/OstatniUzytkownik"), QStringLiteral("4321"));
  ustawienia.setValue(QStringLiteral("Ustawienia/OstatnieHasloUzytkownika"),
                      QStringLiteral("haslo"));
  ustawienia.setValue(QStringLiteral("Ustawienia/Przylaczaj"),
                      polaczony ? QStringLiteral("1") : QStringLiteral("0"));
  ustawienia.sync();
}

void ZapiszKontakty(const QString &dom, int ile)
{
  QSettings ustawienia(dom + QStringLiteral("/Kolbiny/Paplanki (GG).conf"), QSettings::IniFormat);
  for (int i = 0; i < ile; ++i) {
    const QString n = QString::number(1000000 + i);
    const QString s = QStringLiteral("Sledzeni/") + n + u'/';
    ustawienia.setValue(s + QStringLiteral("Imie"), QStringLiteral("Imię ") + n);
    ustawienia.setValue(s + QStringLiteral("Nazwisko"), QStringLiteral("Nazwisko ") + n);
    ustawienia.setValue(s + QStringLiteral("EMail"), n + QStringLiteral("@poczta.example"));
    ustawienia.setValue(s + QStringLiteral("Telefon"), QStringLiteral("+48 600 000 000"));
    ustawienia.setValue(s + QStringLiteral("Opis"), QStringLiteral("Kontakt ") + n);
    ustawienia.setValue(s + QStringLiteral("Sledzony"), QStringLiteral("3"));
  }
  ustawienia.sync();
}

} // namespace

BENCHMARK(WitrynaNieistniejaca)->Unit(benchmark::kMillisecond);
BENCHMARK(WitrynaNaLoopbacku)->Unit(benchmark::kMillisecond);
BENCHMARK(DziesiecTysiecyKontaktow)->Unit(benchmark::kMillisecond);
BENCHMARK(ZamykanieZDziesiecioTysiacamiKontaktow)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
  // Fresh homes: the run leaves nothing in the user's settings.
  QTemporaryDir dom, domKontakty, domPolaczony;
  g_dom = dom.path();
  g_domKontakty = domKontakty.path();
  g_domPolaczony = domPolaczony.path();
  // A stored account: no first-run account dialog holds the first show.
  ZapiszKonto(g_dom, false);
  ZapiszKonto(g_domKontakty, false);
  ZapiszKontakty(g_domKontakty, 10000);
  ZapiszKonto(g_domPolaczony, true);
  UzyjDomu(g_dom);
  if (qEnvironmentVariable("PAPLANKI_CICHY_RESOLWER") == QLatin1String("1"))
    benchmark::RegisterBenchmark("CichyResolwer", &CichyResolwer)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // The offscreen platform's remarks about window hints would drown the table.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
  QApplication aplikacja(argc, argv);
  return UruchomPomiary(argc, argv);
}
