// The server's web services, stored contact list and public directory, through the client's own
// HTTP client, registration, list and directory code.

#include "common/SerwerPaplanek.h"
#include "common/Srodowisko.h"
#include "contacts/Galezie.h"
#include "dialogs/Rejestracja.h"
#include "gg/ListaKontaktow.h"
#include "gg/Pakiety.h"
#include "gg/SesjaZapytania.h"
#include "gg/StronyKodowe.h"
#include "net/KlientHttp.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>

namespace {

// The raw request on a connection of its own; everything the server sent until it closed.
QByteArray SurowaOdpowiedz(quint16 port, const QByteArray &zapytanie, int limitMs = 15000)
{
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  QByteArray wynik;
  if (::connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0) {
    [[maybe_unused]] const auto n =
        ::send(fd, zapytanie.constData(), size_t(zapytanie.size()), MSG_NOSIGNAL);
    QElapsedTimer zegar;
    zegar.start();
    while (zegar.elapsed() < limitMs) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 100) <= 0)
        continue;
      char b[4096];
      const auto r = ::recv(fd, b, sizeof b, 0);
      if (r <= 0)
        break;
      wynik.append(b, int(r));
    }
  }
  ::close(fd);
  return wynik;
}

QString Adres(const TProcesSerwera &s, QStringView sciezka)
{
  return AdresUslugi(QStringLiteral("127.0.0.1"), QString::number(s.PortHttp()), sciezka);
}

QStringList Wpisy()
{
  // 45 people in Kraków (numbers 2001..2045), a few elsewhere.
  QStringList w;
  for (int i = 1; i <= 45; ++i)
    w << QStringLiteral("--wpis")
      << QStringLiteral("%1:Imię%2:Nowak:nick%2:Kraków:%3:%4")
             .arg(2000 + i)
             .arg(i)
             .arg(i % 2 ? 1 : 2)
             .arg(1980 + i % 5);
  w << QStringLiteral("--wpis") << QStringLiteral("3001:Żaneta:Kowalska:żabka:Gdańsk:2:1990");
  w << QStringLiteral("--wpis") << QStringLiteral("3002:Jan:Kowalski:janek:Gdańsk:1:1991");
  w << QStringLiteral("--wpis") << QStringLiteral("1002:Ola:Lis:lisek:Gdańsk:2:1992");
  return w;
}

} // namespace

class TestSerwerUslugi : public QObject {
  Q_OBJECT

  std::unique_ptr<TProcesSerwera> serwer;

private slots:
  void init()
  {
    serwer = std::make_unique<TProcesSerwera>(
        QStringList{QStringLiteral("--konto"), QStringLiteral("1001:ala"),
                    QStringLiteral("--konto"), QStringLiteral("1002:ola"),
                    QStringLiteral("--komunikat"), QStringLiteral("Zażółć: nowa wersja")} +
        Wpisy());
    QVERIFY(serwer->Uruchom());
  }
  void cleanup()
  {
    if (QTest::currentTestFailed())
      qWarning().noquote() << serwer->Dziennik();
    serwer.reset();
  }

  // The lookup reply read by the client's own parser; the message only when newer.
  void wyszukiwanieSerwera_data()
  {
    QTest::addColumn<int>("ostatnia");
    QTest::addColumn<int>("numer");
    QTest::newRow("nowy komunikat") << 0 << 1;
    QTest::newRow("już widziany") << 1 << 0;
    QTest::newRow("z przyszłości") << 7 << 0;
  }
  void wyszukiwanieSerwera()
  {
    QFETCH(int, ostatnia);
    QFETCH(int, numer);
    QByteArray odpowiedz = SurowaOdpowiedz(
        serwer->PortHttp(), ZapytanieOSerwer(1001, ostatnia, QStringLiteral("localhost")));
    QVERIFY(odpowiedz.startsWith("HTTP/1.0 200"));
    QVERIFY(OdpowiedzKompletna(odpowiedz));
    const TOdpowiedzSerwera o = RozbierzOdpowiedzSerwera(odpowiedz);
    QCOMPARE(o.Numer, numer);
    QCOMPARE(o.Adres, QStringLiteral("127.0.0.1"));
    QCOMPARE(o.Port, QString::number(serwer->PortGG()));
    QCOMPARE(o.Informacja,
             numer ? AnsiToCp1250(QStringLiteral("Zażółć: nowa wersja")) : QByteArray());
  }

  // For a LAN the lookup announces the address given, not the one the server listens on.
  void adresPubliczny()
  {
    TProcesSerwera lan({QStringLiteral("--adres-publiczny"), QStringLiteral("192.0.2.7")});
    QVERIFY(lan.Uruchom());
    QByteArray odpowiedz =
        SurowaOdpowiedz(lan.PortHttp(), ZapytanieOSerwer(1001, 0, QStringLiteral("localhost")));
    const TOdpowiedzSerwera o = RozbierzOdpowiedzSerwera(odpowiedz);
    QCOMPARE(o.Adres, QStringLiteral("192.0.2.7"));
    QCOMPARE(o.Port, QString::number(lan.PortGG()));
  }

  void rejestracjaZTokenem()
  {
    TKlientHttp http;
    const TToken token =
        RozbierzToken(TekstOdpowiedzi(Pobierz(http, Adres(*serwer, SciezkaTokenu), true)));
    QCOMPARE(token.Szerokosc, 100);
    QCOMPARE(token.Wysokosc, 32);
    QCOMPARE(token.Dlugosc, 5);
    QVERIFY(!token.Identyfikator.isEmpty());

    // A real picture, with the digits drawn in it.
    const QImage obrazek = DekodujObrazekTokenu(Pobierz(http, AdresObrazkaTokenu(token), false));
    QCOMPARE(obrazek.size(), QSize(token.Szerokosc, token.Wysokosc));
    int ciemne = 0;
    for (int y = 0; y < obrazek.height(); ++y)
      for (int x = 0; x < obrazek.width(); ++x)
        ciemne += qGray(obrazek.pixel(x, y)) < 100;
    QVERIFY2(ciemne > 150, qPrintable(QString::number(ciemne)));

    const QString wartosc = QString::fromLatin1(ZapytajBaze(
        serwer->PlikBazy(), QStringLiteral("SELECT wartosc FROM tokeny WHERE CAST(id AS TEXT)='%1'")
                                .arg(token.Identyfikator)));
    QCOMPARE(wartosc.size(), 5);
    const QString haslo = QStringLiteral("tajne & gęste");
    const QByteArray formularz =
        FormularzRejestracji(haslo, QStringLiteral("a@b.pl"), token.Identyfikator, wartosc);
    const TWynikRejestracji wynik = RozbierzWynikRejestracji(
        TekstOdpowiedzi(Pobierz(http, Adres(*serwer, SciezkaRejestracji), true, formularz)));
    QCOMPARE(wynik.Rodzaj, TWynikRejestracji::Zarejestrowano);
    QCOMPARE(wynik.Numer, QStringLiteral("1003"));

    // The new account logs in with the password as typed.
    TKlientSerwera nowy(*serwer, 1003, haslo);
    QVERIFY(nowy.Zaloguj());

    // The token was used up.
    const TWynikRejestracji znowu = RozbierzWynikRejestracji(
        TekstOdpowiedzi(Pobierz(http, Adres(*serwer, SciezkaRejestracji), true, formularz)));
    QCOMPARE(znowu.Rodzaj, TWynikRejestracji::ZlyToken);
  }

  void zlyTokenZuzywaGo()
  {
    TKlientHttp http;
    const TToken token =
        RozbierzToken(TekstOdpowiedzi(Pobierz(http, Adres(*serwer, SciezkaTokenu), true)));
    const QString wartosc = QString::fromLatin1(ZapytajBaze(
        serwer->PlikBazy(), QStringLiteral("SELECT wartosc FROM tokeny WHERE CAST(id AS TEXT)='%1'")
                                .arg(token.Identyfikator)));
    const auto zarejestruj = [&](const QString &wpisana) {
      return RozbierzWynikRejestracji(TekstOdpowiedzi(Pobierz(
          http, Adres(*serwer, SciezkaRejestracji), true,
          FormularzRejestracji(QStringLiteral("x"), QString(), token.Identyfikator, wpisana))));
    };
    QCOMPARE(zarejestruj(wartosc == QStringLiteral("00000") ? QStringLiteral("11111")
                                                            : QStringLiteral("00000"))
                 .Rodzaj,
             TWynikRejestracji::ZlyToken);
    // No second guess on the same token.
    QCOMPARE(zarejestruj(wartosc).Rodzaj, TWynikRejestracji::ZlyToken);
  }

  // The menu command "Hasło" sends this with the fixed, unknown token: refused as such.
  void bezposredniaRejestracja()
  {
    const QByteArray odpowiedz =
        SurowaOdpowiedz(serwer->PortHttp(), ZapytanieRejestracji(QStringLiteral("127.0.0.1")));
    QCOMPARE(TrescOdpowiedzi(odpowiedz), QByteArray("bad_tokenval"));
  }

  void granice_data()
  {
    QTest::addColumn<QByteArray>("zapytanie");
    QTest::addColumn<QByteArray>("poczatek");
    QTest::newRow("nieznana ścieżka")
        << QByteArray("GET /index.html HTTP/1.0\r\n\r\n") << QByteArray("HTTP/1.0 404");
    QTest::newRow("nagłówek ponad 8 KiB")
        << QByteArray("GET /appsvc/appmsg4.asp HTTP/1.0\r\nX: " + QByteArray(9000, 'a') +
                      "\r\n\r\n")
        << QByteArray("HTTP/1.0 431");
    QTest::newRow("treść ponad 64 KiB")
        << QByteArray("POST /appsvc/fmregister3.asp HTTP/1.0\r\nContent-Length: 70000\r\n\r\n")
        << QByteArray("HTTP/1.0 413");
    QTest::newRow("treść ponad 64 KiB, wysłana")
        << QByteArray("POST /appsvc/fmregister3.asp HTTP/1.0\r\nContent-Length: 300000\r\n\r\n" +
                      QByteArray(300000, 'x'))
        << QByteArray("HTTP/1.0 413");
    QTest::newRow("zła długość")
        << QByteArray("POST /appsvc/regtoken.asp HTTP/1.0\r\nContent-Length: -5\r\n\r\n")
        << QByteArray("HTTP/1.0 400");
    QTest::newRow("niedokończone zapytanie")
        << QByteArray("GET /appsvc/appmsg4.asp HTTP/1.0\r\n") << QByteArray();
  }
  void granice()
  {
    QFETCH(QByteArray, zapytanie);
    QFETCH(QByteArray, poczatek);
    QElapsedTimer zegar;
    zegar.start();
    const QByteArray odpowiedz = SurowaOdpowiedz(serwer->PortHttp(), zapytanie);
    if (poczatek.isEmpty()) {
      // Closed without an answer once its 10 seconds are up.
      QCOMPARE(odpowiedz, QByteArray());
      QVERIFY(zegar.elapsed() >= 9000 && zegar.elapsed() < 14000);
    } else {
      QVERIFY2(odpowiedz.startsWith(poczatek), odpowiedz.left(40).constData());
    }
    // The service still answers others.
    QVERIFY(SurowaOdpowiedz(serwer->PortHttp(), ZapytanieOSerwer(1, 0, QStringLiteral("localhost")))
                .startsWith("HTTP/1.0 200"));
  }

  // Put in pieces, got back in parts, through the client's export and import.
  void listaKontaktow()
  {
    TKlientSerwera ala(*serwer, 1001, QStringLiteral("ala"));
    for (int i = 0; i < 120; ++i)
      ala.drzewo.DodajUzytkownika(5000 + i, QStringLiteral("Imię%1").arg(i),
                                  QStringLiteral("Nazwisko"), QStringLiteral("e%1@x.pl").arg(i),
                                  QStringLiteral("600%1").arg(i), QStringLiteral("Opis %1").arg(i),
                                  1);
    QVERIFY(ala.Zaloguj());
    const QString tekst = TekstListy(ala.drzewo);
    QVERIFY(tekst.size() > 2 * ZnakowWCzesciListy);
    WyslijListe(*ala.sesja, ala.drzewo, ala.odbior->BuforListy());
    QVERIFY(ala.Synchronizuj());
    const int czesci = int(CzesciListy(tekst).size());
    QCOMPARE(ala.Ile(GGAnsUserList), czesci);

    TKlientSerwera gdzieIndziej(*serwer, 1001, QStringLiteral("ala"));
    QVERIFY(gdzieIndziej.Zaloguj());
    PoprosOListe(*gdzieIndziej.sesja, gdzieIndziej.odbior->BuforListy());
    QTRY_COMPARE(gdzieIndziej.oknoOdbioru.Informacje.size(), 1);
    const auto czesciOdebrane = gdzieIndziej.Odebrane(GGAnsUserList);
    QCOMPARE(czesciOdebrane.size(), czesci);
    for (int i = 0; i < czesci; ++i)
      QCOMPARE(quint8(czesciOdebrane[i].cialo[0]), i + 1 < czesci ? 0x04 : 0x06);
    QCOMPARE(gdzieIndziej.drzewo.LiczbaGlownych(), 120);
    const auto *u = TDrzewo::UzytkownikWezla(gdzieIndziej.drzewo.ZnajdzUzytkownika(5119));
    QCOMPARE(u->Imie, QStringLiteral("Imię119"));
    QCOMPARE(u->EMail, QStringLiteral("e119@x.pl"));
  }

  void pustaListaKontaktow()
  {
    TKlientSerwera ola(*serwer, 1002, QStringLiteral("ola"));
    QVERIFY(ola.Zaloguj());
    PoprosOListe(*ola.sesja, ola.odbior->BuforListy());
    QTRY_COMPARE(ola.Ile(GGAnsUserList), 1);
    QCOMPARE(ola.Odebrane(GGAnsUserList)[0].cialo, QByteArray(1, '\x06'));
  }

  void wlasnyWpis()
  {
    TKlientSerwera ala(*serwer, 1001, QStringLiteral("ala"));
    QVERIFY(ala.Zaloguj());
    TDanePubliczne dane;
    dane.Imie = QStringLiteral("Alicja");
    dane.Nazwisko = QStringLiteral("Żółć");
    dane.Pseudonim = QStringLiteral("ala");
    dane.Miejscowosc = QStringLiteral("Łódź");
    dane.Urodzony = QStringLiteral("1985");
    dane.Plec = PlecKonta::Kobieta;
    WyslijZapisDanychPublicznych(*ala.sesja, dane, 1001, true);
    QVERIFY(ala.Synchronizuj());

    TKlientSerwera znowu(*serwer, 1001, QStringLiteral("ala"));
    QVERIFY(znowu.Zaloguj());
    WyslijOdczytDanychPublicznych(*znowu.sesja, 1001);
    QTRY_COMPARE(znowu.Ile(GGAnsPubDirReply), 1);
    QCOMPARE(znowu.katalogPubliczny.DanePubliczne(), dane);

    // And it can be found, the gender in the search dialog's numbering.
    znowu.kryteria = TKryteriaSzukania{};
    znowu.kryteria.Nazwisko = QStringLiteral("żółć");
    znowu.kryteria.Plec = PlecSzukania::Kobieta;
    znowu.katalogPubliczny.Wyszukaj();
    QTRY_VERIFY(!znowu.katalogPubliczny.Szukanie());
    QCOMPARE(znowu.katalogPubliczny.Wyniki().Liczba(), 1);
    QCOMPARE(znowu.katalogPubliczny.Wyniki().Numer(0), QStringLiteral("1001"));
    QCOMPARE(znowu.katalogPubliczny.Wyniki().Pole(0, 4), QStringLiteral("1"));
  }

  // Every criterion the client sends; 20 a page, the next pages fetched by the client itself.
  void szukanie_data()
  {
    QTest::addColumn<QString>("pole");
    QTest::addColumn<QString>("wartosc");
    QTest::addColumn<int>("ile");
    QTest::addColumn<QString>("pierwszy");
    QTest::newRow("miejscowość, trzy strony") << "miejscowosc"
                                              << "krak" << 45 << "2001";
    QTest::newRow("numer") << "numer"
                           << "2017" << 1 << "2017";
    QTest::newRow("imię") << "imie"
                          << "żan" << 1 << "3001";
    QTest::newRow("nazwisko") << "nazwisko"
                              << "kowalsk" << 2 << "3001";
    QTest::newRow("pseudonim") << "pseudonim"
                               << "nick4" << 7 << "2004";
    QTest::newRow("rok") << "rok"
                         << "1982" << 9 << "2002";
    QTest::newRow("kobieta") << "plec"
                             << "1" << 24 << "1002";
    QTest::newRow("mężczyzna") << "plec"
                               << "2" << 24 << "2001";
    QTest::newRow("tylko aktywni") << "aktywni"
                                   << "" << 1 << "1002";
    QTest::newRow("nikt") << "miejscowosc"
                          << "Radom" << 0 << "";
  }
  void szukanie()
  {
    QFETCH(QString, pole);
    QFETCH(QString, wartosc);
    QFETCH(int, ile);
    QFETCH(QString, pierwszy);
    TKlientSerwera ola(*serwer, 1002, QStringLiteral("ola"));
    QVERIFY(ola.Zaloguj());
    ola.sesja->UstawStan(2, QString());
    QVERIFY(ola.Synchronizuj());
    TKlientSerwera ala(*serwer, 1001, QStringLiteral("ala"));
    QVERIFY(ala.Zaloguj());
    TKryteriaSzukania &k = ala.kryteria;
    if (pole == QStringLiteral("miejscowosc"))
      k.Miejscowosc = wartosc;
    else if (pole == QStringLiteral("numer"))
      k.Numer = wartosc;
    else if (pole == QStringLiteral("imie"))
      k.Imie = wartosc;
    else if (pole == QStringLiteral("nazwisko"))
      k.Nazwisko = wartosc;
    else if (pole == QStringLiteral("pseudonim"))
      k.Pseudonim = wartosc;
    else if (pole == QStringLiteral("rok"))
      k.Urodzony = wartosc;
    else if (pole == QStringLiteral("plec"))
      k.Plec = wartosc.toInt();
    else if (pole == QStringLiteral("aktywni"))
      k.TylkoAktywni = true;
    ala.katalogPubliczny.Wyszukaj();
    const int strony = qMax(1, (ile + 19) / 20);
    QTRY_COMPARE(ala.Ile(GGAnsPubDirReply), strony);
    QVERIFY(ala.Synchronizuj());
    QCOMPARE(ala.Ile(GGAnsPubDirReply), strony);
    const TWynikiKatalogu &w = ala.katalogPubliczny.Wyniki();
    QCOMPARE(w.Liczba(), ile);
    if (ile > 0)
      QCOMPARE(w.Numer(0), pierwszy);
    for (int i = 1; i < w.Liczba(); ++i)
      QVERIFY(w.Numer(i - 1).toInt() < w.Numer(i).toInt());
  }
};

PAPLANKI_TEST_MAIN(TestSerwerUslugi)
#include "test_SerwerUslugi.moc"
