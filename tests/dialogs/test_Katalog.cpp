#include "common/KontaktyTestowe.h"
#include "common/OdbiorTestowy.h"
#include "common/Srodowisko.h"
#include "gg/Katalog.h"
#include "gg/Liczby.h"
#include "gg/Pakiety.h"
#include "net/Blad.h"

#include <QList>

#include <mutex>

namespace {

QByteArray Para(const QByteArray &klucz, const QByteArray &wartosc)
{
  return klucz + '\0' + wartosc + '\0';
}

QByteArray Odpowiedz(char rodzaj, const QByteArray &pary)
{
  return QByteArray(1, rodzaj) + IntToLE(0x11223344) + pary;
}

QStringList Numery(const TWynikiKatalogu &w)
{
  QStringList wynik;
  for (int i = 0; i < w.Liczba(); ++i)
    wynik << w.Numer(i);
  return wynik;
}

QStringList Wiersz(const TWynikiKatalogu &w, int i)
{
  QStringList wynik{w.Numer(i)};
  for (int p = 0; p < TWynikiKatalogu::LiczbaPol; ++p)
    wynik << w.Pole(i, p);
  return wynik;
}

// The pairs of a request body as "key=value" texts.
QStringList Pary(QByteArrayView cialo)
{
  const QList<QByteArray> czesci = cialo.sliced(5).toByteArray().split('\0');
  QStringList wynik;
  for (int i = 0; i + 1 < czesci.size(); i += 2)
    wynik << QString::fromLatin1(czesci[i] + '=' + czesci[i + 1]);
  return wynik;
}

} // namespace

Q_DECLARE_METATYPE(TKryteriaSzukania)

class TestKatalog : public QObject {
  Q_OBJECT
private slots:
  void zapytanieSzukania_data()
  {
    QTest::addColumn<TKryteriaSzukania>("kryteria");
    QTest::addColumn<QByteArray>("pary");
    QTest::newRow("nic") << TKryteriaSzukania{} << QByteArray();
    TKryteriaSzukania wszystko;
    wszystko.NastepnyStart = QStringLiteral("20");
    wszystko.Numer = QStringLiteral("123");
    wszystko.Imie = QStringLiteral(" Jan ");
    wszystko.Nazwisko = QStringLiteral("Nowak");
    wszystko.Pseudonim = QStringLiteral("jn");
    wszystko.Miejscowosc = QStringLiteral("Łódź");
    wszystko.Urodzony = QStringLiteral("1980");
    wszystko.Plec = PlecSzukania::Mezczyzna;
    wszystko.TylkoAktywni = true;
    QTest::newRow("wszystko, w ustalonej kolejności")
        << wszystko
        << Para("fmstart", "20") + Para("FmNumber", "123") + Para("firstname", " Jan ") +
               Para("lastname", "Nowak") + Para("nickname", "jn") +
               Para("city", "\xA3\xF3"
                            "d\x9F") +
               Para("birthyear", "1980") + Para("gender", "2") + Para("ActiveOnly", "1");
    TKryteriaSzukania kobieta;
    kobieta.Plec = PlecSzukania::Kobieta;
    QTest::newRow("kobieta") << kobieta << Para("gender", "1");
    TKryteriaSzukania aktywni;
    aktywni.TylkoAktywni = true;
    aktywni.Miejscowosc = QStringLiteral("Ełk");
    QTest::newRow("tylko aktywni") << aktywni << Para("city", "E\xB3k") + Para("ActiveOnly", "1");
  }

  void zapytanieSzukania()
  {
    QFETCH(TKryteriaSzukania, kryteria);
    QFETCH(QByteArray, pary);
    const QByteArray cialo = ZapytanieSzukania(kryteria, 0x01020304);
    QCOMPARE(cialo.toHex(), (QByteArray("\x03\x04\x03\x02\x01", 5) + pary).toHex());
  }

  void zapytaniaWlasnegoWpisu()
  {
    QCOMPARE(ZapytanieOdczytu(1234, 5).toHex(),
             (QByteArray("\x02\x05\x00\x00\x00", 5) + Para("FmNumber", "1234")).toHex());

    TDanePubliczne d;
    d.Imie = QStringLiteral("Żaneta");
    d.Miejscowosc = QStringLiteral("Gdańsk");
    d.Plec = PozycjePlciKonta().indexOf(QStringLiteral("Kobieta"));
    QCOMPARE(ZapytanieZapisu(d, 1234, true, 6).toHex(),
             (QByteArray("\x01\x06\x00\x00\x00", 5) + Para("FmNumber", "1234") +
              Para("firstname", "\xAF"
                                "aneta") +
              Para("city", "Gda\xF1sk") + Para("gender", "2"))
                 .toHex());
    d.Plec = PlecKonta::NiePodaje;
    QCOMPARE(ZapytanieZapisu(d, 1234, false, 6).sliced(5).toHex(), (Para("firstname", "\xAF"
                                                                                      "aneta") +
                                                                    Para("city", "Gda\xF1sk"))
                                                                       .toHex());
    // The same word means another number in the search dialog.
    TKryteriaSzukania k;
    k.Plec = PozycjePlciSzukania().indexOf(QStringLiteral("Kobieta"));
    QCOMPARE(Pary(ZapytanieSzukania(k, 1)), QStringList{QStringLiteral("gender=1")});
    QCOMPARE(PozycjePlciKonta(),
             (QStringList{QStringLiteral("Nie podaję"), QStringLiteral("Mężczyzna"),
                          QStringLiteral("Kobieta")}));
    QCOMPARE(PozycjePlciSzukania(),
             (QStringList{QStringLiteral("Dowolna"), QStringLiteral("Kobieta"),
                          QStringLiteral("Mężczyzna")}));
  }

  void odpowiedzWynikow()
  {
    TKatalog k;
    int szukaj = 0;
    QObject::connect(&k, &TKatalog::Szukaj, [&] { ++szukaj; });
    // An earlier page left 100 in the list.
    k.ObsluzOdpowiedz(Odpowiedz(0x05, Para("FmNumber", "100") + Para("firstname", "Ala")));
    QCOMPARE(Numery(k.Wyniki()), QStringList{QStringLiteral("100")});

    k.UstawSzukanie(true);
    k.NastepnyStart = QStringLiteral("stare");
    const QByteArray pary =
        // Fields before the number begin the item, which then gets its caption.
        Para("city", "\xA3\xF3"
                     "d\x9F") +
        Para("gender", "2") + Para("FmNumber", "300") + QByteArray(1, '\0') +
        // A duplicate arriving after other fields removes the item begun for it.
        Para("firstname", "Ktoś") + Para("FmNumber", "100") + Para("lastname", "sierota") +
        QByteArray(1, '\0') + Para("FmNumber", "400") + Para("nieznany", "x") +
        Para("birthyear", "1990");
    k.ObsluzOdpowiedz(Odpowiedz(0x05, pary));
    QVERIFY(!k.Szukanie());
    QVERIFY(k.NastepnyStart.isEmpty());
    // The field after the duplicate's number has no item: it begins one of its own.
    QCOMPARE(Numery(k.Wyniki()), (QStringList{QStringLiteral("100"), QStringLiteral("300"),
                                              QStringLiteral(""), QStringLiteral("400")}));
    QCOMPARE(Wiersz(k.Wyniki(), 1),
             (QStringList{QStringLiteral("300"), QStringLiteral(""), QStringLiteral(""),
                          QStringLiteral(""), QStringLiteral("Łódź"), QStringLiteral("2"),
                          QStringLiteral("")}));
    QCOMPARE(Wiersz(k.Wyniki(), 2),
             (QStringList{QStringLiteral(""), QStringLiteral(""), QStringLiteral("sierota"),
                          QStringLiteral(""), QStringLiteral(""), QStringLiteral(""),
                          QStringLiteral("")}));
    QCOMPARE(Wiersz(k.Wyniki(), 3),
             (QStringList{QStringLiteral("400"), QStringLiteral(""), QStringLiteral(""),
                          QStringLiteral(""), QStringLiteral(""), QStringLiteral(""),
                          QStringLiteral("1990")}));
    QCOMPARE(szukaj, 0); // no "nextstart"
  }

  void stronicowanie_data()
  {
    QTest::addColumn<QByteArray>("pary");
    QTest::addColumn<bool>("dalej");
    QTest::addColumn<QString>("nastepnyStart");
    const QByteArray nowe = Para("FmNumber", "1") + QByteArray(1, '\0') + Para("FmNumber", "2");
    QTest::newRow("20") << nowe + Para("nextstart", "20") << true << "20";
    QTest::newRow("0") << nowe + Para("nextstart", "0") << false << "0";
    QTest::newRow("brak") << nowe << false << "";
    QTest::newRow("pusta wartość") << nowe + Para("nextstart", "") << false << "";
    QTest::newRow("ostatni numer już jest")
        << nowe + QByteArray(1, '\0') + Para("FmNumber", "9") + Para("nextstart", "20") << false
        << "20";
    QTest::newRow("powtórzony wcześniej, potem nowy")
        << Para("FmNumber", "9") + QByteArray(1, '\0') + nowe + Para("nextstart", "20") << true
        << "20";
    QTest::newRow("ucięta para") << nowe + Para("nextstart", "20") + QByteArray("firstname\0Al", 12)
                                 << true << "20";
    QTest::newRow("ucięty klucz") << nowe + QByteArray("nextst") << false << "";
  }

  void stronicowanie()
  {
    QFETCH(QByteArray, pary);
    QFETCH(bool, dalej);
    QFETCH(QString, nastepnyStart);
    TKatalog k;
    k.ObsluzOdpowiedz(Odpowiedz(0x05, Para("FmNumber", "9")));
    int szukaj = 0;
    QObject::connect(&k, &TKatalog::Szukaj, [&] { ++szukaj; });
    k.ObsluzOdpowiedz(Odpowiedz(0x05, pary));
    QCOMPARE(szukaj, dalej ? 1 : 0);
    QCOMPARE(k.NastepnyStart, nastepnyStart);
  }

  void stronicowaniePrzezSerwer()
  {
    // The directory on loopback: each request is read and answered; the second must ask for
    // the page "20" with the criteria unchanged.
    std::mutex zamek;
    QList<QByteArray> zapytania;
    auto serwer = [&](TPolaczenieTestowe &p) {
      const QList<QByteArray> strony = {Para("FmNumber", "11") + Para("firstname", "Ala") +
                                            QByteArray(1, '\0') + Para("FmNumber", "12") +
                                            Para("nextstart", "20"),
                                        Para("FmNumber", "13") + Para("nextstart", "0")};
      for (const QByteArray &strona : strony) {
        const QByteArray naglowek = p.Czytaj(8);
        if (naglowek.size() < 8)
          return;
        const QByteArray cialo = p.Czytaj(LEToInt(naglowek, 4));
        {
          const std::lock_guard<std::mutex> blokada(zamek);
          zapytania << naglowek.left(4) + cialo;
        }
        p.Pisz(ZbudujRamke(GGAnsPubDirReply, Odpowiedz(0x05, strona)));
      }
      p.CzekajNaZamkniecie(10000);
    };
    TStanowiskoOdbioru s;
    TKatalog k;
    s.Odbior.UstawKatalog(&k);
    TPolaczenieGG polaczenie(serwer, [&](qint32 typ, qint32 dlugosc, const QByteArray &cialo) {
      s.Odbior.Obsluz(typ, dlugosc, cialo);
    });
    TKryteriaSzukania kryteria;
    kryteria.Imie = QStringLiteral("Ala");
    kryteria.Plec = PlecSzukania::Kobieta;
    QObject::connect(&k, &TKatalog::Szukaj, [&] {
      kryteria.NastepnyStart = k.NastepnyStart;
      TNadawcaGniazda nadawca(polaczenie.Gniazdo());
      WyslijSzukanie(nadawca, kryteria);
    });
    QVERIFY(QTest::qWaitFor([&] { return polaczenie.Polaczone(); }, 5000));
    k.Wyszukaj();
    QVERIFY(k.Szukanie());
    QVERIFY(polaczenie.CzekajNaPakiety(2));
    QTest::qWait(100); // nothing more may be asked
    QCOMPARE(Numery(k.Wyniki()),
             (QStringList{QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("13")}));
    QVERIFY(!k.Szukanie());
    const std::lock_guard<std::mutex> blokada(zamek);
    QCOMPARE(zapytania.size(), 2);
    for (const QByteArray &z : zapytania) {
      QCOMPARE(LEToInt(z), GGReqPubDir);
      QCOMPARE(z[4], '\x03');
      QVERIFY(LEToInt(z, 5) >= 0);
    }
    QCOMPARE(Pary(QByteArrayView(zapytania[0]).sliced(4)),
             (QStringList{QStringLiteral("firstname=Ala"), QStringLiteral("gender=1")}));
    QCOMPARE(Pary(QByteArrayView(zapytania[1]).sliced(4)),
             (QStringList{QStringLiteral("fmstart=20"), QStringLiteral("firstname=Ala"),
                          QStringLiteral("gender=1")}));
  }

  void wlasnyWpis()
  {
    TKatalog k;
    int powiadomienia = 0;
    QObject::connect(&k, &TKatalog::DanePubliczneOdebrane, [&] { ++powiadomienia; });
    k.UstawSzukanie(true);
    k.ObsluzOdpowiedz(Odpowiedz(0x02, Para("FmNumber", "5") +
                                          Para("firstname", "\xAF"
                                                            "aneta") +
                                          Para("gender", "2") + Para("nextstart", "20") +
                                          Para("city", "Gda\xF1sk")));
    QVERIFY(!k.Szukanie());
    QCOMPARE(k.Wyniki().Liczba(), 0);
    QVERIFY(k.NastepnyStart.isEmpty());
    QCOMPARE(k.DanePubliczne().Imie, QStringLiteral("Żaneta"));
    QCOMPARE(k.DanePubliczne().Miejscowosc, QStringLiteral("Gdańsk"));
    QCOMPARE(PozycjePlciKonta()[k.DanePubliczne().Plec], QStringLiteral("Kobieta"));
    QCOMPARE(powiadomienia, 1);

    // A gender that is not a number: the fields before it are in, the rest is lost.
    QVERIFY_THROWS_EXCEPTION(
        EConvertError,
        k.ObsluzOdpowiedz(Odpowiedz(0x00, Para("lastname", "Nowak") + Para("gender", "k") +
                                              Para("nickname", "zn"))));
    QCOMPARE(k.DanePubliczne().Nazwisko, QStringLiteral("Nowak"));
    QVERIFY(k.DanePubliczne().Pseudonim.isEmpty());
    QCOMPARE(powiadomienia, 2);
  }
};

PAPLANKI_TEST_MAIN(TestKatalog)
#include "test_Katalog.moc"
