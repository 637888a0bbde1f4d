#include "app/Lokalizacje.h"
#include "app/Sciezki.h"
#include "app/SkrotNaPulpicie.h"
#include "app/ui/FormaBezdokumentowaPozycjonowana.h"
#include "app/ui/Przelaczniki.h"
#include "app/ui/StanAplikacji.h"
#include "common/OknaPowloki.h"
#include "common/Srodowisko.h"
#include "common/WitrynaTestowa.h"
#include "contacts/ui/FrmPaplankiDaneUzytkownika.h"
#include "contacts/ui/ProfileFrm.h"
#include "dialogs/ui/FrmStan.h"
#include "dialogs/ui/KatalogFrm.h"
#include "dialogs/ui/MojeDaneFrm.h"
#include "dialogs/ui/WypowiedzFrm.h"
#include "program/FrmPaplankiMain.h"
#include "program/OknaAplikacji.h"

#include <QDirIterator>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

namespace {

QString Program()
{
  return qEnvironmentVariable("PAPLANKI_PROGRAM");
}

QString PlikSkrotu(const QString &dom)
{
  return dom + QStringLiteral("/Desktop/Paplanki GG.desktop");
}

// The GG server lookup of an interactive start goes to this machine instead of the GG network.
void LaczZTymKomputerem(const QString &plikUstawien)
{
  QSettings ustawienia(plikUstawien, QSettings::IniFormat);
  ustawienia.setValue(QStringLiteral("Ustawienia/SerwerAlternatywny"), QStringLiteral("1"));
}

// Every file under `katalog`, relative, except the caches the toolkit keeps for itself.
QStringList Pliki(const QString &katalog)
{
  QStringList wynik;
  QDirIterator it(katalog, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString p = QDir(katalog).relativeFilePath(it.next());
    if (!p.startsWith(QStringLiteral(".cache/")) && !p.startsWith(QStringLiteral("runtime/")))
      wynik << p;
  }
  wynik.sort();
  return wynik;
}

// The program run in a home of its own, with the maker's site on loopback.
class TUruchomienie {
public:
  explicit TUruchomienie(const TWitrynaTestowa &witryna, const QString &program = Program())
      : m_program(program)
  {
    QProcessEnvironment srodowisko = QProcessEnvironment::systemEnvironment();
    const QString dom = m_dom.path();
    srodowisko.insert(QStringLiteral("HOME"), dom);
    srodowisko.insert(QStringLiteral("XDG_CONFIG_HOME"), dom + QStringLiteral("/.config"));
    srodowisko.insert(QStringLiteral("XDG_DATA_HOME"), dom + QStringLiteral("/.local/share"));
    srodowisko.insert(QStringLiteral("XDG_CACHE_HOME"), dom + QStringLiteral("/.cache"));
    srodowisko.insert(QStringLiteral("XDG_RUNTIME_DIR"), dom + QStringLiteral("/runtime"));
    srodowisko.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    srodowisko.insert(QStringLiteral("PAPLANKI_WITRYNA"), witryna.Adres());
    srodowisko.insert(QStringLiteral("PAPLANKI_LICZNIK"), witryna.Adres());
    QDir().mkpath(dom + QStringLiteral("/runtime"));
    QFile::setPermissions(dom + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_proces.setProcessEnvironment(srodowisko);
    m_proces.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  }
  ~TUruchomienie()
  {
    if (m_proces.state() != QProcess::NotRunning) {
      m_proces.kill();
      m_proces.waitForFinished(5000);
    }
  }

  QString Dom() const { return m_dom.path(); }
  QProcess &Proces() { return m_proces; }

  // Runs to the end; the exit code, or -1 when it did not end by itself.
  int Wykonaj(const QStringList &argumenty)
  {
    m_proces.start(m_program, argumenty);
    if (!m_proces.waitForFinished(15000))
      return -1;
    return m_proces.exitStatus() == QProcess::NormalExit ? m_proces.exitCode() : -1;
  }

private:
  QTemporaryDir m_dom;
  QString m_program;
  QProcess m_proces;
};

} // namespace

class TestUruchomienie : public QObject {
  Q_OBJECT

private slots:
  void przelaczniki_data()
  {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<bool>("wynik");
    QTest::addColumn<bool>("skrot");
    QTest::addColumn<bool>("komunikat");
    QTest::newRow("brak") << QString() << false << false << false;
    QTest::newRow("-zarejestruj") << QStringLiteral("-zarejestruj") << true << true << false;
    QTest::newRow("-nainternet") << QStringLiteral("-nainternet") << true << false << true;
    QTest::newRow("wielkie litery") << QStringLiteral("-ZAREJESTRUJ") << false << false << false;
    QTest::newRow("wielka litera") << QStringLiteral("-Nainternet") << false << false << false;
    QTest::newRow("ukośnik") << QStringLiteral("/zarejestruj") << false << false << false;
    QTest::newRow("bez kreski") << QStringLiteral("nainternet") << false << false << false;
    QTest::newRow("spacja na końcu") << QStringLiteral("-zarejestruj ") << false << false << false;
    QTest::newRow("inny") << QStringLiteral("-x") << false << false << false;
  }
  void przelaczniki()
  {
    QFETCH(QString, argument);
    QFETCH(bool, wynik);
    QFETCH(bool, skrot);
    QFETCH(bool, komunikat);
    const TWitrynaTestowa witryna;
    qputenv("PAPLANKI_WITRYNA", witryna.Adres().toUtf8());
    const QString dom = KatalogTestowy();
    QFile::remove(PlikSkrotu(dom));
    const QStringList przed = Pliki(dom);

    auto odczyt = OdpowiedzNaKomunikat(QString(), komunikat ? 5000 : 200);
    QCOMPARE(ObsluzPrzelaczniki(argument), wynik);
    if (!komunikat)
      QTest::qWait(250); // a box shown later would still be caught
    QCOMPARE(odczyt->Pokazany, komunikat);
    if (komunikat) {
      QCOMPARE(odczyt->Tytul, QStringLiteral("Błąd transferu"));
      QCOMPARE(odczyt->Tekst,
               QStringLiteral("Któregoś z plików nie udało się wysłać. Instalacja wstrzymana !"));
      QCOMPARE(odczyt->Ikona, QMessageBox::Critical);
      QCOMPARE(odczyt->Przyciski, QStringList{QStringLiteral("OK")});
    }
    QCOMPARE(QFile::exists(PlikSkrotu(dom)), skrot);
    QStringList po = Pliki(dom);
    po.removeAll(QStringLiteral("Desktop/Paplanki GG.desktop"));
    QCOMPARE(po, przed);
    QCOMPARE(witryna.Polaczenia(), 0);
    qunsetenv("PAPLANKI_WITRYNA");
  }

  void oknaAplikacji()
  {
    TWitrynaTestowa witryna;
    qputenv("PAPLANKI_WITRYNA", witryna.Adres().toUtf8());
    qputenv("PAPLANKI_LICZNIK", witryna.Adres().toUtf8());
    const auto sprzatanie = qScopeGuard([] {
      qunsetenv("PAPLANKI_WITRYNA");
      qunsetenv("PAPLANKI_LICZNIK");
    });
    LaczZTymKomputerem(SciezkaUstawien(QStringLiteral("Paplanki (GG)")));
    {
      TOknaAplikacji okna;
      QCOMPARE(okna.Glowne(), FrmPaplankiMain);
      const QList<QPair<QWidget *, QString>> oczekiwane = {
          {FrmPaplankiMain, QStringLiteral("Paplanki (GG)")},
          {FormaStandardowa, QStringLiteral("Paplanki (GG)")},
          {FormaBezdokumentowa, QStringLiteral("Paplanki (GG)")},
          {FormaBezdokumentowaPozycjonowana, QStringLiteral("Paplanki (GG)")},
          {FrmStan, QStringLiteral("Zmiana stanu")},
          {KatalogFrm, QStringLiteral("Wyszukiwanie w katalogu publicznym")},
          {MojeDaneFrm, QStringLiteral("Kim jestem")},
          {ProfileFrm, QStringLiteral("Profil użytkownika")},
          {WypowiedzFrm, QStringLiteral("Wysyłanie wypowiedzi")},
          {FrmPaplankiDaneUzytkownika, QStringLiteral("Dane użytkownika")},
      };
      for (const auto &[okno, tytul] : oczekiwane) {
        QVERIFY(okno);
        QCOMPARE(okno->windowTitle(), tytul);
        QVERIFY(!okno->isVisible());
      }
      // The hidden frames are the exact base classes, not something derived.
      QCOMPARE(FormaStandardowa->metaObject(), &TFormaStandardowa::staticMetaObject);
      QCOMPARE(FormaBezdokumentowa->metaObject(), &TFormaBezdokumentowa::staticMetaObject);
      QCOMPARE(FormaBezdokumentowaPozycjonowana->metaObject(),
               &TFormaBezdokumentowaPozycjonowana::staticMetaObject);
      // The frame created last holds the hint handler.
      QCOMPARE(StanAplikacji().WlascicielPodpowiedzi(), FormaBezdokumentowaPozycjonowana);

      // Four frames, each checking (version file, then counter page), side by side after
      // creation: every counter page follows a version file of its own.
      const QString wersja = QStringLiteral("/datas/") + PodzielSciezke(SciezkaProgramu()).Litera +
                             u'/' + PodzielSciezke(SciezkaProgramu()).Sciezka +
                             QStringLiteral(".zawartosc.wersja");
      QTRY_COMPARE(witryna.Zadania().size(), 8);
      int wersje = 0;
      int liczniki = 0;
      for (const QString &zadanie : witryna.Zadania()) {
        if (zadanie == wersja)
          ++wersje;
        else if (zadanie == QStringLiteral("/Art123"))
          ++liczniki;
        else
          QFAIL(qPrintable(zadanie));
        QVERIFY(liczniki <= wersje);
      }
      QCOMPARE(wersje, 4);
      QCOMPARE(liczniki, 4);
    }
    for (QWidget *okno :
         {static_cast<QWidget *>(FrmPaplankiMain), static_cast<QWidget *>(FormaStandardowa),
          static_cast<QWidget *>(FrmStan), static_cast<QWidget *>(FrmPaplankiDaneUzytkownika)})
      QVERIFY(okno == nullptr);
  }

  void zarejestrujDwaRazy()
  {
    const TWitrynaTestowa witryna;
    TUruchomienie uruchomienie(witryna);
    for (int raz = 0; raz < 2; ++raz) {
      QCOMPARE(uruchomienie.Wykonaj({QStringLiteral("-zarejestruj")}), 0);
      QCOMPARE(Pliki(uruchomienie.Dom()),
               QStringList{QStringLiteral("Desktop/Paplanki GG.desktop")});
    }
    QFile plik(PlikSkrotu(uruchomienie.Dom()));
    QVERIFY(plik.open(QIODevice::ReadOnly));
    QCOMPARE(plik.readAll(),
             TrescSkrotu(QStringLiteral("Paplanki GG"), QFileInfo(Program()).canonicalFilePath()));
    QVERIFY(plik.permissions().testFlag(QFile::ExeOwner));
    QCOMPARE(witryna.Polaczenia(), 0);
  }

  // Only the first argument counts: what follows the switch is ignored.
  void zarejestrujZDalszymiArgumentami()
  {
    const TWitrynaTestowa witryna;
    TUruchomienie uruchomienie(witryna);
    QCOMPARE(uruchomienie.Wykonaj({QStringLiteral("-zarejestruj"), QStringLiteral("-nainternet"),
                                   QStringLiteral("x")}),
             0);
    QCOMPARE(Pliki(uruchomienie.Dom()), QStringList{QStringLiteral("Desktop/Paplanki GG.desktop")});
    QCOMPARE(witryna.Polaczenia(), 0);
  }

  // A copy of the program in a folder with a space starts from its own place.
  void kopiaProgramuWInnymFolderze()
  {
    const TWitrynaTestowa witryna;
    QTemporaryDir folder;
    const QString kopia = folder.path() + QStringLiteral("/Moje programy/paplanki");
    QVERIFY(QDir().mkpath(QFileInfo(kopia).absolutePath()));
    QVERIFY(QFile::copy(Program(), kopia));
    TUruchomienie uruchomienie(witryna, kopia);
    QCOMPARE(uruchomienie.Wykonaj({QStringLiteral("-zarejestruj")}), 0);
    QFile plik(PlikSkrotu(uruchomienie.Dom()));
    QVERIFY(plik.open(QIODevice::ReadOnly));
    const QByteArray tresc = plik.readAll();
    QVERIFY(tresc.contains("\nExec=\"" + QFileInfo(kopia).canonicalFilePath().toUtf8() + "\"\n"));
    QVERIFY(tresc.contains("\nPath=" + QFileInfo(kopia).canonicalPath().toUtf8() + "/\n"));
  }

  // Anything but an exact switch as the first argument starts the program: it asks the maker's
  // site for the version file and stays running with its windows.
  void startInteraktywny_data()
  {
    QTest::addColumn<QStringList>("argumenty");
    QTest::newRow("bez argumentów") << QStringList();
    QTest::newRow("wielkie litery") << QStringList{QStringLiteral("-ZAREJESTRUJ")};
    QTest::newRow("ukośnik") << QStringList{QStringLiteral("/zarejestruj")};
    QTest::newRow("przełącznik jako drugi")
        << QStringList{QStringLiteral("x"), QStringLiteral("-zarejestruj")};
    QTest::newRow("-nainternet jako drugi")
        << QStringList{QStringLiteral("-"), QStringLiteral("-nainternet")};
  }
  void startInteraktywny()
  {
    QFETCH(QStringList, argumenty);
    const TWitrynaTestowa witryna;
    TUruchomienie uruchomienie(witryna);
    LaczZTymKomputerem(uruchomienie.Dom() + QStringLiteral("/.config/Kolbiny/Paplanki (GG).conf"));
    uruchomienie.Proces().start(Program(), argumenty);
    QVERIFY(uruchomienie.Proces().waitForStarted());
    QVERIFY(witryna.CzekajNaZadania(8, 15000));
    QVERIFY(witryna.Zadania().constFirst().endsWith(QStringLiteral(".zawartosc.wersja")));
    QCOMPARE(uruchomienie.Proces().state(), QProcess::Running);
    QVERIFY(!QFile::exists(PlikSkrotu(uruchomienie.Dom())));
  }
};

PAPLANKI_TEST_MAIN(TestUruchomienie)
#include "test_Uruchomienie.moc"
