// Registration tokens against the real SQLite storage, on a clock the test moves.

#include "common/Srodowisko.h"
#include "serwer/Tokeny.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

constexpr std::int64_t Start = 1'800'000'000;

struct TStanowisko {
  QTemporaryDir katalog;
  std::unique_ptr<TMagazyn> magazyn;
  std::int64_t teraz = Start;
  std::unique_ptr<TTokeny> tokeny;

  TStanowisko()
  {
    magazyn = OtworzMagazynSqlite(katalog.path().toStdString());
    tokeny = std::make_unique<TTokeny>(*magazyn, [this] { return teraz; });
  }
};

} // namespace

class TestTokeny : public QObject {
  Q_OBJECT

private slots:
  void waznoscIJednorazowosc_data()
  {
    QTest::addColumn<int>("poSekundach");
    QTest::addColumn<int>("wpisane"); // 0 the right digits, 1 wrong ones, 2 nothing
    QTest::addColumn<bool>("przyjety");
    QTest::newRow("od razu") << 0 << 0 << true;
    QTest::newRow("po 5 minutach") << 300 << 0 << true;
    QTest::newRow("9:59") << 599 << 0 << true;
    QTest::newRow("10:00") << 600 << 0 << false;
    QTest::newRow("10:01") << 601 << 0 << false;
    QTest::newRow("po godzinie") << 3600 << 0 << false;
    QTest::newRow("złe cyfry") << 1 << 1 << false;
    QTest::newRow("bez cyfr") << 1 << 2 << false;
  }
  void waznoscIJednorazowosc()
  {
    QFETCH(int, poSekundach);
    QFETCH(int, wpisane);
    QFETCH(bool, przyjety);
    TStanowisko s;
    const auto t = s.tokeny->Wydaj();
    QCOMPARE(t.Wartosc.size(), std::size_t(TTokeny::Cyfr));
    QCOMPARE(t.Id.size(), std::size_t(16));
    s.teraz += poSekundach;
    // The picture is drawn exactly as long as the token counts.
    QCOMPARE(s.tokeny->Wartosc(t.Id).has_value(), poSekundach < 600);
    if (s.tokeny->Wartosc(t.Id))
      QCOMPARE(*s.tokeny->Wartosc(t.Id), t.Wartosc);
    std::string proba = t.Wartosc;
    if (wpisane == 1)
      proba[0] = proba[0] == '9' ? '0' : char(proba[0] + 1);
    else if (wpisane == 2)
      proba.clear();
    QCOMPARE(s.tokeny->Zuzyj(t.Id, proba), przyjety);
    // Used up whatever the outcome: the right digits do not open it a second time.
    QVERIFY(!s.tokeny->Zuzyj(t.Id, t.Wartosc));
    QVERIFY(!s.tokeny->Wartosc(t.Id));
  }

  // Tokens are counted each from its own issue; using one clears only those that expired.
  void kazdyOdSwojegoWydania()
  {
    TStanowisko s;
    const auto stary = s.tokeny->Wydaj();
    s.teraz += 300;
    const auto nowy = s.tokeny->Wydaj();
    const auto trzeci = s.tokeny->Wydaj();
    QVERIFY(stary.Id != nowy.Id && nowy.Id != trzeci.Id);
    s.teraz += 300; // the old one is 10:00 old, the new ones 5:00
    QVERIFY(!s.tokeny->Wartosc(stary.Id));
    QVERIFY(s.tokeny->Zuzyj(nowy.Id, nowy.Wartosc));
    QVERIFY(s.tokeny->Wartosc(trzeci.Id));
    s.teraz += 299;
    QVERIFY(s.tokeny->Zuzyj(trzeci.Id, trzeci.Wartosc));
    QVERIFY(!s.tokeny->Zuzyj(stary.Id, stary.Wartosc));
  }

  // An unknown id is refused, and the refusal spends no one else's token.
  void nieznanyToken()
  {
    TStanowisko s;
    const auto t = s.tokeny->Wydaj();
    QVERIFY(!s.tokeny->Zuzyj("0000000000000000", t.Wartosc));
    QVERIFY(!s.tokeny->Zuzyj(std::string(), t.Wartosc));
    QVERIFY(s.tokeny->Zuzyj(t.Id, t.Wartosc));
  }
};

PAPLANKI_TEST_MAIN(TestTokeny)
#include "test_Tokeny.moc"
