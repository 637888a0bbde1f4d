#include "app/DataCzas.h"
#include "common/Srodowisko.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "contacts/ListaTekstow.h"
#include "gg/Pakiety.h"
#include "gg/SesjaPakiety.h"
#include "gg/SesjaZapytania.h"
#include "gg/StronyKodowe.h"
#include "net/Blad.h"

#include <QSet>
#include <QStringEncoder>

#include <memory>

namespace {

QByteArray Hex(const char *hex)
{
  return QByteArray::fromHex(hex);
}

QByteArray Le(quint32 w)
{
  return QByteArray(1, char(w & 0xFF)) + char((w >> 8) & 0xFF) + char((w >> 16) & 0xFF) +
         char(w >> 24);
}

QByteArray W1250(const QString &tekst)
{
  QStringEncoder koder("windows-1250");
  return koder.encode(tekst);
}

// The login hash worked out again from the description of the algorithm, in 64-bit arithmetic
// with explicit masks, so that it shares nothing with the codec's code.
quint32 HashNiezalezny(quint32 ziarno, const QByteArray &haslo)
{
  const quint64 M = 0xFFFFFFFFull;
  quint64 y = ziarno, x = 0;
  for (const char znak : haslo) {
    x = ((x & 0xFFFFFF00ull) | quint8(znak)) & M;
    y ^= x;
    y = (y + x) & M;
    x = (x << 8) & M;
    y ^= x;
    x = (x << 8) & M;
    y = (y + (M + 1) - x) & M;
    x = (x << 8) & M;
    y ^= x;
    const unsigned z = unsigned(y & 31);
    if (z != 0)
      y = ((y << z) | (y >> (32 - z))) & M;
  }
  return quint32(y);
}

struct TWpis {
  qint32 numer;
  quint8 typ;
  bool operator==(const TWpis &) const = default;
};

char *toString(const TWpis &w)
{
  return qstrdup(QByteArray::number(w.numer).append('/').append(QByteArray::number(w.typ)));
}

} // namespace

Q_DECLARE_METATYPE(TWpis)

class TestSesjaPakiety : public QObject {
  Q_OBJECT
private slots:
  void hashNiezaleznyZgadzaSieZRecznym()
  {
    // Worked by hand from the algorithm's steps: "a" with seed 0.
    QCOMPARE(HashNiezalezny(0, "a"), 0x7A7D870Au);
  }

  void rekordLogowania_data()
  {
    QTest::addColumn<qint32>("numer");
    QTest::addColumn<quint32>("ziarno");
    QTest::addColumn<QString>("haslo");
    QTest::newRow("zwykłe") << 123456 << 0x12345678u << QStringLiteral("haslo");
    QTest::newRow("polskie litery") << 7654321 << 0xDEADBEEFu << QStringLiteral("żółć Ź");
    QTest::newRow("puste hasło") << 1 << 0xCAFEBABEu << QString();
    QTest::newRow("bez konta") << -1 << 0u << QStringLiteral("?????");
  }
  void rekordLogowania()
  {
    QFETCH(qint32, numer);
    QFETCH(quint32, ziarno);
    QFETCH(QString, haslo);
    const QByteArray rekord = RekordLogowania(numer, ziarno, haslo, StanGG::Niewidoczny);
    const QByteArray oczekiwany = Le(quint32(numer)) + Le(HashNiezalezny(ziarno, W1250(haslo))) +
                                  Hex("14000000"
                                      "20000000"
                                      "00"
                                      "000000000000000000000000"
                                      "ffbe");
    QCOMPARE(rekord.size(), 31);
    QCOMPARE(rekord.toHex(' '), oczekiwany.toHex(' '));
  }

  void rekordLogowaniaZnanyWzor()
  {
    QCOMPARE(RekordLogowania(123456, 0x12345678, QStringLiteral("haslo"), 20).toHex(),
             QByteArray("40e20100"
                        "6b3dc8ae"
                        "14000000"
                        "20000000"
                        "00"
                        "000000000000000000000000"
                        "ffbe"));
  }

  void listaKontaktow_data()
  {
    QTest::addColumn<QStringList>("blokowani");
    QTest::addColumn<int>("kontaktow");
    QTest::addColumn<QList<qint32>>("typy");
    QTest::addColumn<QList<int>>("wpisow");
    QTest::addColumn<QList<TWpis>>("poczatek"); // the first entries in order

    QTest::newRow("401 kontaktów")
        << QStringList() << 401 << QList<qint32>{GGReqNotifyFirst, GGReqNotifyLast}
        << QList<int>{400, 1} << QList<TWpis>{{1000, 1}, {1001, 2}, {1002, 3}};
    QTest::newRow("400 kontaktów") << QStringList() << 400 << QList<qint32>{GGReqNotifyLast}
                                   << QList<int>{400} << QList<TWpis>{{1000, 1}};
    QTest::newRow("3 blokowanych i 398")
        << QStringList{QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9")} << 398
        << QList<qint32>{GGReqNotifyFirst, GGReqNotifyLast} << QList<int>{400, 1}
        << QList<TWpis>{{7, 4}, {8, 4}, {9, 4}, {1000, 1}};
    QTest::newRow("801 kontaktów")
        << QStringList() << 801
        << QList<qint32>{GGReqNotifyFirst, GGReqNotifyFirst, GGReqNotifyLast}
        << QList<int>{400, 400, 1} << QList<TWpis>{{1000, 1}};
    QTest::newRow("pusto") << QStringList() << 0 << QList<qint32>{GGReqListEmpty} << QList<int>{0}
                           << QList<TWpis>{};
    QTest::newRow("tylko blokowani")
        << QStringList{QStringLiteral("5")} << 0 << QList<qint32>{GGReqNotifyLast} << QList<int>{1}
        << QList<TWpis>{{5, 4}};
    // Sent once, as blocked; compared as numbers, so "01003" is the contact 1003 too. The
    // blocked list is held in text order.
    QTest::newRow("blokowany jest też kontaktem")
        << QStringList{QStringLiteral("1002"), QStringLiteral("01003")} << 5
        << QList<qint32>{GGReqNotifyLast} << QList<int>{5}
        << QList<TWpis>{{1003, 4}, {1002, 4}, {1000, 1}, {1001, 2}, {1004, 2}};
    QTest::newRow("puste i nienumeryczne wpisy pominięte")
        << QStringList{QString(), QStringLiteral("abc"), QStringLiteral(" 77 "),
                       QStringLiteral("12x"), QStringLiteral("   ")}
        << 2 << QList<qint32>{GGReqNotifyLast} << QList<int>{3}
        << QList<TWpis>{{77, 4}, {1000, 1}, {1001, 2}};
  }
  void listaKontaktow()
  {
    QFETCH(QStringList, blokowani);
    QFETCH(int, kontaktow);
    QFETCH(QList<qint32>, typy);
    QFETCH(QList<int>, wpisow);
    QFETCH(QList<TWpis>, poczatek);

    TDrzewo drzewo;
    // A node without a contact among them is no entry.
    drzewo.Dodaj(nullptr, QStringLiteral("konferencja"));
    for (int i = 0; i < kontaktow; ++i) {
      // Only the low byte of Sledzony is the user type.
      const int sledzony = (i % 3 + 1) | (i == 1 ? 0x100 : 0);
      TWezel *w = drzewo.DodajUzytkownika(1000 + i, {}, {}, {}, {}, QString::number(i), sledzony);
      if (i == 0)
        drzewo.Dodaj(w, QStringLiteral("dziecko nie jest kontaktem głównym"));
    }
    TListaPosortowana lista;
    for (const QString &n : blokowani)
      lista.Dodaj(n);

    QList<qint32> otrzymaneTypy;
    QList<int> otrzymaneWpisy;
    QList<TWpis> wszystkie;
    ZbudujListeKontaktow(drzewo, lista, [&](qint32 typ, const QByteArray &cialo) {
      otrzymaneTypy << typ;
      QCOMPARE(cialo.size() % 5, 0);
      otrzymaneWpisy << int(cialo.size() / 5);
      for (qsizetype p = 0; p < cialo.size(); p += 5) {
        const auto u = [&](int k) { return quint32(quint8(cialo[p + k])); };
        wszystkie << TWpis{qint32(u(0) | u(1) << 8 | u(2) << 16 | u(3) << 24), quint8(u(4))};
      }
    });
    QCOMPARE(otrzymaneTypy, typy);
    QCOMPARE(otrzymaneWpisy, wpisow);
    QVERIFY(wszystkie.size() >= poczatek.size());
    QCOMPARE(wszystkie.mid(0, poczatek.size()), poczatek);
    // Every contact exactly once.
    QSet<qint32> numery;
    for (const TWpis &w : wszystkie)
      QVERIFY2(!numery.contains(w.numer), qPrintable(QString::number(w.numer)));
    for (const TWpis &w : wszystkie)
      numery.insert(w.numer);
  }

  void cialoNowegoStanu_data()
  {
    const QDateTime czas(QDate(2024, 7, 1), QTime(12, 30));
    const QByteArray czasLE = Le(quint32(czas.toSecsSinceEpoch()));
    QTest::addColumn<quint32>("status");
    QTest::addColumn<QString>("opis");
    QTest::addColumn<QDateTime>("powrot");
    QTest::addColumn<quint32>("kod");
    QTest::addColumn<QByteArray>("cialo");
    QTest::addColumn<QString>("nazwa");
    QTest::newRow("dostępny") << 2u << QString() << QDateTime() << 2u << Hex("02000000")
                              << QStringLiteral("Dostępny");
    QTest::newRow("dostępny z opisem") << 2u << QStringLiteral("opis") << QDateTime() << 4u
                                       << Hex("04000000") + "opis" << QStringLiteral("Dostępny");
    QTest::newRow("niedostępny z czasem")
        << 1u << QString() << czas << 21u << Hex("1500000000") + czasLE
        << QStringLiteral("Niedostępny");
    QTest::newRow("zajęty z opisem") << 3u << QStringLiteral("x") << QDateTime() << 5u
                                     << Hex("05000000") + "x" << QStringLiteral("Zajęty");
    // The description goes in code page 1250: ą B9, ę EA.
    QTest::newRow("niewidoczny, polski opis i czas")
        << 20u << QStringLiteral("ąę") << czas << 22u << Hex("16000000b9ea00") + czasLE
        << QStringLiteral("Niewidoczny");
    QTest::newRow("zablokowany zostaje")
        << 6u << QStringLiteral("nie") << QDateTime() << 6u << Hex("06000000") + "nie"
        << QStringLiteral("Zablokowany");
    QTest::newRow("pisze") << 4u << QStringLiteral("piszę") << QDateTime() << 4u
                           << Hex("040000007069737aea") << QStringLiteral("Dostępny");
    QTest::newRow("nieznany") << 99u << QStringLiteral("a") << QDateTime() << 99u
                              << Hex("63000000") + "a" << QStringLiteral("Nieznany");
  }
  void cialoNowegoStanu()
  {
    QFETCH(quint32, status);
    QFETCH(QString, opis);
    QFETCH(QDateTime, powrot);
    QFETCH(quint32, kod);
    QFETCH(QByteArray, cialo);
    QFETCH(QString, nazwa);
    QCOMPARE(StanZOpisem(status, opis, powrot), kod);
    QCOMPARE(CialoNowegoStanu(kod, opis, powrot).toHex(' '), cialo.toHex(' '));
    QCOMPARE(NazwaKoduStanu(kod), nazwa);
  }

  void ponowienie_data()
  {
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("ponowic");
    QTest::newRow("napisana, bez potwierdzenia") << -1 << true;
    QTest::newRow("nigdy nie potwierdzona") << 0 << true;
    QTest::newRow("doręczona") << 2 << false;
    QTest::newRow("zablokowana (1)") << 1 << false;
    QTest::newRow("w kolejce") << 3 << false;
    QTest::newRow("brak miejsca") << 4 << true;
    QTest::newRow("inny kod") << 77 << true;
  }
  void ponowienie()
  {
    QFETCH(int, status);
    QFETCH(bool, ponowic);
    const QDateTime utworzono(QDate(2023, 12, 24), QTime(18, 5, 9));
    TDrzewo drzewo;
    TWezel *w = drzewo.Dodaj(nullptr, QStringLiteral("Cześć €"));
    auto wypowiedz = std::make_shared<TWypowiedz>(
        w, std::make_unique<TDaneDodatkowe>(status, 4242, 0, 77, utworzono),
        QStringLiteral("Cześć €"));
    w->UstawDane(wypowiedz);
    QCOMPARE(CzekaNaPonowienie(*wypowiedz), ponowic);
    const QByteArray oczekiwane = Le(4242) + Le(77) + Le(8) +
                                  W1250(QStringLiteral("[Przygotowano ") +
                                        DataCzasNaTekst(utworzono) + QStringLiteral("] Cześć €")) +
                                  Hex("efbbbf00");
    QCOMPARE(CialoPonowienia(*wypowiedz).toHex(' '), oczekiwane.toHex(' '));
  }

  void kodujUrl_data()
  {
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<QString>("wynik");
    QTest::newRow("wersja") << QStringLiteral("6, 0, 0, 136")
                            << QStringLiteral("6%2C+0%2C+0%2C+136");
    QTest::newRow("bez zmian") << QStringLiteral("AZaz09!$'()*-._@")
                               << QStringLiteral("AZaz09!$'()*-._@");
    QTest::newRow("znaki formularza")
        << QStringLiteral("a&b=c d+e%/~:") << QStringLiteral("a%26b%3Dc+d%2Be%25%2F%7E%3A");
    QTest::newRow("polskie w 1250") << QStringLiteral("zażółć") << QStringLiteral("za%BF%F3%B3%E6");
    QTest::newRow("sterujące i wysokie")
        << QStringLiteral("\t\x7f€") << QStringLiteral("%09%7F%80");
  }
  void kodujUrl()
  {
    QFETCH(QString, tekst);
    QFETCH(QString, wynik);
    QCOMPARE(KodujUrl(tekst), wynik);
    // What a form reader makes of it is the 1250 text again.
    QCOMPARE(DekodujUrl(KodujUrl(tekst).toLatin1()), AnsiToCp1250(tekst));
  }

  void dekodujUrl_data()
  {
    QTest::addColumn<QByteArray>("tekst");
    QTest::addColumn<QByteArray>("wynik");
    QTest::newRow("małe cyfry") << QByteArray("za%bf%F3") << QByteArray("za\xbf\xf3");
    QTest::newRow("urwany procent") << QByteArray("a%4") << QByteArray("a%4");
    QTest::newRow("procent na końcu") << QByteArray("a%") << QByteArray("a%");
    QTest::newRow("nie cyfry") << QByteArray("%zz%4g") << QByteArray("%zz%4g");
    QTest::newRow("plus i NUL") << QByteArray("a+b%00c") << QByteArray("a b\0c", 5);
  }
  void dekodujUrl()
  {
    QFETCH(QByteArray, tekst);
    QFETCH(QByteArray, wynik);
    QCOMPARE(DekodujUrl(tekst), wynik);
  }

  void zapytanieRejestracji()
  {
    const QByteArray tresc =
        "pwd=zielik&email=pap@kol.pl&tokenid=3B9F17D2&tokenval=a7c31f&code=1654008341\r\n";
    QCOMPARE(ZapytanieRejestracji(QStringLiteral("register.gadu-gadu.pl")),
             "GET /appsvc/fmregister3.asp HTTP/1.0\r\n"
             "Host: register.gadu-gadu.pl\r\n"
             "Content-Type: application/x-www-form-urlencoded\r\n"
             "User-Agent: Mozilla/4.0 (compatible; MSIE 5.0; Windows 98)\r\n"
             "Content-Length: " +
                 QByteArray::number(tresc.size()) +
                 "\r\n"
                 "Pragma: no-cache\r\n"
                 "\r\n" +
                 tresc);
    QCOMPARE(tresc.size(), 78);
  }

  void odpowiedzSerwera_data()
  {
    const QByteArray n = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";
    QTest::addColumn<QByteArray>("odpowiedz");
    QTest::addColumn<int>("numer");
    QTest::addColumn<QString>("adres");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QByteArray>("informacja");
    QTest::newRow("zwykła") << n + "0 0 1.2.3.4:8074 1.2.3.4\r\n"
                            << 0 << "1.2.3.4"
                            << "8074" << QByteArray();
    QTest::newRow("bez spacji po porcie") << n + "0 0 1.2.3.4:8074\r\n"
                                          << 0 << "1.2.3.4"
                                          << "" << QByteArray();
    QTest::newRow("z informacją") << n + "9 x 1.2.3.4:443 y\r\nTre\xB6\xE6\r\n\r\nkoniec" << 9
                                  << "1.2.3.4"
                                  << "443" << QByteArray("Tre\xB6\xE6\r\n\r\nkoniec");
    // A reply that begins with CR LF loses only those two bytes.
    QTest::newRow("bez nagłówka") << QByteArray("\r\n5 0 1.2.3.4:80 x\r\n\r\n") << 5 << "1.2.3.4"
                                  << "80" << QByteArray("\r\n");
    // An absent ":" gives an empty address and leaves the text for the port.
    QTest::newRow("bez dwukropka") << n + "0 0 1.2.3.4 x\r\n"
                                   << 0 << ""
                                   << "1.2.3.4" << QByteArray();
    QTest::newRow("ujemny numer") << n + "-3 0 a:1 b\n"
                                  << -3 << "a"
                                  << "1" << QByteArray();
  }
  void odpowiedzSerwera()
  {
    QFETCH(QByteArray, odpowiedz);
    QFETCH(int, numer);
    QFETCH(QString, adres);
    QFETCH(QString, port);
    QFETCH(QByteArray, informacja);
    QVERIFY(OdpowiedzKompletna(odpowiedz));
    QByteArray bufor = odpowiedz;
    const TOdpowiedzSerwera o = RozbierzOdpowiedzSerwera(bufor);
    QCOMPARE(o.Numer, numer);
    QCOMPARE(o.Adres, adres);
    QCOMPARE(o.Port, port);
    QCOMPARE(o.Informacja, informacja);
    QCOMPARE(bufor, informacja);
  }

  void odpowiedzBezNumeru_data()
  {
    QTest::addColumn<QByteArray>("odpowiedz");
    QTest::newRow("nienumeryczny") << QByteArray("H\r\n\r\nabc 0 1.2.3.4:80 x\r\n");
    QTest::newRow("pusty") << QByteArray("H\r\n\r\n 0 1.2.3.4:80 x\r\n");
    QTest::newRow("bez spacji") << QByteArray("H\r\n\r\n");
  }
  void odpowiedzBezNumeru()
  {
    QFETCH(QByteArray, odpowiedz);
    QByteArray bufor = odpowiedz;
    QVERIFY_THROWS_EXCEPTION(EConvertError, RozbierzOdpowiedzSerwera(bufor));
  }

  void odpowiedzNiekompletna()
  {
    QVERIFY(!OdpowiedzKompletna("HTTP/1.0 200 OK\r\n\r"));
    QVERIFY(!OdpowiedzKompletna("0 0 1.2.3.4:80 x\r\n"));
  }

  void odpowiedzRejestracji_data()
  {
    QTest::addColumn<QByteArray>("odpowiedz");
    QTest::addColumn<QString>("numer");
    QTest::newRow("sukces") << QByteArray("HTTP/1.0 200 OK\r\n\r\nreg_success:4242\r\n")
                            << QStringLiteral("4242");
    QTest::newRow("bez nagłówka") << QByteArray("reg_success:17") << QStringLiteral("17");
    QTest::newRow("zły token") << QByteArray("HTTP/1.0 200 OK\r\n\r\nbad_tokenval") << QString();
    QTest::newRow("pusto") << QByteArray() << QString();
  }
  void odpowiedzRejestracji()
  {
    QFETCH(QByteArray, odpowiedz);
    QFETCH(QString, numer);
    const QString wynik = NumerZRejestracji(TrescOdpowiedzi(odpowiedz));
    QCOMPARE(wynik, numer);
    QCOMPARE(wynik.isNull(), numer.isNull());
  }
};

PAPLANKI_TEST_MAIN(TestSesjaPakiety)
#include "test_SesjaPakiety.moc"
