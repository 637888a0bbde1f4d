// The registration service's texts: the token reply, the form and the answer.

#include "common/Srodowisko.h"
#include "dialogs/Rejestracja.h"
#include "net/Blad.h"

class TestRejestracja : public QObject {
  Q_OBJECT
private slots:
  void token_data()
  {
    QTest::addColumn<QString>("odpowiedz");
    QTest::addColumn<bool>("poprawny");
    QTest::addColumn<int>("szerokosc");
    QTest::addColumn<int>("wysokosc");
    QTest::addColumn<QString>("identyfikator");
    QTest::addColumn<QString>("adres");
    QTest::newRow("zwykły") << "60 24 15\r\nabc12\r\nhttp://r.pl/tokenpic.asp\r\n"
                            << true << 60 << 24 << "abc12"
                            << "http://r.pl/tokenpic.asp";
    QTest::newRow("bez końcowego CR LF")
        << "60 24 15\r\nabc12\r\nhttp://r.pl/t" << true << 60 << 24 << "abc12"
        << "http://r.pl/t";
    // With a space later in the text, the length runs up to it and is no number.
    QTest::newRow("spacja w adresie") << "60 24 15\r\nabc\r\nhttp://r.pl/a b\r\n"
                                      << false << 0 << 0 << ""
                                      << "";
    QTest::newRow("szerokość nie liczbą") << "6x 24 15\r\nabc\r\nu\r\n"
                                          << false << 0 << 0 << ""
                                          << "";
    QTest::newRow("ucięty") << "60 24 " << false << 0 << 0 << ""
                            << "";
    QTest::newRow("pusty") << "" << false << 0 << 0 << ""
                           << "";
  }
  void token()
  {
    QFETCH(QString, odpowiedz);
    QFETCH(bool, poprawny);
    if (!poprawny) {
      QVERIFY_THROWS_EXCEPTION(EConvertError, RozbierzToken(odpowiedz));
      return;
    }
    QFETCH(int, szerokosc);
    QFETCH(int, wysokosc);
    QFETCH(QString, identyfikator);
    QFETCH(QString, adres);
    const TToken t = RozbierzToken(odpowiedz);
    QCOMPARE(t.Szerokosc, szerokosc);
    QCOMPARE(t.Wysokosc, wysokosc);
    QCOMPARE(t.Dlugosc, 15);
    QCOMPARE(t.Identyfikator, identyfikator);
    QCOMPARE(t.AdresObrazka, adres);
  }

  void formularz_data()
  {
    QTest::addColumn<QString>("haslo");
    QTest::addColumn<QString>("email");
    QTest::addColumn<QString>("tokenval");
    QTest::addColumn<QByteArray>("cialo");
    QTest::newRow("pełny") << "tajne"
                           << "a@b.pl"
                           << "x7k"
                           << QByteArray("pwd=tajne&email=a@b.pl&tokenid=tok1&tokenval=x7k&"
                                         "code=1654008341\r\n");
    QTest::newRow("bez maila") << "tajne"
                               << ""
                               << "x7k"
                               << QByteArray("pwd=tajne&tokenid=tok1&tokenval=x7k&"
                                             "code=1654008341\r\n");
    QTest::newRow("& i spacja w haśle") << "a&b c"
                                        << "m"
                                        << "t"
                                        << QByteArray("pwd=a%26b+c&email=m&tokenid=tok1&"
                                                      "tokenval=t&code=1654008341\r\n");
    QTest::newRow("polskie litery w CP1250") << "żółw"
                                             << ""
                                             << "="
                                             << QByteArray("pwd=%BF%F3%B3w&tokenid=tok1&"
                                                           "tokenval=%3D&code=1654008341\r\n");
    QTest::newRow("wszystko puste") << ""
                                    << ""
                                    << "" << QByteArray("tokenid=tok1&code=1654008341\r\n");
  }
  void formularz()
  {
    QFETCH(QString, haslo);
    QFETCH(QString, email);
    QFETCH(QString, tokenval);
    QFETCH(QByteArray, cialo);
    QCOMPARE(FormularzRejestracji(haslo, email, QStringLiteral("tok1"), tokenval), cialo);
  }

  // Success, refusals and the wrong token are seen through the dialog; these are the edges.
  void wynik()
  {
    const TWynikRejestracji w = RozbierzWynikRejestracji(QStringLiteral("reg_success:1234567\r\n"));
    QCOMPARE(int(w.Rodzaj), int(TWynikRejestracji::Zarejestrowano));
    QCOMPARE(w.Numer, QStringLiteral("1234567"));
    QCOMPARE(int(RozbierzWynikRejestracji(QStringLiteral(" reg_success:1")).Rodzaj),
             int(TWynikRejestracji::Odmowa));
  }

  void adresy()
  {
    QCOMPARE(
        AdresUslugi(QStringLiteral("register.gadu-gadu.pl"), QStringLiteral("80"), SciezkaTokenu),
        QStringLiteral("http://register.gadu-gadu.pl/appsvc/regtoken.asp"));
    TToken t;
    t.AdresObrazka = QStringLiteral("http://r.pl/tokenpic.asp");
    t.Identyfikator = QStringLiteral("ab1");
    QCOMPARE(AdresObrazkaTokenu(t), QStringLiteral("http://r.pl/tokenpic.asp?tokenid=ab1"));
  }

  void zlyObrazek()
  {
    QVERIFY_THROWS_EXCEPTION(EBlad, DekodujObrazekTokenu("GIF89a\x03"));
    QVERIFY_THROWS_EXCEPTION(EBlad, DekodujObrazekTokenu(QByteArray()));
  }
};

PAPLANKI_TEST_MAIN(TestRejestracja)
#include "test_Rejestracja.moc"
