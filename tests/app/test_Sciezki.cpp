#include "app/Autor.h"
#include "app/Lokalizacje.h"
#include "app/Sciezki.h"
#include "app/SkrotNaPulpicie.h"
#include "common/Srodowisko.h"

#include <QDir>
#include <QLocale>
#include <QStandardPaths>

class TestSciezki : public QObject {
  Q_OBJECT

private slots:
  void podzialSciezki_data()
  {
    QTest::addColumn<QString>("sciezka");
    QTest::addColumn<QString>("litera");
    QTest::addColumn<QString>("wzgledna");
    const QString projekty = QDir::homePath() + QStringLiteral("/Documents/Projekty");
    QTest::newRow("S katalog systemowy")
        << QStringLiteral("/usr/lib/paplanki/paplanki") << QStringLiteral("S")
        << QStringLiteral("paplanki/paplanki");
    QTest::newRow("S bez względu na wielkość liter")
        << QStringLiteral("/USR/Lib/x") << QStringLiteral("S") << QStringLiteral("x");
    QTest::newRow("W") << QStringLiteral("/usr/bin/paplanki") << QStringLiteral("W")
                       << QStringLiteral("bin/paplanki");
    // The common files row comes after the one of its parent folder, so it never wins.
    QTest::newRow("C przesłonięty przez W")
        << QStringLiteral("/usr/local/bin/paplanki") << QStringLiteral("W")
        << QStringLiteral("local/bin/paplanki");
    QTest::newRow("P programy") << QStringLiteral("/opt/Kolbiny/Klient/Klient")
                                << QStringLiteral("P") << QStringLiteral("Kolbiny/Klient/Klient");
    QTest::newRow("P projekty") << projekty + QStringLiteral("/Klient/paplanki")
                                << QStringLiteral("P") << QStringLiteral("Kolbiny/Klient/paplanki");
    QTest::newRow("nic nie pasuje")
        << QStringLiteral("/home/ala/bin/paplanki") << QStringLiteral("~")
        << QStringLiteral("/home/ala/bin/paplanki");
    QTest::newRow("folder bez ukośnika na końcu")
        << QStringLiteral("/usrx/paplanki") << QStringLiteral("~")
        << QStringLiteral("/usrx/paplanki");
    QTest::newRow("sam folder") << QStringLiteral("/opt/") << QStringLiteral("P") << QString();
    QTest::newRow("odwrotne ukośniki")
        << QStringLiteral("/opt/a\\b\\c") << QStringLiteral("P") << QStringLiteral("a/b/c");
    QTest::newRow("ścieżka windowsowa") << QStringLiteral("C:\\Temp\\K.exe") << QStringLiteral("~")
                                        << QStringLiteral("C:/Temp/K.exe");
  }
  void podzialSciezki()
  {
    QFETCH(QString, sciezka);
    QFETCH(QString, litera);
    QFETCH(QString, wzgledna);
    const TPolozeniePliku p = PodzielSciezke(sciezka);
    QCOMPARE(p.Litera, litera);
    QCOMPARE(p.Sciezka, wzgledna);
  }

  void adresWersji_data()
  {
    QTest::addColumn<QString>("sciezka");
    QTest::addColumn<QString>("adres");
    QTest::newRow("programy")
        << QStringLiteral("/opt/Kolbiny/Klient/Klient")
        << QStringLiteral(
               "http://www.kolbiny.example/datas/P/Kolbiny/Klient/Klient.zawartosc.wersja");
    // Nothing is encoded: the address carries the path as it is.
    QTest::newRow("spacja i ~")
        << QStringLiteral("/home/a b/p")
        << QStringLiteral("http://www.kolbiny.example/datas/~//home/a b/p.zawartosc.wersja");
  }
  void adresWersji()
  {
    QFETCH(QString, sciezka);
    QFETCH(QString, adres);
    QCOMPARE(AdresWersji(sciezka, QLatin1String(AdresWitrynyAutora)), adres);
  }

  void tematPoczty_data()
  {
    QTest::addColumn<QString>("nazwa");
    QTest::addColumn<QString>("adres");
    QTest::newRow("Paplanki (GG)")
        << QStringLiteral("Paplanki (GG)")
        << QStringLiteral(
               "mailto:paplanki@kolbiny.example?subject=Zapytanie%20o%20Paplanki%20(GG)");
    QTest::newRow("inne znaki zostają")
        << QStringLiteral("a&b=ó  %")
        << QStringLiteral("mailto:paplanki@kolbiny.example?subject=Zapytanie%20o%20a&b=ó%20%20%");
    QTest::newRow("pusta nazwa") << QString()
                                 << QStringLiteral(
                                        "mailto:paplanki@kolbiny.example?subject=Zapytanie%20o%20");
  }
  void tematPoczty()
  {
    QFETCH(QString, nazwa);
    QFETCH(QString, adres);
    QCOMPARE(AdresPocztyDoAutora(nazwa), adres);
  }

  void plikPomocy_data()
  {
    QTest::addColumn<QLocale>("jezyk");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("rozszerzenie");
    QTest::addColumn<QString>("plik");
    QTest::newRow("polski") << QLocale(QLocale::Polish, QLocale::Poland)
                            << QStringLiteral("/opt/K/Klient.exe") << QStringLiteral(".html")
                            << QStringLiteral("/opt/K/KlientPLK.html");
    QTest::newRow("amerykański") << QLocale(QLocale::English, QLocale::UnitedStates)
                                 << QStringLiteral("/opt/K/paplanki") << QStringLiteral(".txt")
                                 << QStringLiteral("/opt/K/paplankiENU.txt");
    QTest::newRow("brytyjski") << QLocale(QLocale::English, QLocale::UnitedKingdom)
                               << QStringLiteral("/a/p") << QStringLiteral(".html")
                               << QStringLiteral("/a/pENG.html");
    QTest::newRow("niemiecki") << QLocale(QLocale::German, QLocale::Germany)
                               << QStringLiteral("/a/p") << QStringLiteral(".html")
                               << QStringLiteral("/a/pDEU.html");
    QTest::newRow("C") << QLocale::c() << QStringLiteral("/a/p") << QStringLiteral(".html")
                       << QStringLiteral("/a/pENU.html");
    QTest::newRow("spoza tabeli") << QLocale(QLocale::Welsh, QLocale::UnitedKingdom)
                                  << QStringLiteral("/a/p") << QStringLiteral(".html")
                                  << QStringLiteral("/a/pCYG.html");
    QTest::newRow("tylko ostatnie rozszerzenie")
        << QLocale(QLocale::Polish, QLocale::Poland) << QStringLiteral("/a/p.x.exe")
        << QStringLiteral(".txt") << QStringLiteral("/a/p.xPLK.txt");
  }
  void plikPomocy()
  {
    QFETCH(QLocale, jezyk);
    QFETCH(QString, program);
    QFETCH(QString, rozszerzenie);
    QFETCH(QString, plik);
    const QLocale poprzedni;
    QLocale::setDefault(jezyk);
    const QString wynik = NazwaPlikuPomocy(program, rozszerzenie);
    QLocale::setDefault(poprzedni);
    QCOMPARE(wynik, plik);
  }

  void folderySpecjalne()
  {
    QCOMPARE(FolderSpecjalny(Folder::Pulpit), QDir::homePath() + QStringLiteral("/Desktop"));
    QCOMPARE(FolderSpecjalny(Folder::Dokumenty), QDir::homePath() + QStringLiteral("/Documents"));
    QCOMPARE(FolderSpecjalny(Folder::DaneAplikacji),
             KatalogTestowy() + QStringLiteral("/.local/share"));
    QVERIFY(FolderSpecjalny(99).isEmpty());
    QCOMPARE(SciezkaUstawien(QStringLiteral("Paplanki (GG)")),
             KatalogTestowy() + QStringLiteral("/.config/Kolbiny/Paplanki (GG).conf"));
  }

  void plikTymczasowy()
  {
    const QString tmp = KatalogTestowy() + QStringLiteral("/tmp");
    QVERIFY(QDir().mkpath(tmp));
    qputenv("TMPDIR", QFile::encodeName(tmp));
    const QString a = NowyPlikTymczasowy();
    const QString b = NowyPlikTymczasowy();
    QVERIFY(a != b);
    for (const QString &p : {a, b}) {
      const QFileInfo f(p);
      QVERIFY(f.exists());
      QCOMPARE(f.size(), 0);
      QCOMPARE(f.absolutePath(), tmp);
      QVERIFY(f.fileName().startsWith(QStringLiteral("pt")));
    }
    qunsetenv("TMPDIR");
  }

  void trescSkrotu_data()
  {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QString>("folder");
    // The window class Qt gives the program's windows: the program file's name.
    QTest::addColumn<QString>("klasa");
    QTest::newRow("zwykła") << QStringLiteral("/opt/p/paplanki")
                            << QStringLiteral("/opt/p/paplanki") << QStringLiteral("/opt/p/")
                            << QStringLiteral("paplanki");
    QTest::newRow("spacja") << QStringLiteral("/home/a/Moje programy/paplanki")
                            << QStringLiteral("\"/home/a/Moje programy/paplanki\"")
                            << QStringLiteral("/home/a/Moje programy/")
                            << QStringLiteral("paplanki");
    QTest::newRow("znaki specjalne")
        << QStringLiteral("/a/$x\"y%z/p") << QStringLiteral("\"/a/\\\\$x\\\\\"y%%z/p\"")
        << QStringLiteral("/a/$x\"y%z/") << QStringLiteral("p");
    QTest::newRow("odwrotny ukośnik")
        << QStringLiteral("/a/b\\c/p") << QStringLiteral("\"/a/b\\\\\\\\c/p\"")
        << QStringLiteral("/a/b\\\\c/") << QStringLiteral("p");
    QTest::newRow("kopia pod inną nazwą")
        << QStringLiteral("/home/a/bin/pap\\ki") << QStringLiteral("\"/home/a/bin/pap\\\\\\\\ki\"")
        << QStringLiteral("/home/a/bin/") << QStringLiteral("pap\\\\ki");
  }
  void trescSkrotu()
  {
    QFETCH(QString, program);
    QFETCH(QString, exec);
    QFETCH(QString, folder);
    QFETCH(QString, klasa);
    const QString tresc = QString::fromUtf8(TrescSkrotu(QStringLiteral("Paplanki GG"), program));
    QCOMPARE(tresc, QStringLiteral("[Desktop Entry]\nType=Application\nName=Paplanki GG\nExec=") +
                        exec + QStringLiteral("\nPath=") + folder +
                        QStringLiteral("\nIcon=pl.kolbiny.Paplanki\n"
                                       "Categories=Network;InstantMessaging;Chat;\n"
                                       "StartupWMClass=") +
                        klasa + u'\n');
  }
};

PAPLANKI_TEST_MAIN(TestSciezki)
#include "test_Sciezki.moc"
