#include "app/DataCzas.h"
#include "common/OdbiorTestowy.h"
#include "common/Srodowisko.h"
#include "contacts/Galezie.h"
#include "gg/CzasUnix.h"
#include "gg/Dzwiek.h"
#include "gg/Pakiety.h"

#include <QElapsedTimer>

namespace {

constexpr quint32 Czas = 1700000000;

QString Przedrostek(quint32 czas = Czas)
{
  return u'(' + DataCzasNaTekst(UnixToLocal(czas)) + u')';
}

QList<int> DlugosciWZnakach(const TWezel *rodzic)
{
  QList<int> wynik;
  for (int i = 0; i < rodzic->LiczbaDzieci(); ++i) {
    const QString &t = rodzic->Dziecko(i)->Tekst();
    wynik << int(t.toUcs4().size());
  }
  return wynik;
}

TWezel *Kontakt(TDrzewo &d, int numer, const QString &opis = QStringLiteral("Ala"))
{
  return d.DodajUzytkownika(numer, QStringLiteral("Alicja"), QStringLiteral("Kowalska"),
                            QStringLiteral("ala@poczta.example"), QStringLiteral("600"), opis, 3);
}

} // namespace

class TestOdbiorWiadomosci : public QObject {
  Q_OBJECT
private slots:
  void dwieLiniePrzezGniazdo()
  {
    TStanowiskoOdbioru s;
    TWezel *kontakt = Kontakt(s.Drzewo, 1234);
    const QByteArray strumien = ZbudujRamke(
        GGAnsRecvMsg, CialoWiadomosci(1234, 77, Czas, 0x08, "Ala ma kota\r\nDruga linia"));
    QVERIFY(DostarczPrzezGniazdo(s.Odbior, strumien, 1));

    QCOMPARE(kontakt->LiczbaDzieci(), 2);
    TWezel *pierwsza = kontakt->Dziecko(0);
    TWezel *druga = kontakt->Dziecko(1);
    QCOMPARE(pierwsza->Tekst(), Przedrostek() + QStringLiteral("Ala ma kota"));
    QCOMPARE(druga->Tekst(), QStringLiteral("Druga linia"));
    QVERIFY(s.Drzewo.MaStanWezla(pierwsza, StanWezla::Pogrubiony));
    QVERIFY(s.Drzewo.MaStanWezla(druga, StanWezla::Pogrubiony));
    // One payload for the lines of one message.
    QVERIFY(pierwsza->DaneWspolne() == druga->DaneWspolne());
    auto *w = pierwsza->DaneJako<TWypowiedz>();
    QVERIFY(w);
    QCOMPARE(w->Tekst(), QStringLiteral("Ala ma kota\r\nDruga linia"));
    const TDaneDodatkowe &dd = w->DaneDodatkowe();
    QCOMPARE(dd.StatusPotwierdzenia, 2);
    QCOMPARE(dd.NumerNadawcy, 1234);
    QCOMPARE(dd.CzasNadania, int(Czas));
    QCOMPARE(dd.NumerSekwencyjny, 77);
    QVERIFY(dd.CzasUtworzenia.isNull());

    auto *u = kontakt->DaneJako<TUzytkownik>();
    QVERIFY(u->ZnacznikWymieniony);
    QVERIFY(!u->RozmowcaZnaZnacznik);
    QCOMPARE(s.Okno.Widoczne, (QList<TWezel *>{pierwsza, druga}));
    QVERIFY(s.Okno.Przywolania >= 1);
    QCOMPARE(s.Okno.Dzwieki, 0);
    QCOMPARE(s.Drzewo.LiczbaGlownych(), 1);
  }

  void podzialNaLinie_data()
  {
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<QList<int>>("dlugosci"); // in characters, the prefix counted in the first
    const int p = int(Przedrostek().size());
    QTest::newRow("450 znaków") << QString(450 - p, u'a') << QList<int>{199, 199, 52};
    QTest::newRow("dokładnie 199") << QString(199 - p, u'b') << QList<int>{199};
    QTest::newRow("200") << QString(200 - p, u'c') << QList<int>{199, 1};
    QTest::newRow("pusta linia w środku")
        << QStringLiteral("a\r\n\r\nb") << QList<int>{p + 1, 0, 1};
    QTest::newRow("CR LF na końcu") << QStringLiteral("a\r\n") << QList<int>{p + 1};
    QTest::newRow("samo LF zostaje w linii") << QStringLiteral("a\nb") << QList<int>{p + 3};
    QTest::newRow("długa linia, potem krótka")
        << QString(250 - p, u'd') + QStringLiteral("\r\nkoniec") << QList<int>{199, 51, 6};
    // The 199th character is a pair: it stays whole in the first node.
    QTest::newRow("para zastępcza na granicy")
        << QString(198 - p, u'e') + QStringLiteral("\U0001F600") + QStringLiteral("fg")
        << QList<int>{199, 2};
    QTest::newRow("same pary") << QString(QStringLiteral("\U0001F600")).repeated(300)
                               << QList<int>{199, p + 300 - 199};
  }

  void podzialNaLinie()
  {
    QFETCH(QString, tekst);
    QFETCH(QList<int>, dlugosci);
    TStanowiskoOdbioru s;
    TWezel *kontakt = Kontakt(s.Drzewo, 55);
    // Sent as UTF-8 after the marker so that every character gets through.
    s.Obsluz(GGAnsRecvMsg,
             CialoWiadomosci(55, 1, Czas, 0, QByteArray("\xEF\xBB\xBF") + tekst.toUtf8()));
    QCOMPARE(DlugosciWZnakach(kontakt), dlugosci);
    QString zlozone;
    for (int i = 0; i < kontakt->LiczbaDzieci(); ++i) {
      const QString &t = kontakt->Dziecko(i)->Tekst();
      QVERIFY2(t.isEmpty() || !t.front().isLowSurrogate(), "a pair was split");
      QVERIFY2(t.isEmpty() || !t.back().isHighSurrogate(), "a pair was split");
      zlozone += t;
      QVERIFY(kontakt->Dziecko(i)->DaneWspolne() == kontakt->Dziecko(0)->DaneWspolne());
    }
    QString bezCrLf = Przedrostek() + tekst;
    bezCrLf.replace(QStringLiteral("\r\n"), QString());
    QCOMPARE(zlozone, bezCrLf);
  }

  void nieznanyNadawca_data()
  {
    QTest::addColumn<bool>("tylkoOdPrzyjaciol");
    QTest::addColumn<int>("klasa");
    QTest::addColumn<bool>("idleDziala");
    QTest::addColumn<int>("dzwieki");
    QTest::newRow("tylko od przyjaciół, klasa 0x10") << true << 0x10 << true << 1;
    QTest::newRow("tylko od przyjaciół, bezczynny") << true << 0x08 << false << 1;
    QTest::newRow("tylko od przyjaciół, oba powody") << true << 0x18 << false << 1;
    QTest::newRow("tylko od przyjaciół, bez dźwięku") << true << 0x08 << true << 0;
    QTest::newRow("od wszystkich") << false << 0x08 << true << 0;
    QTest::newRow("od wszystkich, klasa 0x10") << false << 0x10 << true << 1;
  }

  void nieznanyNadawca()
  {
    QFETCH(bool, tylkoOdPrzyjaciol);
    QFETCH(int, klasa);
    QFETCH(bool, idleDziala);
    QFETCH(int, dzwieki);
    TStanowiskoOdbioru s(tylkoOdPrzyjaciol);
    s.Okno.IdleDziala = idleDziala;
    Kontakt(s.Drzewo, 1);
    s.Obsluz(GGAnsRecvMsg, CialoWiadomosci(4321, 9, Czas, klasa, "hej"));
    QCOMPARE(s.Okno.Dzwieki, dzwieki);
    if (tylkoOdPrzyjaciol) {
      QCOMPARE(s.Drzewo.LiczbaGlownych(), 1);
      QCOMPARE(s.Drzewo.LiczbaWezlow(), 1);
      QCOMPARE(s.Okno.Przywolania, 0);
      return;
    }
    TWezel *nowy = s.Drzewo.ZnajdzUzytkownika(4321);
    QVERIFY(nowy);
    QCOMPARE(nowy->Indeks(), 1);
    QCOMPARE(nowy->Tekst(), QStringLiteral("4321"));
    QVERIFY(s.Drzewo.MaStanWezla(nowy, StanWezla::Wyciety));
    auto *u = nowy->DaneJako<TUzytkownik>();
    QCOMPARE(u->Imie, QStringLiteral("nieznane imię"));
    QCOMPARE(u->Nazwisko, QStringLiteral("nieznane nazwisko"));
    QCOMPARE(u->EMail, QStringLiteral("nieznany email"));
    QCOMPARE(u->Telefon, QStringLiteral("nieznany telefon"));
    QCOMPARE(u->Opis, QStringLiteral("4321"));
    QCOMPARE(u->Sledzony, 1);
    QCOMPARE(nowy->LiczbaDzieci(), 1);
    QCOMPARE(nowy->Dziecko(0)->Tekst(), Przedrostek() + QStringLiteral("hej"));
  }

  void konferencja()
  {
    TStanowiskoOdbioru s(false);
    TWezel *znany = Kontakt(s.Drzewo, 700);
    const QByteArray strumien =
        ZbudujRamke(GGAnsRecvMsg, CialoWiadomosci(500, 3, Czas, 0, "do wszystkich",
                                                  CialoKonferencji(2, {600, 700})));
    QVERIFY(DostarczPrzezGniazdo(s.Odbior, strumien, 1));

    // The unknown sender becomes a contact, then the conference follows it at the top level.
    QCOMPARE(s.Drzewo.LiczbaGlownych(), 3);
    TWezel *nadawca = s.Drzewo.Glowny(1);
    TWezel *konf = s.Drzewo.Glowny(2);
    QCOMPARE(nadawca->Tekst(), QStringLiteral("500"));
    QCOMPARE(nadawca->LiczbaDzieci(), 0);
    auto *u = nadawca->DaneJako<TUzytkownik>();
    QVERIFY(!u->ZnacznikWymieniony);
    QVERIFY(!u->RozmowcaZnaZnacznik);
    QCOMPARE(konf->Tekst(), QStringLiteral("konferencja"));
    QVERIFY(konf->DaneJako<TKonferencja>());
    QCOMPARE(konf->Dane()->Wezel(), konf);
    QVERIFY(s.Drzewo.MaStanWezla(konf, StanWezla::Wyciety));
    QCOMPARE(konf->LiczbaDzieci(), 2);
    TWezel *uczestnicy = konf->Dziecko(0);
    QCOMPARE(uczestnicy->Tekst(), QStringLiteral("uczestnicy"));
    QStringList numery;
    for (int i = 0; i < uczestnicy->LiczbaDzieci(); ++i)
      numery << uczestnicy->Dziecko(i)->Tekst();
    QCOMPARE(numery,
             (QStringList{QStringLiteral("500"), QStringLiteral("600"), QStringLiteral("700")}));
    QCOMPARE(konf->Dziecko(1)->Tekst(), Przedrostek() + QStringLiteral("do wszystkich"));
    QVERIFY(konf->Dziecko(1)->DaneJako<TWypowiedz>());
    QCOMPARE(znany->LiczbaDzieci(), 0);
    QVERIFY(s.Dziennik.Wpisy.isEmpty());
  }

  void konferencjaZLiczbaPonadCialo_data()
  {
    QTest::addColumn<QByteArray>("opcje");
    QTest::addColumn<QStringList>("uczestnicy");
    QTest::addColumn<bool>("zalogowana");
    QTest::newRow("liczba 2^31-1, jeden numer")
        << CialoKonferencji(0x7FFFFFFF, {600})
        << QStringList{QStringLiteral("500"), QStringLiteral("600")} << true;
    QTest::newRow("liczba ujemna")
        << CialoKonferencji(-3, {600}) << QStringList{QStringLiteral("500")} << false;
    QTest::newRow("ucięta liczba")
        << QByteArray("\x01\x02\x00", 3) << QStringList{QStringLiteral("500")} << true;
    QTest::newRow("ucięty numer") << CialoKonferencji(2, {600}) + QByteArray("\x01\x02", 2)
                                  << QStringList{QStringLiteral("500"), QStringLiteral("600")}
                                  << true;
    QTest::newRow("za opcją formatowanie")
        << CialoKonferencji(1, {600}) + QByteArray("\x02xyz")
        << QStringList{QStringLiteral("500"), QStringLiteral("600")} << false;
    QTest::newRow("inna opcja") << QByteArray("\x02\x01\x00\x00\x00", 5) << QStringList{} << false;
  }

  void konferencjaZLiczbaPonadCialo()
  {
    QFETCH(QByteArray, opcje);
    QFETCH(QStringList, uczestnicy);
    QFETCH(bool, zalogowana);
    TStanowiskoOdbioru s;
    TWezel *kontakt = Kontakt(s.Drzewo, 500);
    s.Obsluz(GGAnsRecvMsg, CialoWiadomosci(500, 3, Czas, 0, "x", opcje));
    if (uczestnicy.isEmpty()) {
      QCOMPARE(s.Drzewo.LiczbaGlownych(), 1);
      QCOMPARE(kontakt->LiczbaDzieci(), 1);
      return;
    }
    QCOMPARE(s.Drzewo.LiczbaGlownych(), 2);
    TWezel *lista = s.Drzewo.Glowny(1)->Dziecko(0);
    QStringList numery;
    for (int i = 0; i < lista->LiczbaDzieci(); ++i)
      numery << lista->Dziecko(i)->Tekst();
    QCOMPARE(numery, uczestnicy);
    QCOMPARE(s.Dziennik.Teksty(TOdbior::KategoriaBledne).size(), zalogowana ? 1 : 0);
    // The message itself is still shown.
    QCOMPARE(s.Drzewo.Glowny(1)->LiczbaDzieci(), 2);
  }

  // A conference lists a bounded number of participants; the rest are counted in the caption.
  void konferencjaOgraniczona_data()
  {
    QTest::addColumn<int>("liczba");
    QTest::addColumn<QString>("podpis");
    QTest::newRow("100") << 100 << QStringLiteral("uczestnicy");
    QTest::newRow("101") << 101 << QStringLiteral("uczestnicy (+1)");
    QTest::newRow("1 MiB numerów") << 262143 << QStringLiteral("uczestnicy (+262043)");
  }
  void konferencjaOgraniczona()
  {
    QFETCH(int, liczba);
    QFETCH(QString, podpis);
    TStanowiskoOdbioru s;
    Kontakt(s.Drzewo, 500);
    QList<qint32> numery;
    for (int i = 0; i < liczba; ++i)
      numery << 1000 + i;
    s.Obsluz(GGAnsRecvMsg, CialoWiadomosci(500, 3, Czas, 0, "x", CialoKonferencji(liczba, numery)));
    QCOMPARE(s.Drzewo.LiczbaGlownych(), 2);
    TWezel *lista = s.Drzewo.Glowny(1)->Dziecko(0);
    QCOMPARE(lista->Tekst(), podpis);
    QCOMPARE(lista->LiczbaDzieci(), 1 + int(TOdbior::NajwiecejUczestnikow));
    QCOMPARE(lista->Dziecko(1)->Tekst(), QStringLiteral("1000"));
    QCOMPARE(lista->OstatnieDziecko()->Tekst(), QStringLiteral("1099"));
    QVERIFY(s.Dziennik.Teksty(TOdbior::KategoriaBledne).isEmpty());
  }

  void znacznikTekstu()
  {
    TStanowiskoOdbioru s;
    TWezel *kontakt = Kontakt(s.Drzewo, 88);
    auto *u = kontakt->DaneJako<TUzytkownik>();
    // "Zażółć" in code page 1250, the marker, the euro sign in UTF-8.
    const QByteArray tekst = QByteArray("Za\xBF\xF3\xB3\xE6 ") + "\xEF\xBB\xBF" + "\xE2\x82\xAC";
    s.Obsluz(GGAnsRecvMsg, CialoWiadomosci(88, 1, Czas, 0, tekst));
    QCOMPARE(kontakt->Dziecko(0)->Tekst(), Przedrostek() + QStringLiteral("Zażółć €"));
    QCOMPARE(kontakt->Dziecko(0)->DaneJako<TWypowiedz>()->Tekst(), QStringLiteral("Zażółć €"));
    QVERIFY(u->RozmowcaZnaZnacznik);
    QVERIFY(u->ZnacznikWymieniony);

    // Without the marker the whole text is 1250, and the peer is taken not to know it.
    s.Obsluz(GGAnsRecvMsg, CialoWiadomosci(88, 2, Czas, 0, "\x80 \xE2\x82\xAC"));
    QCOMPARE(kontakt->Dziecko(1)->Tekst(), Przedrostek() + QStringLiteral("€ â‚¬"));
    QVERIFY(!u->RozmowcaZnaZnacznik);
  }

  void kotwicaOdpowiedzi()
  {
    TStanowiskoOdbioru s;
    TWezel *kontakt = Kontakt(s.Drzewo, 31);
    TWezel *moja = s.Drzewo.Dodaj(kontakt, QStringLiteral("moja wiadomość"));
    auto *u = kontakt->DaneJako<TUzytkownik>();
    u->OstatniaWypowiedz = moja;
    s.Obsluz(GGAnsRecvMsg, CialoWiadomosci(31, 1, Czas, 0, "odpowied\x9F"));
    QCOMPARE(moja->LiczbaDzieci(), 1);
    QCOMPARE(moja->Dziecko(0)->Tekst(), Przedrostek() + QStringLiteral("odpowiedź"));
    QCOMPARE(kontakt->LiczbaDzieci(), 1);

    // A deleted anchor is gone: the next message goes under the contact.
    s.Drzewo.Usun(moja);
    s.Obsluz(GGAnsRecvMsg, CialoWiadomosci(31, 2, Czas, 0, "dalej"));
    QCOMPARE(kontakt->LiczbaDzieci(), 1);
    QCOMPARE(kontakt->Dziecko(0)->Tekst(), Przedrostek() + QStringLiteral("dalej"));
  }

  void cialoBezNul()
  {
    // Without a NUL the text is empty and the rest stays: the node shows only the date.
    TStanowiskoOdbioru s;
    TWezel *kontakt = Kontakt(s.Drzewo, 31);
    QByteArray cialo = CialoWiadomosci(31, 1, Czas, 0, "abc");
    cialo.chop(1);
    s.Obsluz(GGAnsRecvMsg, cialo);
    QCOMPARE(kontakt->LiczbaDzieci(), 1);
    QCOMPARE(kontakt->Dziecko(0)->Tekst(), Przedrostek());
    QCOMPARE(kontakt->Dziecko(0)->DaneJako<TWypowiedz>()->Tekst(), QString());
  }

  void dzwiekNigdyNieZawodzi()
  {
    // On a machine without sound (or a theme without the event) nothing plays and nothing
    // fails; a second call while the first still plays does not interrupt it. Either way the
    // call comes back at once.
    QElapsedTimer zegar;
    zegar.start();
    OdtworzDzwiekNowejWiadomosci();
    OdtworzDzwiekNowejWiadomosci();
    QVERIFY2(zegar.elapsed() < 3000, qPrintable(QString::number(zegar.elapsed())));
  }
};

PAPLANKI_TEST_MAIN(TestOdbiorWiadomosci)
#include "test_OdbiorWiadomosci.moc"
