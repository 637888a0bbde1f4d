// The account command "Kim jestem": the directory requests around the dialog and what the window
// and the settings keep afterwards.

#include "app/Sciezki.h"
#include "common/OknaPowloki.h"
#include "common/OknoGlowne.h"
#include "common/RejestracjaTestowa.h"
#include "common/SerweryGG.h"
#include "common/Srodowisko.h"
#include "dialogs/ui/KatalogFrm.h"
#include "dialogs/ui/MojeDaneFrm.h"
#include "gg/Dziennik.h"
#include "gg/Liczby.h"
#include "gg/Pakiety.h"
#include "gg/Sesja.h"
#include "net/Gniazdo.h"

#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

namespace {

QByteArray Para(const QByteArray &klucz, const QByteArray &wartosc)
{
  return klucz + '\0' + wartosc + '\0';
}

QString PlikDziennika()
{
  return TDziennik::SciezkaDziennika(SciezkaProgramu());
}

} // namespace

class TestFrmPaplankiMainKonto : public QObject {
  Q_OBJECT
  // The directory's state the dialog shows; a main window keeps its own.
  TKatalog m_stanKatalogu;

  std::unique_ptr<TSerwerGGTestowy> m_serwer;
  std::unique_ptr<TOknoGlowneTestowe> m_okno;

  QList<TPakietGG> Katalogowe() const { return m_serwer->Pakiety(0, GGReqPubDir); }

  // Waits, pumping events, for `ile` directory requests at the server.
  bool CzekajNaKatalogowe(int ile) const
  {
    (void)QTest::qWaitFor([&] { return Katalogowe().size() >= ile; }, 5000);
    return Katalogowe().size() == ile;
  }

  // Runs the command; `wDialogu` acts on the open dialog and closes it.
  void Konfiguracja(std::function<void(TMojeDaneFrm &)> wDialogu)
  {
    bool otwarty = false;
    OdpowiedzNaOknoModalne([&](QWidget *okno) {
      otwarty = okno == MojeDaneFrm;
      if (!otwarty) {
        okno->close();
        return;
      }
      wDialogu(*MojeDaneFrm);
      if (MojeDaneFrm->isVisible())
        MojeDaneFrm->reject();
    });
    m_okno->Konfiguracja1Click();
    QVERIFY(otwarty);
  }

private slots:
  void initTestCase()
  {
    WylaczSprawdzanieWersji();
    QApplication::setQuitOnLastWindowClosed(false);
    KatalogFrm = new TKatalogFrm(m_stanKatalogu);
  }
  void cleanupTestCase()
  {
    delete KatalogFrm;
    KatalogFrm = nullptr;
  }
  void init()
  {
    UsunUstawieniaOkna();
    QFile::remove(PlikDziennika());
    ZapiszKontoTestowe();
    MojeDaneFrm = new TMojeDaneFrm;
    m_okno = std::make_unique<TOknoGlowneTestowe>();
    m_serwer = std::make_unique<TSerwerGGTestowy>(0x1234);
    m_okno->Sesja().PolaczZSerwerem(QStringLiteral("127.0.0.1"), m_serwer->PortTekst());
    QTRY_COMPARE(m_okno->Sesja().StanGG(), gsConnected);
  }
  void cleanup()
  {
    m_okno.reset();
    m_serwer.reset();
    delete MojeDaneFrm;
    MojeDaneFrm = nullptr;
    QFile::remove(PlikDziennika());
  }

  // The read request goes out before the dialog shows; its reply fills only the fields it names.
  // Cancelling sends nothing more and keeps the account.
  void anulowanie()
  {
    MojeDaneFrm->NazwiskoEd->setText(QStringLiteral("Stare"));
    QByteArray odczyt;
    Konfiguracja([&](TMojeDaneFrm &d) {
      QCOMPARE(d.NumerEd->text(), QStringLiteral("4321"));
      QCOMPARE(d.HasloEd->text(), QStringLiteral("tajne"));
      QVERIFY(CzekajNaKatalogowe(1));
      odczyt = Katalogowe()[0].cialo;
      // What the dispatcher hands over from the directory's reply.
      m_okno->Katalog().ObsluzOdpowiedz(QByteArray(1, '\x02') + IntToLE(7) +
                                        Para("firstname", "Ala") + Para("gender", "2"));
      QCOMPARE(d.ImieEd->text(), QStringLiteral("Ala"));
      QCOMPARE(d.NazwiskoEd->text(), QStringLiteral("Stare"));
      QCOMPARE(d.PlecIndeks(), 2);
      d.NumerEd->setText(QStringLiteral("999"));
      d.BitBtn2->click();
    });
    QCOMPARE(odczyt.at(0), '\x02');
    QCOMPARE(odczyt.mid(5), Para("FmNumber", "4321"));
    QTest::qWait(200); // no further directory request may follow
    QCOMPARE(Katalogowe().size(), 1);
    QCOMPARE(m_okno->Sesja().NumerWlasny(), 4321);
    QCOMPARE(CzytajUstawienieOkna(QStringLiteral("Ustawienia/OstatniUzytkownik")),
             QStringLiteral("4321"));
  }

  // OK sends the write request with the number as it was and takes the number; a number that
  // is not greater than zero is refused in the dialog, which stays open, and nothing is sent
  // or stored.
  void zatwierdzenie_data()
  {
    QTest::addColumn<QString>("numer");
    QTest::addColumn<QByteArray>("pary");
    QTest::addColumn<QString>("odmowa");
    const QByteArray dane =
        Para("firstname", "Ala") + Para("city", "\xA3\xF3\x64\x9F") + Para("gender", "1");
    QTest::newRow("nowy numer") << "555" << Para("FmNumber", "4321") + dane << QString();
    QTest::newRow("numer pusty") << "" << QByteArray()
                                 << QStringLiteral("Wpisz numer GG: liczbę większą od zera.");
    QTest::newRow("numer nie liczbą")
        << "12x" << QByteArray()
        << QStringLiteral("„12x” nie jest numerem GG: numer to liczba większa od zera.");
    QTest::newRow("brak konta")
        << "-1" << QByteArray()
        << QStringLiteral("„-1” nie jest numerem GG: numer to liczba większa od zera.");
    QTest::newRow("zero") << "0" << QByteArray()
                          << QStringLiteral(
                                 "„0” nie jest numerem GG: numer to liczba większa od zera.");
  }
  void zatwierdzenie()
  {
    QFETCH(QString, numer);
    QFETCH(QByteArray, pary);
    QFETCH(QString, odmowa);
    const bool przyjety = odmowa.isEmpty();
    auto blad = std::make_shared<TOdczytanyKomunikat>();
    bool otwartyPoOdmowie = false;
    Konfiguracja([&](TMojeDaneFrm &d) {
      d.NumerEd->setText(numer);
      d.HasloEd->setText(QStringLiteral("nowe"));
      d.ImieEd->setText(QStringLiteral("Ala"));
      d.MiejscowoscEd->setText(QStringLiteral("Łódź"));
      d.PlecRG->findChildren<QRadioButton *>()[1]->setChecked(true);
      // Armed only when a box must come: an idle one would close the next test's dialog.
      if (!przyjety)
        blad = OdpowiedzNaKomunikat();
      d.BitBtn1->click();
      otwartyPoOdmowie = d.isVisible();
      if (!przyjety) {
        QCOMPARE(d.NumerEd->text(), numer);
        QCOMPARE(d.NumerEd->selectedText(), numer);
        QCOMPARE(d.HasloEd->text(), QStringLiteral("nowe"));
      }
    });
    QCOMPARE(otwartyPoOdmowie, !przyjety);
    if (przyjety) {
      QVERIFY(CzekajNaKatalogowe(2));
      const QByteArray zapis = Katalogowe()[1].cialo;
      QCOMPARE(zapis.at(0), '\x01');
      QCOMPARE(zapis.mid(5), pary);
    } else {
      QVERIFY(blad->Pokazany);
      QCOMPARE(blad->Tekst, odmowa);
      QTest::qWait(200); // no further directory request may follow
      QCOMPARE(Katalogowe().size(), 1);
    }
    const QString oczekiwany = przyjety ? numer : QStringLiteral("4321");
    QCOMPARE(m_okno->Sesja().NumerWlasny(), oczekiwany.toInt());
    QCOMPARE(m_okno->Sesja().HasloWlasne(),
             przyjety ? QStringLiteral("nowe") : QStringLiteral("tajne"));
    QCOMPARE(CzytajUstawienieOkna(QStringLiteral("Ustawienia/OstatniUzytkownik")), oczekiwany);
    QCOMPARE(CzytajUstawienieOkna(QStringLiteral("Ustawienia/OstatnieHasloUzytkownika")),
             przyjety ? QStringLiteral("nowe") : QStringLiteral("tajne"));
  }

  // A new number registered in the dialog becomes the account only with OK; the event log gets
  // the number and the password.
  void nowyNumer()
  {
    ZapiszUstawienieOkna(QStringLiteral("Ustawienia/Logowanie"), QStringLiteral("1"));
    TUslugaRejestracji usluga;
    MojeDaneFrm->HostRejestracji = usluga.Host();
    MojeDaneFrm->PortRejestracji = usluga.Port();
    QString numerPrzedOk;
    Konfiguracja([&](TMojeDaneFrm &d) {
      d.NowyRB->setChecked(true);
      d.HasloEd->setText(QStringLiteral("haslo1"));
      d.ObrazekEd->setText(QStringLiteral("x7k"));
      d.UtworzBB->click();
      QVERIFY(d.IstniejacyRB->isChecked());
      QCOMPARE(d.NumerEd->text(), QStringLiteral("7654321"));
      numerPrzedOk = CzytajUstawienieOkna(QStringLiteral("Ustawienia/OstatniUzytkownik"));
      d.BitBtn1->click();
    });
    QCOMPARE(numerPrzedOk, QStringLiteral("4321"));
    QCOMPARE(m_okno->Sesja().NumerWlasny(), 7654321);
    QCOMPARE(CzytajUstawienieOkna(QStringLiteral("Ustawienia/OstatniUzytkownik")),
             QStringLiteral("7654321"));
    QCOMPARE(CzytajUstawienieOkna(QStringLiteral("Ustawienia/OstatnieHasloUzytkownika")),
             QStringLiteral("haslo1"));
    // The entry is written under the account it was registered from.
    QVERIFY(CzekajNaKatalogowe(2));
    QVERIFY(Katalogowe()[1].cialo.mid(5).startsWith(Para("FmNumber", "4321")));

    QFile dziennik(PlikDziennika());
    QVERIFY(dziennik.open(QIODevice::ReadOnly));
    const QString tresc = QString::fromUtf8(dziennik.readAll());
    QVERIFY(tresc.startsWith(QStringLiteral("[Hasła]\n")));
    QVERIFY2(tresc.trimmed().endsWith(QStringLiteral("=7654321;haslo1")), qPrintable(tresc));
  }
};

PAPLANKI_TEST_MAIN(TestFrmPaplankiMainKonto)
#include "test_FrmPaplankiMainKonto.moc"
