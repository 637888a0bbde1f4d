#include "common/Srodowisko.h"
#include "gg/CzasUnix.h"

#include <ctime>

namespace {
void UstawStrefe(const char *strefa)
{
  qputenv("TZ", strefa);
  tzset();
}
} // namespace

class TestCzasUnix : public QObject {
  Q_OBJECT
private slots:
  // Date-times in the data rows are built in this zone too.
  void initTestCase() { UstawStrefe("Europe/Warsaw"); }
  void cleanup() { UstawStrefe("Europe/Warsaw"); }

  void strefyBezZmianyCzasu_data()
  {
    QTest::addColumn<QByteArray>("strefa");
    QTest::addColumn<quint32>("sekundy");
    QTest::addColumn<QDateTime>("sciana");
    QTest::newRow("UTC, zero") << QByteArray("UTC") << 0u
                               << QDateTime(QDate(1970, 1, 1), QTime(0, 0), Qt::UTC);
    QTest::newRow("UTC, koniec zakresu") << QByteArray("UTC") << 4294967295u
                                         << QDateTime(QDate(2106, 2, 7), QTime(6, 28, 15), Qt::UTC);
    // A zone without daylight time is still nine hours east, in winter and in summer.
    QTest::newRow("Tokio, zero") << QByteArray("Asia/Tokyo") << 0u
                                 << QDateTime(QDate(1970, 1, 1), QTime(9, 0), Qt::UTC);
    QTest::newRow("Tokio, lato") << QByteArray("Asia/Tokyo") << 1719792000u
                                 << QDateTime(QDate(2024, 7, 1), QTime(9, 0), Qt::UTC);
    QTest::newRow("Nowy Jork, przed 1970") << QByteArray("America/New_York") << 0u
                                           << QDateTime(QDate(1969, 12, 31), QTime(19, 0), Qt::UTC);
  }
  void strefyBezZmianyCzasu()
  {
    QFETCH(QByteArray, strefa);
    QFETCH(quint32, sekundy);
    QFETCH(QDateTime, sciana);
    UstawStrefe(strefa.constData());
    const QDateTime czas = UnixToLocal(sekundy);
    QCOMPARE(czas.timeSpec(), Qt::LocalTime);
    QCOMPARE(czas.date(), sciana.date());
    QCOMPARE(czas.time(), sciana.time());
    QCOMPARE(LocalToUnix(czas), sekundy);
  }

  void zmianaCzasuWarszawa_data()
  {
    QTest::addColumn<quint32>("sekundy");
    QTest::addColumn<QDateTime>("sciana");
    QTest::addColumn<bool>("dwuznaczna");
    const auto sciana = [](int r, int m, int d, int g, int min, int s) {
      return QDateTime(QDate(r, m, d), QTime(g, min, s), Qt::UTC);
    };
    // Winter and summer times come out right whatever the season of the test run.
    QTest::newRow("zima") << 1704067200u << sciana(2024, 1, 1, 1, 0, 0) << false;
    QTest::newRow("lato") << 1719792000u << sciana(2024, 7, 1, 2, 0, 0) << false;
    QTest::newRow("sekunda przed wiosenną zmianą")
        << 1711846799u << sciana(2024, 3, 31, 1, 59, 59) << false;
    QTest::newRow("wiosenna zmiana") << 1711846800u << sciana(2024, 3, 31, 3, 0, 0) << false;
    QTest::newRow("sekunda przed jesienną zmianą")
        << 1729990799u << sciana(2024, 10, 27, 2, 59, 59) << true;
    QTest::newRow("jesienna zmiana") << 1729990800u << sciana(2024, 10, 27, 2, 0, 0) << true;
    QTest::newRow("koniec powtórzonej godziny")
        << 1729994399u << sciana(2024, 10, 27, 2, 59, 59) << true;
    QTest::newRow("po powtórzonej godzinie")
        << 1729994400u << sciana(2024, 10, 27, 3, 0, 0) << false;
    QTest::newRow("koniec zakresu") << 4294967295u << sciana(2106, 2, 7, 7, 28, 15) << false;
  }
  void zmianaCzasuWarszawa()
  {
    QFETCH(quint32, sekundy);
    QFETCH(QDateTime, sciana);
    QFETCH(bool, dwuznaczna);
    UstawStrefe("Europe/Warsaw");
    const QDateTime czas = UnixToLocal(sekundy);
    QCOMPARE(czas.date(), sciana.date());
    QCOMPARE(czas.time(), sciana.time());
    // Back again, also in the hour that the clocks show twice.
    QCOMPARE(LocalToUnix(czas), sekundy);
    // A date-time typed by the user carries only the wall clock.
    if (!dwuznaczna)
      QCOMPARE(LocalToUnix(QDateTime(sciana.date(), sciana.time(), Qt::LocalTime)), sekundy);
  }

  void localToUnix_data()
  {
    QTest::addColumn<QDateTime>("czas");
    QTest::addColumn<quint32>("sekundy");
    QTest::newRow("zimowe południe")
        << QDateTime(QDate(2024, 1, 15), QTime(12, 0), Qt::LocalTime) << 1705316400u;
    QTest::newRow("letnie południe")
        << QDateTime(QDate(2024, 7, 15), QTime(12, 0), Qt::LocalTime) << 1721037600u;
    QTest::newRow("czas UTC") << QDateTime(QDate(2024, 7, 15), QTime(10, 0), Qt::UTC)
                              << 1721037600u;
    QTest::newRow("499 ms w dół") << QDateTime(QDate(2024, 1, 15), QTime(12, 0, 0, 499),
                                               Qt::LocalTime)
                                  << 1705316400u;
    QTest::newRow("500 ms w górę")
        << QDateTime(QDate(2024, 1, 15), QTime(12, 0, 0, 500), Qt::LocalTime) << 1705316401u;
    QTest::newRow("początek epoki")
        << QDateTime(QDate(1970, 1, 1), QTime(1, 0), Qt::LocalTime) << 0u;
  }
  void localToUnix()
  {
    UstawStrefe("Europe/Warsaw");
    QFETCH(QDateTime, czas);
    QFETCH(quint32, sekundy);
    QCOMPARE(LocalToUnix(czas), sekundy);
  }
};

PAPLANKI_TEST_MAIN(TestCzasUnix)
#include "test_CzasUnix.moc"
