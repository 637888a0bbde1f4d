#include "common/Srodowisko.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "contacts/Rejestr.h"
#include "contacts/Sledzeni.h"

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
    QCOMPARE(pominiete, (QStringList{"1x", "Ala"}));
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
    QCOMPARE(Podsekcje(*r, QStringLiteral("Sledzeni")), (QStringList{"100", "200", "300"}));
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

  void fabrykaIDrzewo_data()
  {
    QTest::addColumn<int>("rodzaj");
    QTest::newRow("rejestr") << 1;
    QTest::newRow("nieznana wartość") << 7;
    QTest::newRow("ujemna") << -1;
  }
  void fabrykaIDrzewo()
  {
    QFETCH(int, rodzaj);
    auto r = NowyRejestr("[Sledzeni/20]\nOpis=Dwadzieścia\n[Sledzeni/10]\nOpis=Dziesięć\n");
    TDrzewo d;
    std::unique_ptr<TSledzeni> baza =
        UtworzBaze(rodzaj, *r, true,
                   [&d](int n, const QString &i, const QString &na, const QString &e,
                        const QString &t, const QString &o, int s) {
                     d.DodajUzytkownika(n, i, na, e, t, o, s);
                   });
    QVERIFY(dynamic_cast<TSledzeniRejestr *>(baza.get()));
    QCOMPARE(d.LiczbaGlownych(), 2);
    QCOMPARE(d.Glowny(0)->Tekst(), QStringLiteral("Dziesięć"));
    QCOMPARE(d.Glowny(1)->Tekst(), QStringLiteral("Dwadzieścia"));
    QVERIFY(d.MaStanWezla(d.Glowny(0), StanWezla::Wyciety));
    QCOMPARE(d.ZnajdzUzytkownika(20), d.Glowny(1));
    baza->PoZalogowaniu(); // does nothing, must not throw
  }
};

PAPLANKI_TEST_MAIN(TestSledzeni)
#include "test_Sledzeni.moc"
