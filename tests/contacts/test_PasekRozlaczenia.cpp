// The bar above the tree in the real main window: why it is offline with the countdown and
// "Połącz teraz", "Moje dane" after a refused login, gone on login; and the messages the
// friends-only switch dropped, counted and listed.

#include "common/OdbiorTestowy.h"
#include "common/OknoGlowne.h"
#include "common/SerweryGG.h"
#include "common/Srodowisko.h"
#include "contacts/ui/WidokDrzewa.h"
#include "dialogs/ui/MojeDaneFrm.h"
#include "gg/Pakiety.h"
#include "gg/Sesja.h"
#include "program/PasekRozlaczenia.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>

namespace {

constexpr quint32 Nadano = 1719835200;

QToolBar *RzadPaska(TFrmPaplankiMain &okno)
{
  return okno.findChild<QToolBar *>(QStringLiteral("PasekRozlaczeniaTB"));
}

bool PasekWidoczny(TFrmPaplankiMain &okno)
{
  return RzadPaska(okno)->isVisible() && okno.PasekRozlaczenia->isVisible();
}

std::unique_ptr<TOknoGlowneTestowe> Okno()
{
  UsunUstawieniaOkna();
  ZapiszKontoTestowe();
  ZapiszUstawienieOkna(QStringLiteral("Ustawienia/SerwerAlternatywny"), QStringLiteral("1"));
  auto okno = std::make_unique<TOknoGlowneTestowe>();
  okno->show();
  return okno;
}

} // namespace

class TestPasekRozlaczenia : public QObject {
  Q_OBJECT
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

  void teksty_data()
  {
    QTest::addColumn<QString>("wynik");
    QTest::addColumn<QString>("oczekiwany");
    QTest::newRow("jedna odrzucona")
        << TekstOdrzuconych(1) << QStringLiteral("Odrzucono 1 wiadomość od osób spoza listy");
    QTest::newRow("dwie odrzucone")
        << TekstOdrzuconych(2) << QStringLiteral("Odrzucono 2 wiadomości od osób spoza listy");
    QTest::newRow("pięć odrzuconych")
        << TekstOdrzuconych(5) << QStringLiteral("Odrzucono 5 wiadomości od osób spoza listy");
    QTest::newRow("pełna minuta") << TekstOdliczania(60000)
                                  << QStringLiteral("Następna próba za 60 s.");
    QTest::newRow("część sekundy w górę")
        << TekstOdliczania(59001) << QStringLiteral("Następna próba za 60 s.");
    QTest::newRow("ostatnia chwila")
        << TekstOdliczania(1) << QStringLiteral("Następna próba za 1 s.");
    QTest::newRow("w toku") << TekstOdliczania(-1) << QStringLiteral("Trwa łączenie…");
    QTest::newRow("zalogowany") << OpisPowodu(TPowodRozlaczenia::Zalogowano, QStringLiteral("x"))
                                << QString();
  }
  void teksty()
  {
    QFETCH(QString, wynik);
    QFETCH(QString, oczekiwany);
    QCOMPARE(wynik, oczekiwany);
  }

  void powodOdliczaniePolaczTeraz()
  {
    auto okno = Okno();
    QVERIFY(QTest::qWaitForWindowExposed(okno.get()));
    QVERIFY(!PasekWidoczny(*okno));
    // The bar is a row of its own: the tree stays the central widget.
    QCOMPARE(okno->centralWidget(), okno->TreeView1);

    TPortBezSerwera zamkniety;
    TSesjaGG &sesja = okno->Sesja();
    sesja.UstawPortHttp(zamkniety.PortTekst());
    okno->PolaczTB->click();
    QTRY_VERIFY_WITH_TIMEOUT(PasekWidoczny(*okno), 10000);
    TPasekRozlaczenia &pasek = *okno->PasekRozlaczenia;
    QCOMPARE(pasek.PowodLbl->text(),
             OpisPowodu(TPowodRozlaczenia::SerwerOdmowil, QStringLiteral("localhost")));
    QVERIFY(pasek.PowodLbl->text().contains(QStringLiteral("odmówił")));
    QVERIFY(pasek.OdliczanieLbl->text().startsWith(QStringLiteral("Następna próba za ")));
    QVERIFY(pasek.PolaczTerazBtn->isEnabled());
    QVERIFY(pasek.MojeDaneBtn->isHidden());
    QVERIFY(pasek.OdrzuconeLbl->parentWidget()->isHidden());
    // The status panel keeps its own text.
    QCOMPARE(okno->TekstPanelu(TFrmPaplankiMain::PanelZdarzen),
             QStringLiteral("Połączenie z serwerem komunikacyjnym zostało rozłączone"));
    // The countdown runs.
    const QString przed = pasek.OdliczanieLbl->text();
    QTRY_VERIFY_WITH_TIMEOUT(pasek.OdliczanieLbl->text() != przed, 3000);

    // "Połącz teraz" with the servers up: logged in at once, and the bar goes.
    TSerwerGGTestowy gg(0x5151);
    gg.UstawOdpowiedzNaLogowanie(GGAnsLoginOk);
    TSerwerHttpGG http;
    http.UstawOdpowiedz({TSerwerHttpGG::OdpowiedzWyszukiwania(gg.PortTekst())});
    sesja.UstawPortHttp(http.PortTekst());
    pasek.PolaczTerazBtn->click();
    QTRY_VERIFY_WITH_TIMEOUT(sesja.Zalogowany(), 10000);
    QVERIFY(!PasekWidoczny(*okno));
    QCOMPARE(http.Zapytania().size(), 1);

    // Two messages from strangers are dropped, as before, but leave their trace in the bar.
    gg.Wyslij(ZbudujRamke(GGAnsRecvMsg,
                          CialoWiadomosci(7001, 1, Nadano, 0x08, QByteArray("Kup pan\r\ncegle"))));
    gg.Wyslij(ZbudujRamke(GGAnsRecvMsg, CialoWiadomosci(7002, 2, Nadano, 0x08, QByteArray("Hej"))));
    QTRY_COMPARE(pasek.LiczbaOdrzuconych(), 2);
    QVERIFY(!okno->Drzewo.ZnajdzUzytkownika(7001));
    QVERIFY(PasekWidoczny(*okno));
    QCOMPARE(pasek.OdrzuconeLbl->text(),
             QStringLiteral("Odrzucono 2 wiadomości od osób spoza listy"));
    QVERIFY(pasek.PowodLbl->parentWidget()->isHidden());

    pasek.PokazOdrzuconeBtn->click();
    auto *lista = okno->findChild<QTreeWidget *>(QStringLiteral("OdrzuconeLista"));
    QVERIFY(lista);
    QCOMPARE(lista->topLevelItemCount(), 2);
    QCOMPARE(lista->topLevelItem(0)->text(0), QStringLiteral("7001"));
    QCOMPARE(lista->topLevelItem(0)->text(2), QStringLiteral("Kup pan"));
    QVERIFY(!lista->topLevelItem(0)->text(1).isEmpty());
    QCOMPARE(lista->topLevelItem(1)->text(2), QStringLiteral("Hej"));
    lista->window()->close();

    pasek.ZamknijOdrzuconeBtn->click();
    QCOMPARE(pasek.LiczbaOdrzuconych(), 0);
    QVERIFY(!PasekWidoczny(*okno));

    // A connection lost while "&Połącz" is up needs no explaining.
    okno->PolaczTB->click();
    gg.Rozlacz();
    QTRY_VERIFY_WITH_TIMEOUT(sesja.StanGG() == gsClosed && sesja.CzekaNaLaczenie(), 10000);
    QTest::qWait(50); // the bar must stay hidden
    QVERIFY(!PasekWidoczny(*okno));
  }

  void odmowaLogowaniaMojeDane()
  {
    auto okno = Okno();
    QVERIFY(QTest::qWaitForWindowExposed(okno.get()));
    TSerwerGGTestowy gg(0x5152);
    gg.UstawOdpowiedzNaLogowanie(GGAnsLoginFailed);
    TSerwerHttpGG http;
    http.UstawOdpowiedz({TSerwerHttpGG::OdpowiedzWyszukiwania(gg.PortTekst())});
    okno->Sesja().UstawPortHttp(http.PortTekst());
    okno->PolaczTB->click();
    QTRY_COMPARE_WITH_TIMEOUT(okno->TekstPanelu(TFrmPaplankiMain::PanelZdarzen),
                              QStringLiteral("Połączenie nieudane"), 10000);
    // Shown while the server still holds the connection: no countdown yet, nothing to cut short.
    QTRY_VERIFY_WITH_TIMEOUT(PasekWidoczny(*okno), 10000);
    TPasekRozlaczenia &pasek = *okno->PasekRozlaczenia;
    QCOMPARE(pasek.Powod(), TPowodRozlaczenia::OdmowaLogowania);
    QVERIFY(pasek.MojeDaneBtn->isVisible());
    QVERIFY(pasek.OdliczanieLbl->text().isEmpty());
    QVERIFY(!pasek.PolaczTerazBtn->isEnabled());
    gg.Rozlacz();
    QTRY_VERIFY_WITH_TIMEOUT(pasek.OdliczanieLbl->text().startsWith(QStringLiteral("Następna")),
                             10000);
    QVERIFY(pasek.PolaczTerazBtn->isEnabled());
    QCOMPARE(pasek.Powod(), TPowodRozlaczenia::OdmowaLogowania);

    bool otwarte = false;
    OdpowiedzNaOknoModalne([&](QWidget *w) {
      otwarte = qobject_cast<TMojeDaneFrm *>(w) != nullptr;
      w->close();
    });
    pasek.MojeDaneBtn->click();
    QVERIFY(otwarte);
  }
};

PAPLANKI_TEST_MAIN(TestPasekRozlaczenia)
#include "test_PasekRozlaczenia.moc"
