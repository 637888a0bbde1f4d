// Every window of the program on a small screen, as scaled desktops show it: a 1280x720 screen
// at scale 1.5 (with the default font and a font two points larger) and at scale 2. Each case runs
// in a child process of this program with the platform set up that way; it opens every dialog and
// reports any control cut off by its window or pushed off the screen.

#include "app/ui/PodgladPomocy.h"
#include "app/ui/ZapytanieOTekst.h"
#include "common/OknoGlowne.h"
#include "common/Srodowisko.h"
#include "contacts/ui/FrmPaplankiDaneUzytkownika.h"
#include "contacts/ui/ProfileFrm.h"
#include "dialogs/ui/FrmStan.h"
#include "dialogs/ui/KatalogFrm.h"
#include "dialogs/ui/MojeDaneFrm.h"
#include "dialogs/ui/WypowiedzFrm.h"
#include "program/PasekRozlaczenia.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTextEdit>

#include <functional>
#include <memory>

namespace {

const char *const ZmiennaDziecka = "PAPLANKI_UKLAD_DZIECKO";

bool Kontrolka(const QWidget *w)
{
  return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QLineEdit *>(w) ||
         qobject_cast<const QAbstractSpinBox *>(w) || qobject_cast<const QComboBox *>(w) ||
         qobject_cast<const QTextEdit *>(w) || qobject_cast<const QPlainTextEdit *>(w) ||
         qobject_cast<const QAbstractItemView *>(w) || qobject_cast<const QGroupBox *>(w) ||
         (qobject_cast<const QLabel *>(w) && !static_cast<const QLabel *>(w)->text().isEmpty());
}

// Parts a control is made of are checked as the control.
bool Wewnetrzna(const QWidget *w)
{
  for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget())
    if (qobject_cast<const QAbstractSpinBox *>(p) || qobject_cast<const QComboBox *>(p) ||
        qobject_cast<const QAbstractItemView *>(p) ||
        (qobject_cast<const QAbstractScrollArea *>(p) && !qobject_cast<const QScrollArea *>(p)))
      return true;
  return false;
}

QString Opis(const QWidget *w)
{
  QString tekst;
  if (auto *l = qobject_cast<const QLabel *>(w))
    tekst = l->text();
  else if (auto *b = qobject_cast<const QAbstractButton *>(w))
    tekst = b->text();
  else if (auto *g = qobject_cast<const QGroupBox *>(w))
    tekst = g->title();
  return QStringLiteral("%1 %2 „%3”")
      .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(), tekst.left(30));
}

// What is wrong with the window as shown: off the available screen, or a control cut by the
// window or by one of its parents (a control inside a scrolled area only has to fit the area's
// content, which scrolling reaches), or squeezed below the least size it needs.
QStringList Usterki(QWidget *okno)
{
  QStringList usterki;
  const QRect ekran = okno->screen()->availableGeometry();
  if (!ekran.contains(okno->frameGeometry()))
    usterki << QStringLiteral("okno poza ekranem: %1,%2 %3x%4 na %5x%6")
                   .arg(okno->frameGeometry().x())
                   .arg(okno->frameGeometry().y())
                   .arg(okno->frameGeometry().width())
                   .arg(okno->frameGeometry().height())
                   .arg(ekran.width())
                   .arg(ekran.height());
  for (QWidget *w : okno->findChildren<QWidget *>()) {
    if (!w->isVisibleTo(okno) || !Kontrolka(w) || Wewnetrzna(w) || w->window() != okno)
      continue;
    const QRect obszar(w->mapTo(okno, QPoint(0, 0)), w->size());
    for (QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
      if (auto *przewijany = qobject_cast<QScrollArea *>(
              p->parentWidget() ? p->parentWidget()->parentWidget() : nullptr);
          przewijany && przewijany->widget() == p)
        break; // inside the scrolled content: reachable
      const QRect rodzic(p->mapTo(okno, QPoint(0, 0)), p->size());
      if (!rodzic.contains(obszar)) {
        usterki << QStringLiteral("ucięta %1 przez %2").arg(Opis(w), Opis(p));
        break;
      }
      if (p == okno)
        break;
    }
    const QSize najmniej = w->minimumSizeHint();
    if (w->width() < najmniej.width() || w->height() < najmniej.height())
      usterki << QStringLiteral("ściśnięta %1: %2x%3 < %4x%5")
                     .arg(Opis(w))
                     .arg(w->width())
                     .arg(w->height())
                     .arg(najmniej.width())
                     .arg(najmniej.height());
  }
  for (QString &u : usterki)
    u.prepend(okno->objectName() + QStringLiteral(": "));
  return usterki;
}

QStringList Pokaz(QWidget *okno)
{
  okno->show();
  if (!QTest::qWaitForWindowExposed(okno))
    return {okno->objectName() + QStringLiteral(": nie pokazane")};
  // Layout passes still waiting run now, so the sizes read below are final.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  const QStringList wynik = Usterki(okno);
  okno->hide();
  return wynik;
}

QString PlikEkranu(const QTemporaryDir &katalog)
{
  const QString plik = katalog.filePath(QStringLiteral("ekran.json"));
  QFile f(plik);
  if (f.open(QIODevice::WriteOnly))
    f.write(R"({"windowFrameMargins": true, "screens": [{"name": "Ekran", "x": 0, "y": 0,
      "width": 1280, "height": 720, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
  return plik;
}

} // namespace

class TestUkladWSkali : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() { WylaczSprawdzanieWersji(); }

  void oknaMieszczaSie_data()
  {
    QTest::addColumn<QByteArray>("skala");
    QTest::addColumn<int>("wiekszaCzcionka");
    QTest::newRow("1,5") << QByteArray("1.5") << 0;
    QTest::newRow("1,5, czcionka +2") << QByteArray("1.5") << 2;
    QTest::newRow("2") << QByteArray("2") << 0;
  }
  void oknaMieszczaSie()
  {
    if (qEnvironmentVariableIsSet(ZmiennaDziecka))
      QSKIP("in the child: only the checking runs");
    QFETCH(QByteArray, skala);
    QFETCH(int, wiekszaCzcionka);
    QTemporaryDir katalog;
    QProcess dziecko;
    QProcessEnvironment srodowisko = QProcessEnvironment::systemEnvironment();
    srodowisko.insert(QStringLiteral("QT_QPA_PLATFORM"),
                      QStringLiteral("offscreen:configfile=") + PlikEkranu(katalog));
    srodowisko.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(skala));
    srodowisko.insert(QString::fromLatin1(ZmiennaDziecka), QString::number(wiekszaCzcionka));
    dziecko.setProcessEnvironment(srodowisko);
    dziecko.start(QCoreApplication::applicationFilePath(), {QStringLiteral("sprawdzOkna")});
    QVERIFY(dziecko.waitForFinished(60000));
    const QString wyjscie = QString::fromUtf8(dziecko.readAllStandardOutput());
    QStringList usterki;
    for (const QString &linia : wyjscie.split(u'\n'))
      if (linia.contains(QStringLiteral("USTERKA ")))
        usterki << linia.mid(linia.indexOf(QStringLiteral("USTERKA ")) + 8);
    for (const QString &u : usterki)
      qWarning("%s", qUtf8Printable(u));
    QVERIFY2(usterki.isEmpty(), qPrintable(usterki.value(0)));
    // The child really checked: it names the screen it saw.
    QVERIFY2(wyjscie.contains(QStringLiteral("EKRAN ")), qPrintable(wyjscie.right(2000)));
    QCOMPARE(dziecko.exitCode(), 0);
  }

  // The child's part; run alone it has nothing to check.
  void sprawdzOkna()
  {
    if (!qEnvironmentVariableIsSet(ZmiennaDziecka))
      QSKIP("run by oknaMieszczaSie in a child process");
    QFont czcionka = QApplication::font();
    czcionka.setPointSizeF(czcionka.pointSizeF() + qEnvironmentVariableIntValue(ZmiennaDziecka));
    QApplication::setFont(czcionka);
    QApplication::setQuitOnLastWindowClosed(false);
    const QRect ekran = QGuiApplication::primaryScreen()->availableGeometry();
    qInfo("EKRAN %dx%d", ekran.width(), ekran.height());

    QStringList usterki;
    {
      TMojeDaneFrm konto;
      konto.NumerEd->setText(QStringLiteral("-1"));
      usterki << Pokaz(&konto);
    }
    {
      TKatalog stanKatalogu;
      TKatalogFrm katalog(stanKatalogu);
      usterki << Pokaz(&katalog);
    }
    {
      TFrmStan stan;
      usterki << Pokaz(&stan);
    }
    {
      TWypowiedzFrm wypowiedz;
      usterki << Pokaz(&wypowiedz);
    }
    {
      TFrmPaplankiDaneUzytkownika dane;
      usterki << Pokaz(&dane);
    }
    {
      TProfileFrm profil;
      usterki << Pokaz(&profil);
    }
    {
      TPodgladPomocy pomoc;
      usterki << Pokaz(&pomoc);
    }
    {
      QString numer = QStringLiteral("Ania");
      OdpowiedzNaOknoModalne([&](QWidget *w) {
        usterki << Usterki(w);
        static_cast<QDialog *>(w)->reject();
      });
      InputQuery(QStringLiteral("Wysyłanie wiadomości"),
                 QStringLiteral("„Ania” nie jest liczbą\nNumer adresata"), numer, nullptr);
    }
    {
      UsunUstawieniaOkna();
      ZapiszKontoTestowe();
      TOknoGlowneTestowe okno;
      okno.show();
      QVERIFY(QTest::qWaitForWindowExposed(&okno));
      // First run: the frame, title bar included, at the top-left of the available area.
      if (okno.frameGeometry().topLeft() != ekran.topLeft())
        usterki << QStringLiteral("FrmPaplankiMain: ramka w %1,%2, nie w %3,%4 (wnętrze w %5,%6)")
                       .arg(okno.frameGeometry().x())
                       .arg(okno.frameGeometry().y())
                       .arg(ekran.x())
                       .arg(ekran.y())
                       .arg(okno.geometry().x())
                       .arg(okno.geometry().y());
      okno.hide();
      okno.PasekRozlaczenia->PokazPowod(TPowodRozlaczenia::OdmowaLogowania, QString());
      okno.PasekRozlaczenia->DodajOdrzucona(
          {7001, QDateTime::currentDateTime(), QStringLiteral("Kup pan cegłę")});
      usterki << Pokaz(&okno);
      okno.PasekRozlaczenia->PokazOdrzucone();
      auto *lista = okno.findChild<QDialog *>(QStringLiteral("OdrzuconeFrm"));
      if (!lista)
        usterki << QStringLiteral("OdrzuconeFrm: nie otwarta");
      else
        usterki << Pokaz(lista);
    }
    for (const QString &u : usterki)
      qInfo("USTERKA %s", qUtf8Printable(u));
  }
};

PAPLANKI_TEST_MAIN(TestUkladWSkali)
#include "test_UkladWSkali.moc"
