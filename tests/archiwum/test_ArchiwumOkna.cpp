// Restarts of the real main window offscreen with its message archive: what was written offline
// is resent after a restart and its report recorded; unread messages and conferences come back;
// an answered thread stays threaded; a killed process loses nothing; a damaged file is set aside.

#include "app/DataCzas.h"
#include "archiwum/Archiwum.h"
#include "archiwum/ModelRozmowy.h"
#include "archiwum/ui/HistoriaFrm.h"
#include "common/OdbiorTestowy.h"
#include "common/OknaPowloki.h"
#include "common/OknoGlowne.h"
#include "common/SerweryGG.h"
#include "common/Srodowisko.h"
#include "contacts/Galezie.h"
#include "contacts/ModelDrzewa.h"
#include "contacts/ui/WidokDrzewa.h"
#include "dialogs/ui/WypowiedzFrm.h"
#include "gg/Liczby.h"
#include "gg/Pakiety.h"
#include "gg/Sesja.h"
#include "gg/StronyKodowe.h"

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextEdit>
#include <QToolButton>

#include <memory>

namespace {

constexpr quint32 Ziarno = 0x0BADF00D;
constexpr quint32 Nadano = 1719835200;

class TOknoCiche : public TFrmPaplankiMain {
public:
  void DzwiekNowejWiadomosci() override {}
};

std::unique_ptr<TOknoCiche> NoweOkno()
{
  auto okno = std::make_unique<TOknoCiche>();
  okno->show();
  if (!QTest::qWaitForWindowExposed(okno.get()))
    return nullptr;
  return okno;
}

void Przygotuj()
{
  UsunUstawieniaOkna();
  ZapiszKontoTestowe();
  ZapiszUstawienieOkna(QStringLiteral("Ustawienia/SerwerAlternatywny"), QStringLiteral("1"));
  ZapiszUstawienieOkna(QStringLiteral("Ustawienia/TylkoOdPrzyjaciol"), QStringLiteral("0"));
  ZapiszUstawienieOkna(QStringLiteral("Sledzeni/1001/Opis"), QStringLiteral("Ala"));
  ZapiszUstawienieOkna(QStringLiteral("Sledzeni/1002/Opis"), QStringLiteral("Bolek"));
}

// Answers the node with Insert and the compose dialog, as a user does.
void Odpowiedz(TFrmPaplankiMain &okno, TWezel *wezel, const QString &tekst)
{
  okno.Zaznacz(wezel);
  OdpowiedzNaOknoModalne([tekst](QWidget *w) {
    auto *dialog = qobject_cast<TWypowiedzFrm *>(w);
    if (!dialog) {
      w->close();
      return;
    }
    dialog->TwojaOdpowiedzRE->setPlainText(tekst);
    QTest::keyClick(dialog->TwojaOdpowiedzRE, Qt::Key_Return);
  });
  QTest::keyClick(okno.TreeView1, Qt::Key_Insert);
}

// The servers and the login of one window.
struct TSerwery {
  TSerwerGGTestowy gg{Ziarno};
  TSerwerHttpGG http;
  TSerwery()
  {
    gg.UstawOdpowiedzNaLogowanie(GGAnsLoginOk);
    http.UstawOdpowiedz({TSerwerHttpGG::OdpowiedzWyszukiwania(gg.PortTekst())});
  }
  bool Zaloguj(TFrmPaplankiMain &okno)
  {
    okno.Sesja().UstawPortHttp(http.PortTekst());
    okno.PolaczTB->click();
    return QTest::qWaitFor([&] { return okno.Sesja().Zalogowany(); }, 10000);
  }
};

// One value read from the archive file by a connection of the test's own, as another program
// would read it.
QVariant Zapytaj(const QString &zapytanie)
{
  QVariant wynik;
  {
    QSqlDatabase baza = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("t"));
    baza.setDatabaseName(PlikArchiwumOkna());
    baza.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000"));
    if (baza.open()) {
      QSqlQuery q(baza);
      if (q.exec(zapytanie) && q.next())
        wynik = q.value(0);
    }
  }
  QSqlDatabase::removeDatabase(QStringLiteral("t"));
  return wynik;
}

QByteArray TekstPonowienia(const QDateTime &napisano, const QString &tekst)
{
  return AnsiToCp1250(QStringLiteral("[Przygotowano ") + DataCzasNaTekst(napisano) +
                      QStringLiteral("] ") + tekst) +
         QByteArray("\xEF\xBB\xBF", 3) + QByteArray(1, '\0');
}

} // namespace

class TestArchiwumOkna : public QObject {
  Q_OBJECT

private slots:
  void initTestCase()
  {
    WylaczSprawdzanieWersji();
    QApplication::setQuitOnLastWindowClosed(false);
    WypowiedzFrm = new TWypowiedzFrm;
  }
  void cleanupTestCase()
  {
    delete WypowiedzFrm;
    WypowiedzFrm = nullptr;
  }

  void napisanaBezPolaczeniaWyslanaPoPonownymStarcie()
  {
    Przygotuj();
    const QString tekst = QStringLiteral("Zażółć gęślą jaźń");
    int sekwencja = 0;
    QDateTime napisano;
    {
      auto okno = NoweOkno();
      QVERIFY(okno);
      TWezel *ala = okno->Drzewo.ZnajdzUzytkownika(1001);
      Odpowiedz(*okno, ala, tekst);
      QCOMPARE(ala->LiczbaDzieci(), 1);
      const TDaneDodatkowe &d = ala->Dziecko(0)->DaneJako<TWypowiedz>()->DaneDodatkowe();
      sekwencja = d.NumerSekwencyjny;
      napisano = d.CzasUtworzenia;
      // Closing says how many messages wait; they are kept.
      auto komunikat = OdpowiedzNaKomunikat();
      okno->close();
      QVERIFY(komunikat->Pokazany);
      // The box shows the carriage return as a line break.
      QCOMPARE(komunikat->Tekst, TFrmPaplankiMain::TekstOczekujacych(1).replace(u'\r', u'\n'));
      QCOMPARE(komunikat->Ikona, QMessageBox::Information);
      QVERIFY(!okno->isVisible());
    }
    {
      TSerwery serwery;
      auto okno = NoweOkno();
      QVERIFY(okno);
      TWezel *ala = okno->Drzewo.ZnajdzUzytkownika(1001);
      QCOMPARE(ala->LiczbaDzieci(), 1);
      TWezel *napisana = ala->Dziecko(0);
      QCOMPARE(napisana->Tekst(), tekst);
      QCOMPARE(napisana->ObrazStanu(), 10);
      QVERIFY(serwery.Zaloguj(*okno));
      QTRY_COMPARE(serwery.gg.Pakiety(0, GGReqSendMsg).size(), 1);
      const QByteArray cialo = serwery.gg.Pakiety(0, GGReqSendMsg).first().cialo;
      QCOMPARE(LEToInt(cialo, 0), 1001);
      QCOMPARE(LEToInt(cialo, 4), sekwencja);
      QCOMPARE(cialo.mid(12), TekstPonowienia(napisano, tekst));
      serwery.gg.Wyslij(ZbudujRamke(GGAnsSendMsgAck, CialoPotwierdzenia(2, 1001, sekwencja)));
      QTRY_COMPARE(napisana->ObrazStanu(), 2);
    }
    auto okno = NoweOkno();
    QVERIFY(okno);
    // Delivered: not put back, not sent again; the archive has it with its report.
    QCOMPARE(okno->Drzewo.ZnajdzUzytkownika(1001)->LiczbaDzieci(), 0);
    const QList<TWiadomoscArchiwum> rozmowa = okno->Archiwum()->Rozmowa(1001, 0, 10);
    QCOMPARE(rozmowa.size(), 1);
    QCOMPARE(rozmowa[0].status, 2);
    QCOMPARE(rozmowa[0].tekst, tekst);
    QCOMPARE(Zapytaj(QStringLiteral("SELECT COUNT(*) FROM potwierdzenia WHERE sekwencja = %1 "
                                    "AND status = 2 AND wiadomosc = %2")
                         .arg(sekwencja)
                         .arg(rozmowa[0].id))
                 .toInt(),
             1);
  }

  void nieprzeczytaneKonferencjaIWatek()
  {
    Przygotuj();
    {
      TSerwery serwery;
      auto okno = NoweOkno();
      QVERIFY(okno);
      QVERIFY(serwery.Zaloguj(*okno));
      TWezel *bolek = okno->Drzewo.ZnajdzUzytkownika(1002);
      serwery.gg.Wyslij(ZbudujRamke(
          GGAnsRecvMsg, CialoWiadomosci(1002, 1, Nadano, 8, QByteArray("Cze\x9C\xE6"))));
      QTRY_COMPARE(bolek->LiczbaDzieci(), 1);
      TWezel *czesc = bolek->Dziecko(0);
      Odpowiedz(*okno, czesc, QStringLiteral("Dzięki"));
      QTRY_COMPARE(serwery.gg.Pakiety(0, GGReqSendMsg).size(), 1);
      const int sekwencja = LEToInt(serwery.gg.Pakiety(0, GGReqSendMsg).first().cialo, 4);
      serwery.gg.Wyslij(ZbudujRamke(GGAnsSendMsgAck, CialoPotwierdzenia(2, 1002, sekwencja)));
      QTRY_COMPARE(czesc->Dziecko(0)->ObrazStanu(), 2);
      // The next message nests under the answer; a conference arrives beside.
      serwery.gg.Wyslij(ZbudujRamke(
          GGAnsRecvMsg, CialoWiadomosci(1002, 2, Nadano, 8, QByteArray("Co s\xB3ycha\xE6?"))));
      serwery.gg.Wyslij(
          ZbudujRamke(GGAnsRecvMsg, CialoWiadomosci(1003, 3, Nadano, 8, QByteArray("Zebranie"),
                                                    CialoKonferencji(2, {1004, 1005}))));
      QTRY_COMPARE(czesc->Dziecko(0)->LiczbaDzieci(), 1);
      QTRY_VERIFY(okno->Drzewo.ZnajdzUzytkownika(1003));
      // The closing question shows the first unread line; the user closes anyway.
      auto pytanie = OdpowiedzNaKomunikat();
      okno->close();
      QVERIFY(pytanie->Pokazany);
      QCOMPARE(pytanie->Ikona, QMessageBox::Question);
      QVERIFY(!okno->isVisible());
    }
    auto okno = NoweOkno();
    QVERIFY(okno);
    TDrzewo &d = okno->Drzewo;
    // Bolek's unread line is back, bold, under his contact; the line he answered is not.
    TWezel *bolek = d.ZnajdzUzytkownika(1002);
    QCOMPARE(bolek->LiczbaDzieci(), 1);
    QCOMPARE(bolek->Dziecko(0)->Tekst(),
             u'(' + DataCzasNaTekst(QDateTime::fromSecsSinceEpoch(Nadano)) +
                 QStringLiteral(")Co słychać?"));
    QVERIFY(d.MaStanWezla(bolek->Dziecko(0), StanWezla::Pogrubiony));
    QVERIFY(okno->TreeView1->isExpanded(okno->Model->Indeks(bolek)));
    // The conference keeps its participants.
    TWezel *konferencja = nullptr;
    for (int i = 0; i < d.LiczbaGlownych(); ++i)
      if (d.Glowny(i)->DaneJako<TKonferencja>())
        konferencja = d.Glowny(i);
    QVERIFY(konferencja);
    QCOMPARE(konferencja->Dziecko(0)->Tekst(), QStringLiteral("uczestnicy"));
    QStringList uczestnicy;
    for (int i = 0; i < konferencja->Dziecko(0)->LiczbaDzieci(); ++i)
      uczestnicy << konferencja->Dziecko(0)->Dziecko(i)->Tekst();
    QCOMPARE(uczestnicy,
             (QStringList{QStringLiteral("1003"), QStringLiteral("1004"), QStringLiteral("1005")}));
    QVERIFY(d.MaStanWezla(konferencja->Dziecko(1), StanWezla::Pogrubiony));
    // Space walks to them as to any unread node.
    QCOMPARE(d.ZnajdzPogrubionyPo(d.Pierwszy()), bolek->Dziecko(0));

    // The thread as the tree had it: message, the answer under it, the reply under that.
    const QList<TWiadomoscArchiwum> watek = okno->Archiwum()->Rozmowa(1002, 0, 10);
    QCOMPARE(watek.size(), 3);
    QCOMPARE(watek[0].tekst, QStringLiteral("Cześć"));
    QCOMPARE(watek[1].tekst, QStringLiteral("Dzięki"));
    QCOMPARE(watek[1].odpowiedzNa, watek[0].id);
    QCOMPARE(watek[2].odpowiedzNa, watek[1].id);
    QCOMPARE(watek[2].glebokosc, 2);
    // And so the history window shows it, each answer a step in.
    okno->WybranyWezel = bolek;
    okno->HistoriaClick();
    THistoriaFrm *historia = okno->HistoriaFrm();
    QVERIFY(historia && historia->isVisible());
    QCOMPARE(historia->Model->rowCount(), 3);
    QVERIFY(historia->Model->index(0).data().toString().startsWith(u'('));
    QVERIFY(historia->Model->index(1).data().toString().startsWith(QStringLiteral("  ↳ (")));
    QVERIFY(historia->Model->index(2).data().toString().startsWith(QStringLiteral("    ↳ (")));
    QVERIFY(
        historia->Model->index(2).data().toString().endsWith(QStringLiteral("1002: Co słychać?")));

    // Read now: the next start brings nothing back.
    okno->Zaznacz(bolek->Dziecko(0));
    okno->Zaznacz(konferencja->Dziecko(1));
    okno.reset();
    okno = NoweOkno();
    QVERIFY(okno);
    QCOMPARE(okno->Drzewo.ZnajdzUzytkownika(1002)->LiczbaDzieci(), 0);
  }

  void zabityPoPotwierdzeniuNicNieTraci()
  {
    Przygotuj();
    int sekwencja = 0;
    {
      auto okno = NoweOkno();
      QVERIFY(okno);
      Odpowiedz(*okno, okno->Drzewo.ZnajdzUzytkownika(1001), QStringLiteral("Nie zgub"));
      sekwencja = okno->Drzewo.ZnajdzUzytkownika(1001)
                      ->Dziecko(0)
                      ->DaneJako<TWypowiedz>()
                      ->DaneDodatkowe()
                      .NumerSekwencyjny;
    }
    TSerwery serwery;
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QStringLiteral(PAPLANKI_POMOCNIK), {serwery.http.PortTekst()});
    QVERIFY(program.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(serwery.gg.Pakiety(0, GGReqSendMsg).size(), 1, 20000);
    QCOMPARE(LEToInt(serwery.gg.Pakiety(0, GGReqSendMsg).first().cialo, 4), sekwencja);
    serwery.gg.Wyslij(
        ZbudujRamke(GGAnsSendMsgAck, CialoPotwierdzenia(2, 1001, sekwencja)) +
        ZbudujRamke(GGAnsRecvMsg, CialoWiadomosci(1002, 9, Nadano, 8, QByteArray("Jeste\x9C?"))));
    // The moment both are in the file, the process dies without any chance to tidy up.
    QTRY_VERIFY_WITH_TIMEOUT(
        Zapytaj(QStringLiteral("SELECT status FROM wiadomosci WHERE sekwencja = %1").arg(sekwencja))
                    .toInt() == 2 &&
            Zapytaj(QStringLiteral("SELECT COUNT(*) FROM wiadomosci WHERE numer = 1002")).toInt() ==
                1,
        10000);
    program.kill();
    QVERIFY(program.waitForFinished());
    QCOMPARE(program.exitStatus(), QProcess::CrashExit);

    auto okno = NoweOkno();
    QVERIFY(okno);
    QVERIFY(okno->Archiwum());
    QVERIFY(okno->Archiwum()->OdlozonyPlik().isEmpty());
    QCOMPARE(okno->Drzewo.ZnajdzUzytkownika(1001)->LiczbaDzieci(), 0);
    QCOMPARE(okno->Archiwum()->Rozmowa(1001, 0, 10).value(0).status, 2);
    TWezel *bolek = okno->Drzewo.ZnajdzUzytkownika(1002);
    QCOMPARE(bolek->LiczbaDzieci(), 1);
    QVERIFY(bolek->Dziecko(0)->Tekst().endsWith(QStringLiteral("Jesteś?")));
    QVERIFY(okno->Drzewo.MaStanWezla(bolek->Dziecko(0), StanWezla::Pogrubiony));
  }

  void zamykanieNieprzeczytaneIOczekujace()
  {
    Przygotuj();
    auto okno = NoweOkno();
    QVERIFY(okno);
    TDrzewo &d = okno->Drzewo;
    // A received line, unread, as the dispatcher leaves it; a message written offline.
    TWezel *linia = d.Dodaj(d.ZnajdzUzytkownika(1002), QStringLiteral("Hej"));
    linia->UstawDane(std::make_shared<TWypowiedz>(
        nullptr, std::make_unique<TDaneDodatkowe>(2, 1002, int(Nadano), 7, QDateTime()),
        QStringLiteral("Hej")));
    d.UstawStanWezla(linia, StanWezla::Pogrubiony, StanWezla::Pogrubiony);
    Odpowiedz(*okno, d.ZnajdzUzytkownika(1001), QStringLiteral("Czekam"));

    // "No" keeps the window: the line shown by the question counts as seen.
    auto pytanie = OdpowiedzNaKomunikat(QStringLiteral("&Nie"));
    QVERIFY(!okno->close());
    QVERIFY(pytanie->Pokazany);
    QVERIFY(okno->isVisible());
    okno->Archiwum()->Zaczekaj();
    QVERIFY(okno->Archiwum()->Nieprzeczytane().isEmpty());
    QCOMPARE(okno->Archiwum()->Oczekujace().size(), 1);

    // Nothing unread now: only the count of what waits, then the window closes.
    auto informacja = OdpowiedzNaKomunikat();
    QVERIFY(okno->close());
    QVERIFY(informacja->Pokazany);
    QCOMPARE(informacja->Tekst, TFrmPaplankiMain::TekstOczekujacych(1).replace(u'\r', u'\n'));
    QCOMPARE(informacja->Przyciski.size(), 1);
  }

  void uszkodzoneArchiwumOdlozoneRaz()
  {
    Przygotuj();
    QFile plik(PlikArchiwumOkna());
    QVERIFY(plik.open(QIODevice::WriteOnly));
    plik.write(QByteArray(3000, '\x42'));
    plik.close();
    const QString odlozony = PlikArchiwumOkna() + QStringLiteral(".uszkodzone-") +
                             QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    QFile::remove(odlozony);
    {
      auto komunikat = OdpowiedzNaKomunikat();
      auto okno = NoweOkno();
      QVERIFY(okno);
      QTRY_VERIFY(komunikat->Pokazany);
      QCOMPARE(komunikat->Tekst,
               TFrmPaplankiMain::TekstOdlozonegoArchiwum(odlozony).replace(u'\r', u'\n'));
      QCOMPARE(komunikat->Ikona, QMessageBox::Warning);
      QVERIFY(QFile::exists(odlozony));
      QVERIFY(okno->Archiwum());
      // Works from the start: a message written now is kept.
      Odpowiedz(*okno, okno->Drzewo.ZnajdzUzytkownika(1001), QStringLiteral("Po awarii"));
    }
    auto komunikat = OdpowiedzNaKomunikat(QString(), 1000);
    auto okno = NoweOkno();
    QVERIFY(okno);
    QTest::qWait(1200); // time for a box that must not come
    QVERIFY(!komunikat->Pokazany);
    QCOMPARE(okno->Drzewo.ZnajdzUzytkownika(1001)->LiczbaDzieci(), 1);
    QFile::remove(odlozony);
  }
};

PAPLANKI_TEST_MAIN(TestArchiwumOkna)
#include "test_ArchiwumOkna.moc"
