// The conversation tree of 10,000 contacts with 20 messages each, built while the main window's
// real tree view (QTreeView with the node delegate, offscreen) shows it. The time includes the
// view's layout and one paint after the build. Target: under 2 s.

#include "common/Pomiary.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "contacts/ModelDrzewa.h"
#include "contacts/ui/DelegatWezla.h"
#include "contacts/ui/Obrazki.h"
#include "contacts/ui/WidokDrzewa.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kKontakty = 10000;
constexpr int kWiadomosci = 20;
constexpr int kPierwszyNumer = 1000000;

void Zbuduj(TDrzewo &d)
{
  for (int k = 0; k < kKontakty; ++k) {
    const int numer = kPierwszyNumer + k;
    const QString n = QString::number(numer);
    TWezel *kontakt =
        d.DodajUzytkownika(numer, QStringLiteral("Imię ") + n, QStringLiteral("Nazwisko ") + n,
                           n + QStringLiteral("@poczta.example"), QStringLiteral("+48 600 000 000"),
                           QStringLiteral("Kontakt ") + n, 3);
    d.ZastosujStan(kontakt, k % 3 ? 2 : 1);
    for (int i = 0; i < kWiadomosci; ++i) {
      const QString tekst = QStringLiteral("Wiadomość %1 dla %2, zwykłej długości").arg(i).arg(n);
      TWezel *w = d.Dodaj(kontakt, tekst);
      w->UstawDane(std::make_shared<TWypowiedz>(
          nullptr, std::make_unique<TDaneDodatkowe>(2, numer, 1700000000 + i, i, QDateTime()),
          tekst));
      w->UstawObrazStanu(2);
      d.UstawStanWezla(w, StanWezla::Pogrubiony, StanWezla::Pogrubiony);
    }
  }
}

struct TWidok {
  TDrzewo drzewo;
  TModelDrzewa model{drzewo};
  TWidokDrzewa widok{new TDelegatWezla(ObrazyStanu())};
  TWidok()
  {
    model.UstawObrazy(ObrazyWezlow());
    widok.setIndentation(19);
    widok.setModel(&model);
    widok.resize(522, 342);
    widok.show();
    QCoreApplication::processEvents();
  }
};

void BM_BudowaDrzewaZWidokiem(benchmark::State &state)
{
  int wiersze = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto w = std::make_unique<TWidok>();
    state.ResumeTiming();
    Zbuduj(w->drzewo);
    // The view lays the rows out and draws the visible ones.
    w->widok.viewport()->repaint();
    QCoreApplication::processEvents();
    state.PauseTiming();
    wiersze = w->model.rowCount();
    w.reset();
    state.ResumeTiming();
  }
  state.counters["kontakty"] = wiersze;
}
BENCHMARK(BM_BudowaDrzewaZWidokiem)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same with every contact expanded while its messages arrive (the worst case for the view).
void BM_BudowaRozwinietegoDrzewa(benchmark::State &state)
{
  for (auto _ : state) {
    state.PauseTiming();
    auto w = std::make_unique<TWidok>();
    w->widok.setAutoExpandDelay(-1);
    QObject::connect(&w->model, &QAbstractItemModel::rowsInserted, &w->widok,
                     [&w](const QModelIndex &rodzic) {
                       if (!rodzic.isValid())
                         w->widok.expand(w->model.index(w->model.rowCount() - 1, 0));
                     });
    state.ResumeTiming();
    Zbuduj(w->drzewo);
    w->widok.viewport()->repaint();
    QCoreApplication::processEvents();
    state.PauseTiming();
    const QModelIndex ostatni = w->model.index(kKontakty - 1, 0);
    if (!w->widok.isExpanded(ostatni) || w->widok.indexBelow(ostatni).parent() != ostatni)
      state.SkipWithError("the contacts were not expanded");
    w.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BudowaRozwinietegoDrzewa)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication aplikacja(argc, argv);
  return UruchomPomiary(argc, argv);
}
