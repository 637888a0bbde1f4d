#include "common/OdbiorTestowy.h"
#include "common/Srodowisko.h"
#include "contacts/Galezie.h"
#include "contacts/Sledzeni.h"
#include "gg/Liczby.h"
#include "gg/Pakiety.h"
#include "gg/StronyKodowe.h"
#include "net/Blad.h"

#include <QTest>

namespace {

TWezel *Kontakt(TDrzewo &d, int numer, const QString &opis = QStringLiteral("Ala"))
{
  return d.DodajUzytkownika(numer, QStringLiteral("Imię"), QStringLiteral("Nazwisko"),
                            QStringLiteral("e@x"), QStringLiteral("1"), opis, 3);
}

// A message written by the user, as the compose operation records it.
TWezel *Wyslana(TDrzewo &d, TWezel *rodzic, int odbiorca, int sekwencja)
{
  TWezel *w = d.Dodaj(rodzic, QStringLiteral("napisana"));
  w->UstawDane(std::make_shared<TWypowiedz>(
      nullptr,
      std::make_unique<TDaneDodatkowe>(-1, odbiorca, 0, sekwencja, QDateTime::currentDateTime()),
      QStringLiteral("napisana")));
  w->UstawObrazStanu(10);
  return w;
}

int Status(TWezel *w)
{
  return w->DaneJako<TWypowiedz>()->DaneDodatkowe().StatusPotwierdzenia;
}

// Records what the active store is told.
class TBazaTestowa : public TSledzeni {
public:
  void Dodaj(int Numer, const QString &Imie, const QString &Nazwisko, const QString &EMail,
             const QString &Telefon, const QString &Opis) override
  {
    Dodane << QStringList{QString::number(Numer), Imie, Nazwisko, EMail, Telefon, Opis};
  }
  void Zapisz(int, int, const QString &, const QString &, const QString &, const QString &,
              const QString &) override
  {
  }
  QList<QStringList> Dodane;
};

QByteArray Lista(char podtyp, const QByteArray &tekst)
{
  return QByteArray(1, podtyp) + tekst;
}

// Every node's caption in tree order: what a dropped packet must leave alone.
QStringList Podpisy(const TDrzewo &d)
{
  QStringList wynik;
  for (const TWezel *w = d.Pierwszy(); w; w = w->Nastepny())
    wynik << w->Tekst();
  return wynik;
}

} // namespace

class TestOdbiorInne : public QObject {
  Q_OBJECT
private slots:
  // --- delivery reports ---

  void potwierdzenieBezWiadomosci_data()
  {
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("tekst");
    QTest::newRow("1") << 1 << "Wiadomość została przyblokowana przez serwer";
    QTest::newRow("2") << 2 << "Wiadomość dostarczono";
    QTest::newRow("3") << 3 << "Wiadomość zakolejkowano";
    QTest::newRow("4") << 4 << "Brak miejsca dla wiadomości";
    QTest::newRow("6") << 6 << "Nieznany status wysyłania wiadomości: 6";
    QTest::newRow("-1") << -1 << "Nieznany status wysyłania wiadomości: -1";
  }

  void potwierdzenieBezWiadomosci()
  {
    QFETCH(int, status);
    QFETCH(QString, tekst);
    TStanowiskoOdbioru s;
    TWezel *w = Wyslana(s.Drzewo, Kontakt(s.Drzewo, 5), 5, 100);
    s.Obsluz(GGAnsSendMsgAck, CialoPotwierdzenia(status, 5, 101));
    QCOMPARE(s.Okno.Panel2, QStringList{tekst});
    QCOMPARE(Status(w), -1);
    QCOMPARE(w->ObrazStanu(), 10);
  }

  void potwierdzenieWiadomosci_data()
  {
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("obraz");
    QTest::addColumn<QStringList>("panel");
    QTest::newRow("1 przyblokowana") << 1 << 12 << QStringList{};
    QTest::newRow("2 dostarczona") << 2 << 2 << QStringList{};
    QTest::newRow("3 zakolejkowana") << 3 << 8 << QStringList{};
    QTest::newRow("4 brak miejsca") << 4 << 0 << QStringList{};
    QTest::newRow("6 nieznany") << 6 << 10
                                << QStringList{
                                       QStringLiteral("Nieznany status wysyłania wiadomości: 6")};
  }

  void potwierdzenieWiadomosci()
  {
    QFETCH(int, status);
    QFETCH(int, obraz);
    QFETCH(QStringList, panel);
    TStanowiskoOdbioru s;
    TWezel *w = Wyslana(s.Drzewo, Kontakt(s.Drzewo, 5), 5, 4242);
    const QByteArray strumien = ZbudujRamke(GGAnsSendMsgAck, CialoPotwierdzenia(status, 999, 4242));
    QVERIFY(DostarczPrzezGniazdo(s.Odbior, strumien, 1));
    QCOMPARE(Status(w), status);
    QCOMPARE(w->ObrazStanu(), obraz);
    QCOMPARE(s.Okno.Panel2, panel);
  }

  void potwierdzeniePierwszejWKolejnosciDrzewa()
  {
    TStanowiskoOdbioru s;
    TWezel *a = Kontakt(s.Drzewo, 1);
    TWezel *b = Kontakt(s.Drzewo, 2);
    TWezel *wB = Wyslana(s.Drzewo, b, 2, 7);
    // Recorded later, but deeper under the first contact: first in depth-first order.
    TWezel *wA = Wyslana(s.Drzewo, Wyslana(s.Drzewo, a, 1, 8), 1, 7);
    s.Obsluz(GGAnsSendMsgAck, CialoPotwierdzenia(2, 0, 7));
    QCOMPARE(wA->ObrazStanu(), 2);
    QCOMPARE(wB->ObrazStanu(), 10);

    // Dragged below the other one, it comes second.
    QVERIFY(s.Drzewo.Przenies(wA, b));
    s.Obsluz(GGAnsSendMsgAck, CialoPotwierdzenia(3, 0, 7));
    QCOMPARE(wB->ObrazStanu(), 8);
    QCOMPARE(Status(wA), 2);

    // Deleted, it is not found any more; an ancestor comes before its descendant.
    s.Drzewo.Usun(wB);
    TWezel *pod = Wyslana(s.Drzewo, wA, 2, 7);
    s.Obsluz(GGAnsSendMsgAck, CialoPotwierdzenia(4, 0, 7));
    QCOMPARE(wA->ObrazStanu(), 0);
    QCOMPARE(pod->ObrazStanu(), 10);
    s.Drzewo.Wyczysc();
    s.Obsluz(GGAnsSendMsgAck, CialoPotwierdzenia(1, 0, 7));
    QCOMPARE(s.Okno.Panel2.last(), QStringLiteral("Wiadomość została przyblokowana przez serwer"));
  }

  void potwierdzenieOdebranejWiadomosci()
  {
    // A received message carries the sender's sequence number; its first line is the match.
    TStanowiskoOdbioru s;
    TWezel *k = Kontakt(s.Drzewo, 5);
    s.Obsluz(GGAnsRecvMsg, CialoWiadomosci(5, 31, 1700000000, 0, "a\r\nb"));
    s.Obsluz(GGAnsSendMsgAck, CialoPotwierdzenia(3, 5, 31));
    QCOMPARE(k->Dziecko(0)->ObrazStanu(), 8);
    QCOMPARE(k->Dziecko(1)->ObrazStanu(), -1);
    QCOMPARE(Status(k->Dziecko(1)), 3); // the shared record
  }

  // --- contact list ---

  void listaWCzesciach()
  {
    TStanowiskoOdbioru s;
    TBazaTestowa baza;
    TOdbior odbior(s.Drzewo, s.Ustawienia, s.Okno, s.Dziennik.Funkcja(), [&] { return &baza; });
    TWezel *istniejacy = Kontakt(s.Drzewo, 200, QStringLiteral("Bez zmian"));
    const QByteArray tekst = "Jan;Kowalski;x;Janek;600100200;;100;jan@x.pl;0;;0;\r\n"
                             "Inny;Imie;x;Nowy opis;1;;200;b@x;0;;0;\r\n"
                             "Kr\xF3tka;;;;;\r\n"
                             "\xAF"
                             "aneta;Nowak;;Ela;;;300\r\n"
                             "\r\n";
    // Parts cut inside lines.
    const QByteArray czesci = ZbudujRamke(GGAnsUserList, Lista(0x04, tekst.left(30))) +
                              ZbudujRamke(GGAnsUserList, Lista(0x04, tekst.mid(30, 60)));
    QVERIFY(DostarczPrzezGniazdo(odbior, czesci, 2));
    QCOMPARE(s.Drzewo.LiczbaGlownych(), 1);
    QVERIFY(s.Okno.Informacje.isEmpty());
    QCOMPARE(odbior.BuforListy().Tekst(), Cp1250ToAnsi(tekst.left(90)));
    QVERIFY(
        DostarczPrzezGniazdo(odbior, ZbudujRamke(GGAnsUserList, Lista(0x06, tekst.mid(90))), 1));

    QCOMPARE(s.Drzewo.LiczbaGlownych(), 3);
    TWezel *jan = s.Drzewo.ZnajdzUzytkownika(100);
    auto *u = jan->DaneJako<TUzytkownik>();
    QCOMPARE(jan->Tekst(), QStringLiteral("Janek"));
    QCOMPARE(u->Imie, QStringLiteral("Jan"));
    QCOMPARE(u->Nazwisko, QStringLiteral("Kowalski"));
    QCOMPARE(u->Telefon, QStringLiteral("600100200"));
    QCOMPARE(u->EMail, QStringLiteral("jan@x.pl"));
    QCOMPARE(u->Sledzony, 1);
    QVERIFY(s.Drzewo.MaStanWezla(jan, StanWezla::Wyciety));
    auto *z = s.Drzewo.ZnajdzUzytkownika(300)->DaneJako<TUzytkownik>();
    QCOMPARE(z->Imie, QStringLiteral("Żaneta"));
    QCOMPARE(z->EMail, QString());
    QCOMPARE(istniejacy->Tekst(), QStringLiteral("Bez zmian"));
    QCOMPARE(s.Okno.Informacje, QStringList{TOdbior::TekstKontaktyZaladowane});
    QCOMPARE(baza.Dodane.size(), 2);
    QCOMPARE(baza.Dodane[0], (QStringList{QStringLiteral("100"), QStringLiteral("Jan"),
                                          QStringLiteral("Kowalski"), QStringLiteral("jan@x.pl"),
                                          QStringLiteral("600100200"), QStringLiteral("Janek")}));

    // A second last part without a new request: the whole text again, nothing new added.
    odbior.Obsluz(GGAnsUserList, 1, Lista(0x06, QByteArray()));
    QCOMPARE(s.Drzewo.LiczbaGlownych(), 3);
    QCOMPARE(s.Okno.Informacje.size(), 2);
    QCOMPARE(baza.Dodane.size(), 2);
    // Replies to an upload change nothing.
    odbior.Obsluz(GGAnsUserList, 1, Lista(0x00, QByteArray()));
    odbior.Obsluz(GGAnsUserList, 3, Lista(0x02, "ab"));
    QCOMPARE(s.Okno.Informacje.size(), 2);
    QCOMPARE(odbior.BuforListy().Tekst(), Cp1250ToAnsi(tekst));
    // The window's list commands empty it before a new request.
    odbior.BuforListy().Wyczysc();
    odbior.Obsluz(GGAnsUserList, 1, Lista(0x06, QByteArray()));
    QCOMPARE(s.Okno.Informacje.size(), 3);
    QCOMPARE(s.Drzewo.LiczbaGlownych(), 3);
  }

  void listaZNumeremNieliczbowym()
  {
    TStanowiskoOdbioru s;
    const QByteArray tekst = "A;B;;A;;;101;\r\nC;D;;C;;;12x;\r\nE;F;;E;;;102;\r\n";
    QVERIFY_THROWS_EXCEPTION(EConvertError, s.Obsluz(GGAnsUserList, Lista(0x06, tekst)));
    QVERIFY(s.Drzewo.ZnajdzUzytkownika(101));
    QVERIFY(!s.Drzewo.ZnajdzUzytkownika(102));
    QVERIFY(s.Okno.Informacje.isEmpty());
  }

  void nieznanyPodtypListy()
  {
    TStanowiskoOdbioru s;
    s.Obsluz(GGAnsUserList, QByteArray("\x0A"
                                       "ab\x01",
                                       4));
    QCOMPARE(s.Okno.Wyswietlone,
             QStringList{QStringLiteral("Nieznany typ w GGAnsUserList A 4 {0A}ab{01}")});
    QVERIFY(s.Odbior.BuforListy().Tekst().isEmpty());
    s.Okno.Wyswietlone.clear();
    s.Obsluz(GGAnsUserList, "\x0A" + QByteArray(4096, 'c'));
    QCOMPARE(s.Okno.Wyswietlone,
             QStringList{QStringLiteral("Nieznany typ w GGAnsUserList A 4097 {0A}") +
                         QString(TOdbior::NajdluzszyOpisCiala - 1, u'c') +
                         QStringLiteral("{...}")});
  }

  // --- system events, keep-alive, unknown packets ---

  void zdarzenieXml()
  {
    TStanowiskoOdbioru s;
    s.Obsluz(GGAnsXmlEvent, "<event><type>28</type><body>x</body></event>");
    QVERIFY(s.Okno.Wyswietlone.isEmpty());
    QVERIFY(s.Dziennik.Wpisy.isEmpty());
    s.Obsluz(GGAnsXmlEvent, "<type>3</type>\n<b>\xB3</b>");
    const QString opis = QStringLiteral("<type>3</type>{0A}<b>ł</b>");
    QCOMPARE(
        s.Okno.Wyswietlone,
        QStringList{QStringLiteral("Informacja systemowa typu innego niż 28 \"") + opis + u'"'});
    QCOMPARE(s.Dziennik.Wpisy, (QList<QPair<QString, QString>>{{TOdbior::KategoriaXml, opis}}));
    s.Dziennik.Wpisy.clear();
    s.Obsluz(GGAnsXmlEvent, "<type>3</type>" + QByteArray(100000, 'z'));
    QCOMPARE(s.Dziennik.Wpisy.value(0).second,
             QStringLiteral("<type>3</type>") + QString(TOdbior::NajdluzszyOpisCiala - 14, u'z') +
                 QStringLiteral("{...}"));
  }

  void pakietyBezSkutkow_data()
  {
    QTest::addColumn<qint32>("typ");
    QTest::addColumn<QStringList>("panel");
    QTest::newRow("ping") << GGAnsPing << QStringList{TOdbior::TekstPing};
    QTest::newRow("rozłączanie") << GGAnsDisconnecting << QStringList{TOdbior::TekstRozlaczony};
    QTest::newRow("pong") << GGAnsPong << QStringList{};
    QTest::newRow("0x0D") << qint32(0x0D) << QStringList{};
    QTest::newRow("powitanie (sesji)") << GGAnsWelcome << QStringList{};
    QTest::newRow("zalogowano (sesji)") << GGAnsLoginOk << QStringList{};
    QTest::newRow("odmowa (sesji)") << GGAnsLoginFailed << QStringList{};
  }

  void pakietyBezSkutkow()
  {
    QFETCH(qint32, typ);
    QFETCH(QStringList, panel);
    TStanowiskoOdbioru s;
    Kontakt(s.Drzewo, 1);
    s.Obsluz(typ, QByteArray("\x01\x00\x00\x00\x02\x00\x00\x00", 8));
    QCOMPARE(s.Okno.Panel2, panel);
    QVERIFY(s.Okno.Wyswietlone.isEmpty());
    QVERIFY(s.Dziennik.Wpisy.isEmpty());
    QCOMPARE(s.Drzewo.LiczbaWezlow(), 1);
  }

  void nieznanyPakiet_data()
  {
    QTest::addColumn<qint32>("typ");
    QTest::addColumn<QByteArray>("cialo");
    QTest::addColumn<QString>("tekst");
    QTest::newRow("0x1F") << qint32(0x1F) << QByteArray("\0A\n", 3) << "1F 3 {00}A{0A}";
    QTest::newRow("ujemny, pusty") << qint32(-1) << QByteArray() << "FFFFFFFF 0 ";
    QTest::newRow("1250, procenty") << qint32(0x12) << QByteArray("%1 \xB9") << "12 4 %1 ą";
    // A long body is shown and logged by its beginning only; the length says how long it was.
    const QByteArray dlugie = QByteArray(TOdbior::NajdluzszyOpisCiala - 1, 'x') + '\n';
    QTest::newRow("ciało na granicy")
        << qint32(0x13) << dlugie
        << QStringLiteral("13 2048 ") + QString(TOdbior::NajdluzszyOpisCiala - 1, u'x') +
               QStringLiteral("{0A}");
    QTest::newRow("ciało ponad granicę")
        << qint32(0x13) << dlugie + QByteArray(1024 * 1024 - 2048, '\x01')
        << QStringLiteral("13 1048576 ") + QString(TOdbior::NajdluzszyOpisCiala - 1, u'x') +
               QStringLiteral("{0A}{...}");
  }

  void nieznanyPakiet()
  {
    QFETCH(qint32, typ);
    QFETCH(QByteArray, cialo);
    QFETCH(QString, tekst);
    TStanowiskoOdbioru s;
    s.Obsluz(typ, cialo);
    QCOMPARE(s.Okno.Wyswietlone, QStringList{tekst});
    QCOMPARE(s.Dziennik.Wpisy, (QList<QPair<QString, QString>>{{TOdbior::KategoriaBledne, tekst}}));
  }

  void zalewRaportowNieZagniezdzaOkien()
  {
    // While the first box is up (its own event loop runs, as a modal box's does), thousands of
    // further reports arrive: they are logged, and no second box opens inside the first.
    constexpr int Nieznane = 3000;
    TStanowiskoOdbioru s;
    QByteArray strumien;
    for (int i = 0; i < Nieznane; ++i)
      strumien += ZbudujRamke(0x40 + i % 50, IntToLE(i));
    strumien += ZbudujRamke(GGAnsXmlEvent, "<type>5</type>");
    strumien += ZbudujRamke(GGAnsUserList, "\x09");
    strumien += ZbudujRamke(GGAnsPing, {});
    const int wszystkie = Nieznane + 3;

    int glebokosc = 0;
    int najglebiej = 0;
    std::unique_ptr<TPolaczenieGG> polaczenie;
    s.Okno.PrzyDisplay = [&](const QString &) {
      najglebiej = std::max(najglebiej, ++glebokosc);
      (void)QTest::qWaitFor([&] { return polaczenie->Dostarczone() >= wszystkie; }, 20000);
      --glebokosc;
    };
    polaczenie = std::make_unique<TPolaczenieGG>(
        [strumien](TPolaczenieTestowe &p) {
          p.Pisz(strumien);
          p.CzekajNaZamkniecie(30000);
        },
        [&](qint32 typ, qint32 dlugosc, const QByteArray &cialo) {
          s.Odbior.Obsluz(typ, dlugosc, cialo);
        });
    QVERIFY(polaczenie->CzekajNaPakiety(wszystkie, 30000));
    QCOMPARE(najglebiej, 1);
    QCOMPARE(s.Okno.Wyswietlone.size(), 1);
    QCOMPARE(s.Okno.Wyswietlone[0], QStringLiteral("40 4 {00}{00}{00}{00}"));
    QCOMPARE(s.Dziennik.Teksty(TOdbior::KategoriaBledne).size(), Nieznane + 1);
    QCOMPARE(s.Dziennik.Teksty(TOdbior::KategoriaXml),
             QStringList{QStringLiteral("<type>5</type>")});
    QCOMPARE(s.Okno.Panel2, QStringList{TOdbior::TekstPing});

    // Once the box is closed, the next report shows one again.
    s.Okno.PrzyDisplay = nullptr;
    s.Obsluz(0x41, QByteArray());
    QCOMPARE(s.Okno.Wyswietlone.size(), 2);
  }

  void informacjaOLiscieNieZagniezdza()
  {
    TStanowiskoOdbioru s;
    int pokazane = 0;
    s.Okno.PrzyInformacji = [&](const QString &) {
      ++pokazane;
      if (pokazane == 1) // a repeated last part while the box is up
        s.Obsluz(GGAnsUserList, Lista(0x06, "B;;;B;;;21;\r\n"));
    };
    s.Obsluz(GGAnsUserList, Lista(0x06, "A;;;A;;;20;\r\n"));
    QCOMPARE(pokazane, 1);
    QVERIFY(s.Drzewo.ZnajdzUzytkownika(21));
    s.Obsluz(GGAnsUserList, Lista(0x06, QByteArray()));
    QCOMPARE(pokazane, 2);
  }

  // --- packets shorter than their fixed fields ---

  void krotkiePakiety_data()
  {
    QTest::addColumn<qint32>("typ");
    QTest::addColumn<QByteArray>("cialo");
    const QByteArray pelna = CialoWiadomosci(1, 2, 3, 0x10, "x");
    QTest::newRow("wiadomość 15") << GGAnsRecvMsg << pelna.left(15);
    QTest::newRow("wiadomość 0") << GGAnsRecvMsg << QByteArray();
    QTest::newRow("status 7") << GGAnsStatus << CialoStatus(1, 4, "opis").left(7);
    QTest::newRow("potwierdzenie 11") << GGAnsSendMsgAck << CialoPotwierdzenia(2, 1, 5).left(11);
    QTest::newRow("notify reply 15")
        << GGAnsNotifyReply << (IntToLE(1) + char(2) + QByteArray(10, '\0'));
    QTest::newRow("status60 13") << GGAnsStatus60 << WpisStatus60(1, 2).left(13);
    QTest::newRow("notify reply60, drugi wpis ucięty")
        << GGAnsNotifyReply60 << WpisStatus60(1, 2) + WpisStatus60(1, 3).left(13);
    QTest::newRow("notify reply60, 1 bajt") << GGAnsNotifyReply60 << QByteArray(1, '\x01');
    QTest::newRow("katalog 4") << GGAnsPubDirReply << QByteArray("\x05\x01\x02\x03", 4);
    QTest::newRow("lista pusta") << GGAnsUserList << QByteArray();
  }

  void krotkiePakiety()
  {
    QFETCH(qint32, typ);
    QFETCH(QByteArray, cialo);
    TStanowiskoOdbioru s(false);
    TWezel *k = Kontakt(s.Drzewo, 1);
    Wyslana(s.Drzewo, k, 1, 5);
    const QStringList przed = Podpisy(s.Drzewo);
    s.Obsluz(typ, cialo);
    QCOMPARE(Podpisy(s.Drzewo), przed);
    QCOMPARE(s.Okno.Dzwieki, 0);
    QVERIFY(s.Okno.Panel2.isEmpty());
    QVERIFY(s.Okno.Wyswietlone.isEmpty());
    QCOMPARE(s.Dziennik.Teksty(TOdbior::KategoriaBledne),
             QStringList{QStringLiteral("%1 %2 %3")
                             .arg(QString::number(typ, 16).toUpper())
                             .arg(cialo.size())
                             .arg(EscapeControls(cialo))});
  }
};

PAPLANKI_TEST_MAIN(TestOdbiorInne)
#include "test_OdbiorInne.moc"
