// Inputs a hostile peer or file can make long: the event log after many lines (every line
// rewritten into its section, against appended), and an address book value folded by 80,000
// quoted-printable soft breaks. Targets: a log line costs the same at 1 and at 20,000 lines;
// the folded value parses in well under a second.

#include "common/Pomiary.h"
#include "contacts/KsiazkaAdresowa.h"
#include "gg/Dziennik.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString Wiersz(int i)
{
  return QStringLiteral("A0 %1 {00}{01}{02}nieznany pakiet").arg(i);
}

// state.range(0) lines already in the file, then 1,000 more measured.
void BM_DziennikPrzepisywany(benchmark::State &state)
{
  for (auto _ : state) {
    state.PauseTiming();
    QTemporaryDir katalog;
    const QString sciezka = katalog.filePath(QStringLiteral("p.log"));
    TKoniecIni koniec;
    for (int i = 0; i < state.range(0); ++i)
      DopiszWpisIni(sciezka, QStringLiteral("Błędne paczki"), QString::number(i), Wiersz(i),
                    koniec);
    state.ResumeTiming();
    for (int i = 0; i < 1000; ++i)
      ZapiszWpisIni(sciezka, QStringLiteral("Błędne paczki"), QStringLiteral("n%1").arg(i),
                    Wiersz(i));
  }
}
BENCHMARK(BM_DziennikPrzepisywany)
    ->Arg(0)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

void BM_DziennikDopisywany(benchmark::State &state)
{
  for (auto _ : state) {
    state.PauseTiming();
    QTemporaryDir katalog;
    const QString sciezka = katalog.filePath(QStringLiteral("p.log"));
    TKoniecIni koniec;
    for (int i = 0; i < state.range(0); ++i)
      DopiszWpisIni(sciezka, QStringLiteral("Błędne paczki"), QString::number(i), Wiersz(i),
                    koniec);
    state.ResumeTiming();
    TDziennik dziennik(sciezka, [] { return true; });
    for (int i = 0; i < 1000; ++i)
      dziennik.Loguj(i % 2 ? QStringLiteral("Błędne paczki") : QStringLiteral("Komunikacja"),
                     Wiersz(i));
  }
}
BENCHMARK(BM_DziennikDopisywany)->Arg(0)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_KsiazkaMiekkieLamania(benchmark::State &state)
{
  QTemporaryDir katalog;
  const QString sciezka = katalog.filePath(QStringLiteral("Kontakty.vcf"));
  {
    QByteArray karta = "BEGIN:VCARD\r\nVERSION:2.1\r\nX-GG-OPIS;ENCODING=QUOTED-PRINTABLE:";
    for (int i = 0; i < state.range(0); ++i)
      karta += "=41=\r\n";
    karta += "\r\nX-GG-NUMERY:3;\r\nEND:VCARD\r\n";
    QFile plik(sciezka);
    if (!plik.open(QIODevice::WriteOnly))
      state.SkipWithError("no file");
    plik.write(karta);
  }
  for (auto _ : state) {
    TOutlookApplication ksiazka(sciezka);
    ksiazka.Polacz();
    benchmark::DoNotOptimize(ksiazka.Item(1).WlasciwoscUzytkownika(QStringLiteral("GG-Opis")));
  }
}
BENCHMARK(BM_KsiazkaMiekkieLamania)->Arg(10000)->Arg(80000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
  QCoreApplication aplikacja(argc, argv);
  return UruchomPomiary(argc, argv);
}
