#include "gg/OdbiorPakietow.h"
#include "gg/Pakiety.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

constexpr int LiczbaPakietow = 1000000;
constexpr int RozmiarOdczytu = 10000;

// One million packets with bodies of 8 to 40 bytes, in a fixed mixed order.
const QByteArray &Strumien()
{
  static const QByteArray strumien = [] {
    QByteArray s;
    s.reserve(qsizetype(LiczbaPakietow) * 32);
    quint32 los = 12345;
    for (int i = 0; i < LiczbaPakietow; ++i) {
      los = los * 1103515245u + 12345u;
      const int dlugosc = 8 + int((los >> 16) % 33);
      s += ZbudujRamke(qint32(1 + (los >> 8) % 0x11), QByteArray(dlugosc, char(i)));
    }
    return s;
  }();
  return strumien;
}

void BM_OdbiorPakietow(benchmark::State &state)
{
  const QByteArray &strumien = Strumien();
  qint64 pakiety = 0;
  qint64 bajtyCial = 0;
  TOdbiorPakietow odbior([&](qint32, qint32 dlugosc, const QByteArray &) {
    ++pakiety;
    bajtyCial += dlugosc;
  });
  for (auto _ : state) {
    odbior.Wyczysc();
    for (qsizetype poz = 0; poz < strumien.size(); poz += RozmiarOdczytu) {
      const int ile = int(std::min<qsizetype>(RozmiarOdczytu, strumien.size() - poz));
      odbior.Odebrano(strumien.constData() + poz, ile);
    }
  }
  if (pakiety != qint64(LiczbaPakietow) * state.iterations())
    state.SkipWithError("lost or repeated packets");
  benchmark::DoNotOptimize(bajtyCial);
  state.counters["pakiety/s"] = benchmark::Counter(double(pakiety), benchmark::Counter::kIsRate);
  state.SetBytesProcessed(int64_t(strumien.size()) * state.iterations());
}

} // namespace

BENCHMARK(BM_OdbiorPakietow)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
