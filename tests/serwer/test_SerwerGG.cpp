// The server process against the client's own session, dispatcher and send command.

#include "common/SerwerPaplanek.h"
#include "common/Srodowisko.h"
#include "contacts/Galezie.h"
#include "gg/Liczby.h"
#include "gg/Pakiety.h"
#include "gg/SesjaPakiety.h"
#include "net/Gniazdo.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <memory>

namespace {

const QStringList Konta{QStringLiteral("--konto"), QStringLiteral("1001:ala"),
                        QStringLiteral("--konto"), QStringLiteral("1002:ola"),
                        QStringLiteral("--konto"), QStringLiteral("1003:ela")};

QByteArray Le(quint32 v)
{
  return IntToLE(qint32(v));
}

// The status codes of every presence packet about `numer` the client got, in order.
QList<int> StanyO(const TKlientSerwera &k, int numer)
{
  QList<int> stany;
  for (const auto &p : k.odebrane) {
    if (p.typ == GGAnsStatus60 && (LEToInt(p.cialo) & 0xFFFFFF) == numer)
      stany << quint8(p.cialo[4]);
    if (p.typ == GGAnsNotifyReply60) {
      QByteArray c = p.cialo;
      while (c.size() >= 14) {
        const int n = LEToInt(c) & 0xFFFFFF;
        const int s = quint8(c[4]);
        c.remove(0, 14);
        if ((s == 4 || s == 5 || s == 21 || s == 22) && !c.isEmpty())
          c.remove(0, 1 + quint8(c[0]));
        if (n == numer)
          stany << s;
      }
    }
  }
  return stany;
}

// Writes the bytes on a connection of its own and waits until the server closes it.
bool ServerZamykaPo(quint16 port, const QByteArray &dane)
{
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bool zamkniete = false;
  if (::connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0) {
    [[maybe_unused]] const auto n = ::send(fd, dane.constData(), size_t(dane.size()), MSG_NOSIGNAL);
    QElapsedTimer zegar;
    zegar.start();
    while (!zamkniete && zegar.elapsed() < 10000) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 100) > 0) {
        char b[4096];
        const auto r = ::recv(fd, b, sizeof b, 0);
        zamkniete = r <= 0;
      }
    }
  }
  ::close(fd);
  return zamkniete;
}

// A bare GG connection for what the client's session would never send.
class TSurowyKlient {
public:
  // `buforOdbioru`: a small receive buffer, so the server's writes back up soon.
  explicit TSurowyKlient(quint16 port, int buforOdbioru = 0)
  {
    m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (buforOdbioru > 0)
      ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &buforOdbioru, sizeof buforOdbioru);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    m_polaczony = ::connect(m_fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0;
  }
  ~TSurowyKlient() { ::close(m_fd); }

  // True when the server closes the connection within the time (data before it is dropped).
  bool CzekajNaZamkniecie(int limitMs = 10000)
  {
    QElapsedTimer zegar;
    zegar.start();
    while (zegar.elapsed() < limitMs) {
      pollfd p{m_fd, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0)
        continue;
      char b[4096];
      if (::recv(m_fd, b, sizeof b, 0) <= 0)
        return true;
    }
    return false;
  }

  bool Pisz(const QByteArray &dane)
  {
    qsizetype od = 0;
    while (od < dane.size()) {
      const auto n = ::send(m_fd, dane.constData() + od, size_t(dane.size() - od), MSG_NOSIGNAL);
      if (n <= 0)
        return false;
      od += n;
    }
    return true;
  }
  // The next packet of that type (others are skipped); false after 10 s or a close.
  bool CzekajNa(qint32 typ, QByteArray *cialo = nullptr)
  {
    QElapsedTimer zegar;
    zegar.start();
    while (zegar.elapsed() < 10000) {
      while (m_bufor.size() >= 8 && m_bufor.size() >= 8 + LEToInt(m_bufor, 4)) {
        const qint32 t = LEToInt(m_bufor);
        const QByteArray c = m_bufor.mid(8, LEToInt(m_bufor, 4));
        m_bufor.remove(0, 8 + c.size());
        if (t == typ) {
          if (cialo)
            *cialo = c;
          return true;
        }
      }
      pollfd p{m_fd, POLLIN, 0};
      if (::poll(&p, 1, 100) <= 0)
        continue;
      char b[65536];
      const auto r = ::recv(m_fd, b, sizeof b, 0);
      if (r <= 0)
        return false;
      m_bufor.append(b, int(r));
    }
    return false;
  }
  bool Zaloguj(qint32 numer, const QByteArray &haslo)
  {
    QByteArray powitanie;
    if (!m_polaczony || !CzekajNa(GGAnsWelcome, &powitanie))
      return false;
    const QByteArray cialo = Le(quint32(numer)) +
                             Le(LoginHash(quint32(LEToInt(powitanie)), haslo)) + Le(2) + Le(0x20) +
                             QByteArray(13, '\0') + "\xFF\xBE";
    return Pisz(ZbudujRamke(GGReqLogin60, cialo)) && CzekajNa(GGAnsLoginOk);
  }

private:
  int m_fd = -1;
  bool m_polaczony = false;
  QByteArray m_bufor;
};

int ObrazWiadomosci(const TWezel *w)
{
  return w ? w->ObrazStanu() : -100;
}

} // namespace

class TestSerwerGG : public QObject {
  Q_OBJECT

  std::unique_ptr<TProcesSerwera> serwer;

private slots:
  void init()
  {
    serwer = std::make_unique<TProcesSerwera>(Konta);
    QVERIFY(serwer->Uruchom());
  }
  void cleanup()
  {
    if (QTest::currentTestFailed())
      qWarning().noquote() << serwer->Dziennik();
    serwer.reset();
  }

  // What one user shows another, by the user's status and the other's place on its list.
  void obecnosc_data()
  {
    QTest::addColumn<quint32>("status");
    QTest::addColumn<QString>("opis");
    QTest::addColumn<int>("typNaLiscie"); // -1: not on Ala's list
    QTest::addColumn<int>("widziany");
    QTest::addColumn<QString>("podpis");
    QTest::newRow("dostępna") << 2u << QString() << 1 << 2 << QStringLiteral("Ala()");
    QTest::newRow("zajęta z opisem")
        << 3u << QStringLiteral("obiad") << 1 << 5 << QStringLiteral("Ala(obiad)");
    QTest::newRow("dla przyjaciół, Ola na liście")
        << (2u | StanGG::TylkoDlaPrzyjaciol) << QStringLiteral("tylko wy") << 3 << 4
        << QStringLiteral("Ala(tylko wy)");
    QTest::newRow("dla przyjaciół, Oli brak na liście")
        << (2u | StanGG::TylkoDlaPrzyjaciol) << QStringLiteral("tylko wy") << -1 << 1
        << QStringLiteral("Ala()");
    QTest::newRow("Ola zablokowana")
        << 2u << QStringLiteral("jestem") << 4 << 1 << QStringLiteral("Ala()");
    QTest::newRow("niewidoczna") << 20u << QStringLiteral("sza") << 1 << 1
                                 << QStringLiteral("Ala()");
    QTest::newRow("niedostępna z opisem")
        << 1u << QStringLiteral("urlop") << 1 << 21 << QStringLiteral("Ala(urlop)");
  }
  void obecnosc()
  {
    QFETCH(quint32, status);
    QFETCH(QString, opis);
    QFETCH(int, typNaLiscie);
    QFETCH(int, widziany);
    QFETCH(QString, podpis);

    TKlientSerwera ola(*serwer, 1002, QStringLiteral("ola"));
    ola.DodajKontakt(1001, QStringLiteral("Ala"));
    QVERIFY(ola.Zaloguj());

    TKlientSerwera ala(*serwer, 1001, QStringLiteral("ala"));
    if (typNaLiscie >= 0)
      ala.DodajKontakt(1002, QStringLiteral("Ola"), typNaLiscie);
    if (typNaLiscie == 4) // blocked numbers travel in the notify list from the settings
      ala.Zablokuj(1002);
    QVERIFY(ala.Zaloguj());
    ala.sesja->UstawStan(status, opis);
    QVERIFY(ala.Synchronizuj());
    QVERIFY(ola.Synchronizuj());

    // Ala logged in invisible, so Ola never saw her before the change.
    const QList<int> stany = StanyO(ola, 1001);
    if (widziany == 1)
      QVERIFY2(stany.isEmpty() || stany == QList<int>{1},
               qPrintable(QString::number(stany.size())));
    else
      QCOMPARE(stany, QList<int>{widziany});
    if (widziany != 1)
      QCOMPARE(ola.TekstKontaktu(1001), podpis);

    // Ola's own status reaches Ala the other way round, description and return time included,
    // unless Ala does not track her.
    const QDateTime powrot = QDateTime::fromSecsSinceEpoch(2000000000);
    ola.sesja->UstawStan(3, QStringLiteral("wracam"), powrot);
    QVERIFY(ola.Synchronizuj());
    QVERIFY(ala.Synchronizuj());
    if (typNaLiscie >= 0) {
      QCOMPARE(StanyO(ala, 1002).value(0), 5);
      QVERIFY2(ala.TekstKontaktu(1002).startsWith(QStringLiteral("Ola(wracam[")),
               qPrintable(ala.TekstKontaktu(1002)));
    } else {
      QVERIFY(StanyO(ala, 1002).isEmpty());
    }

    // Leaving: those who saw Ala present see her go.
    ala.sesja.reset();
    if (widziany != 1)
      QTRY_COMPARE(StanyO(ola, 1001).value(1), 1);
  }

  // A contact that was already present shows up in the answer to the notify list.
  void listaPowiadomienZObecnymi_data()
  {
    QTest::addColumn<bool>("zCzasem");
    QTest::newRow("opis") << false;
    QTest::newRow("opis i czas powrotu") << true;
  }
  void listaPowiadomienZObecnymi()
  {
    QFETCH(bool, zCzasem);
    const QDateTime powrot = QDateTime::fromSecsSinceEpoch(2000000000);
    TKlientSerwera ala(*serwer, 1001, QStringLiteral("ala"));
    QVERIFY(ala.Zaloguj());
    ala.sesja->UstawStan(2, QStringLiteral("na miejscu"), zCzasem ? powrot : QDateTime());
    QVERIFY(ala.Synchronizuj());
    TKlientSerwera ela(*serwer, 1003, QStringLiteral("ela"));
    QVERIFY(ela.Zaloguj());
    ela.sesja->UstawStan(3, QString());
    QVERIFY(ela.Synchronizuj());

    TKlientSerwera ola(*serwer, 1002, QStringLiteral("ola"));
    ola.DodajKontakt(1001, QStringLiteral("Ala"));
    ola.DodajKontakt(4444, QStringLiteral("Nikt"));
    ola.DodajKontakt(1003, QStringLiteral("Ela"));
    QVERIFY(ola.Zaloguj());
    QVERIFY(ola.Synchronizuj());
    // One reply with both present contacts, the described one with its length-prefixed text.
    QCOMPARE(ola.Ile(GGAnsNotifyReply60), 1);
    const QByteArray cialo = ola.Odebrane(GGAnsNotifyReply60)[0].cialo;
    QCOMPARE(cialo.size(), 14 + 1 + 10 + (zCzasem ? 5 : 0) + 14);
    QCOMPARE(StanyO(ola, 1001), QList<int>{4});
    QCOMPARE(StanyO(ola, 1003), QList<int>{3});
    QVERIFY(StanyO(ola, 4444).isEmpty());
    if (zCzasem)
      QVERIFY2(ola.TekstKontaktu(1001).startsWith(QStringLiteral("Ala(na miejscu[")),
               qPrintable(ola.TekstKontaktu(1001)));
    else
      QCOMPARE(ola.TekstKontaktu(1001), QStringLiteral("Ala(na miejscu)"));
    QCOMPARE(ola.TekstKontaktu(1003), QStringLiteral("Ela()"));
  }

  void wiadomosciWObieStrony()
  {
    TKlientSerwera ala(*serwer, 1001, QStringLiteral("ala"));
    TKlientSerwera ola(*serwer, 1002, QStringLiteral("ola"));
    ala.DodajKontakt(1002, QStringLiteral("Ola"));
    ola.DodajKontakt(1001, QStringLiteral("Ala"));
    QVERIFY(ala.Zaloguj());
    QVERIFY(ola.Zaloguj());

    TWezel *wyslana = ala.Wyslij(1002, QStringLiteral("Cześć, zażółć gęślą jaźń €"));
    QVERIFY(wyslana);
    QTRY_COMPARE(ObrazWiadomosci(wyslana), 2);
    QTRY_COMPARE(ola.Wiadomosci(1001).size(), 1);
    QVERIFY2(ola.Wiadomosci(1001)[0].endsWith(QStringLiteral(")Cześć, zażółć gęślą jaźń €")),
             qPrintable(ola.Wiadomosci(1001)[0]));

    TWezel *odpowiedz = ola.Wyslij(1001, QStringLiteral("Hej!\r\nDruga linia"));
    QTRY_COMPARE(ObrazWiadomosci(odpowiedz), 2);
    QTRY_COMPARE(ala.Wiadomosci(1002).size(), 2);
    QVERIFY(ala.Wiadomosci(1002)[0].endsWith(QStringLiteral(")Hej!")));
    QCOMPARE(ala.Wiadomosci(1002)[1], QStringLiteral("Druga linia"));
    const auto ack = ola.Odebrane(GGAnsSendMsgAck);
    QCOMPARE(ack.size(), 1);
    QCOMPARE(LEToInt(ack[0].cialo, 4), 1001);
  }

  // Queued for an absent recipient (report 3 only once stored), delivered in order with the
  // original times at the next login; also when the server was killed in between.
  void wiadomoscZakolejkowana_data()
  {
    QTest::addColumn<bool>("zabity");
    QTest::newRow("serwer dalej działa") << false;
    QTest::newRow("SIGKILL i ponowne uruchomienie") << true;
  }
  void wiadomoscZakolejkowana()
  {
    QFETCH(bool, zabity);
    TKlientSerwera ala(*serwer, 1001, QStringLiteral("ala"));
    ala.DodajKontakt(1002, QStringLiteral("Ola"));
    QVERIFY(ala.Zaloguj());
    const quint32 przed = quint32(QDateTime::currentSecsSinceEpoch());
    TWezel *pierwsza = ala.Wyslij(1002, QStringLiteral("pierwsza"));
    TWezel *druga = ala.Wyslij(1002, QStringLiteral("druga"));
    QTRY_COMPARE(ObrazWiadomosci(pierwsza), 8);
    QTRY_COMPARE(ObrazWiadomosci(druga), 8);
    const quint32 potwierdzone = quint32(QDateTime::currentSecsSinceEpoch());
    if (zabity) {
      serwer->Zabij();
      QVERIFY(serwer->Uruchom());
    }

    TKlientSerwera ola(*serwer, 1002, QStringLiteral("ola"));
    ola.DodajKontakt(1001, QStringLiteral("Ala"));
    QVERIFY(ola.Zaloguj());
    QTRY_COMPARE(ola.Ile(GGAnsRecvMsg), 2);
    const auto wiadomosci = ola.Odebrane(GGAnsRecvMsg);
    for (const auto &w : wiadomosci) {
      QCOMPARE(LEToInt(w.cialo, 0), 1001);
      const quint32 czas = quint32(LEToInt(w.cialo, 8));
      QVERIFY(czas >= przed && czas <= potwierdzone);
    }
    QVERIFY(wiadomosci[0].cialo.mid(16).startsWith("pierwsza"));
    QVERIFY(wiadomosci[1].cialo.mid(16).startsWith("druga"));
    QCOMPARE(ola.Wiadomosci(1001).size(), 2);

    // Delivered means gone from the queue.
    TKlientSerwera olaZnowu(*serwer, 1002, QStringLiteral("ola"));
    QVERIFY(olaZnowu.Zaloguj());
    QVERIFY(olaZnowu.Synchronizuj());
    QCOMPARE(olaZnowu.Ile(GGAnsRecvMsg), 0);
  }

  void zablokowanyNadawca_data()
  {
    QTest::addColumn<bool>("adresatObecny");
    QTest::newRow("adresat obecny") << true;
    QTest::newRow("adresat nieobecny") << false;
  }
  void zablokowanyNadawca()
  {
    QFETCH(bool, adresatObecny);
    {
      TKlientSerwera ola(*serwer, 1002, QStringLiteral("ola"));
      ola.Zablokuj(1001);
      QVERIFY(ola.Zaloguj());
      QVERIFY(ola.Synchronizuj());
      if (adresatObecny) {
        TKlientSerwera ala(*serwer, 1001, QStringLiteral("ala"));
        QVERIFY(ala.Zaloguj());
        TWezel *w = ala.Wyslij(1002, QStringLiteral("wpuść mnie"));
        QTRY_COMPARE(ObrazWiadomosci(w), 12);
        QVERIFY(ola.Synchronizuj());
        QCOMPARE(ola.Ile(GGAnsRecvMsg), 0);
        return;
      }
    }
    TKlientSerwera ala(*serwer, 1001, QStringLiteral("ala"));
    QVERIFY(ala.Zaloguj());
    TWezel *w = ala.Wyslij(1002, QStringLiteral("wpuść mnie"));
    QTRY_COMPARE(ObrazWiadomosci(w), 12);
    // A number nobody has is refused as well, not queued forever.
    TWezel *nikt = ala.Wyslij(4321, QStringLiteral("halo?"));
    QTRY_COMPARE(ObrazWiadomosci(nikt), 12);
  }

  void konferencja()
  {
    TKlientSerwera ala(*serwer, 1001, QStringLiteral("ala"));
    TKlientSerwera ola(*serwer, 1002, QStringLiteral("ola"));
    TKlientSerwera ela(*serwer, 1003, QStringLiteral("ela"));
    ola.ustawienia->UstawTylkoOdPrzyjaciol(false);
    ela.ustawienia->UstawTylkoOdPrzyjaciol(false);
    QVERIFY(ala.Zaloguj());
    QVERIFY(ola.Zaloguj());
    QVERIFY(ela.Zaloguj());
    // To Ola, with Ela (and Ala herself, who is left out) listed.
    const QByteArray cialo =
        Le(1002) + Le(55) + Le(8) + QByteArray("narada", 7) + '\x01' + Le(2) + Le(1003) + Le(1001);
    ala.sesja->WyslijPakiet(GGReqSendMsg, cialo);
    QTRY_COMPARE(ala.Ile(GGAnsSendMsgAck), 1);
    QCOMPARE(LEToInt(ala.Odebrane(GGAnsSendMsgAck)[0].cialo), 2);
    QTRY_COMPARE(ola.Ile(GGAnsRecvMsg), 1);
    QTRY_COMPARE(ela.Ile(GGAnsRecvMsg), 1);
    const auto uczestnicy = [](TKlientSerwera &k) {
      QStringList numery;
      for (int i = 0; i < k.drzewo.LiczbaGlownych(); ++i) {
        TWezel *w = k.drzewo.Glowny(i);
        if (w->Tekst() != QStringLiteral("konferencja"))
          continue;
        TWezel *lista = w->PierwszeDziecko();
        for (int j = 0; lista && j < lista->LiczbaDzieci(); ++j)
          numery << lista->Dziecko(j)->Tekst();
      }
      return numery;
    };
    QCOMPARE(uczestnicy(ola), (QStringList{QStringLiteral("1001"), QStringLiteral("1003")}));
    QCOMPARE(uczestnicy(ela), (QStringList{QStringLiteral("1001"), QStringLiteral("1002")}));
  }

  void drugieLogowanieRozlaczaPierwsze()
  {
    TKlientSerwera pierwsza(*serwer, 1002, QStringLiteral("ola"));
    QVERIFY(pierwsza.Zaloguj());
    TKlientSerwera druga(*serwer, 1002, QStringLiteral("ola"));
    QVERIFY(druga.Zaloguj());
    QTRY_COMPARE(pierwsza.Ile(GGAnsDisconnecting), 1);
    QTRY_COMPARE(pierwsza.okno.panele[TOknoSesji::PanelPolaczenia],
                 QStringLiteral("Połączenie z serwerem komunikacyjnym zostało rozłączone"));

    TKlientSerwera ala(*serwer, 1001, QStringLiteral("ala"));
    QVERIFY(ala.Zaloguj());
    TWezel *w = ala.Wyslij(1002, QStringLiteral("do której?"));
    QTRY_COMPARE(ObrazWiadomosci(w), 2);
    QTRY_COMPARE(druga.Ile(GGAnsRecvMsg), 1);
    QCOMPARE(pierwsza.Ile(GGAnsRecvMsg), 0);
  }

  void zleHasloIDlawienie()
  {
    const auto odrzucone = [&](const char *powod) {
      return int(serwer->Dziennik().count(QByteArray("odrzucone (") + powod));
    };
    TKlientSerwera zla(*serwer, 1001, QStringLiteral("zle"));
    zla.sesja->Start(1001, QStringLiteral("zle"));
    for (int proba = 1; proba <= 5; ++proba) {
      if (proba > 1)
        zla.Polacz();
      QTRY_COMPARE(odrzucone("złe hasło"), proba);
      // Refused and disconnected by the server.
      QTRY_COMPARE(zla.sesja->StanGG(), gsClosed);
      QVERIFY(!zla.sesja->Zalogowany());
    }
    // Five failures within the minute: from this address even the right password is refused.
    TKlientSerwera dobra(*serwer, 1001, QStringLiteral("ala"));
    dobra.sesja->Start(1001, QStringLiteral("ala"));
    QTRY_COMPARE(odrzucone("za wiele nieudanych prób"), 1);
    QTRY_COMPARE(dobra.sesja->StanGG(), gsClosed);
    QVERIFY(!dobra.sesja->Zalogowany());
    QCOMPARE(odrzucone("złe hasło"), 5);
  }

  void nieznanyNumerOdrzucony()
  {
    TKlientSerwera obcy(*serwer, 4242, QStringLiteral("ala"));
    obcy.sesja->Start(4242, QStringLiteral("ala"));
    QTRY_COMPARE(int(serwer->Dziennik().count("odrzucone (nieznany numer)")), 1);
    QTRY_COMPARE(obcy.sesja->StanGG(), gsClosed);
    QVERIFY(!obcy.sesja->Zalogowany());
  }

  // Garbage on one connection closes that connection only.
  void smieciNieSzkodzaInnym_data()
  {
    QTest::addColumn<QByteArray>("smieci");
    QByteArray losowe;
    for (int i = 0; i < 4096; ++i)
      losowe += char((i * 7919) & 0xFF);
    QTest::newRow("losowe bajty") << losowe;
    QTest::newRow("długość ponad limit") << QByteArray(Le(GGReqLogin60) + Le(2 * 1024 * 1024));
    QTest::newRow("wiadomość przed logowaniem")
        << QByteArray(Le(GGReqSendMsg) + Le(13) + Le(1002) + Le(1) + Le(8) + '\0');
    QTest::newRow("logowanie bez pól") << QByteArray(Le(GGReqLogin60) + Le(3) + "abc");
  }
  void smieciNieSzkodzaInnym()
  {
    QFETCH(QByteArray, smieci);
    TKlientSerwera ala(*serwer, 1001, QStringLiteral("ala"));
    TKlientSerwera ola(*serwer, 1002, QStringLiteral("ola"));
    QVERIFY(ala.Zaloguj());
    QVERIFY(ola.Zaloguj());

    QVERIFY(ServerZamykaPo(serwer->PortGG(), smieci));

    TWezel *w = ala.Wyslij(1002, QStringLiteral("nadal działa"));
    QTRY_COMPARE(ObrazWiadomosci(w), 2);
    QTRY_COMPARE(ola.Ile(GGAnsRecvMsg), 1);
    QVERIFY(serwer->Proces().state() == QProcess::Running);
  }

  // Everything a client sent while the server was not looking is read in one go, well over one
  // read of the server; nothing is left waiting for more data to arrive.
  void zaleglosciCzytaneDoKonca()
  {
    TSurowyKlient k(serwer->PortGG());
    QVERIFY(k.Zaloguj(1001, "ala"));
    QByteArray lista;
    for (int i = 0; lista.size() < 70000; ++i)
      lista += "Imie;Nazwisko;;;;;" + QByteArray::number(10000 + i) + ";;0;;0;\r\n";
    const pid_t pid = pid_t(serwer->Proces().processId());
    ::kill(pid, SIGSTOP);
    QVERIFY(k.Pisz(ZbudujRamke(GGReqUserList, '\x00' + lista) + ZbudujRamke(GGReqPing, {})));
    ::kill(pid, SIGCONT);
    QVERIFY(k.CzekajNa(GGAnsPong));
  }

  // A recipient that stops reading: the server's writes to it fall short and wait for room,
  // the sender is answered meanwhile, and once the recipient reads again every message
  // arrives, whole and in order.
  void wolnyOdbiorcaDostajeWszystko_data()
  {
    QTest::addColumn<int>("ile");
    QTest::addColumn<int>("dlugosc");
    QTest::newRow("kilka małych") << 20 << 10;
    QTest::newRow("3 MB po 1000 bajtów") << 3000 << 1000;
    QTest::newRow("duże po 200 kB") << 15 << 200000;
  }
  void wolnyOdbiorcaDostajeWszystko()
  {
    QFETCH(int, ile);
    QFETCH(int, dlugosc);
    TSurowyKlient odbiorca(serwer->PortGG(), 4096);
    QVERIFY(odbiorca.Zaloguj(1002, "ola"));
    TSurowyKlient nadawca(serwer->PortGG());
    QVERIFY(nadawca.Zaloguj(1001, "ala"));
    QByteArray wszystkie;
    for (int i = 1; i <= ile; ++i) {
      const QByteArray tekst = QByteArray::number(i).rightJustified(dlugosc, '.');
      wszystkie += ZbudujRamke(GGReqSendMsg, Le(1002) + Le(quint32(i)) + Le(8) + tekst + '\0');
    }
    QVERIFY(nadawca.Pisz(wszystkie));
    for (int i = 1; i <= ile; ++i) {
      QByteArray ack;
      QVERIFY2(nadawca.CzekajNa(GGAnsSendMsgAck, &ack), qPrintable(QString::number(i)));
      QCOMPARE(LEToInt(ack), 2);
      QCOMPARE(LEToInt(ack, 8), i);
    }
    for (int i = 1; i <= ile; ++i) {
      QByteArray w;
      QVERIFY2(odbiorca.CzekajNa(GGAnsRecvMsg, &w), qPrintable(QString::number(i)));
      QCOMPARE(LEToInt(w), 1001);
      QCOMPARE(LEToInt(w, 4), i);
      QCOMPARE(w.mid(16), QByteArray::number(i).rightJustified(dlugosc, '.') + '\0');
    }
  }

  // Silent connections are closed: no login in time, or nothing at all for too long. A
  // connection that keeps talking stays.
  void limityPolaczen()
  {
    serwer = std::make_unique<TProcesSerwera>(Konta);
    serwer->UstawLimity(2, 4);
    QVERIFY(serwer->Uruchom());
    QElapsedTimer zegar;
    zegar.start();
    TSurowyKlient bezLogowania(serwer->PortGG());
    TSurowyKlient milczacy(serwer->PortGG());
    QVERIFY(milczacy.Zaloguj(1001, "ala"));
    TSurowyKlient gadatliwy(serwer->PortGG());
    QVERIFY(gadatliwy.Zaloguj(1002, "ola"));

    QVERIFY(bezLogowania.CzekajNaZamkniecie());
    QVERIFY(zegar.elapsed() >= 1500);
    // The talkative one pings every half second until the silent one is gone.
    bool milczacyZamkniety = false;
    while (!milczacyZamkniety && zegar.elapsed() < 10000) {
      QVERIFY(gadatliwy.Pisz(ZbudujRamke(GGReqPing, {})));
      QVERIFY(gadatliwy.CzekajNa(GGAnsPong));
      milczacyZamkniety = milczacy.CzekajNaZamkniecie(500);
    }
    QVERIFY(milczacyZamkniety);
    QVERIFY(zegar.elapsed() >= 3500);
    QVERIFY(gadatliwy.Pisz(ZbudujRamke(GGReqPing, {})));
    QVERIFY(gadatliwy.CzekajNa(GGAnsPong));
    QTRY_VERIFY(serwer->Dziennik().contains("brak logowania"));
    QTRY_VERIFY(serwer->Dziennik().contains("wylogowany 1001 (bezczynność)"));
  }

  // Out of descriptors the server neither spins nor falls over: those who came too early wait,
  // and once descriptors are free again new connections are served.
  void brakDeskryptorow()
  {
    serwer.reset();
    QTemporaryDir dane;
    const QString porty = dane.filePath(QStringLiteral("porty"));
    QProcess p;
    p.start(QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"), QStringLiteral("ulimit -n 24 && exec \"$0\" \"$@\""),
             TProcesSerwera::Program(), QStringLiteral("--dane"),
             dane.filePath(QStringLiteral("b")), QStringLiteral("--gg"),
             QStringLiteral("127.0.0.1:0"), QStringLiteral("--http"), QStringLiteral("127.0.0.1:0"),
             QStringLiteral("--porty-do"), porty, QStringLiteral("--konto"),
             QStringLiteral("1001:ala")});
    QTRY_VERIFY(QFile::exists(porty));
    QFile plik(porty);
    QVERIFY(plik.open(QIODevice::ReadOnly));
    const quint16 port = quint16(plik.readLine().split(' ').value(1).trimmed().toUInt());
    {
      std::vector<std::unique_ptr<TSurowyKlient>> tlum;
      for (int i = 0; i < 40; ++i)
        tlum.push_back(std::make_unique<TSurowyKlient>(port));
      const auto czas = [&] {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(p.processId()));
        if (!stat.open(QIODevice::ReadOnly))
          return -1.0;
        const QList<QByteArray> pola = stat.readAll().split(')').value(1).split(' ');
        return (pola.value(12).toDouble() + pola.value(13).toDouble()) /
               double(sysconf(_SC_CLK_TCK));
      };
      const double przed = czas();
      QTest::qWait(1500);
      QVERIFY2(czas() - przed < 0.5, "the server spins while out of descriptors");
      QCOMPARE(p.state(), QProcess::Running);
    }
    TSurowyKlient po(port);
    QVERIFY(po.Zaloguj(1001, "ala"));
    p.terminate();
    QVERIFY(p.waitForFinished(5000));
  }

  void przelaczniki_data()
  {
    QTest::addColumn<QStringList>("argumenty");
    QTest::addColumn<int>("kod");
    QTest::addColumn<QString>("tekst");
    QTest::newRow("pomoc") << QStringList{QStringLiteral("--help")} << 0
                           << QStringLiteral("--adres-publiczny HOST");
    QTest::newRow("nieznany") << QStringList{QStringLiteral("--szybciej")} << 2
                              << QStringLiteral("nieznany przełącznik");
    QTest::newRow("brak wartości")
        << QStringList{QStringLiteral("--gg")} << 2 << QStringLiteral("brak wartości");
    QTest::newRow("adres bez portu")
        << QStringList{QStringLiteral("--gg"), QStringLiteral("1.2.3.4")} << 2
        << QStringLiteral("ADRES:PORT");
    QTest::newRow("port poza zakresem")
        << QStringList{QStringLiteral("--http"), QStringLiteral("127.0.0.1:70000")} << 2
        << QStringLiteral("nieużyteczny adres");
    QTest::newRow("zajęty port") << QStringList{QStringLiteral("--gg"), QStringLiteral("ZAJETY")}
                                 << 2 << QStringLiteral("--gg 127.0.0.1:");
    QTest::newRow("obcy adres") << QStringList{QStringLiteral("--http"),
                                               QStringLiteral("192.0.2.1:18080")}
                                << 2 << QStringLiteral("--http 192.0.2.1:18080");
    QTest::newRow("złe konto") << QStringList{QStringLiteral("--konto"), QStringLiteral("abc")} << 2
                               << QStringLiteral("NUMER:HASLO");
  }
  void przelaczniki()
  {
    QFETCH(QStringList, argumenty);
    QFETCH(int, kod);
    QFETCH(QString, tekst);
    argumenty.replaceInStrings(QStringLiteral("ZAJETY"),
                               QStringLiteral("127.0.0.1:%1").arg(serwer->PortGG()));
    QTemporaryDir dane;
    QProcess p;
    p.start(TProcesSerwera::Program(),
            QStringList{QStringLiteral("--dane"), dane.path(), QStringLiteral("--http"),
                        QStringLiteral("127.0.0.1:0"), QStringLiteral("--gg"),
                        QStringLiteral("127.0.0.1:0")} +
                argumenty);
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), kod);
    const QString wyjscie = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    QVERIFY2(wyjscie.contains(tekst), qPrintable(wyjscie));
  }

  void gadatliwyZrzucaPakiety()
  {
    serwer = std::make_unique<TProcesSerwera>(Konta + QStringList{QStringLiteral("--gadatliwy")});
    QVERIFY(serwer->Uruchom());
    TSurowyKlient k(serwer->PortGG());
    QVERIFY(k.Zaloguj(1001, "ala"));
    QVERIFY(k.Pisz(ZbudujRamke(GGReqNewStatus, Le(4) + "opis\x01")));
    QVERIFY(k.Pisz(ZbudujRamke(GGReqPing, {})));
    QVERIFY(k.CzekajNa(GGAnsPong));
    QTRY_VERIFY(serwer->Dziennik().contains("-> 1001 typ 0x07, 0 B"));
    const QByteArray log = serwer->Dziennik();
    QVERIFY2(log.contains("<- 1001 typ 0x02, 9 B: {04}{00}{00}{00}opis{01}"), log.constData());
  }

  void sigtermKonczyCzysto()
  {
    TKlientSerwera ala(*serwer, 1001, QStringLiteral("ala"));
    QVERIFY(ala.Zaloguj());
    QVERIFY(serwer->Zakoncz());
    QTRY_COMPARE(ala.sesja->StanGG(), gsClosed);
    QVERIFY(serwer->Dziennik().contains("koniec pracy"));
    // The database keeps what it had and stays owner-only.
    QCOMPARE(QFile::permissions(serwer->PlikBazy()) & 0x0077, QFileDevice::Permissions());
    QCOMPARE(
        ZapytajBaze(serwer->PlikBazy(), QStringLiteral("SELECT haslo FROM konta WHERE numer=1001")),
        QByteArray("ala"));
  }
};

PAPLANKI_TEST_MAIN(TestSerwerGG)
#include "test_SerwerGG.moc"
