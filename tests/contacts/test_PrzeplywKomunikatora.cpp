// The program as a messenger, end to end: the real main window against a loopback lookup host
// and a loopback GG server, from "&Połącz" to messages, statuses, delivery reports and the
// commands that reach the wire; answering from the tree, the status dialog and auto-away.

#include "app/DataCzas.h"
#include "common/OdbiorTestowy.h"
#include "common/OknoGlowne.h"
#include "common/SerweryGG.h"
#include "common/Srodowisko.h"
#include "contacts/ModelDrzewa.h"
#include "contacts/ui/FrmPaplankiDaneUzytkownika.h"
#include "contacts/ui/WidokDrzewa.h"
#include "dialogs/ui/FrmStan.h"
#include "dialogs/ui/KatalogFrm.h"
#include "dialogs/ui/WypowiedzFrm.h"
#include "gg/Liczby.h"
#include "gg/ListaKontaktow.h"
#include "gg/Pakiety.h"
#include "gg/Sesja.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTextEdit>
#include <QToolButton>

#include <memory>

namespace {

constexpr quint32 Ziarno = 0x0BADF00D;
constexpr int Sekwencja = 777;
constexpr quint32 Nadano = 1719835200;

// The 5-byte entries of a notify list: number -> user type.
QMap<qint32, int> WpisyListy(const QByteArray &cialo)
{
  QMap<qint32, int> wpisy;
  for (qsizetype i = 0; i + 5 <= cialo.size(); i += 5)
    wpisy.insert(LEToInt(cialo, i), quint8(cialo[i + 4]));
  return wpisy;
}

TWezel *Dziecko(const TWezel *w, TRodzajWezla rodzaj)
{
  for (int i = 0; i < w->LiczbaDzieci(); ++i)
    if (w->Dziecko(i)->Dane() && w->Dziecko(i)->Dane()->Rodzaj() == rodzaj)
      return w->Dziecko(i);
  return nullptr;
}

// The real window; only the sound is counted instead of played.
class TOknoKomunikatora : public TFrmPaplankiMain {
public:
  int Dzwieki = 0;
  void DzwiekNowejWiadomosci() override { ++Dzwieki; }
};

} // namespace

class TestPrzeplywKomunikatora : public QObject {
  Q_OBJECT
  // The directory's state the dialog shows; a main window keeps its own.
  TKatalog m_stanKatalogu;

private slots:
  void initTestCase()
  {
    WylaczSprawdzanieWersji();
    QApplication::setQuitOnLastWindowClosed(false);
    FrmPaplankiDaneUzytkownika = new TFrmPaplankiDaneUzytkownika;
    KatalogFrm = new TKatalogFrm(m_stanKatalogu);
    FrmStan = new TFrmStan;
    WypowiedzFrm = new TWypowiedzFrm;
  }
  void cleanupTestCase()
  {
    delete WypowiedzFrm;
    WypowiedzFrm = nullptr;
    delete FrmStan;
    FrmStan = nullptr;
    delete KatalogFrm;
    KatalogFrm = nullptr;
    delete FrmPaplankiDaneUzytkownika;
    FrmPaplankiDaneUzytkownika = nullptr;
  }

  void odLogowaniaDoWiadomosci()
  {
    UsunUstawieniaOkna();
    ZapiszKontoTestowe();
    ZapiszUstawienieOkna(QStringLiteral("Ustawienia/SerwerAlternatywny"), QStringLiteral("1"));
    ZapiszUstawienieOkna(QStringLiteral("Sledzeni/1001/Opis"), QStringLiteral("Ala"));
    ZapiszUstawienieOkna(QStringLiteral("Sledzeni/1002/Opis"), QStringLiteral("Bolek"));
    ZapiszUstawienieOkna(QStringLiteral("Ustawienia/Logowanie"), QStringLiteral("1"));
    const QString dziennik = QCoreApplication::applicationFilePath() + QStringLiteral(".log");
    QFile::remove(dziennik);
    const auto sprzatanie = qScopeGuard([&] { QFile::remove(dziennik); });
    TSerwerGGTestowy gg(Ziarno);
    gg.UstawOdpowiedzNaLogowanie(GGAnsLoginOk);
    TSerwerHttpGG http;
    http.UstawOdpowiedz({TSerwerHttpGG::OdpowiedzWyszukiwania(gg.PortTekst())});

    auto okno = std::make_unique<TOknoKomunikatora>();
    okno->show();
    QVERIFY(QTest::qWaitForWindowExposed(okno.get()));
    TDrzewo &d = okno->Drzewo;
    TWezel *ala = d.ZnajdzUzytkownika(1001);
    TWezel *bolek = d.ZnajdzUzytkownika(1002);
    QVERIFY(ala && bolek);
    QVERIFY(d.MaStanWezla(ala, StanWezla::Wyciety));

    // A message written while offline waits for the login.
    TWezel *napisana = d.Dodaj(ala, QStringLiteral("Jesteś?"));
    napisana->UstawDane(std::make_shared<TWypowiedz>(
        napisana,
        std::make_unique<TDaneDodatkowe>(-1, 1001, 0, Sekwencja, QDateTime::currentDateTime()),
        QStringLiteral("Jesteś?")));
    napisana->UstawObrazStanu(10);

    TSesjaGG &sesja = okno->Sesja();
    sesja.UstawPortHttp(http.PortTekst());
    okno->PolaczTB->click();
    QTRY_COMPARE_WITH_TIMEOUT(okno->TekstPanelu(TFrmPaplankiMain::PanelZdarzen),
                              QStringLiteral("Połączony z serwerem"), 10000);
    QVERIFY(sesja.Zalogowany());
    QCOMPARE(http.Zapytania().size(), 1);
    QVERIFY(http.Zapytania().first().contains("fmnumber=4321&"));

    // Login, notify list and the waiting message, in this order, on one connection.
    QTRY_COMPARE(gg.Pakiety(0, GGReqSendMsg).size(), 1);
    const QList<TPakietGG> pakiety = gg.Pakiety(0);
    QCOMPARE(pakiety.value(0).typ, GGReqLogin60);
    QCOMPARE(LEToInt(pakiety.value(0).cialo, 0), 4321);
    QCOMPARE(LEToInt(pakiety.value(0).cialo, 8), 20);
    QCOMPARE(pakiety.value(1).typ, GGReqNotifyLast);
    const QMap<qint32, int> lista = WpisyListy(pakiety.value(1).cialo);
    QCOMPARE(lista.value(1001), 3);
    QCOMPARE(lista.value(1002), 3);
    for (const QString &blokowany : okno->Ustawienia().ListaBlokowanych().Teksty())
      QCOMPARE(lista.value(blokowany.toInt()), 4);
    QCOMPARE(pakiety.value(2).typ, GGReqSendMsg);
    QCOMPARE(LEToInt(pakiety.value(2).cialo, 0), 1001);
    QCOMPARE(LEToInt(pakiety.value(2).cialo, 4), Sekwencja);

    // A message from a contact: a bold line under the contact, shown in the view.
    gg.Wyslij(ZbudujRamke(GGAnsRecvMsg,
                          CialoWiadomosci(1002, 55, Nadano, 0x08, QByteArray("Cze\x9C\xE6"))));
    QTRY_COMPARE(bolek->LiczbaDzieci(), 1);
    TWezel *linia = bolek->Dziecko(0);
    QCOMPARE(
        linia->Tekst(),
        QStringLiteral("(%1)Cześć").arg(DataCzasNaTekst(QDateTime::fromSecsSinceEpoch(Nadano))));
    QVERIFY(d.MaStanWezla(linia, StanWezla::Pogrubiony));
    QVERIFY(okno->Model->Indeks(linia).data(TModelDrzewa::RolaPogrubiony).toBool());
    QVERIFY(okno->TreeView1->isExpanded(okno->Model->Indeks(bolek)));
    // No keyboard or mouse yet: the user counts as away, so the sound is played.
    QVERIFY(!okno->IdleTmr.isActive());
    QCOMPARE(okno->Dzwieki, 1);

    // A status notification: the contact is available, with a status-change node below it.
    gg.Wyslij(ZbudujRamke(GGAnsStatus, CialoStatus(1001, 2)));
    QTRY_VERIFY(!d.MaStanWezla(ala, StanWezla::Wyciety));
    QVERIFY(Dziecko(ala, TRodzajWezla::ZmianaStanu));

    // The server's acknowledgement of the resent message: delivered.
    gg.Wyslij(ZbudujRamke(GGAnsSendMsgAck, CialoPotwierdzenia(2, 1001, Sekwencja)));
    QTRY_COMPARE(napisana->ObrazStanu(), 2);
    QCOMPARE(napisana->DaneJako<TWypowiedz>()->DaneDodatkowe().StatusPotwierdzenia, 2);

    // "Śledź" from the popup while connected: the server is told at once.
    OdpowiedzNaOknoModalne([](QWidget *w) {
      auto *dialog = qobject_cast<TFrmPaplankiDaneUzytkownika *>(w);
      if (!dialog) {
        w->close();
        return;
      }
      dialog->NumerEd->setText(QStringLiteral("5555"));
      dialog->OkBtn->click();
    });
    okno->WybranyWezel.clear();
    okno->TreePMPopup();
    PozycjaMenu(okno->TreePM, QStringLiteral("Śledź"))->trigger();
    QVERIFY(d.ZnajdzUzytkownika(5555));
    QTRY_COMPARE(gg.Pakiety(0, GGReqAddNotify).size(), 1);
    QCOMPARE(gg.Pakiety(0, GGReqAddNotify).first().cialo, IntToLE(5555) + IntToLE(1));

    // The list commands of the popup go out on the connection: export, then the import request.
    okno->TreePMPopup();
    PozycjaMenu(okno->TreePM, QStringLiteral("Zapisz"))->trigger();
    PozycjaMenu(okno->TreePM, QStringLiteral("Pobierz"))->trigger();
    QTRY_COMPARE(gg.Pakiety(0, GGReqUserList).size(), 2);
    QCOMPARE(gg.Pakiety(0, GGReqUserList).at(0).cialo.at(0), PodtypListy::Zapisz);
    QVERIFY(gg.Pakiety(0, GGReqUserList).at(0).cialo.contains(";5555;"));
    QCOMPARE(gg.Pakiety(0, GGReqUserList).at(1).cialo, QByteArray(1, PodtypListy::Pobierz));

    // "&Szukaj" shows the directory dialog, which searches through the window's connection.
    okno->SzukajTB->click();
    QVERIFY(KatalogFrm->isVisible());
    KatalogFrm->NumerEd->setText(QStringLiteral("1002"));
    KatalogFrm->WyszukiwajBBClick();
    QTRY_COMPARE(gg.Pakiety(0, GGReqPubDir).size(), 1);
    const QByteArray szukanie = gg.Pakiety(0, GGReqPubDir).first().cialo;
    QCOMPARE(szukanie.at(0), RodzajKatalogu::Szukanie);
    QVERIFY(szukanie.contains(QByteArray("1002", 5)));

    // "&Połącz" released: "not available" goes out and shows in panel 0; the connection stays.
    okno->PolaczTB->click();
    QTRY_COMPARE(gg.Pakiety(0, GGReqNewStatus).size(), 1);
    QCOMPARE(LEToInt(gg.Pakiety(0, GGReqNewStatus).first().cialo, 0), 1);
    QCOMPARE(okno->TekstPanelu(TFrmPaplankiMain::PanelStanu), QStringLiteral("Niedostępny"));
    QCOMPARE(gg.Polaczenia(), 1);
    QVERIFY(!gg.ZamknietePrzezKlienta(0));

    // A stream out of step: the connection is dropped and every contact shows not available;
    // the event log beside the program has the whole story.
    gg.Wyslij(IntToLE(GGAnsRecvMsg) + IntToLE(2 * 1024 * 1024) + "xyz");
    QTRY_COMPARE(okno->TekstPanelu(TFrmPaplankiMain::PanelZdarzen),
                 QStringLiteral("Połączenie z serwerem komunikacyjnym zostało rozłączone"));
    QVERIFY(d.MaStanWezla(ala, StanWezla::Wyciety));
    QTRY_VERIFY(gg.ZamknietePrzezKlienta(0));
    QFile plik(dziennik);
    QVERIFY(plik.open(QIODevice::ReadOnly));
    const QString log = QString::fromUtf8(plik.readAll());
    for (const char *wpis :
         {"[Komunikacja]", "=HttpSckSessionConnected", "=GgSckSessionConnected", "[ZmianyStanu]",
          "=Niedostępny", "[Błędne paczki]", "=A 2097152", "=GgSckSessionClosed"})
      QVERIFY2(log.contains(QString::fromUtf8(wpis)), wpis);
  }
  void odpowiedzStanIAutomatycznaZajetosc()
  {
    UsunUstawieniaOkna();
    ZapiszKontoTestowe();
    ZapiszUstawienieOkna(QStringLiteral("Ustawienia/SerwerAlternatywny"), QStringLiteral("1"));
    ZapiszUstawienieOkna(QStringLiteral("Ustawienia/AutomatycznyZajetyWolny"), QStringLiteral("1"));
    ZapiszUstawienieOkna(QStringLiteral("Sledzeni/1002/Opis"), QStringLiteral("Bolek"));
    TSerwerGGTestowy gg(Ziarno);
    gg.UstawOdpowiedzNaLogowanie(GGAnsLoginOk);
    TSerwerHttpGG http;
    http.UstawOdpowiedz({TSerwerHttpGG::OdpowiedzWyszukiwania(gg.PortTekst())});
    const auto stany = [&gg] {
      QList<int> wyslane;
      for (const TPakietGG &p : gg.Pakiety(0, GGReqNewStatus))
        wyslane << LEToInt(p.cialo, 0);
      return wyslane;
    };

    auto okno = std::make_unique<TOknoKomunikatora>();
    okno->show();
    QVERIFY(QTest::qWaitForWindowExposed(okno.get()));
    TWezel *bolek = okno->Drzewo.ZnajdzUzytkownika(1002);
    QVERIFY(bolek);
    okno->Sesja().UstawPortHttp(http.PortTekst());
    okno->PolaczTB->click();
    QTRY_VERIFY_WITH_TIMEOUT(okno->Sesja().Zalogowany(), 10000);

    gg.Wyslij(ZbudujRamke(GGAnsRecvMsg,
                          CialoWiadomosci(1002, 55, Nadano, 0x08, QByteArray("Cze\x9C\xE6"))));
    QTRY_COMPARE(bolek->LiczbaDzieci(), 1);
    TWezel *linia = bolek->Dziecko(0);
    QCOMPARE(okno->Dzwieki, 1);

    // The received line selected, Insert: the compose dialog shows it, Enter sends the answer.
    okno->Zaznacz(linia);
    QString komentowana;
    OdpowiedzNaOknoModalne([&komentowana](QWidget *w) {
      auto *dialog = qobject_cast<TWypowiedzFrm *>(w);
      if (!dialog) {
        w->close();
        return;
      }
      komentowana = dialog->KomentowanaWypowiedzRE->toPlainText();
      dialog->TwojaOdpowiedzRE->setPlainText(QStringLiteral("Dzięki"));
      QTest::keyClick(dialog->TwojaOdpowiedzRE, Qt::Key_Return);
    });
    QTest::keyClick(okno->TreeView1, Qt::Key_Insert);
    QCOMPARE(komentowana, linia->Tekst());
    QVERIFY(!okno->PiszeWiadomosc);
    // The key press was the first activity: the invisible login turns available.
    QVERIFY(okno->IdleTmr.isActive());
    QTRY_COMPARE(stany(), QList<int>{2});

    QTRY_COMPARE(gg.Pakiety(0, GGReqSendMsg).size(), 1);
    const QByteArray cialo = gg.Pakiety(0, GGReqSendMsg).first().cialo;
    QCOMPARE(LEToInt(cialo, 0), 1002);
    QCOMPARE(LEToInt(cialo, 8), 8);
    // The contact has written first and without the marker: plain code page 1250.
    QCOMPARE(cialo.mid(12), QByteArray("Dzi\xEAki", 7));
    QCOMPARE(linia->LiczbaDzieci(), 1);
    TWezel *odpowiedz = linia->Dziecko(0);
    QCOMPARE(odpowiedz->Tekst(), QStringLiteral("Dzięki"));
    QCOMPARE(odpowiedz->ObrazStanu(), 10);
    QVERIFY(okno->TreeView1->isExpanded(okno->Model->Indeks(linia)));
    QVERIFY(okno->TreeView1->isExpanded(okno->Model->Indeks(odpowiedz)));
    const auto &dane = odpowiedz->DaneJako<TWypowiedz>()->DaneDodatkowe();
    QCOMPARE(dane.NumerSekwencyjny, LEToInt(cialo, 4));

    gg.Wyslij(ZbudujRamke(GGAnsSendMsgAck, CialoPotwierdzenia(2, 1002, LEToInt(cialo, 4))));
    QTRY_COMPARE(odpowiedz->ObrazStanu(), 2);

    // The user is present (IdleTmr runs): the next message makes no sound, and lands under the
    // answer.
    gg.Wyslij(
        ZbudujRamke(GGAnsRecvMsg, CialoWiadomosci(1002, 56, Nadano, 0x08, QByteArray("No to pa"))));
    QTRY_COMPARE(odpowiedz->LiczbaDzieci(), 1);
    QCOMPARE(okno->Dzwieki, 1);

    // Double click on the status bar: "Zmiana stanu", "zajęty".
    bool pokazany = false;
    OdpowiedzNaOknoModalne([&pokazany](QWidget *w) {
      auto *dialog = qobject_cast<TFrmStan *>(w);
      if (!dialog) {
        w->close();
        return;
      }
      pokazany = true;
      dialog->Pozycja(2)->setChecked(true);
      dialog->BitBtn1->click();
    });
    QTest::mouseDClick(okno->StatusBar1->Panel(TFrmPaplankiMain::PanelStanu), Qt::LeftButton);
    QVERIFY(pokazany);
    QTRY_COMPARE(stany(), (QList<int>{2, 3}));

    // Auto-away: a key in the window makes the user available, the idle timer busy again.
    QTest::keyClick(okno.get(), Qt::Key_Shift);
    QTRY_COMPARE(stany(), (QList<int>{2, 3, 2}));
    QVERIFY(okno->IdleTmr.isActive());
    QMetaObject::invokeMethod(&okno->IdleTmr, "timeout");
    QVERIFY(!okno->IdleTmr.isActive());
    QTRY_COMPARE(stany(), (QList<int>{2, 3, 2, 3}));
  }
};

PAPLANKI_TEST_MAIN(TestPrzeplywKomunikatora)
#include "test_PrzeplywKomunikatora.moc"
