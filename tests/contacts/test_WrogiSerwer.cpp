// Hostile peers on loopback against the real main window: what each flood, lie or stall costs
// the program while it runs. Every scenario measures the longest time the event loop kept a
// 10 ms timer waiting and the growth of the process's resident memory, and checks both against
// bounds far below what an unbounded reaction would take.

#include "common/OdbiorTestowy.h"
#include "common/Odpornosc.h"
#include "common/OknoGlowne.h"
#include "common/SerweryGG.h"
#include "common/Srodowisko.h"
#include "contacts/Galezie.h"
#include "gg/Liczby.h"
#include "gg/Odbior.h"
#include "gg/Pakiety.h"
#include "gg/Sesja.h"
#include "net/KlientHttp.h"
#include "program/FrmPaplankiMain.h"

#include <QBuffer>
#include <QFile>
#include <QMessageBox>
#include <QScopeGuard>
#include <QToolButton>

#include <atomic>
#include <functional>
#include <memory>

namespace {

constexpr quint32 Ziarno = 0x51DE5EED;
constexpr quint32 Nadano = 1719835200;
const QString TekstRozlaczony =
    QStringLiteral("Połączenie z serwerem komunikacyjnym zostało rozłączone");

// Bounds of every scenario. A flood handled without yielding, or kept whole, exceeds them by
// orders of magnitude. Under AddressSanitizer everything runs several times slower and freed
// memory is held back in quarantine, so the bounds are wider there.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PAPLANKI_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(PAPLANKI_ASAN)
constexpr qint64 NajdluzszaPrzerwaMs = 1000;
constexpr qint64 NajwiekszyPrzyrostKiB = 512 * 1024;
#else
constexpr qint64 NajdluzszaPrzerwaMs = 100;
constexpr qint64 NajwiekszyPrzyrostKiB = 32 * 1024;
#endif

QByteArray Pseudolosowe(qsizetype ile, quint32 ziarno)
{
  QByteArray wynik(ile, Qt::Uninitialized);
  for (qsizetype i = 0; i < ile; ++i) {
    ziarno = ziarno * 1664525u + 1013904223u;
    wynik[i] = char(ziarno >> 24);
  }
  return wynik;
}

// Closes every modal box still open (reports of unknown packets), from the event loop.
void ZamknijOknaModalne()
{
  for (int i = 0; i < 100; ++i) {
    QWidget *okno = QApplication::activeModalWidget();
    if (!okno)
      return;
    okno->close();
    (void)QTest::qWaitFor([okno] { return QApplication::activeModalWidget() != okno; }, 1000);
  }
}

// The window logged in through a loopback lookup host to a loopback GG server.
class TKlientPodOstrzalem {
public:
  TSerwerGGTestowy gg{Ziarno};
  TSerwerHttpGG http;
  std::unique_ptr<TFrmPaplankiMain> okno;
  TPomiarOdpornosci pomiar;
  const QString dziennik = QCoreApplication::applicationFilePath() + QStringLiteral(".log");

  // The user answers every box within a tenth of a second.
  QTimer uzytkownik;

  explicit TKlientPodOstrzalem(bool logowanie = false)
  {
    uzytkownik.setInterval(100);
    QObject::connect(&uzytkownik, &QTimer::timeout, [] {
      if (QWidget *okno = QApplication::activeModalWidget())
        okno->close();
    });
    uzytkownik.start();
    UsunUstawieniaOkna();
    ZapiszKontoTestowe();
    ZapiszUstawienieOkna(QStringLiteral("Ustawienia/SerwerAlternatywny"), QStringLiteral("1"));
    ZapiszUstawienieOkna(QStringLiteral("Ustawienia/Logowanie"),
                         logowanie ? QStringLiteral("1") : QStringLiteral("0"));
    ZapiszUstawienieOkna(QStringLiteral("Sledzeni/1001/Opis"), QStringLiteral("Ala"));
    QFile::remove(dziennik);
    gg.UstawOdpowiedzNaLogowanie(GGAnsLoginOk);
    http.UstawOdpowiedz({TSerwerHttpGG::OdpowiedzWyszukiwania(gg.PortTekst())});
    okno = std::make_unique<TFrmPaplankiMain>();
    okno->show();
    okno->Sesja().UstawPortHttp(http.PortTekst());
  }
  ~TKlientPodOstrzalem()
  {
    ZamknijOknaModalne();
    okno.reset();
    QFile::remove(dziennik);
  }

  [[nodiscard]] bool Zaloguj()
  {
    okno->PolaczTB->click();
    return QTest::qWaitFor([&] { return okno->Sesja().Zalogowany(); }, 10000) &&
           QTest::qWaitFor([&] { return !gg.Pakiety(0, GGReqNotifyLast).isEmpty(); });
  }
  bool Rozlaczony() const
  {
    return okno->TekstPanelu(TFrmPaplankiMain::PanelZdarzen) == TekstRozlaczony;
  }
  // Lines of the event log beside the program.
  qsizetype LinieDziennika() const
  {
    QFile plik(dziennik);
    return plik.open(QIODevice::ReadOnly) ? plik.readAll().count('\n') : 0;
  }
};

} // namespace

class TestWrogiSerwer : public QObject {
  Q_OBJECT

  // Checks the bounds and leaves the figures in the output for the record.
  void Sprawdz(TPomiarOdpornosci &pomiar, const char *scenariusz)
  {
    const qint64 przerwa = pomiar.NajdluzszaPrzerwaMs();
    const qint64 przyrost = pomiar.PrzyrostPamieciKiB();
    qInfo("%s: longest UI gap %lld ms, memory growth %lld KiB", scenariusz, przerwa, przyrost);
    QVERIFY2(przerwa <= NajdluzszaPrzerwaMs, qPrintable(QString::number(przerwa)));
    QVERIFY2(przyrost <= NajwiekszyPrzyrostKiB, qPrintable(QString::number(przyrost)));
  }
  // The figures also when a scenario fails before its end.
  static auto Raport(TPomiarOdpornosci &pomiar, const char *scenariusz)
  {
    return qScopeGuard([&pomiar, scenariusz] {
      if (QTest::currentTestFailed())
        qInfo("%s (failed): longest UI gap %lld ms, memory growth %lld KiB", scenariusz,
              pomiar.NajdluzszaPrzerwaMs(), pomiar.PrzyrostPamieciKiB());
    });
  }

private slots:
  void initTestCase()
  {
    WylaczSprawdzanieWersji();
    QApplication::setQuitOnLastWindowClosed(false);
  }

  // Frames of random types and lengths with random bodies, then bytes that cannot be a frame:
  // whatever they say is handled or logged, and the last of them ends the connection.
  void smieci()
  {
    TKlientPodOstrzalem k;
    QVERIFY(k.Zaloguj());
    QByteArray strumien;
    quint32 x = 7;
    for (int i = 0; i < 20000; ++i) {
      x = x * 1664525u + 1013904223u;
      const qint32 typ = qint32((x >> 8) % 0x30);
      const QByteArray cialo = Pseudolosowe(qsizetype((x >> 20) % 64), x);
      strumien += ZbudujRamke(typ, cialo);
    }
    strumien += Pseudolosowe(4096, 99) + IntToLE(0x0A) + IntToLE(-1);
    k.pomiar.Rozpocznij();
    const auto raport = Raport(k.pomiar, "garbage");
    k.gg.Wyslij(strumien);
    QTRY_VERIFY_WITH_TIMEOUT(k.Rozlaczony(), 20000);
    Sprawdz(k.pomiar, "garbage");
  }

  // Declared lengths no packet has: the stream is out of step and the connection goes at once,
  // without waiting for (or keeping) a body.
  void zapowiedzianaDlugosc_data()
  {
    QTest::addColumn<quint32>("dlugosc");
    QTest::newRow("4 GiB") << 0xFFFFFFFFu;
    QTest::newRow("1 MiB + 1") << quint32(1024 * 1024 + 1);
  }
  void zapowiedzianaDlugosc()
  {
    QFETCH(quint32, dlugosc);
    TKlientPodOstrzalem k;
    QVERIFY(k.Zaloguj());
    k.pomiar.Rozpocznij();
    k.gg.Wyslij(IntToLE(GGAnsRecvMsg) + IntToLE(qint32(dlugosc)) + QByteArray(64 * 1024, 'x'));
    QTRY_VERIFY(k.Rozlaczony());
    QTRY_VERIFY(k.gg.ZamknietePrzezKlienta(0));
    Sprawdz(k.pomiar, "4 GiB declared length");
  }

  // A 1 MiB body that never completes is held, and no more than that; the connection stays.
  void cialoNigdyNieDokonczone()
  {
    TKlientPodOstrzalem k;
    QVERIFY(k.Zaloguj());
    k.pomiar.Rozpocznij();
    k.gg.Wyslij(IntToLE(GGAnsRecvMsg) + IntToLE(1024 * 1024) + QByteArray(1024 * 1024 - 1, 'y'));
    QTest::qWait(500); // the held body must not end the connection
    QVERIFY(!k.Rozlaczony());
    QVERIFY(!k.gg.ZamknietePrzezKlienta(0));
    Sprawdz(k.pomiar, "1 MiB declared body never completed");
  }

  // One byte every 100 ms: the message is put together and shown, the program idles between.
  void bajtCo100ms()
  {
    TKlientPodOstrzalem k;
    QVERIFY(k.Zaloguj());
    TWezel *ala = k.okno->Drzewo.ZnajdzUzytkownika(1001);
    QVERIFY(ala);
    const QByteArray ramka =
        ZbudujRamke(GGAnsRecvMsg, CialoWiadomosci(1001, 5, Nadano, 0x08, "hej"));
    k.pomiar.Rozpocznij();
    for (char bajt : ramka) {
      QCOMPARE(ala->LiczbaDzieci(), 0);
      k.gg.Wyslij(QByteArray(1, bajt));
      QTest::qWait(100); // the pace of the drip, not a wait for anything
    }
    QTRY_COMPARE(ala->LiczbaDzieci(), 1);
    QVERIFY(ala->Dziecko(0)->Tekst().endsWith(QStringLiteral("hej")));
    Sprawdz(k.pomiar, "one byte per 100 ms");
  }

  // 100,000 unknown packets with the event log on: one report box, every packet a log line, and
  // the program keeps answering while the log grows.
  void stoTysiecyNieznanychZDziennikiem()
  {
    TKlientPodOstrzalem k(true);
    QVERIFY(k.Zaloguj());
    const qsizetype przed = k.LinieDziennika();
    const QByteArray ramka = ZbudujRamke(0x4242, QByteArray("abcd"));
    QByteArray strumien;
    strumien.reserve(ramka.size() * 100000);
    for (int i = 0; i < 100000; ++i)
      strumien += ramka;
    k.pomiar.Rozpocznij();
    const auto raport = Raport(k.pomiar, "100,000 unknown packets, log on");
    k.gg.Wyslij(strumien);
    QTRY_VERIFY_WITH_TIMEOUT(k.LinieDziennika() >= przed + 100000, 60000);
    QVERIFY(!k.Rozlaczony());
    Sprawdz(k.pomiar, "100,000 unknown packets, log on");
    ZamknijOknaModalne();
  }

  // The largest packet there is, of a type nobody knows, and a truncated one of a known type:
  // each is reported and logged without holding the program.
  void najwiekszyNieznanyPakiet_data()
  {
    QTest::addColumn<bool>("logowanie");
    QTest::addColumn<qint32>("typ");
    QTest::newRow("nieznany, dziennik wyłączony") << false << qint32(0x4243);
    QTest::newRow("nieznany, dziennik włączony") << true << qint32(0x4243);
    QTest::newRow("za krótki stan, dziennik włączony") << true << qint32(GGAnsStatus);
  }
  void najwiekszyNieznanyPakiet()
  {
    QFETCH(bool, logowanie);
    QFETCH(qint32, typ);
    TKlientPodOstrzalem k(logowanie);
    QVERIFY(k.Zaloguj());
    const qsizetype przed = k.LinieDziennika();
    k.pomiar.Rozpocznij();
    const auto raport = Raport(k.pomiar, "largest unknown packet");
    const QByteArray cialo =
        typ == GGAnsStatus ? QByteArray("\x01\x02", 2) : Pseudolosowe(1024 * 1024, 5);
    k.gg.Wyslij(ZbudujRamke(typ, cialo) +
                ZbudujRamke(GGAnsRecvMsg, CialoWiadomosci(1001, 5, Nadano, 0, "po")));
    QTRY_COMPARE(k.okno->Drzewo.ZnajdzUzytkownika(1001)->LiczbaDzieci(), 1);
    if (logowanie)
      QTRY_VERIFY(k.LinieDziennika() > przed);
    Sprawdz(k.pomiar, "largest unknown packet");
  }

  // A conference naming a million participants in a 1 MiB body: a handful of nodes, not a
  // quarter of a million.
  void konferencjaMilionaNumerow()
  {
    TKlientPodOstrzalem k;
    QVERIFY(k.Zaloguj());
    const int wezly = k.okno->Drzewo.LiczbaWezlow();
    QByteArray opcje = QByteArray(1, '\x01') + IntToLE(1000000);
    const QByteArray naglowek = CialoWiadomosci(1001, 9, Nadano, 0x08, "wszyscy");
    while (naglowek.size() + opcje.size() + 4 <= 1024 * 1024)
      opcje += IntToLE(2000000 + int(opcje.size()));
    k.pomiar.Rozpocznij();
    const auto raport = Raport(k.pomiar, "conference of a million numbers");
    k.gg.Wyslij(ZbudujRamke(GGAnsRecvMsg, naglowek + opcje));
    QTRY_VERIFY_WITH_TIMEOUT(k.okno->Drzewo.LiczbaWezlow() > wezly, 20000);
    QTest::qWait(100); // no more nodes may follow
    QVERIFY(k.okno->Drzewo.LiczbaWezlow() - wezly <= 5 + int(TOdbior::NajwiecejUczestnikow));
    Sprawdz(k.pomiar, "conference of a million numbers");
  }

  // A lookup host that never ends its header: the reply is cut off at its bound, the lookup
  // fails and waits for the retry; no GG connection is opened.
  void wyszukiwanieBezKoncaNaglowka()
  {
    TKlientPodOstrzalem k;
    QList<QByteArray> kawalki{"HTTP/1.0 200 OK\r\n"};
    for (int i = 0; i < 200; ++i)
      kawalki << QByteArray(2000, 'h') + "\r\n";
    k.http.UstawOdpowiedz(kawalki, false, 5);
    k.pomiar.Rozpocznij();
    const auto raport = Raport(k.pomiar, "lookup host never ending its header");
    k.okno->PolaczTB->click();
    QTRY_VERIFY_WITH_TIMEOUT(k.okno->Sesja().CzekaNaLaczenie(), 10000);
    QTRY_COMPARE(k.okno->Sesja().StanHttp(), gsClosed);
    QCOMPARE(k.gg.Polaczenia(), 0);
    Sprawdz(k.pomiar, "lookup host never ending its header");
  }

  // The server resets the connection after every prefix of its side of the login, a status
  // notification and a message, the client's answers interleaved; the client reconnects each
  // time. Nothing crashes, no contact appears twice, the message shows once (it came whole only
  // once), and the message the client still has unconfirmed goes out again on the next login.
  void resetPoKazdymBajcie()
  {
    constexpr int Sekwencja = 4242;
    const QByteArray strumien =
        ZbudujRamke(GGAnsWelcome, IntToLE(qint32(Ziarno))) + ZbudujRamke(GGAnsLoginOk, {}) +
        ZbudujRamke(GGAnsStatus, CialoStatus(1001, 2)) +
        ZbudujRamke(GGAnsRecvMsg, CialoWiadomosci(1001, 77, Nadano, 0x08, "raz"));
    std::atomic<int> prefiks{0};
    std::atomic<int> polaczenia{0};
    std::atomic<int> ponowione{0};
    TSerwerTestowy gg([&](TPolaczenieTestowe &p) {
      const int k = prefiks.load();
      ++polaczenia;
      QByteArray odebrane;
      if (k < 0) {
        // The last connection: a whole login, then the client's packets are looked at.
        p.Pisz(strumien.left(20));
        odebrane = p.Czytaj(1 << 16, 1500);
      } else {
        p.Pisz(strumien.left(k));
        odebrane = p.Czytaj(1 << 16, 30);
      }
      for (const TPakietGG &pakiet : WytnijPakiety(odebrane))
        if (pakiet.typ == GGReqSendMsg && LEToInt(pakiet.cialo, 4) == Sekwencja)
          ++ponowione;
      if (k >= 0)
        p.Resetuj();
      else
        p.CzekajNaZamkniecie(1000);
    });

    TKlientPodOstrzalem k;
    k.http.UstawOdpowiedz({TSerwerHttpGG::OdpowiedzWyszukiwania(gg.PortTekst())});
    TDrzewo &d = k.okno->Drzewo;
    TWezel *ala = d.ZnajdzUzytkownika(1001);
    QVERIFY(ala);
    TWezel *napisana = d.Dodaj(ala, QStringLiteral("czekam"));
    napisana->UstawDane(std::make_shared<TWypowiedz>(
        napisana,
        std::make_unique<TDaneDodatkowe>(-1, 1001, 0, Sekwencja, QDateTime::currentDateTime()),
        QStringLiteral("czekam")));
    napisana->UstawObrazStanu(10);
    TSesjaGG &sesja = k.okno->Sesja();
    k.pomiar.Rozpocznij();
    const auto raport = Raport(k.pomiar, "connection reset at every byte offset");
    for (int i = 0; i <= strumien.size(); ++i) {
      prefiks = i;
      if (i == 0)
        k.okno->PolaczTB->click();
      else
        sesja.LaczenieTmrTimer();
      QTRY_COMPARE_WITH_TIMEOUT(polaczenia.load(), i + 1, 10000);
      QTRY_VERIFY_WITH_TIMEOUT(sesja.CzekaNaLaczenie(), 10000);
      sesja.WstrzymajLaczenie();
    }
    prefiks = -1;
    sesja.LaczenieTmrTimer();
    QTRY_VERIFY_WITH_TIMEOUT(ponowione.load() > 0 && sesja.Zalogowany(), 10000);

    int kontakty = 0;
    for (int i = 0; i < d.LiczbaGlownych(); ++i)
      if (const TUzytkownik *u = d.Glowny(i)->DaneJako<TUzytkownik>())
        kontakty += u->Numer() == 1001;
    QCOMPARE(kontakty, 1);
    int wiadomosci = 0;
    const std::function<void(const TWezel *)> policz = [&](const TWezel *w) {
      for (int i = 0; i < w->LiczbaDzieci(); ++i) {
        wiadomosci += w->Dziecko(i)->Tekst().endsWith(QStringLiteral(")raz"));
        policz(w->Dziecko(i));
      }
    };
    policz(ala);
    QCOMPARE(wiadomosci, 1);
    QCOMPARE(napisana->ObrazStanu(), 10);
    Sprawdz(k.pomiar, "connection reset at every byte offset");
  }

  // A service host that sends header lines without end: the request fails at the header bound.
  void nieskonczoneLinieNaglowkaHttp()
  {
    TSerwerTestowy serwer([](TPolaczenieTestowe &p) {
      p.CzytajDo("\r\n\r\n");
      if (!p.Pisz("HTTP/1.0 200 OK\r\n"))
        return;
      const QByteArray linie = QByteArray("X-Bez-Konca: 1\r\n").repeated(1000);
      for (int i = 0; i < 2000 && p.Pisz(linie); ++i) {
      }
    });
    TPomiarOdpornosci pomiar;
    TKlientHttp klient;
    klient.SetURL(QStringLiteral("http://127.0.0.1:%1/appsvc/regtoken.asp").arg(serwer.Port()));
    QBuffer odpowiedz;
    odpowiedz.open(QIODevice::WriteOnly);
    klient.SetReplyStream(&odpowiedz);
    pomiar.Rozpocznij();
    const auto raport = Raport(pomiar, "endless HTTP header lines");
    try {
      klient.Get();
      QFAIL("an endless header was taken for a reply");
    } catch (const EBladHttp &e) {
      QCOMPARE(e.Numer(), 502);
      QCOMPARE(e.Message(), QStringLiteral("HTTP header too long"));
    }
    QVERIFY(klient.OtrzymanyNaglowek().size() <= TKlientHttp::NajwiecejLiniiNaglowka);
    Sprawdz(pomiar, "endless HTTP header lines");
  }
};

PAPLANKI_TEST_MAIN(TestWrogiSerwer)
#include "test_WrogiSerwer.moc"
