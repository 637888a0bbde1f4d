// The message archive under a real dispatcher and tree: what enters the tree is written, one
// transaction per event-loop turn, read back after reopening, restored, searched with Polish
// letters folded, and a damaged or foreign file is set aside.

#include "archiwum/Archiwum.h"
#include "archiwum/ArchiwumDrzewa.h"
#include "common/OdbiorTestowy.h"
#include "common/Srodowisko.h"
#include "contacts/Galezie.h"
#include "gg/Pakiety.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <memory>

Q_DECLARE_METATYPE(QList<int>)

namespace {

constexpr quint32 Nadano = 1719835200;

// The dispatcher's station with an archive beneath its tree, as the main window wires them.
struct TStanowiskoArchiwum {
  explicit TStanowiskoArchiwum(const QString &plik) : stanowisko(false)
  {
    otwarte = archiwum.Otworz(plik);
    straz = std::make_unique<TArchiwumDrzewa>(stanowisko.Drzewo, archiwum);
    stanowisko.Odbior.UstawPoPotwierdzeniu([this](TWezel *w, int sekwencja, int status) {
      straz->Potwierdzenie(w, sekwencja, status);
    });
  }
  TDrzewo &Drzewo() { return stanowisko.Drzewo; }

  TStanowiskoOdbioru stanowisko;
  TArchiwum archiwum;
  std::unique_ptr<TArchiwumDrzewa> straz;
  bool otwarte = false;
};

// A message written to `numer`, recorded under `rodzic` as the send command records it.
TWezel *Napisz(TDrzewo &d, TWezel *rodzic, int numer, int sekwencja, const QString &tekst,
               const QDateTime &kiedy)
{
  TWezel *w = d.Dodaj(rodzic, tekst);
  w->UstawDane(std::make_shared<TWypowiedz>(
      w, std::make_unique<TDaneDodatkowe>(-1, numer, 0, sekwencja, kiedy), tekst));
  w->UstawObrazStanu(10);
  return w;
}

QVariant Zapytaj(const QString &plik, const QString &zapytanie)
{
  QVariant wynik;
  {
    QSqlDatabase baza = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("t"));
    baza.setDatabaseName(plik);
    if (baza.open()) {
      QSqlQuery q(baza);
      if (q.exec(zapytanie) && q.next())
        wynik = q.value(0);
    }
  }
  QSqlDatabase::removeDatabase(QStringLiteral("t"));
  return wynik;
}

int Uprawnienia(const QString &plik)
{
  struct stat st {};
  return ::stat(QFile::encodeName(plik).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

} // namespace

class TestArchiwum : public QObject {
  Q_OBJECT

private slots:
  void rozmowaPrzetrwaZamkniecieIWracaDoDrzewa()
  {
    QTemporaryDir katalog;
    const QString plik = katalog.filePath(QStringLiteral("dane/Archiwum.sqlite"));
    const QDateTime napisano = QDateTime::currentDateTime().addSecs(-3600);
    {
      TStanowiskoArchiwum s(plik);
      QVERIFY(s.otwarte);
      TDrzewo &d = s.Drzewo();
      TWezel *ala = d.DodajUzytkownika(1001, {}, {}, {}, {}, QStringLiteral("Ala"), 3);
      // Received (two lines), answered, and the answer delivered; then an answer to the
      // answer, still unsent, and a second one the server has no room for.
      s.stanowisko.Obsluz(GGAnsRecvMsg,
                          CialoWiadomosci(1001, 11, Nadano, 8, QByteArray("Jak tam?\r\nPiszesz?")));
      QCOMPARE(ala->LiczbaDzieci(), 2);
      TWezel *odp = Napisz(d, ala->Dziecko(1), 1001, 501, QStringLiteral("Dobrze"), napisano);
      s.stanowisko.Obsluz(GGAnsSendMsgAck, CialoPotwierdzenia(2, 1001, 501));
      QCOMPARE(odp->ObrazStanu(), 2);
      Napisz(d, odp, 1001, 502, QStringLiteral("A ty?"), napisano);
      Napisz(d, ala, 1001, 503, QStringLiteral("Halo"), napisano);
      s.stanowisko.Obsluz(GGAnsSendMsgAck, CialoPotwierdzenia(4, 1001, 503));
      // A report for nothing in the tree is kept too.
      s.stanowisko.Obsluz(GGAnsSendMsgAck, CialoPotwierdzenia(3, 1001, 999));
      // A conference from an unknown sender; and a message the user deletes unread.
      s.stanowisko.Obsluz(GGAnsRecvMsg, CialoWiadomosci(1002, 12, Nadano, 8, QByteArray("Hej"),
                                                        CialoKonferencji(2, {1003, 1004})));
      s.stanowisko.Obsluz(GGAnsRecvMsg, CialoWiadomosci(1005, 13, Nadano, 8, QByteArray("Spam")));
      d.Usun(d.ZnajdzUzytkownika(1005)->Dziecko(0));
      // The first received message selected (bold cleared): read.
      d.UstawStanWezla(ala->Dziecko(0), 0, StanWezla::Pogrubiony);
      s.archiwum.Zaczekaj();
    }

    TStanowiskoArchiwum s(plik);
    QVERIFY(s.otwarte);
    QVERIFY(s.archiwum.OdlozonyPlik().isEmpty());
    const QList<TWiadomoscArchiwum> rozmowa = s.archiwum.Rozmowa(1001, 0, 100);
    QCOMPARE(rozmowa.size(), 4);
    QCOMPARE(rozmowa[0].tekst, QStringLiteral("Jak tam?\r\nPiszesz?"));
    QCOMPARE(rozmowa[0].kierunek, int(TWiadomoscArchiwum::Odebrana));
    QCOMPARE(rozmowa[0].czasNadania, qint64(Nadano));
    QVERIFY(rozmowa[0].przeczytana);
    QCOMPARE(rozmowa[1].tekst, QStringLiteral("Dobrze"));
    QCOMPARE(rozmowa[1].status, 2);
    QCOMPARE(rozmowa[1].odpowiedzNa, rozmowa[0].id);
    QCOMPARE(rozmowa[1].glebokosc, 1);
    QCOMPARE(rozmowa[1].czasUtworzenia, napisano);
    QCOMPARE(rozmowa[2].odpowiedzNa, rozmowa[1].id);
    QCOMPARE(rozmowa[2].glebokosc, 2);
    QCOMPARE(rozmowa[2].status, -1);
    QCOMPARE(rozmowa[3].odpowiedzNa, 0);
    QCOMPARE(rozmowa[3].status, 4);
    const TWiadomoscArchiwum konferencja = s.archiwum.Rozmowa(1002, 0, 10).value(0);
    QCOMPARE(konferencja.uczestnicy, (QList<int>{1002, 1003, 1004}));
    QCOMPARE(Zapytaj(plik, QStringLiteral("SELECT COUNT(*) FROM potwierdzenia WHERE "
                                          "sekwencja = 999 AND status = 3 AND wiadomosc IS NULL"))
                 .toInt(),
             1);
    QCOMPARE(Zapytaj(plik, QStringLiteral("SELECT COUNT(*) FROM potwierdzenia")).toInt(), 3);

    // Start-up: the two messages the next login would resend, and the conference, unread.
    TDrzewo &d = s.Drzewo();
    TWezel *ala = d.DodajUzytkownika(1001, {}, {}, {}, {}, QStringLiteral("Ala"), 3);
    QCOMPARE(s.straz->Przywroc(), 3);
    QCOMPARE(ala->LiczbaDzieci(), 2);
    QCOMPARE(ala->Dziecko(0)->Tekst(), QStringLiteral("A ty?"));
    QCOMPARE(ala->Dziecko(0)->ObrazStanu(), 10);
    QCOMPARE(ala->Dziecko(1)->ObrazStanu(), 0);
    const TDaneDodatkowe &dane = ala->Dziecko(0)->DaneJako<TWypowiedz>()->DaneDodatkowe();
    QCOMPARE(dane.NumerSekwencyjny, 502);
    QCOMPARE(dane.NumerNadawcy, 1001);
    QCOMPARE(dane.StatusPotwierdzenia, -1);
    QCOMPARE(dane.CzasUtworzenia, napisano);
    QCOMPARE(TArchiwumDrzewa::LiczbaOczekujacych(d), 2);
    TWezel *konf = d.Glowny(1);
    QCOMPARE(konf->Tekst(), QStringLiteral("konferencja"));
    QVERIFY(konf->DaneJako<TKonferencja>());
    QCOMPARE(konf->Dziecko(0)->Tekst(), QStringLiteral("uczestnicy"));
    QCOMPARE(konf->Dziecko(0)->LiczbaDzieci(), 3);
    QCOMPARE(konf->Dziecko(0)->Dziecko(2)->Tekst(), QStringLiteral("1004"));
    QVERIFY(konf->Dziecko(1)->Tekst().endsWith(QStringLiteral(")Hej")));
    QVERIFY(d.MaStanWezla(konf->Dziecko(1), StanWezla::Pogrubiony));
    QCOMPARE(d.LiczbaGlownych(), 2); // the deleted message did not come back

    // The restored messages are not archived twice; their report lands on their rows.
    s.stanowisko.Obsluz(GGAnsSendMsgAck, CialoPotwierdzenia(2, 1001, 502));
    QCOMPARE(ala->Dziecko(0)->ObrazStanu(), 2);
    d.UstawStanWezla(konf->Dziecko(1), 0, StanWezla::Pogrubiony);
    d.Usun(ala->Dziecko(1));
    s.archiwum.Zaczekaj();
    QCOMPARE(s.archiwum.Rozmowa(1001, 0, 100).size(), 4);
    QVERIFY(s.archiwum.Oczekujace().isEmpty());
    QVERIFY(s.archiwum.Nieprzeczytane().isEmpty());
    QCOMPARE(s.archiwum.Rozmowa(1001, 0, 100).value(2).status, 2);
  }

  void jednaTransakcjaNaObrotPetli()
  {
    QTemporaryDir katalog;
    TStanowiskoArchiwum s(katalog.filePath(QStringLiteral("Archiwum.sqlite")));
    QVERIFY(s.otwarte);
    const quint64 przed = s.archiwum.Transakcje();
    for (int i = 0; i < 300; ++i)
      s.stanowisko.Obsluz(GGAnsRecvMsg,
                          CialoWiadomosci(2000 + i % 7, i, Nadano, 8, QByteArray("x")));
    // Nothing reaches the writer before the turn ends.
    QCOMPARE(s.archiwum.Transakcje(), przed);
    QTRY_VERIFY(s.archiwum.Transakcje() > przed);
    s.archiwum.Zaczekaj();
    QCOMPARE(s.archiwum.Transakcje(), przed + 1);
    qint64 razem = 0;
    for (const auto &[numer, ile] : s.archiwum.Rozmowcy())
      razem += ile;
    QCOMPARE(razem, 300);
    // Lazy pages: the newest first, then the older ones before them.
    const QList<TWiadomoscArchiwum> nowsze = s.archiwum.Rozmowa(2000, 0, 20);
    QCOMPARE(nowsze.size(), 20);
    QCOMPARE(nowsze.last().sekwencja, 294);
    const QList<TWiadomoscArchiwum> starsze = s.archiwum.Rozmowa(2000, nowsze.first().id, 100);
    QCOMPARE(starsze.size(), 43 - 20);
    QCOMPARE(starsze.first().sekwencja, 0);
    QVERIFY(starsze.last().id < nowsze.first().id);
  }

  void szukaniePoPolsku_data()
  {
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<QString>("zapytanie");
    QTest::addColumn<bool>("znalezione");
    QTest::newRow("bez ogonków") << "Zażółć gęślą jaźń"
                                 << "zazolc" << true;
    QTest::newRow("z ogonkami") << "Zażółć gęślą jaźń"
                                << "gęślą" << true;
    QTest::newRow("początek słowa") << "Zażółć gęślą jaźń"
                                    << "gesl" << true;
    QTest::newRow("wielkie litery") << "Zażółć gęślą jaźń"
                                    << "JAŹŃ" << true;
    QTest::newRow("ł jak l") << "Spotkanie w Łodzi"
                             << "lodzi" << true;
    QTest::newRow("l jak ł") << "Spotkanie w Lodzi"
                             << "łodzi" << true;
    QTest::newRow("dwa słowa") << "Kupię żółty rower"
                               << "zolty kup" << true;
    QTest::newRow("słowa w środku nie") << "Zażółć gęślą jaźń"
                                        << "olc" << false;
    QTest::newRow("inne słowo") << "Zażółć gęślą jaźń"
                                << "gesi" << false;
    QTest::newRow("jedno z dwóch słów") << "Kupię żółty rower"
                                        << "zolty samochod" << false;
    QTest::newRow("składnia wyszukiwarki") << "Kupię żółty rower"
                                           << "\"rower\" OR NEAR(" << false;
    QTest::newRow("cudzysłów w słowie") << "Kupię żółty rower"
                                        << "row\"er" << false;
    QTest::newRow("puste") << "Kupię żółty rower"
                           << "  \"*" << false;
  }
  void szukaniePoPolsku()
  {
    QFETCH(QString, tekst);
    QFETCH(QString, zapytanie);
    QFETCH(bool, znalezione);
    QTemporaryDir katalog;
    TStanowiskoArchiwum s(katalog.filePath(QStringLiteral("Archiwum.sqlite")));
    TDrzewo &d = s.Drzewo();
    TWezel *ala = d.DodajUzytkownika(1001, {}, {}, {}, {}, QStringLiteral("Ala"), 3);
    Napisz(d, ala, 1001, 1, QStringLiteral("coś innego"), QDateTime::currentDateTime());
    Napisz(d, ala, 1001, 2, tekst, QDateTime::currentDateTime());
    s.archiwum.Zaczekaj();
    const QList<TTrafienie> trafienia = s.archiwum.Szukaj(zapytanie, 10);
    QCOMPARE(trafienia.size(), znalezione ? 1 : 0);
    if (znalezione) {
      QCOMPARE(trafienia[0].tekst, tekst);
      QCOMPARE(trafienia[0].numer, 1001);
    }
  }

  void uszkodzonyPlikOdlozony_data()
  {
    QTest::addColumn<QByteArray>("zawartosc");
    QTest::newRow("śmieci") << QByteArray(5000, 'x');
    QTest::newRow("sam nagłówek") << QByteArray("SQLite format 3\0", 16) + QByteArray(84, '\xFF');
    QByteArray uciety;
    {
      // A real archive cut short in the middle of its pages.
      QTemporaryDir k;
      const QString p = k.filePath(QStringLiteral("a.sqlite"));
      {
        TStanowiskoArchiwum s(p);
        TWezel *ala = s.Drzewo().DodajUzytkownika(1, {}, {}, {}, {}, QStringLiteral("A"), 3);
        for (int i = 0; i < 400; ++i)
          Napisz(s.Drzewo(), ala, 1, i, QString(200, u'ż'), QDateTime::currentDateTime());
      }
      Zapytaj(p, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
      QFile f(p);
      if (f.open(QIODevice::ReadOnly))
        uciety = f.read(f.size() / 3);
      for (int i = 4096; i < uciety.size(); i += 512)
        uciety[i] = char(0xA5);
    }
    QTest::newRow("ucięte archiwum") << uciety;
  }
  void uszkodzonyPlikOdlozony()
  {
    QFETCH(QByteArray, zawartosc);
    QTemporaryDir katalog;
    const QString plik = katalog.filePath(QStringLiteral("Archiwum.sqlite"));
    for (int raz = 1; raz <= 2; ++raz) {
      QFile f(plik);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(zawartosc);
      f.close();
      TStanowiskoArchiwum s(plik);
      QVERIFY(s.otwarte);
      const QString oczekiwany = plik + QStringLiteral(".uszkodzone-") +
                                 QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) +
                                 (raz == 2 ? QStringLiteral("-2") : QString());
      QCOMPARE(s.archiwum.OdlozonyPlik(), oczekiwany);
      QFile odlozony(oczekiwany);
      QVERIFY(odlozony.open(QIODevice::ReadOnly));
      QCOMPARE(odlozony.readAll(), zawartosc);
      // The new archive works.
      TWezel *ala = s.Drzewo().DodajUzytkownika(1, {}, {}, {}, {}, QStringLiteral("A"), 3);
      Napisz(s.Drzewo(), ala, 1, 7, QStringLiteral("nowe"), QDateTime::currentDateTime());
      s.archiwum.Zaczekaj();
      QCOMPARE(s.archiwum.Rozmowa(1, 0, 10).size(), 1);
    }
  }

  void obcaBazaOdlozonaWlasnaNie()
  {
    QTemporaryDir katalog;
    const QString plik = katalog.filePath(QStringLiteral("Archiwum.sqlite"));
    Zapytaj(plik, QStringLiteral("PRAGMA application_id = 12345"));
    Zapytaj(plik, QStringLiteral("CREATE TABLE cudza(x)"));
    {
      TArchiwum a;
      QVERIFY(a.Otworz(plik));
      QVERIFY(!a.OdlozonyPlik().isEmpty());
    }
    TArchiwum a;
    QVERIFY(a.Otworz(plik));
    QVERIFY(a.OdlozonyPlik().isEmpty());
  }

  void jednaKopiaProgramuNaArchiwum()
  {
    QTemporaryDir katalog;
    const QString plik = katalog.filePath(QStringLiteral("Archiwum.sqlite"));
    auto pierwsze = std::make_unique<TArchiwum>();
    QVERIFY(pierwsze->Otworz(plik));
    // A second copy would hand out the same identifiers: it goes without an archive.
    TArchiwum drugie;
    QVERIFY(!drugie.Otworz(plik));
    QVERIFY(drugie.Zajete());
    QVERIFY(drugie.OdlozonyPlik().isEmpty());
    QVERIFY(QFile::exists(plik));
    pierwsze.reset();
    TArchiwum trzecie;
    QVERIFY(trzecie.Otworz(plik));
    QVERIFY(!trzecie.Zajete());
  }

  void bladZapisuZgloszony()
  {
    QTemporaryDir katalog;
    const QString plik = katalog.filePath(QStringLiteral("Archiwum.sqlite"));
    TStanowiskoArchiwum s(plik);
    int zgloszenia = 0;
    s.archiwum.UstawPrzyBledzieZapisu([&zgloszenia] { ++zgloszenia; });
    TWezel *ala = s.Drzewo().DodajUzytkownika(1, {}, {}, {}, {}, QStringLiteral("A"), 3);
    Napisz(s.Drzewo(), ala, 1, 1, QStringLiteral("przed"), QDateTime::currentDateTime());
    s.archiwum.Zaczekaj();
    QCoreApplication::processEvents();
    QCOMPARE(zgloszenia, 0);
    // The file is damaged under the running program: the next turn's writes fail, and say so.
    Zapytaj(plik, QStringLiteral("DROP TABLE wiadomosci"));
    Napisz(s.Drzewo(), ala, 1, 2, QStringLiteral("po"), QDateTime::currentDateTime());
    s.archiwum.Zaczekaj();
    QCOMPARE(s.archiwum.BledyZapisu(), 1);
    QTRY_COMPARE(zgloszenia, 1);
  }

  void tylkoDlaWlasciciela()
  {
    QTemporaryDir katalog;
    const QString plik = katalog.filePath(QStringLiteral("Archiwum.sqlite"));
    const mode_t maska = ::umask(0);
    {
      TArchiwum a;
      QVERIFY(a.Otworz(plik));
      QCOMPARE(Uprawnienia(plik), 0600);
      QCOMPARE(Uprawnienia(plik + QStringLiteral("-wal")), 0600);
    }
    // A file left readable by others is closed up when opened.
    ::chmod(QFile::encodeName(plik).constData(), 0644);
    {
      TArchiwum a;
      QVERIFY(a.Otworz(plik));
      QCOMPARE(Uprawnienia(plik), 0600);
    }
    ::umask(maska);
    // A folder that cannot hold a file: no archive, and no crash.
    TArchiwum a;
    QVERIFY(!a.Otworz(QStringLiteral("/proc/nie-ma/Archiwum.sqlite")));
    QVERIFY(!a.Otwarte());
    a.OznaczPrzeczytana(1);
    a.Zaczekaj();
    QVERIFY(a.Rozmowa(1, 0, 10).isEmpty());
  }
};

PAPLANKI_TEST_MAIN(TestArchiwum)
#include "test_Archiwum.moc"
