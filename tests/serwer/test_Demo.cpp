// What scripts/run starts, headless: the demo server and the real main window on the demo
// profile; it logs in at once, and Bot answers.

#include "common/OknoGlowne.h"
#include "common/SerwerPaplanek.h"
#include "common/Srodowisko.h"
#include "contacts/Galezie.h"
#include "contacts/ui/FrmPaplankiDaneUzytkownika.h"
#include "dialogs/ui/FrmStan.h"
#include "dialogs/ui/KatalogFrm.h"
#include "dialogs/ui/MojeDaneFrm.h"
#include "dialogs/ui/WypowiedzFrm.h"
#include "gg/Sesja.h"

#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QToolButton>

#include <memory>

class TestDemo : public QObject {
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

  void profilDemoLogujeIBotOdpowiada()
  {
    const QString skrypty = TProcesSerwera::KatalogZrodel() + QStringLiteral("/scripts/");
    TProcesSerwera serwer({}, skrypty + QStringLiteral("serwer-demo"));
    QVERIFY(serwer.Uruchom());

    UsunUstawieniaOkna();
    const QString konfiguracja = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
    QCOMPARE(QProcess::execute(skrypty + QStringLiteral("profil-demo"),
                               {konfiguracja, QStringLiteral("1001"), QStringLiteral("ala"),
                                QString::number(serwer.PortHttp()), QStringLiteral("1002:Bot"),
                                QStringLiteral("1003:Ola")}),
             0);
    QVERIFY(QFile::exists(PlikUstawienOkna()));
    // Owner-only: it holds the password.
    QCOMPARE(QFile::permissions(PlikUstawienOkna()) & 0x0077, QFileDevice::Permissions());

    auto okno = std::make_unique<TFrmPaplankiMain>();
    okno->show();
    QVERIFY(QTest::qWaitForWindowExposed(okno.get()));
    QTRY_COMPARE_WITH_TIMEOUT(okno->TekstPanelu(TFrmPaplankiMain::PanelZdarzen),
                              QStringLiteral("Połączony z serwerem"), 10000);
    TDrzewo &d = okno->Drzewo;
    TWezel *bot = d.ZnajdzUzytkownika(1002);
    QVERIFY(bot && d.ZnajdzUzytkownika(1003));
    QTRY_COMPARE(bot->Tekst(), QStringLiteral("Bot(Odpowiadam na każdą wiadomość)"));

    okno->TreePMPopup();
    QVERIFY2(PozycjaMenu(okno->TreePM, QStringLiteral("Serwer alternatywny 127.0.0.1, 127.0.0.1:%1")
                                           .arg(serwer.PortHttp())),
             qPrintable(OpisMenu(okno->TreePM)));

    OdpowiedzNaOknoModalne([](QWidget *w) {
      auto *dialog = qobject_cast<TWypowiedzFrm *>(w);
      if (!dialog) {
        w->close();
        return;
      }
      dialog->TwojaOdpowiedzRE->setPlainText(QStringLiteral("Dzień dobry"));
      QTest::keyClick(dialog->TwojaOdpowiedzRE, Qt::Key_Return);
    });
    okno->WyslijWiadomosc(TDrzewo::UzytkownikWezla(bot), 1002, bot);
    QTRY_VERIFY(bot->LiczbaDzieci() > 0);
    TWezel *wyslana = nullptr;
    for (int i = 0; i < bot->LiczbaDzieci(); ++i)
      if (bot->Dziecko(i)->Tekst() == QStringLiteral("Dzień dobry"))
        wyslana = bot->Dziecko(i);
    QVERIFY(wyslana);
    QTRY_COMPARE(wyslana->ObrazStanu(), 2);
    // The answer hangs below the message it answers.
    QTRY_COMPARE(wyslana->LiczbaDzieci(), 1);
    QVERIFY2(wyslana->Dziecko(0)->Tekst().endsWith(QStringLiteral(")Odpowiedź: Dzień dobry")),
             qPrintable(wyslana->Dziecko(0)->Tekst()));
    okno.reset();
  }

  // A fresh profile pointed at the server: the window's first show opens "Kim jestem", the
  // account is registered there with the token, and the new account logs in.
  void rejestracjaWOknieILogowanie()
  {
    TProcesSerwera serwer;
    QVERIFY(serwer.Uruchom());
    UsunUstawieniaOkna();
    ZapiszUstawienieOkna(QStringLiteral("Ustawienia/Przylaczaj"), QStringLiteral("0"));
    ZapiszUstawienieOkna(QStringLiteral("Ustawienia/SerwerAlternatywny"), QStringLiteral("1"));
    ZapiszUstawienieOkna(QStringLiteral("Ustawienia/AdresAlternatywny"),
                         QStringLiteral("127.0.0.1"));
    ZapiszUstawienieOkna(QStringLiteral("Ustawienia/PortAlternatywny"),
                         QString::number(serwer.PortHttp()));
    if (!MojeDaneFrm)
      MojeDaneFrm = new TMojeDaneFrm;

    QString numer;
    bool zarejestrowano = false;
    std::function<void(QWidget *)> odpowiedz = [&](QWidget *w) {
      if (w != MojeDaneFrm) {
        w->close(); // the hint box after the dialog
        return;
      }
      MojeDaneFrm->NowyRB->setChecked(true);
      const QString token = MojeDaneFrm->IdentyfikatorTokenu;
      const QByteArray wartosc = ZapytajBaze(
          serwer.PlikBazy(),
          QStringLiteral("SELECT wartosc FROM tokeny WHERE CAST(id AS TEXT)='%1'").arg(token));
      MojeDaneFrm->HasloEd->setText(QStringLiteral("nowe hasło"));
      MojeDaneFrm->ObrazekEd->setText(QString::fromLatin1(wartosc));
      QTest::mouseClick(MojeDaneFrm->UtworzBB, Qt::LeftButton);
      zarejestrowano = QTest::qWaitFor([] { return MojeDaneFrm->IstniejacyRB->isChecked(); }, 5000);
      numer = MojeDaneFrm->NumerEd->text();
      // The hint box that follows the dialog.
      OdpowiedzNaOknoModalne(odpowiedz, 20000);
      MojeDaneFrm->accept();
    };
    OdpowiedzNaOknoModalne(odpowiedz, 20000);
    auto okno = std::make_unique<TFrmPaplankiMain>();
    okno->show();
    QTRY_VERIFY(zarejestrowano);
    QCOMPARE(numer, QStringLiteral("1001"));
    QCOMPARE(okno->Sesja().NumerWlasny(), 1001);
    QCOMPARE(CzytajUstawienieOkna(QStringLiteral("Ustawienia/OstatniUzytkownik")),
             QStringLiteral("1001"));

    okno->PolaczTB->click();
    QTRY_COMPARE_WITH_TIMEOUT(okno->TekstPanelu(TFrmPaplankiMain::PanelZdarzen),
                              QStringLiteral("Połączony z serwerem"), 10000);
    QVERIFY(serwer.Dziennik().contains("zalogowany 1001"));
    okno.reset();
    delete MojeDaneFrm;
    MojeDaneFrm = nullptr;
  }
};

PAPLANKI_TEST_MAIN(TestDemo)
#include "test_Demo.moc"
