#include "app/DataCzas.h"
#include "app/ui/Aplikacja.h"
#include "common/Srodowisko.h"
#include "common/StanowiskoWiadomosci.h"
#include "contacts/Galezie.h"
#include "gg/Liczby.h"
#include "gg/Pakiety.h"
#include "gg/SesjaPakiety.h"
#include "gg/StronyKodowe.h"
#include "gg/WysylanieWiadomosci.h"
#include "net/Blad.h"

#include <QMessageBox>
#include <QStringEncoder>

namespace {

QByteArray W1250(const QString &tekst)
{
  QStringEncoder koder("windows-1250");
  return koder.encode(tekst);
}

const QByteArray Znacznik = QByteArray::fromHex("efbbbf");

// Stand-ins for the compose dialog, the number box and the status dialog, with what they saw.
struct TOkienka {
  bool potwierdz = true;
  QString odpowiedz = QStringLiteral("Zażółć gęślą jaźń");
  bool podajNumer = true;
  QString numer;
  TWysylanieWiadomosci::TStanDialogu stanDialogu{3, QStringLiteral("obiad")};
  std::function<void()> podczasPisania;

  // Answers after the first, one per further asking.
  QStringList kolejneNumery;

  QString komentowana;
  QStringList numeryPoczatkowe;
  QStringList bledy; // why each asking came (empty the first time)
  bool pisalo = false;
  QList<TWezel *> rozwiniete;
};

struct TWysylanie {
  TStanowiskoGG s;
  TOkienka o;
  bool piszeWiadomosc = false;
  TWysylanieWiadomosci wysylanie{*s.sesja,
                                 s.drzewo,
                                 *s.ustawienia,
                                 piszeWiadomosc,
                                 [this](const QString &komentowana, QString &odpowiedz) {
                                   o.komentowana = komentowana;
                                   o.pisalo = piszeWiadomosc;
                                   if (o.podczasPisania)
                                     o.podczasPisania();
                                   if (o.potwierdz)
                                     odpowiedz = o.odpowiedz;
                                   return o.potwierdz;
                                 },
                                 [this](QString &numer, const QString &blad) {
                                   o.numeryPoczatkowe << numer;
                                   o.bledy << blad;
                                   if (o.bledy.size() > 1) {
                                     if (o.kolejneNumery.isEmpty())
                                       return false;
                                     numer = o.kolejneNumery.takeFirst();
                                     return true;
                                   }
                                   if (o.podajNumer)
                                     numer = o.numer;
                                   return o.podajNumer;
                                 },
                                 [this] { return o.stanDialogu; },
                                 [this](TWezel *w) { o.rozwiniete << w; }};

  TWezel *Kontakt(int numer)
  {
    TWezel *w = s.drzewo.DodajUzytkownika(numer, {}, {}, {}, {}, QStringLiteral("k"), 3);
    // Shown not available, as every contact is before its first status.
    s.drzewo.ZastosujStan(w, StanGG::Niedostepny);
    return w;
  }
  TWezel *Wyslij(TWezel *kontakt, TWezel *wezel = nullptr)
  {
    auto *u = kontakt->DaneJako<TUzytkownik>();
    return wysylanie.WyslijWiadomosc(u, u->Numer(), wezel ? wezel : kontakt);
  }
};

const TDaneDodatkowe &Dane(TWezel *w)
{
  return w->DaneJako<TWypowiedz>()->DaneDodatkowe();
}

QByteArray OczekiwaneCialo(int adresat, TWezel *zapisany, const QByteArray &tekst)
{
  return IntToLE(adresat) + IntToLE(Dane(zapisany).NumerSekwencyjny) + IntToLE(8) + tekst + '\0';
}

} // namespace

class TestWysylanieWiadomosci : public QObject {
  Q_OBJECT
private slots:
  void kodowanieTekstu_data()
  {
    QTest::addColumn<bool>("kontakt");
    QTest::addColumn<bool>("wymieniony");
    QTest::addColumn<bool>("rozmowcaZna");
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<QByteArray>("bajty");
    const QString polski = QStringLiteral("„Zażółć” €");
    const QString obcy = QStringLiteral("Привет ☺ ż");
    QTest::newRow("pierwszy kontakt")
        << true << false << false << polski << W1250(polski) + Znacznik;
    // The marker case comes first even when the peer is known to use it.
    QTest::newRow("pierwszy kontakt, rozmówca zna znacznik")
        << true << false << true << polski << W1250(polski) + Znacznik;
    QTest::newRow("rozmówca zna znacznik") << true << true << true << polski << polski.toUtf8();
    QTest::newRow("zwykły") << true << true << false << polski << W1250(polski);
    QTest::newRow("bez kontaktu") << false << false << false << polski << W1250(polski);
    QTest::newRow("pusty, pierwszy kontakt") << true << false << false << QString() << Znacznik;
    // Nothing 1250 cannot hold is dropped: the whole text goes as UTF-8 after the marker.
    QTest::newRow("pierwszy kontakt, poza 1250")
        << true << false << false << obcy << Znacznik + obcy.toUtf8();
    QTest::newRow("zwykły, poza 1250") << true << true << false << obcy << Znacznik + obcy.toUtf8();
    QTest::newRow("bez kontaktu, poza 1250")
        << false << false << false << obcy << Znacznik + obcy.toUtf8();
  }
  void kodowanieTekstu()
  {
    QFETCH(bool, kontakt);
    QFETCH(bool, wymieniony);
    QFETCH(bool, rozmowcaZna);
    QFETCH(QString, tekst);
    QFETCH(QByteArray, bajty);
    TUzytkownik u(nullptr, 7, {}, {}, {}, {}, {}, 0);
    u.ZnacznikWymieniony = wymieniony;
    u.RozmowcaZnaZnacznik = rozmowcaZna;
    QCOMPARE(TekstWiadomosci(tekst, kontakt ? &u : nullptr).toHex(' '), bajty.toHex(' '));
    QVERIFY(u.ZnacznikWymieniony == (kontakt || wymieniony));
    // Read back by the rule of received messages, nothing is lost (the UTF-8 case without the
    // marker is for peers that read UTF-8 throughout).
    if (!(wymieniony && rozmowcaZna))
      QCOMPARE(DekodujTekstWiadomosci(bajty), tekst);
  }

  void kolejneWiadomosciDoKontaktu()
  {
    TWysylanie t;
    QVERIFY(t.s.Zaloguj());
    TWezel *kontakt = t.Kontakt(4242);
    auto *u = kontakt->DaneJako<TUzytkownik>();
    const QDateTime przed = QDateTime::currentDateTime();

    TWezel *pierwsza = t.Wyslij(kontakt);
    QVERIFY(pierwsza);
    QCOMPARE(t.o.komentowana, QStringLiteral("k"));
    QVERIFY(t.o.pisalo);
    QVERIFY(!t.piszeWiadomosc);
    QCOMPARE(pierwsza->Rodzic(), kontakt);
    QCOMPARE(pierwsza->Tekst(), t.o.odpowiedz);
    QCOMPARE(pierwsza->DaneJako<TWypowiedz>()->Tekst(), t.o.odpowiedz);
    QCOMPARE(pierwsza->ObrazStanu(), 10);
    QCOMPARE(t.o.rozwiniete, QList<TWezel *>{pierwsza});
    QCOMPARE(u->OstatniaWypowiedz.get(), pierwsza);
    QCOMPARE(Dane(pierwsza).StatusPotwierdzenia, -1);
    QCOMPARE(Dane(pierwsza).NumerNadawcy, 4242);
    QCOMPARE(Dane(pierwsza).CzasNadania, 0);
    QVERIFY(Dane(pierwsza).CzasUtworzenia >= przed &&
            Dane(pierwsza).CzasUtworzenia <= QDateTime::currentDateTime());

    // An answer to the first message goes below it; the marker has been announced.
    t.o.odpowiedz = QStringLiteral("drugą");
    TWezel *druga = t.Wyslij(kontakt, pierwsza);
    QCOMPARE(druga->Rodzic(), pierwsza);
    QCOMPARE(t.o.komentowana, QStringLiteral("Zażółć gęślą jaźń"));
    QCOMPARE(u->OstatniaWypowiedz.get(), druga);

    // The peer's last message carried the marker.
    u->RozmowcaZnaZnacznik = true;
    t.o.odpowiedz = QStringLiteral("trzecią");
    TWezel *trzecia = t.Wyslij(kontakt);

    // Shown not available again: the marker is announced again.
    t.s.drzewo.ZastosujStan(kontakt, StanGG::NiedostepnyZOpisem);
    t.o.odpowiedz = QStringLiteral("czwartą");
    TWezel *czwarta = t.Wyslij(kontakt);

    QTRY_COMPARE(t.s.Pakiety(GGReqSendMsg).size(), 4);
    const QList<TPakietGG> wyslane = t.s.Pakiety(GGReqSendMsg);
    QCOMPARE(
        wyslane[0].cialo,
        OczekiwaneCialo(4242, pierwsza, W1250(QStringLiteral("Zażółć gęślą jaźń")) + Znacznik));
    QCOMPARE(wyslane[1].cialo, OczekiwaneCialo(4242, druga, W1250(QStringLiteral("drugą"))));
    QCOMPARE(wyslane[2].cialo, OczekiwaneCialo(4242, trzecia, QStringLiteral("trzecią").toUtf8()));
    QCOMPARE(wyslane[3].cialo,
             OczekiwaneCialo(4242, czwarta, W1250(QStringLiteral("czwartą")) + Znacznik));
    QSet<int> sekwencje;
    for (TWezel *w : {pierwsza, druga, trzecia, czwarta}) {
      QVERIFY(Dane(w).NumerSekwencyjny >= 0 && Dane(w).NumerSekwencyjny < 0x7FFFFFFF);
      sekwencje << Dane(w).NumerSekwencyjny;
    }
    QCOMPARE(sekwencje.size(), 4);
    // The typing notice is off by default.
    QVERIFY(t.s.Stany().isEmpty());
  }

  void numerWpisanyRecznie()
  {
    TWysylanie t;
    QVERIFY(t.s.Zaloguj());
    // A contact of that number exists and has never had the marker: a typed number is still
    // plain.
    t.Kontakt(555);
    t.o.numer = QStringLiteral("555");
    t.o.odpowiedz = QStringLiteral("ręcznie");
    TWezel *w = t.wysylanie.WyslijWiadomosc(nullptr, 0, nullptr);
    QVERIFY(w);
    QCOMPARE(t.o.komentowana, QStringLiteral("wypowiedź do odbiorcy wskazanego numerem"));
    QCOMPARE(t.o.numeryPoczatkowe, QStringList{QString()});
    QCOMPARE(t.s.ustawienia->OstatniAdresat(), QStringLiteral("555"));
    QVERIFY(!w->Rodzic());
    QCOMPARE(w->ObrazStanu(), 10);
    QTRY_COMPARE(t.s.Pakiety(GGReqSendMsg).size(), 1);
    QCOMPARE(t.s.Pakiety(GGReqSendMsg)[0].cialo,
             OczekiwaneCialo(555, w, W1250(QStringLiteral("ręcznie"))));

    // The box offers the last number; cancelling it keeps that number and records nothing.
    const int wezly = t.s.drzewo.LiczbaWezlow();
    t.o.podajNumer = false;
    QVERIFY(!t.wysylanie.WyslijWiadomosc(nullptr, 0, nullptr));
    QCOMPARE(t.o.numeryPoczatkowe.last(), QStringLiteral("555"));
    QCOMPARE(t.s.ustawienia->OstatniAdresat(), QStringLiteral("555"));
    // A cancelled dialog does not ask for the number at all.
    t.o.potwierdz = false;
    QVERIFY(!t.wysylanie.WyslijWiadomosc(nullptr, 0, nullptr));
    QCOMPARE(t.o.numeryPoczatkowe.size(), 2);
    QCOMPARE(t.s.drzewo.LiczbaWezlow(), wezly);
    QTest::qWait(50); // nothing may be sent for the cancelled dialog
    QCOMPARE(t.s.Pakiety(GGReqSendMsg).size(), 1);
    QVERIFY(!t.piszeWiadomosc);
  }

  void informowanieOPisaniu_data()
  {
    QTest::addColumn<bool>("wlaczone");
    QTest::addColumn<bool>("potwierdz");
    QTest::addColumn<quint32>("stanDialogu");
    QTest::addColumn<QList<QByteArray>>("stany");
    const QByteArray pisze = IntToLE(4) + W1250(QStringLiteral("piszę"));
    const QByteArray obiad = IntToLE(5) + "obiad";
    QTest::newRow("wysłana") << true << true << 3u << QList<QByteArray>{pisze, obiad};
    QTest::newRow("anulowana") << true << false << 3u << QList<QByteArray>{pisze, obiad};
    // The status dialog was never shown: the status before the notice (invisible after login)
    // comes back, not status 0.
    QTest::newRow("dialog stanu nie pokazany")
        << true << true << 0u << QList<QByteArray>{pisze, IntToLE(20)};
    QTest::newRow("wyłączone") << false << true << 3u << QList<QByteArray>{};
  }
  void informowanieOPisaniu()
  {
    QFETCH(bool, wlaczone);
    QFETCH(bool, potwierdz);
    QFETCH(quint32, stanDialogu);
    QFETCH(QList<QByteArray>, stany);
    TWysylanie t;
    t.s.ustawienia->UstawInformowanieOPisaniu(wlaczone);
    QVERIFY(t.s.Zaloguj());
    TWezel *kontakt = t.Kontakt(4242);
    t.o.potwierdz = potwierdz;
    t.o.stanDialogu.stan = stanDialogu;
    bool pisalWidzial = false;
    t.o.podczasPisania = [&] {
      // While the dialog is open the server already sees "piszę".
      pisalWidzial = QTest::qWaitFor([&] { return !t.s.Pakiety(GGReqNewStatus).isEmpty(); }, 2000);
    };
    t.Wyslij(kontakt);
    QCOMPARE(pisalWidzial, wlaczone);
    QTRY_COMPARE(t.s.Pakiety(GGReqNewStatus).size(), stany.size());
    QTest::qWait(50); // no further status may follow
    QList<QByteArray> cialaStanow;
    for (const TPakietGG &p : t.s.Pakiety(GGReqNewStatus))
      cialaStanow << p.cialo;
    QCOMPARE(cialaStanow, stany);
    QCOMPARE(t.s.Pakiety(GGReqSendMsg).size(), potwierdz ? 1 : 0);
    QVERIFY(!t.piszeWiadomosc);
  }

  void bezPolaczeniaZapisanaIWyslanaPoZalogowaniu()
  {
    TWysylanie t;
    t.s.ustawienia->UstawInformowanieOPisaniu(true);
    TWezel *kontakt = t.Kontakt(4242);
    // Characters 1250 cannot hold survive the resending too.
    t.o.odpowiedz = QStringLiteral("Zażółć ☺");
    TWezel *w = t.Wyslij(kontakt);
    QVERIFY(w);
    QCOMPARE(w->ObrazStanu(), 10);
    QCOMPARE(Dane(w).StatusPotwierdzenia, -1);
    // Nothing was handed to the closed socket: no status, no message, no reconnection started.
    QCOMPARE(t.s.sesja->StanWlasny(), 0u);
    QVERIFY(!t.s.sesja->CzekaNaLaczenie());
    QCOMPARE(t.s.gg.Polaczenia(), 0);

    QVERIFY(t.s.Zaloguj());
    QTRY_COMPARE(t.s.Pakiety(GGReqSendMsg).size(), 1);
    const QByteArray oczekiwane =
        IntToLE(4242) + IntToLE(Dane(w).NumerSekwencyjny) + IntToLE(8) +
        W1250(QStringLiteral("[Przygotowano ") + DataCzasNaTekst(Dane(w).CzasUtworzenia) +
              QStringLiteral("] ")) +
        Znacznik + QStringLiteral("Zażółć ☺").toUtf8() + '\0';
    QCOMPARE(t.s.Pakiety(GGReqSendMsg)[0].cialo, oczekiwane);
    QVERIFY(t.s.Pakiety(GGReqNewStatus).isEmpty());
  }

  // A typed recipient that is not a number is asked for again with the message kept; Cancel
  // then ends it with nothing sent or recorded, a number sends the message written.
  void numerNieJestLiczba_data()
  {
    QTest::addColumn<QStringList>("kolejne");
    QTest::addColumn<int>("adresat");
    QTest::newRow("potem anuluj") << QStringList{} << 0;
    QTest::newRow("potem numer") << QStringList{QStringLiteral("4242")} << 4242;
    QTest::newRow("dwa razy źle") << QStringList{QStringLiteral("Ania"), QStringLiteral(" 77 ")}
                                  << 77;
  }
  void numerNieJestLiczba()
  {
    QFETCH(QStringList, kolejne);
    QFETCH(int, adresat);
    TWysylanie t;
    t.s.ustawienia->UstawInformowanieOPisaniu(true);
    QVERIFY(t.s.Zaloguj());
    const int wezly = t.s.drzewo.LiczbaWezlow();
    t.o.numer = QStringLiteral("12a");
    t.o.kolejneNumery = kolejne;
    // No error box: the number box itself says what was wrong.
    bool pokazano = false;
    OdpowiedzNaOknoModalne(
        [&](QWidget *okno) {
          pokazano = true;
          okno->close();
        },
        300);
    TWezel *w = nullptr;
    QVERIFY(WykonajZObslugaBledow([&] { w = t.wysylanie.WyslijWiadomosc(nullptr, 0, nullptr); }));
    QTest::qWait(350); // time for a dialog that must not come
    QVERIFY(!pokazano);

    QStringList bledy{QString(), QStringLiteral("„12a” nie jest liczbą")};
    if (kolejne.size() > 1)
      bledy << QStringLiteral("„Ania” nie jest liczbą");
    QCOMPARE(t.o.bledy, bledy);
    // Each asking starts from the last answer, so the user can mend it.
    QCOMPARE(t.o.numeryPoczatkowe.value(1), QStringLiteral("12a"));
    QVERIFY(!t.piszeWiadomosc);
    QTRY_COMPARE(t.s.Stany(), (QList<quint32>{4, 5}));
    if (adresat == 0) {
      QVERIFY(!w);
      QCOMPARE(t.s.ustawienia->OstatniAdresat(), QStringLiteral("12a"));
      QCOMPARE(t.s.drzewo.LiczbaWezlow(), wezly);
      QTest::qWait(50); // nothing may be sent
      QVERIFY(t.s.Pakiety(GGReqSendMsg).isEmpty());
      return;
    }
    QVERIFY(w);
    QCOMPARE(w->Tekst(), t.o.odpowiedz);
    QCOMPARE(Dane(w).NumerNadawcy, adresat);
    QCOMPARE(t.s.ustawienia->OstatniAdresat(), kolejne.last());
    QTRY_COMPARE(t.s.Pakiety(GGReqSendMsg).size(), 1);
    QCOMPARE(LEToInt(t.s.Pakiety(GGReqSendMsg)[0].cialo, 0), adresat);
  }

  void wezlyUsunietePodczasPisania()
  {
    TWysylanie t;
    QVERIFY(t.s.Zaloguj());
    TWezel *kontakt = t.Kontakt(4242);
    TWezel *odpowiadana = t.Wyslij(kontakt);
    QTRY_COMPARE(t.s.Pakiety(GGReqSendMsg).size(), 1);
    // The contact with the answered message goes while the dialog is open.
    t.o.podczasPisania = [&] { t.s.drzewo.Usun(kontakt); };
    t.o.odpowiedz = QStringLiteral("po usunięciu");
    TWezel *w = t.Wyslij(kontakt, odpowiadana);
    QVERIFY(w);
    QVERIFY(!w->Rodzic());
    QCOMPARE(t.s.drzewo.LiczbaGlownych(), 1);
    QTRY_COMPARE(t.s.Pakiety(GGReqSendMsg).size(), 2);
    QCOMPARE(t.s.Pakiety(GGReqSendMsg)[1].cialo,
             OczekiwaneCialo(4242, w, W1250(QStringLiteral("po usunięciu"))));
  }
};

PAPLANKI_TEST_MAIN(TestWysylanieWiadomosci)
#include "test_WysylanieWiadomosci.moc"
