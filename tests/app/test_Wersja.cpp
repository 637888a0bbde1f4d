#include "app/BlokWersji.h"
#include "app/Wersja.h"
#include "common/Srodowisko.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

QString Zapisz(const QTemporaryDir &katalog, const QString &nazwa, const QByteArray &dane)
{
  const QString sciezka = katalog.filePath(nazwa);
  QFile plik(sciezka);
  if (!plik.open(QIODevice::WriteOnly) || plik.write(dane) != dane.size())
    qFatal("cannot write %s", qPrintable(sciezka));
  return sciezka;
}

QString Program()
{
  return qEnvironmentVariable("PAPLANKI_PROGRAM");
}

} // namespace

class TestWersja : public QObject {
  Q_OBJECT
  QTemporaryDir m_katalog;

private slots:
  void blokProgramuZnalezionyWPliku_data()
  {
    QTest::addColumn<QString>("sciezka");
    QTest::newRow("build/paplanki") << Program();
    QTest::newRow("ten program testowy") << QCoreApplication::applicationFilePath();
  }
  void blokProgramuZnalezionyWPliku()
  {
    QFETCH(QString, sciezka);
    QVERIFY(QFileInfo::exists(sciezka));
    QByteArray blok;
    QString nazwa, adres, prawa;
    quint64 wersja = 1;
    QVERIFY(CzytajWersje(sciezka, blok, nazwa, adres, prawa, wersja));
    QCOMPARE(nazwa, QStringLiteral("Paplanki (GG)"));
    QCOMPARE(wersja, (quint64(5) << 48) | 67);
    QVERIFY(adres.startsWith(QStringLiteral("http://")));
    QVERIFY(!prawa.isEmpty());
    QVERIFY(blok.startsWith(SygnaturaBlokuWersji()));
    QCOMPARE(WersjaPliku(sciezka), (TNumerWersji{5 << 16, 67}));
    QCOMPARE(WartoscWersji(blok, u"\\VarFileInfo\\Translation"), QStringLiteral("04E20415"));

    ZwolnijWersje(blok);
    QVERIFY(blok.isEmpty());
  }

  // The block must be there once: a second, different copy (from code that builds blocks, or a
  // left-over of the compiler) could be found first and give a wrong version.
  void programNiesieJedenBlok()
  {
    QFile plik(Program());
    QVERIFY(plik.open(QIODevice::ReadOnly));
    QCOMPARE(plik.readAll().count(SygnaturaBlokuWersji()), 1);
  }

  void plikBezBlokuNieMaWersji_data()
  {
    QTest::addColumn<QByteArray>("dane");
    const QByteArray sygnatura = SygnaturaBlokuWersji();
    QTest::newRow("pusty") << QByteArray();
    QTest::newRow("zwykły tekst") << QByteArray("nic tu nie ma\n");
    QTest::newRow("sama sygnatura") << sygnatura;
    QTest::newRow("urwany po ścieżce")
        << sygnatura + QByteArray("\\FixedFileInfo\\FileVersion\0", 27);
    QTest::newRow("bez znacznika końca") << sygnatura +
                                                QByteArray("\\FixedFileInfo\\FileVersion\0"
                                                           "5.0.0.1\0\0",
                                                           36) +
                                                "xxxxxxxxxxxxxxxxxx";
  }
  void plikBezBlokuNieMaWersji()
  {
    QFETCH(QByteArray, dane);
    const QString sciezka = Zapisz(m_katalog, QStringLiteral("bez.bin"), dane);
    QByteArray blok("x");
    QString nazwa = QStringLiteral("x"), adres = QStringLiteral("x"), prawa = QStringLiteral("x");
    quint64 wersja = 7;
    QVERIFY(!CzytajWersje(sciezka, blok, nazwa, adres, prawa, wersja));
    QVERIFY(blok.isEmpty());
    QVERIFY(nazwa.isEmpty() && adres.isEmpty() && prawa.isEmpty());
    QCOMPARE(wersja, quint64(0));
    QCOMPARE(WersjaPliku(sciezka), TNumerWersji());
    QVERIFY(!CzytajWersje(m_katalog.filePath(QStringLiteral("brak")), blok, nazwa, adres, prawa,
                          wersja));
  }

  // The strings come from the sub-block of the first translation entry, whatever else is there.
  void napisyZPierwszegoTlumaczenia_data()
  {
    QTest::addColumn<QString>("tlumaczenia");
    QTest::addColumn<QString>("nazwa");
    QTest::addColumn<QString>("adres");
    QTest::newRow("polski 0415/04E2")
        << QStringLiteral("04E20415 04B00409") << QStringLiteral("Polska") << QString();
    QTest::newRow("angielski pierwszy")
        << QStringLiteral("04B00409 04E20415") << QStringLiteral("English")
        << QStringLiteral("http://en/");
    QTest::newRow("tłumaczenie bez napisów")
        << QStringLiteral("04E40405") << QString() << QString();
  }
  void napisyZPierwszegoTlumaczenia()
  {
    QFETCH(QString, tlumaczenia);
    QFETCH(QString, nazwa);
    QFETCH(QString, adres);
    // A block with its fixed part and a tail: found in the middle of other bytes.
    const QByteArray blokZapisany = ZbudujBlokWersji({
        {QStringLiteral("\\FixedFileInfo\\FileVersion"), QStringLiteral("1.2.3.4")},
        {QStringLiteral("\\FixedFileInfo\\ProductVersion"), QStringLiteral("9.8.7.65535")},
        {QStringLiteral("\\VarFileInfo\\Translation"), tlumaczenia},
        {QStringLiteral("\\StringFileInfo\\041504E2\\ProductName"), QStringLiteral("Polska")},
        {QStringLiteral("\\StringFileInfo\\040904B0\\ProductName"), QStringLiteral("English")},
        {QStringLiteral("\\StringFileInfo\\040904B0\\ProductUrl"), QStringLiteral("http://en/")},
    });
    const QString sciezka = Zapisz(m_katalog, QStringLiteral("z.bin"),
                                   QByteArray(1000, 'a') + blokZapisany + QByteArray(50, '\0'));
    QByteArray blok;
    QString n, a, p;
    quint64 w = 0;
    QVERIFY(CzytajWersje(sciezka, blok, n, a, p, w));
    QCOMPARE(blok, blokZapisany);
    QCOMPARE(n, nazwa);
    QCOMPARE(a, adres);
    QVERIFY(p.isEmpty());
    QCOMPARE(w, (quint64(9) << 48) | (quint64(8) << 32) | (quint64(7) << 16) | 65535);
    // The file version is a different number than the product version.
    QCOMPARE(WersjaPliku(sciezka), (TNumerWersji{(1 << 16) | 2, (3 << 16) | 4}));
  }

  // A false start (signature followed by garbage) does not hide a real block after it.
  void falszywyPoczatekPominiety()
  {
    const QByteArray prawdziwy = ZbudujBlokWersji(
        {{QStringLiteral("\\FixedFileInfo\\FileVersion"), QStringLiteral("2.0.0.1")}});
    const QByteArray dane = SygnaturaBlokuWersji() + QByteArray(70000, 'x') + prawdziwy;
    QCOMPARE(ZnajdzBlokWersji(dane), prawdziwy);
    QCOMPARE(WersjaPliku(Zapisz(m_katalog, QStringLiteral("f.bin"), dane)),
             (TNumerWersji{2 << 16, 1}));
  }

  void plikWersji_data()
  {
    QTest::addColumn<QByteArray>("dane");
    QTest::addColumn<quint32>("starszy");
    QTest::addColumn<quint32>("mlodszy");
    QTest::newRow("5.0.0.68") << QByteArray::fromHex("0000050044000000") << quint32(5 << 16)
                              << quint32(68);
    QTest::newRow("więcej bajtów") << QByteArray::fromHex("0100020003000400ffff")
                                   << quint32(0x00020001) << quint32(0x00040003);
    QTest::newRow("5 bajtów") << QByteArray::fromHex("78563412ff") << quint32(0x12345678)
                              << quint32(0xff);
    QTest::newRow("3 bajty") << QByteArray::fromHex("010203") << quint32(0x030201) << quint32(0);
    QTest::newRow("pusty") << QByteArray() << quint32(0) << quint32(0);
    QTest::newRow("największe") << QByteArray::fromHex("ffffffffffffffff") << quint32(0xffffffff)
                                << quint32(0xffffffff);
  }
  void plikWersji()
  {
    QFETCH(QByteArray, dane);
    QFETCH(quint32, starszy);
    QFETCH(quint32, mlodszy);
    QCOMPARE(CzytajPlikWersji(Zapisz(m_katalog, QStringLiteral("p.wersja"), dane)),
             (TNumerWersji{starszy, mlodszy}));
  }
  void plikWersjiNieDoOtwarcia()
  {
    QCOMPARE(CzytajPlikWersji(m_katalog.filePath(QStringLiteral("nie-ma.wersja"))), TNumerWersji());
    QCOMPARE(CzytajPlikWersji(m_katalog.path()), TNumerWersji());
  }

  void porownanie_data()
  {
    QTest::addColumn<quint32>("a1");
    QTest::addColumn<quint32>("a2");
    QTest::addColumn<quint32>("b1");
    QTest::addColumn<quint32>("b2");
    QTest::addColumn<int>("wynik");
    QTest::newRow("równe") << 5u << 67u << 5u << 67u << 0;
    QTest::newRow("starszy wygrywa") << 6u << 0u << 5u << 99u << 1;
    QTest::newRow("starszy mniejszy") << 5u << 99u << 6u << 0u << -1;
    QTest::newRow("młodszy") << 5u << 68u << 5u << 67u << 1;
    QTest::newRow("młodszy mniejszy") << 5u << 66u << 5u << 67u << -1;
    QTest::newRow("bez znaku") << 0x80000000u << 0u << 1u << 0u << 1;
    QTest::newRow("bez znaku, młodszy") << 1u << 0xffffffffu << 1u << 0u << 1;
  }
  void porownanie()
  {
    QFETCH(quint32, a1);
    QFETCH(quint32, a2);
    QFETCH(quint32, b1);
    QFETCH(quint32, b2);
    QFETCH(int, wynik);
    QCOMPARE(PorownajWersje(a1, a2, b1, b2), wynik);
  }

  void liniaWersji_data()
  {
    QTest::addColumn<QString>("nazwa");
    QTest::addColumn<quint64>("wersja");
    QTest::addColumn<QString>("linia");
    QTest::newRow("5.0.0.67") << QStringLiteral("Paplanki (GG)") << ((quint64(5) << 48) | 67)
                              << QStringLiteral("Paplanki (GG) wersja 5.00.00.67");
    QTest::newRow("wszystkie części") << QStringLiteral("Zażółć") << 0x0001000200030004ull
                                      << QStringLiteral("Zażółć wersja 1.02.03.04");
    QTest::newRow("trzy cyfry") << QStringLiteral("X") << 0x000c006400650066ull
                                << QStringLiteral("X wersja 12.100.101.102");
    QTest::newRow("zero") << QString() << quint64(0) << QStringLiteral(" wersja 0.00.00.00");
  }
  void liniaWersji()
  {
    QFETCH(QString, nazwa);
    QFETCH(quint64, wersja);
    QFETCH(QString, linia);
    QCOMPARE(LiniaWersji(nazwa, wersja), linia);
  }

  void rozbiorWersji_data()
  {
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<quint32>("starszy");
    QTest::addColumn<quint32>("mlodszy");
    QTest::newRow("zwykła") << QStringLiteral("5.0.0.67") << quint32(5 << 16) << quint32(67);
    QTest::newRow("trzy części") << QStringLiteral("5.0.67") << 0u << 0u;
    QTest::newRow("za duża część") << QStringLiteral("5.0.0.65536") << 0u << 0u;
    QTest::newRow("litery") << QStringLiteral("5.a.0.1") << 0u << 0u;
  }
  void rozbiorWersji()
  {
    QFETCH(QString, tekst);
    QFETCH(quint32, starszy);
    QFETCH(quint32, mlodszy);
    QCOMPARE(RozbierzWersje(tekst), (TNumerWersji{starszy, mlodszy}));
  }
};

PAPLANKI_TEST_MAIN(TestWersja)
#include "test_Wersja.moc"
