#include "common/Srodowisko.h"
#include "contacts/BazaKontaktow.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "contacts/KsiazkaAdresowa.h"
#include "contacts/Rejestr.h"
#include "contacts/Sledzeni.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace {

struct TKontakt {
  int numer;
  QString imie, nazwisko, email, telefon, opis;
  int sledzony;
};

} // namespace

class TestSledzeni : public QObject {
  Q_OBJECT

  QTemporaryDir m_katalog;
  int m_licznik = 0;

  std::unique_ptr<QSettings> NowyRejestr(const QByteArray &tresc = QByteArray())
  {
    const QString sciezka = m_katalog.filePath(QStringLiteral("r%1.conf").arg(++m_licznik));
    if (!tresc.isEmpty()) {
      QFile plik(sciezka);
      if (!plik.open(QIODevice::WriteOnly))
        return nullptr;
      plik.write(tresc);
    }
    return std::make_unique<QSettings>(sciezka, QSettings::IniFormat);
  }

  static QList<TKontakt> Wczytaj(QSettings &rejestr, QStringList *pominiete = nullptr,
                                 bool wczytaj = true)
  {
    QList<TKontakt> kontakty;
    TSledzeniRejestr baza(rejestr, wczytaj,
                          [&](int n, const QString &i, const QString &na, const QString &e,
                              const QString &t, const QString &o, int s) {
                            kontakty.append({n, i, na, e, t, o, s});
                          });
    if (pominiete)
      *pominiete = baza.Pominiete();
    return kontakty;
  }

  static TDodajUzytkownikaFn DoDrzewa(TDrzewo &d)
  {
    return [&d](int n, const QString &i, const QString &na, const QString &e, const QString &t,
                const QString &o, int s) { d.DodajUzytkownika(n, i, na, e, t, o, s); };
  }

  static QStringList Podpisy(const TDrzewo &d)
  {
    QStringList podpisy;
    for (int i = 0; i < d.LiczbaGlownych(); ++i)
      podpisy << d.Glowny(i)->Tekst();
    return podpisy;
  }

  static QString KlasaBazy(const TSledzeni *baza)
  {
    if (dynamic_cast<const TSledzeniRejestr *>(baza))
      return QStringLiteral("TSledzeniRejestr");
    if (dynamic_cast<const TSledzeniOutlook *>(baza))
      return QStringLiteral("TSledzeniOutlook");
    if (dynamic_cast<const TSledzeniSerwer *>(baza))
      return QStringLiteral("TSledzeniSerwer");
    return QStringLiteral("?");
  }

  // A new data folder holding this address book.
  QString KatalogZKsiazka(const QByteArray &vcf)
  {
    const QString dane = m_katalog.filePath(QStringLiteral("dane%1").arg(++m_licznik));
    QDir().mkpath(dane);
    QFile plik(SciezkaKsiazkiAdresowej(dane));
    if (plik.open(QIODevice::WriteOnly))
      plik.write(vcf);
    return dane;
  }

private slots:
  void wczytanieZDomyslnymi()
  {
    auto r = NowyRejestr("[Sledzeni/100]\nOpis=Tylko opis\n"
                         "[Sledzeni/200]\nImie=Ala\nNazwisko=Kot\nEMail=a@k\nTelefon=5\n"
                         "Opis=Ala K.\nSledzony=1\n"
                         "[Sledzeni/300]\nImie=Ola\nSledzony=nie\n"
                         "[Ustawienia]\nPrzylaczaj=1\n");
    const QList<TKontakt> k = Wczytaj(*r);
    QCOMPARE(k.size(), 3);
    QCOMPARE(k[0].numer, 100);
    QCOMPARE(k[0].imie, QStringLiteral("100"));
    QCOMPARE(k[0].nazwisko, QStringLiteral("100"));
    QCOMPARE(k[0].email, QStringLiteral("100"));
    QCOMPARE(k[0].telefon, QStringLiteral("100"));
    QCOMPARE(k[0].opis, QStringLiteral("Tylko opis"));
    QCOMPARE(k[0].sledzony, 3);
    QCOMPARE(k[1].imie, QStringLiteral("Ala"));
    QCOMPARE(k[1].nazwisko, QStringLiteral("Kot"));
    QCOMPARE(k[1].email, QStringLiteral("a@k"));
    QCOMPARE(k[1].telefon, QStringLiteral("5"));
    QCOMPARE(k[1].opis, QStringLiteral("Ala K."));
    QCOMPARE(k[1].sledzony, 1);
    QCOMPARE(k[2].opis, QStringLiteral("300"));
    QCOMPARE(k[2].sledzony, 3); // not a number: the default
  }

  void kluczNieliczbowyPominiety()
  {
    // Keys come in the registry's order (by name); a bad name is skipped and loading goes on.
    auto r = NowyRejestr("[Sledzeni/9]\nOpis=dziewięć\n[Sledzeni/1x]\nOpis=zły\n"
                         "[Sledzeni/10]\nOpis=dziesięć\n[Sledzeni/Ala]\nOpis=zły\n");
    QStringList pominiete;
    const QList<TKontakt> k = Wczytaj(*r, &pominiete);
    QCOMPARE(k.size(), 2);
    QCOMPARE(k[0].numer, 10);
    QCOMPARE(k[1].numer, 9);
    QCOMPARE(pominiete, (QStringList{QStringLiteral("1x"), QStringLiteral("Ala")}));
  }

  void bezWczytywaniaIBezSekcji()
  {
    auto r = NowyRejestr("[Sledzeni/100]\nOpis=x\n");
    QVERIFY(Wczytaj(*r, nullptr, false).isEmpty());
    auto pusty = NowyRejestr();
    QVERIFY(Wczytaj(*pusty).isEmpty());
    QVERIFY(!QFile::exists(pusty->fileName())); // reading never creates the section
  }

  void dodajZapisujePiecTekstow()
  {
    auto r = NowyRejestr();
    r->beginGroup(QStringLiteral("StareRozmiary")); // someone else's open group
    TSledzeniRejestr baza(*r, true, nullptr);
    baza.Dodaj(555, QStringLiteral("Zażółć"), QStringLiteral("Gęślą"), QStringLiteral("z@g"),
               QStringLiteral("+48 1"), QStringLiteral("Jaźń, ta; = ta"));
    QCOMPARE(r->group(), QStringLiteral("StareRozmiary"));
    r->endGroup();
    QSettings drugi(r->fileName(), QSettings::IniFormat);
    drugi.beginGroup(QStringLiteral("Sledzeni/555"));
    QCOMPARE(drugi.childKeys().size(), 5); // "Sledzony" is never written
    QVERIFY(!drugi.contains(QStringLiteral("Sledzony")));
    drugi.endGroup();
    const QList<TKontakt> k = Wczytaj(drugi);
    QCOMPARE(k.size(), 1);
    QCOMPARE(k[0].imie, QStringLiteral("Zażółć"));
    QCOMPARE(k[0].nazwisko, QStringLiteral("Gęślą"));
    QCOMPARE(k[0].opis, QStringLiteral("Jaźń, ta; = ta"));
    QCOMPARE(k[0].sledzony, 3);
  }

  void zapiszPrzenosiKlucz()
  {
    auto r = NowyRejestr("[Sledzeni/100]\nOpis=stary\nSledzony=1\nInne=zostaje\n"
                         "[Sledzeni/100/Pod]\nX=1\n");
    TSledzeniRejestr baza(*r, false, nullptr);
    baza.Zapisz(100, 200, QStringLiteral("I"), QStringLiteral("N"), QStringLiteral("E"),
                QStringLiteral("T"), QStringLiteral("nowy"));
    QVERIFY(!IstniejeSekcja(*r, QStringLiteral("Sledzeni/100")));
    QCOMPARE(CzytajTekst(*r, QStringLiteral("Sledzeni/200"), QStringLiteral("Opis"), {}),
             QStringLiteral("nowy"));
    // Moved with everything it held, subkeys included.
    QCOMPARE(CzytajLiczbe(*r, QStringLiteral("Sledzeni/200"), QStringLiteral("Sledzony"), 0), 1);
    QCOMPARE(CzytajTekst(*r, QStringLiteral("Sledzeni/200"), QStringLiteral("Inne"), {}),
             QStringLiteral("zostaje"));
    QCOMPARE(CzytajTekst(*r, QStringLiteral("Sledzeni/200/Pod"), QStringLiteral("X"), {}),
             QStringLiteral("1"));
  }

  void zapiszNaIstniejacyNumer()
  {
    auto r = NowyRejestr("[Sledzeni/100]\nOpis=sto\n[Sledzeni/200]\nOpis=dwieście\nSledzony=1\n");
    TSledzeniRejestr baza(*r, false, nullptr);
    baza.Zapisz(100, 200, QStringLiteral("I"), QStringLiteral("N"), QStringLiteral("E"),
                QStringLiteral("T"), QStringLiteral("nowy"));
    QCOMPARE(CzytajTekst(*r, QStringLiteral("Sledzeni/100"), QStringLiteral("Opis"), {}),
             QStringLiteral("sto"));
    QCOMPARE(CzytajTekst(*r, QStringLiteral("Sledzeni/200"), QStringLiteral("Opis"), {}),
             QStringLiteral("nowy"));
    QCOMPARE(CzytajLiczbe(*r, QStringLiteral("Sledzeni/200"), QStringLiteral("Sledzony"), 0), 1);
    // An unknown old number simply creates the new key.
    baza.Zapisz(1, 300, {}, {}, {}, {}, QStringLiteral("trzysta"));
    QCOMPARE(Podsekcje(*r, QStringLiteral("Sledzeni")),
             (QStringList{QStringLiteral("100"), QStringLiteral("200"), QStringLiteral("300")}));
  }

  void nieudanyZapis()
  {
    const QString plik = m_katalog.filePath(QStringLiteral("plik"));
    QFile f(plik);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QSettings r(plik + QStringLiteral("/r.conf"), QSettings::IniFormat);
    TSledzeniRejestr baza(r, true, nullptr);
    QVERIFY_THROWS_EXCEPTION(ERejestr, baza.Dodaj(1, {}, {}, {}, {}, QStringLiteral("x")));
  }

  // The registry holds 20 and 10, the address book 77: the kind decides which one fills the tree.
  void fabrykaIDrzewo_data()
  {
    QTest::addColumn<int>("rodzaj");
    QTest::addColumn<QString>("klasa");
    QTest::addColumn<QStringList>("podpisy");
    const QStringList zRejestru{QStringLiteral("Dziesięć"), QStringLiteral("Dwadzieścia")};
    QTest::newRow("outlook") << 0 << QStringLiteral("TSledzeniOutlook")
                             << QStringList{QStringLiteral("Z książki")};
    QTest::newRow("rejestr") << 1 << "TSledzeniRejestr" << zRejestru;
    QTest::newRow("serwer") << 2 << "TSledzeniSerwer" << QStringList();
    QTest::newRow("nieznana wartość") << 7 << "TSledzeniRejestr" << zRejestru;
    QTest::newRow("ujemna") << -1 << "TSledzeniRejestr" << zRejestru;
  }
  void fabrykaIDrzewo()
  {
    QFETCH(int, rodzaj);
    QFETCH(QString, klasa);
    QFETCH(QStringList, podpisy);
    auto r = NowyRejestr("[Sledzeni/20]\nOpis=Dwadzieścia\n[Sledzeni/10]\nOpis=Dziesięć\n");
    const QString dane = KatalogZKsiazka("BEGIN:VCARD\r\nN:K;J\r\nX-GG-NUMERY:77;\r\n"
                                         "X-GG-OPIS:Z książki\r\nEND:VCARD\r\n");
    TDrzewo d;
    std::unique_ptr<TSledzeni> baza = UtworzBaze(rodzaj, *r, dane, true, DoDrzewa(d));
    QCOMPARE(KlasaBazy(baza.get()), klasa);
    QCOMPARE(Podpisy(d), podpisy);
    if (!podpisy.isEmpty())
      QVERIFY(d.MaStanWezla(d.Glowny(0), StanWezla::Wyciety));
    baza->PoZalogowaniu(); // does nothing, must not throw

    // Adding and editing reach the registry only through the registry store.
    baza->Dodaj(5, {}, {}, {}, {}, QStringLiteral("pięć"));
    baza->Zapisz(10, 11, {}, {}, {}, {}, QStringLiteral("jedenaście"));
    const bool rejestrowa = klasa == QLatin1String("TSledzeniRejestr");
    QCOMPARE(IstniejeSekcja(*r, QStringLiteral("Sledzeni/5")), rejestrowa);
    QCOMPARE(IstniejeSekcja(*r, QStringLiteral("Sledzeni/11")), rejestrowa);
    QCOMPARE(IstniejeSekcja(*r, QStringLiteral("Sledzeni/10")), !rejestrowa);
    // Loading off: nothing reaches the tree, whatever the kind.
    TDrzewo pusty;
    UtworzBaze(rodzaj, *r, dane, false, DoDrzewa(pusty));
    QCOMPARE(pusty.LiczbaGlownych(), 0);
  }

  // Creating a store that cannot load leaves a store of that kind without contacts, so adding
  // and editing still have a store to call, and the failure reaches the caller.
  void bazaZawszeUzywalna_data()
  {
    QTest::addColumn<QString>("ksiazka"); // "brak", "katalog"
    QTest::newRow("brak książki") << "brak";
    QTest::newRow("katalog zamiast pliku") << "katalog";
  }
  void bazaZawszeUzywalna()
  {
    QFETCH(QString, ksiazka);
    auto r = NowyRejestr("[Sledzeni/10]\nOpis=Dziesięć\n");
    const QString dane = m_katalog.filePath(QStringLiteral("dane%1").arg(++m_licznik));
    QVERIFY(QDir().mkpath(dane));
    if (ksiazka == QLatin1String("katalog"))
      QVERIFY(QDir().mkpath(SciezkaKsiazkiAdresowej(dane)));

    TBazaKontaktow baza(*r, dane);
    QCOMPARE(KlasaBazy(&baza.Baza()), QStringLiteral("TSledzeniRejestr"));
    TDrzewo d;
    baza.Utworz(1, true, DoDrzewa(d));
    QCOMPARE(d.LiczbaGlownych(), 1);

    QVERIFY_THROWS_EXCEPTION(EKsiazkaAdresowa, baza.Utworz(0, true, DoDrzewa(d)));
    QCOMPARE(baza.Rodzaj(), 0);
    QCOMPARE(KlasaBazy(&baza.Baza()), QStringLiteral("TSledzeniOutlook"));
    QCOMPARE(d.LiczbaGlownych(), 1);                            // what was in the tree stays
    baza.Baza().Dodaj(12, {}, {}, {}, {}, QStringLiteral("x")); // usable, writes nothing
    QVERIFY(!IstniejeSekcja(*r, QStringLiteral("Sledzeni/12")));

    try {
      baza.Utworz(0, true, DoDrzewa(d));
      QFAIL("no failure");
    } catch (const EKsiazkaAdresowa &blad) {
      QVERIFY2(blad.Message().contains(SciezkaKsiazkiAdresowej(dane)), qPrintable(blad.Message()));
    }
  }
};

PAPLANKI_TEST_MAIN(TestSledzeni)
#include "test_Sledzeni.moc"
