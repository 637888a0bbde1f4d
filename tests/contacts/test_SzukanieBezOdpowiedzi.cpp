// A directory search that gets no answer ends: sent while offline, or unanswered in time, the
// list's searching colour goes back and the dialog's status bar says why; an answer in time
// leaves nothing waiting.

#include "common/OknoGlowne.h"
#include "common/Srodowisko.h"
#include "dialogs/ui/KatalogFrm.h"
#include "gg/Liczby.h"

#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeView>

#include <memory>

namespace {

QByteArray Wyniki(const QByteArray &pary)
{
  return QByteArray(1, '\x05') + IntToLE(1) + pary;
}

QByteArray Para(const QByteArray &klucz, const QByteArray &wartosc)
{
  return klucz + '\0' + wartosc + '\0';
}

QColor TloListy(const TKatalogFrm &f)
{
  return f.ListView1->palette().color(QPalette::Base);
}

} // namespace

class TestSzukanieBezOdpowiedzi : public QObject {
  Q_OBJECT
private slots:
  void limitOdpowiedzi()
  {
    TKatalog stanKatalogu;
    TKatalogFrm f(stanKatalogu);
    int wyslane = 0;
    f.OnSzukaj = [&](QObject *) { ++wyslane; };
    QCOMPARE(f.LimitOdpowiedzi().interval(), 30000);
    const QColor tlo = TloListy(f);
    f.LimitOdpowiedzi().setInterval(100);

    // Answered in time: nothing is left waiting.
    f.WyszukiwajBB->click();
    QVERIFY(f.Szukanie());
    QVERIFY(f.LimitOdpowiedzi().isActive());
    f.Katalog().ObsluzOdpowiedz(Wyniki(Para("FmNumber", "7")));
    QVERIFY(!f.LimitOdpowiedzi().isActive());
    QTest::qWait(200);
    QVERIFY(f.StatusBar1->currentMessage().isEmpty());

    // Unanswered: the search ends by itself and says so.
    f.WyszukiwajBB->click();
    QCOMPARE(wyslane, 2);
    QVERIFY(TloListy(f) != tlo);
    QTRY_VERIFY(!f.Szukanie());
    QCOMPARE(TloListy(f), tlo);
    QVERIFY(f.StatusBar1->currentMessage().contains(QStringLiteral("nie odpowiedział")));

    // The next page asked for by a reply has its own time; a new search clears the message.
    f.LimitOdpowiedzi().setInterval(60000);
    f.WyszukiwajBB->click();
    QVERIFY(f.StatusBar1->currentMessage().isEmpty());
    f.Katalog().ObsluzOdpowiedz(Wyniki(Para("FmNumber", "8") + Para("nextstart", "20")));
    QCOMPARE(wyslane, 4);
    QVERIFY(f.LimitOdpowiedzi().isActive());
  }

  void szukanieBezPolaczenia()
  {
    WylaczSprawdzanieWersji();
    UsunUstawieniaOkna();
    ZapiszKontoTestowe();
    TKatalog stanKatalogu;
    KatalogFrm = new TKatalogFrm(stanKatalogu);
    auto okno = std::make_unique<TOknoGlowneTestowe>();
    okno->show();
    QVERIFY(QTest::qWaitForWindowExposed(okno.get()));
    const QColor tlo = TloListy(*KatalogFrm);
    okno->SzukajTB->click();
    KatalogFrm->WyszukiwajBB->click();
    // Ended at once, not after the time limit.
    QVERIFY(!KatalogFrm->Szukanie());
    QVERIFY(!KatalogFrm->LimitOdpowiedzi().isActive());
    QCOMPARE(TloListy(*KatalogFrm), tlo);
    QCOMPARE(KatalogFrm->StatusBar1->currentMessage(),
             QStringLiteral("Brak połączenia z serwerem: wyszukiwanie nie zostało wysłane."));
    okno.reset();
    delete KatalogFrm;
    KatalogFrm = nullptr;
  }
};

PAPLANKI_TEST_MAIN(TestSzukanieBezOdpowiedzi)
#include "test_SzukanieBezOdpowiedzi.moc"
