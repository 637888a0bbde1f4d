#include "common/Srodowisko.h"
#include "gg/Liczby.h"
#include "gg/Pakiety.h"
#include "gg/StronyKodowe.h"

namespace {
QByteArray Hex(const char *hex)
{
  return QByteArray::fromHex(hex);
}
} // namespace

class TestKodek : public QObject {
  Q_OBJECT
private slots:
  void liczbyLittleEndian_data()
  {
    QTest::addColumn<qint32>("wartosc");
    QTest::addColumn<QByteArray>("bajty");
    QTest::newRow("0x12345678") << qint32(0x12345678) << Hex("78563412");
    QTest::newRow("-1") << qint32(-1) << Hex("ffffffff");
    QTest::newRow("zero") << qint32(0) << Hex("00000000");
    QTest::newRow("najmniejsza") << qint32(INT32_MIN) << Hex("00000080");
    QTest::newRow("bajt z najwyższym bitem") << qint32(0x80) << Hex("80000000");
  }
  void liczbyLittleEndian()
  {
    QFETCH(qint32, wartosc);
    QFETCH(QByteArray, bajty);
    QCOMPARE(IntToLE(wartosc), bajty);
    QCOMPARE(LEToInt(bajty), wartosc);
  }

  void leToIntNieCzytaPozaDanymi_data()
  {
    QTest::addColumn<QByteArray>("dane");
    QTest::addColumn<qsizetype>("przesuniecie");
    QTest::addColumn<quint32>("wynik");
    QTest::newRow("pusto") << QByteArray() << qsizetype(0) << 0u;
    QTest::newRow("trzy bajty") << Hex("010203") << qsizetype(0) << 0x030201u;
    QTest::newRow("dłuższe: pierwsze cztery") << Hex("0102030405") << qsizetype(0) << 0x04030201u;
    QTest::newRow("przesunięcie") << Hex("aabbccddeeff0011") << qsizetype(4) << 0x1100ffeeu;
    QTest::newRow("przesunięcie przy końcu") << Hex("aabbccddee") << qsizetype(3) << 0xeeddu;
    QTest::newRow("przesunięcie za końcem") << Hex("aabbccdd") << qsizetype(4) << 0u;
    QTest::newRow("ujemne przesunięcie") << Hex("aabbccdd") << qsizetype(-1) << 0u;
  }
  void leToIntNieCzytaPozaDanymi()
  {
    QFETCH(QByteArray, dane);
    QFETCH(qsizetype, przesuniecie);
    QFETCH(quint32, wynik);
    // A view over the exact bytes of a larger block: a reader going past it would see 0x5A.
    QByteArray blok = dane + QByteArray(8, '\x5A');
    const QByteArrayView widok(blok.constData(), dane.size());
    QCOMPARE(quint32(LEToInt(widok, przesuniecie)), wynik);
    if (przesuniecie == 0)
      QCOMPARE(quint32(LEToInt(widok)), wynik);
  }

  void loginHash_data()
  {
    // Expected values worked out separately, step by step from the algorithm.
    QTest::addColumn<quint32>("ziarno");
    QTest::addColumn<QByteArray>("haslo");
    QTest::addColumn<quint32>("wynik");
    QTest::newRow("puste hasło to ziarno") << 0xDEADBEEFu << QByteArray() << 0xDEADBEEFu;
    QTest::newRow("jeden bajt") << 0x12345678u << QByteArray("a") << 0xE9C34CDDu;
    QTest::newRow("obrót o zero") << 16u << QByteArray("x") << 0x878878E0u;
    QTest::newRow("pięć bajtów, obrót o zero w środku")
        << 0x12345678u << QByteArray("haslo") << 0xAEC83D6Bu;
    QTest::newRow("bajt zerowy") << 0u << Hex("00") << 0u;
    QTest::newRow("bajty 0xFF") << 0xFFFFFFFFu << Hex("ffff") << 0xC100FF3Fu;
    QTest::newRow("ab: x przechodzi dalej") << 1u << QByteArray("ab") << 0xF6E5321Eu;
    QTest::newRow("ba") << 1u << QByteArray("ba") << 0xC19A9359u;
    QTest::newRow("polskie litery w 1250")
        << 0xDEADBEEFu << AnsiToCp1250(QStringLiteral("zażółć")) << 0xE23D386Fu;
  }
  void loginHash()
  {
    QFETCH(quint32, ziarno);
    QFETCH(QByteArray, haslo);
    QFETCH(quint32, wynik);
    QCOMPARE(LoginHash(ziarno, haslo), wynik);
  }

  void polskieLitery1250_data()
  {
    QTest::addColumn<QString>("litera");
    QTest::addColumn<int>("bajt");
    const QString male = QStringLiteral("ąćęłńóśźż");
    const QString duze = QStringLiteral("ĄĆĘŁŃÓŚŹŻ");
    const int bajtyMale[] = {0xB9, 0xE6, 0xEA, 0xB3, 0xF1, 0xF3, 0x9C, 0x9F, 0xBF};
    const int bajtyDuze[] = {0xA5, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3, 0x8C, 0x8F, 0xAF};
    for (int i = 0; i < 9; ++i) {
      QTest::newRow(qPrintable(male.mid(i, 1))) << male.mid(i, 1) << bajtyMale[i];
      QTest::newRow(qPrintable(duze.mid(i, 1))) << duze.mid(i, 1) << bajtyDuze[i];
    }
  }
  void polskieLitery1250()
  {
    QFETCH(QString, litera);
    QFETCH(int, bajt);
    const QByteArray zakodowana = AnsiToCp1250(litera);
    QCOMPARE(zakodowana, QByteArray(1, char(bajt)));
    QCOMPARE(Cp1250ToAnsi(zakodowana), litera);
    QVERIFY(MiesciSieW1250(litera));
    // The same letter through the generic conversion, in both directions with UTF-8.
    QCOMPARE(ConvertCodePage(zakodowana, 1250, 65001), litera.toUtf8());
    QCOMPARE(ConvertCodePage(litera.toUtf8(), 65001, 1250), zakodowana);
  }

  void konwersjeNieGubiaDanych()
  {
    // Embedded NUL bytes are part of the text, not its end.
    const QByteArray zNul = Hex("61009c62");
    QCOMPARE(Cp1250ToAnsi(zNul), QStringView(u"a\0śb", 4).toString());
    QCOMPARE(ConvertCodePage(zNul, 1250, 65001), QByteArray("a\0\xC5\x9B"
                                                            "b",
                                                            5));
    QCOMPARE(AnsiToCp1250(QStringView(u"a\0ś", 3).toString()), Hex("61009c"));
    // The system conversion keeps a leading byte-order mark and marks broken UTF-8.
    QCOMPARE(Utf8ToAnsi(Hex("efbbbf78ff79")), QStringView(u"\uFEFFx\uFFFDy").toString());
    QCOMPARE(AnsiToUtf8(QStringLiteral("żółw")), QByteArray("\xC5\xBC\xC3\xB3\xC5\x82w"));
    // Bytes with no character in 1250 still come through, one character each.
    QCOMPARE(Cp1250ToAnsi(Hex("8198")).size(), 2);
    QCOMPARE(ConvertCodePage(QByteArray("abc"), 99999, 65001), QByteArray());
  }

  void znakiSpoza1250_data()
  {
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<QByteArray>("bajty");
    QTest::addColumn<bool>("miesciSie");
    QTest::newRow("euro jest w 1250") << QStringLiteral("€") << Hex("80") << true;
    QTest::newRow("litera bazowa") << QStringLiteral("à") << QByteArray("a") << false;
    QTest::newRow("chiński znak") << QStringLiteral("x中y") << QByteArray("x?y") << false;
    QTest::newRow("poza BMP: jeden znak zapytania")
        << QStringLiteral("a😀b") << QByteArray("a?b") << false;
    QTest::newRow("SUB podany wprost zostaje") << QString(QChar(0x1A)) << Hex("1a") << true;
    QTest::newRow("pytajnik podany wprost") << QStringLiteral("?") << QByteArray("?") << true;
  }
  void znakiSpoza1250()
  {
    QFETCH(QString, tekst);
    QFETCH(QByteArray, bajty);
    QFETCH(bool, miesciSie);
    QCOMPARE(AnsiToCp1250(tekst), bajty);
    QCOMPARE(MiesciSieW1250(tekst), miesciSie);
  }

  void tekstWiadomosci_data()
  {
    QTest::addColumn<QByteArray>("bajty");
    QTest::addColumn<QString>("tekst");
    QTest::addColumn<bool>("znacznik");
    QTest::newRow("bez znacznika: cały w 1250")
        << Hex("7a61bff3b3e6") << QStringLiteral("zażółć") << false;
    QTest::newRow("przed znacznikiem 1250, po nim UTF-8")
        << Hex("b9") + Hex("efbbbf") + QByteArray("\xC4\x85") << QStringLiteral("ąą") << true;
    QTest::newRow("sam znacznik") << Hex("efbbbf") << QString() << true;
    QTest::newRow("znacznik na końcu") << Hex("b3efbbbf") << QStringLiteral("ł") << true;
    QTest::newRow("drugi znacznik należy do części UTF-8")
        << Hex("efbbbf41efbbbf") << QStringView(u"A\uFEFF").toString() << true;
    QTest::newRow("niepełny znacznik to tekst 1250")
        << Hex("efbb41") << QStringLiteral("ď»A") << false;
  }
  void tekstWiadomosci()
  {
    QFETCH(QByteArray, bajty);
    QFETCH(QString, tekst);
    QFETCH(bool, znacznik);
    bool byl = !znacznik;
    QCOMPARE(DekodujTekstWiadomosci(bajty, &byl), tekst);
    QCOMPARE(byl, znacznik);
    QCOMPARE(DekodujTekstWiadomosci(bajty), tekst);
  }

  void escapeControls_data()
  {
    QTest::addColumn<QByteArray>("bajty");
    QTest::addColumn<QString>("tekst");
    QTest::newRow("przykład") << Hex("41000d0a42") << QStringLiteral("A{00}{0D}{0A}B");
    QTest::newRow("granice") << Hex("1f207f") << QStringLiteral("{1F} \x7F");
    QTest::newRow("wielkie litery w szesnastkowym") << Hex("1a1b") << QStringLiteral("{1A}{1B}");
    QTest::newRow("bajty powyżej 127 jako 1250") << Hex("b9e6") << QStringLiteral("ąć");
    QTest::newRow("klamry zostają") << QByteArray("{0A}") << QStringLiteral("{0A}");
    QTest::newRow("pusto") << QByteArray() << QString();
  }
  void escapeControls()
  {
    QFETCH(QByteArray, bajty);
    QFETCH(QString, tekst);
    QCOMPARE(EscapeControls(bajty), tekst);
    QCOMPARE(EscapeControls(QByteArrayView(bajty)), tekst);
    // The text form (descriptions already converted from 1250) gives the same.
    QCOMPARE(EscapeControls(Cp1250ToAnsi(bajty)), tekst);
  }
  void escapeControlsTekstuZostawiaUnicode()
  {
    const QString tekst = QStringView(u"ż\tЖ\u00A0😀\x1f", 7).toString();
    QCOMPARE(EscapeControls(tekst), QStringView(u"ż{09}Ж\u00A0😀{1F}").toString());
  }

  void nazwyPakietow_data()
  {
    QTest::addColumn<qint32>("typ");
    QTest::addColumn<bool>("odebrany");
    QTest::addColumn<QString>("nazwa");
    QTest::newRow("odebrana wiadomość") << GGAnsRecvMsg << true << QStringLiteral("GGAnsRecvMsg");
    QTest::newRow("0x0B odebrany") << 0x0B << true << QStringLiteral("GGAnsDisconnecting");
    QTest::newRow("0x0B wysłany") << 0x0B << false << QStringLiteral("GGReqSendMsg");
    QTest::newRow("0x27") << 0x27 << true << QStringLiteral("GGAnsXmlEvent");
    QTest::newRow("0x15 wysłany") << 0x15 << false << QStringLiteral("GGReqLogin60");
    QTest::newRow("0x16 wysłany") << 0x16 << false << QStringLiteral("GGReqUserList");
    QTest::newRow("0x0D odebrany bez nazwy") << 0x0D << true << QStringLiteral("0x0D");
    QTest::newRow("0x27 wysłany nieznany") << 0x27 << false << QStringLiteral("0x27");
    QTest::newRow("duży typ") << qint32(0x80000001) << true << QStringLiteral("0x80000001");
  }
  void nazwyPakietow()
  {
    QFETCH(qint32, typ);
    QFETCH(bool, odebrany);
    QFETCH(QString, nazwa);
    QCOMPARE(NazwaPakietu(typ, odebrany ? TKierunekPakietu::Odebrany : TKierunekPakietu::Wyslany),
             nazwa);
  }

  void ramka()
  {
    QCOMPARE(ZbudujRamke(GGReqPing, {}), Hex("0800000000000000"));
    QCOMPARE(ZbudujRamke(GGReqUserList, QByteArray("\x02", 1)), Hex("16000000010000000"
                                                                    "2"));
    const QByteArray cialo(300, '\0');
    const QByteArray r = ZbudujRamke(GGReqNotifyLast, cialo);
    QCOMPARE(r.size(), 308);
    QCOMPARE(r.first(8), Hex("100000002c010000"));
    QCOMPARE(r.sliced(8), cialo);
  }
};

PAPLANKI_TEST_MAIN(TestKodek)
#include "test_Kodek.moc"
