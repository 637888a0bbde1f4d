// The settings file holds the password: created owner-only with owner-only folders, kept so
// through the program's own writes, and narrowed when found wider.

#include "app/Lokalizacje.h"
#include "app/ui/FormaBezdokumentowa.h"
#include "common/Srodowisko.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <sys/stat.h>

namespace {

const QString Produkt = QStringLiteral("Paplanki (GG)");

int Prawa(const QString &sciezka)
{
  struct stat st {};
  if (::stat(QFile::encodeName(sciezka).constData(), &st) != 0)
    return -1;
  return int(st.st_mode & 0777);
}

void UsunWszystko()
{
  QDir(QFileInfo(SciezkaUstawien(Produkt)).path()).removeRecursively();
  QDir(QFileInfo(KatalogDanych(Produkt)).path()).removeRecursively();
}

} // namespace

class TestUstawieniaPrywatne : public QObject {
  Q_OBJECT
private slots:
  void initTestCase()
  {
    // Nobody listens there: the window's update check fails at once.
    qputenv("PAPLANKI_WITRYNA", "http://127.0.0.1:1/");
    qputenv("PAPLANKI_LICZNIK", "http://127.0.0.1:1/");
  }
  void init() { UsunWszystko(); }

  void nowyUzytkownik()
  {
    const QString plik = SciezkaUstawien(Produkt);
    ZabezpieczUstawienia(Produkt);
    QCOMPARE(Prawa(plik), 0600);
    QCOMPARE(Prawa(QFileInfo(plik).path()), 0700);
    QCOMPARE(Prawa(KatalogDanych(Produkt)), 0700);
    QCOMPARE(Prawa(QFileInfo(KatalogDanych(Produkt)).path()), 0700);
    QCOMPARE(QFileInfo(plik).size(), 0);

    // The settings' own writes replace the file and keep its permissions.
    {
      QSettings rejestr(plik, QSettings::IniFormat);
      rejestr.setValue(QStringLiteral("Ustawienia/OstatnieHasloUzytkownika"), QStringLiteral("x"));
      rejestr.sync();
      QCOMPARE(rejestr.status(), QSettings::NoError);
    }
    QVERIFY(QFileInfo(plik).size() > 0);
    QCOMPARE(Prawa(plik), 0600);
  }

  void istniejacyPlik_data()
  {
    QTest::addColumn<int>("przed");
    QTest::addColumn<int>("po");
    QTest::newRow("czytelny dla wszystkich") << 0644 << 0600;
    QTest::newRow("zapisywalny dla grupy") << 0620 << 0600;
    QTest::newRow("tylko inni czytają") << 0604 << 0600;
    QTest::newRow("już prywatny") << 0600 << 0600;
    QTest::newRow("tylko do odczytu właściciela") << 0400 << 0400;
  }
  void istniejacyPlik()
  {
    QFETCH(int, przed);
    QFETCH(int, po);
    const QString plik = SciezkaUstawien(Produkt);
    const QString katalog = QFileInfo(plik).path();
    QVERIFY(QDir().mkpath(katalog));
    QVERIFY(::chmod(QFile::encodeName(katalog).constData(), 0755) == 0);
    {
      QFile f(plik);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("[Ustawienia]\nOstatniUzytkownik=5\n");
    }
    QVERIFY(::chmod(QFile::encodeName(plik).constData(), mode_t(przed)) == 0);
    ZabezpieczUstawienia(Produkt);
    QCOMPARE(Prawa(plik), po);
    // The content stays, and a folder that existed is left alone.
    QCOMPARE(
        QSettings(plik, QSettings::IniFormat).value(QStringLiteral("Ustawienia/OstatniUzytkownik")),
        QVariant(QStringLiteral("5")));
    QCOMPARE(Prawa(katalog), 0755);
  }

  // The frame of the program's windows does it before it opens the settings.
  void oknoProgramu()
  {
    const QString plik = SciezkaUstawien(Produkt);
    QVERIFY(QDir().mkpath(QFileInfo(plik).path()));
    {
      QFile f(plik);
      QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QVERIFY(::chmod(QFile::encodeName(plik).constData(), 0666) == 0);
    {
      TFormaBezdokumentowa okno;
      QCOMPARE(okno.NazwaProduktu(), Produkt);
      QCOMPARE(Prawa(plik), 0600);
    }
    UsunWszystko();
    {
      TFormaBezdokumentowa okno;
      QCOMPARE(Prawa(plik), 0600);
      QCOMPARE(Prawa(KatalogDanych(Produkt)), 0700);
    }
  }
};

PAPLANKI_TEST_MAIN(TestUstawieniaPrywatne)
#include "test_UstawieniaPrywatne.moc"
