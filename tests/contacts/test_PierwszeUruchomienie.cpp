// The first run as a new user meets it: the account dialog opens on the number field with the
// prefilled values selected, so typing replaces them and a stray Space registers nothing.

#include "common/OknoGlowne.h"
#include "common/Srodowisko.h"
#include "dialogs/ui/MojeDaneFrm.h"
#include "gg/Sesja.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>

#include <memory>

class TestPierwszeUruchomienie : public QObject {
  Q_OBJECT
private slots:
  void initTestCase()
  {
    WylaczSprawdzanieWersji();
    QApplication::setQuitOnLastWindowClosed(false);
    MojeDaneFrm = new TMojeDaneFrm;
    // Nobody listens there: a registration started by mistake would fail, not hang.
    MojeDaneFrm->HostRejestracji = QStringLiteral("127.0.0.1");
    MojeDaneFrm->PortRejestracji = QStringLiteral("1");
  }
  void cleanupTestCase()
  {
    delete MojeDaneFrm;
    MojeDaneFrm = nullptr;
  }

  void kontoNaPierwszymStarcie()
  {
    UsunUstawieniaOkna();
    ZapiszUstawienieOkna(QStringLiteral("Ustawienia/Przylaczaj"), QStringLiteral("0"));
    QWidget *fokus = nullptr;
    QString zaznaczonyNumer, zaznaczoneHaslo, numerPoWpisaniu, hasloPoWpisaniu;
    bool nowyPoSpacji = true;
    bool informacja = false;
    OdpowiedzNaOknoModalne([&](QWidget *w) {
      auto *d = qobject_cast<TMojeDaneFrm *>(w);
      if (!d) {
        w->close();
        return;
      }
      fokus = d->focusWidget();
      QTRY_COMPARE(d->NumerEd->selectedText(), d->NumerEd->text());
      zaznaczonyNumer = d->NumerEd->selectedText();
      // A stray Space lands in the number field, not on "Nowy".
      QTest::keyClick(d->focusWidget(), Qt::Key_Space);
      nowyPoSpacji = d->NowyRB->isChecked();
      QTest::keyClick(d->NumerEd, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(d->focusWidget(), QStringLiteral("1234"));
      numerPoWpisaniu = d->NumerEd->text();
      QTest::keyClick(d->focusWidget(), Qt::Key_Tab);
      QTRY_COMPARE(d->focusWidget(), d->HasloEd);
      QTRY_VERIFY(!d->HasloEd->selectedText().isEmpty());
      zaznaczoneHaslo = d->HasloEd->selectedText();
      QTest::keyClicks(d->HasloEd, QStringLiteral("tajne"));
      hasloPoWpisaniu = d->HasloEd->text();
      OdpowiedzNaOknoModalne([&](QWidget *box) {
        informacja = qobject_cast<QMessageBox *>(box) != nullptr;
        box->close();
      });
      d->reject();
    });
    auto okno = std::make_unique<TOknoGlowneTestowe>();
    okno->show();
    QTRY_VERIFY(informacja);
    QCOMPARE(fokus, MojeDaneFrm->NumerEd);
    QCOMPARE(zaznaczonyNumer, QStringLiteral("-1"));
    QVERIFY(!nowyPoSpacji);
    QCOMPARE(numerPoWpisaniu, QStringLiteral("1234"));
    QCOMPARE(zaznaczoneHaslo, okno->Sesja().HasloWlasne());
    QVERIFY(!zaznaczoneHaslo.isEmpty());
    QCOMPARE(hasloPoWpisaniu, QStringLiteral("tajne"));
  }
};

PAPLANKI_TEST_MAIN(TestPierwszeUruchomienie)
#include "test_PierwszeUruchomienie.moc"
