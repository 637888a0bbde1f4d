// Start-up of an interactive run up to the first shown main window: the ten windows are created
// (four of them check the maker's site for a newer version) and the main window is shown.

#include "common/Pomiary.h"
#include "common/SerwerPomiarowy.h"
#include "app/ui/OknaAplikacji.h"
#include "contacts/ui/FrmPaplankiMain.h"

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
  const std::string odpowiedz = "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(tresc.size()) +
                                "\r\n\r\n" + tresc;
  ::send(fd, odpowiedz.data(), odpowiedz.size(), MSG_NOSIGNAL);
}

void Uruchomienie(benchmark::State &stan, const std::string &witryna)
{
  qputenv("PAPLANKI_WITRYNA", QByteArray::fromStdString(witryna));
  qputenv("PAPLANKI_LICZNIK", QByteArray::fromStdString(witryna));
  for (auto _ : stan) {
    auto okna = std::make_unique<TOknaAplikacji>();
    TFrmPaplankiMain *glowne = okna->Glowne();
    glowne->show();
    while (!glowne->windowHandle() || !glowne->windowHandle()->isExposed())
      QCoreApplication::processEvents();
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

} // namespace

BENCHMARK(WitrynaNieistniejaca)->Unit(benchmark::kMillisecond);
BENCHMARK(WitrynaNaLoopbacku)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
  // A fresh home: the run leaves nothing in the user's settings.
  QTemporaryDir dom;
  for (const char *zmienna : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
    qputenv(zmienna, dom.path().toUtf8());
  // A stored account (no first-run account dialog holding the first show) and no connection at
  // start; were it on, the lookup would go to this machine, not to the GG network.
  QSettings ustawienia(dom.path() + QStringLiteral("/Kolbiny/Paplanki (GG).conf"), QSettings::IniFormat);
  ustawienia.setValue(QStringLiteral("Ustawienia/SerwerAlternatywny"), QStringLiteral("1"));
  ustawienia.setValue(QStringLiteral("Ustawienia/OstatniUzytkownik"), QStringLiteral("4321"));
  ustawienia.setValue(QStringLiteral("Ustawienia/OstatnieHasloUzytkownika"), QStringLiteral("haslo"));
  ustawienia.setValue(QStringLiteral("Ustawienia/Przylaczaj"), QStringLiteral("0"));
  ustawienia.sync();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // The offscreen platform's remarks about window hints would drown the table.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
  QApplication aplikacja(argc, argv);
  return UruchomPomiary(argc, argv);
}
