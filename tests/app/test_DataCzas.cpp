#include "app/DataCzas.h"
#include "common/Srodowisko.h"

#include <QLocale>

class TestDataCzas : public QObject {
  Q_OBJECT
private slots:
  void cleanup() { QLocale::setDefault(QLocale::c()); }

  void tekst_data()
  {
    QTest::addColumn<QString>("jezyk");
    QTest::addColumn<QTime>("czas");
    QTest::addColumn<QString>("oczekiwany");
    const QString pl = QStringLiteral("pl_PL");
    const QString en = QStringLiteral("en_US");
    QTest::newRow("pl po południu") << pl << QTime(14, 7, 9) << "5.03.2024 14:07:09";
    QTest::newRow("pl rano") << pl << QTime(8, 0, 0) << "5.03.2024 08:00:00";
    QTest::newRow("pl północ") << pl << QTime(0, 0) << "5.03.2024";
    QTest::newRow("pl tuż po północy") << pl << QTime(0, 0, 0, 1) << "5.03.2024 00:00:00";
    QTest::newRow("en po południu") << en << QTime(14, 7, 9) << "3/5/24 2:07:09 PM";
    QTest::newRow("en północ") << en << QTime(0, 0) << "3/5/24";
  }
  void tekst()
  {
    QFETCH(QString, jezyk);
    QFETCH(QTime, czas);
    QFETCH(QString, oczekiwany);
    QLocale::setDefault(QLocale(jezyk));
    // Never a zone name, whatever the locale's long time format carries.
    QCOMPARE(DataCzasNaTekst(QDateTime(QDate(2024, 3, 5), czas)), oczekiwany);
  }
};

PAPLANKI_TEST_MAIN(TestDataCzas)
#include "test_DataCzas.moc"
