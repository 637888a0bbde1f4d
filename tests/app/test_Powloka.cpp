#include "app/ui/Aplikacja.h"
#include "app/ui/Powloka.h"
#include "app/ui/StanAplikacji.h"
#include "common/OknaPowloki.h"
#include "common/Srodowisko.h"
#include "net/Blad.h"

#include <QDesktopServices>
#include <QUrl>

#include <stdexcept>

// Takes the addresses the desktop is asked to open.
class TOdbiorcaAdresow : public QObject {
  Q_OBJECT
public:
  QList<QUrl> Adresy;
  Q_INVOKABLE void Otworz(const QUrl &adres) { Adresy << adres; }
};

class TestPowloka : public QObject {
  Q_OBJECT
  TOdbiorcaAdresow m_odbiorca;

  void Przejmij(const char *schemat)
  {
    QDesktopServices::setUrlHandler(QLatin1String(schemat), &m_odbiorca, "Otworz");
  }

private slots:
  void cleanup()
  {
    for (const char *s : {"mailto", "http", "tel"})
      QDesktopServices::unsetUrlHandler(QLatin1String(s));
    m_odbiorca.Adresy.clear();
  }

  void komunikat_data()
  {
    using namespace Komunikat;
    QTest::addColumn<int>("styl");
    QTest::addColumn<QString>("nacisniety");
    QTest::addColumn<int>("wynik");
    QTest::addColumn<int>("ikona");
    QTest::addColumn<QStringList>("przyciski");
    QTest::addColumn<QString>("domyslny");
    QTest::newRow("OK") << PrzyciskOk << QString() << WynikOk << int(QMessageBox::NoIcon)
                        << QStringList{QStringLiteral("OK")} << QStringLiteral("OK");
    QTest::newRow("OK, błąd") << (PrzyciskOk | IkonaBledu) << QString() << WynikOk
                              << int(QMessageBox::Critical) << QStringList{QStringLiteral("OK")}
                              << QStringLiteral("OK");
    QTest::newRow("tak/nie: tak") << (PrzyciskiTakNie | IkonaPytania) << QStringLiteral("&Tak")
                                  << WynikTak << int(QMessageBox::Question)
                                  << QStringList{QStringLiteral("&Tak"), QStringLiteral("&Nie")}
                                  << QStringLiteral("&Tak");
    QTest::newRow("tak/nie, drugi domyślny")
        << (PrzyciskiTakNie | IkonaOstrzezenia | DrugiPrzyciskDomyslny) << QString() << WynikNie
        << int(QMessageBox::Warning) << QStringList{QStringLiteral("&Tak"), QStringLiteral("&Nie")}
        << QStringLiteral("&Nie");
    QTest::newRow("tak/nie/anuluj: anuluj")
        << (PrzyciskiTakNieAnuluj | IkonaInformacji) << QStringLiteral("Anuluj") << WynikAnuluj
        << int(QMessageBox::Information)
        << QStringList{QStringLiteral("&Tak"), QStringLiteral("&Nie"), QStringLiteral("Anuluj")}
        << QStringLiteral("&Tak");
    QTest::newRow("trzeci domyślny")
        << (PrzyciskiTakNieAnuluj | TrzeciPrzyciskDomyslny) << QString() << WynikAnuluj
        << int(QMessageBox::NoIcon)
        << QStringList{QStringLiteral("&Tak"), QStringLiteral("&Nie"), QStringLiteral("Anuluj")}
        << QStringLiteral("Anuluj");
    QTest::newRow("OK/anuluj: OK")
        << PrzyciskiOkAnuluj << QStringLiteral("OK") << WynikOk << int(QMessageBox::NoIcon)
        << QStringList{QStringLiteral("OK"), QStringLiteral("Anuluj")} << QStringLiteral("OK");
    QTest::newRow("przerwij/ponów/ignoruj")
        << PrzyciskiPrzerwijPonowIgnoruj << QStringLiteral("&Ignoruj") << WynikIgnoruj
        << int(QMessageBox::NoIcon)
        << QStringList{QStringLiteral("&Przerwij"), QStringLiteral("&Ponów próbę"),
                       QStringLiteral("&Ignoruj")}
        << QStringLiteral("&Przerwij");
    QTest::newRow("ponów/anuluj") << PrzyciskiPonowAnuluj << QStringLiteral("&Ponów próbę")
                                  << WynikPonow << int(QMessageBox::NoIcon)
                                  << QStringList{QStringLiteral("&Ponów próbę"),
                                                 QStringLiteral("Anuluj")}
                                  << QStringLiteral("&Ponów próbę");
  }
  void komunikat()
  {
    QFETCH(int, styl);
    QFETCH(QString, nacisniety);
    QFETCH(int, wynik);
    QFETCH(int, ikona);
    QFETCH(QStringList, przyciski);
    QFETCH(QString, domyslny);
    auto odczyt = OdpowiedzNaKomunikat(nacisniety);
    // The text is shown as it is, markup included.
    const QString tekst = QStringLiteral("Czy <b>na pewno</b>?");
    QCOMPARE(PokazKomunikatProgramu(nullptr, QStringLiteral("Paplanki (GG)"), tekst, styl,
                                    QStringLiteral("Zapytanie")),
             wynik);
    QVERIFY(odczyt->Pokazany);
    QCOMPARE(odczyt->Tytul, QStringLiteral("Paplanki (GG) - Zapytanie"));
    QCOMPARE(odczyt->Tekst, tekst);
    QCOMPARE(int(odczyt->Ikona), ikona);
    QStringList pokazane = odczyt->Przyciski;
    pokazane.sort();
    przyciski.sort();
    QCOMPARE(pokazane, przyciski);
    QCOMPARE(odczyt->Domyslny, domyslny);
  }

  void komunikatZeZnakamiPowrotuKaretki()
  {
    // "\r" alone and CR LF both break the line on screen.
    auto odczyt = OdpowiedzNaKomunikat(QStringLiteral("&Tak"));
    PokazKomunikatProgramu(
        nullptr, QStringLiteral("Paplanki (GG)"),
        QStringLiteral("Są jeszcze nieprzeczytane wiadomości.\rMimo to zamknąć ?\r\nKoniec"),
        Komunikat::PrzyciskiTakNie, QStringLiteral("Ostrzeżenie"));
    QVERIFY(odczyt->Pokazany);
    QCOMPARE(odczyt->Tekst,
             QStringLiteral("Są jeszcze nieprzeczytane wiadomości.\nMimo to zamknąć ?\nKoniec"));
  }
  void oProgramie()
  {
    auto odczyt = OdpowiedzNaKomunikat();
    PokazOProgramie(nullptr, QStringLiteral("Paplanki (GG)"), QStringLiteral("Copyright © Kolbiny"),
                    (quint64(5) << 48) | 67);
    QVERIFY(odczyt->Pokazany);
    QCOMPARE(odczyt->Tytul, QStringLiteral("O programie Paplanki (GG)..."));
    QCOMPARE(odczyt->Tekst, QStringLiteral("Paplanki (GG) wersja 5.00.00.67\nCopyright © Kolbiny"));
  }

  void poczta()
  {
    Przejmij("mailto");
    WyslijPoczteDoAutora(nullptr, QStringLiteral("Paplanki (GG)"));
    QCOMPARE(m_odbiorca.Adresy.size(), 1);
    QCOMPARE(
        m_odbiorca.Adresy[0].toString(QUrl::FullyEncoded),
        QStringLiteral("mailto:paplanki@kolbiny.example?subject=Zapytanie%20o%20Paplanki%20(GG)"));
  }

  void stronaITelefon()
  {
    Przejmij("http");
    Przejmij("tel");
    qputenv("PAPLANKI_WITRYNA", "http://127.0.0.1:9/");
    OtworzStroneAutora(nullptr, QStringLiteral("Paplanki (GG)"));
    qunsetenv("PAPLANKI_WITRYNA");
    OtworzAdres(nullptr, QStringLiteral("Paplanki (GG)"),
                QStringLiteral("http://www.kolbiny.example/x"));
    QCOMPARE(ZadzwonDoAutora(QStringLiteral("Kolbiny"), QStringLiteral("Paplanki (GG)")), 0);
    QCOMPARE(m_odbiorca.Adresy, (QList<QUrl>{QUrl(QStringLiteral("http://127.0.0.1:9/")),
                                             QUrl(QStringLiteral("http://www.kolbiny.example/x")),
                                             QUrl(QStringLiteral("tel:+48225550167"))}));
  }

  // Nothing on the offscreen desktop opens addresses: each launch fails.
  void nieudaneUruchomienie_data()
  {
    QTest::addColumn<int>("polecenie");
    QTest::addColumn<QString>("tekst");
    QTest::newRow("poczta")
        << 0
        << QStringLiteral(
               "Błąd podczas uruchamiania poczty. Możliwe, że brak odpowiedniego programu.");
    QTest::newRow("strona")
        << 1
        << QStringLiteral(
               "Błąd podczas uruchamiania przeglądarki. Możliwe, że brak odpowiedniego programu.");
    QTest::newRow("adres")
        << 2
        << QStringLiteral(
               "Błąd podczas uruchamiania przeglądarki. Możliwe, że brak odpowiedniego programu.");
  }
  void nieudaneUruchomienie()
  {
    QFETCH(int, polecenie);
    QFETCH(QString, tekst);
    auto odczyt = OdpowiedzNaKomunikat();
    const QString nazwa = QStringLiteral("Paplanki (GG)");
    if (polecenie == 0)
      WyslijPoczteDoAutora(nullptr, nazwa);
    else if (polecenie == 1)
      OtworzStroneAutora(nullptr, nazwa);
    else
      OtworzAdres(nullptr, nazwa, QStringLiteral("http://www.kolbiny.example/"));
    QVERIFY(odczyt->Pokazany);
    QCOMPARE(odczyt->Tytul, QStringLiteral("Paplanki (GG) - Błąd"));
    QCOMPARE(odczyt->Tekst, tekst);
    QCOMPARE(odczyt->Przyciski, QStringList{QStringLiteral("OK")});
  }
  void telefonBezObslugi()
  {
    QVERIFY(ZadzwonDoAutora(QStringLiteral("Kolbiny"), QStringLiteral("Paplanki (GG)")) != 0);
  }

  void wyjatekKonczyPolecenie_data()
  {
    QTest::addColumn<int>("rodzaj");
    QTest::addColumn<QString>("tekst");
    QTest::newRow("EBlad") << 0 << QStringLiteral("Zły numer GG");
    QTest::newRow("EConvertError") << 1 << QStringLiteral("„x” nie jest liczbą");
    QTest::newRow("std::exception") << 2 << QStringLiteral("zepsute");
  }
  void wyjatekKonczyPolecenie()
  {
    QFETCH(int, rodzaj);
    QFETCH(QString, tekst);
    StanAplikacji().UstawTytul(QStringLiteral("Paplanki (GG)"));
    auto odczyt = OdpowiedzNaKomunikat();
    bool poWyjatku = false;
    const bool udane = WykonajZObslugaBledow([&] {
      if (rodzaj == 0)
        throw EBlad(tekst);
      if (rodzaj == 1)
        StrToInt(QStringLiteral("x"));
      else
        throw std::runtime_error("zepsute");
      poWyjatku = true;
    });
    QVERIFY(!udane);
    QVERIFY(!poWyjatku);
    QVERIFY(odczyt->Pokazany);
    QCOMPARE(odczyt->Tytul, QStringLiteral("Paplanki (GG) - Błąd"));
    QCOMPARE(odczyt->Tekst, tekst);
    QCOMPARE(odczyt->Ikona, QMessageBox::Critical);
    QVERIFY(WykonajZObslugaBledow([] {}));
  }
};

PAPLANKI_TEST_MAIN(TestPowloka)
#include "test_Powloka.moc"
