// The main window's start-up, first show, components and the test view.

#include "app/Lokalizacje.h"
#include "app/ui/PasekStanu.h"
#include "common/OknaPowloki.h"
#include "common/OknoGlowne.h"
#include "common/Srodowisko.h"
#include "contacts/ModelDrzewa.h"
#include "contacts/ui/WidokDrzewa.h"
#include "dialogs/ui/MojeDaneFrm.h"
#include "gg/Sesja.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <memory>

namespace {

QStringList Glowne(const TDrzewo &d)
{
  QStringList teksty;
  for (int i = 0; i < d.LiczbaGlownych(); ++i)
    teksty << d.Glowny(i)->Tekst();
  return teksty;
}

QStringList Dzieci(const TWezel *w)
{
  QStringList teksty;
  for (int i = 0; i < w->LiczbaDzieci(); ++i)
    teksty << w->Dziecko(i)->Tekst();
  return teksty;
}

void ZapiszKontakt(const QString &numer, const QString &opis, const QString &sledzony = QString())
{
  ZapiszUstawienieOkna(QStringLiteral("Sledzeni/%1/Opis").arg(numer), opis);
  if (!sledzony.isEmpty())
    ZapiszUstawienieOkna(QStringLiteral("Sledzeni/%1/Sledzony").arg(numer), sledzony);
}

const QString Wskazowka = QStringLiteral(
    "Użyj prawego klawisza myszki do dodania śledzonych użytkowników, insert''em odpowiadaj.");

} // namespace

class TestFrmPaplankiMainStart : public QObject {
  Q_OBJECT

  std::unique_ptr<TOknoGlowneTestowe> m_okno;

  // The first show with its modal windows answered: the account dialog (rejected) and then the
  // message box. Returns the object names of the dialogs in order and the box read.
  std::shared_ptr<TOdczytanyKomunikat> PokazPierwszyRaz(QStringList &okna)
  {
    auto komunikat = std::make_shared<std::shared_ptr<TOdczytanyKomunikat>>();
    OdpowiedzNaOknoModalne(
        [&okna, komunikat](QWidget *okno) {
          okna << okno->objectName();
          *komunikat = OdpowiedzNaKomunikat(QString(), 2000);
          if (auto *dialog = qobject_cast<QDialog *>(okno))
            dialog->reject();
        },
        1000);
    m_okno->show();
    QTest::qWait(1100); // the watcher runs out, so it answers no window of a later test
    return *komunikat;
  }

private slots:
  void initTestCase()
  {
    WylaczSprawdzanieWersji();
    QApplication::setQuitOnLastWindowClosed(false);
    MojeDaneFrm = new TMojeDaneFrm;
  }
  void cleanupTestCase()
  {
    delete MojeDaneFrm;
    MojeDaneFrm = nullptr;
  }
  void init() { UsunUstawieniaOkna(); }
  void cleanup() { m_okno.reset(); }

  void skladniki()
  {
    ZapiszKontoTestowe();
    m_okno = std::make_unique<TOknoGlowneTestowe>();
    QCOMPARE(m_okno->windowTitle(), QStringLiteral("Paplanki (GG)"));

    TPasekStanu *pasek = m_okno->StatusBar1;
    QVERIFY(!pasek->TrybProsty());
    QCOMPARE(pasek->LiczbaPaneli(), 3);
    const int szerokosci[] = {70, 150, 50};
    for (int i = 0; i < 3; ++i) {
      QVERIFY(qobject_cast<QLabel *>(pasek->Panel(i)));
      if (i < 2)
        QCOMPARE(pasek->Panel(i)->minimumWidth(), szerokosci[i]);
    }
    m_okno->UstawPanel(TFrmPaplankiMain::PanelZdarzen, QStringLiteral("Połączony z serwerem"));
    QCOMPARE(pasek->Panel(2)->text(), QStringLiteral("Połączony z serwerem"));

    // Toolbar: the two buttons with their captions, then the exit button.
    QList<QWidget *> przyciski;
    for (QAction *a : m_okno->MainToolbar->actions())
      przyciski << m_okno->MainToolbar->widgetForAction(a);
    QCOMPARE(przyciski, (QList<QWidget *>{m_okno->PolaczTB, m_okno->SzukajTB, m_okno->ExitBtn}));
    QCOMPARE(m_okno->PolaczTB->text(), QStringLiteral("&Połącz"));
    QVERIFY(m_okno->PolaczTB->isCheckable());
    QCOMPARE(m_okno->SzukajTB->text(), QStringLiteral("&Szukaj"));

    // "&Paplanki" first, "&Szukaj" above the inherited items.
    QMenu *pierwsze = m_okno->MainMenu->actions().first()->menu();
    QCOMPARE(pierwsze, m_okno->FileMenu);
    QCOMPARE(pierwsze->title(), QStringLiteral("&Paplanki"));
    QCOMPARE(OpisMenu(pierwsze), QStringLiteral("&Szukaj | Zmień stan... | - | &Zamknij"));

    QCOMPARE(m_okno->TreeView1->model(), m_okno->Model);
    QCOMPARE(m_okno->TreeView1->indentation(), 19);
    QCOMPARE(m_okno->centralWidget(), m_okno->TreeView1);
    QCOMPARE(m_okno->WybranyWezel.get(), nullptr);
    TSesjaGG &sesja = m_okno->Sesja();
    QVERIFY(!sesja.PingWlaczony() && !sesja.CzekaNaLaczenie() && !m_okno->IdleTmr.isActive());
    QCOMPARE(sesja.InterwalZegaraPingu(), 3256);
    QCOMPARE(m_okno->IdleTmr.interval(), 50000);
    QCOMPARE(sesja.StanGG(), gsClosed);
    QCOMPARE(sesja.StanHttp(), gsClosed);
  }

  void przyciskPolacz_data()
  {
    QTest::addColumn<QString>("zapisane");
    QTest::addColumn<bool>("wcisniety");
    QTest::newRow("domyślnie") << QString() << true;
    QTest::newRow("wyłączone") << QStringLiteral("0") << false;
    QTest::newRow("dwa") << QStringLiteral("2") << true;
  }
  void przyciskPolacz()
  {
    QFETCH(QString, zapisane);
    QFETCH(bool, wcisniety);
    ZapiszKontoTestowe();
    // A lookup goes to this machine, where nothing answers on port 80.
    ZapiszUstawienieOkna(QStringLiteral("Ustawienia/SerwerAlternatywny"), QStringLiteral("1"));
    if (zapisane.isNull())
      UsunUstawienieOkna(QStringLiteral("Ustawienia/Przylaczaj"));
    else
      ZapiszUstawienieOkna(QStringLiteral("Ustawienia/Przylaczaj"), zapisane);
    m_okno = std::make_unique<TOknoGlowneTestowe>();
    QCOMPARE(m_okno->PolaczTB->isChecked(), wcisniety);
    // Down at start: the session looks for a server at once.
    QCOMPARE(m_okno->TekstPanelu(TFrmPaplankiMain::PanelZdarzen),
             wcisniety ? QStringLiteral("Pobieranie adresu serwera komunikacyjnego...")
                       : QString());
    m_okno->UstawPanel(TFrmPaplankiMain::PanelZdarzen, QString());
    m_okno->PolaczTB->click();
    QCOMPARE(m_okno->PolaczTB->isChecked(), !wcisniety);
    QCOMPARE(CzytajUstawienieOkna(QStringLiteral("Ustawienia/Przylaczaj")),
             wcisniety ? QStringLiteral("0") : QStringLiteral("1"));
    // Released: "not available" is announced; pressed: a fresh lookup.
    if (wcisniety)
      QCOMPARE(m_okno->TekstPanelu(TFrmPaplankiMain::PanelStanu), QStringLiteral("Niedostępny"));
    else
      QCOMPARE(m_okno->TekstPanelu(TFrmPaplankiMain::PanelZdarzen),
               QStringLiteral("Pobieranie adresu serwera komunikacyjnego..."));
  }

  void kontaktyZRejestruWKolejnosciBazy()
  {
    ZapiszKontoTestowe();
    ZapiszKontakt(QStringLiteral("3"), QStringLiteral("Trzy"));
    ZapiszKontakt(QStringLiteral("20"), QStringLiteral("Dwadzieścia"), QStringLiteral("1"));
    ZapiszKontakt(QStringLiteral("100"), QStringLiteral("Sto"));
    m_okno = std::make_unique<TOknoGlowneTestowe>();
    // The store lists its keys as text: "100" < "20" < "3".
    QCOMPARE(Glowne(m_okno->Drzewo),
             (QStringList{QStringLiteral("Sto"), QStringLiteral("Dwadzieścia"),
                          QStringLiteral("Trzy")}));
    const int numery[] = {100, 20, 3};
    const int sledzone[] = {3, 1, 3};
    for (int i = 0; i < 3; ++i) {
      TWezel *w = m_okno->Drzewo.Glowny(i);
      QCOMPARE(w->DaneJako<TUzytkownik>()->Numer(), numery[i]);
      QCOMPARE(w->DaneJako<TUzytkownik>()->Sledzony, sledzone[i]);
      QVERIFY(m_okno->Drzewo.MaStanWezla(w, StanWezla::Wyciety));
      QCOMPARE(m_okno->Model->index(i, 0).data().toString(), w->Tekst());
    }
    QCOMPARE(m_okno->Drzewo.ZnajdzUzytkownika(20), m_okno->Drzewo.Glowny(1));
    QVERIFY(m_okno->Baza);
    QCOMPARE(m_okno->Sesja().NumerWlasny(), 4321);
    QCOMPARE(m_okno->Sesja().HasloWlasne(), QStringLiteral("tajne"));
    // A stored account: the first show asks nothing.
    QStringList okna;
    auto komunikat = PokazPierwszyRaz(okna);
    QVERIFY(okna.isEmpty());
  }

  // What a screen reader gets: every caption of the tree, the panels' texts, the buttons' names.
  void czytnikEkranu()
  {
    ZapiszKontoTestowe();
    ZapiszKontakt(QStringLiteral("3"), QStringLiteral("Trzy"));
    ZapiszKontakt(QStringLiteral("20"), QStringLiteral("Dwadzieścia"));
    m_okno = std::make_unique<TOknoGlowneTestowe>();
    DodajWypowiedz(m_okno->Drzewo, m_okno->Drzewo.Glowny(1), QStringLiteral("Cześć"), 3);
    m_okno->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_okno.get()));
    m_okno->TreeView1->expandAll();

    QAccessibleInterface *drzewo = QAccessible::queryAccessibleInterface(m_okno->TreeView1);
    QVERIFY(drzewo);
    QCOMPARE(drzewo->role(), QAccessible::Tree);
    QStringList nazwy;
    for (int i = 0; i < drzewo->childCount(); ++i)
      if (QAccessibleInterface *dziecko = drzewo->child(i))
        if (dziecko->role() == QAccessible::TreeItem)
          nazwy << dziecko->text(QAccessible::Name);
    QCOMPARE(nazwy, (QStringList{QStringLiteral("Dwadzieścia"), QStringLiteral("Trzy"),
                                 QStringLiteral("Cześć")}));

    m_okno->UstawPanel(TFrmPaplankiMain::PanelOpisu, QStringLiteral("w pracy"));
    QAccessibleInterface *panel =
        QAccessible::queryAccessibleInterface(m_okno->StatusBar1->Panel(1));
    QVERIFY(panel);
    QCOMPARE(panel->text(QAccessible::Name), QStringLiteral("Opis stanu: w pracy"));
    QAccessibleInterface *polacz = QAccessible::queryAccessibleInterface(m_okno->PolaczTB);
    QCOMPARE(polacz->text(QAccessible::Name), QStringLiteral("Połącz"));
    QVERIFY(polacz->state().checkable);
  }

  void nienumerycznyUzytkownik()
  {
    ZapiszUstawienieOkna(QStringLiteral("Ustawienia/OstatniUzytkownik"), QStringLiteral("abc"));
    ZapiszUstawienieOkna(QStringLiteral("Ustawienia/OstatnieHasloUzytkownika"),
                         QStringLiteral("tajne"));
    ZapiszKontakt(QStringLiteral("55"), QStringLiteral("Pięćdziesiąt pięć"));
    auto blad = OdpowiedzNaKomunikat();
    m_okno = std::make_unique<TOknoGlowneTestowe>();
    QTRY_VERIFY(blad->Pokazany);
    QCOMPARE(blad->Tytul, QStringLiteral("Paplanki (GG) - Błąd"));
    QCOMPARE(blad->Tekst, QStringLiteral("„abc” nie jest liczbą"));
    QCOMPARE(blad->Ikona, QMessageBox::Critical);
    // The session was not started: no account is held. What came before still happened.
    QCOMPARE(m_okno->Sesja().NumerWlasny(), -1);
    QVERIFY(m_okno->Sesja().HasloWlasne().isEmpty());
    QCOMPARE(Glowne(m_okno->Drzewo), QStringList{QStringLiteral("Pięćdziesiąt pięć")});

    QStringList okna;
    auto wskazowka = PokazPierwszyRaz(okna);
    QCOMPARE(okna, QStringList{QStringLiteral("MojeDaneFrm")});
    QVERIFY(wskazowka && wskazowka->Pokazany);
    QCOMPARE(wskazowka->Tytul, QStringLiteral("Paplanki (GG) - Informacja"));
    QCOMPARE(wskazowka->Tekst, Wskazowka);
    QCOMPARE(wskazowka->Ikona, QMessageBox::Information);
    QCOMPARE(wskazowka->Przyciski, QStringList{QStringLiteral("OK")});
  }

  void bezKonta_data()
  {
    QTest::addColumn<QString>("numer");
    QTest::addColumn<QString>("haslo");
    QTest::addColumn<bool>("pyta");
    QTest::newRow("świeży użytkownik") << QString() << QString() << true;
    QTest::newRow("numer -1") << QStringLiteral("-1") << QStringLiteral("tajne") << true;
    QTest::newRow("puste hasło") << QStringLiteral("4321") << QStringLiteral("") << true;
    QTest::newRow("pełne konto") << QStringLiteral("4321") << QStringLiteral("x") << false;
  }
  void bezKonta()
  {
    QFETCH(QString, numer);
    QFETCH(QString, haslo);
    QFETCH(bool, pyta);
    if (!numer.isNull())
      ZapiszUstawienieOkna(QStringLiteral("Ustawienia/OstatniUzytkownik"), numer);
    if (!haslo.isNull())
      ZapiszUstawienieOkna(QStringLiteral("Ustawienia/OstatnieHasloUzytkownika"), haslo);
    ZapiszUstawienieOkna(QStringLiteral("Ustawienia/Przylaczaj"), QStringLiteral("0"));
    m_okno = std::make_unique<TOknoGlowneTestowe>();
    if (numer.isNull()) {
      QCOMPARE(m_okno->Sesja().NumerWlasny(), -1);
      QCOMPARE(m_okno->Sesja().HasloWlasne(), QStringLiteral("?????"));
    }
    QStringList okna;
    auto wskazowka = PokazPierwszyRaz(okna);
    QCOMPARE(okna.size(), pyta ? 1 : 0);
    QCOMPARE(wskazowka && wskazowka->Pokazany, pyta);
  }

  void zamkniecieZapisujeDwieWartosci()
  {
    ZapiszKontoTestowe();
    m_okno = std::make_unique<TOknoGlowneTestowe>();
    m_okno->show();
    m_okno->Ustawienia().UstawNumerOstatniejInformacji(17);
    m_okno->Ustawienia().UstawOstatniAdresat(QStringLiteral("12345"));
    QVERIFY(
        CzytajUstawienieOkna(QStringLiteral("Ustawienia/OstatniaInformacjaSystemowa")).isEmpty());
    QVERIFY(m_okno->close());
    QCOMPARE(CzytajUstawienieOkna(QStringLiteral("Ustawienia/OstatniaInformacjaSystemowa")),
             QStringLiteral("17"));
    QCOMPARE(CzytajUstawienieOkna(QStringLiteral("Ustawienia/OstatniAdresat")),
             QStringLiteral("12345"));
    // The frame's own closing work follows.
    QVERIFY(!CzytajUstawienieOkna(QStringLiteral("StareRozmiary/Szerokość")).isEmpty());
  }

  void widokTestowy()
  {
    ZapiszKontoTestowe();
    ZapiszKontakt(QStringLiteral("7"), QStringLiteral("Siedem"));
    ZapiszUstawienieOkna(QStringLiteral("Ustawienia/Testowanie"), QStringLiteral("1"));
    m_okno = std::make_unique<TOknoGlowneTestowe>();
    m_okno->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_okno.get()));
    TDrzewo &d = m_okno->Drzewo;
    const QStringList galezie{QStringLiteral("Nazwiska"), QStringLiteral("Miejscowości"),
                              QStringLiteral("Telefony"), QStringLiteral("Emaile")};
    QCOMPARE(Glowne(d),
             QStringList{QStringLiteral("Siedem")} << QStringLiteral("Imiona") << galezie);
    for (int i = 1; i < d.LiczbaGlownych(); ++i)
      QVERIFY(d.Glowny(i)->DaneJako<TAtrybut>());

    // Drill down four levels: each selected attribute node gets an expand button, and expanding
    // it gives four fresh attribute children.
    TWidokDrzewa *widok = m_okno->TreeView1;
    TWezel *w = d.Glowny(1);
    for (int poziom = 0; poziom < 4; ++poziom) {
      QVERIFY(!m_okno->Model->hasChildren(m_okno->Model->Indeks(w)));
      m_okno->Zaznacz(w);
      QVERIFY(m_okno->Model->hasChildren(m_okno->Model->Indeks(w)));
      widok->expand(m_okno->Model->Indeks(w));
      QCOMPARE(Dzieci(w), galezie);
      QVERIFY(widok->isExpanded(m_okno->Model->Indeks(w)));
      QCOMPARE(m_okno->Model->rowCount(m_okno->Model->Indeks(w)), 4);
      w = w->Dziecko(poziom % 4);
      QVERIFY(w->DaneJako<TAtrybut>());
    }
    QCOMPARE(w->Poziom(), 4);
    // Expanding again replaces the children instead of adding more.
    TWezel *gora = d.Glowny(1);
    widok->collapse(m_okno->Model->Indeks(gora));
    widok->expand(m_okno->Model->Indeks(gora));
    QCOMPARE(Dzieci(gora), galezie);
    QCOMPARE(gora->Dziecko(0)->LiczbaDzieci(), 0);
    // A contact is not an attribute node: no drill-down.
    widok->expand(m_okno->Model->Indeks(d.Glowny(0)));
    QCOMPARE(d.Glowny(0)->LiczbaDzieci(), 0);
  }

  void bezTestowaniaBrakAtrybutow()
  {
    ZapiszKontoTestowe();
    m_okno = std::make_unique<TOknoGlowneTestowe>();
    QCOMPARE(m_okno->Drzewo.LiczbaGlownych(), 0);
  }
};

PAPLANKI_TEST_MAIN(TestFrmPaplankiMainStart)
#include "test_FrmPaplankiMainStart.moc"
