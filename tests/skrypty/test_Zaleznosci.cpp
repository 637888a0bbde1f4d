// The include check of scripts/zaleznosci, run as a real process over a copy of src/ into which
// one include line is planted.

#include "common/Srodowisko.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

const QString Zrodla = QStringLiteral(PAPLANKI_ZRODLA);

struct TWynik {
  int kod = -1;
  QString wyjscie;
};

TWynik Sprawdz(const QString &katalog)
{
  QProcess proces;
  proces.setProcessChannelMode(QProcess::MergedChannels);
  proces.start(Zrodla + QStringLiteral("/scripts/zaleznosci"), {katalog});
  if (!proces.waitForFinished(60000))
    return {};
  return {proces.exitStatus() == QProcess::NormalExit ? proces.exitCode() : -1,
          QString::fromUtf8(proces.readAll())};
}

bool Kopiuj(const QString &z, const QString &do_)
{
  QDirIterator it(z, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString plik = it.next();
    const QString cel = do_ + QLatin1Char('/') + QDir(z).relativeFilePath(plik);
    if (!QDir().mkpath(QFileInfo(cel).path()) || !QFile::copy(plik, cel))
      return false;
  }
  return true;
}

bool Dopisz(const QString &plik, const QByteArray &linia)
{
  QFile f(plik);
  if (!f.open(QIODevice::Append))
    return false;
  return f.write("\n" + linia + "\n") > 0;
}

} // namespace

class TestZaleznosci : public QObject {
  Q_OBJECT
private slots:
  void initTestCase()
  {
    QVERIFY(QFileInfo(Zrodla + QStringLiteral("/scripts/zaleznosci")).isExecutable());
  }

  void prawdziweDrzewo()
  {
    const TWynik w = Sprawdz(Zrodla + QStringLiteral("/src"));
    QVERIFY2(w.kod == 0, qPrintable(w.wyjscie));
    QVERIFY(w.wyjscie.isEmpty());
  }

  void podrzucone_data()
  {
    QTest::addColumn<QString>("plik");
    QTest::addColumn<QByteArray>("linia");
    QTest::addColumn<bool>("blad");
    QTest::addColumn<QString>("wskazane"); // what the report must name (empty: nothing)

    // A lower folder reaching up closes a circle with the includes that already run down.
    QTest::newRow("net do gg") << QStringLiteral("net/Gniazdo.cpp")
                               << QByteArray("#include \"gg/Sesja.h\"") << true
                               << QStringLiteral("net/Gniazdo.cpp");
    QTest::newRow("contacts do gg")
        << QStringLiteral("contacts/Drzewo.h") << QByteArray("#include \"gg/Pakiety.h\"") << true
        << QStringLiteral("contacts/Drzewo.h");
    QTest::newRow("app do programu") << QStringLiteral("app/ui/Aplikacja.cpp")
                                     << QByteArray("#include \"program/FrmPaplankiMain.h\"") << true
                                     << QStringLiteral("app/ui/Aplikacja.cpp");
    // Two steps: archiwum already uses gg, so gg reaching archiwum is a circle of two folders.
    QTest::newRow("gg do archiwum")
        << QStringLiteral("gg/Odbior.cpp") << QByteArray("#include \"archiwum/Archiwum.h\"") << true
        << QStringLiteral("gg/Odbior.cpp");
    // Three folders: pulpit uses contacts, which uses app; app reaching pulpit closes it.
    QTest::newRow("app do pulpitu")
        << QStringLiteral("app/Sciezki.cpp") << QByteArray("#include \"pulpit/IkonaProgramu.h\"")
        << true << QStringLiteral("app/Sciezki.cpp");
    QTest::newRow("spacje w dyrektywie")
        << QStringLiteral("net/KlientHttp.cpp") << QByteArray("  #  include \"contacts/Drzewo.h\"")
        << true << QStringLiteral("net/KlientHttp.cpp");
    // Core code never includes a window header, not even its own folder's.
    QTest::newRow("rdzen do ui tego samego folderu")
        << QStringLiteral("contacts/Drzewo.cpp") << QByteArray("#include \"contacts/ui/Obrazki.h\"")
        << true << QStringLiteral("contacts/Drzewo.cpp");
    QTest::newRow("rdzen do ui innego folderu")
        << QStringLiteral("gg/Sesja.cpp") << QByteArray("#include \"app/ui/Aplikacja.h\"") << true
        << QStringLiteral("gg/Sesja.cpp");
    // Downward includes and the ones that are not real include lines stay allowed.
    QTest::newRow("w dol") << QStringLiteral("pulpit/ui/Zasobnik.cpp")
                           << QByteArray("#include \"net/Gniazdo.h\"") << false << QString();
    QTest::newRow("okno do okna nizej")
        << QStringLiteral("dialogs/ui/FrmStan.cpp") << QByteArray("#include \"app/ui/Aplikacja.h\"")
        << false << QString();
    QTest::newRow("komentarz") << QStringLiteral("net/Gniazdo.cpp")
                               << QByteArray("// #include \"gg/Sesja.h\"") << false << QString();
    QTest::newRow("naglowek systemowy")
        << QStringLiteral("net/Gniazdo.cpp") << QByteArray("#include <gg/Sesja.h>") << false
        << QString();
    QTest::newRow("nieznany folder")
        << QStringLiteral("net/Gniazdo.cpp") << QByteArray("#include \"generowane/Plik.h\"")
        << false << QString();
  }

  void podrzucone()
  {
    QFETCH(QString, plik);
    QFETCH(QByteArray, linia);
    QFETCH(bool, blad);
    QFETCH(QString, wskazane);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString kopia = tmp.path() + QStringLiteral("/src");
    QVERIFY(Kopiuj(Zrodla + QStringLiteral("/src"), kopia));
    QVERIFY(QFile::exists(kopia + QLatin1Char('/') + plik));
    QVERIFY(Dopisz(kopia + QLatin1Char('/') + plik, linia));

    const TWynik w = Sprawdz(kopia);
    QVERIFY2(w.kod == (blad ? 1 : 0), qPrintable(w.wyjscie));
    if (!blad) {
      QVERIFY(w.wyjscie.isEmpty());
      return;
    }
    // The planted line is named with its file, and the report says what kind of fault it is.
    QVERIFY2(w.wyjscie.contains(wskazane + QLatin1Char(':')), qPrintable(w.wyjscie));
    const QString sciezka = QString::fromUtf8(linia).section(QLatin1Char('"'), 1, 1);
    QVERIFY2(w.wyjscie.contains(QStringLiteral("#include \"%1\"").arg(sciezka)),
             qPrintable(w.wyjscie));
    QVERIFY(w.wyjscie.contains(QStringLiteral("Kółko między folderami")) ||
            w.wyjscie.contains(QStringLiteral("Plik bez okien")));
  }

  void kolkoWypisaneRaz()
  {
    // One planted edge closing one circle of two folders: the circle is printed once, with both
    // directions' include lines.
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString kopia = tmp.path() + QStringLiteral("/src");
    QVERIFY(Kopiuj(Zrodla + QStringLiteral("/src"), kopia));
    QVERIFY(Dopisz(kopia + QStringLiteral("/net/Gniazdo.h"), "#include \"app/Teksty.h\""));
    const TWynik w = Sprawdz(kopia);
    QCOMPARE(w.kod, 1);
    QCOMPARE(w.wyjscie.count(QStringLiteral("Kółko między folderami: app -> net -> app")) +
                 w.wyjscie.count(QStringLiteral("Kółko między folderami: net -> app -> net")),
             1);
    QVERIFY(w.wyjscie.contains(QStringLiteral("net/Gniazdo.h:")));
    QVERIFY(w.wyjscie.contains(QStringLiteral("#include \"net/")));
  }

  void brakFolderu()
  {
    const TWynik w = Sprawdz(QStringLiteral("/nie/ma/takiego/folderu"));
    QCOMPARE(w.kod, 2);
  }
};

PAPLANKI_TEST_MAIN(TestZaleznosci)
#include "test_Zaleznosci.moc"
