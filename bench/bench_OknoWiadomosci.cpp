// Received messages into the real main window, shown offscreen: the session's packet handler,
// the dispatcher, the tree, its view adapter and the tree view that opens each new line's
// contact and scrolls to it. 20,000 messages from 1,000 contacts, handed over as one data event
// would, then the event loop until the view has caught up. The argument is the number of
// messages already in the tree: the rate must not fall as the tree grows.

#include "app/StrefaCzasowa.h"
#include "common/Pomiary.h"
#include "contacts/Galezie.h"
#include "gg/Liczby.h"
#include "gg/Pakiety.h"
#include "gg/Sesja.h"
#include "program/FrmPaplankiMain.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

constexpr int kKontakty = 1000;
constexpr int kPierwszyNumer = 1000000;
constexpr int kWiadomosci = 20000;

// The real window; the sound alone is left out.
class TOknoPomiaru : public TFrmPaplankiMain {
public:
  void DzwiekNowejWiadomosci() override {}
};

QList<QByteArray> Ciala()
{
  QList<QByteArray> ciala;
  quint32 los = 7;
  for (int i = 0; i < kWiadomosci; ++i) {
    los = los * 1103515245u + 12345u;
    QByteArray tekst =
        "Cze\x9C\xE6, co s\xB3ycha\xE6? Wiadomo\x9C\xE6 numer " + QByteArray::number(i);
    if (i % 10 == 0)
      tekst += "\r\ndruga linia";
    ciala << IntToLE(kPierwszyNumer + int(los >> 8) % kKontakty) + IntToLE(i) +
                 IntToLE(qint32(1700000000 + i)) + IntToLE(0x08) + tekst + '\0';
  }
  return ciala;
}

void BM_WiadomosciWOknie(benchmark::State &state)
{
  const QList<QByteArray> ciala = Ciala();
  for (auto _ : state) {
    state.PauseTiming();
    auto okno = std::make_unique<TOknoPomiaru>();
    TDrzewo &d = okno->Drzewo;
    for (int k = 0; k < kKontakty; ++k)
      d.DodajUzytkownika(kPierwszyNumer + k, QString(), QString(), QString(), QString(),
                         QStringLiteral("Kontakt %1").arg(k), 3);
    for (int i = 0; i < state.range(0); ++i) {
      TWezel *w = d.Dodaj(d.Glowny(i % kKontakty), QStringLiteral("dawna"));
      w->UstawDane(std::make_shared<TWypowiedz>(
          nullptr, std::make_unique<TDaneDodatkowe>(2, kPierwszyNumer, 0, -1 - i, QDateTime()),
          QStringLiteral("dawna")));
    }
    okno->show();
    while (!okno->windowHandle() || !okno->windowHandle()->isExposed())
      QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    state.ResumeTiming();

    const auto start = std::chrono::steady_clock::now();
    for (const QByteArray &cialo : ciala)
      okno->Sesja().ObsluzPakiet(GGAnsRecvMsg, qint32(cialo.size()), cialo);
    QCoreApplication::processEvents();
    okno->repaint();
    const double sekundy =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    state.PauseTiming();
    state.counters["wiadomosci/s"] = kWiadomosci / sekundy;
    state.counters["wezly"] = d.LiczbaWezlow();
    okno.reset();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_WiadomosciWOknie)
    ->Arg(0)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
  // As the program starts.
  UstalStrefeCzasowa();
  // A fresh home that starts offline and checks no site; the run leaves nothing behind.
  QTemporaryDir dom;
  for (const char *zmienna : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
    qputenv(zmienna, dom.path().toUtf8());
  qputenv("PAPLANKI_WITRYNA", "http://127.0.0.1:1/");
  qputenv("PAPLANKI_LICZNIK", "http://127.0.0.1:1/");
  {
    // An account, so that the first show asks nothing.
    QSettings s(dom.path() + QStringLiteral("/Kolbiny/Paplanki (GG).conf"), QSettings::IniFormat);
    s.setValue(QStringLiteral("Ustawienia/Przylaczaj"), QStringLiteral("0"));
    s.setValue(QStringLiteral("Ustawienia/OstatniUzytkownik"), QStringLiteral("4321"));
    s.setValue(QStringLiteral("Ustawienia/OstatnieHasloUzytkownika"), QStringLiteral("x"));
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
  QApplication aplikacja(argc, argv);
  return UruchomPomiary(argc, argv);
}
