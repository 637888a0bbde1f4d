#include "app/DataCzas.h"
#include "common/Srodowisko.h"
#include "contacts/Ustawienia.h"
#include "gg/Dziennik.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace {

QString Czytaj(const QString &sciezka)
{
  QFile plik(sciezka);
  if (!plik.open(QIODevice::ReadOnly))
    return QString();
  return QString::fromUtf8(plik.readAll());
}

void Zapisz(const QString &sciezka, const QByteArray &tresc)
{
  QFile plik(sciezka);
  QVERIFY(plik.open(QIODevice::WriteOnly | QIODevice::Truncate));
  plik.write(tresc);
}

} // namespace

class TestDziennik : public QObject {
  Q_OBJECT
private slots:
  void sciezkaObokProgramu()
  {
    QCOMPARE(TDziennik::SciezkaDziennika(QStringLiteral("/opt/x/build/paplanki")),
             QStringLiteral("/opt/x/build/paplanki.log"));
  }

  // The switch is read from the settings file at every call: a hand edit while the program runs
  // takes effect with the next event, and the counter has counted the events left out.
  void licznikPrzyWlaczeniuWTrakcie()
  {
    QTemporaryDir katalog;
    const QString plikUstawien = katalog.filePath(QStringLiteral("Paplanki.conf"));
    QSettings rejestr(plikUstawien, QSettings::IniFormat);
    TUstawienia ustawienia(rejestr, katalog.path());
    const QString sciezka = katalog.filePath(QStringLiteral("paplanki.log"));
    TDziennik dziennik(sciezka, [&] { return ustawienia.CzytajLogowanie(); });

    dziennik.Loguj(QStringLiteral("Komunikacja"), QStringLiteral("GgSckSessionConnected"));
    dziennik.Loguj(QStringLiteral("Komunikacja"), QStringLiteral("GgSckSessionClosed"));
    dziennik.Loguj(QStringLiteral("ZmianyStanu"), QStringLiteral("Dostępny"));
    QVERIFY(!QFile::exists(sciezka));
    QCOMPARE(dziennik.Licznik(), qint64(3));

    {
      QSettings reczna(plikUstawien, QSettings::IniFormat);
      reczna.setValue(QStringLiteral("Ustawienia/Logowanie"), QStringLiteral("1"));
    }
    const QDateTime przed = QDateTime::currentDateTime();
    dziennik.Loguj(QStringLiteral("ZmianyStanu"), QStringLiteral("Niewidoczny"));
    const QDateTime po = QDateTime::currentDateTime();

    const QStringList linie = Czytaj(sciezka).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(linie.size(), 2);
    QCOMPARE(linie[0], QStringLiteral("[ZmianyStanu]"));
    const QStringList mozliwe = {DataCzasNaTekst(przed) + QStringLiteral(" 4=Niewidoczny"),
                                 DataCzasNaTekst(po) + QStringLiteral(" 4=Niewidoczny")};
    QVERIFY2(mozliwe.contains(linie[1]), qPrintable(linie[1]));

    {
      QSettings reczna(plikUstawien, QSettings::IniFormat);
      reczna.setValue(QStringLiteral("Ustawienia/Logowanie"), QStringLiteral("0"));
    }
    dziennik.Loguj(QStringLiteral("ZmianyStanu"), QStringLiteral("Zajęty"));
    QCOMPARE(Czytaj(sciezka).count(u'\n'), 2);
    QCOMPARE(dziennik.Licznik(), qint64(5));
  }

  void sekcjeZPolskimiLiteramiISpacjami()
  {
    QTemporaryDir katalog;
    const QString sciezka = katalog.filePath(QStringLiteral("p.log"));
    TDziennik dziennik(sciezka, [] { return true; });
    dziennik.Loguj(QStringLiteral("Błędne paczki"), QStringLiteral("1 2097152"));
    dziennik.Loguj(QStringLiteral("Inne GGAnsXmlEvent typu innego niż 28"), QStringLiteral("<a>"));
    dziennik.Loguj(QStringLiteral("Błędne paczki"), QStringLiteral("abc 3 {00}"));
    dziennik.Loguj(QStringLiteral("Hasła"), QStringLiteral("4242;żółw"));

    const QStringList linie = Czytaj(sciezka).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(linie.size(), 7);
    QCOMPARE(linie[0], QStringLiteral("[Błędne paczki]"));
    QVERIFY(linie[1].endsWith(QStringLiteral(" 1=1 2097152")));
    // A later event of a category joins its section, after its earlier lines.
    QVERIFY(linie[2].endsWith(QStringLiteral(" 3=abc 3 {00}")));
    QCOMPARE(linie[3], QStringLiteral("[Inne GGAnsXmlEvent typu innego niż 28]"));
    QVERIFY(linie[4].endsWith(QStringLiteral(" 2=<a>")));
    QCOMPARE(linie[5], QStringLiteral("[Hasła]"));
    QVERIFY(linie[6].endsWith(QStringLiteral(" 4=4242;żółw")));
  }

  void wpisIniZachowujeResztePliku()
  {
    QTemporaryDir katalog;
    const QString sciezka = katalog.filePath(QStringLiteral("p.log"));
    Zapisz(sciezka, "; uwaga\r\n[Komunikacja]\r\nk1=a\r\n\r\n[zmianystanu]\r\nk2=b\r\n");

    // An existing key is overwritten in place, the section found whatever its letter case.
    QVERIFY(ZapiszWpisIni(sciezka, QStringLiteral("ZmianyStanu"), QStringLiteral("K2"),
                          QStringLiteral("nowe")));
    // A new key goes after the section's last entry, not after the blank line.
    QVERIFY(ZapiszWpisIni(sciezka, QStringLiteral("Komunikacja"), QStringLiteral("k3"),
                          QStringLiteral("c")));
    // A line break cannot tear an entry apart.
    QVERIFY(ZapiszWpisIni(sciezka, QStringLiteral("Nowa"), QStringLiteral("k4"),
                          QStringLiteral("x\r\ny")));
    QCOMPARE(Czytaj(sciezka), QStringLiteral("; uwaga\n[Komunikacja]\nk1=a\nk3=c\n\n"
                                             "[zmianystanu]\nK2=nowe\n[Nowa]\nk4=x{0D}{0A}y\n"));
  }

  void bezZapisuGdyKatalogNieIstnieje()
  {
    QTemporaryDir katalog;
    const QString sciezka = katalog.filePath(QStringLiteral("brak/p.log"));
    TDziennik dziennik(sciezka, [] { return true; });
    dziennik.Loguj(QStringLiteral("Komunikacja"), QStringLiteral("GgSckError"));
    QVERIFY(!QFile::exists(sciezka));
    QCOMPARE(dziennik.Licznik(), qint64(1));
  }

  // The log may hold a new account's password: a new file is for its owner only, whatever the
  // umask; a file that exists keeps the mode given to it.
  void trybPliku()
  {
    // Owner, group and others; the "user" bits only repeat the owner's for the caller.
    QTemporaryDir katalog;
    const QString sciezka = katalog.filePath(QStringLiteral("p.log"));
    QVERIFY(ZapiszWpisIni(sciezka, QStringLiteral("Hasła"), QStringLiteral("k"),
                          QStringLiteral("123;tajne")));
    const auto wlasciciel = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QCOMPARE(QFile::permissions(sciezka) & 0xF0FF, wlasciciel);
    QVERIFY(ZapiszWpisIni(sciezka, QStringLiteral("Hasła"), QStringLiteral("k2"),
                          QStringLiteral("x")));
    QCOMPARE(QFile::permissions(sciezka) & 0xF0FF, wlasciciel);

    const QString inny = katalog.filePath(QStringLiteral("q.log"));
    Zapisz(inny, "[A]\n");
    const auto czytelny = wlasciciel | QFileDevice::ReadGroup;
    QVERIFY(QFile::setPermissions(inny, czytelny));
    QVERIFY(ZapiszWpisIni(inny, QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("v")));
    QCOMPARE(QFile::permissions(inny) & 0xF0FF, czytelny);
  }
};

PAPLANKI_TEST_MAIN(TestDziennik)
#include "test_Dziennik.moc"
