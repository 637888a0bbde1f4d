// The one status table: what each status code looks like in the tree (a contact's pictures, a
// status-change node's name), in the status bar and the tray (the own status), and which codes
// are the described variants of which.

#include "common/Srodowisko.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "contacts/Stany.h"

#include <QSet>

class TestStany : public QObject {
  Q_OBJECT
private slots:
  void wyglad_data()
  {
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("nazwa");
    QTest::addColumn<int>("obraz");
    QTest::addColumn<int>("obrazWybrany");
    QTest::addColumn<quint32>("bezOpisu");
    QTest::addColumn<bool>("zOpisem");
    QTest::addColumn<int>("wlasny");   // the own picture while logged in
    QTest::addColumn<bool>("wyciety"); // a contact ghosted by this status

    QTest::newRow("niedostępny") << 1 << QStringLiteral("Niedostępny") << 11 << 10 << 1u << false
                                 << 11 << true;
    QTest::newRow("niedostępny z opisem")
        << 21 << QStringLiteral("Niedostępny") << 11 << 10 << 1u << true << 11 << true;
    QTest::newRow("dostępny") << 2 << QStringLiteral("Dostępny") << 11 << 10 << 2u << false << 10
                              << false;
    QTest::newRow("dostępny z opisem")
        << 4 << QStringLiteral("Dostępny") << 11 << 10 << 2u << true << 10 << false;
    QTest::newRow("zajęty") << 3 << QStringLiteral("Zajęty") << 29 << 28 << 3u << false << 28
                            << false;
    QTest::newRow("zajęty z opisem")
        << 5 << QStringLiteral("Zajęty") << 29 << 28 << 3u << true << 28 << false;
    QTest::newRow("zablokowany") << 6 << QStringLiteral("Zablokowany") << 17 << 16 << 6u << false
                                 << 16 << false;
    QTest::newRow("niewidoczny") << 20 << QStringLiteral("Niewidoczny") << 27 << 26 << 20u << false
                                 << 26 << false;
    QTest::newRow("niewidoczny z opisem")
        << 22 << QStringLiteral("Niewidoczny") << 27 << 26 << 20u << true << 26 << false;
  }

  void wyglad()
  {
    QFETCH(int, status);
    QFETCH(QString, nazwa);
    QFETCH(int, obraz);
    QFETCH(int, obrazWybrany);
    QFETCH(quint32, bezOpisu);
    QFETCH(bool, zOpisem);
    QFETCH(int, wlasny);
    QFETCH(bool, wyciety);

    // A status-change node and the contact's own node read the same row.
    const TWygladStanu w = WygladStanu(status);
    QCOMPARE(w.nazwa, nazwa);
    QCOMPARE(w.obraz, obraz);
    QCOMPARE(w.obrazWybrany, obrazWybrany);
    TDrzewo drzewo;
    TWezel *kontakt = drzewo.DodajUzytkownika(100, QStringLiteral("Jan"), QString(), QString(),
                                              QString(), QStringLiteral("Jan"), 1);
    drzewo.ZastosujStan(kontakt, status);
    QCOMPARE(kontakt->Obraz(), obraz);
    QCOMPARE(kontakt->ObrazWybrany(), obrazWybrany);
    QCOMPARE(drzewo.MaStanWezla(kontakt, StanWezla::Wyciety), wyciety);

    // The flags of the top byte and the friends-only bit do not change what a contact shows.
    const TWygladStanu zFlaga = WygladStanu(status | 0x40000000);
    QCOMPARE(zFlaga.nazwa, nazwa);
    QCOMPARE(zFlaga.obraz, obraz);

    QCOMPARE(StanBezOpisu(quint32(status)), bezOpisu);
    QCOMPARE(StanBezOpisu(quint32(status) | StanGG::TylkoDlaPrzyjaciol), bezOpisu);
    QCOMPARE(StanZOpisemJest(quint32(status)), zOpisem);
    QCOMPARE(ObrazStanuWlasnego(quint32(status), true), wlasny);
    QCOMPARE(ObrazStanuWlasnego(quint32(status) | StanGG::TylkoDlaPrzyjaciol, true), wlasny);
    QCOMPARE(ObrazStanuWlasnego(quint32(status), false), int(ObrazWezla::GlosnikSzary));
  }

  void nieznany_data()
  {
    QTest::addColumn<int>("status");
    QTest::newRow("zero") << 0;
    QTest::newRow("7") << 7;
    QTest::newRow("dolny bajt poza tabelą") << 0x1FF;
    QTest::newRow("ujemny") << -1;
  }

  void nieznany()
  {
    QFETCH(int, status);
    const TWygladStanu w = WygladStanu(status);
    QCOMPARE(
        w.nazwa,
        QStringLiteral("Nieokreślony stan %1").arg(QString::number(quint32(status), 16).toUpper()));
    QCOMPARE(w.obraz, 29);
    QCOMPARE(w.obrazWybrany, 28);
    // A contact keeps the pictures it had and is ghosted.
    TDrzewo drzewo;
    TWezel *kontakt = drzewo.DodajUzytkownika(100, QStringLiteral("Jan"), QString(), QString(),
                                              QString(), QStringLiteral("Jan"), 1);
    drzewo.ZastosujStan(kontakt, 3);
    drzewo.ZastosujStan(kontakt, status);
    QCOMPARE(kontakt->Obraz(), 29);
    QCOMPARE(kontakt->ObrazWybrany(), 28);
    QVERIFY(drzewo.MaStanWezla(kontakt, StanWezla::Wyciety));
    QVERIFY(!StanZOpisemJest(quint32(status)));
    QCOMPARE(ObrazStanuWlasnego(quint32(status), true), int(ObrazWezla::GlosnikSzary));
  }

  void tabela()
  {
    // Every code appears once, every described variant points back to its plain status, and the
    // menus' items are the names written small.
    QSet<quint32> kody;
    for (const TOpisStanu &opis : TabelaStanow) {
      QVERIFY(!kody.contains(opis.kod));
      kody << opis.kod;
      QCOMPARE(OpisStanu(opis.kod), &opis);
      QCOMPARE(QString::fromUtf16(opis.pozycja), QString::fromUtf16(opis.nazwa).toLower());
      if (opis.zOpisem == 0)
        continue;
      QVERIFY(!kody.contains(opis.zOpisem));
      kody << opis.zOpisem;
      QCOMPARE(OpisStanu(opis.zOpisem), &opis);
      QCOMPARE(StanBezOpisu(opis.zOpisem), opis.kod);
    }
    QCOMPARE(kody.size(), 9);
  }
};

PAPLANKI_TEST_MAIN(TestStany)
#include "test_Stany.moc"
