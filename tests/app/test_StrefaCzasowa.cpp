#include "app/StrefaCzasowa.h"
#include "common/Srodowisko.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QString Warszawa = QStringLiteral("/usr/share/zoneinfo/Europe/Warsaw");
// 2024-07-01 12:00 UTC: summer time in Warsaw (+2 h), none in UTC.
constexpr qint64 Lato = 1719835200;

} // namespace

class TestStrefaCzasowa : public QObject {
  Q_OBJECT

  QByteArray m_tz;
  bool m_tzUstawione = false;

private slots:
  void init()
  {
    m_tzUstawione = qEnvironmentVariableIsSet("TZ");
    m_tz = qgetenv("TZ");
  }
  void cleanup()
  {
    if (m_tzUstawione)
      qputenv("TZ", m_tz);
    else
      qunsetenv("TZ");
  }

  // The zone named the way the program names it is the zone local times are converted in; a
  // TZ the user set wins, and without the file nothing is named.
  void strefa_data()
  {
    QTest::addColumn<QByteArray>("tz"); // null: unset
    QTest::addColumn<bool>("plik");
    QTest::addColumn<bool>("ustalona");
    QTest::addColumn<int>("przesuniecie");
    QTest::newRow("TZ nieustawione") << QByteArray() << true << true << 7200;
    QTest::newRow("TZ użytkownika") << QByteArray("UTC") << true << false << 0;
    QTest::newRow("TZ puste to UTC") << QByteArray("") << true << false << 0;
    QTest::newRow("brak pliku strefy") << QByteArray() << false << false << -1;
  }
  void strefa()
  {
    QFETCH(QByteArray, tz);
    QFETCH(bool, plik);
    QFETCH(bool, ustalona);
    QFETCH(int, przesuniecie);
    if (!QFile::exists(Warszawa))
      QSKIP("no zone data installed");
    // A copy in a folder with a space: the name reaches the C library whole.
    QTemporaryDir katalog;
    const QString kopia = katalog.filePath(QStringLiteral("strefa systemu"));
    if (plik)
      QVERIFY(QFile::copy(Warszawa, kopia));
    if (tz.isNull())
      qunsetenv("TZ");
    else
      qputenv("TZ", tz);

    QCOMPARE(UstalStrefeCzasowa(kopia), ustalona);
    QCOMPARE(qgetenv("TZ"), ustalona ? QFile::encodeName(u':' + kopia) : tz);
    QCOMPARE(qEnvironmentVariableIsSet("TZ"), !tz.isNull() || ustalona);
    if (przesuniecie >= 0)
      QCOMPARE(QDateTime::fromSecsSinceEpoch(Lato).offsetFromUtc(), przesuniecie);
  }
};

PAPLANKI_TEST_MAIN(TestStrefaCzasowa)
#include "test_StrefaCzasowa.moc"
