#include "common/KontaktyTestowe.h"
#include "common/Srodowisko.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "gg/ListaKontaktow.h"
#include "gg/Pakiety.h"
#include "gg/StronyKodowe.h"
#include "net/Gniazdo.h"

namespace {

const QString kEmoji = QString::fromUtf16(u"\U0001F600");

// Contacts whose lines are exactly `dlugosc` characters each (15 fixed characters, a
// five-digit number, the label twice).
void DodajKontaktyODlugosci(TDrzewo &d, int ile, int dlugosc)
{
  for (int i = 0; i < ile; ++i) {
    const int opis = (dlugosc - 15 - 5) / 2;
    d.DodajUzytkownika(10000 + i, {}, {}, {}, {}, QString(opis, QChar(u'a' + i % 26)), 3);
  }
}

} // namespace

class TestListaKontaktow : public QObject {
  Q_OBJECT
private slots:
  void pole_data()
  {
    QTest::addColumn<QString>("wartosc");
    QTest::addColumn<QString>("wynik");
    QTest::newRow("bez zmian") << "Zażółć gęślą"
                               << "Zażółć gęślą";
    QTest::newRow("średnik") << "a;b;"
                             << "a,b,";
    QTest::newRow("CR LF jako jedna spacja") << "a\r\nb"
                                             << "a b";
    QTest::newRow("same CR i LF") << "a\rb\nc"
                                  << "a b c";
    QTest::newRow("dwa końce wiersza") << "a\n\nb"
                                       << "a  b";
    QTest::newRow("LF CR to dwa") << "a\n\rb"
                                  << "a  b";
  }
  void pole()
  {
    QFETCH(QString, wartosc);
    QFETCH(QString, wynik);
    QCOMPARE(PoleListy(wartosc), wynik);
  }

  void liniaIDwanasciePol()
  {
    TDrzewo d;
    TWezel *w = d.DodajUzytkownika(123, QStringLiteral("Jan"), QStringLiteral("Kowalski"),
                                   QStringLiteral("j@k.pl"), QStringLiteral("555"),
                                   QStringLiteral("Janek"), 3);
    QCOMPARE(LiniaListy(*w->DaneJako<TUzytkownik>()),
             QStringLiteral("Jan;Kowalski;Janek;Janek;555;;123;j@k.pl;0;;0;\r\n"));

    // Separators and line breaks typed into any field keep one line of twelve fields.
    TWezel *z = d.DodajUzytkownika(-5, QStringLiteral("A;B"), QStringLiteral("C\r\nD"),
                                   QStringLiteral("e;\n"), QStringLiteral("1;2"),
                                   QStringLiteral("opis;z\rłamaniem"), 3);
    const QString linia = LiniaListy(*z->DaneJako<TUzytkownik>());
    QVERIFY(linia.endsWith(QStringLiteral("\r\n")));
    const QString tresc = linia.chopped(2);
    QVERIFY(!tresc.contains(u'\r') && !tresc.contains(u'\n'));
    const QStringList pola = tresc.split(u';');
    QCOMPARE(pola.size(), 12);
    QCOMPARE(pola[0], QStringLiteral("A,B"));
    QCOMPARE(pola[1], QStringLiteral("C D"));
    QCOMPARE(pola[3], QStringLiteral("opis,z łamaniem"));
    QCOMPARE(pola[4], QStringLiteral("1,2"));
    QCOMPARE(pola[6], QStringLiteral("-5"));
    QCOMPARE(pola[7], QStringLiteral("e, "));
  }

  void tylkoKontaktyNajwyzszegoPoziomu()
  {
    TDrzewo d;
    TWezel *a = d.DodajUzytkownika(1, {}, {}, {}, {}, QStringLiteral("a"), 3);
    TWezel *konferencja = d.Dodaj(nullptr, QStringLiteral("konferencja"));
    konferencja->UstawDane(std::make_shared<TKonferencja>(konferencja));
    d.Dodaj(nullptr, QStringLiteral("bez danych"));
    TWezel *b = d.DodajUzytkownika(2, {}, {}, {}, {}, QStringLiteral("b"), 3);
    d.Przenies(b, a); // dragged below another node: not exported
    d.DodajUzytkownika(3, {}, {}, {}, {}, QStringLiteral("c"), 3);
    QCOMPARE(TekstListy(d), QStringLiteral(";;a;a;;;1;;0;;0;\r\n;;c;c;;;3;;0;;0;\r\n"));
  }

  void czesci_data()
  {
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<QList<int>>("dlugosci"); // in UTF-16 units
    QTest::newRow("pusty") << QString() << QList<int>{0};
    QTest::newRow("5000") << QString(5000, u'x') << QList<int>{2040, 2040, 920};
    QTest::newRow("dokładnie 2040") << QString(2040, u'x') << QList<int>{2040};
    QTest::newRow("2041") << QString(2041, u'x') << QList<int>{2040, 1};
    // A pair at the boundary counts as one character and stays whole.
    QTest::newRow("para na granicy") << QString(2039, u'x') + kEmoji + u'y' << QList<int>{2041, 1};
    QTest::newRow("para tuż za granicą") << QString(2040, u'x') + kEmoji << QList<int>{2040, 2};
    QString same;
    for (int i = 0; i < 2041; ++i)
      same += kEmoji;
    QTest::newRow("same pary") << same << QList<int>{4080, 2};
    // A lone surrogate is a character of its own.
    QTest::newRow("samotny surogat")
        << QString(2039, u'x') + QChar(0xD83D) + u'y' << QList<int>{2040, 1};
  }
  void czesci()
  {
    QFETCH(QString, tekst);
    QFETCH(QList<int>, dlugosci);
    const QStringList czesci = CzesciListy(tekst);
    QList<int> wynik;
    for (const QString &c : czesci)
      wynik << int(c.size());
    QCOMPARE(wynik, dlugosci);
    QCOMPARE(czesci.join(QString()), tekst);
  }

  void cialaW1250_data()
  {
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<QByteArray>("bajty");
    QTest::newRow("polskie litery i euro")
        << "Zażółć gęślą jaźń €" << AnsiToCp1250(QStringLiteral("Zażółć gęślą jaźń €"));
    QTest::newRow("litera z kreską spoza 1250") << "à la" << QByteArray("a la");
    QTest::newRow("cyrylica") << "Жук" << QByteArray("???");
    QTest::newRow("para jako jeden znak")
        << QStringLiteral("a") + kEmoji + QStringLiteral("b") << QByteArray("a?b");
  }
  void cialaW1250()
  {
    QFETCH(QString, tekst);
    QFETCH(QByteArray, bajty);
    QCOMPARE(CialaZapisuListy(tekst), QList<QByteArray>{QByteArray(1, '\0') + bajty});
  }

  void czescZnakowSpoza1250MaTyleBajtow()
  {
    // Whatever is replaced, a full piece stays 2040 bytes on the wire.
    QString tekst;
    for (int i = 0; i < 3000; ++i)
      tekst += i % 3 == 0 ? kEmoji : i % 3 == 1 ? QStringLiteral("Ж") : QStringLiteral("ł");
    const QList<QByteArray> ciala = CialaZapisuListy(tekst);
    QCOMPARE(ciala.size(), 2);
    QCOMPARE(ciala[0].size(), 1 + 2040);
    QCOMPARE(ciala[0][0], '\x00');
    QCOMPARE(ciala[1].size(), 1 + 960);
    QCOMPARE(ciala[1][0], '\x01');
    QCOMPARE(ciala[0].mid(1, 3), QByteArray("??\xB3"));
  }

  void eksportPrzezLoopback_data()
  {
    QTest::addColumn<int>("kontaktow");
    QTest::addColumn<QList<int>>("dlugosciCial");
    QTest::newRow("5000 znaków") << 50 << QList<int>{2041, 2041, 921};
    QTest::newRow("bez kontaktów") << 0 << QList<int>{1};
  }
  void eksportPrzezLoopback()
  {
    QFETCH(int, kontaktow);
    QFETCH(QList<int>, dlugosciCial);
    TDrzewo d;
    DodajKontaktyODlugosci(d, kontaktow, 100);
    QCOMPARE(TekstListy(d).size(), kontaktow * 100);

    TSluchajacySerwerGG serwer;
    TGniazdo g;
    TNadawcaGniazda n(g);
    QVERIFY(serwer.Polacz(g));
    TBuforListy bufor;
    bufor.Dopisz(QStringLiteral("resztki poprzedniej wymiany"));
    WyslijListe(n, d, bufor);
    QVERIFY(bufor.Tekst().isEmpty());
    const QList<TPakietGG> pakiety = serwer.Zakoncz(g);

    QCOMPARE(pakiety.size(), dlugosciCial.size());
    QByteArray tekst;
    for (int i = 0; i < pakiety.size(); ++i) {
      QCOMPARE(pakiety[i].typ, GGReqUserList);
      QCOMPARE(pakiety[i].cialo.size(), dlugosciCial[i]);
      QCOMPARE(pakiety[i].cialo[0], char(i == 0 ? 0x00 : 0x01));
      tekst += pakiety[i].cialo.mid(1);
    }
    QCOMPARE(tekst, AnsiToCp1250(TekstListy(d)));
  }

  void zadanieListy()
  {
    TSluchajacySerwerGG serwer;
    TGniazdo g;
    TNadawcaGniazda n(g);
    QVERIFY(serwer.Polacz(g));
    TBuforListy bufor;
    bufor.Dopisz(QStringLiteral("stare;;;;;;1;\r\n"));
    PoprosOListe(n, bufor);
    QVERIFY(bufor.Tekst().isEmpty());
    QCOMPARE(serwer.Zakoncz(g), (QList<TPakietGG>{{GGReqUserList, QByteArray(1, '\x02')}}));
  }

  void powiadomienia()
  {
    TSluchajacySerwerGG serwer;
    TGniazdo g;
    TNadawcaGniazda n(g);
    int bledy = 0;
    g.OnError = [&](TGniazdo *) { ++bledy; };

    // Not connected: nothing is handed to the socket, so it reports nothing either.
    QVERIFY(!DodajPowiadomienie(n, 12345, TypPowiadomienia::Sledzony));
    QVERIFY(!UsunPowiadomienie(n, 12345, TypPowiadomienia::Usuniety));
    QCOMPARE(bledy, 0);

    QVERIFY(serwer.Polacz(g));
    QVERIFY(DodajPowiadomienie(n, 12345, TypPowiadomienia::Sledzony));
    QVERIFY(UsunPowiadomienie(n, -2, TypPowiadomienia::Usuniety));
    const QList<TPakietGG> pakiety = serwer.Zakoncz(g);
    QCOMPARE(pakiety.size(), 2);
    QCOMPARE(pakiety[0].typ, 0x0D);
    QCOMPARE(pakiety[0].cialo.toHex(' '), QByteArray("39 30 00 00 01 00 00 00"));
    QCOMPARE(pakiety[1].typ, 0x0E);
    QCOMPARE(pakiety[1].cialo.toHex(' '), QByteArray("fe ff ff ff 00 00 00 00"));
    QCOMPARE(bledy, 0);
  }

  void eksportBezPolaczenia()
  {
    // The list goes to the socket whatever its state; a refused piece ends the export, so the
    // socket reports one error, not one per piece.
    TDrzewo d;
    DodajKontaktyODlugosci(d, 50, 100);
    TGniazdo g;
    TNadawcaGniazda n(g);
    int bledy = 0;
    g.OnError = [&](TGniazdo *) { ++bledy; };
    TBuforListy bufor;
    WyslijListe(n, d, bufor);
    QCOMPARE(bledy, 1);
    QCOMPARE(g.LastError(), 10057);
    QVERIFY(bufor.Tekst().isEmpty());
    PoprosOListe(n, bufor);
    QCOMPARE(bledy, 2);
  }
};

PAPLANKI_TEST_MAIN(TestListaKontaktow)
#include "test_ListaKontaktow.moc"
