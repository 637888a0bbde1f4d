// The conversation tree at a size no user reaches: 10,000 contacts with 20 messages each, built
// through the tree with the view adapter attached and a listener on the adapter's signals (what
// a view would be told). Targets: the build under 2 s, ZnajdzUzytkownika of the last contact
// under 50 us, under 1 KiB per node. Beside it, trees built to be large where size must not
// matter: Space with nothing unread at a million nodes, and the deepest node of a 100,000-deep
// answer chain; under 10 us each.

#include "common/Pomiary.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "contacts/ModelDrzewa.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>

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
      const QString tekst = QStringLiteral("Wiadomość %1 dla %2, zwykłej długości").arg(i).arg(n);
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

constexpr int kMilion = 1000000;
constexpr int kGlebokosc = 100000;

// 10,000 contacts with 99 answers each, none of them bold.
std::unique_ptr<TDrzewo> MilionWezlow()
{
  auto d = std::make_unique<TDrzewo>();
  for (int k = 0; k < kMilion / 100; ++k) {
    TWezel *kontakt = d->DodajUzytkownika(kPierwszyNumer + k, QString(), QString(), QString(),
                                          QString(), QStringLiteral("k"), 3);
    for (int i = 0; i < 99; ++i)
      d->Dodaj(kontakt);
  }
  return d;
}

// Space from the first node and the unread check on closing: the next bold node of the tree.
void BM_SpacjaBezNieprzeczytanych(benchmark::State &state)
{
  const auto d = MilionWezlow();
  for (auto _ : state)
    benchmark::DoNotOptimize(d->ZnajdzPogrubionyPo(d->Pierwszy()));
  state.counters["wezly"] = double(d->LiczbaWezlow());
}
BENCHMARK(BM_SpacjaBezNieprzeczytanych)->Unit(benchmark::kMicrosecond);

// A contact whose conversation is one chain of answers, each under the previous one.
struct TLancuch {
  TDrzewo drzewo;
  TWezel *najglebszy = nullptr;
  TLancuch()
  {
    najglebszy = drzewo.DodajUzytkownika(kPierwszyNumer, QString(), QString(), QString(), QString(),
                                         QStringLiteral("k"), 3);
    for (int i = 0; i < kGlebokosc; ++i) {
      najglebszy = drzewo.Dodaj(najglebszy, QStringLiteral("odpowiedź"));
      najglebszy->UstawDane(std::make_shared<TWypowiedz>(
          nullptr, std::make_unique<TDaneDodatkowe>(2, kPierwszyNumer, 1700000000, i, QDateTime()),
          QStringLiteral("odpowiedź")));
    }
  }
};

// Whose conversation the deepest answer belongs to (every received message and every reply asks).
void BM_UzytkownikNajglebszejOdpowiedzi(benchmark::State &state)
{
  TLancuch l;
  for (auto _ : state)
    benchmark::DoNotOptimize(TDrzewo::UzytkownikWezla(l.najglebszy));
  if (!TDrzewo::UzytkownikWezla(l.najglebszy))
    state.SkipWithError("the contact was not found");
}
BENCHMARK(BM_UzytkownikNajglebszejOdpowiedzi)->Unit(benchmark::kMicrosecond);

// Space pressed on the deepest answer, with nothing unread.
void BM_SpacjaZNajglebszejOdpowiedzi(benchmark::State &state)
{
  TLancuch l;
  for (auto _ : state)
    benchmark::DoNotOptimize(l.drzewo.ZnajdzPogrubionyPo(l.najglebszy));
}
BENCHMARK(BM_SpacjaZNajglebszejOdpowiedzi)->Unit(benchmark::kMicrosecond);

// A new answer under the deepest one, its contact looked up, the answer removed again.
void BM_OdpowiedzNaNajglebsza(benchmark::State &state)
{
  TLancuch l;
  for (auto _ : state) {
    TWezel *nowa = l.drzewo.Dodaj(l.najglebszy, QStringLiteral("nowa"));
    benchmark::DoNotOptimize(TDrzewo::UzytkownikWezla(nowa));
    l.drzewo.Usun(nowa);
  }
}
BENCHMARK(BM_OdpowiedzNaNajglebsza)->Unit(benchmark::kMicrosecond);

// A top-level node put first among 100,000 (a conversation dropped at the top), then removed.
void BM_WstawienieNaPoczatek(benchmark::State &state)
{
  TDrzewo d;
  for (int k = 0; k < 100000; ++k)
    d.Dodaj(nullptr, QStringLiteral("k"));
  for (auto _ : state) {
    TWezel *nowy = d.Wstaw(nullptr, 0, QStringLiteral("nowy"));
    d.Usun(nowy);
  }
}
BENCHMARK(BM_WstawienieNaPoczatek)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
  QCoreApplication aplikacja(argc, argv);
  return UruchomPomiary(argc, argv);
}
