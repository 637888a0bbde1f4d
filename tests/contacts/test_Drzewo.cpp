#include "app/DataCzas.h"
#include "common/Srodowisko.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"

#include <QRandomGenerator>

namespace {

TWezel *DodajKontakt(TDrzewo &d, int numer, const QString &opis = QString())
{
  return d.DodajUzytkownika(numer, QStringLiteral("Imię"), QStringLiteral("Nazwisko"),
                            QStringLiteral("e@x"), QStringLiteral("123"),
                            opis.isEmpty() ? QString::number(numer) : opis, 3);
}

std::shared_ptr<TWypowiedz> NowaWypowiedz(int numer, const QString &tekst)
{
  return std::make_shared<TWypowiedz>(
      nullptr, std::make_unique<TDaneDodatkowe>(-1, numer, 0, 77, QDateTime::currentDateTime()),
      tekst);
}

// A message node below `rodzic` carrying its own payload.
TWezel *DodajWypowiedz(TDrzewo &d, TWezel *rodzic, const QString &tekst)
{
  TWezel *w = d.Dodaj(rodzic, tekst);
  w->UstawDane(NowaWypowiedz(1, tekst));
  return w;
}

QStringList Podpisy(const TDrzewo &d, const TWezel *rodzic)
{
  QStringList wynik;
  const int n = rodzic ? rodzic->LiczbaDzieci() : d.LiczbaGlownych();
  for (int i = 0; i < n; ++i)
    wynik << (rodzic ? rodzic->Dziecko(i) : d.Glowny(i))->Tekst();
  return wynik;
}

// Every node knows its true position and parent.
bool Spojne(const TDrzewo &d)
{
  for (TWezel *w = d.Pierwszy(); w; w = w->Nastepny()) {
    TWezel *r = w->Rodzic();
    if ((r ? r->Dziecko(w->Indeks()) : d.Glowny(w->Indeks())) != w)
      return false;
    for (int i = 0; i < w->LiczbaDzieci(); ++i)
      if (w->Dziecko(i)->Rodzic() != w)
        return false;
  }
  return true;
}

// Records what a deletion announces.
struct TSluchaczUsuwania : TObserwatorDrzewa {
  QStringList usuwane;
  QList<int> numeryKontaktow;
  void PrzedUsunieciemWezla(TWezel *w) override
  {
    usuwane << w->Tekst();
    const TUzytkownik *u = TDrzewo::UzytkownikWezla(w);
    numeryKontaktow << (u ? u->Numer() : 0);
  }
};

} // namespace

class TestDrzewo : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QStringLiteral("pl_PL"))); }

  void zmianaStanu_data()
  {
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("opis");
    QTest::addColumn<QString>("srodek");
    QTest::addColumn<int>("obraz");
    QTest::addColumn<int>("wybrany");
    QTest::newRow("0") << 0 << ""
                       << "Nieokreślony stan 0" << 29 << 28;
    QTest::newRow("1") << 1 << ""
                       << "Niedostępny" << 11 << 10;
    QTest::newRow("21 z opisem") << 21 << "pa"
                                 << "Niedostępny" << 11 << 10;
    QTest::newRow("2") << 2 << ""
                       << "Dostępny" << 11 << 10;
    QTest::newRow("4 z opisem") << 4 << "jestem"
                                << "Dostępny" << 11 << 10;
    QTest::newRow("0x102 niski bajt 2") << 0x102 << ""
                                        << "Dostępny" << 11 << 10;
    QTest::newRow("3") << 3 << ""
                       << "Zajęty" << 29 << 28;
    QTest::newRow("5") << 5 << "praca"
                       << "Zajęty" << 29 << 28;
    QTest::newRow("6") << 6 << ""
                       << "Zablokowany" << 17 << 16;
    QTest::newRow("20") << 20 << ""
                        << "Niewidoczny" << 27 << 26;
    QTest::newRow("22") << 22 << "x"
                        << "Niewidoczny" << 27 << 26;
    QTest::newRow("0x1FF cała wartość") << 0x1FF << ""
                                        << "Nieokreślony stan 1FF" << 29 << 28;
    QTest::newRow("ujemny jako słowo") << -1 << ""
                                       << "Nieokreślony stan FFFFFFFF" << 29 << 28;
    QTest::newRow("procent w opisie") << 2 << "%1 100%"
                                      << "Dostępny" << 11 << 10;
  }
  void zmianaStanu()
  {
    QFETCH(int, status);
    QFETCH(QString, opis);
    QFETCH(QString, srodek);
    QFETCH(int, obraz);
    QFETCH(int, wybrany);
    TDrzewo d;
    TWezel *kontakt = DodajKontakt(d, 100);
    TWezel *w = d.Dodaj(kontakt);
    const QDateTime czas(QDate(2024, 3, 5), QTime(14, 7, 9));
    auto zmiana = std::make_shared<TZmianaStanu>(w, czas, opis, status);
    w->UstawDane(zmiana);
    QCOMPARE(w->Tekst(), QStringLiteral("(5.03.2024 14:07:09)") + srodek + u'[' + opis + u']');
    QCOMPARE(w->Obraz(), obraz);
    QCOMPARE(w->ObrazWybrany(), wybrany);
    QCOMPARE(zmiana->Wezel(), w);
    QCOMPARE(zmiana->Status, status);
  }

  void zastosujStan_data()
  {
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("obraz");
    QTest::addColumn<int>("wybrany");
    QTest::addColumn<bool>("wyciety");
    QTest::addColumn<bool>("znacznik");
    // The contact starts with images 5/4 and ZnacznikWymieniony set.
    QTest::newRow("1 niedostępny") << 1 << 11 << 10 << true << false;
    QTest::newRow("21 niedostępny z opisem") << 21 << 11 << 10 << true << false;
    QTest::newRow("2 dostępny") << 2 << 11 << 10 << false << true;
    QTest::newRow("4") << 4 << 11 << 10 << false << true;
    QTest::newRow("0x102 dostępny") << 0x102 << 11 << 10 << false << true;
    QTest::newRow("3 zajęty") << 3 << 29 << 28 << false << true;
    QTest::newRow("5") << 5 << 29 << 28 << false << true;
    QTest::newRow("6 zablokowany") << 6 << 17 << 16 << false << true;
    QTest::newRow("20 niewidoczny") << 20 << 27 << 26 << false << true;
    QTest::newRow("22") << 22 << 27 << 26 << false << true;
    QTest::newRow("inny: obrazy bez zmian") << 0x1FF << 5 << 4 << true << true;
  }
  void zastosujStan()
  {
    QFETCH(int, status);
    QFETCH(int, obraz);
    QFETCH(int, wybrany);
    QFETCH(bool, wyciety);
    QFETCH(bool, znacznik);
    TDrzewo d;
    TWezel *w = DodajKontakt(d, 100, QStringLiteral("Ala (opis)"));
    w->UstawObrazy(5, 4);
    d.UstawStanWezla(w, 0, StanWezla::Wyciety); // as if it had been available
    auto *u = w->DaneJako<TUzytkownik>();
    u->ZnacznikWymieniony = true;
    d.ZastosujStan(w, status);
    QCOMPARE(w->Obraz(), obraz);
    QCOMPARE(w->ObrazWybrany(), wybrany);
    QCOMPARE(d.MaStanWezla(w, StanWezla::Wyciety), wyciety);
    QVERIFY(d.MaStanWezla(w, StanWezla::Pogrubiony)); // every status is news
    QCOMPARE(u->ZnacznikWymieniony, znacznik);
    QCOMPARE(w->Tekst(), QStringLiteral("Ala (opis)")); // caption untouched
  }

  void dodajUzytkownika()
  {
    TDrzewo d;
    TWezel *inny = DodajKontakt(d, 1);
    TWezel *w = d.DodajUzytkownika(4321, QStringLiteral("Ala"), QStringLiteral("Kot"),
                                   QStringLiteral("ala@kot"), QStringLiteral("555"),
                                   QStringLiteral("Alicja"), 1);
    QCOMPARE(d.Glowny(1), w);
    QCOMPARE(w->Tekst(), QStringLiteral("Alicja"));
    QCOMPARE(w->Obraz(), 0);
    QCOMPARE(w->ObrazStanu(), -1);
    QCOMPARE(w->Stan(), StanWezla::Wyciety);
    auto *u = w->DaneJako<TUzytkownik>();
    QVERIFY(u);
    QCOMPARE(u->Numer(), 4321);
    QCOMPARE(u->Imie, QStringLiteral("Ala"));
    QCOMPARE(u->Nazwisko, QStringLiteral("Kot"));
    QCOMPARE(u->EMail, QStringLiteral("ala@kot"));
    QCOMPARE(u->Telefon, QStringLiteral("555"));
    QCOMPARE(u->Opis, QStringLiteral("Alicja"));
    QCOMPARE(u->Sledzony, 1);
    QVERIFY(!u->RozmowcaZnaZnacznik);
    QVERIFY(!u->ZnacznikWymieniony);
    QVERIFY(!u->OstatniaWypowiedz);
    QCOMPARE(u->WezelUzytkownika.get(), w);
    QVERIFY(!u->Wezel()); // contacts keep the inherited reference empty

    // Statuses of other contacts leave it ghosted; its own status does not.
    d.ZastosujStan(inny, 2);
    QVERIFY(d.MaStanWezla(w, StanWezla::Wyciety));
    d.ZastosujStan(w, 2);
    QVERIFY(!d.MaStanWezla(w, StanWezla::Wyciety));

    u->UstawOpis(QStringLiteral("Ala K."));
    QCOMPARE(w->Tekst(), QStringLiteral("Ala K."));
  }

  void znajdzUzytkownika()
  {
    TDrzewo d;
    QCOMPARE(d.ZnajdzUzytkownika(5), nullptr);
    TWezel *konferencja = d.Dodaj(nullptr, QStringLiteral("konferencja"));
    konferencja->UstawDane(std::make_shared<TKonferencja>(konferencja));
    TWezel *a = DodajKontakt(d, 10);
    TWezel *b = DodajKontakt(d, 20);
    TWezel *drugiA = DodajKontakt(d, 10);
    // A contact dragged below another node is not found any more.
    TWezel *zagniezdzony = DodajKontakt(d, 30);
    QVERIFY(d.Przenies(zagniezdzony, b));
    QCOMPARE(d.ZnajdzUzytkownika(10), a);
    QCOMPARE(d.ZnajdzUzytkownika(20), b);
    QCOMPARE(d.ZnajdzUzytkownika(30), nullptr);
    QCOMPARE(d.ZnajdzUzytkownika(40), nullptr);
    d.Usun(a);
    QCOMPARE(d.ZnajdzUzytkownika(10), drugiA);

    // The mass update reaches both top-level duplicates, not the nested contact.
    TWezel *trzeciA = DodajKontakt(d, 10);
    d.ZastosujStanWszystkim(3);
    QCOMPARE(drugiA->Obraz(), 29);
    QCOMPARE(trzeciA->Obraz(), 29);
    QCOMPARE(b->Obraz(), 29);
    QCOMPARE(zagniezdzony->Obraz(), 0);
    QCOMPARE(konferencja->Obraz(), 0);
    QVERIFY(!d.MaStanWezla(konferencja, StanWezla::Pogrubiony));
  }

  void znajdzUzytkownikaPoZmianach()
  {
    // The lookup follows every way a top-level node can change.
    TDrzewo d;
    TWezel *a = DodajKontakt(d, 10);
    TWezel *b = DodajKontakt(d, 20);
    TWezel *c = DodajKontakt(d, 30);
    auto *ua = a->DaneJako<TUzytkownik>();
    ua->UstawNumer(40); // contact editing
    QCOMPARE(d.ZnajdzUzytkownika(10), nullptr);
    QCOMPARE(d.ZnajdzUzytkownika(40), a);
    QVERIFY(d.Przenies(c, nullptr, 0)); // reordered: still found, now first of two
    c->DaneJako<TUzytkownik>()->UstawNumer(40);
    QCOMPARE(d.ZnajdzUzytkownika(40), c);
    QVERIFY(d.Przenies(c, b)); // dragged below another node
    QCOMPARE(d.ZnajdzUzytkownika(40), a);
    c->DaneJako<TUzytkownik>()->UstawNumer(50); // edited while nested
    QCOMPARE(d.ZnajdzUzytkownika(50), nullptr);
    QVERIFY(d.Przenies(c, nullptr)); // and back on top
    QCOMPARE(d.ZnajdzUzytkownika(50), c);
    b->UstawDane(std::make_shared<TKonferencja>(b)); // payload replaced
    QCOMPARE(d.ZnajdzUzytkownika(20), nullptr);
    d.Wstaw(nullptr, 0, QStringLiteral("bez danych"));
    QCOMPARE(d.ZnajdzUzytkownika(0), nullptr);
    QCOMPARE(d.ZnajdzUzytkownika(50), c);
    d.UsunZachowujacDzieci(a);
    QCOMPARE(d.ZnajdzUzytkownika(40), nullptr);
    d.UsunDzieci(nullptr);
    QCOMPARE(d.ZnajdzUzytkownika(50), nullptr);
    TWezel *nowy = DodajKontakt(d, 50);
    QCOMPARE(d.ZnajdzUzytkownika(50), nowy);
  }

  void znajdzUzytkownikaJakPrzegladanie()
  {
    // Against a plain scan of the top level, under random changes.
    TDrzewo d;
    QRandomGenerator los(7);
    for (int krok = 0; krok < 3000; ++krok) {
      QList<TWezel *> wszystkie;
      for (TWezel *w = d.Pierwszy(); w; w = w->Nastepny())
        wszystkie << w;
      auto dowolny = [&]() { return wszystkie[los.bounded(int(wszystkie.size()))]; };
      TWezel *losowy = wszystkie.isEmpty() ? nullptr : dowolny();
      switch (wszystkie.size() < 5 ? 0 : los.bounded(7)) {
      case 0:
        DodajKontakt(d, los.bounded(8));
        break;
      case 1:
        d.Wstaw(los.bounded(2) ? nullptr : losowy, los.bounded(5), QStringLiteral("x"));
        break;
      case 2:
        d.Przenies(losowy, los.bounded(2) ? nullptr : dowolny(), los.bounded(6) - 1);
        break;
      case 3:
        if (los.bounded(2))
          d.Usun(losowy);
        else
          d.UsunZachowujacDzieci(losowy);
        break;
      case 4:
        if (auto *u = losowy->DaneJako<TUzytkownik>())
          u->UstawNumer(los.bounded(8));
        break;
      case 5:
        losowy->UstawDane(los.bounded(2) ? nullptr : std::make_shared<TKonferencja>(losowy));
        break;
      case 6:
        if (los.bounded(30) == 0)
          d.UsunDzieci(nullptr);
        break;
      }
      for (int numer = 0; numer < 8; ++numer) {
        TWezel *oczekiwany = nullptr;
        for (int i = 0; i < d.LiczbaGlownych() && !oczekiwany; ++i) {
          auto *u = d.Glowny(i)->DaneJako<TUzytkownik>();
          if (u && u->Numer() == numer)
            oczekiwany = d.Glowny(i);
        }
        QCOMPARE(d.ZnajdzUzytkownika(numer), oczekiwany);
      }
    }
  }

  // Space, the unread check and a node's contact keep choosing what a plain walk of the tree
  // chooses, while nodes are marked, moved, removed and given other payloads.
  void nieprzeczytaneIWlascicielJakPrzegladanie()
  {
    TDrzewo d;
    QRandomGenerator los(11);
    for (int krok = 0; krok < 4000; ++krok) {
      QList<TWezel *> wszystkie;
      for (TWezel *w = d.Pierwszy(); w; w = w->Nastepny())
        wszystkie << w;
      auto dowolny = [&]() { return wszystkie[los.bounded(int(wszystkie.size()))]; };
      TWezel *losowy = wszystkie.isEmpty() ? nullptr : dowolny();
      switch (wszystkie.size() < 5 ? los.bounded(2) : los.bounded(9)) {
      case 0:
        DodajKontakt(d, los.bounded(8));
        break;
      case 1:
        if (los.bounded(2))
          d.Wstaw(los.bounded(2) ? nullptr : losowy, los.bounded(4), QStringLiteral("w"));
        else if (losowy)
          DodajWypowiedz(d, losowy, QStringLiteral("w"));
        break;
      case 2:
      case 3:
        d.UstawStanWezla(losowy, los.bounded(2) ? StanWezla::Pogrubiony : 0, StanWezla::Pogrubiony);
        break;
      case 4:
        d.Przenies(losowy, los.bounded(3) ? dowolny() : nullptr, los.bounded(6) - 1);
        break;
      case 5:
        if (los.bounded(2))
          d.Usun(losowy);
        else
          d.UsunZachowujacDzieci(losowy);
        break;
      case 6:
        if (los.bounded(3) == 0)
          losowy->UstawDane(nullptr);
        else if (los.bounded(2) == 0)
          losowy->UstawDane(NowaWypowiedz(2, QStringLiteral("n")));
        else
          losowy->UstawDane(std::make_shared<TUzytkownik>(
              losowy, 5, QString(), QString(), QString(), QString(), QStringLiteral("u"), 3));
        break;
      case 7:
        if (los.bounded(40) == 0)
          d.UsunDzieci(los.bounded(2) ? nullptr : losowy);
        else
          d.UsunDzieci(losowy);
        break;
      case 8:
        if (los.bounded(60) == 0)
          d.Wyczysc();
        break;
      }
      // Positions asked for straight after a change, before anything else has asked: every
      // node reached through its parent's list is where its own number says.
      {
        QList<QPair<TWezel *, int>> doSprawdzenia;
        QList<TWezel *> stos{nullptr};
        while (!stos.isEmpty()) {
          TWezel *r = stos.takeLast();
          const int n = r ? r->LiczbaDzieci() : d.LiczbaGlownych();
          for (int i = 0; i < n; ++i) {
            TWezel *dziecko = r ? r->Dziecko(i) : d.Glowny(i);
            doSprawdzenia.append({dziecko, i});
            stos.append(dziecko);
          }
        }
        for (int i = 0; i < 3 && !doSprawdzenia.isEmpty(); ++i) {
          const auto [wezel, pozycja] = doSprawdzenia[los.bounded(int(doSprawdzenia.size()))];
          QCOMPARE(wezel->Indeks(), pozycja);
        }
      }
      wszystkie.clear();
      int pogrubione = 0;
      for (TWezel *w = d.Pierwszy(); w; w = w->Nastepny()) {
        wszystkie << w;
        pogrubione += (w->Stan() & StanWezla::Pogrubiony) ? 1 : 0;
      }
      QCOMPARE(d.LiczbaPogrubionych(), pogrubione);
      for (int proba = 0; proba < 3 && !wszystkie.isEmpty(); ++proba) {
        TWezel *po = proba == 0 ? d.Pierwszy() : dowolny();
        TWezel *oczekiwany = po->Nastepny();
        while (oczekiwany && !(oczekiwany->Stan() & StanWezla::Pogrubiony))
          oczekiwany = oczekiwany->Nastepny();
        QCOMPARE(d.ZnajdzPogrubionyPo(po), oczekiwany);
        TUzytkownik *wlasciciel = nullptr;
        for (TWezel *w = po; w && !wlasciciel; w = w->Rodzic())
          wlasciciel = w->DaneJako<TUzytkownik>();
        QCOMPARE(TDrzewo::UzytkownikWezla(po), wlasciciel);
      }
      QVERIFY(Spojne(d));
    }
  }

  void dlugiLancuchOdpowiedzi()
  {
    // The contact of the deepest answer, asked again after the chain changed above it.
    TDrzewo d;
    TWezel *kontakt = DodajKontakt(d, 42);
    TWezel *w = kontakt;
    QList<TWezel *> lancuch;
    for (int i = 0; i < 50000; ++i)
      lancuch << (w = DodajWypowiedz(d, w, QStringLiteral("o")));
    QCOMPARE(TDrzewo::UzytkownikWezla(w), kontakt->DaneJako<TUzytkownik>());
    QVERIFY(!d.ZnajdzPogrubionyPo(d.Pierwszy()));
    // A contact payload half-way down now owns the lower half.
    TWezel *srodek = lancuch[25000];
    srodek->UstawDane(std::make_shared<TUzytkownik>(srodek, 7, QString(), QString(), QString(),
                                                    QString(), QStringLiteral("s"), 3));
    QCOMPARE(TDrzewo::UzytkownikWezla(w)->Numer(), 7);
    QCOMPARE(TDrzewo::UzytkownikWezla(lancuch[24999])->Numer(), 42);
    // Moved to the top level, the lower part keeps its new owner, the part left loses nothing.
    d.Przenies(lancuch[30000], nullptr);
    QCOMPARE(TDrzewo::UzytkownikWezla(w), nullptr);
    QCOMPARE(TDrzewo::UzytkownikWezla(lancuch[29999])->Numer(), 7);
    d.UstawStanWezla(w, StanWezla::Pogrubiony, StanWezla::Pogrubiony);
    QCOMPARE(d.ZnajdzPogrubionyPo(d.Pierwszy()), w);
    d.Usun(lancuch[30000]);
    QCOMPARE(d.LiczbaPogrubionych(), 0);
    QVERIFY(!d.ZnajdzPogrubionyPo(d.Pierwszy()));
  }

  void uzytkownikWezla()
  {
    TDrzewo d;
    QCOMPARE(TDrzewo::UzytkownikWezla(nullptr), nullptr);
    TWezel *kontakt = DodajKontakt(d, 10);
    TWezel *wyslana = DodajWypowiedz(d, kontakt, QStringLiteral("cześć"));
    TWezel *odpowiedz = DodajWypowiedz(d, wyslana, QStringLiteral("hej"));
    TWezel *dalej = DodajWypowiedz(d, odpowiedz, QStringLiteral("co słychać"));
    auto *u = kontakt->DaneJako<TUzytkownik>();
    QCOMPARE(TDrzewo::UzytkownikWezla(kontakt), u);
    QCOMPARE(TDrzewo::UzytkownikWezla(odpowiedz), u);
    QCOMPARE(TDrzewo::UzytkownikWezla(dalej), u);
    TWezel *konferencja = d.Dodaj(nullptr, QStringLiteral("konferencja"));
    konferencja->UstawDane(std::make_shared<TKonferencja>(konferencja));
    TWezel *uczestnicy = d.Dodaj(konferencja, QStringLiteral("uczestnicy"));
    QCOMPARE(TDrzewo::UzytkownikWezla(konferencja), nullptr);
    QCOMPARE(TDrzewo::UzytkownikWezla(uczestnicy), nullptr);
    // A contact below another contact answers for its own subtree.
    TWezel *zagniezdzony = DodajKontakt(d, 20);
    d.Przenies(zagniezdzony, dalej);
    QCOMPARE(TDrzewo::UzytkownikWezla(d.Dodaj(zagniezdzony))->Numer(), 20);
  }

  void stanWezla()
  {
    TDrzewo d;
    TWezel *w = d.Dodaj(nullptr, QStringLiteral("x"));
    d.UstawStanWezla(w, 0xFF, StanWezla::Pogrubiony);
    QCOMPARE(w->Stan(), StanWezla::Pogrubiony);
    d.UstawStanWezla(w, StanWezla::Wyciety, StanWezla::Wyciety | StanWezla::Pogrubiony);
    QCOMPARE(w->Stan(), StanWezla::Wyciety);
    QVERIFY(d.MaStanWezla(w, StanWezla::Wyciety | StanWezla::Pogrubiony));
    QVERIFY(!d.MaStanWezla(w, StanWezla::Pogrubiony));
    QVERIFY(!d.MaStanWezla(nullptr, 0xFF));
  }

  void kolejnoscIPogrubione()
  {
    TDrzewo d;
    TWezel *a = d.Dodaj(nullptr, QStringLiteral("a"));
    TWezel *a1 = d.Dodaj(a, QStringLiteral("a1"));
    TWezel *a11 = d.Dodaj(a1, QStringLiteral("a11"));
    TWezel *a2 = d.Dodaj(a, QStringLiteral("a2"));
    TWezel *b = d.Dodaj(nullptr, QStringLiteral("b"));
    QStringList porzadek;
    for (TWezel *w = d.Pierwszy(); w; w = w->Nastepny())
      porzadek << w->Tekst();
    QCOMPARE(porzadek,
             (QStringList{QStringLiteral("a"), QStringLiteral("a1"), QStringLiteral("a11"),
                          QStringLiteral("a2"), QStringLiteral("b")}));
    QCOMPARE(d.LiczbaWezlow(), 5);
    QCOMPARE(a11->Poziom(), 2);

    d.UstawStanWezla(a, StanWezla::Pogrubiony, StanWezla::Pogrubiony);
    d.UstawStanWezla(a11, StanWezla::Pogrubiony, StanWezla::Pogrubiony);
    d.UstawStanWezla(b, StanWezla::Pogrubiony, StanWezla::Pogrubiony);
    QCOMPARE(d.ZnajdzPogrubionyPo(a), a11); // the start node itself is not tested
    QCOMPARE(d.ZnajdzPogrubionyPo(a11), b);
    QCOMPARE(d.ZnajdzPogrubionyPo(a2), b);
    QCOMPARE(d.ZnajdzPogrubionyPo(b), nullptr);
    QCOMPARE(d.ZnajdzPogrubionyPo(nullptr), nullptr);
    Q_UNUSED(a1);
  }

  void wstawianie()
  {
    TDrzewo d;
    TWezel *a = d.Dodaj(nullptr, QStringLiteral("a"));
    TWezel *c = d.Dodaj(nullptr, QStringLiteral("c"));
    d.WstawPrzed(c, QStringLiteral("b"));
    d.Wstaw(nullptr, 0, QStringLiteral("poczatek"));
    d.Wstaw(nullptr, 99, QStringLiteral("koniec"));
    d.Wstaw(a, -5, QStringLiteral("dziecko"));
    QCOMPARE(Podpisy(d, nullptr),
             (QStringList{QStringLiteral("poczatek"), QStringLiteral("a"), QStringLiteral("b"),
                          QStringLiteral("c"), QStringLiteral("koniec")}));
    QCOMPARE(Podpisy(d, a), QStringList{QStringLiteral("dziecko")});
    QVERIFY(Spojne(d));
    TDrzewo inne;
    QCOMPARE(inne.Dodaj(a), nullptr); // a node of another tree is no parent here
  }

  void przenoszenie_data()
  {
    // Tree: a(a1(a11), a2), b, c. Target given by caption ("" = top level), position -1 = end.
    QTest::addColumn<QString>("co");
    QTest::addColumn<QString>("dokad");
    QTest::addColumn<int>("pozycja");
    QTest::addColumn<bool>("wykonane");
    QTest::addColumn<QString>("wynik");
    QTest::newRow("na puste miejsce") << "a"
                                      << "" << -1 << true << "b c a(a1(a11) a2)";
    QTest::newRow("jako ostatnie dziecko") << "c"
                                           << "a" << -1 << true << "a(a1(a11) a2 c) b";
    QTest::newRow("przed bratem w dół") << "a"
                                        << "" << 2 << true << "b a(a1(a11) a2) c";
    QTest::newRow("przed bratem w górę") << "c"
                                         << "" << 0 << true << "c a(a1(a11) a2) b";
    QTest::newRow("na swoje miejsce") << "b"
                                      << "" << 1 << true << "a(a1(a11) a2) b c";
    QTest::newRow("tuż za sobą") << "b"
                                 << "" << 2 << true << "a(a1(a11) a2) b c";
    QTest::newRow("na siebie") << "a"
                               << "a" << -1 << false << "a(a1(a11) a2) b c";
    QTest::newRow("do własnego poddrzewa") << "a"
                                           << "a11" << -1 << false << "a(a1(a11) a2) b c";
    QTest::newRow("z głębi na wierzch") << "a11"
                                        << "" << 0 << true << "a11 a(a1 a2) b c";
    QTest::newRow("rodzic pod wnuka brata") << "b"
                                            << "a11" << -1 << true << "a(a1(a11(b)) a2) c";
  }
  void przenoszenie()
  {
    QFETCH(QString, co);
    QFETCH(QString, dokad);
    QFETCH(int, pozycja);
    QFETCH(bool, wykonane);
    QFETCH(QString, wynik);
    TDrzewo d;
    QHash<QString, TWezel *> w;
    w[QStringLiteral("a")] = d.Dodaj(nullptr, QStringLiteral("a"));
    w[QStringLiteral("a1")] = d.Dodaj(w[QStringLiteral("a")], QStringLiteral("a1"));
    w[QStringLiteral("a11")] = d.Dodaj(w[QStringLiteral("a1")], QStringLiteral("a11"));
    w[QStringLiteral("a2")] = d.Dodaj(w[QStringLiteral("a")], QStringLiteral("a2"));
    w[QStringLiteral("b")] = d.Dodaj(nullptr, QStringLiteral("b"));
    w[QStringLiteral("c")] = d.Dodaj(nullptr, QStringLiteral("c"));
    TWskaznikWezla uchwyt = w[co];
    QCOMPARE(d.Przenies(w[co], dokad.isEmpty() ? nullptr : w[dokad], pozycja), wykonane);
    QCOMPARE(Opis(d), wynik);
    QVERIFY(Spojne(d));
    QCOMPARE(uchwyt.get(), w[co]); // moving never deletes
  }

  void usuwanieWiadomosciZostawiaOdpowiedzi()
  {
    TDrzewo d;
    TWezel *kontakt = DodajKontakt(d, 10, QStringLiteral("k"));
    d.Dodaj(kontakt, QStringLiteral("x"));
    TWezel *wiadomosc = DodajWypowiedz(d, kontakt, QStringLiteral("m"));
    d.Dodaj(kontakt, QStringLiteral("y"));
    TWezel *p = d.Dodaj(wiadomosc, QStringLiteral("p"));
    d.Dodaj(p, QStringLiteral("p1"));
    d.Dodaj(wiadomosc, QStringLiteral("q"));
    d.Dodaj(wiadomosc, QStringLiteral("r"));
    auto *u = kontakt->DaneJako<TUzytkownik>();
    u->OstatniaWypowiedz = wiadomosc;
    d.UsunZachowujacDzieci(wiadomosc);
    QCOMPARE(Opis(d), QStringLiteral("k(x p(p1) q r y)"));
    QVERIFY(!u->OstatniaWypowiedz);
    QVERIFY(Spojne(d));
  }

  void wspolnaWypowiedzZyjeDoOstatniegoWiersza()
  {
    TDrzewo d;
    TWezel *kontakt = DodajKontakt(d, 10);
    std::weak_ptr<TWypowiedz> slaba;
    QList<TWezel *> wiersze;
    {
      auto wypowiedz = NowaWypowiedz(10, QStringLiteral("raz\ndwa\ntrzy"));
      slaba = wypowiedz;
      for (const QString &wiersz : wypowiedz->Tekst().split(u'\n')) {
        TWezel *w = d.Dodaj(kontakt, wiersz);
        w->UstawDane(wypowiedz);
        wiersze << w;
      }
    }
    QCOMPARE(wiersze[0]->Dane(), wiersze[2]->Dane());
    d.Usun(wiersze[1]);
    QVERIFY(!slaba.expired());
    d.UsunZachowujacDzieci(wiersze[0]);
    QVERIFY(!slaba.expired());
    QCOMPARE(slaba.lock()->DaneDodatkowe().NumerNadawcy, 10);
    d.Usun(wiersze[2]);
    QVERIFY(slaba.expired());

    // Replacing a node's payload lets the old one go too.
    TWezel *w = d.Dodaj(kontakt);
    auto wypowiedz = NowaWypowiedz(1, QStringLiteral("x"));
    slaba = wypowiedz;
    w->UstawDane(std::move(wypowiedz));
    w->UstawDane(nullptr);
    QVERIFY(slaba.expired());
  }

  void odwolaniaNieWiszaPoUsunieciu()
  {
    TDrzewo d;
    TWezel *kontakt = DodajKontakt(d, 10);
    auto *u = kontakt->DaneJako<TUzytkownik>();
    std::shared_ptr<TRodzajGalezi> trzymany = kontakt->DaneWspolne(); // e.g. an open dialog's
    TWezel *wyslana = DodajWypowiedz(d, kontakt, QStringLiteral("w"));
    TWezel *odpowiedz = DodajWypowiedz(d, wyslana, QStringLiteral("o"));
    u->OstatniaWypowiedz = wyslana;
    TWskaznikWezla cel = odpowiedz;  // the command target
    TWskaznikWezla dialog = wyslana; // a dialog's node
    QCOMPARE(cel.get(), odpowiedz);

    // Moving keeps every reference.
    TWezel *drugi = DodajKontakt(d, 20);
    QVERIFY(d.Przenies(wyslana, drugi));
    QCOMPARE(u->OstatniaWypowiedz.get(), wyslana);

    d.Usun(wyslana);
    QVERIFY(!u->OstatniaWypowiedz);
    QVERIFY(!cel);
    QVERIFY(dialog.isNull());

    // The contact's payload outlives its node without dangling.
    d.Usun(kontakt);
    auto *przetrwaly = static_cast<TUzytkownik *>(trzymany.get());
    QVERIFY(!przetrwaly->WezelUzytkownika);
    przetrwaly->UstawOpis(QStringLiteral("nowy")); // no node to caption any more
    QCOMPARE(przetrwaly->Opis, QStringLiteral("nowy"));

    // A handle copied before the node went stays empty; one set to null is empty.
    TWskaznikWezla pusty = nullptr;
    QVERIFY(!pusty);
  }

  void czyszczenieIUsuwanieDzieci()
  {
    TDrzewo d;
    TWezel *atrybut = d.Dodaj(nullptr, QStringLiteral("Imiona"));
    atrybut->UstawDane(std::make_shared<TAtrybut>(atrybut));
    TWezel *stare = d.Dodaj(atrybut, QStringLiteral("stare"));
    TWskaznikWezla uchwyt = stare;
    atrybut->UstawPokazRozwijanie(true);
    d.UsunDzieci(atrybut);
    QVERIFY(!uchwyt);
    QCOMPARE(atrybut->LiczbaDzieci(), 0);
    QVERIFY(atrybut->MaDzieci()); // still shows its expand button

    TWezel *k = DodajKontakt(d, 1);
    TWskaznikWezla uchwytK = k;
    d.Wyczysc();
    QCOMPARE(d.LiczbaGlownych(), 0);
    QCOMPARE(d.Pierwszy(), nullptr);
    QVERIFY(!uchwytK);
  }

  void ogloszenieUsuwania()
  {
    TDrzewo d;
    TSluchaczUsuwania s;
    d.DodajObserwatora(&s);
    TWezel *kontakt = DodajKontakt(d, 10, QStringLiteral("k"));
    TWezel *m = DodajWypowiedz(d, kontakt, QStringLiteral("m"));
    TWezel *m1 = d.Dodaj(m, QStringLiteral("m1"));
    d.Dodaj(m1, QStringLiteral("m11"));
    d.Dodaj(m, QStringLiteral("m2"));
    d.Dodaj(nullptr, QStringLiteral("obok"));
    d.Usun(kontakt);
    // Each node once, parent first, while UzytkownikWezla still finds the contact.
    QCOMPARE(s.usuwane, (QStringList{QStringLiteral("k"), QStringLiteral("m"), QStringLiteral("m1"),
                                     QStringLiteral("m11"), QStringLiteral("m2")}));
    QCOMPARE(s.numeryKontaktow, (QList<int>{10, 10, 10, 10, 10}));
    s.usuwane.clear();
    d.Wyczysc();
    QCOMPARE(s.usuwane, QStringList{QStringLiteral("obok")});
    d.UsunObserwatora(&s);
  }

  void glebokiLancuch()
  {
    // A very long conversation chain is torn down without recursion.
    TDrzewo d;
    TWezel *w = d.Dodaj(nullptr, QStringLiteral("0"));
    TWezel *pierwszy = w;
    for (int i = 1; i < 200000; ++i)
      w = d.Dodaj(w);
    QCOMPARE(w->Poziom(), 199999);
    TWskaznikWezla ostatni = w;
    d.Usun(pierwszy);
    QVERIFY(!ostatni);
    QCOMPARE(d.LiczbaGlownych(), 0);
  }

private:
  static QString Opis(const TDrzewo &d, const TWezel *rodzic = nullptr)
  {
    QStringList czesci;
    const int n = rodzic ? rodzic->LiczbaDzieci() : d.LiczbaGlownych();
    for (int i = 0; i < n; ++i) {
      const TWezel *w = rodzic ? rodzic->Dziecko(i) : d.Glowny(i);
      czesci << (w->LiczbaDzieci() ? w->Tekst() + u'(' + Opis(d, w) + u')' : w->Tekst());
    }
    return czesci.join(u' ');
  }
};

PAPLANKI_TEST_MAIN(TestDrzewo)
#include "test_Drzewo.moc"
