#include "common/ServerTestowy.h"
#include "common/Srodowisko.h"
#include "net/Gniazdo.h"
#include "net/KodyBledow.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace {

QString NazwaStanu(TStanGniazda stan)
{
  static const char *const nazwy[] = {"gsInvalidState", "gsOpened",    "gsBound",
                                      "gsConnecting",   "gsConnected", "gsAccepting",
                                      "gsListening",    "gsClosed"};
  return QString::fromLatin1(nazwy[stan]);
}

// Records what the socket reports, in order; consecutive data reports count as one entry.
struct TDziennik {
  QStringList zdarzenia;
  QByteArray dane;
  int rozmiarOdczytu = 10000;
  int zamkniecia = 0;

  void Podlacz(TGniazdo &g)
  {
    g.OnSessionConnected = [this](TGniazdo *s, quint16 e) {
      zdarzenia << QStringLiteral("połączono %1 %2").arg(e).arg(NazwaStanu(s->State()));
    };
    g.OnDataAvailable = [this](TGniazdo *s, quint16) {
      char bufor[10000];
      const int ile = s->Receive(bufor, rozmiarOdczytu);
      if (ile > 0) {
        dane.append(bufor, ile);
        if (zdarzenia.isEmpty() || zdarzenia.last() != QLatin1String("dane"))
          zdarzenia << QStringLiteral("dane");
      }
    };
    g.OnSessionClosed = [this](TGniazdo *s, quint16 e) {
      ++zamkniecia;
      zdarzenia << QStringLiteral("zamknięto %1 %2").arg(e).arg(NazwaStanu(s->State()));
    };
    g.OnError = [this](TGniazdo *s) {
      zdarzenia << QStringLiteral("błąd %1 %2").arg(s->LastError()).arg(s->OstatniKomunikat());
    };
  }
};

void UstawCel(TGniazdo &g, const QString &port, const QString &adres = QStringLiteral("127.0.0.1"))
{
  g.SetAddr(adres);
  g.SetPort(port);
}

QByteArray Wzor(qsizetype rozmiar)
{
  QByteArray wynik(rozmiar, Qt::Uninitialized);
  quint32 x = 12345;
  for (qsizetype i = 0; i < rozmiar; ++i) {
    x = x * 1103515245u + 12345u;
    wynik[i] = char(x >> 24);
  }
  return wynik;
}

} // namespace

class TestGniazdo : public QObject {
  Q_OBJECT
private slots:
  void odmowaPolaczenia()
  {
    TPortBezSerwera port;
    TGniazdo g;
    TDziennik d;
    d.Podlacz(g);
    QStringList przejscia;
    g.OnChangeState = [&](TGniazdo *, TStanGniazda stary, TStanGniazda nowy) {
      przejscia << NazwaStanu(stary) + QLatin1Char('>') + NazwaStanu(nowy);
    };
    UstawCel(g, port.PortTekst());
    g.Connect();
    QCOMPARE(g.State(), gsConnecting);
    QVERIFY(d.zdarzenia.isEmpty());
    QTRY_COMPARE(d.zdarzenia.size(), 2);
    QTest::qWait(50); // nothing more may follow the close
    QCOMPARE(d.zdarzenia, QStringList({QStringLiteral("połączono 10061 gsConnected"),
                                       QStringLiteral("zamknięto 0 gsClosed")}));
    QCOMPARE(przejscia, QStringList({QStringLiteral("gsClosed>gsOpened"),
                                     QStringLiteral("gsOpened>gsConnecting"),
                                     QStringLiteral("gsConnecting>gsConnected"),
                                     QStringLiteral("gsConnected>gsClosed")}));
  }

  void zamkniecieDrugiejStrony_data()
  {
    QTest::addColumn<QString>("adres");
    QTest::addColumn<int>("rozmiarOdczytu");
    QTest::addColumn<bool>("reset");
    QTest::newRow("adres numeryczny") << QStringLiteral("127.0.0.1") << 10000 << false;
    QTest::newRow("nazwa hosta") << QStringLiteral("localhost") << 10000 << false;
    QTest::newRow("spacje wokół adresu") << QStringLiteral("  127.0.0.1 ") << 10000 << false;
    QTest::newRow("odczyt po 3 bajty") << QStringLiteral("127.0.0.1") << 3 << false;
    QTest::newRow("reset") << QStringLiteral("127.0.0.1") << 10000 << true;
  }
  void zamkniecieDrugiejStrony()
  {
    QFETCH(QString, adres);
    QFETCH(int, rozmiarOdczytu);
    QFETCH(bool, reset);
    const QByteArray tresc = Wzor(5000);
    TSerwerTestowy serwer([&](TPolaczenieTestowe &p) {
      p.Czytaj(1); // the client's first byte: its connect outcome has been handled
      if (reset) {
        p.Resetuj();
      } else {
        p.Pisz(tresc);
        p.Zamknij();
      }
    });
    TGniazdo g;
    TDziennik d;
    d.Podlacz(g);
    d.rozmiarOdczytu = rozmiarOdczytu;
    const auto polaczono = g.OnSessionConnected;
    g.OnSessionConnected = [&](TGniazdo *s, quint16 e) {
      polaczono(s, e);
      s->SendString("x");
    };
    int odczytPrzyZamknieciu = -2;
    const auto zamknieto = g.OnSessionClosed;
    g.OnSessionClosed = [&](TGniazdo *s, quint16 e) {
      char znak;
      odczytPrzyZamknieciu = s->Receive(&znak, 1);
      zamknieto(s, e);
    };
    UstawCel(g, serwer.PortTekst(), adres);
    QCOMPARE(g.Addr(), adres.trimmed());
    g.Connect();
    QTRY_COMPARE(d.zamkniecia, 1);
    QTest::qWait(50); // nothing more may follow the close
    if (reset) {
      QCOMPARE(d.zdarzenia, QStringList({QStringLiteral("połączono 0 gsConnected"),
                                         QStringLiteral("zamknięto 10054 gsConnected")}));
    } else {
      QCOMPARE(d.zdarzenia,
               QStringList({QStringLiteral("połączono 0 gsConnected"), QStringLiteral("dane"),
                            QStringLiteral("zamknięto 0 gsConnected")}));
      QCOMPARE(d.dane, tresc);
      QCOMPARE(odczytPrzyZamknieciu, 0);
    }
    QCOMPARE(g.State(), gsClosed);
  }

  void przerwanieWObsludzeDanych()
  {
    std::atomic<bool> serwerWidzialZamkniecie{false};
    TSerwerTestowy serwer([&](TPolaczenieTestowe &p) {
      p.Pisz("0123456789");
      serwerWidzialZamkniecie = p.CzekajNaZamkniecie();
    });
    TGniazdo g;
    TDziennik d;
    d.Podlacz(g);
    int wywolaniaDanych = 0;
    bool wAbort = false;
    bool zamknietoWAbort = false;
    g.OnDataAvailable = [&](TGniazdo *s, quint16) {
      ++wywolaniaDanych;
      char bufor[2];
      s->Receive(bufor, 2); // most of the data stays waiting
      wAbort = true;
      s->Abort();
      wAbort = false;
    };
    const auto zamknieto = g.OnSessionClosed;
    g.OnSessionClosed = [&](TGniazdo *s, quint16 e) {
      zamknietoWAbort = wAbort;
      zamknieto(s, e);
    };
    UstawCel(g, serwer.PortTekst());
    g.Connect();
    QTRY_COMPARE(d.zamkniecia, 1);
    QVERIFY(zamknietoWAbort);
    QTRY_VERIFY(serwerWidzialZamkniecie.load());
    QTest::qWait(50); // no data event may follow the close
    QCOMPARE(wywolaniaDanych, 1);
    QCOMPARE(d.zdarzenia, QStringList({QStringLiteral("połączono 0 gsConnected"),
                                       QStringLiteral("zamknięto 0 gsClosed")}));
  }

  void wysylanieBezPolaczenia()
  {
    TGniazdo g;
    TDziennik d;
    d.Podlacz(g);
    QCOMPARE(g.SendString(QByteArray()), 0);
    QVERIFY(d.zdarzenia.isEmpty());
    QCOMPARE(g.SendString("abc"), -1);
    QCOMPARE(g.LastError(), 10057);
    QCOMPARE(d.zdarzenia,
             QStringList(QStringLiteral("błąd 10057 Error 10057 in function Send\r\n") +
                         OpisBledu(10057)));
    QCOMPARE(g.State(), gsClosed);
    QCOMPARE(g.BajtyDoWyslania(), 0);
  }

  void wysylanieWNieudanymPolaczeniu()
  {
    TPortBezSerwera port;
    TGniazdo g;
    TDziennik d;
    d.Podlacz(g);
    int wynik = 0;
    int zamknieciaPrzedPowrotem = -1;
    g.OnSessionConnected = [&](TGniazdo *s, quint16 e) {
      QCOMPARE(s->State(), gsConnected);
      if (e != 0) {
        wynik = s->SendString("abc");
        zamknieciaPrzedPowrotem = d.zamkniecia;
      }
    };
    UstawCel(g, port.PortTekst());
    g.Connect();
    QTRY_COMPARE(d.zamkniecia, 1);
    QTest::qWait(50); // nothing more may follow the close
    QCOMPARE(wynik, 3);
    QCOMPARE(zamknieciaPrzedPowrotem, 1);
    QCOMPARE(d.zdarzenia, QStringList(QStringLiteral("zamknięto 10057 gsClosed")));
    QCOMPARE(g.State(), gsClosed);
  }

  void nieudaneConnect_data()
  {
    QTest::addColumn<QString>("adres");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("protokol");
    QTest::addColumn<QString>("poczatekKomunikatu");
    QTest::addColumn<int>("kod");
    QTest::addColumn<bool>("wTle"); // a name for the resolver: reported after Connect returned
    const QString p = QStringLiteral("1");
    const QString a = QStringLiteral("127.0.0.1");
    QTest::newRow("bez portu") << a << QString() << QString()
                               << QStringLiteral("Connect: No Port Specified") << 0 << false;
    QTest::newRow("pusty port") << a << QStringLiteral("   ") << QString()
                                << QStringLiteral("Connect: No Port Specified") << 0 << false;
    QTest::newRow("bez adresu") << QString() << p << QString()
                                << QStringLiteral("Connect: No IP Address Specified") << 0 << false;
    QTest::newRow("bez protokołu")
        << a << p << QStringLiteral("") << QStringLiteral("Connect: No Protocol Specified") << 0
        << false;
    QTest::newRow("nieznana nazwa") << QStringLiteral("nieistniejacy-host.invalid") << p
                                    << QString() << QStringLiteral("connect: ") << 11001 << true;
    QTest::newRow("za długa nazwa")
        << QString(300, u'a') << p << QString() << QStringLiteral("connect: ") << 10022 << true;
    QTest::newRow("zły adres numeryczny") << QStringLiteral("999.1.1.1") << p << QString()
                                          << QStringLiteral("connect: ") << 0 << true;
    QTest::newRow("nieznana usługa") << a << QStringLiteral("brak-takiej-uslugi") << QString()
                                     << QStringLiteral("connect: ") << 0 << false;
    QTest::newRow("port poza zakresem")
        << a << QStringLiteral("70000") << QString() << QStringLiteral("connect: ") << 0 << false;
  }
  void nieudaneConnect()
  {
    QFETCH(QString, adres);
    QFETCH(QString, port);
    QFETCH(QString, protokol);
    QFETCH(QString, poczatekKomunikatu);
    QFETCH(int, kod);
    QFETCH(bool, wTle);
    TGniazdo g;
    TDziennik d;
    d.Podlacz(g);
    QStringList przejscia;
    g.OnChangeState = [&](TGniazdo *, TStanGniazda stary, TStanGniazda nowy) {
      przejscia << NazwaStanu(stary) + QLatin1Char('>') + NazwaStanu(nowy);
    };
    if (!adres.isNull())
      g.SetAddr(adres);
    if (!port.isNull())
      g.SetPort(port);
    if (!protokol.isNull())
      g.SetProto(protokol);
    g.Connect();
    QCOMPARE(d.zdarzenia.size(), wTle ? 0 : 1);
    QTRY_COMPARE(d.zdarzenia.size(), 1);
    QVERIFY2(d.zdarzenia.first().contains(poczatekKomunikatu), qPrintable(d.zdarzenia.first()));
    QVERIFY(g.OstatniKomunikat().startsWith(poczatekKomunikatu));
    if (kod != 0)
      QCOMPARE(g.LastError(), kod);
    QCOMPARE(g.State(), gsClosed);
    QTest::qWait(30);                // time for a stray notification to arrive
    QCOMPARE(d.zdarzenia.size(), 1); // no connect notification follows
    QVERIFY(przejscia.isEmpty());
  }

  // A name goes to the resolver: Connect returns before anything happens, then the attempt runs
  // as for a dotted address, or the failure comes through OnError alone.
  void rozwiazywanieWTle_data()
  {
    QTest::addColumn<QString>("adres");
    QTest::addColumn<bool>("nasluch");
    QTest::addColumn<QStringList>("zdarzenia");
    QTest::addColumn<QStringList>("przejscia");
    const QStringList pelne{
        QStringLiteral("gsClosed>gsOpened"), QStringLiteral("gsOpened>gsConnecting"),
        QStringLiteral("gsConnecting>gsConnected"), QStringLiteral("gsConnected>gsClosed")};
    QTest::newRow("dobra nazwa") << QStringLiteral("localhost") << true
                                 << QStringList{QStringLiteral("połączono 0 gsConnected"),
                                                QStringLiteral("dane"),
                                                QStringLiteral("zamknięto 0 gsConnected")}
                                 << pelne;
    QTest::newRow("nikt nie słucha") << QStringLiteral("localhost") << false
                                     << QStringList{QStringLiteral("połączono 10061 gsConnected"),
                                                    QStringLiteral("zamknięto 0 gsClosed")}
                                     << pelne;
    QTest::newRow("nazwy nie ma")
        << QStringLiteral("nieistniejacy-host.invalid") << true
        << QStringList{QStringLiteral("błąd 11001 connect: Cannot convert host address "
                                      "'nieistniejacy-host.invalid' - ") +
                       OpisBledu(KodBledu::WSAHOST_NOT_FOUND)}
        << QStringList();
  }
  void rozwiazywanieWTle()
  {
    QFETCH(QString, adres);
    QFETCH(bool, nasluch);
    QFETCH(QStringList, zdarzenia);
    QFETCH(QStringList, przejscia);
    TSerwerTestowy serwer([](TPolaczenieTestowe &p) {
      p.Czytaj(1);
      p.Pisz("odpowiedź");
      p.Zamknij();
    });
    TPortBezSerwera bezSerwera;
    TGniazdo g;
    TDziennik d;
    d.Podlacz(g);
    const auto polaczono = g.OnSessionConnected;
    g.OnSessionConnected = [&](TGniazdo *s, quint16 e) {
      polaczono(s, e);
      if (e == 0)
        s->SendString("x");
    };
    QStringList widziane;
    g.OnChangeState = [&](TGniazdo *, TStanGniazda stary, TStanGniazda nowy) {
      widziane << NazwaStanu(stary) + QLatin1Char('>') + NazwaStanu(nowy);
    };
    UstawCel(g, nasluch ? serwer.PortTekst() : bezSerwera.PortTekst(), adres);
    g.Connect();
    QVERIFY(d.zdarzenia.isEmpty());
    QVERIFY(widziane.isEmpty());
    QTRY_COMPARE(d.zdarzenia.size(), zdarzenia.size());
    QTRY_COMPARE(widziane.size(), przejscia.size());
    QTest::qWait(50); // nothing more may follow
    QCOMPARE(d.zdarzenia, zdarzenia);
    QCOMPARE(widziane, przejscia);
    QCOMPARE(g.State(), gsClosed);
    if (nasluch && przejscia.isEmpty())
      QCOMPARE(serwer.Przyjete(), 0);
  }

  // Whatever ends a connect still waiting for its name ends it quietly, and nothing reaches the
  // server afterwards.
  void koniecPrzedRozwiazaniem_data()
  {
    QTest::addColumn<QString>("sposob");
    QTest::newRow("Close") << QStringLiteral("Close");
    QTest::newRow("Abort") << QStringLiteral("Abort");
    QTest::newRow("zniszczenie") << QStringLiteral("zniszczenie");
    QTest::newRow("SendString") << QStringLiteral("SendString");
  }
  void koniecPrzedRozwiazaniem()
  {
    QFETCH(QString, sposob);
    TSerwerTestowy serwer([](TPolaczenieTestowe &p) { p.CzekajNaZamkniecie(); });
    auto g = std::make_unique<TGniazdo>();
    TDziennik d;
    d.Podlacz(*g);
    QStringList widziane;
    g->OnChangeState = [&](TGniazdo *, TStanGniazda stary, TStanGniazda nowy) {
      widziane << NazwaStanu(stary) + QLatin1Char('>') + NazwaStanu(nowy);
    };
    UstawCel(*g, serwer.PortTekst(), QStringLiteral("localhost"));
    g->Connect();
    QStringList oczekiwane;
    if (sposob == QLatin1String("Close")) {
      g->Close();
    } else if (sposob == QLatin1String("Abort")) {
      g->Abort();
    } else if (sposob == QLatin1String("zniszczenie")) {
      g.reset();
    } else {
      QCOMPARE(g->SendString("x"), -1);
      oczekiwane << QStringLiteral("błąd 10057 Error 10057 in function Send\r\n") +
                        OpisBledu(KodBledu::WSAENOTCONN);
    }
    QTest::qWait(200); // nothing may be reported once the socket is given up
    QCOMPARE(d.zdarzenia, oczekiwane);
    QVERIFY(widziane.isEmpty());
    QCOMPARE(serwer.Przyjete(), 0);
    if (!g)
      return;
    QCOMPARE(g->State(), gsClosed);
    // Back to the defaults, as after any close; set again, the socket connects.
    d.zdarzenia.clear();
    g->Connect();
    QCOMPARE(d.zdarzenia.size(), 1);
    QVERIFY(d.zdarzenia.first().endsWith(QLatin1String(" Connect: No Port Specified")));
    d.zdarzenia.clear();
    UstawCel(*g, serwer.PortTekst(), QStringLiteral("localhost"));
    g->Connect();
    QTRY_COMPARE(d.zdarzenia, QStringList(QStringLiteral("połączono 0 gsConnected")));
    g->Abort();
  }

  // Until its name is resolved the socket is in use: no second connect, no other target.
  void zajetePodczasRozwiazywania()
  {
    TSerwerTestowy serwer([](TPolaczenieTestowe &p) { p.CzekajNaZamkniecie(); });
    TGniazdo g;
    TDziennik d;
    d.Podlacz(g);
    UstawCel(g, serwer.PortTekst(), QStringLiteral("localhost"));
    g.Connect();
    g.SetAddr(QStringLiteral("10.1.2.3"));
    g.SetAddr(QStringLiteral("localhost"));
    g.Connect();
    QCOMPARE(d.zdarzenia, QStringList({QStringLiteral("błąd 0 Cannot change Addr if not closed"),
                                       QStringLiteral("błąd 0 Connect: Socket already in use")}));
    QCOMPARE(g.Addr(), QStringLiteral("localhost"));
    QTRY_COMPARE(d.zdarzenia.size(), 3);
    QCOMPARE(d.zdarzenia.last(), QStringLiteral("połączono 0 gsConnected"));
    QTRY_COMPARE(serwer.Przyjete(), 1);
    g.Abort();
  }

  void zmianaWlasciwosciPodczasPolaczenia_data()
  {
    QTest::addColumn<QString>("wlasciwosc");
    QTest::addColumn<QString>("inna");
    QTest::newRow("Addr") << QStringLiteral("Addr") << QStringLiteral("10.1.2.3");
    QTest::newRow("Port") << QStringLiteral("Port") << QStringLiteral("81");
    QTest::newRow("Proto") << QStringLiteral("Proto") << QStringLiteral("udp");
  }
  void zmianaWlasciwosciPodczasPolaczenia()
  {
    QFETCH(QString, wlasciwosc);
    QFETCH(QString, inna);
    TSerwerTestowy serwer([](TPolaczenieTestowe &p) { p.CzekajNaZamkniecie(); });
    TGniazdo g;
    TDziennik d;
    d.Podlacz(g);
    UstawCel(g, serwer.PortTekst());
    g.Connect();
    QTRY_COMPARE(g.State(), gsConnected);
    d.zdarzenia.clear();

    const auto czytaj = [&] {
      return wlasciwosc == QLatin1String("Addr")   ? g.Addr()
             : wlasciwosc == QLatin1String("Port") ? g.Port()
                                                   : g.Proto();
    };
    const auto ustaw = [&](const QString &wartosc) {
      if (wlasciwosc == QLatin1String("Addr"))
        g.SetAddr(wartosc);
      else if (wlasciwosc == QLatin1String("Port"))
        g.SetPort(wartosc);
      else
        g.SetProto(wartosc);
    };
    const QString dawna = czytaj();
    ustaw(QLatin1Char(' ') + dawna + QLatin1Char(' ')); // the same value once trimmed
    QVERIFY(d.zdarzenia.isEmpty());
    ustaw(inna);
    QCOMPARE(czytaj(), dawna);
    QCOMPARE(d.zdarzenia.size(), 1);
    QVERIFY(d.zdarzenia.first().endsWith(
        QStringLiteral("Cannot change %1 if not closed").arg(wlasciwosc)));
    QCOMPARE(g.State(), gsConnected);

    g.Connect();
    QCOMPARE(d.zdarzenia.size(), 2);
    QVERIFY(d.zdarzenia.last().endsWith(QStringLiteral("Connect: Socket already in use")));
    QCOMPARE(g.State(), gsConnected);
    g.Abort();
  }

  void domyslnePoZamknieciu()
  {
    TSerwerTestowy serwer([](TPolaczenieTestowe &p) { p.CzekajNaZamkniecie(); });
    TGniazdo g;
    TDziennik d;
    d.Podlacz(g);
    UstawCel(g, serwer.PortTekst());
    g.SetProto(QStringLiteral("TCP"));
    g.SetLocalAddr(QStringLiteral("127.0.0.1"));
    g.SetLingerOnOff(gsLingerOff);
    g.SetLingerTimeout(5);
    g.Connect();
    QTRY_COMPARE(g.State(), gsConnected);
    g.Close();
    QCOMPARE(d.zdarzenia.last(), QStringLiteral("zamknięto 0 gsClosed"));

    QCOMPARE(g.Addr(), QStringLiteral("127.0.0.1"));
    QCOMPARE(g.Port(), serwer.PortTekst());
    QCOMPARE(g.Proto(), QStringLiteral("tcp"));
    QCOMPARE(g.LocalAddr(), QStringLiteral("0.0.0.0"));
    QCOMPARE(g.LocalPort(), QStringLiteral("0"));
    QCOMPARE(g.LingerOnOff(), gsLingerOn);
    QCOMPARE(g.LingerTimeout(), 0);

    d.zdarzenia.clear();
    g.Connect();
    QCOMPARE(d.zdarzenia.size(), 1);
    QVERIFY(d.zdarzenia.first().endsWith(QLatin1String(" Connect: No Port Specified")));
    g.SetPort(g.Port());
    g.Connect();
    QCOMPARE(d.zdarzenia.last(), QStringLiteral("błąd 0 Connect: No IP Address Specified"));
    g.SetAddr(g.Addr());
    d.zdarzenia.clear();
    g.Connect(); // a closed socket connects again
    QTRY_COMPARE(d.zdarzenia, QStringList(QStringLiteral("połączono 0 gsConnected")));
    QTRY_COMPARE(serwer.Przyjete(), 2);
    g.Abort();
  }

  void wyjatekWObsludzeDanychJestPomijany()
  {
    TSerwerTestowy serwer([](TPolaczenieTestowe &p) {
      p.Pisz("a");
      p.Spij(150);
      p.Pisz("b");
      p.CzekajNaZamkniecie();
    });
    TGniazdo g;
    TDziennik d;
    d.Podlacz(g);
    int wyjatkiWTle = 0;
    g.OnBgException = [&](TGniazdo *, const std::exception &, bool &) { ++wyjatkiWTle; };
    g.OnDataAvailable = [&](TGniazdo *s, quint16) {
      char bufor[100];
      const int ile = s->Receive(bufor, sizeof bufor);
      if (ile > 0)
        d.dane.append(bufor, ile);
      throw std::runtime_error("awaria obsługi danych");
    };
    UstawCel(g, serwer.PortTekst());
    g.Connect();
    QTRY_COMPARE(d.dane, QByteArray("ab"));
    QCOMPARE(wyjatkiWTle, 0);
    QCOMPARE(d.zamkniecia, 0);
    QCOMPARE(g.State(), gsConnected);
    g.Abort();
  }

  void wyjatkiWTle_data()
  {
    QTest::addColumn<QString>("zrodlo");
    QTest::addColumn<bool>("moznaZamknac");
    QTest::addColumn<int>("zamkniecia");
    QTest::addColumn<int>("stanKoncowy");
    QTest::newRow("połączenie") << QStringLiteral("połączenie") << true << 1 << int(gsClosed);
    QTest::newRow("połączenie, CanClose false")
        << QStringLiteral("połączenie") << false << 0 << int(gsConnected);
    QTest::newRow("zmiana stanu") << QStringLiteral("zmiana stanu") << true << 1 << int(gsClosed);
    QTest::newRow("zamknięcie") << QStringLiteral("zamknięcie") << true << 1 << int(gsClosed);
  }
  void wyjatkiWTle()
  {
    QFETCH(QString, zrodlo);
    QFETCH(bool, moznaZamknac);
    QFETCH(int, zamkniecia);
    QFETCH(int, stanKoncowy);
    const bool serwerZamyka = zrodlo == QStringLiteral("zamknięcie");
    TSerwerTestowy serwer([serwerZamyka](TPolaczenieTestowe &p) {
      if (serwerZamyka)
        p.Zamknij();
      else
        p.CzekajNaZamkniecie(3000);
    });
    TGniazdo g;
    TDziennik d;
    d.Podlacz(g);
    QStringList wyjatki;
    g.OnBgException = [&](TGniazdo *, const std::exception &e, bool &canClose) {
      QVERIFY(canClose);
      wyjatki << QString::fromUtf8(e.what());
      canClose = moznaZamknac;
      throw std::runtime_error("swallowed");
    };
    const EBlad wyjatek(QStringLiteral("awaria w obsłudze"));
    if (zrodlo == QStringLiteral("połączenie"))
      g.OnSessionConnected = [&](TGniazdo *, quint16) { throw wyjatek; };
    else if (zrodlo == QStringLiteral("zmiana stanu"))
      g.OnChangeState = [&](TGniazdo *, TStanGniazda, TStanGniazda nowy) {
        if (nowy == gsConnected)
          throw wyjatek;
      };
    else
      g.OnSessionClosed = [&](TGniazdo *, quint16) {
        ++d.zamkniecia;
        throw wyjatek;
      };
    UstawCel(g, serwer.PortTekst());
    g.Connect();
    QTRY_COMPARE(wyjatki.size(), 1);
    QTest::qWait(50); // the failing handler must not run again
    QCOMPARE(wyjatki, QStringList(QStringLiteral("awaria w obsłudze")));
    QCOMPARE(d.zamkniecia, zamkniecia);
    QCOMPARE(int(g.State()), stanKoncowy);
    g.Abort();
  }

  void bladBezObslugiOnError()
  {
    TGniazdo g;
    try {
      g.SetAddr(QStringLiteral("127.0.0.1"));
      g.Connect();
      QFAIL("no exception");
    } catch (const EBladGniazda &e) {
      QCOMPARE(e.Message(), QStringLiteral("Connect: No Port Specified"));
    }
    try {
      g.SendString("x");
      QFAIL("no exception");
    } catch (const EBladGniazda &e) {
      QCOMPARE(e.Message(), QStringLiteral("Error 10057 in function Send\r\n") + OpisBledu(10057));
    }
    QCOMPARE(g.LastError(), 10057);
  }

  void duzeWysylanieWznawiane()
  {
    const QByteArray duze = Wzor(16 * 1024 * 1024 + 777);
    QByteArray odebrane;
    std::atomic<bool> odebrano{false};
    TSerwerTestowy serwer([&](TPolaczenieTestowe &p) {
      p.Spij(300); // the client's queue fills up meanwhile
      odebrane = p.Czytaj(duze.size(), 30000);
      odebrano = true;
      p.CzekajNaZamkniecie();
    });
    TGniazdo g;
    TDziennik d;
    d.Podlacz(g);
    int wynik = 0;
    qsizetype wKolejce = 0;
    g.OnSessionConnected = [&](TGniazdo *s, quint16) {
      wynik = s->SendString(duze);
      wKolejce = s->BajtyDoWyslania();
    };
    UstawCel(g, serwer.PortTekst());
    g.Connect();
    QTRY_COMPARE(wynik, int(duze.size()));
    QVERIFY(wKolejce > 0);
    QTRY_VERIFY_WITH_TIMEOUT(odebrano.load(), 30000);
    QCOMPARE(odebrane.size(), duze.size());
    QVERIFY(odebrane == duze);
    QCOMPARE(g.BajtyDoWyslania(), 0);
    QVERIFY(d.zdarzenia.isEmpty());
    g.Abort();
  }

  // A peer that keeps the socket full must not hold the event loop: the data loop gives it a
  // turn after a bounded amount of work and then goes on, every byte delivered in order.
  void zalewNieWstrzymujePetli()
  {
    const QByteArray duze = Wzor(4 * 1024 * 1024 + 333);
    TSerwerTestowy serwer([&](TPolaczenieTestowe &p) {
      p.Pisz(duze);
      p.Zamknij();
    });
    TGniazdo g;
    TDziennik d;
    d.Podlacz(g);
    qint64 odOstatniejTury = 0;
    qint64 najwiecejBezTury = 0;
    int tury = 0;
    QTimer tykanie;
    tykanie.setInterval(0);
    QObject::connect(&tykanie, &QTimer::timeout, [&] {
      ++tury;
      odOstatniejTury = 0;
    });
    tykanie.start();
    g.OnDataAvailable = [&](TGniazdo *s, quint16) {
      char bufor[10000];
      const int ile = s->Receive(bufor, sizeof bufor);
      if (ile <= 0)
        return;
      d.dane.append(bufor, ile);
      odOstatniejTury += ile;
      najwiecejBezTury = std::max(najwiecejBezTury, odOstatniejTury);
      // A handler slower than the peer: the socket never runs dry while the flood lasts.
      QElapsedTimer zajety;
      zajety.start();
      while (zajety.nsecsElapsed() < 300'000) {
      }
    };
    UstawCel(g, serwer.PortTekst());
    g.Connect();
    QTRY_COMPARE_WITH_TIMEOUT(d.zamkniecia, 1, 30000);
    QCOMPARE(d.dane.size(), duze.size());
    QVERIFY(d.dane == duze);
    QVERIFY2(najwiecejBezTury <= 256 * 1024 + 10000, QByteArray::number(najwiecejBezTury));
    QVERIFY(tury > 10);
  }

  void zniszczenieZamykaPoCichu()
  {
    std::atomic<bool> serwerWidzialZamkniecie{false};
    TSerwerTestowy serwer(
        [&](TPolaczenieTestowe &p) { serwerWidzialZamkniecie = p.CzekajNaZamkniecie(); });
    auto g = std::make_unique<TGniazdo>();
    TDziennik d;
    d.Podlacz(*g);
    UstawCel(*g, serwer.PortTekst());
    g->Connect();
    QTRY_COMPARE(g->State(), gsConnected);
    d.zdarzenia.clear();
    g.reset();
    QTRY_VERIFY(serwerWidzialZamkniecie.load());
    QVERIFY(d.zdarzenia.isEmpty());
  }

  void usuniecieWObsludzeZamkniecia()
  {
    TSerwerTestowy serwer([](TPolaczenieTestowe &p) {
      p.Pisz("dane");
      p.Zamknij();
    });
    auto *g = new TGniazdo;
    QByteArray dane;
    bool usunieto = false;
    g->OnDataAvailable = [&](TGniazdo *s, quint16) {
      char bufor[100];
      const int ile = s->Receive(bufor, sizeof bufor);
      if (ile > 0)
        dane.append(bufor, ile);
    };
    g->OnSessionClosed = [&](TGniazdo *s, quint16) {
      delete s; // the owner may drop the socket from its own notification
      usunieto = true;
    };
    UstawCel(*g, serwer.PortTekst());
    g->Connect();
    QTRY_VERIFY(usunieto);
    QCOMPARE(dane, QByteArray("dane"));
    QTest::qWait(30); // a notification for the deleted socket would land here
  }
};

PAPLANKI_TEST_MAIN(TestGniazdo)
#include "test_Gniazdo.moc"
