#include "app/Lokalizacje.h"
#include "common/Srodowisko.h"
#include "contacts/Rejestr.h"
#include "contacts/Sledzeni.h"
#include "contacts/Ustawienia.h"
#include "net/Blad.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

const QString kProdukt = QStringLiteral("Paplanki (GG)");

QByteArray CzytajPlik(const QString &sciezka)
{
  QFile plik(sciezka);
  return plik.open(QIODevice::ReadOnly) ? plik.readAll() : QByteArray();
}

void ZapiszPlik(const QString &sciezka, const QByteArray &tresc)
{
  QDir().mkpath(QFileInfo(sciezka).absolutePath());
  QFile plik(sciezka);
  QVERIFY(plik.open(QIODevice::WriteOnly | QIODevice::Truncate));
  plik.write(tresc);
}

QStringList Zawartosc(const TListaPosortowana &lista)
{
  return lista.Teksty();
}

// Started again as a child by zapisPrzetrwaZabicie: sets values through the program's own
// classes, then says so on its standard output from the next event, and waits to be killed.
const char *const kZmiennaPotomka = "PAPLANKI_TEST_ZAPIS_I_ZABICIE";

int PotomekZapisujacy()
{
  int argc = 1;
  char nazwa[] = "potomek";
  char *argv[] = {nazwa, nullptr};
  QCoreApplication aplikacja(argc, argv);
  const QString sciezka = qEnvironmentVariable(kZmiennaPotomka);
  QSettings rejestr(sciezka, QSettings::IniFormat);
  TUstawienia u(rejestr, QFileInfo(sciezka).absolutePath());
  TSledzeniRejestr baza(rejestr, false, nullptr);
  QTimer::singleShot(0, &aplikacja, [&] {
    u.UstawPrzylaczaj(false);
    u.UstawNumerUzytkownika(4321);
    baza.Dodaj(555, QStringLiteral("Ola"), QStringLiteral("Nowak"), QStringLiteral("o@x"),
               QStringLiteral("123"), QStringLiteral("Olka"));
    // Whatever the program does next runs in a later event.
    QTimer::singleShot(0, &aplikacja, [] {
      std::fputs("zapisano\n", stdout);
      std::fflush(stdout);
    });
  });
  return aplikacja.exec();
}

// Before main: the child never reaches the test runner.
const bool kJestPotomkiem =
    qEnvironmentVariableIsSet(kZmiennaPotomka) && (std::exit(PotomekZapisujacy()), true);

} // namespace

class TestUstawienia : public QObject {
  Q_OBJECT

  QTemporaryDir m_katalog;
  int m_licznik = 0;

  // A settings file of its own for each case, so that no case sees another's values.
  QString NowyPlik(const QByteArray &tresc = QByteArray())
  {
    const QString sciezka = m_katalog.filePath(QStringLiteral("u%1.conf").arg(++m_licznik));
    if (!tresc.isNull())
      ZapiszPlik(sciezka, tresc);
    return sciezka;
  }

private slots:
  void swiezyUzytkownik()
  {
    const QString oczekiwana =
        KatalogTestowy() + QStringLiteral("/.config/Kolbiny/Paplanki (GG).conf");
    QCOMPARE(SciezkaUstawien(kProdukt), oczekiwana);
    QCOMPARE(KatalogDanych(kProdukt),
             KatalogTestowy() + QStringLiteral("/.local/share/Kolbiny/Paplanki (GG)"));

    auto rejestr = OtworzRejestr(kProdukt);
    QCOMPARE(rejestr->fileName(), oczekiwana);
    QCOMPARE(rejestr->format(), QSettings::IniFormat);
    TUstawienia u(*rejestr, KatalogDanych(kProdukt));
    QCOMPARE(u.OstatniAdresat(), QString());
    QCOMPARE(u.NumerOstatniejInformacji(), 0);
    QVERIFY(u.AutomatycznyZajetyWolny());
    QVERIFY(!u.InformowanieOPisaniu());
    QVERIFY(!u.InformacjeGG());
    QVERIFY(!u.SerwerAlternatywny());
    QCOMPARE(u.RodzajBazy(), 1);
    QVERIFY(u.TylkoOdPrzyjaciol());
    QVERIFY(u.Przylaczaj());
    QVERIFY(!u.CzytajTestowanie());
    QVERIFY(!u.CzytajLogowanie());
    QCOMPARE(u.CzytajHasloUzytkownika(), QStringLiteral("?????"));
    QCOMPARE(u.CzytajNumerUzytkownika(), -1);
    // Reading alone creates nothing on disk.
    QVERIFY(!QFile::exists(oczekiwana));

    u.WczytajListy();
    QCOMPARE(Zawartosc(u.ListaBlokowanych()).size(), 5);
    QCOMPARE(u.WyslanoNa().Liczba(), 0);
    QCOMPARE(u.ListaKickujacych().Liczba(), 0);
    QCOMPARE(u.SciezkaPrzypisow(12345),
             KatalogDanych(kProdukt) + QStringLiteral("/Przypisy/12345"));
  }

  void konwersje_data()
  {
    QTest::addColumn<QString>("wartosc");
    QTest::addColumn<QString>("nazwa");
    QTest::addColumn<int>("oczekiwana");
    // Booleans read an integer: anything but 0 is true, a non-number is the default.
    QTest::newRow("2 jest prawdą") << "2"
                                   << "InformacjeGG" << 1;
    QTest::newRow("-1 jest prawdą") << "-1"
                                    << "InformacjeGG" << 1;
    QTest::newRow("0 przy domyślnej 1") << "0"
                                        << "Przylaczaj" << 0;
    QTest::newRow("słowo daje domyślną 1") << "tak"
                                           << "Przylaczaj" << 1;
    QTest::newRow("słowo daje domyślną 0") << "tak"
                                           << "InformacjeGG" << 0;
    QTest::newRow("pusta daje domyślną") << ""
                                         << "TylkoOdPrzyjaciol" << 1;
    QTest::newRow("true to nie liczba") << "true"
                                        << "SerwerAlternatywny" << 0;
    QTest::newRow("spacje wokół") << " 1 "
                                  << "InformowanieOPisaniu" << 1;
    // Integers: valid or the default, never a partial number.
    QTest::newRow("liczba") << "17"
                            << "OstatniaInformacjaSystemowa" << 17;
    QTest::newRow("ujemna") << "-5"
                            << "OstatniaInformacjaSystemowa" << -5;
    QTest::newRow("ogon liter") << "12a"
                                << "OstatniaInformacjaSystemowa" << 0;
    QTest::newRow("za duża") << "2147483648"
                             << "OstatniaInformacjaSystemowa" << 0;
    QTest::newRow("baza 7 zostaje") << "7"
                                    << "BazaKontaktow" << 7;
    QTest::newRow("baza nieliczbowa") << "rejestr"
                                      << "BazaKontaktow" << 1;
  }
  void konwersje()
  {
    QFETCH(QString, wartosc);
    QFETCH(QString, nazwa);
    QFETCH(int, oczekiwana);
    QSettings rejestr(NowyPlik(), QSettings::IniFormat);
    ZapiszTekst(rejestr, QStringLiteral("Ustawienia"), nazwa, wartosc);
    TUstawienia u(rejestr, m_katalog.path());
    const QHash<QString, int> wartosci = {
        {QStringLiteral("InformacjeGG"), u.InformacjeGG()},
        {QStringLiteral("Przylaczaj"), u.Przylaczaj()},
        {QStringLiteral("TylkoOdPrzyjaciol"), u.TylkoOdPrzyjaciol()},
        {QStringLiteral("SerwerAlternatywny"), u.SerwerAlternatywny()},
        {QStringLiteral("InformowanieOPisaniu"), u.InformowanieOPisaniu()},
        {QStringLiteral("OstatniaInformacjaSystemowa"), u.NumerOstatniejInformacji()},
        {QStringLiteral("BazaKontaktow"), u.RodzajBazy()},
    };
    QVERIFY(wartosci.contains(nazwa));
    QCOMPARE(wartosci.value(nazwa), oczekiwana);
  }

  void numerUzytkownikaScisle_data()
  {
    QTest::addColumn<QString>("wartosc");
    QTest::addColumn<bool>("poprawny");
    QTest::addColumn<int>("numer");
    QTest::newRow("numer") << "123456" << true << 123456;
    QTest::newRow("brak konta") << "-1" << true << -1;
    QTest::newRow("słowo") << "ktoś" << false << 0;
    QTest::newRow("pusty") << "" << false << 0;
    QTest::newRow("cyfry z literą") << "12x" << false << 0;
  }
  void numerUzytkownikaScisle()
  {
    QFETCH(QString, wartosc);
    QFETCH(bool, poprawny);
    QFETCH(int, numer);
    QSettings rejestr(NowyPlik(), QSettings::IniFormat);
    ZapiszTekst(rejestr, QStringLiteral("Ustawienia"), QStringLiteral("OstatniUzytkownik"),
                wartosc);
    TUstawienia u(rejestr, m_katalog.path());
    if (poprawny) {
      QCOMPARE(u.CzytajNumerUzytkownika(), numer);
    } else {
      try {
        u.CzytajNumerUzytkownika();
        QFAIL("a non-numeric account number must not read as a default");
      } catch (const EConvertError &e) {
        QCOMPARE(e.Message(), QStringLiteral("'%1' is not a valid integer value").arg(wartosc));
      }
    }
  }

  void zapisNatychmiastowy()
  {
    const QString sciezka = NowyPlik();
    QSettings rejestr(sciezka, QSettings::IniFormat);
    TUstawienia u(rejestr, m_katalog.path());
    u.UstawPrzylaczaj(false);
    u.UstawInformacjeGG(true);
    u.UstawBazaKontaktow(2);
    u.UstawAutomatycznyZajetyWolny(false);
    u.UstawInformowanieOPisaniu(true);
    u.UstawSerwerAlternatywny(true);
    u.UstawTylkoOdPrzyjaciol(false);
    u.UstawNumerUzytkownika(4321);
    u.UstawHasloUzytkownika(QStringLiteral(" hasło, z; = znakami "));
    // The two closing values wait for the window to close.
    u.UstawOstatniAdresat(QStringLiteral("777"));
    u.UstawNumerOstatniejInformacji(9);

    // On disk, as text "1"/"0", once the current event has been handled.
    QTRY_VERIFY(CzytajPlik(sciezka).contains("TylkoOdPrzyjaciol=0"));
    const QByteArray plik = CzytajPlik(sciezka);
    QVERIFY(plik.contains("[Ustawienia]"));
    QVERIFY(plik.contains("Przylaczaj=0"));
    QVERIFY(plik.contains("InformacjeGG=1"));
    QVERIFY(plik.contains("BazaKontaktow=2"));
    QVERIFY(plik.contains("OstatniUzytkownik=4321"));
    QVERIFY(!plik.contains("OstatniAdresat"));
    QVERIFY(!plik.contains("OstatniaInformacjaSystemowa"));
    QVERIFY(!plik.contains("true"));

    u.ZapiszPrzyZamykaniu();
    QTRY_VERIFY(CzytajPlik(sciezka).contains("OstatniAdresat=777"));

    // A second object on the same file reads everything back.
    QSettings drugi(sciezka, QSettings::IniFormat);
    TUstawienia v(drugi, m_katalog.path());
    QVERIFY(!v.Przylaczaj());
    QVERIFY(v.InformacjeGG());
    QCOMPARE(v.RodzajBazy(), 2);
    QVERIFY(!v.AutomatycznyZajetyWolny());
    QVERIFY(v.InformowanieOPisaniu());
    QVERIFY(v.SerwerAlternatywny());
    QVERIFY(!v.TylkoOdPrzyjaciol());
    QCOMPARE(v.CzytajNumerUzytkownika(), 4321);
    QCOMPARE(v.CzytajHasloUzytkownika(), QStringLiteral(" hasło, z; = znakami "));
    QCOMPARE(v.OstatniAdresat(), QStringLiteral("777"));
    QCOMPARE(v.NumerOstatniejInformacji(), 9);
  }

  // A program killed (SIGKILL, no chance to flush) just after setting values reads them back at
  // its next start.
  void zapisPrzetrwaZabicie()
  {
    QVERIFY(!kJestPotomkiem);
    const QString sciezka = NowyPlik();
    QProcess potomek;
    QProcessEnvironment srodowisko = QProcessEnvironment::systemEnvironment();
    srodowisko.insert(QString::fromLatin1(kZmiennaPotomka), sciezka);
    potomek.setProcessEnvironment(srodowisko);
    potomek.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(potomek.waitForStarted());
    QByteArray wyjscie;
    while (!wyjscie.contains("zapisano") && potomek.waitForReadyRead(10000))
      wyjscie += potomek.readAllStandardOutput();
    QVERIFY2(wyjscie.contains("zapisano"), wyjscie.constData());
    potomek.kill();
    QVERIFY(potomek.waitForFinished());
    QCOMPARE(potomek.exitStatus(), QProcess::CrashExit);

    QSettings rejestr(sciezka, QSettings::IniFormat);
    TUstawienia u(rejestr, m_katalog.path());
    QVERIFY(!u.Przylaczaj());
    QCOMPARE(u.CzytajNumerUzytkownika(), 4321);
    QCOMPARE(CzytajTekst(rejestr, QStringLiteral("Sledzeni/555"), QStringLiteral("Opis"), {}),
             QStringLiteral("Olka"));
    QCOMPARE(CzytajTekst(rejestr, QStringLiteral("Sledzeni/555"), QStringLiteral("Imie"), {}),
             QStringLiteral("Ola"));
  }

  // Setting what is already stored leaves the file alone; a change rewrites it once.
  void niezmienioneNieZapisywane()
  {
    const QString sciezka = NowyPlik("[Ustawienia]\nPrzylaczaj=0\nInformacjeGG=1\n"
                                     "[Sledzeni]\n7\\Opis=s\n7\\Imie=i\n7\\Nazwisko=n\n"
                                     "7\\EMail=e\n7\\Telefon=t\n");
    // Recognisable by content only: QSettings would never write the comment back.
    ZapiszPlik(sciezka, CzytajPlik(sciezka) + "; ręczna uwaga\n");
    QSettings rejestr(sciezka, QSettings::IniFormat);
    TUstawienia u(rejestr, m_katalog.path());
    TSledzeniRejestr baza(rejestr, false, nullptr);
    u.UstawPrzylaczaj(false);
    u.UstawInformacjeGG(true);
    baza.Zapisz(7, 7, QStringLiteral("i"), QStringLiteral("n"), QStringLiteral("e"),
                QStringLiteral("t"), QStringLiteral("s"));
    QTest::qWait(50); // a rewrite of the file would show by now
    QVERIFY(CzytajPlik(sciezka).contains("; ręczna uwaga"));
    baza.Zapisz(7, 7, QStringLiteral("i"), QStringLiteral("n"), QStringLiteral("e"),
                QStringLiteral("t"), QStringLiteral("inny"));
    QTRY_VERIFY(!CzytajPlik(sciezka).contains("; ręczna uwaga"));
    QVERIFY(CzytajPlik(sciezka).contains("7\\Opis=inny"));
  }

  void logowanieCzytaneZaKazdymRazem()
  {
    const QString sciezka = NowyPlik();
    QSettings rejestr(sciezka, QSettings::IniFormat);
    TUstawienia u(rejestr, m_katalog.path());
    u.UstawInformacjeGG(true); // the file exists and is known to the object
    QVERIFY(!u.CzytajLogowanie());
    // Edited by hand on disk while the program runs.
    ZapiszPlik(sciezka, CzytajPlik(sciezka) + "Logowanie=1\n");
    QVERIFY(u.CzytajLogowanie());
    QVERIFY(u.InformacjeGG());
  }

  void wartoscWpisanaRecznieZPrzecinkiem()
  {
    // A hand-edited INI line with a bare comma is still one text.
    QSettings rejestr(NowyPlik("[Ustawienia]\nOstatniAdresat=12,34\n"), QSettings::IniFormat);
    TUstawienia u(rejestr, m_katalog.path());
    QCOMPARE(u.OstatniAdresat(), QStringLiteral("12,34"));
  }

  void nieudanyZapisZglaszaBlad()
  {
    // A settings path below a plain file can never be written, not even by root.
    const QString plik = m_katalog.filePath(QStringLiteral("zwykly-plik"));
    ZapiszPlik(plik, "x");
    QSettings rejestr(plik + QStringLiteral("/u.conf"), QSettings::IniFormat);
    TUstawienia u(rejestr, m_katalog.path());
    try {
      u.UstawPrzylaczaj(false);
      QFAIL("a failed write must not pass as success");
    } catch (const ERejestr &e) {
      QCOMPARE(e.Message(), QStringLiteral("Failed to set data for 'Przylaczaj'"));
    }
    QVERIFY(!u.Przylaczaj()); // the field keeps the new value
  }

  void grupaWywolujacegoZostaje()
  {
    QSettings rejestr(NowyPlik(), QSettings::IniFormat);
    rejestr.beginGroup(QStringLiteral("StareRozmiary"));
    TUstawienia u(rejestr, m_katalog.path());
    u.UstawInformacjeGG(true);
    QCOMPARE(rejestr.group(), QStringLiteral("StareRozmiary"));
    rejestr.endGroup();
    QCOMPARE(rejestr.value(QStringLiteral("Ustawienia/InformacjeGG")).toString(),
             QStringLiteral("1"));
    QVERIFY(!rejestr.contains(QStringLiteral("StareRozmiary/Ustawienia/InformacjeGG")));
  }

  void wczytanieListy_data()
  {
    QTest::addColumn<QByteArray>("tresc");
    QTest::addColumn<QStringList>("oczekiwana");
    QTest::newRow("porządek tekstowy")
        << QByteArray("100\n20\n3\n")
        << QStringList{QStringLiteral("100"), QStringLiteral("20"), QStringLiteral("3")};
    QTest::newRow("CRLF i brak końca")
        << QByteArray("3\r\n100\r\n20")
        << QStringList{QStringLiteral("100"), QStringLiteral("20"), QStringLiteral("3")};
    QTest::newRow("duplikaty z pliku zostają")
        << QByteArray("5\n5\n4\n")
        << QStringList{QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("5")};
    QTest::newRow("bez rozróżniania wielkości")
        << QByteArray("b\nA\nc\n")
        << QStringList{QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("c")};
    QTest::newRow("pusty plik") << QByteArray("") << QStringList{};
  }
  void wczytanieListy()
  {
    QFETCH(QByteArray, tresc);
    QFETCH(QStringList, oczekiwana);
    QTemporaryDir dane;
    ZapiszPlik(dane.filePath(QStringLiteral("WyslanoNa")), tresc);
    QSettings rejestr(NowyPlik(), QSettings::IniFormat);
    TUstawienia u(rejestr, dane.path());
    TListaPosortowana lista = u.WczytajListe(QStringLiteral("WyslanoNa"));
    QCOMPARE(lista.Teksty(), oczekiwana);
    // After loading, an entry already present is not added again (whatever its case).
    for (const QString &t : oczekiwana) {
      lista.Dodaj(t.toLower());
      lista.Dodaj(t.toUpper());
    }
    QCOMPARE(lista.Teksty(), oczekiwana);
    lista.Dodaj(QStringLiteral("25"));
    QCOMPARE(lista.Liczba(), oczekiwana.size() + 1);
    QVERIFY(lista.Zawiera(QStringLiteral("25")));
  }

  void brakPlikuToPustaLista()
  {
    QSettings rejestr(NowyPlik(), QSettings::IniFormat);
    TUstawienia u(rejestr, m_katalog.filePath(QStringLiteral("nie-ma-takiego")));
    QCOMPARE(u.WczytajListe(QStringLiteral("ListaKickujacych")).Liczba(), 0);
  }

  void wbudowaneBlokowane()
  {
    const QStringList wbudowane = TUstawienia::WbudowaneBlokowane();
    QCOMPARE(wbudowane.size(), 5);
    QTemporaryDir dane;
    // One built-in number already in the file is not doubled; the file's own numbers stay.
    ZapiszPlik(dane.filePath(QStringLiteral("ListaBlokowanych")),
               (wbudowane[2] + QStringLiteral("\n999\n")).toUtf8());
    ZapiszPlik(dane.filePath(QStringLiteral("WyslanoNa")), "1\n");
    ZapiszPlik(dane.filePath(QStringLiteral("ListaKickujacych")), "2\n3\n");
    QSettings rejestr(NowyPlik(), QSettings::IniFormat);
    TUstawienia u(rejestr, dane.path());
    u.WczytajListy();
    const TListaPosortowana &blokowani = u.ListaBlokowanych();
    QCOMPARE(blokowani.Liczba(), 6);
    for (const QString &numer : wbudowane)
      QVERIFY(blokowani.Zawiera(numer));
    QVERIFY(blokowani.Zawiera(QStringLiteral("999")));
    QStringList posortowane = blokowani.Teksty();
    std::sort(posortowane.begin(), posortowane.end());
    QCOMPARE(blokowani.Teksty(), posortowane); // digits only: plain text order
    QCOMPARE(u.WyslanoNa().Teksty(), QStringList{QStringLiteral("1")});
    QCOMPARE(u.ListaKickujacych().Liczba(), 2);

    u.ZwolnijListy();
    QCOMPARE(u.ListaBlokowanych().Liczba(), 0);
    // The lists are never written back.
    QCOMPARE(CzytajPlik(dane.filePath(QStringLiteral("ListaKickujacych"))), QByteArray("2\n3\n"));
  }
};

PAPLANKI_TEST_MAIN(TestUstawienia)
#include "test_Ustawienia.moc"
