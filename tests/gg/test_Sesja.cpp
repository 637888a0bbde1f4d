#include "app/DataCzas.h"
#include "common/SerweryGG.h"
#include "common/Srodowisko.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "contacts/Sledzeni.h"
#include "contacts/Ustawienia.h"
#include "gg/Dziennik.h"
#include "gg/Liczby.h"
#include "gg/OknoSesji.h"
#include "gg/Pakiety.h"
#include "gg/Sesja.h"
#include "gg/SesjaPakiety.h"
#include "gg/SesjaZapytania.h"

#include <QEventLoop>
#include <QFile>
#include <QMap>
#include <QSettings>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <memory>
#include <stdexcept>

namespace {

const QString TekstPolaczony = QStringLiteral("Połączony z serwerem");
const QString TekstRozlaczony =
    QStringLiteral("Połączenie z serwerem komunikacyjnym zostało rozłączone");
const QString TekstNawiazane = QStringLiteral("Połączenie z serwerem nawiązane");
constexpr quint32 Ziarno = 0x12345678;

class TOknoTestowe : public TOknoSesji {
public:
  QString panele[3];
  QStringList panel2;     // every text panel 2 was given, in order
  QStringList komunikaty; // "caption|text"
  bool wcisniety = true;
  std::function<void(int, const QString &)> przyPanelu;
  std::function<void()> przyKomunikacie;

  void UstawTekstPanelu(int panel, const QString &tekst) override
  {
    panele[panel] = tekst;
    if (panel == PanelPolaczenia)
      panel2 << tekst;
    if (przyPanelu)
      przyPanelu(panel, tekst);
  }
  int PokazKomunikat(const QString &tekst, const QString &podpis, int styl) override
  {
    komunikaty << podpis + u'|' + QString::number(styl) + u'|' + tekst;
    if (przyKomunikacie)
      przyKomunikacie();
    return 1;
  }
  bool PolaczWcisniety() const override { return wcisniety; }
};

class TBazaTestowa : public TSledzeni {
public:
  int poZalogowaniu = 0;
  QString panelPrzyZalogowaniu;
  TOknoTestowe *okno = nullptr;
  void PoZalogowaniu() override
  {
    ++poZalogowaniu;
    panelPrzyZalogowaniu = okno->panele[2];
  }
  void Dodaj(int, const QString &, const QString &, const QString &, const QString &,
             const QString &) override
  {
  }
  void Zapisz(int, int, const QString &, const QString &, const QString &, const QString &,
              const QString &) override
  {
  }
};

// Settings, tree, log, window and the two loopback servers around one session.
struct TStanowisko {
  QTemporaryDir katalog;
  QSettings rejestr;
  std::unique_ptr<TUstawienia> ustawienia;
  TDrzewo drzewo;
  bool logowanie = true;
  TDziennik dziennik;
  TOknoTestowe okno;
  TBazaTestowa baza;
  quint32 teraz = 5000;
  TSerwerGGTestowy gg{Ziarno};
  TSerwerHttpGG http;
  std::unique_ptr<TSesjaGG> sesja;

  explicit TStanowisko(const std::function<void(QSettings &)> &przygotuj = {})
      : rejestr(katalog.filePath(QStringLiteral("p.conf")), QSettings::IniFormat),
        dziennik(katalog.filePath(QStringLiteral("p.log")), [this] { return logowanie; })
  {
    rejestr.setValue(QStringLiteral("Ustawienia/SerwerAlternatywny"), QStringLiteral("1"));
    if (przygotuj)
      przygotuj(rejestr);
    ustawienia = std::make_unique<TUstawienia>(rejestr, katalog.path());
    okno.wcisniety = ustawienia->Przylaczaj();
    baza.okno = &okno;
    gg.UstawOdpowiedzNaLogowanie(GGAnsLoginOk);
    http.UstawOdpowiedz({TSerwerHttpGG::OdpowiedzWyszukiwania(gg.PortTekst())});
    sesja = std::make_unique<TSesjaGG>(
        drzewo, *ustawienia, dziennik, okno, [this] { return &baza; }, [this] { return teraz; });
    sesja->UstawPortHttp(http.PortTekst());
  }

  [[nodiscard]] bool Zalogowano(int ktoreLogowanie = 1)
  {
    return QTest::qWaitFor([&] {
      return okno.panel2.count(TekstPolaczony) >= ktoreLogowanie &&
             gg.Polaczenia() >= ktoreLogowanie;
    });
  }

  // Section -> values of the event log, in file order.
  QMap<QString, QStringList> Dziennik() const
  {
    QMap<QString, QStringList> wynik;
    QFile plik(dziennik.Sciezka());
    if (!plik.open(QIODevice::ReadOnly))
      return wynik;
    QString sekcja;
    for (const QString &linia : QString::fromUtf8(plik.readAll()).split(u'\n')) {
      if (linia.startsWith(u'['))
        sekcja = linia.mid(1, linia.size() - 2);
      else if (linia.contains(u'='))
        wynik[sekcja] << linia.section(u'=', 1);
    }
    return wynik;
  }
};

QByteArray ZapytanieWzorcowe(const QByteArray &numer, const QByteArray &lastwiad)
{
  return "GET /appsvc/appmsg4.asp?fmnumber=" + numer +
         "&version=6%2C+0%2C+0%2C+136&fmt=2&lastwiad=" + lastwiad +
         " HTTP/1.0\r\n"
         "Host: localhost\r\n"
         "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
         "application/vnd.ms-powerpoint, application/vnd.ms-excel, application/vnd.msword, "
         "application/x-shockwave-flash, */*\r\n"
         "Accept-Language: pl\r\n"
         "User-Agent: Mozilla/4.0 (compatible; MSIE 5.0; Windows 98)\r\n"
         "Pragma: no-cache\r\n"
         "\r\n";
}

TWezel *DodajWiadomosc(TDrzewo &drzewo, TWezel *rodzic, int status, int numer, int sekwencja,
                       const QString &tekst, const QDateTime &czas)
{
  TWezel *w = drzewo.Dodaj(rodzic, tekst);
  w->UstawDane(std::make_shared<TWypowiedz>(
      w, std::make_unique<TDaneDodatkowe>(status, numer, 0, sekwencja, czas), tekst));
  return w;
}

} // namespace

class TestSesja : public QObject {
  Q_OBJECT
private slots:
  void naStarcie()
  {
    TStanowisko s;
    QCOMPARE(s.sesja->InterwalZegaraPingu(), 3256);
    QCOMPARE(s.sesja->InterwalZegaraLaczenia(), 60000);
    QVERIFY(!s.sesja->PingWlaczony());
    QVERIFY(!s.sesja->CzekaNaLaczenie());
    QCOMPARE(s.sesja->NumerWlasny(), -1);
    QCOMPARE(s.sesja->AdresInformacji(), QStringLiteral("localhost"));
    QCOMPARE(s.sesja->AdresRejestracji(), QStringLiteral("127.0.0.1"));
    s.sesja->UstawSerwerAlternatywny(false);
    QCOMPARE(s.sesja->AdresInformacji(), QStringLiteral("appmsg.gadu-gadu.pl"));
    QCOMPARE(s.sesja->AdresRejestracji(), QStringLiteral("register.gadu-gadu.pl"));
    QCOMPARE(s.sesja->PortHttp(), s.http.PortTekst());
  }

  void wyszukiwanieOtwieraPolaczenieGG_data()
  {
    QTest::addColumn<int>("numer");
    QTest::addColumn<int>("ostatniaInformacja");
    QTest::addColumn<QByteArray>("zapytanie");
    QTest::newRow("konto") << 123456 << 0 << ZapytanieWzorcowe("123456", "0");
    QTest::newRow("bez konta") << -1 << 17 << ZapytanieWzorcowe("-1", "17");
  }
  void wyszukiwanieOtwieraPolaczenieGG()
  {
    QFETCH(int, numer);
    QFETCH(int, ostatniaInformacja);
    QFETCH(QByteArray, zapytanie);
    TStanowisko s;
    s.gg.UstawOdpowiedzNaLogowanie(0);
    s.ustawienia->UstawNumerOstatniejInformacji(ostatniaInformacja);
    s.sesja->Start(numer, QStringLiteral("haslo"));
    QTRY_COMPARE(s.http.Zapytania().size(), 1);
    QCOMPARE(s.http.Zapytania().first(), zapytanie);
    // The lookup's close opens the GG connection at the address and port of the reply.
    QTRY_COMPARE(s.gg.Polaczenia(), 1);
    QTRY_COMPARE(s.gg.Pakiety(0, GGReqLogin60).size(), 1);
    QCOMPARE(s.sesja->AdresGG(), QStringLiteral("127.0.0.1"));
    QCOMPARE(s.sesja->PortGG(), s.gg.PortTekst());
    QCOMPARE(s.okno.panel2,
             QStringList({QStringLiteral("Pobieranie adresu serwera komunikacyjnego..."),
                          TekstNawiazane, QStringLiteral("Łączenie z serwerem komunikacyjnym..."),
                          TekstRozlaczony, TekstNawiazane}));
    QCOMPARE(s.Dziennik().value(QStringLiteral("Komunikacja")),
             QStringList({QStringLiteral("HttpSckSessionConnected"),
                          QStringLiteral("HttpSckSessionClosed"),
                          QStringLiteral("GgSckSessionConnected")}));
    QTRY_COMPARE(s.http.Zakonczone(), 1);
    QVERIFY(s.okno.komunikaty.isEmpty());
    QVERIFY(!s.sesja->CzekaNaLaczenie());
  }

  void informacjeSystemowe_data()
  {
    QTest::addColumn<int>("numer");
    QTest::addColumn<int>("przed");
    QTest::addColumn<bool>("informacjeGG");
    QTest::addColumn<QByteArray>("tekst");
    QTest::addColumn<QStringList>("pokazane");
    QTest::addColumn<int>("po");
    const QByteArray tekst = "Nowa wersja \xBF\xF3\xB3w"; // "Nowa wersja żółw" in 1250
    const QString pokazany = QStringLiteral("Informacja|0|Nowa wersja żółw");
    QTest::newRow("bez informacji") << 0 << 0 << true << QByteArray() << QStringList() << 0;
    QTest::newRow("starsza niż widziana") << 5 << 7 << true << tekst << QStringList() << 7;
    QTest::newRow("już widziana") << 7 << 7 << true << tekst << QStringList() << 7;
    QTest::newRow("nowa, pokazywanie włączone")
        << 9 << 7 << true << tekst << QStringList{pokazany} << 9;
    QTest::newRow("nowa, pokazywanie wyłączone") << 9 << 7 << false << tekst << QStringList() << 9;
    QTest::newRow("nowa bez tekstu") << 9 << 7 << true << QByteArray() << QStringList() << 9;
    QTest::newRow("numer 0 z tekstem") << 0 << -5 << true << tekst << QStringList() << -5;
  }
  void informacjeSystemowe()
  {
    QFETCH(int, numer);
    QFETCH(int, przed);
    QFETCH(bool, informacjeGG);
    QFETCH(QByteArray, tekst);
    QFETCH(QStringList, pokazane);
    QFETCH(int, po);
    TStanowisko s;
    s.gg.UstawOdpowiedzNaLogowanie(0);
    s.ustawienia->UstawNumerOstatniejInformacji(przed);
    s.ustawienia->UstawInformacjeGG(informacjeGG);
    s.http.UstawOdpowiedz({TSerwerHttpGG::OdpowiedzWyszukiwania(s.gg.PortTekst(), numer, tekst)});
    s.sesja->Polacz();
    QTRY_COMPARE(s.gg.Polaczenia(), 1);
    QCOMPARE(s.okno.komunikaty, pokazane);
    QCOMPARE(s.ustawienia->NumerOstatniejInformacji(), po);
  }

  // While the box is open its nested event loop delivers the rest of the reply; nothing of it is
  // read as a second reply, even when it looks like one.
  void odpowiedzWKawalkachCzytanaRaz_data()
  {
    QTest::addColumn<QList<QByteArray>>("kawalki");
    QTest::addColumn<QStringList>("pokazane");
    QTest::newRow("pusta linia rozcięta")
        << QList<QByteArray>{"HTTP/1.0 200 OK\r\n", "Content-Type: text/plain\r\n\r",
                             "\n9 0 127.0.0.1:%PORT% 127.0.0.1\r\n"}
        << QStringList();
    QTest::newRow("tekst dochodzi przy otwartym oknie")
        << QList<QByteArray>{"HTTP/1.0 200 OK\r\n", "Content-Type: text/plain\r\n",
                             "\r\n9 0 127.0.0.1:%PORT% 127.0.0.1\r\nPierwsza",
                             " część\r\n\r\n10 0 127.0.0.1:1 x\r\n", "Druga\r\n"}
        << QStringList{QStringLiteral("Informacja|0|Pierwsza")};
  }
  void odpowiedzWKawalkachCzytanaRaz()
  {
    QFETCH(QList<QByteArray>, kawalki);
    QFETCH(QStringList, pokazane);
    TStanowisko s;
    s.gg.UstawOdpowiedzNaLogowanie(0);
    s.ustawienia->UstawInformacjeGG(true);
    for (QByteArray &k : kawalki)
      k.replace("%PORT%", s.gg.PortTekst().toLatin1());
    s.http.UstawOdpowiedz(kawalki, false, 80);
    // The user reads the box; socket events run meanwhile.
    s.okno.przyKomunikacie = [] { QTest::qWait(500); };
    s.sesja->Polacz();
    QTRY_COMPARE(s.gg.Polaczenia(), 1);
    QTest::qWait(200); // boxes still to come would show by now
    QCOMPARE(s.okno.komunikaty, pokazane);
    QCOMPARE(s.ustawienia->NumerOstatniejInformacji(), 9);
    QCOMPARE(s.gg.Polaczenia(), 1);
    QCOMPARE(s.sesja->PortGG(), s.gg.PortTekst());
    QCOMPARE(s.Dziennik()
                 .value(QStringLiteral("Komunikacja"))
                 .count(QStringLiteral("HttpSckSessionClosed")),
             1);
  }

  // A lookup reply longer than any real one (64 KiB) fails like a lookup whose socket failed:
  // the retry timer is armed, no GG connection is opened and nothing of it is kept.
  void odpowiedzWyszukiwaniaOgraniczona_data()
  {
    QTest::addColumn<QByteArray>("naglowek");
    QTest::addColumn<bool>("przyjeta");
    const QByteArray linia = "X-Wypelnienie: 0123456789abcdef0123456789abcdef\r\n";
    QByteArray prawie = "HTTP/1.0 200 OK\r\n";
    while (prawie.size() + linia.size() < TSesjaGG::NajdluzszaOdpowiedzHttp - 100)
      prawie += linia;
    QTest::newRow("tuż poniżej") << prawie + "\r\n" << true;
    QTest::newRow("bez końca nagłówka") << prawie + linia + linia + linia << false;
  }
  void odpowiedzWyszukiwaniaOgraniczona()
  {
    QFETCH(QByteArray, naglowek);
    QFETCH(bool, przyjeta);
    TStanowisko s;
    s.gg.UstawOdpowiedzNaLogowanie(0);
    const QByteArray wiersz = "0 0 127.0.0.1:" + s.gg.PortTekst().toLatin1() + " x\r\n";
    QByteArray odpowiedz = naglowek;
    if (naglowek.endsWith("\r\n\r\n"))
      odpowiedz += wiersz;
    // The host keeps the connection open: only the client can end it.
    s.http.UstawOdpowiedz({odpowiedz});
    s.sesja->Polacz();
    if (przyjeta) {
      QTRY_COMPARE(s.gg.Polaczenia(), 1);
      QVERIFY(!s.sesja->CzekaNaLaczenie());
      return;
    }
    QTRY_VERIFY(s.sesja->CzekaNaLaczenie());
    QTRY_COMPARE(s.sesja->StanHttp(), gsClosed);
    QCOMPARE(s.Dziennik().value(QStringLiteral("Komunikacja")),
             QStringList({QStringLiteral("HttpSckSessionConnected"), QStringLiteral("HttpSckError"),
                          QStringLiteral("HttpSckSessionClosed")}));
    QCOMPARE(s.okno.panel2.last(), TekstRozlaczony);
    QVERIFY(s.sesja->HttpBufor().isEmpty());
    QTest::qWait(100); // no GG connection may follow
    QCOMPARE(s.gg.Polaczenia(), 0);
    QVERIFY(s.okno.komunikaty.isEmpty());
    // The retry looks up afresh and goes on as usual.
    s.http.UstawOdpowiedz({TSerwerHttpGG::OdpowiedzWyszukiwania(s.gg.PortTekst())});
    s.sesja->LaczenieTmrTimer();
    QTRY_COMPARE(s.gg.Polaczenia(), 1);
  }

  void odpowiedzBezSpacjiPoPorcie()
  {
    TStanowisko s;
    s.http.UstawOdpowiedz(
        {"HTTP/1.0 200 OK\r\n\r\n0 0 127.0.0.1:" + s.gg.PortTekst().toLatin1() + "\r\n"});
    s.sesja->Polacz();
    QTRY_VERIFY(s.sesja->CzekaNaLaczenie());
    QCOMPARE(s.sesja->AdresGG(), QStringLiteral("127.0.0.1"));
    QCOMPARE(s.sesja->PortGG(), QString());
    QCOMPARE(s.Dziennik().value(QStringLiteral("Komunikacja")).last(),
             QStringLiteral("GgSckError"));
    QTest::qWait(100); // no GG connection may follow
    QCOMPARE(s.gg.Polaczenia(), 0);
  }

  // The lookup may name the GG server instead of giving its address: the name is resolved
  // without holding the session up, and one that does not resolve ends as any socket error did.
  void serwerGGPodanyNazwa_data()
  {
    QTest::addColumn<QByteArray>("host");
    QTest::addColumn<QStringList>("dziennik");
    QTest::addColumn<QString>("panel");
    QTest::newRow("localhost") << QByteArray("localhost")
                               << QStringList{QStringLiteral("HttpSckSessionConnected"),
                                              QStringLiteral("HttpSckSessionClosed"),
                                              QStringLiteral("GgSckSessionConnected")}
                               << TekstPolaczony;
    QTest::newRow("nazwy nie ma") << QByteArray("nieistniejacy-host.invalid")
                                  << QStringList{QStringLiteral("HttpSckSessionConnected"),
                                                 QStringLiteral("HttpSckSessionClosed"),
                                                 QStringLiteral("GgSckError")}
                                  << TekstRozlaczony;
  }
  void serwerGGPodanyNazwa()
  {
    QFETCH(QByteArray, host);
    QFETCH(QStringList, dziennik);
    QFETCH(QString, panel);
    TStanowisko s;
    s.http.UstawOdpowiedz({"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n0 0 " + host + ':' +
                           s.gg.PortTekst().toLatin1() + " 127.0.0.1\r\n"});
    s.sesja->Start(123456, QStringLiteral("haslo"));
    QTRY_COMPARE(s.Dziennik().value(QStringLiteral("Komunikacja")).size(), dziennik.size());
    QTRY_COMPARE(s.okno.panel2.last(), panel);
    QCOMPARE(s.Dziennik().value(QStringLiteral("Komunikacja")), dziennik);
    const bool polaczony = panel == TekstPolaczony;
    QCOMPARE(s.sesja->CzekaNaLaczenie(), !polaczony);
    QCOMPARE(s.gg.Polaczenia(), polaczony ? 1 : 0);
    const int ileLaczenia =
        int(s.okno.panel2.count(QStringLiteral("Łączenie z serwerem komunikacyjnym...")));
    QCOMPARE(ileLaczenia, 1);
    if (!polaczony)
      QCOMPARE(s.okno.panel2.mid(s.okno.panel2.size() - 2),
               QStringList({TekstRozlaczony, TekstRozlaczony}));
  }

  // A lookup connection that fails still runs the connected handler; its request is refused,
  // the close opens the GG socket without an address, and that error arms the timer.
  void wyszukiwanieBezSerwera()
  {
    TStanowisko s;
    TPortBezSerwera brak;
    s.sesja->UstawPortHttp(brak.PortTekst());
    s.sesja->Polacz();
    QTRY_VERIFY(s.sesja->CzekaNaLaczenie());
    QCOMPARE(s.Dziennik().value(QStringLiteral("Komunikacja")),
             QStringList({QStringLiteral("HttpSckSessionConnected"),
                          QStringLiteral("HttpSckSessionClosed"), QStringLiteral("GgSckError")}));
    QCOMPARE(s.okno.panel2.last(), TekstRozlaczony);
  }

  void bladGniazdaHttp()
  {
    TStanowisko s;
    s.sesja->UstawPortHttp(QStringLiteral("nie-port"));
    s.sesja->Polacz();
    QVERIFY(s.sesja->CzekaNaLaczenie());
    QCOMPARE(s.Dziennik().value(QStringLiteral("Komunikacja")),
             QStringList{QStringLiteral("HttpSckError")});
    QCOMPARE(s.okno.panel2.last(), TekstRozlaczony);
  }

  void logowanieIListaKontaktow()
  {
    TStanowisko s;
    QFile lista(s.katalog.filePath(QStringLiteral("ListaBlokowanych")));
    QVERIFY(lista.open(QIODevice::WriteOnly));
    lista.write("6\n5\n");
    lista.close();
    s.ustawienia->WczytajListy();
    // 401 contacts, one of them (6) blocked: 7 blocked entries and 400 contacts go out.
    s.drzewo.DodajUzytkownika(6, {}, {}, {}, {}, QStringLiteral("szósty"), 3);
    for (int i = 0; i < 400; ++i)
      s.drzewo.DodajUzytkownika(2000 + i, {}, {}, {}, {}, QString::number(i), 1 + i % 3);

    s.sesja->Start(654321, QStringLiteral("tajne"));
    QVERIFY(s.Zalogowano());
    QTRY_COMPARE(s.gg.Pakiety(0).size(), 3);
    const QList<TPakietGG> pakiety = s.gg.Pakiety(0);
    QCOMPARE(pakiety[0].typ, GGReqLogin60);
    QCOMPARE(pakiety[0].cialo, RekordLogowania(654321, Ziarno, QStringLiteral("tajne"), 20));
    QCOMPARE(pakiety[1].typ, GGReqNotifyFirst);
    QCOMPARE(pakiety[1].cialo.size(), 400 * 5);
    QCOMPARE(pakiety[2].typ, GGReqNotifyLast);
    QCOMPARE(pakiety[2].cialo.size(), 7 * 5);
    // Blocked numbers first, in the list's text order, the built-in ones among them.
    const QStringList blokowani = s.ustawienia->ListaBlokowanych().Teksty();
    QCOMPARE(blokowani.size(), 7);
    for (int i = 0; i < 7; ++i) {
      QCOMPARE(LEToInt(pakiety[1].cialo, 5 * i), blokowani[i].toInt());
      QCOMPARE(int(pakiety[1].cialo[5 * i + 4]), 4);
    }
    QCOMPARE(LEToInt(pakiety[1].cialo, 35), 2000);
    QCOMPARE(LEToInt(pakiety[2].cialo, 30), 2399);

    QCOMPARE(s.baza.poZalogowaniu, 1);
    QCOMPARE(s.baza.panelPrzyZalogowaniu, TekstNawiazane);
    QVERIFY(s.sesja->Zalogowany());
    QCOMPARE(s.sesja->StanWlasny(), 20u);
    QCOMPARE(s.sesja->Ziarno(), Ziarno);
    QCOMPARE(s.sesja->OstatniPing(), s.teraz);
    QVERIFY(s.sesja->PingWlaczony());
    QVERIFY(!s.sesja->CzekaNaLaczenie());
  }

  void pustaListaKontaktow()
  {
    TStanowisko s;
    s.sesja->Start(1, QStringLiteral("x"));
    QVERIFY(s.Zalogowano());
    QTRY_COMPARE(s.gg.Pakiety(0).size(), 2);
    QCOMPARE(s.gg.Pakiety(0).at(1).typ, GGReqListEmpty);
    QVERIFY(s.gg.Pakiety(0).at(1).cialo.isEmpty());
  }

  void logowanieOdrzucone()
  {
    TStanowisko s;
    s.gg.UstawOdpowiedzNaLogowanie(GGAnsLoginFailed);
    s.drzewo.DodajUzytkownika(77, {}, {}, {}, {}, QStringLiteral("k"), 3);
    s.sesja->Start(1, QStringLiteral("złe"));
    QTRY_COMPARE(s.okno.panele[2], QStringLiteral("Połączenie nieudane"));
    QVERIFY(!s.sesja->Zalogowany());
    QTest::qWait(100); // nothing more may be sent after the refusal
    QCOMPARE(s.gg.Pakiety(0).size(), 1);
    QVERIFY(!s.sesja->PingWlaczony());
    QVERIFY(!s.sesja->CzekaNaLaczenie());
    QCOMPARE(s.baza.poZalogowaniu, 0);
    // The server's close starts the reconnection delay as after any other loss.
    s.gg.Rozlacz();
    QTRY_VERIFY(s.sesja->CzekaNaLaczenie());
    QCOMPARE(s.okno.panele[2], TekstRozlaczony);
  }

  void ponowienieNiewyslanych()
  {
    TStanowisko s;
    const QDateTime napisano(QDate(2024, 3, 8), QTime(9, 15, 2));
    TWezel *kontakt = s.drzewo.DodajUzytkownika(4242, {}, {}, {}, {}, QStringLiteral("k"), 3);
    DodajWiadomosc(s.drzewo, kontakt, 2, 4242, 11, QStringLiteral("odebrana"), QDateTime());
    TWezel *napisana =
        DodajWiadomosc(s.drzewo, kontakt, -1, 4242, 77, QStringLiteral("Zażółć gęślą"), napisano);
    DodajWiadomosc(s.drzewo, napisana, 4, 99, 78, QStringLiteral("bez miejsca"), napisano);
    DodajWiadomosc(s.drzewo, nullptr, 3, 5, 79, QStringLiteral("w kolejce"), napisano);

    QStringEncoder koder("windows-1250");
    const QByteArray tekst77 =
        koder.encode(QStringLiteral("[Przygotowano ") + DataCzasNaTekst(napisano) +
                     QStringLiteral("] Zażółć gęślą"));
    const QByteArray oczekiwane77 =
        IntToLE(4242) + IntToLE(77) + IntToLE(8) + tekst77 + QByteArray::fromHex("efbbbf00");

    s.drzewo.ZastosujStan(kontakt, 2);
    QVERIFY(!s.drzewo.MaStanWezla(kontakt, StanWezla::Wyciety));

    s.sesja->Start(1, QStringLiteral("x"));
    QVERIFY(s.Zalogowano());
    QTRY_COMPARE(s.gg.Pakiety(0, GGReqSendMsg).size(), 2);
    QList<TPakietGG> wyslane = s.gg.Pakiety(0, GGReqSendMsg);
    QCOMPARE(wyslane[0].cialo, oczekiwane77);
    QCOMPARE(LEToInt(wyslane[1].cialo), 99);
    QCOMPARE(LEToInt(wyslane[1].cialo, 4), 78);
    // Sent before "Połączony z serwerem", after the notify list.
    QCOMPARE(s.gg.Pakiety(0).at(1).typ, GGReqNotifyLast);
    QCOMPARE(napisana->DaneJako<TWypowiedz>()->DaneDodatkowe().StatusPotwierdzenia, -1);

    // No acknowledgement came: after the next login it goes again.
    s.gg.Rozlacz();
    QTRY_VERIFY(s.sesja->CzekaNaLaczenie());
    QVERIFY(!s.sesja->PingWlaczony());
    QVERIFY(s.drzewo.MaStanWezla(kontakt, StanWezla::Wyciety));
    s.sesja->LaczenieTmrTimer();
    QVERIFY(!s.sesja->CzekaNaLaczenie());
    QVERIFY(s.Zalogowano(2));
    QTRY_COMPARE(s.gg.Pakiety(1, GGReqSendMsg).size(), 2);
    QCOMPARE(s.gg.Pakiety(1, GGReqSendMsg).at(0).cialo, oczekiwane77);
    QCOMPARE(s.http.Przyjete(), 2);
  }

  void keepAlivePrzezZawiniecieLicznika()
  {
    TStanowisko s;
    s.teraz = 0xFFFFFFFFu - 50000u;
    const quint32 start = s.teraz;
    s.sesja->Start(1, QStringLiteral("x"));
    QVERIFY(s.Zalogowano());
    QCOMPARE(s.sesja->OstatniPing(), start);
    const auto pingi = [&] { return s.gg.Pakiety(0, GGReqPing).size(); };

    // Ticks of 3256 ms: the counter wraps after about 50 s; the first ping is due only after
    // more than 120 s.
    quint32 uplynelo = 0;
    while (uplynelo + 3256 <= 120000) {
      uplynelo += 3256;
      s.teraz = start + uplynelo;
      s.sesja->PingTmrTimer();
    }
    QTest::qWait(100); // no ping may go out yet
    QCOMPARE(pingi(), 0);
    uplynelo += 3256;
    s.teraz = start + uplynelo;
    s.sesja->PingTmrTimer();
    QVERIFY(uplynelo > 120000 && uplynelo <= 123256);
    QTRY_COMPARE(pingi(), 1);
    QVERIFY(s.gg.Pakiety(0, GGReqPing).first().cialo.isEmpty());
    QCOMPARE(s.sesja->OstatniPing(), s.teraz);

    // Not again on the next ticks, but once more after another 120 s.
    const quint32 pierwszy = s.teraz;
    for (int i = 1; i <= 36; ++i) {
      s.teraz = pierwszy + 3256u * quint32(i);
      s.sesja->PingTmrTimer();
    }
    QTest::qWait(100); // no second ping yet
    QCOMPARE(pingi(), 1);
    s.teraz = pierwszy + 3256u * 37u;
    s.sesja->PingTmrTimer();
    QTRY_COMPARE(pingi(), 2);
  }

  void ponownePolaczenie_data()
  {
    QTest::addColumn<bool>("wcisniety");
    QTest::newRow("Połącz wciśnięty") << true;
    QTest::newRow("Połącz zwolniony") << false;
  }
  void ponownePolaczenie()
  {
    QFETCH(bool, wcisniety);
    TStanowisko s;
    s.sesja->Start(1, QStringLiteral("x"));
    QVERIFY(s.Zalogowano());
    if (!wcisniety) {
      s.okno.wcisniety = false;
      s.sesja->PolaczTBClick();
      QVERIFY(!s.ustawienia->Przylaczaj());
      QTRY_COMPARE(s.gg.Pakiety(0, GGReqNewStatus).size(), 1);
      QCOMPARE(s.gg.Pakiety(0, GGReqNewStatus).first().cialo, IntToLE(1));
      QCOMPARE(s.okno.panele[0], QStringLiteral("Niedostępny"));
      // The program keeps the connection open.
      QTest::qWait(100); // the connection must stay open
      QCOMPARE(s.sesja->StanGG(), gsConnected);
    }
    s.gg.Rozlacz();
    QTRY_VERIFY(s.sesja->CzekaNaLaczenie());
    QCOMPARE(s.okno.panele[2], TekstRozlaczony);
    s.sesja->LaczenieTmrTimer();
    QVERIFY(!s.sesja->CzekaNaLaczenie());
    if (wcisniety) {
      QVERIFY(s.Zalogowano(2));
      QCOMPARE(s.http.Przyjete(), 2);
    } else {
      QTest::qWait(300); // no new lookup may start
      QCOMPARE(s.http.Przyjete(), 1);
      QCOMPARE(s.gg.Polaczenia(), 1);
    }
  }

  void przylaczajWylaczoneStartujeBezPolaczenia()
  {
    TStanowisko s([](QSettings &r) {
      r.setValue(QStringLiteral("Ustawienia/Przylaczaj"), QStringLiteral("0"));
    });
    QVERIFY(!s.okno.wcisniety);
    s.sesja->Start(1, QStringLiteral("x"));
    QTest::qWait(300); // no lookup may start
    QCOMPARE(s.http.Przyjete(), 0);
    QCOMPARE(s.gg.Polaczenia(), 0);
    QCOMPARE(s.sesja->StanHttp(), gsClosed);
    QVERIFY(s.okno.panel2.isEmpty());
    QVERIFY(!s.sesja->CzekaNaLaczenie());

    s.okno.wcisniety = true;
    s.sesja->PolaczTBClick();
    QVERIFY(s.Zalogowano());
    QVERIFY(s.ustawienia->Przylaczaj());
    QSettings zPliku(s.katalog.filePath(QStringLiteral("p.conf")), QSettings::IniFormat);
    QCOMPARE(zPliku.value(QStringLiteral("Ustawienia/Przylaczaj")).toString(), QStringLiteral("1"));
  }

  void ustawStan()
  {
    TStanowisko s;
    s.sesja->Start(1, QStringLiteral("x"));
    QVERIFY(s.Zalogowano());
    const QDateTime powrot(QDate(2025, 1, 2), QTime(8, 0));
    s.sesja->UstawStan(2, QString());
    s.sesja->UstawStan(2, QString());
    s.sesja->UstawStan(2, QStringLiteral("opis"));
    s.sesja->UstawStan(2, QStringLiteral("opis")); // 4 was sent, so 2 is not unchanged
    QCOMPARE(s.okno.panele[0], QStringLiteral("Dostępny"));
    QCOMPARE(s.okno.panele[1], QStringLiteral("opis"));
    s.sesja->UstawStan(1, QString(), powrot);
    s.sesja->UstawStan(6, QStringLiteral("blok"));
    QCOMPARE(s.okno.panele[0], QStringLiteral("Zablokowany"));
    QCOMPARE(s.sesja->StanWlasny(), 6u);

    QTRY_COMPARE(s.gg.Pakiety(0, GGReqNewStatus).size(), 5);
    const QList<TPakietGG> stany = s.gg.Pakiety(0, GGReqNewStatus);
    QCOMPARE(stany[0].cialo, IntToLE(2));
    QCOMPARE(stany[1].cialo, IntToLE(4) + "opis");
    QCOMPARE(stany[2].cialo, stany[1].cialo);
    QCOMPARE(stany[3].cialo,
             IntToLE(21) + QByteArray(1, '\0') + IntToLE(qint32(powrot.toSecsSinceEpoch())));
    QCOMPARE(stany[4].cialo, IntToLE(6) + "blok");
    QCOMPARE(s.Dziennik().value(QStringLiteral("ZmianyStanu")),
             QStringList({QStringLiteral("Dostępny"), QStringLiteral("Dostępny"),
                          QStringLiteral("Dostępny"), QStringLiteral("Niedostępny"),
                          QStringLiteral("Zablokowany")}));
  }

  // Sent whatever the connection: refused by the closed socket, it counts as a lost connection.
  void ustawStanBezPolaczenia()
  {
    TStanowisko s;
    s.sesja->UstawStan(3, QString());
    QCOMPARE(s.sesja->StanWlasny(), 3u);
    QCOMPARE(s.okno.panele[0], QStringLiteral("Zajęty"));
    QCOMPARE(s.okno.panele[2], TekstRozlaczony);
    QVERIFY(s.sesja->CzekaNaLaczenie());
    QCOMPARE(s.Dziennik().value(QStringLiteral("Komunikacja")),
             QStringList{QStringLiteral("GgSckError")});
  }

  void innePakietyIdaDalej()
  {
    TStanowisko s;
    QList<TPakietGG> odebrane;
    s.sesja->UstawObslugePakietow([&](qint32 typ, qint32 dlugosc, const QByteArray &cialo) {
      QCOMPARE(dlugosc, qint32(cialo.size()));
      odebrane.append({typ, cialo});
    });
    s.sesja->Start(1, QStringLiteral("x"));
    QVERIFY(s.Zalogowano());
    s.gg.Wyslij(ZbudujRamke(GGAnsRecvMsg, "abc") + ZbudujRamke(GGAnsPong, {}) +
                ZbudujRamke(GGAnsLoginOk, {}));
    QTRY_COMPARE(odebrane.size(), 2);
    QCOMPARE(odebrane[0].typ, GGAnsRecvMsg);
    QCOMPARE(odebrane[0].cialo, QByteArray("abc"));
    QCOMPARE(odebrane[1].typ, GGAnsPong);
    // The second login-ok was handled here: the notify list went out again.
    QTRY_COMPARE(s.gg.Pakiety(0, GGReqListEmpty).size(), 2);
  }

  void krotkiePowitanieOdrzucone()
  {
    TStanowisko s;
    s.sesja->Start(1, QStringLiteral("x"));
    QVERIFY(s.Zalogowano());
    constexpr quint32 NoweZiarno = 0x0BADF00D;
    s.gg.Wyslij(ZbudujRamke(GGAnsWelcome, QByteArray("\x01\x02", 2)) +
                ZbudujRamke(GGAnsWelcome, IntToLE(qint32(NoweZiarno))));
    QTRY_COMPARE(s.gg.Pakiety(0, GGReqLogin60).size(), 2);
    QTest::qWait(50); // no third login may follow
    const QList<TPakietGG> logowania = s.gg.Pakiety(0, GGReqLogin60);
    QCOMPARE(logowania.size(), 2);
    QCOMPARE(logowania[1].cialo, RekordLogowania(1, NoweZiarno, QStringLiteral("x"), 20));
    QCOMPARE(s.Dziennik().value(QStringLiteral("Błędne paczki")),
             QStringList{QStringLiteral("1 2 {01}{02}")});
  }

  void blednyStrumienZamykaPolaczenie()
  {
    TStanowisko s;
    s.sesja->Start(1, QStringLiteral("x"));
    QVERIFY(s.Zalogowano());
    s.gg.Wyslij(IntToLE(0x0A) + IntToLE(2 * 1024 * 1024) + "xyz");
    QTRY_VERIFY(s.sesja->CzekaNaLaczenie());
    QTRY_VERIFY(s.gg.ZamknietePrzezKlienta(0));
    QCOMPARE(s.Dziennik().value(QStringLiteral("Błędne paczki")),
             QStringList{QStringLiteral("A 2097152")});
    QCOMPARE(s.Dziennik().value(QStringLiteral("Komunikacja")).last(),
             QStringLiteral("GgSckSessionClosed"));
  }

  void wyjatekWObsludzePolaczenia()
  {
    TStanowisko s;
    s.gg.UstawOdpowiedzNaLogowanie(0);
    int nawiazane = 0;
    s.okno.przyPanelu = [&](int panel, const QString &tekst) {
      // The second "nawiązane" is the GG socket's connected handler.
      if (panel == 2 && tekst == TekstNawiazane && ++nawiazane == 2)
        throw std::runtime_error("awaria");
    };
    s.sesja->Polacz();
    QTRY_VERIFY(s.sesja->CzekaNaLaczenie());
    QCOMPARE(s.sesja->StanGG(), gsClosed);
    QCOMPARE(s.Dziennik().value(QStringLiteral("Komunikacja")),
             QStringList(
                 {QStringLiteral("HttpSckSessionConnected"), QStringLiteral("HttpSckSessionClosed"),
                  QStringLiteral("GgSckSessionConnected"), QStringLiteral("AnySckBgException"),
                  QStringLiteral("GgSckSessionClosed")}));
    QTRY_VERIFY(s.gg.ZamknietePrzezKlienta(0));
  }

  void rejestracja_data()
  {
    QTest::addColumn<QByteArray>("odpowiedz");
    QTest::addColumn<QString>("komunikat");
    QTest::addColumn<QStringList>("hasla");
    QTest::newRow("nowy numer") << QByteArray("HTTP/1.0 200 OK\r\n\r\nreg_success:4242\r\n")
                                << QStringLiteral("Zarejestrowano numer 4242 z hasłem zielik")
                                << QStringList{QStringLiteral("4242;zielik")};
    QTest::newRow("odmowa") << QByteArray("HTTP/1.0 200 OK\r\n\r\nbad_tokenval")
                            << QStringLiteral("Rejestracja nie powiodła się: bad_tokenval")
                            << QStringList();
  }
  void rejestracja()
  {
    QFETCH(QByteArray, odpowiedz);
    QFETCH(QString, komunikat);
    QFETCH(QStringList, hasla);
    TStanowisko s;
    s.http.UstawOdpowiedz({odpowiedz}, true);
    s.sesja->HasloClick();
    QTRY_COMPARE(s.okno.komunikaty.size(), 1);
    QCOMPARE(s.okno.komunikaty.first(), QStringLiteral("Informacja|0|") + komunikat);
    QCOMPARE(s.http.Zapytania(),
             QList<QByteArray>{ZapytanieRejestracji(QStringLiteral("127.0.0.1"))});
    QVERIFY(s.http.Zapytania().first().startsWith("GET /appsvc/fmregister3.asp HTTP/1.0\r\n"
                                                  "Host: 127.0.0.1\r\n"));
    QCOMPARE(s.Dziennik().value(QStringLiteral("Hasła")), hasla);
    QCOMPARE(s.okno.panel2, QStringList({QStringLiteral("Łączenie z serwerem rejestracyjnym..."),
                                         TekstNawiazane, TekstRozlaczony}));
    // The GG connection is not opened after the registration.
    QTest::qWait(200);
    QCOMPARE(s.gg.Polaczenia(), 0);
    QCOMPARE(s.sesja->StanGG(), gsClosed);
    QVERIFY(!s.sesja->CzekaNaLaczenie());
  }
};

PAPLANKI_TEST_MAIN(TestSesja)
#include "test_Sesja.moc"
