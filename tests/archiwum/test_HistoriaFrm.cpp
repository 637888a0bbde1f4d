// The history window over a real archive: newest last, threaded, loaded lazily in both
// directions, searched and jumped through by keyboard only, exported; and opened from the main
// window's contact popup and its key.

#include "archiwum/Archiwum.h"
#include "archiwum/ArchiwumDrzewa.h"
#include "archiwum/ModelRozmowy.h"
#include "archiwum/ui/HistoriaFrm.h"
#include "common/OknoGlowne.h"
#include "common/Srodowisko.h"
#include "contacts/Galezie.h"
#include "contacts/ui/WidokDrzewa.h"

#include <QAccessible>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <memory>

namespace {

// A tree with an archive beneath it, filled through the tree as the program fills it.
struct TRozmowy {
  QTemporaryDir katalog;
  TDrzewo drzewo;
  TArchiwum archiwum;
  std::unique_ptr<TArchiwumDrzewa> straz;
  TWezel *ala = nullptr;

  TRozmowy()
  {
    archiwum.Otworz(katalog.filePath(QStringLiteral("Archiwum.sqlite")));
    straz = std::make_unique<TArchiwumDrzewa>(drzewo, archiwum);
    ala = drzewo.DodajUzytkownika(1001, {}, {}, {}, {}, QStringLiteral("Ala"), 3);
  }
  ~TRozmowy() { straz.reset(); }

  TWezel *Napisana(TWezel *rodzic, int numer, const QString &tekst)
  {
    TWezel *w = drzewo.Dodaj(rodzic, tekst);
    w->UstawDane(std::make_shared<TWypowiedz>(
        w, std::make_unique<TDaneDodatkowe>(2, numer, 0, 1, QDateTime::currentDateTime()), tekst));
    return w;
  }
  TWezel *Odebrana(TWezel *rodzic, int numer, const QString &tekst)
  {
    TWezel *w = drzewo.Dodaj(rodzic, tekst);
    w->UstawDane(std::make_shared<TWypowiedz>(
        nullptr, std::make_unique<TDaneDodatkowe>(2, numer, 1719835200, 1, QDateTime()), tekst));
    return w;
  }
};

QString Wiersz(const THistoriaFrm &h, int wiersz)
{
  return h.Model->index(wiersz).data().toString();
}

} // namespace

class TestHistoriaFrm : public QObject {
  Q_OBJECT

private slots:
  void initTestCase()
  {
    WylaczSprawdzanieWersji();
    QApplication::setQuitOnLastWindowClosed(false);
  }

  void watekNajnowszeNaKoncu()
  {
    TRozmowy r;
    TWezel *pytanie = r.Odebrana(r.ala, 1001, QStringLiteral("Idziesz?"));
    TWezel *odpowiedz = r.Napisana(pytanie, 1001, QStringLiteral("Tak"));
    r.Odebrana(odpowiedz, 1001, QStringLiteral("To <b>super</b>"));
    r.Napisana(r.ala, 1001, QStringLiteral("Osobno"));
    r.Odebrana(r.drzewo.DodajUzytkownika(1002, {}, {}, {}, {}, QStringLiteral("B"), 3), 1002,
               QStringLiteral("Nie ta rozmowa"));
    r.archiwum.Zaczekaj();

    THistoriaFrm h(r.archiwum);
    h.Pokaz(1001);
    QCOMPARE(h.Model->rowCount(), 4);
    QVERIFY(Wiersz(h, 0).startsWith(u'('));
    QVERIFY(Wiersz(h, 0).endsWith(QStringLiteral("1001: Idziesz?")));
    // Each answer one step deeper than what it answers, marked as an answer.
    QVERIFY(Wiersz(h, 1).startsWith(QStringLiteral("  ↳ (")));
    QVERIFY(Wiersz(h, 1).endsWith(QStringLiteral("Ja: Tak [dostarczona]")));
    QVERIFY(Wiersz(h, 2).startsWith(QStringLiteral("    ↳ (")));
    QVERIFY(Wiersz(h, 3).startsWith(u'('));
    QCOMPARE(h.Model->index(2).data(TModelRozmowy::RolaGlebokosc).toInt(), 2);
    // The newest is selected and has the focus.
    QCOMPARE(h.RozmowaLV->currentIndex().row(), 3);
    QCOMPARE(h.RozmowaLbl->text(), QStringLiteral("&Rozmowa z 1001:"));

    QTemporaryDir katalog;
    const QString txt = katalog.filePath(QStringLiteral("r.txt"));
    const QString html = katalog.filePath(QStringLiteral("r.html"));
    QVERIFY(h.Eksportuj(txt, false));
    QVERIFY(h.Eksportuj(html, true));
    QFile f(txt);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList linie = QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(linie, (QStringList{Wiersz(h, 0), Wiersz(h, 1), Wiersz(h, 2), Wiersz(h, 3)}));
    QFile g(html);
    QVERIFY(g.open(QIODevice::ReadOnly));
    const QString strona = QString::fromUtf8(g.readAll());
    QVERIFY(strona.contains(QStringLiteral("To &lt;b&gt;super&lt;/b&gt;")));
    QVERIFY(!strona.contains(QStringLiteral("<b>")));
    QVERIFY(strona.contains(QStringLiteral("margin-left:2em")));
    QVERIFY(!strona.contains(QStringLiteral("Nie ta rozmowa")));
    QVERIFY(!h.Eksportuj(katalog.filePath(QStringLiteral("brak/r.txt")), false));

    // By keyboard: Alt+E, the file dialog with the HTML filter chosen.
    const QString zPrzycisku = katalog.filePath(QStringLiteral("z-przycisku"));
    OdpowiedzNaOknoModalne([&](QWidget *w) {
      auto *dialog = qobject_cast<QFileDialog *>(w);
      if (!dialog) {
        w->close();
        return;
      }
      dialog->selectNameFilter(QStringLiteral("Strona HTML (*.html)"));
      dialog->selectFile(zPrzycisku);
      QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    h.show();
    h.activateWindow();
    QTRY_VERIFY(h.isActiveWindow());
    QTest::keyClick(&h, Qt::Key_E, Qt::AltModifier);
    QTRY_VERIFY(QFile::exists(zPrzycisku) || QFile::exists(zPrzycisku + QStringLiteral(".html")));
    QFile z(QFile::exists(zPrzycisku) ? zPrzycisku : zPrzycisku + QStringLiteral(".html"));
    QVERIFY(z.open(QIODevice::ReadOnly));
    QVERIFY(z.readAll().startsWith("<!DOCTYPE html>"));
  }

  void leniwieWObieStrony()
  {
    TRozmowy r;
    const int ile = 2 * TModelRozmowy::Strona + 50;
    for (int i = 0; i < ile; ++i)
      r.Napisana(r.ala, 1001, QStringLiteral("wiadomość %1").arg(i));
    r.archiwum.Zaczekaj();

    THistoriaFrm h(r.archiwum);
    h.Pokaz(1001);
    QVERIFY(QTest::qWaitForWindowExposed(&h));
    // Only the newest page, its last row in view.
    QCOMPARE(h.Model->rowCount(), TModelRozmowy::Strona);
    QVERIFY(
        Wiersz(h, TModelRozmowy::Strona - 1).contains(QStringLiteral("wiadomość %1").arg(ile - 1)));
    QVERIFY(!h.Model->canFetchMore({}));
    // At the top the next older page comes in front; the message shown stays in view.
    const QString bylaNaGorze = Wiersz(h, 0);
    h.RozmowaLV->verticalScrollBar()->setValue(h.RozmowaLV->verticalScrollBar()->minimum() + 1);
    h.RozmowaLV->verticalScrollBar()->setValue(h.RozmowaLV->verticalScrollBar()->minimum());
    QCOMPARE(h.Model->rowCount(), 2 * TModelRozmowy::Strona);
    QCOMPARE(h.RozmowaLV->indexAt(QPoint(1, 1)).data().toString(), bylaNaGorze);
    h.RozmowaLV->verticalScrollBar()->setValue(h.RozmowaLV->verticalScrollBar()->minimum() + 1);
    h.RozmowaLV->verticalScrollBar()->setValue(h.RozmowaLV->verticalScrollBar()->minimum());
    QCOMPARE(h.Model->rowCount(), ile);
    QVERIFY(!h.Model->SaStarsze());

    // Jumping to an old message loads the page ending there; newer ones follow on demand.
    const qint64 stara = r.archiwum.RozmowaPo(1001, 0, 11).value(10).id;
    QVERIFY(stara);
    h.Pokaz(1001, stara);
    QCOMPARE(h.RozmowaLV->currentIndex().data(TModelRozmowy::RolaId).toLongLong(), stara);
    QVERIFY(Wiersz(h, 0).endsWith(QStringLiteral("wiadomość 0 [dostarczona]")));
    // The view asks for as many newer ones as it can show, not for all of them.
    QVERIFY(h.Model->rowCount() < 11 + 2 * TModelRozmowy::Strona);
    QVERIFY(h.Model->canFetchMore({}));
    while (h.Model->canFetchMore({}))
      h.Model->fetchMore({});
    QCOMPARE(h.Model->rowCount(), ile);
  }

  void szukanieISkokSamaKlawiatura()
  {
    TRozmowy r;
    r.Odebrana(r.ala, 1001, QStringLiteral("Kupiłam żółwia"));
    r.Napisana(r.ala, 1001, QStringLiteral("Jak ma na imię?"));
    TWezel *bolek = r.drzewo.DodajUzytkownika(1002, {}, {}, {}, {}, QStringLiteral("B"), 3);
    r.Odebrana(bolek, 1002, QStringLiteral("Żółwie są wolne"));
    r.Odebrana(bolek, 1002, QStringLiteral("inne"));
    r.archiwum.Zaczekaj();

    THistoriaFrm h(r.archiwum);
    h.Pokaz(0);
    QVERIFY(QTest::qWaitForWindowExposed(&h));
    QVERIFY(!h.EksportujBtn->isEnabled());
    h.activateWindow();
    QTest::keyClick(&h, Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(h.SzukajEd->hasFocus());
    QTest::keyClicks(h.SzukajEd, QStringLiteral("zolw"));
    QTest::keyClick(h.SzukajEd, Qt::Key_Return);
    QCOMPARE(h.WynikiLW->count(), 2);
    QVERIFY(h.WynikiLW->item(0)->text().endsWith(QStringLiteral("1002: Żółwie są wolne")));
    QVERIFY(h.WynikiLW->hasFocus());
    QTest::keyClick(h.WynikiLW, Qt::Key_Down);
    QTest::keyClick(h.WynikiLW, Qt::Key_Return);
    QCOMPARE(h.Model->Numer(), 1001);
    QVERIFY(h.RozmowaLV->hasFocus());
    QVERIFY(
        h.RozmowaLV->currentIndex().data().toString().endsWith(QStringLiteral("Kupiłam żółwia")));
    QVERIFY(h.EksportujBtn->isEnabled());

    h.SzukajEd->setText(QStringLiteral("słoń"));
    h.Szukaj();
    QCOMPARE(h.WynikiLW->count(), 1);
    QCOMPARE(h.WynikiLW->item(0)->text(), QStringLiteral("Nic nie znaleziono."));
    QCOMPARE(h.WynikiLW->item(0)->flags(), Qt::NoItemFlags);

    // Every control is named for screen readers and reached by Tab.
    QWidgetList kolejnosc;
    QWidget *w = h.SzukajEd;
    do {
      kolejnosc << w;
      QVERIFY2(!QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty(),
               qPrintable(w->objectName()));
      w = w->nextInFocusChain();
      while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(&h) || w == &h)
        w = w->nextInFocusChain();
    } while (w != h.SzukajEd && kolejnosc.size() < 20);
    for (QWidget *kontrolka : QWidgetList{h.SzukajEd, h.SzukajBtn, h.WynikiLW, h.RozmowaLV,
                                          h.EksportujBtn, h.ZamknijBtn})
      QVERIFY2(kolejnosc.contains(kontrolka), qPrintable(kontrolka->objectName()));
  }

  void zOknaGlownego()
  {
    UsunUstawieniaOkna();
    ZapiszKontoTestowe();
    ZapiszUstawienieOkna(QStringLiteral("Sledzeni/1001/Opis"), QStringLiteral("Ala"));
    auto okno = std::make_unique<TOknoGlowneTestowe>();
    okno->show();
    QVERIFY(QTest::qWaitForWindowExposed(okno.get()));
    TWezel *ala = okno->Drzewo.ZnajdzUzytkownika(1001);
    TWezel *w = okno->Drzewo.Dodaj(ala, QStringLiteral("Z tej sesji"));
    w->UstawDane(std::make_shared<TWypowiedz>(
        w, std::make_unique<TDaneDodatkowe>(-1, 1001, 0, 5, QDateTime::currentDateTime()),
        QStringLiteral("Z tej sesji")));

    // The contact's popup section.
    okno->WybranyWezel = ala;
    okno->TreePMPopup();
    QAction *historia = PozycjaMenu(okno->TreePM, QStringLiteral("Historia"));
    QVERIFY(historia);
    historia->trigger();
    QVERIFY(okno->HistoriaFrm());
    QTRY_VERIFY(okno->HistoriaFrm()->isVisible());
    QCOMPARE(okno->HistoriaFrm()->Model->rowCount(), 1);
    QVERIFY(Wiersz(*okno->HistoriaFrm(), 0).endsWith(QStringLiteral("Z tej sesji [niewysłana]")));
    okno->HistoriaFrm()->close();

    // The key in the window, for the selected message's other party.
    okno->Zaznacz(w);
    okno->activateWindow();
    QTRY_VERIFY(okno->isActiveWindow());
    QTest::keyClick(okno->TreeView1, Qt::Key_H, Qt::ControlModifier);
    QTRY_VERIFY(okno->HistoriaFrm()->isVisible());
    QCOMPARE(okno->HistoriaFrm()->Model->Numer(), 1001);
  }
};

PAPLANKI_TEST_MAIN(TestHistoriaFrm)
#include "test_HistoriaFrm.moc"
