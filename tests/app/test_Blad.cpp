#include "common/Srodowisko.h"
#include "net/Blad.h"

class TestBlad : public QObject {
  Q_OBJECT
private slots:
  void scislaKonwersja_data()
  {
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<bool>("poprawna");
    QTest::addColumn<int>("wartosc");
    QTest::newRow("zwykła") << QStringLiteral("12345") << true << 12345;
    QTest::newRow("znak minus") << QStringLiteral("-7") << true << -7;
    QTest::newRow("znak plus") << QStringLiteral("+7") << true << 7;
    QTest::newRow("spacje wokół") << QStringLiteral(" 42 ") << true << 42;
    QTest::newRow("największa") << QStringLiteral("2147483647") << true << 2147483647;
    QTest::newRow("najmniejsza") << QStringLiteral("-2147483648") << true << int(-2147483647 - 1);
    QTest::newRow("za duża") << QStringLiteral("2147483648") << false << 0;
    QTest::newRow("pusta") << QString() << false << 0;
    QTest::newRow("sam znak") << QStringLiteral("-") << false << 0;
    QTest::newRow("litera w środku") << QStringLiteral("12a3") << false << 0;
    QTest::newRow("spacja w środku") << QStringLiteral("12 3") << false << 0;
    QTest::newRow("cyfry arabskie") << QStringLiteral("\u0661\u0662") << false << 0;
  }
  void scislaKonwersja()
  {
    QFETCH(QString, tekst);
    QFETCH(bool, poprawna);
    QFETCH(int, wartosc);
    QCOMPARE(StrToIntDef(tekst, -99), poprawna ? wartosc : -99);
    if (poprawna) {
      QCOMPARE(StrToInt(tekst), wartosc);
    } else {
      try {
        StrToInt(tekst);
        QFAIL("no exception");
      } catch (const EConvertError &e) {
        QCOMPARE(e.Message(), QStringLiteral("'%1' is not a valid integer value").arg(tekst));
        QCOMPARE(QString::fromUtf8(e.what()), e.Message());
      }
    }
  }
};

PAPLANKI_TEST_MAIN(TestBlad)
#include "test_Blad.moc"
