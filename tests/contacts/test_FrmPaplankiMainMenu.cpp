// The tree's popup menu of the main window: its two sections, the check marks, "Hasło" and the
// items' commands.

#include "common/OknaPowloki.h"
#include "common/OknoGlowne.h"
#include "common/ServerTestowy.h"
#include "common/SerweryGG.h"
#include "common/Srodowisko.h"
#include "contacts/ModelDrzewa.h"
#include "gg/Sesja.h"

#include <QAction>
#include <QMenu>

#include <memory>

namespace {

const QString Ogolne = QStringLiteral(
    "Wyślij | Użytkownicy { Zapisz | Pobierz | - | Outlook | Rejestr | Serwer } | Śledź | "
    "Kim jestem | Automatyczna zajętość | Tylko od przyjaciół | Informowanie o pisaniu | "
    "Informacje GG | Serwer alternatywny 127.0.0.1, localhost:80 | Hasło");

} // namespace

class TestFrmPaplankiMainMenu : public QObject {
  Q_OBJECT

  std::unique_ptr<TOknoGlowneTestowe> m_okno;
  TWezel *m_kontakt = nullptr;
  TWezel *m_wiadomosc = nullptr;
  TWezel *m_atrybut = nullptr;
  TWezel *m_zwykly = nullptr;

  TWezel *Cel(const QString &nazwa) const
  {
    if (nazwa == QStringLiteral("kontakt"))
      return m_kontakt;
    if (nazwa == QStringLiteral("wiadomość"))
      return m_wiadomosc;
    if (nazwa == QStringLiteral("atrybut"))
      return m_atrybut;
    if (nazwa == QStringLiteral("bez danych"))
      return m_zwykly;
    return nullptr;
  }

  void Utworz()
  {
    m_okno = std::make_unique<TOknoGlowneTestowe>();
    TDrzewo &d = m_okno->Drzewo;
    m_kontakt = d.DodajUzytkownika(777, QStringLiteral("Ala"), QStringLiteral("Kot"), QString(),
                                   QString(), QStringLiteral("Ala"), 1);
    m_wiadomosc = DodajWypowiedz(d, m_kontakt, QStringLiteral("cześć"), 777);
    m_atrybut = d.Dodaj(nullptr, QStringLiteral("Imiona"));
    m_atrybut->UstawDane(std::make_shared<TAtrybut>(nullptr));
    m_zwykly = d.Dodaj(nullptr, QStringLiteral("uczestnicy"));
  }

private slots:
  void initTestCase() { WylaczSprawdzanieWersji(); }
  void init()
  {
    UsunUstawieniaOkna();
    ZapiszKontoTestowe();
    Utworz();
  }
  void cleanup() { m_okno.reset(); }

  void zawartosc_data()
  {
    QTest::addColumn<QString>("cel");
    QTest::addColumn<QString>("menu");
    QTest::newRow("bez celu") << QString() << Ogolne;
    QTest::newRow("kontakt") << QStringLiteral("kontakt")
                             << QStringLiteral(
                                    "Wyślij | Edytuj | Przypisy | Historia | Anuluj śledzenie | "
                                    "- | Paplanki (GG) { ") +
                                    Ogolne + QStringLiteral(" }");
    QTest::newRow("wiadomość") << QStringLiteral("wiadomość")
                               << QStringLiteral("Odpowiedz | - | Paplanki (GG) { ") + Ogolne +
                                      QStringLiteral(" }");
    QTest::newRow("inne dane") << QStringLiteral("atrybut") << Ogolne;
    QTest::newRow("bez danych") << QStringLiteral("bez danych") << Ogolne;
  }
  void zawartosc()
  {
    QFETCH(QString, cel);
    QFETCH(QString, menu);
    QCOMPARE(m_okno->NazwaProduktu(), QStringLiteral("Paplanki (GG)"));
    m_okno->WybranyWezel = Cel(cel);
    m_okno->TreePMPopup();
    QCOMPARE(OpisMenu(m_okno->TreePM), menu);
    // Built afresh: a second opening shows the same, not twice as much.
    m_okno->TreePMPopup();
    QCOMPARE(OpisMenu(m_okno->TreePM), menu);
    for (QAction *a : m_okno->TreePM->actions()) {
      QVERIFY(a->isEnabled());
      QVERIFY(a->shortcut().isEmpty());
    }
  }

  // The optional settings point the alternative server elsewhere; the caption shows what is in
  // force, and turning the switch off restores the GG hosts and port 80.
  void serwerAlternatywnyZUstawien_data()
  {
    QTest::addColumn<QString>("adres");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("informacji");
    QTest::addColumn<QString>("rejestracji");
    QTest::addColumn<QString>("wPorcie");
    QTest::newRow("bez ustawień") << QString() << QString() << QStringLiteral("localhost")
                                  << QStringLiteral("127.0.0.1") << QStringLiteral("80");
    QTest::newRow("adres") << QStringLiteral("192.168.0.7") << QString()
                           << QStringLiteral("192.168.0.7") << QStringLiteral("192.168.0.7")
                           << QStringLiteral("80");
    QTest::newRow("port") << QString() << QStringLiteral("18080") << QStringLiteral("localhost")
                          << QStringLiteral("127.0.0.1") << QStringLiteral("18080");
    QTest::newRow("oba, ze spacjami")
        << QStringLiteral(" serwer.lan ") << QStringLiteral(" 8080") << QStringLiteral("serwer.lan")
        << QStringLiteral("serwer.lan") << QStringLiteral("8080");
    QTest::newRow("port nie liczbą")
        << QStringLiteral("serwer.lan") << QStringLiteral("abc") << QStringLiteral("serwer.lan")
        << QStringLiteral("serwer.lan") << QStringLiteral("80");
    QTest::newRow("port poza zakresem")
        << QString() << QStringLiteral("70000") << QStringLiteral("localhost")
        << QStringLiteral("127.0.0.1") << QStringLiteral("80");
  }
  void serwerAlternatywnyZUstawien()
  {
    QFETCH(QString, adres);
    QFETCH(QString, port);
    QFETCH(QString, informacji);
    QFETCH(QString, rejestracji);
    QFETCH(QString, wPorcie);
    m_okno.reset();
    ZapiszUstawienieOkna(QStringLiteral("Ustawienia/SerwerAlternatywny"), QStringLiteral("1"));
    if (!adres.isNull())
      ZapiszUstawienieOkna(QStringLiteral("Ustawienia/AdresAlternatywny"), adres);
    if (!port.isNull())
      ZapiszUstawienieOkna(QStringLiteral("Ustawienia/PortAlternatywny"), port);
    Utworz();
    TSesjaGG &sesja = m_okno->Sesja();
    QCOMPARE(sesja.AdresInformacji(), informacji);
    QCOMPARE(sesja.AdresRejestracji(), rejestracji);
    QCOMPARE(sesja.PortHttp(), wPorcie);

    const QString tytul =
        QStringLiteral("Serwer alternatywny %1, %2:%3").arg(rejestracji, informacji, wPorcie);
    m_okno->TreePMPopup();
    QAction *a = PozycjaMenu(m_okno->TreePM, tytul);
    QVERIFY2(a, qPrintable(OpisMenu(m_okno->TreePM)));
    QVERIFY(a->isChecked());
    a->trigger();
    QCOMPARE(sesja.AdresInformacji(), QStringLiteral("appmsg.gadu-gadu.pl"));
    QCOMPARE(sesja.AdresRejestracji(), QStringLiteral("register.gadu-gadu.pl"));
    QCOMPARE(sesja.PortHttp(), QStringLiteral("80"));
    // The caption names the alternative even while it is off.
    m_okno->TreePMPopup();
    QVERIFY(PozycjaMenu(m_okno->TreePM, tytul));
    UsunUstawienieOkna(QStringLiteral("Ustawienia/AdresAlternatywny"));
    UsunUstawienieOkna(QStringLiteral("Ustawienia/PortAlternatywny"));
  }

  void hasloTylkoPrzyZamknietymGniezdzie()
  {
    TSerwerTestowy serwer([](TPolaczenieTestowe &p) { p.CzekajNaZamkniecie(10000); });
    TSesjaGG &sesja = m_okno->Sesja();
    const auto maHaslo = [this] {
      m_okno->TreePMPopup();
      return PozycjaMenu(m_okno->TreePM, QStringLiteral("Hasło")) != nullptr;
    };
    QVERIFY(maHaslo());
    sesja.PolaczZSerwerem(QStringLiteral("127.0.0.1"), serwer.PortTekst());
    QCOMPARE(sesja.StanGG(), gsConnecting);
    QVERIFY(!maHaslo());
    QTRY_COMPARE(sesja.StanGG(), gsConnected);
    QVERIFY(!maHaslo());
    sesja.ZamknijPolaczenie();
    QTRY_COMPARE(sesja.StanGG(), gsClosed);
    QVERIFY(maHaslo());
  }

  void zaznaczonaBaza_data()
  {
    QTest::addColumn<QString>("zapisana");
    QTest::addColumn<QStringList>("zaznaczone");
    QTest::newRow("Outlook") << QStringLiteral("0") << QStringList{QStringLiteral("Outlook")};
    QTest::newRow("rejestr") << QStringLiteral("1") << QStringList{QStringLiteral("Rejestr")};
    QTest::newRow("serwer") << QStringLiteral("2") << QStringList{QStringLiteral("Serwer")};
    QTest::newRow("nieznana") << QStringLiteral("7") << QStringList();
    QTest::newRow("brak") << QString() << QStringList{QStringLiteral("Rejestr")};
  }
  void zaznaczonaBaza()
  {
    QFETCH(QString, zapisana);
    QFETCH(QStringList, zaznaczone);
    m_okno.reset();
    if (!zapisana.isNull())
      ZapiszUstawienieOkna(QStringLiteral("Ustawienia/BazaKontaktow"), zapisana);
    // No address book here: the Outlook store fails to load and says so at start-up.
    auto blad = OdpowiedzNaKomunikat(QString(), zapisana == u"0" ? 5000 : 200);
    Utworz();
    if (zapisana != u"0")
      QTest::qWait(250); // the answer runs out: it takes no box of a later test
    QCOMPARE(blad->Pokazany, zapisana == u"0");
    for (const QString &cel : {QString(), QStringLiteral("kontakt")}) {
      m_okno->WybranyWezel = Cel(cel);
      m_okno->TreePMPopup();
      QStringList bazy;
      for (const QString &b :
           {QStringLiteral("Outlook"), QStringLiteral("Rejestr"), QStringLiteral("Serwer")})
        if (PozycjaMenu(m_okno->TreePM, b)->isChecked())
          bazy << b;
      QCOMPARE(bazy, zaznaczone);
      QCOMPARE(m_okno->PozycjaOutlook->data().toInt(), 0);
      QCOMPARE(m_okno->PozycjaRejestr->data().toInt(), 1);
      QCOMPARE(m_okno->PozycjaSerwer->data().toInt(), 2);
    }
  }

  void przelacznikiOpcji_data()
  {
    QTest::addColumn<QString>("pozycja");
    QTest::addColumn<QString>("wartosc");
    QTest::addColumn<bool>("domyslnie");
    QTest::newRow("zajętość") << QStringLiteral("Automatyczna zajętość")
                              << QStringLiteral("AutomatycznyZajetyWolny") << true;
    QTest::newRow("przyjaciele") << QStringLiteral("Tylko od przyjaciół")
                                 << QStringLiteral("TylkoOdPrzyjaciol") << true;
    QTest::newRow("pisanie") << QStringLiteral("Informowanie o pisaniu")
                             << QStringLiteral("InformowanieOPisaniu") << false;
    QTest::newRow("informacje") << QStringLiteral("Informacje GG") << QStringLiteral("InformacjeGG")
                                << false;
    QTest::newRow("serwer") << QStringLiteral("Serwer alternatywny 127.0.0.1, localhost:80")
                            << QStringLiteral("SerwerAlternatywny") << false;
  }
  void przelacznikiOpcji()
  {
    QFETCH(QString, pozycja);
    QFETCH(QString, wartosc);
    QFETCH(bool, domyslnie);
    const QString klucz = QStringLiteral("Ustawienia/") + wartosc;
    for (const bool oczekiwana : {!domyslnie, domyslnie}) {
      m_okno->TreePMPopup();
      QAction *a = PozycjaMenu(m_okno->TreePM, pozycja);
      QVERIFY(a);
      QCOMPARE(a->isChecked(), !oczekiwana);
      a->trigger();
      QCOMPARE(CzytajUstawienieOkna(klucz), oczekiwana ? QStringLiteral("1") : QStringLiteral("0"));
      m_okno->TreePMPopup();
      QCOMPARE(PozycjaMenu(m_okno->TreePM, pozycja)->isChecked(), oczekiwana);
    }
  }

  void serwerAlternatywnyZmieniaHosty()
  {
    QCOMPARE(m_okno->Sesja().AdresInformacji(), QStringLiteral("appmsg.gadu-gadu.pl"));
    QCOMPARE(m_okno->Sesja().AdresRejestracji(), QStringLiteral("register.gadu-gadu.pl"));
    m_okno->SerwerAlternatywnyClick();
    QCOMPARE(m_okno->Sesja().AdresInformacji(), QStringLiteral("localhost"));
    QCOMPARE(m_okno->Sesja().AdresRejestracji(), QStringLiteral("127.0.0.1"));
    QCOMPARE(m_okno->Sesja().PortHttp(), QStringLiteral("80"));
    // Applied again at the next start.
    m_okno.reset();
    Utworz();
    QCOMPARE(m_okno->Sesja().AdresInformacji(), QStringLiteral("localhost"));
  }

  // The general "Wyślij" asks for a number whatever the target; the target section's items act
  // on the target.
  void pozycjeWysylania_data()
  {
    QTest::addColumn<QString>("cel");
    QTest::addColumn<QString>("pozycja");
    QTest::addColumn<bool>("ogolna");
    QTest::newRow("ogólne bez celu") << QString() << QStringLiteral("Wyślij") << true;
    QTest::newRow("kontakt: Wyślij")
        << QStringLiteral("kontakt") << QStringLiteral("Wyślij") << false;
    QTest::newRow("wiadomość: Odpowiedz")
        << QStringLiteral("wiadomość") << QStringLiteral("Odpowiedz") << false;
  }
  void pozycjeWysylania()
  {
    QFETCH(QString, cel);
    QFETCH(QString, pozycja);
    QFETCH(bool, ogolna);
    TWezel *wezel = Cel(cel);
    m_okno->WybranyWezel = wezel;
    m_okno->TreePMPopup();
    // The first item of that caption at the top level is the target section's.
    QAction *a = nullptr;
    for (QAction *p : m_okno->TreePM->actions())
      if (p->text() == pozycja && !a)
        a = p;
    QVERIFY(a);
    QCOMPARE(a == m_okno->PozycjaWyslij.data(), ogolna);
    a->trigger();
    QCOMPARE(m_okno->Wyslania.size(), 1);
    const auto w = m_okno->Wyslania.first();
    if (ogolna) {
      QVERIFY(!w.uzytkownik);
      QCOMPARE(w.numer, 0);
      QVERIFY(!w.wezel);
    } else {
      QCOMPARE(w.uzytkownik, m_kontakt->DaneJako<TUzytkownik>());
      QCOMPARE(w.numer, 777);
      QCOMPARE(w.wezel, wezel);
    }
    if (!ogolna) {
      // The general item inside the submenu still asks for a number.
      m_okno->Wyslania.clear();
      m_okno->PozycjaWyslij->trigger();
      QCOMPARE(m_okno->Wyslania.size(), 1);
      QVERIFY(!m_okno->Wyslania.first().wezel);
    }
  }

  // Each store item switches to the store of its tag (the answers' own rules are the contact
  // commands' and tested there).
  void przelaczenieBazy_data()
  {
    QTest::addColumn<QString>("pozycja");
    QTest::addColumn<QString>("odpowiedz");
    QTest::addColumn<int>("rodzaj");
    QTest::addColumn<int>("kontakty");
    QTest::newRow("Serwer, Tak") << QStringLiteral("Serwer") << QStringLiteral("&Tak") << 2 << 0;
    QTest::newRow("Serwer, Nie") << QStringLiteral("Serwer") << QStringLiteral("&Nie") << 2 << 1;
    QTest::newRow("Rejestr, Anuluj")
        << QStringLiteral("Rejestr") << QStringLiteral("Anuluj") << 1 << 1;
  }
  void przelaczenieBazy()
  {
    QFETCH(QString, pozycja);
    QFETCH(QString, odpowiedz);
    QFETCH(int, rodzaj);
    QFETCH(int, kontakty);
    m_okno->WybranyWezel = m_kontakt;
    m_okno->TreePMPopup();
    auto pytanie = OdpowiedzNaKomunikat(odpowiedz);
    PozycjaMenu(m_okno->TreePM, pozycja)->trigger();
    QVERIFY(pytanie->Pokazany);
    QCOMPARE(pytanie->Tytul, QStringLiteral("Paplanki (GG) - Zapytanie"));
    QCOMPARE(m_okno->RodzajBazy(), rodzaj);
    QCOMPARE(m_okno->Baza->Rodzaj(), rodzaj);
    int ileKontaktow = 0;
    for (int i = 0; i < m_okno->Drzewo.LiczbaGlownych(); ++i)
      ileKontaktow += m_okno->Drzewo.Glowny(i)->DaneJako<TUzytkownik>() != nullptr;
    QCOMPARE(ileKontaktow, kontakty);
  }

  // "Hasło" sends the direct registration request to the registration host and shows its answer.
  void hasloRejestruje()
  {
    TSerwerHttpGG http;
    http.UstawOdpowiedz({QByteArrayLiteral("HTTP/1.0 200 OK\r\n\r\nreg_success:4242\r\n")}, true);
    m_okno->SerwerAlternatywnyClick();
    m_okno->Sesja().UstawPortHttp(http.PortTekst());
    m_okno->TreePMPopup();
    auto wynik = OdpowiedzNaKomunikat();
    PozycjaMenu(m_okno->TreePM, QStringLiteral("Hasło"))->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(wynik->Pokazany, 10000);
    QCOMPARE(http.Zapytania().size(), 1);
    QVERIFY(http.Zapytania().first().startsWith("GET /appsvc/fmregister3.asp HTTP/1.0\r\n"
                                                "Host: 127.0.0.1\r\n"));
    QCOMPARE(wynik->Tytul, QStringLiteral("Paplanki (GG) - Informacja"));
    QVERIFY(wynik->Tekst.startsWith(QStringLiteral("Zarejestrowano numer 4242 z hasłem ")));
  }

  void usuniecieCeluPrzedOtwarciem()
  {
    m_okno->WybranyWezel = m_wiadomosc;
    m_okno->Drzewo.Usun(m_kontakt);
    QVERIFY(m_okno->WybranyWezel.isNull());
    m_okno->TreePMPopup();
    QCOMPARE(OpisMenu(m_okno->TreePM), Ogolne);
  }
};

PAPLANKI_TEST_MAIN(TestFrmPaplankiMainMenu)
#include "test_FrmPaplankiMainMenu.moc"
