#include "app/DataCzas.h"
#include "common/Srodowisko.h"
#include "contacts/Ustawienia.h"
#include "gg/Dziennik.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

QString Czytaj(const QString &sciezka)
{
  QFile plik(sciezka);
  if (!plik.open(QIODevice::ReadOnly))
    return QString();
  return QString::fromUtf8(plik.readAll());
}

QByteArray CzytajBajty(const QString &sciezka)
{
  QFile plik(sciezka);
  return plik.open(QIODevice::ReadOnly) ? plik.readAll() : QByteArray();
}

ino_t Inode(const QString &sciezka)
{
  struct stat s {};
  return ::stat(QFile::encodeName(sciezka).constData(), &s) == 0 ? s.st_ino : 0;
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

    dziennik.Loguj(QStringLiteral("hasła"), QStringLiteral("1;x"));

    const QStringList linie = Czytaj(sciezka).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(linie.size(), 9);
    QCOMPARE(linie[0], QStringLiteral("[Błędne paczki]"));
    QVERIFY(linie[1].endsWith(QStringLiteral(" 1=1 2097152")));
    QCOMPARE(linie[2], QStringLiteral("[Inne GGAnsXmlEvent typu innego niż 28]"));
    QVERIFY(linie[3].endsWith(QStringLiteral(" 2=<a>")));
    // Lines are only ever appended: a category met again opens its section once more ...
    QCOMPARE(linie[4], QStringLiteral("[Błędne paczki]"));
    QVERIFY(linie[5].endsWith(QStringLiteral(" 3=abc 3 {00}")));
    QCOMPARE(linie[6], QStringLiteral("[Hasła]"));
    QVERIFY(linie[7].endsWith(QStringLiteral(" 4=4242;żółw")));
    // ... but not while it is the last one, whatever the letter case.
    QVERIFY(linie[8].endsWith(QStringLiteral(" 5=1;x")));

    // An INI reader sees each category as one section holding all its lines.
    QSettings czytnik(sciezka, QSettings::IniFormat);
    czytnik.beginGroup(QStringLiteral("Błędne paczki"));
    QCOMPARE(czytnik.childKeys().size(), 2);
    czytnik.endGroup();
    czytnik.beginGroup(QStringLiteral("Hasła"));
    QCOMPARE(czytnik.childKeys().size(), 2);
  }

  // A log line is appended to the file that is there, whatever it holds: nothing before it is
  // read back, rewritten or replaced, so a long log costs no more per line than a short one.
  void dopisujeDoIstniejacego_data()
  {
    QTest::addColumn<QByteArray>("poczatek");
    QTest::addColumn<QByteArray>("naglowek");
    QTest::newRow("brak pliku") << QByteArray() << QByteArray("[ZmianyStanu]\n");
    QTest::newRow("ta sama sekcja na końcu")
        << QByteArray("[Komunikacja]\na=1\n[zmianystanu]\nb=2\n\n") << QByteArray();
    QTest::newRow("inna sekcja na końcu")
        << QByteArray("[ZmianyStanu]\nb=2\n[Komunikacja]\na=1\n") << QByteArray("[ZmianyStanu]\n");
    QTest::newRow("bez końca linii") << QByteArray("[ZmianyStanu]\r\nb=2") << QByteArray("\n");
    QTest::newRow("bez sekcji") << QByteArray("; tylko uwaga\n") << QByteArray("[ZmianyStanu]\n");
    QTest::newRow("nagłówek daleko przed końcem")
        << QByteArray("[ZmianyStanu]\n" + QByteArray(70000, 'x') + "\n")
        << QByteArray("[ZmianyStanu]\n");
  }
  void dopisujeDoIstniejacego()
  {
    QFETCH(QByteArray, poczatek);
    QFETCH(QByteArray, naglowek);
    QTemporaryDir katalog;
    const QString sciezka = katalog.filePath(QStringLiteral("p.log"));
    if (!poczatek.isEmpty())
      Zapisz(sciezka, poczatek);
    TDziennik dziennik(sciezka, [] { return true; });
    dziennik.Loguj(QStringLiteral("ZmianyStanu"), QStringLiteral("v"));
    const ino_t inode = Inode(sciezka);

    QByteArray tresc = CzytajBajty(sciezka);
    QVERIFY(tresc.startsWith(poczatek + naglowek));
    tresc.remove(0, poczatek.size() + naglowek.size());
    QVERIFY2(tresc.endsWith(" 1=v\n") && tresc.count('\n') == 1, tresc.constData());

    // Someone else's section at the end is noticed before the next line is written.
    {
      QFile obcy(sciezka);
      QVERIFY(obcy.open(QIODevice::Append));
      obcy.write("[Obca]\nz=1\n");
    }
    dziennik.Loguj(QStringLiteral("ZmianyStanu"), QStringLiteral("w"));
    dziennik.Loguj(QStringLiteral("ZmianyStanu"), QStringLiteral("x"));
    const QStringList linie = Czytaj(sciezka).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(linie.mid(linie.size() - 5, 3),
             QStringList({QStringLiteral("[Obca]"), QStringLiteral("z=1"),
                          QStringLiteral("[ZmianyStanu]")}));
    QVERIFY(linie.at(linie.size() - 2).endsWith(QStringLiteral(" 2=w")));
    QVERIFY(linie.last().endsWith(QStringLiteral(" 3=x")));
    // The same file all along, not a new one put in its place.
    QCOMPARE(Inode(sciezka), inode);
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
    QVERIFY(
        ZapiszWpisIni(sciezka, QStringLiteral("Hasła"), QStringLiteral("k2"), QStringLiteral("x")));
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
