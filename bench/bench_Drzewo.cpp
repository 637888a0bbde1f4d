// The conversation tree at a size no user reaches: 10,000 contacts with 20 messages each, built
// through the tree with the view adapter attached and a listener on the adapter's signals (what
// a view would be told). Targets: the build under 2 s, ZnajdzUzytkownika of the last contact
// under 50 us, under 1 KiB per node.

#include "common/Pomiary.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "contacts/ModelDrzewa.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>
#include <malloc.h>

namespace {

constexpr int kKontakty = 10000;
constexpr int kWiadomosci = 20;
constexpr int kPierwszyNumer = 1000000;

// Counts what the adapter announces, as a view's slots would receive it.
struct TSluchacz {
  qint64 wstawione = 0;
  qint64 zmiany = 0;
  explicit TSluchacz(TModelDrzewa &m)
  {
    QObject::connect(&m, &QAbstractItemModel::rowsInserted,
                     [this](const QModelIndex &, int a, int b) { wstawione += b - a + 1; });
    QObject::connect(&m, &QAbstractItemModel::dataChanged,
                     [this](const QModelIndex &, const QModelIndex &) { ++zmiany; });
  }
};

void Zbuduj(TDrzewo &d)
{
  for (int k = 0; k < kKontakty; ++k) {
    const int numer = kPierwszyNumer + k;
    const QString n = QString::number(numer);
    TWezel *kontakt =
        d.DodajUzytkownika(numer, QStringLiteral("Imię ") + n, QStringLiteral("Nazwisko ") + n,
                           n + QStringLiteral("@poczta.example"), QStringLiteral("+48 600 000 000"),
                           QStringLiteral("Kontakt ") + n, 3);
    d.ZastosujStan(kontakt, 2);
    for (int i = 0; i < kWiadomosci; ++i) {
      const QString tekst =
          QStringLiteral("Wiadomość %1 dla %2, zwykłej długości").arg(i).arg(n);
      TWezel *w = d.Dodaj(kontakt, tekst);
      w->UstawDane(std::make_shared<TWypowiedz>(
          nullptr, std::make_unique<TDaneDodatkowe>(2, numer, 1700000000 + i, i, QDateTime()),
          tekst));
      w->UstawObrazStanu(2);
    }
  }
}

size_t ZajetaPamiec()
{
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

void BM_BudowaDrzewa(benchmark::State &state)
{
  qint64 wstawione = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto d = std::make_unique<TDrzewo>();
    auto m = std::make_unique<TModelDrzewa>(*d);
    auto s = std::make_unique<TSluchacz>(*m);
    state.ResumeTiming();
    Zbuduj(*d);
    state.PauseTiming();
    wstawione = s->wstawione;
    s.reset();
    m.reset();
    d.reset();
    state.ResumeTiming();
  }
  state.counters["wezly"] = double(wstawione);
}
BENCHMARK(BM_BudowaDrzewa)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ZnajdzOstatniegoUzytkownika(benchmark::State &state)
{
  TDrzewo d;
  TModelDrzewa m(d);
  Zbuduj(d);
  const int ostatni = kPierwszyNumer + kKontakty - 1;
  for (auto _ : state)
    benchmark::DoNotOptimize(d.ZnajdzUzytkownika(ostatni));
  if (d.ZnajdzUzytkownika(ostatni) != d.Glowny(kKontakty - 1))
    state.SkipWithError("the last contact was not found");
}
BENCHMARK(BM_ZnajdzOstatniegoUzytkownika)->Unit(benchmark::kMicrosecond);

void BM_PamiecNaWezel(benchmark::State &state)
{
  double naWezel = 0;
  for (auto _ : state) {
    malloc_trim(0);
    const size_t przed = ZajetaPamiec();
    auto d = std::make_unique<TDrzewo>();
    auto m = std::make_unique<TModelDrzewa>(*d);
    Zbuduj(*d);
    const size_t po = ZajetaPamiec();
    const int wezly = d->LiczbaWezlow();
    naWezel = double(po - przed) / wezly;
    m.reset();
    d.reset();
  }
  state.counters["bajty_na_wezel"] = naWezel;
}
BENCHMARK(BM_PamiecNaWezel)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
  QCoreApplication aplikacja(argc, argv);
  return UruchomPomiary(argc, argv);
}
