// The main window on the desktop, end to end: the real window logs in through loopback lookup
// and GG servers, under a private D-Bus session bus with a small notification service of the
// test's own. Received messages give one notification per sender (a burst replaces it), the
// title counts the unread, the notification's actions answer and show, and the tray's menu sets
// the status through the same path as the status dialog, all the way to the wire.

#include "common/OdbiorTestowy.h"
#include "common/OknoGlowne.h"
#include "common/SerweryGG.h"
#include "common/Srodowisko.h"
#include "contacts/ModelDrzewa.h"
#include "contacts/ui/FrmPaplankiDaneUzytkownika.h"
#include "contacts/ui/Obrazki.h"
#include "dialogs/ui/FrmStan.h"
#include "dialogs/ui/KatalogFrm.h"
#include "dialogs/ui/WypowiedzFrm.h"
#include "gg/Liczby.h"
#include "gg/Pakiety.h"
#include "gg/Sesja.h"
#include "gg/SesjaPakiety.h"
#include "gg/StronyKodowe.h"
#include "program/PulpitGlownegoOkna.h"
#include "pulpit/LicznikNieprzeczytanych.h"
#include "pulpit/Powiadomienia.h"
#include "pulpit/ui/Zasobnik.h"

#include <QAction>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTextEdit>
#include <QToolButton>

#include <memory>

namespace {

constexpr quint32 Ziarno = 0x0BADF00D;
constexpr quint32 Nadano = 1719835200;
const QString Sciezka = QStringLiteral("/org/freedesktop/Notifications");
const QString Interfejs = QStringLiteral("org.freedesktop.Notifications");

// The real window, without the sound card.
class TOknoCiche : public TFrmPaplankiMain {
public:
  void DzwiekNowejWiadomosci() override {}
};

} // namespace

// A notification service as a desktop runs one: numbers its notifications, replaces one when
// asked, and sends the action signals when the test "clicks".
class TUslugaPowiadomien : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
  struct TWywolanie {
    QString aplikacja;
    uint zastepuje = 0;
    QString ikona;
    QString tytul;
    QString tresc;
    QStringList akcje;
    QVariantMap wskazowki;
    int wygasanie = 0;
    uint id = 0;
  };
  QList<TWywolanie> Wywolania;
  QMap<uint, TWywolanie> Widoczne;

  explicit TUslugaPowiadomien(const QDBusConnection &polaczenie) : m_polaczenie(polaczenie) {}

  void Kliknij(uint id, const QString &akcja)
  {
    QDBusMessage sygnal =
        QDBusMessage::createSignal(Sciezka, Interfejs, QStringLiteral("ActionInvoked"));
    sygnal << id << akcja;
    m_polaczenie.send(sygnal);
  }

  // The notifications on screen whose title starts with `kto`.
  QList<TWywolanie> Od(const QString &kto) const
  {
    QList<TWywolanie> wynik;
    for (const TWywolanie &w : Widoczne)
      if (w.tytul.startsWith(kto))
        wynik << w;
    return wynik;
  }

public slots:
  uint Notify(const QString &aplikacja, uint zastepuje, const QString &ikona, const QString &tytul,
              const QString &tresc, const QStringList &akcje, const QVariantMap &wskazowki,
              int wygasanie)
  {
    TWywolanie w{aplikacja, zastepuje, ikona, tytul, tresc, akcje, wskazowki, wygasanie, 0};
    w.id = zastepuje != 0 && Widoczne.contains(zastepuje) ? zastepuje : ++m_ostatni;
    Wywolania << w;
    Widoczne[w.id] = w;
    return w.id;
  }
  QStringList GetCapabilities()
  {
    return {QStringLiteral("actions"), QStringLiteral("body"), QStringLiteral("body-markup")};
  }
  void CloseNotification(uint id) { Widoczne.remove(id); }

private:
  QDBusConnection m_polaczenie;
  uint m_ostatni = 0;
};

class TestPulpitOkna : public QObject {
  Q_OBJECT
  // The directory's state the dialog shows; a main window keeps its own.
  TKatalog m_stanKatalogu;

  QProcess m_demon;
  std::unique_ptr<TUslugaPowiadomien> m_usluga;

  // A window logged in through loopback servers, with the contacts 1001 "Ala" and 1002 "Bolek".
  struct TPolaczone {
    TSerwerGGTestowy gg{Ziarno};
    TSerwerHttpGG http;
    std::unique_ptr<TFrmPaplankiMain> okno;
  };

  std::unique_ptr<TPolaczone> Polacz()
  {
    UsunUstawieniaOkna();
    ZapiszKontoTestowe();
    ZapiszUstawienieOkna(QStringLiteral("Ustawienia/SerwerAlternatywny"), QStringLiteral("1"));
    ZapiszUstawienieOkna(QStringLiteral("Sledzeni/1001/Opis"), QStringLiteral("Ala"));
    ZapiszUstawienieOkna(QStringLiteral("Sledzeni/1002/Opis"), QStringLiteral("Bolek"));
    auto p = std::make_unique<TPolaczone>();
    p->gg.UstawOdpowiedzNaLogowanie(GGAnsLoginOk);
    p->http.UstawOdpowiedz({TSerwerHttpGG::OdpowiedzWyszukiwania(p->gg.PortTekst())});
    p->okno = std::make_unique<TOknoCiche>();
    p->okno->Sesja().UstawPortHttp(p->http.PortTekst());
    p->okno->PolaczTB->click();
    if (!QTest::qWaitFor([&] { return p->okno->Sesja().Zalogowany(); }, 10000))
      return nullptr;
    return p;
  }

  static QByteArray Wiadomosc(qint32 nadawca, int sekwencja, const QByteArray &tekst)
  {
    return ZbudujRamke(GGAnsRecvMsg, CialoWiadomosci(nadawca, sekwencja, Nadano, 0x08, tekst));
  }

  static QString Tytul(const TFrmPaplankiMain &okno) { return okno.windowTitle(); }

private slots:
  void initTestCase()
  {
    // A session bus of this test alone, before anything asks for the session bus.
    m_demon.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--nofork"),
                   QStringLiteral("--print-address")});
    QVERIFY2(m_demon.waitForStarted(), "dbus-daemon (package dbus-daemon) is missing");
    QVERIFY(m_demon.waitForReadyRead(10000));
    const QByteArray adres = m_demon.readLine().trimmed();
    QVERIFY(!adres.isEmpty());
    qputenv("DBUS_SESSION_BUS_ADDRESS", adres);
    QVERIFY(QDBusConnection::sessionBus().isConnected());

    QDBusConnection usluga =
        QDBusConnection::connectToBus(QString::fromLatin1(adres), QStringLiteral("usluga"));
    QVERIFY(usluga.isConnected());
    m_usluga = std::make_unique<TUslugaPowiadomien>(usluga);
    QVERIFY(usluga.registerObject(Sciezka, m_usluga.get(), QDBusConnection::ExportAllSlots));
    QVERIFY(usluga.registerService(Interfejs));

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
    QDBusConnection::disconnectFromBus(QStringLiteral("usluga"));
    m_usluga.reset();
    m_demon.terminate();
    m_demon.waitForFinished();
  }

  void init()
  {
    m_usluga->Wywolania.clear();
    m_usluga->Widoczne.clear();
  }

  void powiadomieniaIOdpowiedz()
  {
    auto p = Polacz();
    QVERIFY(p);
    TFrmPaplankiMain &okno = *p->okno;
    QTRY_COMPARE(Tytul(okno), QStringLiteral("Paplanki (GG)"));
    QVERIFY(!okno.isActiveWindow());

    // One message of two lines: one notification with its first line, one unread in the title.
    p->gg.Wyslij(Wiadomosc(1002, 1, "Cze\x9C\xE6\r\nco s\xB3ycha\xE6?"));
    QTRY_COMPARE(m_usluga->Wywolania.size(), 1);
    const TUslugaPowiadomien::TWywolanie pierwsze = m_usluga->Wywolania.first();
    QCOMPARE(pierwsze.aplikacja, QStringLiteral("Paplanki (GG)"));
    QCOMPARE(pierwsze.zastepuje, 0u);
    QCOMPARE(pierwsze.ikona, QStringLiteral("pl.kolbiny.Paplanki"));
    QCOMPARE(pierwsze.tytul, QStringLiteral("Bolek"));
    QCOMPARE(pierwsze.tresc, QStringLiteral("Cześć"));
    QCOMPARE(pierwsze.akcje, (QStringList{QStringLiteral("default"), QStringLiteral("Pokaż"),
                                          QStringLiteral("odpowiedz"), QStringLiteral("Odpowiedz"),
                                          QStringLiteral("pokaz"), QStringLiteral("Pokaż")}));
    QCOMPARE(pierwsze.wskazowki.value(QStringLiteral("category")).toString(),
             QStringLiteral("im.received"));
    QCOMPARE(pierwsze.wskazowki.value(QStringLiteral("desktop-entry")).toString(),
             QStringLiteral("pl.kolbiny.Paplanki"));
    QTRY_COMPARE(Tytul(okno), QStringLiteral("(1) Paplanki (GG)"));

    // Ten from one sender in one piece of the stream, before the service has answered even the
    // first call: still one notification, showing the last message and the count.
    QByteArray seria;
    for (int i = 1; i <= 10; ++i)
      seria += Wiadomosc(1001, 100 + i, "<b>wiadomo\x9C\xE6 " + QByteArray::number(i) + "</b>");
    p->gg.Wyslij(seria);
    QTRY_COMPARE(m_usluga->Od(QStringLiteral("Ala")).size(), 1);
    QTRY_COMPARE(m_usluga->Od(QStringLiteral("Ala")).first().tytul, QStringLiteral("Ala (10)"));
    const TUslugaPowiadomien::TWywolanie ala = m_usluga->Od(QStringLiteral("Ala")).first();
    // Markup in a message is text: escaped for a service that reads markup.
    QCOMPARE(ala.tresc, QStringLiteral("&lt;b&gt;wiadomość 10&lt;/b&gt;"));
    int nowych = 0;
    for (const auto &w : m_usluga->Wywolania)
      if (w.tytul.startsWith(QStringLiteral("Ala")))
        nowych += w.zastepuje == 0;
    QCOMPARE(nowych, 1);
    QCOMPARE(m_usluga->Widoczne.size(), 2);
    QTRY_COMPARE(Tytul(okno), QStringLiteral("(11) Paplanki (GG)"));

    // One by one, each after the service answered: each replaces the same notification.
    for (int i = 11; i <= 13; ++i) {
      const qsizetype przed = m_usluga->Wywolania.size();
      p->gg.Wyslij(Wiadomosc(1001, 100 + i, "kolejna " + QByteArray::number(i)));
      QTRY_COMPARE(m_usluga->Wywolania.size(), przed + 1);
      QCOMPARE(m_usluga->Wywolania.last().zastepuje, ala.id);
    }
    QCOMPARE(m_usluga->Widoczne.size(), 2);
    QCOMPARE(m_usluga->Widoczne.value(ala.id).tytul, QStringLiteral("Ala (13)"));

    // "Pokaż" on Bolek's: the window comes forward with his message's first line selected, so
    // read; the message still counts until its second line is read too. The window in front
    // takes our notifications off the screen.
    const int przed = okno.Pulpit()->Licznik().Liczba();
    m_usluga->Kliknij(pierwsze.id, QStringLiteral("pokaz"));
    QTRY_VERIFY(okno.isVisible());
    QTRY_VERIFY(okno.ZaznaczonyWezel());
    TWezel *bolek = okno.Drzewo.ZnajdzUzytkownika(1002);
    QCOMPARE(okno.ZaznaczonyWezel(), bolek->Dziecko(0));
    QVERIFY(!okno.Drzewo.MaStanWezla(bolek->Dziecko(0), StanWezla::Pogrubiony));
    QCOMPARE(okno.Pulpit()->Licznik().Liczba(), przed);
    okno.Zaznacz(bolek->Dziecko(1));
    QCOMPARE(okno.Pulpit()->Licznik().Liczba(), przed - 1);
    QTRY_COMPARE(Tytul(okno), QStringLiteral("(%1) Paplanki (GG)").arg(przed - 1));
    QTRY_VERIFY(okno.isActiveWindow());
    QTRY_VERIFY(m_usluga->Widoczne.isEmpty());

    // Another program's notification number is not ours: nothing happens.
    m_usluga->Kliknij(9999, QStringLiteral("odpowiedz"));

    // While the window is the active one, a message raises no notification.
    const int wyslane = okno.Pulpit()->Powiadamianie().LiczbaWyslanych();
    p->gg.Wyslij(Wiadomosc(1002, 3, "jestem"));
    QTRY_COMPARE(okno.Pulpit()->Licznik().Liczba(), przed);
    QCOMPARE(okno.Pulpit()->Powiadamianie().LiczbaWyslanych(), wyslane);

    // Hidden again: Ala's next message is a new notification, and its "Odpowiedz" opens the
    // compose dialog on that message; the answer goes to her.
    okno.hide();
    p->gg.Wyslij(Wiadomosc(1001, 200, "kolejna 14"));
    QTRY_COMPARE(m_usluga->Widoczne.size(), 1);
    const TUslugaPowiadomien::TWywolanie nowe = m_usluga->Widoczne.first();
    QCOMPARE(nowe.zastepuje, 0u);
    QCOMPARE(nowe.tytul, QStringLiteral("Ala"));
    QString komentowana;
    OdpowiedzNaOknoModalne([&](QWidget *w) {
      auto *dialog = qobject_cast<TWypowiedzFrm *>(w);
      if (!dialog) {
        w->close();
        return;
      }
      komentowana = dialog->KomentowanaWypowiedzRE->toPlainText();
      dialog->TwojaOdpowiedzRE->setPlainText(QStringLiteral("Już czytam"));
      dialog->BitBtn1->click();
    });
    m_usluga->Kliknij(nowe.id, QStringLiteral("odpowiedz"));
    QTRY_COMPARE(p->gg.Pakiety(0, GGReqSendMsg).size(), 1);
    QVERIFY2(komentowana.endsWith(QStringLiteral(")kolejna 14")), qPrintable(komentowana));
    const QByteArray wyslana = p->gg.Pakiety(0, GGReqSendMsg).first().cialo;
    QCOMPARE(LEToInt(wyslana, 0), 1001);
    QVERIFY(wyslana.contains(AnsiToCp1250(QStringLiteral("Już czytam"))));
    QTRY_VERIFY(okno.isVisible());

    // Switched off in the tray's menu: stored, and no notification even for a hidden window.
    QAction *wlacznik = okno.Pulpit()->Zasobnik().PozycjaPowiadomienia();
    okno.Pulpit()->Zasobnik().Menu()->aboutToShow();
    QVERIFY(wlacznik->isChecked());
    wlacznik->trigger();
    QCOMPARE(CzytajUstawienieOkna(QStringLiteral("Ustawienia/Powiadomienia")), QStringLiteral("0"));
    okno.hide();
    const int przedHalo = okno.Pulpit()->Licznik().Liczba();
    const int wyslanePrzedHalo = okno.Pulpit()->Powiadamianie().LiczbaWyslanych();
    p->gg.Wyslij(Wiadomosc(1002, 4, "halo?"));
    QTRY_COMPARE(okno.Pulpit()->Licznik().Liczba(), przedHalo + 1);
    QCOMPARE(okno.Pulpit()->Powiadamianie().LiczbaWyslanych(), wyslanePrzedHalo);
    okno.Pulpit()->Zasobnik().Menu()->aboutToShow();
    QVERIFY(!wlacznik->isChecked());
  }

  // Before any login the tray says "not available"; a palette turned dark redraws the tree's
  // pictures for it, and back.
  void obrazyZaPaleta()
  {
    UsunUstawieniaOkna();
    ZapiszKontoTestowe();
    ZapiszUstawienieOkna(QStringLiteral("Sledzeni/1001/Opis"), QStringLiteral("Ala"));
    TOknoCiche okno;
    TWezel *ala = okno.Drzewo.ZnajdzUzytkownika(1001);
    QVERIFY(ala);
    // Never logged in: to others the user is not available.
    QTRY_COMPARE(okno.Pulpit()->Zasobnik().Ikona()->toolTip(),
                 QStringLiteral("Paplanki (GG)\nNiedostępny\nNieprzeczytane wiadomości: 0"));
    const auto obraz = [&] {
      const QIcon ikona = okno.Model->Indeks(ala).data(Qt::DecorationRole).value<QIcon>();
      return ikona.pixmap(QSize(16, 16), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
    };
    const auto wzor = [&](bool ciemne) {
      return ObrazyWezlow(1.0, ciemne)
          .value(ala->Obraz())
          .toImage()
          .convertToFormat(QImage::Format_ARGB32);
    };
    QVERIFY(wzor(false) != wzor(true));
    QCOMPARE(obraz(), wzor(false));
    const QPalette jasna = QApplication::palette();
    QPalette ciemna = jasna;
    for (const auto grupa : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      ciemna.setColor(grupa, QPalette::Base, QColor(27, 30, 32));
      ciemna.setColor(grupa, QPalette::Text, QColor(239, 240, 241));
    }
    QApplication::setPalette(ciemna);
    QTRY_COMPARE(obraz(), wzor(true));
    QApplication::setPalette(jasna);
    QTRY_COMPARE(obraz(), wzor(false));
  }

  // The tray's statuses go through UstawStan onto the wire, keeping the description; its other
  // items drive the window.
  void zasobnik()
  {
    auto p = Polacz();
    QVERIFY(p);
    TFrmPaplankiMain &okno = *p->okno;
    TZasobnik &zasobnik = okno.Pulpit()->Zasobnik();
    const auto pozycja = [&](const QString &tytul) -> QAction * {
      for (QAction *a : zasobnik.Menu()->actions())
        if (a->text() == tytul)
          return a;
      return nullptr;
    };
    QCOMPARE(zasobnik.PozycjeStanu().size(), 5);
    const auto statusy = [&] { return p->gg.Pakiety(0, GGReqNewStatus); };

    pozycja(QStringLiteral("Zajęty"))->trigger();
    QTRY_COMPARE(statusy().size(), 1);
    QCOMPARE(statusy().last().cialo, IntToLE(3));
    QCOMPARE(okno.TekstPanelu(TFrmPaplankiMain::PanelStanu), QStringLiteral("Zajęty"));
    QTRY_VERIFY(zasobnik.Ikona()->toolTip().contains(QStringLiteral("Zajęty")));

    // A description set in the status dialog stays when the tray changes the status.
    okno.Sesja().UstawStan(StanGG::Dostepny, QStringLiteral("w pracy"));
    QTRY_COMPARE(statusy().size(), 2);
    zasobnik.Menu()->aboutToShow();
    QVERIFY(pozycja(QStringLiteral("Dostępny"))->isChecked());
    QVERIFY(!pozycja(QStringLiteral("Zajęty"))->isChecked());
    pozycja(QStringLiteral("Niewidoczny"))->trigger();
    QTRY_COMPARE(statusy().size(), 3);
    QCOMPARE(statusy().last().cialo, IntToLE(22) + QByteArray("w pracy"));
    QTRY_COMPARE(
        zasobnik.Ikona()->toolTip(),
        QStringLiteral("Paplanki (GG)\nNiewidoczny: w pracy\nNieprzeczytane wiadomości: 0"));

    // The unread count reaches the tooltip too.
    p->gg.Wyslij(Wiadomosc(1002, 1, "hej"));
    QTRY_VERIFY(zasobnik.Ikona()->toolTip().endsWith(QStringLiteral("wiadomości: 1")));

    // "Połącz" is the toolbar button.
    zasobnik.Menu()->aboutToShow();
    QVERIFY(zasobnik.PozycjaPolacz()->isChecked());
    zasobnik.PozycjaPolacz()->trigger();
    QVERIFY(!okno.PolaczTB->isChecked());

    // Left click: a hidden window comes forward, the window in front hides.
    QVERIFY(!okno.isVisible());
    zasobnik.Kliknieto();
    QVERIFY(okno.isVisible());
    QTRY_VERIFY(okno.isActiveWindow());
    zasobnik.Kliknieto();
    QVERIFY(!okno.isVisible());
    zasobnik.PozycjaPokazOkno()->trigger();
    QVERIFY(okno.isVisible());

    // "Zakończ" closes the window the usual way: the unread question comes first.
    QString pytanie;
    OdpowiedzNaOknoModalne([&](QWidget *w) {
      auto *box = qobject_cast<QMessageBox *>(w);
      if (!box) {
        w->close();
        return;
      }
      pytanie = box->text();
      box->button(QMessageBox::Yes)->click();
    });
    QSignalSpy zamknieto(&okno, &TFormaStandardowa::Zamknieto);
    zasobnik.PozycjaZakoncz()->trigger();
    QCOMPARE(zamknieto.size(), 1);
    QVERIFY(pytanie.startsWith(QStringLiteral("Są jeszcze nieprzeczytane wiadomości.")));
  }
};

PAPLANKI_TEST_MAIN(TestPulpitOkna)
#include "test_PulpitOkna.moc"
