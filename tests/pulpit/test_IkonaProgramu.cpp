// The program's icon: drawn at every theme size, carried by every window and box, and the same
// picture at any device pixel ratio.

#include "app/ui/Powloka.h"
#include "common/Srodowisko.h"
#include "dialogs/ui/FrmStan.h"
#include "pulpit/IkonaProgramu.h"

#include <QLabel>
#include <QMessageBox>

namespace {

int Nieprzezroczyste(const QImage &obraz)
{
  int n = 0;
  for (int y = 0; y < obraz.height(); ++y)
    for (int x = 0; x < obraz.width(); ++x)
      n += qAlpha(obraz.pixel(x, y)) > 0;
  return n;
}

} // namespace

class TestIkonaProgramu : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { UstawTozsamoscPulpitu(); }

  void kazdyRozmiar_data()
  {
    QTest::addColumn<int>("bok");
    for (const int bok : RozmiaryIkony())
      QTest::addRow("%dx%d", bok, bok) << bok;
  }

  // Square, transparent at the rounded corners, the bubble's white and the dots' colour inside.
  void kazdyRozmiar()
  {
    QFETCH(int, bok);
    const QImage obraz = ObrazIkony(bok).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(obraz.size(), QSize(bok, bok));
    QCOMPARE(qAlpha(obraz.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(obraz.pixel(bok - 1, bok - 1)), 0);
    QVERIFY(Nieprzezroczyste(obraz) > bok * bok / 2);
    const QColor tlo = obraz.pixelColor(bok / 2, bok - bok / 8);
    QVERIFY2(tlo.green() > tlo.red() + 40, qPrintable(tlo.name()));
    bool bialy = false, pomaranczowy = false;
    for (int y = 0; y < bok; ++y)
      for (int x = 0; x < bok; ++x) {
        const QColor c = obraz.pixelColor(x, y);
        bialy |= c.alpha() == 255 && c.red() > 235 && c.green() > 235 && c.blue() > 235;
        pomaranczowy |= c.alpha() == 255 && c.red() > 200 && c.green() < 150 && c.blue() < 120;
      }
    QVERIFY(bialy);
    QVERIFY(pomaranczowy);
  }

  // At ratio 2 the window icon is drawn at twice the pixels, not enlarged: it matches the
  // drawing made at that size and differs from the small one blown up.
  void podwojnaSkala_data()
  {
    QTest::addColumn<int>("bok");
    QTest::addColumn<qreal>("skala");
    QTest::newRow("16 przy 2") << 16 << 2.0;
    QTest::newRow("16 przy 1,25") << 16 << 1.25;
    QTest::newRow("24 przy 1,5") << 24 << 1.5;
    QTest::newRow("32 przy 2") << 32 << 2.0;
  }

  void podwojnaSkala()
  {
    QFETCH(int, bok);
    QFETCH(qreal, skala);
    const QPixmap obraz = IkonaProgramu().pixmap(QSize(bok, bok), skala);
    const int piksele = qRound(bok * skala);
    QCOMPARE(obraz.size(), QSize(piksele, piksele));
    QCOMPARE(obraz.devicePixelRatio(), skala);
    QImage ostry = obraz.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ostry.setDevicePixelRatio(1.0);
    QCOMPARE(ostry, ObrazIkony(piksele));
    const QImage powiekszony =
        ObrazIkony(bok).scaled(piksele, piksele, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QVERIFY(ostry != powiekszony.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  }

  // Windows, dialogs and message boxes all show the program's icon; the About box shows it too.
  void ikonaOkienIOkienek()
  {
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("pl.kolbiny.Paplanki"));
    const QImage wzor = ObrazIkony(32);
    TFrmStan dialog;
    QCOMPARE(dialog.windowIcon().pixmap(QSize(32, 32), 1.0).toImage(), wzor);
    QMessageBox pytanie;
    QCOMPARE(pytanie.windowIcon().pixmap(QSize(32, 32), 1.0).toImage(), wzor);

    QImage wOknieOProgramie;
    OdpowiedzNaOknoModalne([&](QWidget *okno) {
      if (auto *box = qobject_cast<QMessageBox *>(okno)) {
        wOknieOProgramie = box->iconPixmap().toImage();
        box->accept();
      }
    });
    PokazOProgramie(nullptr, QStringLiteral("Paplanki (GG)"), QStringLiteral("(c)"), 0);
    QCOMPARE(wOknieOProgramie.convertToFormat(QImage::Format_ARGB32_Premultiplied), ObrazIkony(48));
  }
};

PAPLANKI_TEST_MAIN(TestIkonaProgramu)
#include "test_IkonaProgramu.moc"
