// Failed logins per address, on a clock the test moves.

#include "common/Srodowisko.h"
#include "serwer/Dlawienie.h"

#include <QTest>

using namespace std::chrono_literals;

class TestDlawienieLogowan : public QObject {
  Q_OBJECT

private slots:
  void okno_data()
  {
    // Failures of address A at these milliseconds; then at `sprawdzenie` is `adres` refused?
    QTest::addColumn<QList<int>>("nieudane");
    QTest::addColumn<int>("sprawdzenie");
    QTest::addColumn<QString>("adres");
    QTest::addColumn<bool>("zdlawiony");
    const QList<int> piec{0, 1000, 2000, 3000, 4000};
    QTest::newRow("bez prób") << QList<int>{} << 0 << QStringLiteral("A") << false;
    QTest::newRow("4 nieudane: piąta próba wolna")
        << QList<int>{0, 1000, 2000, 3000} << 5000 << QStringLiteral("A") << false;
    QTest::newRow("5 nieudanych: szósta odrzucona") << piec << 5000 << QStringLiteral("A") << true;
    QTest::newRow("5 nieudanych naraz")
        << QList<int>{0, 0, 0, 0, 0} << 0 << QStringLiteral("A") << true;
    QTest::newRow("tuż przed minutą od pierwszej") << piec << 59'999 << QStringLiteral("A") << true;
    QTest::newRow("minuta od pierwszej: znów wolno")
        << piec << 60'000 << QStringLiteral("A") << false;
    QTest::newRow("po minucie") << piec << 61'000 << QStringLiteral("A") << false;
    QTest::newRow("rozłożone: wszystkie 5 w oknie")
        << QList<int>{0, 15'000, 30'000, 45'000, 59'000} << 59'500 << QStringLiteral("A") << true;
    QTest::newRow("rozłożone: pierwsza wypadła")
        << QList<int>{0, 15'000, 30'000, 45'000, 59'000} << 60'000 << QStringLiteral("A") << false;
    QTest::newRow("sześć: pierwsza wypadła, pięć zostaje")
        << QList<int>{0, 10'000, 20'000, 30'000, 40'000, 50'000} << 65'000 << QStringLiteral("A")
        << true;
    QTest::newRow("inny adres wolny") << piec << 5000 << QStringLiteral("B") << false;
  }
  void okno()
  {
    QFETCH(QList<int>, nieudane);
    QFETCH(int, sprawdzenie);
    QFETCH(QString, adres);
    QFETCH(bool, zdlawiony);
    const auto start = std::chrono::steady_clock::time_point(1000h);
    auto teraz = start;
    TDlawienieLogowan d(5, [&teraz] { return teraz; });
    for (const int ms : nieudane) {
      teraz = start + std::chrono::milliseconds(ms);
      d.Nieudane("A");
    }
    teraz = start + std::chrono::milliseconds(sprawdzenie);
    QCOMPARE(d.Zdlawiony(adres.toStdString()), zdlawiony);
    // The periodic sweep forgets exactly what no longer counts.
    d.Sprzataj();
    QCOMPARE(d.Zdlawiony(adres.toStdString()), zdlawiony);
    int wOknie = 0;
    for (const int ms : nieudane)
      wOknie += start + std::chrono::milliseconds(ms) > teraz - 1min;
    QCOMPARE(d.Adresow(), std::size_t(wOknie > 0 ? 1 : 0));
  }

  // Refused attempts are not failures of their own: after the minute the address is free again
  // however often it knocked meanwhile, and one new failure does not throttle it.
  void odrzuconeNieWydluzajaKary()
  {
    auto teraz = std::chrono::steady_clock::time_point(1000h);
    TDlawienieLogowan d(5, [&teraz] { return teraz; });
    for (int i = 0; i < 5; ++i)
      d.Nieudane("10.0.0.1");
    for (int i = 0; i < 30; ++i) {
      teraz += 1s;
      QVERIFY(d.Zdlawiony("10.0.0.1"));
    }
    teraz += 30s;
    QVERIFY(!d.Zdlawiony("10.0.0.1"));
    d.Nieudane("10.0.0.1");
    QVERIFY(!d.Zdlawiony("10.0.0.1"));
  }
};

PAPLANKI_TEST_MAIN(TestDlawienieLogowan)
#include "test_DlawienieLogowan.moc"
