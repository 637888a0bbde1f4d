#include "common/Srodowisko.h"
#include "common/StanowiskoWiadomosci.h"
#include "dialogs/ui/FrmStan.h"
#include "dialogs/ui/WypowiedzFrm.h"
#include "dialogs/ui/WysylanieZOknami.h"
#include "gg/Liczby.h"
#include "gg/Pakiety.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QTextEdit>

// The send-message command with the program's real dialogs, as the main window runs it.
class TestWysylanieZOknami : public QObject {
  Q_OBJECT
private slots:
  void initTestCase()
  {
    FrmStan = new TFrmStan;
    WypowiedzFrm = new TWypowiedzFrm;
  }
  void cleanupTestCase()
  {
    delete WypowiedzFrm;
    delete FrmStan;
  }

  void doNumeruWpisanego()
  {
    TStanowiskoGG s;
    s.ustawienia->UstawInformowanieOPisaniu(true);
    s.ustawienia->UstawOstatniAdresat(QStringLiteral("111"));
    QVERIFY(s.Zaloguj());
    FrmStan->WybranyStan = 3;
    FrmStan->InformacjaEd->setText(QStringLiteral("zaraz"));
    bool piszeWiadomosc = false;
    QList<TWezel *> rozwiniete;
    TWysylanieWiadomosci wysylanie = WysylanieZOknami(
        *s.sesja, s.drzewo, *s.ustawienia, piszeWiadomosc, [&](TWezel *w) { rozwiniete << w; },
        nullptr);

    QString komentowana, numerPoczatkowy, podpis, pytanie;
    OdpowiedzNaOknoModalne([&](QWidget *okno) {
      QCOMPARE(okno, static_cast<QWidget *>(WypowiedzFrm));
      komentowana = WypowiedzFrm->KomentowanaWypowiedzRE->toPlainText();
      OdpowiedzNaOknoModalne([&](QWidget *pudelko) {
        auto *numer = qobject_cast<QInputDialog *>(pudelko);
        QVERIFY(numer);
        podpis = numer->windowTitle();
        pytanie = numer->labelText();
        numerPoczatkowy = numer->textValue();
        numer->setTextValue(QStringLiteral("777"));
        numer->accept();
      });
      QTest::keyClicks(WypowiedzFrm->TwojaOdpowiedzRE, QStringLiteral("czesc"));
      QTest::keyClick(WypowiedzFrm->TwojaOdpowiedzRE, Qt::Key_Return);
    });
    TWezel *w = wysylanie.WyslijWiadomosc(nullptr, 0, nullptr);
    QVERIFY(w);
    QCOMPARE(komentowana, QStringLiteral("wypowiedź do odbiorcy wskazanego numerem"));
    QCOMPARE(podpis, QStringLiteral("Wysyłanie wiadomości"));
    QCOMPARE(pytanie, QStringLiteral("Numer adresata"));
    QCOMPARE(numerPoczatkowy, QStringLiteral("111"));
    QCOMPARE(s.ustawienia->OstatniAdresat(), QStringLiteral("777"));
    QCOMPARE(rozwiniete, QList<TWezel *>{w});
    QTRY_COMPARE(s.Pakiety(GGReqSendMsg).size(), 1);
    QCOMPARE(LEToInt(s.Pakiety(GGReqSendMsg)[0].cialo), 777);
    QCOMPARE(s.Pakiety(GGReqSendMsg)[0].cialo.mid(12), QByteArray("czesc", 6));
    // "piszę", then the status dialog's choice with its description.
    QTRY_COMPARE(s.Stany(), (QList<quint32>{4, 5}));
    QCOMPARE(s.Pakiety(GGReqNewStatus)[1].cialo.mid(4), QByteArray("zaraz"));
  }

  // A recipient that is no number: the box comes back saying so, with the typed text in it, and
  // the written message goes to the number given then.
  void numerPoprawionyWPudelku()
  {
    TStanowiskoGG s;
    QVERIFY(s.Zaloguj());
    bool piszeWiadomosc = false;
    TWysylanieWiadomosci wysylanie =
        WysylanieZOknami(*s.sesja, s.drzewo, *s.ustawienia, piszeWiadomosc, {}, nullptr);
    QStringList pytania, poczatkowe;
    const auto odpowiedz = [&](const QString &numer) {
      return [&, numer](QWidget *pudelko) {
        auto *box = qobject_cast<QInputDialog *>(pudelko);
        QVERIFY(box);
        pytania << box->labelText();
        poczatkowe << box->textValue();
        box->setTextValue(numer);
        box->accept();
      };
    };
    OdpowiedzNaOknoModalne([&](QWidget *) {
      OdpowiedzNaOknoModalne([&](QWidget *pudelko) {
        odpowiedz(QStringLiteral("Ania"))(pudelko);
        OdpowiedzNaOknoModalne(odpowiedz(QStringLiteral("4242")));
      });
      QTest::keyClicks(WypowiedzFrm->TwojaOdpowiedzRE, QStringLiteral("nie zgub mnie"));
      QTest::keyClick(WypowiedzFrm->TwojaOdpowiedzRE, Qt::Key_Return);
    });
    TWezel *w = wysylanie.WyslijWiadomosc(nullptr, 0, nullptr);
    QVERIFY(w);
    QCOMPARE(pytania, (QStringList{QStringLiteral("Numer adresata"),
                                   QStringLiteral("„Ania” nie jest liczbą\nNumer adresata")}));
    QCOMPARE(poczatkowe.value(1), QStringLiteral("Ania"));
    QCOMPARE(w->Tekst(), QStringLiteral("nie zgub mnie"));
    QTRY_COMPARE(s.Pakiety(GGReqSendMsg).size(), 1);
    QCOMPARE(LEToInt(s.Pakiety(GGReqSendMsg)[0].cialo), 4242);
  }
};

PAPLANKI_TEST_MAIN(TestWysylanieZOknami)
#include "test_WysylanieZOknami.moc"
