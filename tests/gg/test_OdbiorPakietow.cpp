#include "common/Srodowisko.h"
#include "gg/Liczby.h"
#include "gg/OdbiorPakietow.h"
#include "gg/Pakiety.h"

#include <QList>

#include <stdexcept>

namespace {

struct TPakiet {
  qint32 typ;
  qint32 dlugosc;
  QByteArray cialo;
  bool operator==(const TPakiet &) const = default;
};

QByteArray Ramka(qint32 typ, const QByteArray &cialo)
{
  return ZbudujRamke(typ, cialo);
}

// A receiver that records every dispatched packet.
struct TZapis {
  QList<TPakiet> pakiety;
  QList<QPair<qint32, quint32>> bledy;
  TOdbiorPakietow odbior{[this](qint32 typ, qint32 dlugosc, const QByteArray &cialo) {
                           pakiety.append({typ, dlugosc, cialo});
                         },
                         [this](qint32 typ, quint32 dlugosc) {
                           bledy.append({typ, dlugosc});
                         }};

  void Podaj(const QByteArray &dane) { odbior.Odebrano(dane.constData(), int(dane.size())); }
};

} // namespace

Q_DECLARE_METATYPE(QList<int>)

class TestOdbiorPakietow : public QObject {
  Q_OBJECT
private slots:
  void podzialStrumienia_data()
  {
    // The same stream of three packets, read in different pieces; each row lists where the
    // reads end and after which read each packet must have been dispatched.
    QTest::addColumn<QList<int>>("konceOdczytow");
    QTest::addColumn<QList<int>>("liczbaPoOdczycie");
    // Packets: 0x0A with 6 bytes (14 in all), 0x07 empty (8), 0x02 with 3 bytes (11). Total 33.
    QTest::newRow("wszystko naraz") << QList<int>{33} << QList<int>{3};
    QTest::newRow("dwa pakiety w jednym odczycie") << QList<int>{22, 33} << QList<int>{2, 3};
    QTest::newRow("pierwszy w trzech odczytach")
        << QList<int>{3, 10, 14, 33} << QList<int>{0, 0, 1, 3};
    QTest::newRow("nagłówek urwany po 5 bajtach")
        << QList<int>{5, 8, 14, 33} << QList<int>{0, 0, 1, 3};
    QTest::newRow("pusty pakiet kończy odczyt") << QList<int>{22, 29, 33} << QList<int>{2, 2, 3};
    QTest::newRow("po bajcie") <<
        [] {
          QList<int> k;
          for (int i = 1; i <= 33; ++i)
            k << i;
          return k;
        }()
                               << [] {
                                    QList<int> l;
                                    for (int i = 1; i <= 33; ++i)
                                      l << (i >= 33 ? 3 : i >= 22 ? 2 : i >= 14 ? 1 : 0);
                                    return l;
                                  }();
  }
  void podzialStrumienia()
  {
    QFETCH(QList<int>, konceOdczytow);
    QFETCH(QList<int>, liczbaPoOdczycie);
    const QList<TPakiet> oczekiwane = {
        {GGAnsRecvMsg, 6,
         QByteArray("\x01\x00\x00\x00"
                    "ab",
                    6)},
        {GGAnsPong, 0, QByteArray()},
        {GGAnsStatus, 3, QByteArray("xyz")},
    };
    QByteArray strumien;
    for (const TPakiet &p : oczekiwane)
      strumien += Ramka(p.typ, p.cialo);
    QCOMPARE(strumien.size(), 33);

    TZapis zapis;
    int poczatek = 0;
    for (int i = 0; i < konceOdczytow.size(); ++i) {
      zapis.Podaj(strumien.mid(poczatek, konceOdczytow[i] - poczatek));
      poczatek = konceOdczytow[i];
      QCOMPARE(zapis.pakiety.size(), liczbaPoOdczycie[i]);
    }
    QCOMPARE(zapis.pakiety, oczekiwane);
    QCOMPARE(zapis.odbior.Oczekujace(), 0);
    QVERIFY(zapis.bledy.isEmpty());
  }

  void pustyOdczytNicNieRozbiera_data()
  {
    QTest::addColumn<int>("wynikReceive");
    QTest::newRow("zero") << 0;
    QTest::newRow("błąd gniazda") << -1;
  }
  void pustyOdczytNicNieRozbiera()
  {
    QFETCH(int, wynikReceive);
    // Whole packets wait in the buffer when a handler's exception ended the loop early.
    QList<qint32> kolejnosc;
    TOdbiorPakietow odbior([&](qint32 typ, qint32, const QByteArray &) {
      kolejnosc << typ;
      if (typ == 1)
        throw std::runtime_error("obsługa");
    });
    const QByteArray strumien = Ramka(1, "x") + Ramka(2, "y") + Ramka(3, {});
    QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                             odbior.Odebrano(strumien.constData(), int(strumien.size())));
    QCOMPARE(kolejnosc, QList<qint32>{1});
    const qsizetype czeka = odbior.Oczekujace();
    QCOMPARE(czeka, 17);

    const char smiec[4] = {'\x01', '\x02', '\x03', '\x04'};
    odbior.Odebrano(smiec, wynikReceive);
    QCOMPARE(kolejnosc, QList<qint32>{1});
    QCOMPARE(odbior.Oczekujace(), czeka);

    // The next real read takes them, in order, before its own packet.
    const QByteArray nastepny = Ramka(4, {});
    odbior.Odebrano(nastepny.constData(), int(nastepny.size()));
    QCOMPARE(kolejnosc, (QList<qint32>{1, 2, 3, 4}));
  }

  void ochronaPrzedOlbrzymiaDlugoscia_data()
  {
    QTest::addColumn<quint32>("dlugosc");
    QTest::addColumn<bool>("blad");
    QTest::newRow("dokładnie 1 MiB czeka") << 1048576u << false;
    QTest::newRow("1 MiB + 1") << 1048577u << true;
    QTest::newRow("ujemna jako ze znakiem") << 0xFFFFFFF0u << true;
  }
  void ochronaPrzedOlbrzymiaDlugoscia()
  {
    QFETCH(quint32, dlugosc);
    QFETCH(bool, blad);
    TZapis zapis;
    const QByteArray dobry = Ramka(GGAnsPong, "a");
    const QByteArray naglowek = IntToLE(0x1234) + IntToLE(qint32(dlugosc));
    zapis.Podaj(dobry + naglowek + QByteArray(100, 'z'));
    QCOMPARE(zapis.pakiety.size(), 1);
    if (blad) {
      QCOMPARE(zapis.bledy.size(), 1);
      QCOMPARE(zapis.bledy[0].first, 0x1234);
      QCOMPARE(zapis.bledy[0].second, dlugosc);
      QCOMPARE(zapis.odbior.Oczekujace(), 0);
      // Whatever follows starts a fresh stream.
      zapis.Podaj(Ramka(GGAnsPing, {}));
      QCOMPARE(zapis.pakiety.size(), 2);
      QCOMPARE(zapis.pakiety[1].typ, GGAnsPing);
    } else {
      QVERIFY(zapis.bledy.isEmpty());
      QCOMPARE(zapis.odbior.Oczekujace(), 108);
    }
  }

  void wyczyscZaczynaNowePolaczenie()
  {
    TZapis zapis;
    zapis.Podaj(Ramka(GGAnsRecvMsg, "niedokończony").first(12));
    zapis.odbior.Wyczysc();
    QCOMPARE(zapis.odbior.Oczekujace(), 0);
    zapis.Podaj(Ramka(GGAnsWelcome, IntToLE(77)));
    QCOMPARE(zapis.pakiety.size(), 1);
    QCOMPARE(zapis.pakiety[0].typ, GGAnsWelcome);
    QCOMPARE(LEToInt(zapis.pakiety[0].cialo), 77);
  }

  void zagniezdzoneDostarczenie()
  {
    // The first packet's handler opens a "modal box" whose loop delivers the next reads into
    // the same receiver, including the rest of a packet the outer read began.
    QByteArray strumien;
    for (int i = 1; i <= 6; ++i)
      strumien += Ramka(i, QByteArray(i * 3, char('a' + i)));
    const int pierwszaPorcja = 8 + 3 + 8 + 6 + 5; // two whole packets and a piece of the third
    QList<qint32> kolejnosc;
    QList<QByteArray> ciala;
    TOdbiorPakietow *odbior = nullptr;
    int glebokosc = 0;
    int najglebiej = 0;
    TOdbiorPakietow odbiorca([&](qint32 typ, qint32, const QByteArray &cialo) {
      ++glebokosc;
      najglebiej = qMax(najglebiej, glebokosc);
      kolejnosc << typ;
      const QByteArray zachowane = cialo;
      if (typ == 1) {
        // Two further reads arrive while this handler is still running.
        const QByteArray reszta = strumien.sliced(pierwszaPorcja);
        odbior->Odebrano(reszta.constData(), 10);
        odbior->Odebrano(reszta.constData() + 10, int(reszta.size()) - 10);
      }
      // The body handed to this call is untouched by what the nested calls did.
      QCOMPARE(cialo, zachowane);
      ciala << cialo;
      --glebokosc;
    });
    odbior = &odbiorca;
    odbiorca.Odebrano(strumien.constData(), pierwszaPorcja);
    QCOMPARE(kolejnosc, (QList<qint32>{1, 2, 3, 4, 5, 6}));
    QCOMPARE(najglebiej, 2);
    for (int i = 1; i <= 6; ++i)
      QVERIFY(ciala.contains(QByteArray(i * 3, char('a' + i))));
    QCOMPARE(odbiorca.Oczekujace(), 0);
    // Nothing is dispatched again by a later read.
    const QByteArray nastepny = Ramka(7, {});
    odbiorca.Odebrano(nastepny.constData(), int(nastepny.size()));
    QCOMPARE(kolejnosc, (QList<qint32>{1, 2, 3, 4, 5, 6, 7}));
  }

  void wyczyszczenieWObsludze()
  {
    // A handler that drops the connection (and so the buffer) stops the packets behind it.
    QList<qint32> kolejnosc;
    TOdbiorPakietow *wsk = nullptr;
    TOdbiorPakietow odbior([&](qint32 typ, qint32, const QByteArray &) {
      kolejnosc << typ;
      if (typ == 1)
        wsk->Wyczysc();
    });
    wsk = &odbior;
    const QByteArray strumien = Ramka(1, {}) + Ramka(2, {});
    odbior.Odebrano(strumien.constData(), int(strumien.size()));
    QCOMPARE(kolejnosc, QList<qint32>{1});
    QCOMPARE(odbior.Oczekujace(), 0);
  }

  void dlugiStrumienWMalychOdczytach()
  {
    // Many packets over reads that split them anywhere: the kept offset and the occasional
    // compaction must never lose or shift a byte.
    QByteArray strumien;
    QList<TPakiet> oczekiwane;
    for (int i = 0; i < 3000; ++i) {
      QByteArray cialo(i % 53, Qt::Uninitialized);
      for (qsizetype j = 0; j < cialo.size(); ++j)
        cialo[j] = char((i * 31 + j) & 0xFF);
      oczekiwane.append({i, qint32(cialo.size()), cialo});
      strumien += Ramka(i, cialo);
    }
    TZapis zapis;
    qsizetype poz = 0;
    int krok = 1;
    while (poz < strumien.size()) {
      const int ile = int(qMin<qsizetype>(krok, strumien.size() - poz));
      zapis.Podaj(strumien.mid(poz, ile));
      poz += ile;
      krok = krok * 7 % 997 + 1;
    }
    QCOMPARE(zapis.pakiety.size(), oczekiwane.size());
    QVERIFY(zapis.pakiety == oczekiwane);
  }
};

PAPLANKI_TEST_MAIN(TestOdbiorPakietow)
#include "test_OdbiorPakietow.moc"
