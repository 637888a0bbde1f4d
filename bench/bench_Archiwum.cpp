// The message archive:
//  - received messages into the tree (dispatcher, tree, view adapter) with the archive on and off,
//    1,000 per event-loop turn, until every one is committed (target with it: 20,000/s); the
//    counters "watekUiMaksUs"/"watekUiSrednioUs": the longest and the mean time the UI thread
//    spent handing one turn's batch to the writer (wall-clock rates: the writer's commits count);
//  - start-up to the first shown main window with an archive of 1,000,000 messages (target
//    0.5 s);
//  - search for a word over 1,000,000 messages (target 50 ms);
//  - the history window's first screen for a contact with 100,000 messages (target 100 ms).
// The large archive is built once per run in the benchmark's temporary home.

#include "app/Lokalizacje.h"
#include "archiwum/Archiwum.h"
#include "archiwum/ArchiwumDrzewa.h"
#include "archiwum/ModelRozmowy.h"
#include "archiwum/ui/HistoriaFrm.h"
#include "common/Pomiary.h"
#include "contacts/Drzewo.h"
#include "contacts/ModelDrzewa.h"
#include "contacts/Ustawienia.h"
#include "gg/Liczby.h"
#include "gg/Odbior.h"
#include "gg/Pakiety.h"
#include "program/FrmPaplankiMain.h"
#include "program/OknaAplikacji.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QRandomGenerator>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kWiadomosci = 100000;
constexpr int kNaObrot = 1000;
constexpr int kDuze = 1000000;
constexpr int kRozmowca = 5000100; // the contact with 100,000 of the large archive's messages

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

QByteArray CialoWiadomosci(int nadawca, int sekwencja, const QByteArray &tekst)
{
  return IntToLE(nadawca) + IntToLE(sekwencja) + IntToLE(1719835200) + IntToLE(8) + tekst +
         QByteArray(1, '\0');
}

void Odbior(benchmark::State &stan)
{
  const bool zArchiwum = stan.range(0) != 0;
  QList<QByteArray> ciala;
  for (int i = 0; i < kWiadomosci; ++i)
    ciala << CialoWiadomosci(1000000 + i % 1000, i,
                             QByteArray("Wiadomo\x9C\xE6 numer ") + QByteArray::number(i));
  qint64 najdluzej = 0;
  qint64 razem = 0;
  qint64 przekazan = 0;
  for (auto _ : stan) {
    stan.PauseTiming();
    QTemporaryDir katalog;
    QSettings rejestr(katalog.filePath(QStringLiteral("r.conf")), QSettings::IniFormat);
    TUstawienia ustawienia(rejestr, katalog.path());
    ustawienia.UstawTylkoOdPrzyjaciol(false);
    auto drzewo = std::make_unique<TDrzewo>();
    auto model = std::make_unique<TModelDrzewa>(*drzewo);
    TOknoPomiaru okno;
    TOdbior odbior(*drzewo, ustawienia, okno, {});
    auto archiwum = std::make_unique<TArchiwum>();
    std::unique_ptr<TArchiwumDrzewa> straz;
    if (zArchiwum) {
      archiwum->Otworz(katalog.filePath(QStringLiteral("Archiwum.sqlite")));
      straz = std::make_unique<TArchiwumDrzewa>(*drzewo, *archiwum);
    }
    stan.ResumeTiming();
    for (int i = 0; i < kWiadomosci; ++i) {
      odbior.Obsluz(GGAnsRecvMsg, qint32(ciala[i].size()), ciala[i]);
      if ((i + 1) % kNaObrot == 0) {
        // The end of the turn: the batch goes to the writer.
        QElapsedTimer t;
        t.start();
        archiwum->Zapisz();
        const qint64 us = t.nsecsElapsed() / 1000;
        najdluzej = std::max(najdluzej, us);
        razem += us;
        ++przekazan;
      }
    }
    archiwum->Zaczekaj();
    stan.PauseTiming();
    straz.reset();
    archiwum.reset();
    model.reset();
    drzewo.reset();
    stan.ResumeTiming();
  }
  stan.SetItemsProcessed(stan.iterations() * kWiadomosci);
  stan.counters["watekUiMaksUs"] = double(najdluzej);
  stan.counters["watekUiSrednioUs"] = przekazan ? double(razem) / double(przekazan) : 0.0;
}

const char *const Slowa[] = {"dzień",  "dobry", "jutro",   "spotkanie", "kawa",   "żółw",   "łódź",
                             "rower",  "praca", "obiad",   "kino",      "pociąg", "zakupy", "mama",
                             "szkoła", "gęś",   "wieczór", "pogoda",    "deszcz", "słońce"};

// The large archive, written straight through SQL in the archive's own schema (the schema comes
// from opening it once), 100,000 messages of it with one contact.
QString DuzeArchiwum()
{
  static QString plik;
  if (!plik.isEmpty())
    return plik;
  plik = QDir(KatalogDanych(QStringLiteral("Paplanki (GG)"))).filePath(TArchiwum::NazwaPliku());
  {
    TArchiwum a;
    a.Otworz(plik);
  }
  {
    QSqlDatabase baza = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("b"));
    baza.setDatabaseName(plik);
    baza.open();
    QSqlQuery(QStringLiteral("PRAGMA synchronous = OFF"), baza);
    baza.transaction();
    QSqlQuery w(baza), s(baza);
    w.prepare(QStringLiteral(
        "INSERT INTO wiadomosci(id, kierunek, numer, sekwencja, czas_nadania, czas_utworzenia, "
        "czas_zapisu, status, przeczytana, w_drzewie, odpowiedz_na, glebokosc, konferencja, "
        "tekst) VALUES(?, ?, ?, ?, ?, ?, ?, ?, 1, 1, NULL, 0, 0, ?)"));
    s.prepare(QStringLiteral("INSERT INTO szukaj(rowid, tekst) VALUES(?, ?)"));
    QRandomGenerator los(42);
    const qint64 teraz = QDateTime::currentMSecsSinceEpoch();
    for (int id = 1; id <= kDuze; ++id) {
      QStringList tekst;
      const int ile = 3 + int(los.bounded(8));
      for (int k = 0; k < ile; ++k)
        tekst << QString::fromUtf8(Slowa[los.bounded(int(std::size(Slowa)))]);
      if (id % 100 == 0)
        tekst << QStringLiteral("rzadkie%1").arg(id % 1000);
      const QString t = tekst.join(u' ');
      const bool wyslana = id % 2 == 0;
      const int numer = id % 10 == 0 ? kRozmowca : 5000000 + id % 100;
      int i = 0;
      for (const QVariant &v :
           {QVariant(id), QVariant(wyslana ? 1 : 0), QVariant(numer), QVariant(id),
            QVariant(wyslana ? 0 : 1719835200), wyslana ? QVariant(teraz) : QVariant(),
            QVariant(teraz), QVariant(2), QVariant(t)})
        w.bindValue(i++, v);
      w.exec();
      s.bindValue(0, id);
      s.bindValue(1, TArchiwum::Zloz(t));
      s.exec();
    }
    baza.commit();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("b"));
  return plik;
}

void UruchomienieZDuzymArchiwum(benchmark::State &stan)
{
  DuzeArchiwum();
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

void Szukanie(benchmark::State &stan, const QString &slowo)
{
  TArchiwum a;
  a.Otworz(DuzeArchiwum());
  qint64 znalezione = 0;
  for (auto _ : stan)
    znalezione = a.Szukaj(slowo, 100).size();
  stan.counters["trafienia"] = double(znalezione);
}

void HistoriaPierwszyEkran(benchmark::State &stan)
{
  TArchiwum a;
  a.Otworz(DuzeArchiwum());
  for (auto _ : stan) {
    THistoriaFrm h(a);
    h.Pokaz(kRozmowca);
    while (!h.windowHandle() || !h.windowHandle()->isExposed())
      QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(h.Model->rowCount());
    stan.PauseTiming();
    h.close();
    stan.ResumeTiming();
  }
}

} // namespace

BENCHMARK(Odbior)
    ->ArgName("archiwum")
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(UruchomienieZDuzymArchiwum)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Szukanie, czeste, QStringLiteral("spotkanie"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Szukanie, rzadkie, QStringLiteral("rzadkie500"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Szukanie, bez_ogonkow, QStringLiteral("lodz zolw"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK(HistoriaPierwszyEkran)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
  QTemporaryDir dom;
  for (const char *zmienna : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
    qputenv(zmienna, dom.path().toUtf8());
  QSettings ustawienia(dom.path() + QStringLiteral("/Kolbiny/Paplanki (GG).conf"),
                       QSettings::IniFormat);
  ustawienia.setValue(QStringLiteral("Ustawienia/SerwerAlternatywny"), QStringLiteral("1"));
  ustawienia.setValue(QStringLiteral("Ustawienia/OstatniUzytkownik"), QStringLiteral("4321"));
  ustawienia.setValue(QStringLiteral("Ustawienia/OstatnieHasloUzytkownika"),
                      QStringLiteral("haslo"));
  ustawienia.setValue(QStringLiteral("Ustawienia/Przylaczaj"), QStringLiteral("0"));
  ustawienia.sync();
  qputenv("PAPLANKI_WITRYNA", "http://127.0.0.1:1/");
  qputenv("PAPLANKI_LICZNIK", "http://127.0.0.1:1/");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
  QApplication aplikacja(argc, argv);
  return UruchomPomiary(argc, argv);
}
