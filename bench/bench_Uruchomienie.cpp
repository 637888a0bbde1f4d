// Start-up of an interactive run up to the first shown main window: the ten windows are created
// (four of them check the maker's site for a newer version) and the main window is shown.

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
class TWitryna {
public:
  TWitryna()
  {
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in adres{};
    adres.sin_family = AF_INET;
    adres.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(m_fd, reinterpret_cast<sockaddr *>(&adres), sizeof adres);
    ::listen(m_fd, 16);
    socklen_t dlugosc = sizeof adres;
    ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&adres), &dlugosc);
    m_port = ntohs(adres.sin_port);
    m_watek = std::thread([this] { Obsluguj(); });
  }
  ~TWitryna()
  {
    m_koniec = true;
    m_watek.join();
    ::close(m_fd);
  }
  std::string Adres() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/"; }

private:
  void Obsluguj()
  {
    while (!m_koniec) {
      pollfd p{m_fd, POLLIN, 0};
      if (::poll(&p, 1, 20) <= 0)
        continue;
      const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0)
        continue;
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
      ::close(fd);
    }
  }

  int m_fd = -1;
  quint16 m_port = 0;
  std::atomic<bool> m_koniec{false};
  std::thread m_watek;
};

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
  const TWitryna witryna;
  Uruchomienie(stan, witryna.Adres());
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
  // The GG server lookup at start goes to this machine, not to the GG network.
  QSettings(dom.path() + QStringLiteral("/Kolbiny/Paplanki (GG).conf"), QSettings::IniFormat)
      .setValue(QStringLiteral("Ustawienia/SerwerAlternatywny"), QStringLiteral("1"));
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // The offscreen platform's remarks about window hints would drown the table.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
  QApplication aplikacja(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
