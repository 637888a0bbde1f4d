#include "common/ServerTestowy.h"
#include "common/Srodowisko.h"
#include "gg/Liczby.h"
#include "gg/OdbiorPakietow.h"
#include "gg/Pakiety.h"
#include "gg/WysylaniePakietow.h"
#include "net/Gniazdo.h"
#include "net/KodyBledow.h"

#include <QList>

#include <mutex>

namespace {

struct TPakiet {
  qint32 typ;
  QByteArray cialo;
  bool operator==(const TPakiet &) const = default;
};

QByteArray Cialo(qsizetype rozmiar, int ziarno)
{
  QByteArray wynik(rozmiar, Qt::Uninitialized);
  quint32 x = quint32(ziarno);
  for (qsizetype i = 0; i < rozmiar; ++i) {
    x = x * 1103515245u + 12345u;
    wynik[i] = char(x >> 24);
  }
  return wynik;
}

} // namespace

class TestWysylaniePakietow : public QObject {
  Q_OBJECT
private slots:
  void wymianaPakietowPrzezLoopback()
  {
    // What the client sends: a login-sized record, an empty ping, a message with NUL bytes.
    const QList<TPakiet> wysylane = {
        {GGReqLogin60, Cialo(31, 1)},
        {GGReqPing, {}},
        {GGReqSendMsg, IntToLE(12345) + IntToLE(7) + IntToLE(8) + QByteArray("a\0b\0", 4)},
    };
    QByteArray oczekiwaneNaSerwerze;
    for (const TPakiet &p : wysylane)
      oczekiwaneNaSerwerze += ZbudujRamke(p.typ, p.cialo);

    // What the server answers, cut at awkward places: inside the first header, between two
    // packets in one piece, and a body larger than one read of 10000 bytes.
    const QList<TPakiet> odbierane = {
        {GGAnsWelcome, IntToLE(0x1A2B3C4D)}, {GGAnsLoginOk, {}}, {GGAnsRecvMsg, Cialo(300, 2)},
        {GGAnsUserList, Cialo(25000, 3)},    {GGAnsPong, {}},
    };
    QByteArray strumien;
    for (const TPakiet &p : odbierane)
      strumien += ZbudujRamke(p.typ, p.cialo);
    const QList<qsizetype> ciecia = {5, 9, 12 + 8 + 100, 12 + 8 + 308 + 4000, strumien.size()};

    std::mutex zamek;
    QByteArray odebraneNaSerwerze;
    TSerwerTestowy serwer([&](TPolaczenieTestowe &p) {
      const QByteArray dane = p.Czytaj(oczekiwaneNaSerwerze.size());
      {
        const std::lock_guard<std::mutex> blokada(zamek);
        odebraneNaSerwerze = dane;
      }
      qsizetype poczatek = 0;
      for (const qsizetype koniec : ciecia) {
        p.Pisz(strumien.mid(poczatek, koniec - poczatek));
        poczatek = koniec;
        p.Spij(30);
      }
      p.Zamknij();
    });

    QList<TPakiet> dostarczone;
    QList<quint32> bledy;
    TOdbiorPakietow odbior(
        [&](qint32 typ, qint32 dlugosc, const QByteArray &cialo) {
          QCOMPARE(dlugosc, qint32(cialo.size()));
          dostarczone.append({typ, cialo});
        },
        [&](qint32, quint32 dlugosc) { bledy << dlugosc; });

    TGniazdo g;
    QList<int> wynikiWysylania;
    int odczyty = 0;
    bool zamknieto = false;
    g.OnSessionConnected = [&](TGniazdo *s, quint16 blad) {
      if (blad != 0)
        return;
      odbior.Wyczysc();
      for (const TPakiet &p : wysylane)
        wynikiWysylania << WyslijPakiet(*s, p.typ, p.cialo);
    };
    g.OnDataAvailable = [&](TGniazdo *s, quint16) {
      char bufor[10000];
      const int ile = s->Receive(bufor, sizeof bufor);
      if (ile > 0)
        ++odczyty;
      odbior.Odebrano(bufor, ile);
    };
    g.OnSessionClosed = [&](TGniazdo *, quint16) { zamknieto = true; };
    g.SetAddr(QStringLiteral("127.0.0.1"));
    g.SetPort(serwer.PortTekst());
    g.Connect();

    QTRY_VERIFY_WITH_TIMEOUT(zamknieto, 10000);
    QCOMPARE(wynikiWysylania, (QList<int>{8 + 31, 8, 8 + 16}));
    {
      const std::lock_guard<std::mutex> blokada(zamek);
      QCOMPARE(odebraneNaSerwerze.toHex(), oczekiwaneNaSerwerze.toHex());
    }
    QCOMPARE(dostarczone.size(), odbierane.size());
    QVERIFY(dostarczone == odbierane);
    QVERIFY(bledy.isEmpty());
    QCOMPARE(odbior.Oczekujace(), 0);
    // The large body alone needs three reads of 10000 bytes.
    QVERIFY2(odczyty >= 3, qPrintable(QString::number(odczyty)));
  }

  void wysylanieBezPolaczenia()
  {
    // The frame is refused by the socket and reported through its error event.
    TGniazdo g;
    int bledy = 0;
    g.OnError = [&](TGniazdo *) { ++bledy; };
    QCOMPARE(WyslijPakiet(g, GGReqPing, {}), -1);
    QCOMPARE(bledy, 1);
    QCOMPARE(g.LastError(), KodBledu::WSAENOTCONN);
    QCOMPARE(g.State(), gsClosed);
  }
};

PAPLANKI_TEST_MAIN(TestWysylaniePakietow)
#include "test_WysylaniePakietow.moc"
