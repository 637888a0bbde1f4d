#include "app/DataCzas.h"
#include "common/OdbiorTestowy.h"
#include "common/Srodowisko.h"
#include "contacts/Galezie.h"
#include "gg/CzasUnix.h"
#include "gg/Liczby.h"
#include "gg/Pakiety.h"

namespace {

constexpr quint32 Powrot = 1700003600;

TWezel *Kontakt(TDrzewo &d, int numer, const QString &opis)
{
  return d.DodajUzytkownika(numer, QString(), QString(), QString(), QString(), opis, 3);
}

// The parents of the nodes the tree gains, in order (null for the top level).
class TZapisWstawien : public TObserwatorDrzewa {
public:
  explicit TZapisWstawien(TDrzewo &d) : m_d(d) { d.DodajObserwatora(this); }
  ~TZapisWstawien() override { m_d.UsunObserwatora(this); }
  void PoWstawieniu(TWezel *w) override { Rodzice << w->Rodzic(); }
  QList<TWezel *> Rodzice;

private:
  TDrzewo &m_d;
};

TZmianaStanu *OstatniaZmiana(TWezel *rodzic)
{
  return rodzic->LiczbaDzieci() ? rodzic->OstatnieDziecko()->DaneJako<TZmianaStanu>() : nullptr;
}

QByteArray Wpis60ZOpisem(qint32 numer, quint8 status, const QByteArray &opis)
{
  return WpisStatus60(numer, status, 0x40) + char(opis.size()) + opis;
}

} // namespace

class TestOdbiorStanow : public QObject {
  Q_OBJECT
private slots:
  void stan4PotemStan2()
  {
    TStanowiskoOdbioru s;
    TWezel *ala = Kontakt(s.Drzewo, 10, QStringLiteral("Ala"));
    s.Drzewo.ZastosujStan(ala, 1);
    const QByteArray strumien = ZbudujRamke(GGAnsStatus, CialoStatus(10, 4, "w pracy")) +
                                ZbudujRamke(GGAnsStatus, CialoStatus(10, 2));
    QVERIFY(DostarczPrzezGniazdo(s.Odbior, strumien, 2));

    QCOMPARE(ala->Tekst(), QStringLiteral("Ala()"));
    QCOMPARE(ala->LiczbaDzieci(), 2);
    const TZmianaStanu *pierwsza = ala->Dziecko(0)->DaneJako<TZmianaStanu>();
    QVERIFY(pierwsza);
    QCOMPARE(pierwsza->Status, 4);
    QCOMPARE(pierwsza->Opis, QStringLiteral("w pracy"));
    QVERIFY(ala->Dziecko(0)->Tekst().endsWith(QStringLiteral(")Dostępny[w pracy]")));
    QVERIFY(qAbs(pierwsza->Czas.secsTo(QDateTime::currentDateTime())) < 60);
    QVERIFY(ala->Dziecko(1)->Tekst().endsWith(QStringLiteral(")Dostępny[]")));
    QCOMPARE(ala->Obraz(), 11);
    QVERIFY(!s.Drzewo.MaStanWezla(ala, StanWezla::Wyciety));
    QVERIFY(s.Drzewo.MaStanWezla(ala, StanWezla::Pogrubiony));
  }

  void dekoracjaPodpisu_data()
  {
    QTest::addColumn<QString>("podpis");
    QTest::addColumn<QByteArray>("cialo");
    QTest::addColumn<QString>("oczekiwany");
    QTest::newRow("opis") << "Ala" << CialoStatus(10, 4, "w pracy") << "Ala(w pracy)";
    QTest::newRow("bez opisu") << "Ala(stary)" << CialoStatus(10, 2) << "Ala()";
    QTest::newRow("status z opisem, opis pusty") << "Ala" << CialoStatus(10, 5) << "Ala()";
    QTest::newRow("nawias w nazwie ucina") << "Jan (praca)" << CialoStatus(10, 3) << "Jan ()";
    QTest::newRow("status 2 nie czyta opisu") << "Ala" << CialoStatus(10, 2, "zbędne") << "Ala()";
    QTest::newRow("strona 1250 i znaki sterujące")
        << "Ala" << CialoStatus(10, 4, "Za\xBF\xF3\xB3\xE6\x01\n") << "Ala(Zażółć{01}{0A})";
    QTest::newRow("NUL nie na piątym miejscu od końca")
        << "Ala" << CialoStatus(10, 22, QByteArray("a\0bcdef", 7)) << "Ala(a{00}bcdef)";
    QTest::newRow("powrót")
        << "Ala" << CialoStatus(10, 21, "wracam", Powrot)
        << QStringLiteral("Ala(wracam[%1])").arg(DataCzasNaTekst(UnixToLocal(Powrot)));
    QTest::newRow("sam czas powrotu")
        << "Ala" << CialoStatus(10, 21, QByteArray(), Powrot)
        << QStringLiteral("Ala([%1])").arg(DataCzasNaTekst(UnixToLocal(Powrot)));
  }

  void dekoracjaPodpisu()
  {
    QFETCH(QString, podpis);
    QFETCH(QByteArray, cialo);
    QFETCH(QString, oczekiwany);
    TStanowiskoOdbioru s;
    TWezel *w = Kontakt(s.Drzewo, 10, podpis);
    s.Obsluz(GGAnsStatus, cialo);
    QCOMPARE(w->Tekst(), oczekiwany);
  }

  void stan21ZPowrotem()
  {
    TStanowiskoOdbioru s;
    TWezel *ala = Kontakt(s.Drzewo, 10, QStringLiteral("Ala"));
    auto *u = ala->DaneJako<TUzytkownik>();
    u->ZnacznikWymieniony = true;
    s.Drzewo.ZastosujStan(ala, 2);
    s.Obsluz(GGAnsStatus, CialoStatus(10, 21, "wracam", Powrot));
    QVERIFY(s.Drzewo.MaStanWezla(ala, StanWezla::Wyciety));
    QVERIFY(!u->ZnacznikWymieniony);
    const TZmianaStanu *z = OstatniaZmiana(ala);
    QCOMPARE(z->Status, 21);
    QCOMPARE(z->Opis, QStringLiteral("wracam"));
  }

  void trzyWpisyNotifyReply60()
  {
    TStanowiskoOdbioru s;
    TWezel *a = Kontakt(s.Drzewo, 0x123456, QStringLiteral("A"));
    TWezel *b = Kontakt(s.Drzewo, 2, QStringLiteral("B"));
    TWezel *c = Kontakt(s.Drzewo, 3, QStringLiteral("C"));
    TZapisWstawien zapis(s.Drzewo);
    // The middle one described; the numbers carry flags in their top byte.
    const QByteArray cialo =
        WpisStatus60(0x123456, 2, 0xFF) + Wpis60ZOpisem(2, 4, "opis B") + WpisStatus60(3, 3, 0x01);
    QVERIFY(DostarczPrzezGniazdo(s.Odbior, ZbudujRamke(GGAnsNotifyReply60, cialo), 1));
    QCOMPARE(a->Tekst(), QStringLiteral("A()"));
    QCOMPARE(b->Tekst(), QStringLiteral("B(opis B)"));
    QCOMPARE(c->Tekst(), QStringLiteral("C()"));
    QCOMPARE(zapis.Rodzice, (QList<TWezel *>{a, b, c}));
    QCOMPARE(OstatniaZmiana(b)->Status, 4);
    QCOMPARE(c->Obraz(), 29);
  }

  void notifyReply60Opisy_data()
  {
    QTest::addColumn<QByteArray>("cialo");
    QTest::addColumn<QString>("oczekiwany");
    QTest::addColumn<bool>("drugiWpis");
    QTest::newRow("opis z czasem powrotu")
        << Wpis60ZOpisem(7, 21, QByteArray("zaraz\0", 6) + IntToLE(qint32(Powrot)))
        << QStringLiteral("X(zaraz[%1])").arg(DataCzasNaTekst(UnixToLocal(Powrot))) << false;
    QTest::newRow("długość ponad ciało")
        << WpisStatus60(7, 5) + QByteArray("\x50kr\xF3tki") << QStringLiteral("X(krótki)") << false;
    QTest::newRow("status z opisem na końcu ciała")
        << WpisStatus60(7, 4) << QStringLiteral("X()") << false;
    QTest::newRow("opis o długości 0, potem wpis")
        << Wpis60ZOpisem(7, 4, QByteArray()) + WpisStatus60(8, 2) << QStringLiteral("X()") << true;
    QTest::newRow("bez opisu nie ma bajtu długości")
        << WpisStatus60(7, 2) + WpisStatus60(8, 3) << QStringLiteral("X()") << true;
  }

  void notifyReply60Opisy()
  {
    QFETCH(QByteArray, cialo);
    QFETCH(QString, oczekiwany);
    QFETCH(bool, drugiWpis);
    TStanowiskoOdbioru s;
    TWezel *x = Kontakt(s.Drzewo, 7, QStringLiteral("X"));
    TWezel *y = Kontakt(s.Drzewo, 8, QStringLiteral("Y"));
    s.Obsluz(GGAnsNotifyReply60, cialo);
    QCOMPARE(x->Tekst(), oczekiwany);
    QCOMPARE(x->LiczbaDzieci(), 1);
    QCOMPARE(y->Tekst(), drugiWpis ? QStringLiteral("Y()") : QStringLiteral("Y"));
    QVERIFY(s.Dziennik.Wpisy.isEmpty());
  }

  void staryUkladNotifyReplyIStatus60()
  {
    TStanowiskoOdbioru s;
    TWezel *x = Kontakt(s.Drzewo, 0x01000007, QStringLiteral("X"));
    TWezel *y = Kontakt(s.Drzewo, 7, QStringLiteral("Y"));
    // 0x0C: the whole 32-bit number, the status byte, a 16-byte entry.
    QByteArray wpis16 = IntToLE(0x01000007) + char(5) + QByteArray(11, '\x33');
    s.Obsluz(GGAnsNotifyReply, wpis16 + "zaj\xEAta");
    QCOMPARE(x->Tekst(), QStringLiteral("X(zajęta)"));
    QCOMPARE(OstatniaZmiana(x)->Status, 5);
    // 0x0F: the same number, masked to 24 bits, finds the other contact.
    s.Obsluz(GGAnsStatus60, WpisStatus60(0x01000007, 4) + "opis");
    QCOMPARE(y->Tekst(), QStringLiteral("Y(opis)"));
    QCOMPARE(x->LiczbaDzieci(), 1);
  }

  void zmianaPodKotwica()
  {
    TStanowiskoOdbioru s;
    TWezel *ala = Kontakt(s.Drzewo, 10, QStringLiteral("Ala"));
    TWezel *moja = s.Drzewo.Dodaj(ala, QStringLiteral("napisałem"));
    ala->DaneJako<TUzytkownik>()->OstatniaWypowiedz = moja;
    s.Obsluz(GGAnsStatus, CialoStatus(10, 3));
    QCOMPARE(ala->LiczbaDzieci(), 1);
    QVERIFY(OstatniaZmiana(moja));
    QCOMPARE(ala->Tekst(), QStringLiteral("Ala()"));
  }

  void nieznanyNumer_data()
  {
    QTest::addColumn<bool>("tylkoOdPrzyjaciol");
    QTest::addColumn<qint32>("typ");
    QTest::addColumn<QByteArray>("cialo");
    QTest::newRow("0x02, od wszystkich") << false << GGAnsStatus << CialoStatus(999, 4, "x");
    QTest::newRow("0x11, od wszystkich") << false << GGAnsNotifyReply60 << WpisStatus60(999, 2);
    QTest::newRow("0x02, tylko od przyjaciół") << true << GGAnsStatus << CialoStatus(999, 2);
    QTest::newRow("0x0F, tylko od przyjaciół") << true << GGAnsStatus60 << WpisStatus60(999, 2);
  }

  void nieznanyNumer()
  {
    QFETCH(bool, tylkoOdPrzyjaciol);
    QFETCH(qint32, typ);
    QFETCH(QByteArray, cialo);
    TStanowiskoOdbioru s(tylkoOdPrzyjaciol);
    s.Obsluz(typ, cialo);
    if (tylkoOdPrzyjaciol) {
      QCOMPARE(s.Drzewo.LiczbaGlownych(), 0);
      return;
    }
    TWezel *nowy = s.Drzewo.ZnajdzUzytkownika(999);
    QVERIFY(nowy);
    QCOMPARE(nowy->Tekst(), QStringLiteral("lista kontaktów 999"));
    QCOMPARE(nowy->LiczbaDzieci(), 0);
    QVERIFY(s.Drzewo.MaStanWezla(nowy, StanWezla::Wyciety));
    QCOMPARE(nowy->Obraz(), 0);
    auto *u = nowy->DaneJako<TUzytkownik>();
    QCOMPARE(u->Opis, QStringLiteral("lista kontaktów 999"));
    QVERIFY(u->Imie.isEmpty() && u->Nazwisko.isEmpty() && u->EMail.isEmpty() &&
            u->Telefon.isEmpty());
    QCOMPARE(u->Sledzony, 1);
    // The next notification decorates it like any contact.
    s.Obsluz(GGAnsStatus, CialoStatus(999, 2));
    QCOMPARE(nowy->Tekst(), QStringLiteral("lista kontaktów 999()"));
  }

  // Strangers' notifications make contacts only up to a bound in a run; later ones are logged,
  // while known contacts keep getting their changes.
  void nieznajomiOgraniczeni()
  {
    TStanowiskoOdbioru s(false);
    TWezel *ala = Kontakt(s.Drzewo, 10, QStringLiteral("Ala"));
    const int ponad = TOdbior::NajwiecejNieznajomych + 5;
    QByteArray wpisy;
    for (int i = 0; i < ponad / 2; ++i)
      wpisy += WpisStatus60(100000 + i, 2);
    s.Obsluz(GGAnsNotifyReply60, wpisy);
    for (int i = ponad / 2; i < ponad; ++i)
      s.Obsluz(GGAnsStatus, CialoStatus(100000 + i, 2));
    s.Obsluz(GGAnsStatus, CialoStatus(10, 2));

    QCOMPARE(s.Drzewo.LiczbaGlownych(), 1 + TOdbior::NajwiecejNieznajomych);
    QVERIFY(s.Drzewo.ZnajdzUzytkownika(100000 + TOdbior::NajwiecejNieznajomych - 1));
    QVERIFY(!s.Drzewo.ZnajdzUzytkownika(100000 + TOdbior::NajwiecejNieznajomych));
    const QStringList zalogowane = s.Dziennik.Teksty(TOdbior::KategoriaBledne);
    QCOMPARE(zalogowane.size(), 5);
    QCOMPARE(zalogowane.last(), QStringLiteral("lista kontaktów %1").arg(100000 + ponad - 1));
    QCOMPARE(ala->LiczbaDzieci(), 1);
    // A stranger that made it in is a contact like any other.
    s.Obsluz(GGAnsStatus, CialoStatus(100000, 3));
    QCOMPARE(s.Drzewo.ZnajdzUzytkownika(100000)->LiczbaDzieci(), 1);
  }

  void nieznanyStatus()
  {
    TStanowiskoOdbioru s;
    TWezel *ala = Kontakt(s.Drzewo, 10, QStringLiteral("Ala"));
    s.Drzewo.ZastosujStan(ala, 3);
    s.Obsluz(GGAnsStatus, CialoStatus(10, 0x1FF, "nieczytany"));
    QCOMPARE(ala->Tekst(), QStringLiteral("Ala()"));
    QVERIFY(s.Drzewo.MaStanWezla(ala, StanWezla::Wyciety));
    QCOMPARE(ala->Obraz(), 29);
    QVERIFY(ala->Dziecko(0)->Tekst().contains(QStringLiteral("Nieokreślony stan 1FF")));
  }
};

PAPLANKI_TEST_MAIN(TestOdbiorStanow)
#include "test_OdbiorStanow.moc"
