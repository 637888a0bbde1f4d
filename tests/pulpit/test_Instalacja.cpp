// `cmake --install` of this build tree into a temporary DESTDIR: the program with its link in
// bin/, help, desktop entry, AppStream data and every icon size, checked with the desktop's own
// validators; and the launcher that the installed program's "-zarejestruj" writes.

#include "common/Srodowisko.h"
#include "pulpit/IkonaProgramu.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

namespace {

const QString Prefiks = QStringLiteral("/usr");

struct TWynik {
  int kod = -1;
  QString wyjscie;
};

TWynik Uruchom(const QString &program, const QStringList &argumenty,
               const QProcessEnvironment &srodowisko = QProcessEnvironment::systemEnvironment())
{
  QProcess proces;
  proces.setProcessEnvironment(srodowisko);
  proces.setProcessChannelMode(QProcess::MergedChannels);
  proces.start(program, argumenty);
  if (!proces.waitForFinished(90000))
    return {-1, QStringLiteral("%1 did not finish").arg(program)};
  return {proces.exitStatus() == QProcess::NormalExit ? proces.exitCode() : -1,
          QString::fromLocal8Bit(proces.readAll())};
}

// The value of `klucz` in the [Desktop Entry] group of a desktop file.
QString Wartosc(const QString &plik, const QString &klucz)
{
  QFile f(plik);
  if (!f.open(QIODevice::ReadOnly))
    return {};
  const QString przedrostek = klucz + u'=';
  for (const QString &linia : QString::fromUtf8(f.readAll()).split(u'\n'))
    if (linia.startsWith(przedrostek))
      return linia.mid(przedrostek.size());
  return {};
}

} // namespace

class TestInstalacja : public QObject {
  Q_OBJECT

  QTemporaryDir m_cel;
  QString m_usr;

private slots:
  void initTestCase()
  {
    QVERIFY(m_cel.isValid());
    QProcessEnvironment srodowisko = QProcessEnvironment::systemEnvironment();
    srodowisko.insert(QStringLiteral("DESTDIR"), m_cel.path());
    const TWynik wynik = Uruchom(QStringLiteral("cmake"),
                                 {QStringLiteral("--install"), QStringLiteral(PAPLANKI_BUDOWA),
                                  QStringLiteral("--prefix"), Prefiks},
                                 srodowisko);
    QVERIFY2(wynik.kod == 0, qPrintable(wynik.wyjscie));
    m_usr = m_cel.path() + Prefiks;
  }

  void pliki_data()
  {
    QTest::addColumn<QString>("plik");
    for (const char *p :
         {"bin/paplanki", "lib/paplanki/paplanki", "lib/paplanki/paplankiPLK.html",
          "lib/paplanki/paplankiENU.html", "share/applications/pl.kolbiny.Paplanki.desktop",
          "share/metainfo/pl.kolbiny.Paplanki.metainfo.xml",
          "share/icons/hicolor/scalable/apps/pl.kolbiny.Paplanki.svg"})
      QTest::newRow(p) << QString::fromLatin1(p);
  }

  void pliki()
  {
    QFETCH(QString, plik);
    const QFileInfo info(m_usr + u'/' + plik);
    QVERIFY2(info.exists() && info.size() > 0, qPrintable(plik));
  }

  // bin/paplanki leads to the program file, which has its help beside it.
  void programWBin()
  {
    const QFileInfo link(m_usr + QStringLiteral("/bin/paplanki"));
    QVERIFY(link.isSymLink());
    QCOMPARE(link.canonicalFilePath(),
             QFileInfo(m_usr + QStringLiteral("/lib/paplanki/paplanki")).canonicalFilePath());
    QVERIFY(link.isExecutable());
  }

  void ikony_data()
  {
    QTest::addColumn<int>("bok");
    for (const int bok : RozmiaryIkony())
      QTest::addRow("%d", bok) << bok;
  }

  // Each theme size is the drawing made at that size.
  void ikony()
  {
    QFETCH(int, bok);
    const QString plik = m_usr + QStringLiteral("/share/icons/hicolor/%1x%1/apps/").arg(bok) +
                         NazwaPulpitowa() + QStringLiteral(".png");
    QImage obraz(plik);
    QVERIFY2(!obraz.isNull(), qPrintable(plik));
    QCOMPARE(obraz.convertToFormat(QImage::Format_ARGB32_Premultiplied), ObrazIkony(bok));
  }

  void walidatory_data()
  {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("argumenty");
    QTest::addColumn<QString>("plik");
    QTest::newRow("desktop-file-validate")
        << QStringLiteral("desktop-file-validate") << QStringList()
        << QStringLiteral("share/applications/pl.kolbiny.Paplanki.desktop");
    QTest::newRow("appstreamcli") << QStringLiteral("appstreamcli")
                                  << QStringList{QStringLiteral("validate"),
                                                 QStringLiteral("--no-net"),
                                                 QStringLiteral("--no-color")}
                                  << QStringLiteral(
                                         "share/metainfo/pl.kolbiny.Paplanki.metainfo.xml");
  }

  void walidatory()
  {
    QFETCH(QString, program);
    QFETCH(QStringList, argumenty);
    QFETCH(QString, plik);
    const TWynik wynik = Uruchom(program, argumenty << m_usr + u'/' + plik);
    QVERIFY2(wynik.kod == 0, qPrintable(wynik.wyjscie));
  }

  // The menu entry starts the installed program under the icon installed beside it, and names
  // the window class Qt gives the program's windows (the program file's name).
  void wpisMenu()
  {
    const QString wpis = m_usr + QStringLiteral("/share/applications/pl.kolbiny.Paplanki.desktop");
    QCOMPARE(Wartosc(wpis, QStringLiteral("GenericName")), QStringLiteral("Komunikator"));
    QCOMPARE(Wartosc(wpis, QStringLiteral("Categories")),
             QStringLiteral("Network;InstantMessaging;Chat;"));
    QVERIFY(
        QFileInfo::exists(m_usr + QStringLiteral("/bin/") + Wartosc(wpis, QStringLiteral("Exec"))));
    QCOMPARE(Wartosc(wpis, QStringLiteral("StartupWMClass")),
             QFileInfo(m_usr + QStringLiteral("/lib/paplanki/paplanki")).fileName());
    QCOMPARE(Wartosc(wpis, QStringLiteral("Icon")), NazwaPulpitowa());
  }

  // The installed program's "-zarejestruj" launcher, with its new lines, passes the validator.
  void skrotNaPulpicie()
  {
    QTemporaryDir dom;
    QProcessEnvironment srodowisko = QProcessEnvironment::systemEnvironment();
    srodowisko.insert(QStringLiteral("HOME"), dom.path());
    srodowisko.insert(QStringLiteral("XDG_CONFIG_HOME"), dom.path() + QStringLiteral("/.config"));
    srodowisko.insert(QStringLiteral("XDG_DATA_HOME"),
                      dom.path() + QStringLiteral("/.local/share"));
    srodowisko.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const TWynik wynik = Uruchom(m_usr + QStringLiteral("/bin/paplanki"),
                                 {QStringLiteral("-zarejestruj")}, srodowisko);
    QVERIFY2(wynik.kod == 0, qPrintable(wynik.wyjscie));
    const QString skrot = dom.path() + QStringLiteral("/Desktop/Paplanki GG.desktop");
    QCOMPARE(Wartosc(skrot, QStringLiteral("Exec")),
             QFileInfo(m_usr + QStringLiteral("/lib/paplanki/paplanki")).canonicalFilePath());
    QCOMPARE(Wartosc(skrot, QStringLiteral("Icon")), NazwaPulpitowa());
    QCOMPARE(Wartosc(skrot, QStringLiteral("Categories")),
             QStringLiteral("Network;InstantMessaging;Chat;"));
    QCOMPARE(Wartosc(skrot, QStringLiteral("StartupWMClass")), QStringLiteral("paplanki"));
    const TWynik walidacja = Uruchom(QStringLiteral("desktop-file-validate"), {skrot});
    QVERIFY2(walidacja.kod == 0, qPrintable(walidacja.wyjscie));
  }
};

PAPLANKI_TEST_MAIN(TestInstalacja)
#include "test_Instalacja.moc"
