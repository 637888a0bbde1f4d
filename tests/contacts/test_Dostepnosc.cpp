// The window as a screen reader and a keyboard user meet it: names and states read through the
// accessibility interface, the status dialog from the menu by its shortcut, Tab in visual order,
// status panels that never cut their text.

#include "app/ui/PasekStanu.h"
#include "common/OknoGlowne.h"
#include "common/Srodowisko.h"
#include "contacts/ModelDrzewa.h"
#include "contacts/ui/WidokDrzewa.h"
#include "dialogs/ui/FrmStan.h"
#include "dialogs/ui/KatalogFrm.h"
#include "dialogs/ui/MojeDaneFrm.h"
#include "gg/Sesja.h"
#include "gg/SesjaPakiety.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QTreeView>

#include <memory>

namespace {

QString Nazwa(QObject *o)
{
  QAccessibleInterface *i = QAccessible::queryAccessibleInterface(o);
  return i ? i->text(QAccessible::Name) : QStringLiteral("<brak>");
}

// The accessible item of the tree read aloud as `tekst`, searched the way a reader walks it.
QAccessibleInterface *Pozycja(QAccessibleInterface *drzewo, const QString &tekst)
{
  for (int i = 0; i < drzewo->childCount(); ++i) {
    QAccessibleInterface *c = drzewo->child(i);
    if (c && c->text(QAccessible::Name) == tekst)
      return c;
  }
  return nullptr;
}

// The widgets Tab visits from `od`, in order, until it comes back.
QList<QWidget *> KolejnoscTab(QWidget *od)
{
  QList<QWidget *> wynik{od};
  for (QWidget *w = od->nextInFocusChain(); w && w != od; w = w->nextInFocusChain()) {
    if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(od->window()) &&
        w->window() == od->window() &&
        // The edit inside a spin box is the box itself.
        !qobject_cast<QAbstractSpinBox *>(w->parentWidget()))
      wynik << w;
  }
  return wynik;
}

} // namespace

class TestDostepnosc : public QObject {
  Q_OBJECT
private slots:
  void initTestCase()
  {
    WylaczSprawdzanieWersji();
    QApplication::setQuitOnLastWindowClosed(false);
    FrmStan = new TFrmStan;
  }
  void cleanupTestCase()
  {
    delete FrmStan;
    FrmStan = nullptr;
  }

  void nazwyOkna()
  {
    UsunUstawieniaOkna();
    ZapiszKontoTestowe();
    TOknoGlowneTestowe okno;
    QCOMPARE(Nazwa(okno.TreeView1), QStringLiteral("Rozmowy"));
    // Each panel is named, and its text follows the name.
    QCOMPARE(Nazwa(okno.StatusBar1->Panel(0)), QStringLiteral("Stan"));
    QCOMPARE(Nazwa(okno.StatusBar1->Panel(1)), QStringLiteral("Opis stanu"));
    QCOMPARE(Nazwa(okno.StatusBar1->Panel(2)), QStringLiteral("Połączenie"));
    okno.UstawPanel(TFrmPaplankiMain::PanelZdarzen, QStringLiteral("Połączony z serwerem"));
    QCOMPARE(Nazwa(okno.StatusBar1->Panel(2)), QStringLiteral("Połączenie: Połączony z serwerem"));
    QCOMPARE(okno.StatusBar1->Panel(2)->text(), QStringLiteral("Połączony z serwerem"));
    okno.UstawPanel(TFrmPaplankiMain::PanelZdarzen, QString());
    QCOMPARE(Nazwa(okno.StatusBar1->Panel(2)), QStringLiteral("Połączenie"));

    MojeDaneFrm = new TMojeDaneFrm;
    QCOMPARE(Nazwa(MojeDaneFrm->PlecRG), QStringLiteral("Płeć"));
    QCOMPARE(Nazwa(MojeDaneFrm->ObrazekImg), QStringLiteral("Obrazek z kodem"));
    QCOMPARE(Nazwa(MojeDaneFrm->ObrazekEd), QStringLiteral("Kod z obrazka"));
    delete MojeDaneFrm;
    MojeDaneFrm = nullptr;
    TKatalog stanKatalogu;
    TKatalogFrm katalog(stanKatalogu);
    QCOMPARE(Nazwa(katalog.PlecRG), QStringLiteral("Płeć"));
  }

  // Each message node says what its bold text and state picture show.
  void stanWiadomosci()
  {
    UsunUstawieniaOkna();
    ZapiszKontoTestowe();
    TOknoGlowneTestowe okno;
    okno.show();
    QVERIFY(QTest::qWaitForWindowExposed(&okno));
    TDrzewo &d = okno.Drzewo;
    TWezel *kontakt = d.DodajUzytkownika(1001, {}, {}, {}, {}, QStringLiteral("Ala"), 3);
    struct TPrzypadek {
      QString tekst;
      int obrazStanu;
      bool pogrubiony;
      QString opis;
    };
    const QList<TPrzypadek> przypadki{
        {QStringLiteral("nowa"), -1, true, QStringLiteral("Wiadomość, nieprzeczytana")},
        {QStringLiteral("czytana"), -1, false, QStringLiteral("Wiadomość")},
        {QStringLiteral("wysłana"), 10, false, QStringLiteral("Wiadomość, niepotwierdzona")},
        {QStringLiteral("doszła"), 2, false, QStringLiteral("Wiadomość, dostarczona")},
        {QStringLiteral("czeka"), 8, false, QStringLiteral("Wiadomość, zakolejkowana")},
    };
    QList<TWezel *> wezly;
    for (const TPrzypadek &p : przypadki) {
      TWezel *w = DodajWypowiedz(d, kontakt, p.tekst, 1001);
      w->UstawObrazStanu(p.obrazStanu);
      if (p.pogrubiony)
        d.UstawStanWezla(w, StanWezla::Pogrubiony, StanWezla::Pogrubiony);
      wezly << w;
    }
    okno.TreeView1->expandAll();
    QAccessibleInterface *drzewo = QAccessible::queryAccessibleInterface(okno.TreeView1);
    QVERIFY(drzewo);
    QCOMPARE(drzewo->text(QAccessible::Name), QStringLiteral("Rozmowy"));
    for (const TPrzypadek &p : przypadki) {
      QAccessibleInterface *pozycja = Pozycja(drzewo, p.tekst);
      QVERIFY2(pozycja, qPrintable(p.tekst));
      QCOMPARE(pozycja->text(QAccessible::Description), p.opis);
    }
    // A contact is no message: no description.
    QCOMPARE(Pozycja(drzewo, QStringLiteral("Ala"))->text(QAccessible::Description), QString());

    // The state follows the node: the acknowledgement and the reading change what is read.
    wezly[2]->UstawObrazStanu(2);
    d.UstawStanWezla(wezly[0], 0, StanWezla::Pogrubiony);
    QCOMPARE(Pozycja(drzewo, QStringLiteral("wysłana"))->text(QAccessible::Description),
             QStringLiteral("Wiadomość, dostarczona"));
    QCOMPARE(Pozycja(drzewo, QStringLiteral("nowa"))->text(QAccessible::Description),
             QStringLiteral("Wiadomość"));
  }

  // "Zmień stan..." with its shortcut opens the status dialog on the current status.
  void zmianaStanuZKlawiatury()
  {
    UsunUstawieniaOkna();
    ZapiszKontoTestowe();
    TOknoGlowneTestowe okno;
    okno.show();
    QVERIFY(QTest::qWaitForWindowActive(&okno));
    QCOMPARE(okno.ZmienStan1->text(), QStringLiteral("Zmień stan..."));
    QVERIFY(okno.FileMenu->actions().contains(okno.ZmienStan1));
    QVERIFY(!okno.ZmienStan1->shortcut().isEmpty());
    okno.Sesja().UstawStan(StanGG::Zajety, QStringLiteral("obiad"));
    QCOMPARE(okno.Sesja().StanWlasny(), StanGG::ZajetyZOpisem);

    int wstepnie = -2;
    QWidget *fokus = nullptr;
    bool otwarte = false;
    OdpowiedzNaOknoModalne([&](QWidget *w) {
      otwarte = w == FrmStan;
      wstepnie = FrmStan->ItemIndex();
      fokus = FrmStan->focusWidget();
      w->close();
    });
    QTest::keySequence(&okno, okno.ZmienStan1->shortcut());
    QVERIFY(otwarte);
    QCOMPARE(wstepnie, TFrmStan::IndeksStanu(StanGG::Zajety));
    QCOMPARE(fokus, FrmStan->Pozycja(wstepnie));
  }

  void kolejnoscTab()
  {
    TFrmStan stan;
    stan.UstawItemIndex(1);
    stan.show();
    QCOMPARE(
        KolejnoscTab(stan.Pozycja(0)).mid(5),
        (QList<QWidget *>{stan.CBDlaPrzyjaciol, stan.InformacjaEd, stan.UwzglednijCzasPowrotuCB,
                          stan.DataDTP, stan.CzasDTP, stan.BitBtn1, stan.BitBtn2}));
    QCOMPARE(KolejnoscTab(stan.Pozycja(0)).first(5),
             (QList<QWidget *>{stan.Pozycja(0), stan.Pozycja(1), stan.Pozycja(2), stan.Pozycja(3),
                               stan.Pozycja(4)}));

    TKatalog stanKatalogu;

    TKatalogFrm k(stanKatalogu);
    k.show();
    const QList<QWidget *> katalog = KolejnoscTab(k.NumerEd);
    QCOMPARE(katalog.first(6), (QList<QWidget *>{k.NumerEd, k.ImieEd, k.NazwiskoEd, k.PseudonimEd,
                                                 k.MiejscowoscEd, k.UrodzonyaEd}));
    QCOMPARE(katalog.mid(9), (QList<QWidget *>{k.TylkoAktywniCB, k.WyszukiwajBB, k.BitBtn1,
                                               k.ZamknijBB, k.ListView1}));
  }

  // The account dialog: the private group, the public one, then OK and Anuluj; the groups
  // sit in a scrolled area, which must not move them behind the buttons.
  void kolejnoscTabKonta()
  {
    TMojeDaneFrm d;
    d.show();
    const QList<QWidget *> kolejnosc = KolejnoscTab(d.NowyRB);
    const QList<QWidget *> oczekiwana{d.NowyRB,      d.IstniejacyRB, d.NumerEd,
                                      d.HasloEd,     d.ImieEd,       d.NazwiskoEd,
                                      d.PseudonimEd, d.UrodzonyaEd,  d.MiejscowoscEd};
    QCOMPARE(kolejnosc.first(oczekiwana.size()), oczekiwana);
    QCOMPARE(kolejnosc.mid(kolejnosc.size() - 2), (QList<QWidget *>{d.BitBtn1, d.BitBtn2}));
  }

  void panelMiesciTekst()
  {
    UsunUstawieniaOkna();
    ZapiszKontoTestowe();
    TOknoGlowneTestowe okno;
    okno.resize(700, 300);
    okno.show();
    QVERIFY(QTest::qWaitForWindowExposed(&okno));
    QLabel *panel = okno.StatusBar1->Panel(0);
    // Never below its designed width.
    QTRY_VERIFY(panel->width() >= 70);
    const QString dlugi = QStringLiteral("Niedostępny z opisem");
    okno.UstawPanel(TFrmPaplankiMain::PanelStanu, dlugi);
    const int potrzeba = panel->fontMetrics().horizontalAdvance(dlugi);
    QTRY_VERIFY2(
        panel->contentsRect().width() >= potrzeba,
        qPrintable(QStringLiteral("%1 < %2").arg(panel->contentsRect().width()).arg(potrzeba)));
  }
};

PAPLANKI_TEST_MAIN(TestDostepnosc)
#include "test_Dostepnosc.moc"
