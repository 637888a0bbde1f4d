#include "common/Srodowisko.h"
#include "dialogs/ui/WypowiedzFrm.h"

#include <QTextEdit>
#include <QToolButton>

class TestWypowiedzFrm : public QObject {
  Q_OBJECT
private slots:
  void cudzyslowy_data()
  {
    QTest::addColumn<QString>("przed");
    QTest::addColumn<bool>("wcisniety");
    QTest::addColumn<QString>("wynik");
    QTest::newRow("na początku") << QString() << true << QStringLiteral("„");
    QTest::newRow("po spacji") << QStringLiteral("a ") << true << QStringLiteral("a „");
    QTest::newRow("po literze") << QStringLiteral("a") << true << QStringLiteral("a”");
    QTest::newRow("po nowym wierszu") << QStringLiteral("a\n") << true << QStringLiteral("a\n„");
    QTest::newRow("przycisk podniesiony")
        << QStringLiteral("a ") << false << QStringLiteral("a \"");
  }
  void cudzyslowy()
  {
    QFETCH(QString, przed);
    QFETCH(bool, wcisniety);
    QFETCH(QString, wynik);
    TWypowiedzFrm d;
    QVERIFY(d.PolskieCudzyslowySB->isChecked());
    d.show();
    d.PolskieCudzyslowySB->setChecked(wcisniety);
    d.TwojaOdpowiedzRE->setPlainText(przed);
    d.TwojaOdpowiedzRE->moveCursor(QTextCursor::End);
    QTest::keyClick(d.TwojaOdpowiedzRE, '"');
    QCOMPARE(d.TwojaOdpowiedzRE->toPlainText(), wynik);
  }

  void cytatWSrodku()
  {
    TWypowiedzFrm d;
    d.show();
    QTest::keyClicks(d.TwojaOdpowiedzRE, QStringLiteral("x \"y\" z"));
    QCOMPARE(d.TwojaOdpowiedzRE->toPlainText(), QStringLiteral("x „y” z"));
    // A quote typed over a selection looks before the selection.
    d.TwojaOdpowiedzRE->setPlainText(QStringLiteral("ab cd"));
    QTextCursor kursor = d.TwojaOdpowiedzRE->textCursor();
    kursor.setPosition(3);
    kursor.setPosition(5, QTextCursor::KeepAnchor);
    d.TwojaOdpowiedzRE->setTextCursor(kursor);
    QTest::keyClick(d.TwojaOdpowiedzRE, '"');
    QCOMPARE(d.TwojaOdpowiedzRE->toPlainText(), QStringLiteral("ab „"));
  }

  void enterWysylaZObuPol_data()
  {
    QTest::addColumn<bool>("wKomentowanej");
    QTest::newRow("odpowiedź") << false;
    QTest::newRow("komentowana wypowiedź") << true;
  }
  void enterWysylaZObuPol()
  {
    QFETCH(bool, wKomentowanej);
    TWypowiedzFrm d;
    OdpowiedzNaOknoModalne([&](QWidget *) {
      QTest::keyClicks(d.TwojaOdpowiedzRE, QStringLiteral("abc"));
      QTest::keyClick(wKomentowanej ? d.KomentowanaWypowiedzRE : d.TwojaOdpowiedzRE,
                      Qt::Key_Return);
    });
    QString odpowiedz;
    QVERIFY(d.Napisz(QStringLiteral("pytanie"), odpowiedz));
    QCOMPARE(odpowiedz, QStringLiteral("abc"));
    QCOMPARE(d.KomentowanaWypowiedzRE->toPlainText(), QStringLiteral("pytanie"));
    QVERIFY(d.KomentowanaWypowiedzRE->isReadOnly());
  }

  void anulowanieIPonowneOtwarcie()
  {
    TWypowiedzFrm d;
    OdpowiedzNaOknoModalne([&](QWidget *) {
      QTest::keyClicks(d.TwojaOdpowiedzRE, QStringLiteral("porzucone"));
      d.PolskieCudzyslowySB->setChecked(false);
      QTest::keyClick(d.TwojaOdpowiedzRE, Qt::Key_Escape);
    });
    QString odpowiedz = QStringLiteral("bez zmian");
    QVERIFY(!d.Napisz(QStringLiteral("pierwsze"), odpowiedz));
    QCOMPARE(odpowiedz, QStringLiteral("bez zmian"));

    QString naPoczatku = QStringLiteral("?");
    bool fokus = false;
    OdpowiedzNaOknoModalne([&](QWidget *) {
      naPoczatku = d.TwojaOdpowiedzRE->toPlainText();
      fokus = d.TwojaOdpowiedzRE->hasFocus();
      // Ctrl+Enter breaks the line; the text leaves with CR LF line ends.
      QTest::keyClicks(d.TwojaOdpowiedzRE, QStringLiteral("a\""));
      QTest::keyClick(d.TwojaOdpowiedzRE, Qt::Key_Return, Qt::ControlModifier);
      QTest::keyClicks(d.TwojaOdpowiedzRE, QStringLiteral("b"));
      QTest::keyClick(d.TwojaOdpowiedzRE, Qt::Key_Enter);
    });
    QVERIFY(d.Napisz(QStringLiteral("drugie"), odpowiedz));
    QCOMPARE(naPoczatku, QString());
    QVERIFY(fokus);
    // The quote button kept its state from the last showing.
    QCOMPARE(odpowiedz, QStringLiteral("a\"\r\nb"));
  }
};

PAPLANKI_TEST_MAIN(TestWypowiedzFrm)
#include "test_WypowiedzFrm.moc"
