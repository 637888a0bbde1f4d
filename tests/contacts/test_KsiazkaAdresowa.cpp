#include "common/Srodowisko.h"
#include "contacts/KsiazkaAdresowa.h"
#include "contacts/Sledzeni.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

// One contact as the store hands it over, in one line for comparing.
QString Kontakt(int numer, const QString &imie, const QString &nazwisko, const QString &email,
                const QString &telefon, const QString &opis, int sledzony = 3)
{
  return QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
      .arg(numer)
      .arg(imie, nazwisko, email, telefon, opis)
      .arg(sledzony);
}

QByteArray Karta(const QByteArray &wnetrze)
{
  return "BEGIN:VCARD\r\nVERSION:3.0\r\n" + wnetrze + "END:VCARD\r\n";
}

} // namespace

class TestKsiazkaAdresowa : public QObject {
  Q_OBJECT

  QTemporaryDir m_katalog;
  int m_licznik = 0;

  QString Zapisz(const QByteArray &tresc)
  {
    const QString sciezka = m_katalog.filePath(QStringLiteral("k%1.vcf").arg(++m_licznik));
    QFile plik(sciezka);
    if (plik.open(QIODevice::WriteOnly))
      plik.write(tresc);
    return sciezka;
  }

  QStringList Wczytaj(const QByteArray &tresc)
  {
    QStringList kontakty;
    TSledzeniOutlook baza(Zapisz(tresc), true,
                          [&](int n, const QString &i, const QString &na, const QString &e,
                              const QString &t, const QString &o,
                              int s) { kontakty << Kontakt(n, i, na, e, t, o, s); });
    return kontakty;
  }

private slots:
  void kontaktyZKsiazki_data()
  {
    QTest::addColumn<QByteArray>("vcf");
    QTest::addColumn<QStringList>("kontakty");

    const QByteArray pelna = "N:Kowalski;Jan;;;\r\nEMAIL:jan@k.pl\r\nTEL;TYPE=HOME:22 111\r\n"
                             "X-GG-OPIS:Janek\r\n";
    const QString jan123 =
        Kontakt(123, QStringLiteral("Jan"), QStringLiteral("Kowalski"), QStringLiteral("jan@k.pl"),
                QStringLiteral("22 111"), QStringLiteral("Janek"));
    const QString jan456 =
        Kontakt(456, QStringLiteral("Jan"), QStringLiteral("Kowalski"), QStringLiteral("jan@k.pl"),
                QStringLiteral("22 111"), QStringLiteral("Janek"));
    QTest::newRow("dwa numery ze średnikami")
        << Karta(pelna + "X-GG-NUMERY:123;456;\r\n") << QStringList{jan123, jan456};
    QTest::newRow("ostatni bez średnika kończy element")
        << Karta(pelna + "X-GG-NUMERY:123;456\r\n") << QStringList{jan123};
    QTest::newRow("kawałek nie-liczba kończy element, następny element czytany")
        << Karta(pelna + "X-GG-NUMERY:123;abc;456;\r\n") + Karta("X-GG-NUMERY:9;\r\n")
        << QStringList{jan123, Kontakt(9, {}, {}, {}, {}, {})};
    QTest::newRow("pusty kawałek")
        << Karta(pelna + "X-GG-NUMERY:123;;456;\r\n") << QStringList{jan123};
    QTest::newRow("średniki escapowane jak w tekście vCard")
        << Karta(pelna + "X-GG-NUMERY:123\\;456\\;\r\n") << QStringList{jan123, jan456};
    QTest::newRow("bez GG-Numery") << Karta(pelna) << QStringList();
    QTest::newRow("pusta GG-Numery") << Karta(pelna + "X-GG-NUMERY:\r\n") << QStringList();
    QTest::newRow("grupa (KIND)") << Karta("KIND:group\r\nX-GG-NUMERY:5;\r\nMEMBER:urn:uuid:1\r\n")
                                  << QStringList();
    QTest::newRow("grupa (znacznik vCard 3)")
        << Karta("X-ADDRESSBOOKSERVER-KIND:group\r\nX-GG-NUMERY:5;\r\n") << QStringList();
    QTest::newRow("KIND:individual jest kontaktem")
        << Karta("KIND:individual\r\nX-GG-NUMERY:5;\r\n")
        << QStringList{Kontakt(5, {}, {}, {}, {}, {})};
    QTest::newRow("kolejność pliku")
        << Karta("X-GG-NUMERY:30;\r\n") + Karta("X-GG-NUMERY:10;20;\r\n")
        << QStringList{Kontakt(30, {}, {}, {}, {}, {}), Kontakt(10, {}, {}, {}, {}, {}),
                       Kontakt(20, {}, {}, {}, {}, {})};

    // Folding, escaping and UTF-8.
    QTest::newRow("zawijanie, znaki ucieczki, UTF-8")
        << Karta("N:Brzęczy\r\n szczykiewicz;Grzegorz\\, \r\n\tjr;;;\r\n"
                 "X-GG-OPIS:Ala\\; ma\\, kota\\nI psa\\\\ C:\\dom\r\n"
                 "X-GG-NUMERY:1\r\n 2;\r\n")
        << QStringList{Kontakt(12, QStringLiteral("Grzegorz, jr"),
                               QStringLiteral("Brzęczyszczykiewicz"), {}, {},
                               QStringLiteral("Ala; ma, kota\nI psa\\ C:\\dom"))};
    QTest::newRow("BOM, same LF, małe litery nazw")
        << "\xEF\xBB\xBF" +
               Karta("n:Nowak;Ewa\nx-gg-numery:7;\nx-gg-opis:Ewa N.\n").replace("\r\n", "\n")
        << QStringList{Kontakt(7, QStringLiteral("Ewa"), QStringLiteral("Nowak"), {}, {},
                               QStringLiteral("Ewa N."))};
    QTest::newRow("vCard 2.1: quoted-printable z miękkim łamaniem i CHARSET")
        << QByteArray(
               "BEGIN:VCARD\r\nVERSION:2.1\r\n"
               "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C5=BBak;=C5=81ucja\r\n"
               "X-GG-OPIS;ENCODING=QUOTED-PRINTABLE;CHARSET=windows-1250:Za=BF=F3=B3=E6 =\r\n"
               "g=EA=9Cl=B9\r\n"
               "TEL;HOME;VOICE:500\r\n"
               "X-GG-NUMERY:8;\r\nEND:VCARD\r\n")
        << QStringList{Kontakt(8, QStringLiteral("Łucja"), QStringLiteral("Żak"), {},
                               QStringLiteral("500"), QStringLiteral("Zażółć gęślą"))};

    // Only the name and parameters before the first ":" outside quotes say quoted-printable.
    QTest::newRow("quoted-printable: dwukropek w cudzysłowie parametru")
        << Karta("X-GG-OPIS;X-A=\"a:b\";ENCODING=QUOTED-PRINTABLE:p=\r\nq=\r\n=41\r\n"
                 "X-GG-NUMERY:6;\r\n")
        << QStringList{Kontakt(6, {}, {}, {}, {}, QStringLiteral("pqA"))};
    QTest::newRow("znacznik w wartości nie czyni jej quoted-printable")
        << Karta("X-GG-OPIS:QUOTED-PRINTABLE=\r\nX-GG-NUMERY:5;\r\n")
        << QStringList{Kontakt(5, {}, {}, {}, {}, QStringLiteral("QUOTED-PRINTABLE="))};
    QTest::newRow("znacznik w zawiniętych parametrach")
        << Karta("X-GG-OPIS;ENCODING=QUOTED-\r\n PRINTABLE:a=\r\nb\r\nX-GG-NUMERY:5;\r\n")
        << QStringList{Kontakt(5, {}, {}, {}, {}, QStringLiteral("ab"))};
    {
      // 80,000 soft breaks in one value: its parse costs no more than the bytes it has.
      QByteArray opis = "X-GG-OPIS;ENCODING=QUOTED-PRINTABLE:";
      for (int i = 0; i < 80000; ++i)
        opis += "=41=\r\n";
      QTest::newRow("80 000 miękkich łamań")
          << Karta(opis + "\r\nX-GG-NUMERY:3;\r\n")
          << QStringList{Kontakt(3, {}, {}, {}, {}, QString(80000, u'A'))};
    }

    // Which TEL and EMAIL count.
    QTest::newRow("pierwszy TEL domowy, pierwszy EMAIL")
        << Karta("item1.EMAIL;type=INTERNET:pierwszy@x\r\nEMAIL;TYPE=HOME:drugi@x\r\n"
                 "TEL;TYPE=CELL:1\r\nTEL;TYPE=\"voice,home\":2\r\nTEL;TYPE=HOME:3\r\n"
                 "X-GG-NUMERY:4;\r\n")
        << QStringList{Kontakt(4, {}, {}, QStringLiteral("pierwszy@x"), QStringLiteral("2"), {})};
    QTest::newRow("TEL jako adres tel: (vCard 4)")
        << Karta("TEL;VALUE=uri;TYPE=home:tel:+48-22-1\r\nX-GG-NUMERY:4;\r\n")
        << QStringList{Kontakt(4, {}, {}, {}, QStringLiteral("+48-22-1"), {})};

    // Each item in its own guard: broken cards are skipped, the rest reads.
    QTest::newRow("wiersz bez dwukropka psuje tylko swoją kartę")
        << Karta("X-GG-NUMERY:1;\r\n") + Karta("X-GG-NUMERY:2;\r\nśmieci bez dwukropka\r\n") +
               Karta("X-GG-NUMERY:3;\r\n")
        << QStringList{Kontakt(1, {}, {}, {}, {}, {}), Kontakt(3, {}, {}, {}, {}, {})};
    QTest::newRow("karta bez END na końcu pliku")
        << Karta("X-GG-NUMERY:1;\r\n") + "BEGIN:VCARD\r\nX-GG-NUMERY:2;\r\n"
        << QStringList{Kontakt(1, {}, {}, {}, {}, {})};
    QTest::newRow("karta zagnieżdżona (AGENT) nie należy do elementu")
        << Karta("X-GG-NUMERY:1;\r\nAGENT:\r\nBEGIN:VCARD\r\nX-GG-NUMERY:99;\r\n"
                 "X-GG-OPIS:agent\r\nEND:VCARD\r\nX-GG-OPIS:szef\r\n")
        << QStringList{Kontakt(1, {}, {}, {}, {}, QStringLiteral("szef"))};
    QTest::newRow("tekst poza kartami i pusty plik")
        << QByteArray("nic tu nie ma\r\n") << QStringList();
  }
  void kontaktyZKsiazki()
  {
    QFETCH(QByteArray, vcf);
    QFETCH(QStringList, kontakty);
    QCOMPARE(Wczytaj(vcf), kontakty);
  }

  void bladWywolaniaZwrotnegoPomijaElement()
  {
    // A failure while handing over one number skips the rest of that card only.
    QStringList numery;
    TSledzeniOutlook baza(Zapisz(Karta("X-GG-NUMERY:1;2;\r\n") + Karta("X-GG-NUMERY:3;\r\n")), true,
                          [&](int n, const QString &, const QString &, const QString &,
                              const QString &, const QString &, int) {
                            numery << QString::number(n);
                            if (n == 1)
                              throw EBlad(QStringLiteral("x"));
                          });
    QCOMPARE(numery, (QStringList{QStringLiteral("1"), QStringLiteral("3")}));
  }

  void niedostepnaKsiazka_data()
  {
    QTest::addColumn<QString>("sciezka");
    QTest::newRow("brak pliku") << m_katalog.filePath(QStringLiteral("nie-ma.vcf"));
    QTest::newRow("katalog") << m_katalog.path();
  }
  void niedostepnaKsiazka()
  {
    QFETCH(QString, sciezka);
    int wywolania = 0;
    const auto dodaj = [&](int, const QString &, const QString &, const QString &, const QString &,
                           const QString &, int) { ++wywolania; };
    QVERIFY_THROWS_EXCEPTION(EKsiazkaAdresowa, TSledzeniOutlook(sciezka, true, dodaj));
    // Without loading the address book is never opened.
    TSledzeniOutlook bezWczytania(sciezka, false, dodaj);
    bezWczytania.Dodaj(1, {}, {}, {}, {}, {});
    QCOMPARE(wywolania, 0);
  }

  void odkodowanieTekstu_data()
  {
    QTest::addColumn<QString>("wejscie");
    QTest::addColumn<QString>("wynik");
    QTest::newRow("znaki ucieczki") << "a\\;b\\,c\\\\d\\ne\\Nf"
                                    << "a;b,c\\d\ne\nf";
    QTest::newRow("obcy backslash zostaje") << "C:\\dom\\x"
                                            << "C:\\dom\\x";
    QTest::newRow("backslash na końcu") << "abc\\"
                                        << "abc\\";
  }
  void odkodowanieTekstu()
  {
    QFETCH(QString, wejscie);
    QFETCH(QString, wynik);
    QCOMPARE(OdkodujTekstVCard(wejscie), wynik);
  }
};

PAPLANKI_TEST_MAIN(TestKsiazkaAdresowa)
#include "test_KsiazkaAdresowa.moc"
