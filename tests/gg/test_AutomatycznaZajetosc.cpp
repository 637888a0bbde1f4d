#include "common/Srodowisko.h"
#include "common/StanowiskoWiadomosci.h"
#include "gg/AutomatycznaZajetosc.h"
#include "gg/SesjaPakiety.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>

#include <memory>

namespace {

// A program window, the session, the window's IdleTmr and composing flag, and the hook
// installed on the application as the main window installs it.
struct TAutomat {
  TStanowiskoGG s;
  QTimer idleTmr;
  bool piszeWiadomosc = false;
  TAutomatycznaZajetosc automat{*s.sesja, *s.ustawienia, piszeWiadomosc, idleTmr};
  QLineEdit okno;

  TAutomat()
  {
    qApp->installEventFilter(&automat);
    okno.show();
  }
  ~TAutomat() { qApp->removeEventFilter(&automat); }

  // 50 seconds without input: the timer fires.
  void Bezczynnosc()
  {
    QVERIFY(idleTmr.isActive());
    QCOMPARE(idleTmr.interval(), 50000);
    QMetaObject::invokeMethod(&idleTmr, "timeout");
  }
};

// Qt drops a move to where the pointer already is, so every move goes somewhere new.
QPoint NowyPunkt()
{
  static int n = 0;
  ++n;
  return QPoint(2 + n % 40, 2 + n / 40);
}

QMouseEvent Mysz(QEvent::Type typ, Qt::MouseButton przycisk)
{
  return QMouseEvent(typ, QPointF(1, 1), QPointF(1, 1), przycisk, przycisk, Qt::NoModifier);
}

} // namespace

class TestAutomatycznaZajetosc : public QObject {
  Q_OBJECT
private slots:
  void zdarzeniaAktywnosci()
  {
    QWidget widzet;
    QObject obiekt;
    const QKeyEvent klawisz(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    const QKeyEvent puszczony(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier);
    const QWheelEvent kolko(QPointF(), QPointF(), QPoint(), QPoint(0, 120), Qt::NoButton,
                            Qt::NoModifier, Qt::NoScrollPhase, false);
    const QMouseEvent ruch = Mysz(QEvent::MouseMove, Qt::NoButton);
    QVERIFY(TAutomatycznaZajetosc::JestAktywnoscia(&widzet, &klawisz));
    QVERIFY(TAutomatycznaZajetosc::JestAktywnoscia(&widzet, &puszczony));
    QVERIFY(TAutomatycznaZajetosc::JestAktywnoscia(&widzet, &kolko));
    QVERIFY(TAutomatycznaZajetosc::JestAktywnoscia(&widzet, &ruch));
    for (Qt::MouseButton przycisk : {Qt::LeftButton, Qt::MiddleButton, Qt::RightButton}) {
      const QMouseEvent wcisniety = Mysz(QEvent::MouseButtonPress, przycisk);
      const QMouseEvent zwolniony = Mysz(QEvent::MouseButtonRelease, przycisk);
      QVERIFY(TAutomatycznaZajetosc::JestAktywnoscia(&widzet, &wcisniety));
      QVERIFY(TAutomatycznaZajetosc::JestAktywnoscia(&widzet, &zwolniony));
    }
    const QMouseEvent podwojny = Mysz(QEvent::MouseButtonDblClick, Qt::LeftButton);
    const QMouseEvent boczny = Mysz(QEvent::MouseButtonPress, Qt::BackButton);
    const QEvent najechanie(QEvent::HoverMove);
    QVERIFY(!TAutomatycznaZajetosc::JestAktywnoscia(&widzet, &podwojny));
    QVERIFY(!TAutomatycznaZajetosc::JestAktywnoscia(&widzet, &boczny));
    QVERIFY(!TAutomatycznaZajetosc::JestAktywnoscia(&widzet, &najechanie));
    // Not a window of the program (a socket notifier, a timer, ...).
    QVERIFY(!TAutomatycznaZajetosc::JestAktywnoscia(&obiekt, &klawisz));
  }

  void zajetyIDostepny()
  {
    TAutomat a;
    QVERIFY(a.s.Zaloguj());
    // No input since start: the timer does not run.
    QVERIFY(!a.idleTmr.isActive());

    QTest::mouseMove(&a.okno, NowyPunkt());
    QTRY_COMPARE(a.s.Stany(), QList<quint32>{StanGG::Dostepny});
    a.Bezczynnosc();
    QVERIFY(!a.idleTmr.isActive());
    QTRY_COMPARE(a.s.Stany(), (QList<quint32>{2, 3}));
    QCOMPARE(a.s.sesja->StanWlasny(), StanGG::Zajety);

    QTest::keyClick(&a.okno, Qt::Key_B);
    QVERIFY(a.idleTmr.isActive());
    QTRY_COMPARE(a.s.Stany(), (QList<quint32>{2, 3, 2}));
    // Further input repeats the recorded status and sends nothing.
    for (int i = 0; i < 5; ++i)
      QTest::mouseMove(&a.okno, NowyPunkt());
    QTest::mouseClick(&a.okno, Qt::RightButton);
    QTest::qWait(50); // no status packet may follow
    QCOMPARE(a.s.Stany().size(), 3);
  }

  void bezZmianyStanu_data()
  {
    QTest::addColumn<bool>("zaloguj");
    QTest::addColumn<bool>("pisze");
    QTest::addColumn<bool>("opcja");
    QTest::newRow("przed zalogowaniem") << false << false << true;
    QTest::newRow("podczas pisania") << true << true << true;
    QTest::newRow("opcja wyłączona") << true << false << false;
  }
  void bezZmianyStanu()
  {
    QFETCH(bool, zaloguj);
    QFETCH(bool, pisze);
    QFETCH(bool, opcja);
    TAutomat a;
    a.s.ustawienia->UstawAutomatycznyZajetyWolny(opcja);
    if (zaloguj)
      QVERIFY(a.s.Zaloguj());
    a.piszeWiadomosc = pisze;
    const quint32 stan = a.s.sesja->StanWlasny();

    // The timer still restarts on input and stops after firing.
    QTest::keyClick(&a.okno, Qt::Key_A);
    QVERIFY(a.idleTmr.isActive());
    a.Bezczynnosc();
    QVERIFY(!a.idleTmr.isActive());
    QTest::mouseMove(&a.okno, NowyPunkt());
    QVERIFY(a.idleTmr.isActive());

    QTest::qWait(50); // no status packet may follow
    QCOMPARE(a.s.sesja->StanWlasny(), stan);
    QVERIFY(a.s.Stany().isEmpty());
    // Nothing was handed to a closed socket either.
    QVERIFY(!a.s.sesja->CzekaNaLaczenie());
  }
};

PAPLANKI_TEST_MAIN(TestAutomatycznaZajetosc)
#include "test_AutomatycznaZajetosc.moc"
