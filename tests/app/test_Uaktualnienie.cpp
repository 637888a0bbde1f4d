#include "app/Sciezki.h"
#include "app/ui/FormaStandardowa.h"
#include "common/OknaPowloki.h"
#include "common/Srodowisko.h"
#include "common/WitrynaTestowa.h"
#include "net/Pobieranie.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <memory>

namespace {

class TFormaZPanelami : public TFormaStandardowa {
public:
  TFormaZPanelami() : TFormaStandardowa({200, 200, 0}, nullptr) {}
};

QString Tymczasowy()
{
  return KatalogTestowy() + QStringLiteral("/tmp");
}

QStringList PlikiTymczasowe()
{
  return QDir(Tymczasowy()).entryList(QDir::Files);
}

void UstawWitryne(const QString &witryna, const QString &licznik)
{
  qputenv("PAPLANKI_WITRYNA", witryna.toUtf8());
  qputenv("PAPLANKI_LICZNIK", licznik.toUtf8());
}

const QString Powiadomienie = QStringLiteral(
    "Dostępna jest już nowsza wersja programu. Do uaktualnienia użyj: Pomoc, Uaktualnienie");

} // namespace

class TestUaktualnienie : public QObject {
  Q_OBJECT

private slots:
  void initTestCase()
  {
    QVERIFY(QDir().mkpath(Tymczasowy()));
    qputenv("TMPDIR", QFile::encodeName(Tymczasowy()));
  }
  void init()
  {
    for (const QString &p : PlikiTymczasowe())
      QFile::remove(Tymczasowy() + u'/' + p);
  }

  void sprawdzenieWersji_data()
  {
    QTest::addColumn<QByteArray>("opublikowana");
    QTest::addColumn<bool>("powiadomienie");
    QTest::newRow("5.0.0.68 nowsza") << TWitrynaTestowa::Wersja(5, 0, 0, 68) << true;
    QTest::newRow("5.0.0.67 ta sama") << TWitrynaTestowa::Wersja(5, 0, 0, 67) << false;
    QTest::newRow("5.0.0.66 starsza") << TWitrynaTestowa::Wersja(5, 0, 0, 66) << false;
    QTest::newRow("4.99.9.999 starsza") << TWitrynaTestowa::Wersja(4, 99, 9, 999) << false;
    QTest::newRow("6.0.0.0 nowsza") << TWitrynaTestowa::Wersja(6, 0, 0, 0) << true;
    QTest::newRow("5.1.0.0 nowsza") << TWitrynaTestowa::Wersja(5, 1, 0, 0) << true;
    // Bytes missing at the end count as zero: 5.0 and a low byte of 0x44 is 5.0.0.68.
    QTest::newRow("5 bajtów") << QByteArray::fromHex("0000050044") << true;
    QTest::newRow("pusty plik") << QByteArray() << false;
    QTest::newRow("strona zamiast wersji") << QByteArray("<html>") << true;
  }
  void sprawdzenieWersji()
  {
    QFETCH(QByteArray, opublikowana);
    QFETCH(bool, powiadomienie);
    TWitrynaTestowa witryna;
    witryna.UstawWersje(opublikowana);
    UstawWitryne(witryna.Adres(), witryna.Adres());

    auto forma = std::make_unique<TFormaStandardowa>();
    // The window is there before the site has answered.
    QVERIFY(forma->SprawdzanieTrwa());
    QCOMPARE(forma->StatusBar1->TekstProsty(), forma->PrawaAutorskie());
    QTRY_VERIFY(!forma->SprawdzanieTrwa());
    QCOMPARE(forma->StatusBar1->TekstProsty(),
             powiadomienie ? Powiadomienie : forma->PrawaAutorskie());
    // Either way the counter page follows the version file.
    const QStringList zadania = witryna.Zadania();
    QCOMPARE(zadania.size(), 2);
    QCOMPARE(zadania[0],
             QUrl(AdresWersji(SciezkaProgramu(), witryna.Adres())).path(QUrl::FullyEncoded));
    QCOMPARE(zadania[1], QStringLiteral("/Art123"));
    QCOMPARE(forma->AdresPobierania(), witryna.Adres() + QStringLiteral("Art123"));

    // Only the counter page's file stays, until the window goes.
    const QString zachowany = forma->PlikZachowany();
    QVERIFY(!zachowany.isEmpty());
    QFile plik(zachowany);
    QVERIFY(plik.open(QIODevice::ReadOnly));
    QCOMPARE(plik.readAll(), QByteArray("<html>licznik</html>"));
    plik.close();
    QCOMPARE(PlikiTymczasowe(), QStringList{QFileInfo(zachowany).fileName()});
    forma.reset();
    QVERIFY(PlikiTymczasowe().isEmpty());
  }

  void licznikNaInnymAdresie()
  {
    TWitrynaTestowa witryna;
    TWitrynaTestowa licznik;
    UstawWitryne(witryna.Adres(), licznik.Adres());
    TFormaStandardowa forma;
    QTRY_VERIFY(!forma.SprawdzanieTrwa());
    QCOMPARE(witryna.Zadania().size(), 1);
    QCOMPARE(licznik.Zadania(), QStringList{QStringLiteral("/Art123")});
  }

  // A failed download ends the check: no notice, no counter page, no file left behind.
  void nieudanePobranie_data()
  {
    QTest::addColumn<int>("rodzaj");
    QTest::newRow("404") << 0;
    QTest::newRow("500") << 1;
    QTest::newRow("odmowa połączenia") << 2;
    QTest::newRow("nazwa, której nie ma") << 3;
    QTest::newRow("witryna milczy") << 4;
  }
  void nieudanePobranie()
  {
    QFETCH(int, rodzaj);
    TWitrynaTestowa witryna;
    witryna.UstawWersje(TWitrynaTestowa::Wersja(9, 0, 0, 0));
    TPortBezSerwera zamkniety;
    if (rodzaj == 0)
      witryna.UstawStatusWersji(404);
    if (rodzaj == 1)
      witryna.UstawStatusWersji(500);
    if (rodzaj == 4)
      witryna.UstawMilczenie(true);
    const QString adres = rodzaj == 2 ? QStringLiteral("http://127.0.0.1:%1/").arg(zamkniety.Port())
                          : rodzaj == 3 ? QStringLiteral("http://www.kolbiny.invalid/")
                                        : witryna.Adres();
    UstawWitryne(adres, witryna.Adres());

    QElapsedTimer zegar;
    zegar.start();
    auto forma = std::make_unique<TFormaStandardowa>();
    // Bounded: the check never waits for the site longer than one download's limit.
    QTRY_VERIFY_WITH_TIMEOUT(!forma->SprawdzanieTrwa(),
                             TFormaStandardowa::LimitPobieraniaMs + 3000);
    QVERIFY2(zegar.elapsed() < TFormaStandardowa::LimitPobieraniaMs + 1500,
             qPrintable(QString::number(zegar.elapsed())));
    QCOMPARE(forma->StatusBar1->TekstProsty(), forma->PrawaAutorskie());
    QVERIFY(forma->PlikZachowany().isEmpty());
    QVERIFY(forma->PlikPobierany().isEmpty());
    QVERIFY(PlikiTymczasowe().isEmpty());
    for (const QString &z : witryna.Zadania())
      QVERIFY(!z.endsWith(QStringLiteral("Art123")));
  }

  void powiadomienieWOknieZPanelami_data()
  {
    QTest::addColumn<QByteArray>("opublikowana");
    QTest::addColumn<bool>("powiadomienie");
    QTest::newRow("nowsza") << TWitrynaTestowa::Wersja(5, 0, 0, 68) << true;
    QTest::newRow("ta sama") << TWitrynaTestowa::Wersja(5, 0, 0, 67) << false;
  }
  void powiadomienieWOknieZPanelami()
  {
    QFETCH(QByteArray, opublikowana);
    QFETCH(bool, powiadomienie);
    TWitrynaTestowa witryna;
    witryna.UstawWersje(opublikowana);
    UstawWitryne(witryna.Adres(), witryna.Adres());

    // How far the check had come when the box showed.
    auto zadaniaPrzyOknie = std::make_shared<int>(-1);
    auto odczyt =
        OdpowiedzNaKomunikat(QString(), powiadomienie ? 5000 : 200, [&witryna, zadaniaPrzyOknie] {
          *zadaniaPrzyOknie = int(witryna.Zadania().size());
        });
    TFormaZPanelami forma;
    QVERIFY(!odczyt->Pokazany);
    QTRY_VERIFY(!forma.SprawdzanieTrwa());
    QCOMPARE(odczyt->Pokazany, powiadomienie);
    if (powiadomienie) {
      QCOMPARE(odczyt->Tytul, QStringLiteral("Paplanki (GG) - Informacja o nowej wersji"));
      QCOMPARE(odczyt->Tekst, Powiadomienie);
      QCOMPARE(odczyt->Ikona, QMessageBox::Information);
      QCOMPARE(odczyt->Przyciski, QStringList{QStringLiteral("OK")});
      // The box comes before the counter page is asked for.
      QCOMPARE(*zadaniaPrzyOknie, 1);
    }
    QCOMPARE(witryna.Zadania().size(), 2);
    QCOMPARE(forma.StatusBar1->TekstProsty(), forma.PrawaAutorskie());
  }

  void pobieranieDoPliku()
  {
    TWitrynaTestowa witryna;
    const QString plik = Tymczasowy() + QStringLiteral("/cel");
    QFile stary(plik);
    QVERIFY(stary.open(QIODevice::WriteOnly));
    stary.write(QByteArray(100, 'x'));
    stary.close();
    // Characters a request line cannot carry are encoded; the rest of the address stays.
    QVERIFY(PobierzDoPliku(witryna.Adres() + QStringLiteral("datas/~//home/zażółć ja/p.wersja"),
                           plik, 2000));
    QCOMPARE(witryna.Zadania(), QStringList{QStringLiteral(
                                    "/datas/~//home/za%C5%BC%C3%B3%C5%82%C4%87%20ja/p.wersja")});
    QFile pobrany(plik);
    QVERIFY(pobrany.open(QIODevice::ReadOnly));
    QCOMPARE(pobrany.readAll(), TWitrynaTestowa::Wersja(5, 0, 0, 67));
    QVERIFY(!PobierzDoPliku(witryna.Adres() + QStringLiteral("nic"), plik, 2000));
    QVERIFY(!PobierzDoPliku(witryna.Adres(), Tymczasowy() + QStringLiteral("/nie-ma/plik"), 2000));
  }

  // A window that goes while its check is still waiting for the site leaves nothing behind.
  void zamkniecieWTrakcieSprawdzania()
  {
    TWitrynaTestowa witryna;
    witryna.UstawMilczenie(true);
    UstawWitryne(witryna.Adres(), witryna.Adres());
    auto forma = std::make_unique<TFormaStandardowa>();
    QVERIFY(forma->SprawdzanieTrwa());
    QTRY_COMPARE(witryna.Zadania().size(), 1);
    QCOMPARE(PlikiTymczasowe().size(), 1);
    forma.reset();
    QVERIFY(PlikiTymczasowe().isEmpty());
    QTest::qWait(100); // the cancelled download must not write its file after all
    QVERIFY(PlikiTymczasowe().isEmpty());
  }
};

PAPLANKI_TEST_MAIN(TestUaktualnienie)
#include "test_Uaktualnienie.moc"
