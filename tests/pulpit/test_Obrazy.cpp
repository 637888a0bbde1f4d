// Pictures at any scale and on any palette: the tree's pictures drawn (not enlarged) for device
// pixel ratios 1 to 2, dark line art and the exit picture visible on a dark palette, and the
// coloured notes of the account dialog readable on their background.

#include "app/Kontrast.h"
#include "app/ui/FormaStandardowa.h"
#include "common/OknoGlowne.h"
#include "common/Srodowisko.h"
#include "contacts/ui/Obrazki.h"
#include "dialogs/ui/MojeDaneFrm.h"

#include <QLabel>
#include <QPainter>
#include <QToolButton>

namespace {

const QList<int> UzywaneWezly{0, 1, 10, 11, 16, 17, 26, 27, 28, 29};
const QList<int> UzywaneStany{0, 2, 8, 10, 12};

QPalette Paleta(bool ciemna)
{
  QPalette p;
  const QColor tlo = ciemna ? QColor(35, 38, 41) : QColor(239, 239, 239);
  const QColor pole = ciemna ? QColor(27, 30, 32) : QColor(Qt::white);
  const QColor tekst = ciemna ? QColor(239, 240, 241) : QColor(Qt::black);
  for (const auto grupa : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    p.setColor(grupa, QPalette::Window, tlo);
    p.setColor(grupa, QPalette::Button, tlo);
    p.setColor(grupa, QPalette::Base, pole);
    p.setColor(grupa, QPalette::WindowText, tekst);
    p.setColor(grupa, QPalette::ButtonText, tekst);
    p.setColor(grupa, QPalette::Text, tekst);
  }
  return p;
}

// The picture laid on its background, in pixels.
QImage NaTle(const QPixmap &obraz, const QColor &tlo)
{
  QImage wynik(obraz.size(), QImage::Format_ARGB32);
  wynik.fill(tlo);
  QPainter p(&wynik);
  QImage zrodlo = obraz.toImage();
  zrodlo.setDevicePixelRatio(1.0);
  p.drawImage(0, 0, zrodlo);
  return wynik;
}

// Of the picture's covered pixels, the share that stands out from the background (3:1, the
// contrast asked of graphics).
qreal Widoczne(const QPixmap &obraz, const QColor &tlo)
{
  const QImage alfa = obraz.toImage().convertToFormat(QImage::Format_ARGB32);
  const QImage zlozony = NaTle(obraz, tlo);
  int pokryte = 0, widoczne = 0;
  for (int y = 0; y < alfa.height(); ++y)
    for (int x = 0; x < alfa.width(); ++x) {
      if (qAlpha(alfa.pixel(x, y)) < 128)
        continue;
      ++pokryte;
      widoczne += WspolczynnikKontrastu(zlozony.pixelColor(x, y), tlo) >= 3.0;
    }
  return pokryte ? qreal(widoczne) / pokryte : 0.0;
}

// Energy of the alpha channel's steps: a blurred edge spreads its step over more pixels and
// has less of it.
double Ostrosc(const QImage &obraz)
{
  const QImage o = obraz.convertToFormat(QImage::Format_ARGB32);
  double suma = 0;
  for (int y = 0; y + 1 < o.height(); ++y)
    for (int x = 0; x + 1 < o.width(); ++x) {
      const int a = qAlpha(o.pixel(x, y));
      const int dx = qAlpha(o.pixel(x + 1, y)) - a, dy = qAlpha(o.pixel(x, y + 1)) - a;
      suma += double(dx) * dx + double(dy) * dy;
    }
  return suma;
}

double SredniaRoznica(const QImage &a, const QImage &b)
{
  const QImage x = a.convertToFormat(QImage::Format_ARGB32);
  const QImage y = b.convertToFormat(QImage::Format_ARGB32);
  double suma = 0;
  for (int j = 0; j < x.height(); ++j)
    for (int i = 0; i < x.width(); ++i)
      suma += std::abs(qAlpha(x.pixel(i, j)) - qAlpha(y.pixel(i, j)));
  return suma / (x.width() * x.height());
}

} // namespace

class TestObrazy : public QObject {
  Q_OBJECT

  QPalette m_paleta;

private slots:
  void initTestCase()
  {
    WylaczSprawdzanieWersji();
    m_paleta = QApplication::palette();
  }
  void cleanup() { QApplication::setPalette(m_paleta); }

  void kontrast()
  {
    QCOMPARE(qRound(WspolczynnikKontrastu(Qt::black, Qt::white)), 21);
    QCOMPARE(WspolczynnikKontrastu(QColor(120, 30, 60), QColor(120, 30, 60)), 1.0);
    QVERIFY(qAbs(WspolczynnikKontrastu(QColor(0x76, 0x76, 0x76), Qt::white) - 4.54) < 0.01);
    // Already readable: unchanged. Too faint: the same hue, just readable, on either side.
    QCOMPARE(CzytelnyKolor(QColor(0, 0, 160), Qt::white), QColor(0, 0, 160));
    for (const QColor tlo : {QColor(239, 239, 239), QColor(64, 64, 64)}) {
      QVERIFY(WspolczynnikKontrastu(QColor(255, 0, 255), tlo) < 4.5);
      const QColor c = CzytelnyKolor(QColor(255, 0, 255), tlo);
      QVERIFY(WspolczynnikKontrastu(c, tlo) >= 4.5);
      QVERIFY(WspolczynnikKontrastu(c, tlo) < 4.7);
      QCOMPARE(c.red(), c.blue());
      QVERIFY(c.red() > c.green() + 60);
    }
  }

  void skale_data()
  {
    QTest::addColumn<qreal>("skala");
    QTest::addColumn<int>("piksele");
    QTest::newRow("1") << 1.0 << 16;
    QTest::newRow("1,25") << 1.25 << 20;
    QTest::newRow("1,5") << 1.5 << 24;
    QTest::newRow("2") << 2.0 << 32;
  }

  // Every picture has the pixels of its ratio and still measures 16 to the painter.
  void skale()
  {
    QFETCH(qreal, skala);
    QFETCH(int, piksele);
    for (const QList<QPixmap> &lista : {ObrazyWezlow(skala), ObrazyStanu(skala)})
      for (const QPixmap &obraz : lista) {
        QCOMPARE(obraz.size(), QSize(piksele, piksele));
        QCOMPARE(obraz.devicePixelRatio(), skala);
        QCOMPARE(obraz.deviceIndependentSize(), QSizeF(16, 16));
      }
  }

  // At ratio 2: the same picture as at ratio 1 (once made small again), drawn sharper than the
  // ratio-1 picture blown up.
  void bezRozmycia()
  {
    const QList<QPixmap> male = ObrazyWezlow(1.0) + ObrazyStanu(1.0);
    const QList<QPixmap> duze = ObrazyWezlow(2.0) + ObrazyStanu(2.0);
    int sprawdzone = 0;
    for (qsizetype i = 0; i < male.size(); ++i) {
      const QImage maly = male[i].toImage();
      QImage duzy = duze[i].toImage();
      duzy.setDevicePixelRatio(1.0);
      if (Ostrosc(maly) == 0)
        continue; // an unused entry
      ++sprawdzone;
      const QImage zmniejszony =
          duzy.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      QVERIFY2(SredniaRoznica(zmniejszony, maly) < 40, qPrintable(QString::number(i)));
      const QImage powiekszony =
          maly.scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      QVERIFY2(Ostrosc(duzy) > 1.3 * Ostrosc(powiekszony), qPrintable(QString::number(i)));
    }
    QCOMPARE(sprawdzone, UzywaneWezly.size() + UzywaneStany.size());
  }

  // On a dark background the outlines and the dark figure turn light: most of every picture
  // stands out (two thirds at least), where the pictures drawn for a light background partly
  // vanish.
  void ciemneTlo()
  {
    const QColor tlo(27, 30, 32);
    QVERIFY(CiemneTlo(Paleta(true)));
    QVERIFY(!CiemneTlo(Paleta(false)));
    const QList<QPixmap> wezly = ObrazyWezlow(1.0, true), stany = ObrazyStanu(1.0, true);
    const QList<QPixmap> jasneWezly = ObrazyWezlow(1.0, false),
                         jasneStany = ObrazyStanu(1.0, false);
    qreal najgorszy = 1.0, najgorszyJasny = 1.0;
    for (int i : UzywaneWezly) {
      najgorszy = qMin(najgorszy, Widoczne(wezly[i], tlo));
      najgorszyJasny = qMin(najgorszyJasny, Widoczne(jasneWezly[i], tlo));
    }
    for (int i : UzywaneStany) {
      najgorszy = qMin(najgorszy, Widoczne(stany[i], tlo));
      najgorszyJasny = qMin(najgorszyJasny, Widoczne(jasneStany[i], tlo));
    }
    QVERIFY2(najgorszy >= 0.65, qPrintable(QString::number(najgorszy)));
    QVERIFY2(najgorszyJasny < 0.65, qPrintable(QString::number(najgorszyJasny)));
    // On white the light-background pictures are as before.
    QCOMPARE(ObrazyStanu(1.0, false)[12].toImage(), ObrazyStanu()[12].toImage());
  }

  void wyjscie_data()
  {
    QTest::addColumn<bool>("ciemna");
    QTest::newRow("jasna paleta") << false;
    QTest::newRow("ciemna paleta") << true;
  }

  // The exit picture follows the palette and is drawn for the ratio.
  void wyjscie()
  {
    QFETCH(bool, ciemna);
    QApplication::setPalette(Paleta(ciemna));
    TFormaStandardowa forma;
    const QIcon ikona = forma.ExitBtn->icon();
    const QColor tlo = Paleta(ciemna).color(QPalette::Button);
    const QPixmap obraz = ikona.pixmap(QSize(16, 16), 1.0);
    QVERIFY2(Widoczne(obraz, tlo) >= 0.8, qPrintable(QString::number(Widoczne(obraz, tlo))));
    const QPixmap podwojny = ikona.pixmap(QSize(16, 16), 2.0);
    QCOMPARE(podwojny.size(), QSize(32, 32));
    QVERIFY(Ostrosc(podwojny.toImage()) >
            1.3 * Ostrosc(obraz.toImage().scaled(32, 32, Qt::IgnoreAspectRatio,
                                                 Qt::SmoothTransformation)));
    // Disabled: drawn, in the palette's disabled colour.
    QVERIFY(!ikona.pixmap(QSize(16, 16), 1.0, QIcon::Disabled).toImage().isNull());
  }

  // The coloured notes of "Kim jestem" keep their hue and reach 4.5:1 on either palette.
  void notatkiKonta_data() { wyjscie_data(); }

  void notatkiKonta()
  {
    QFETCH(bool, ciemna);
    QApplication::setPalette(Paleta(ciemna));
    TMojeDaneFrm dialog;
    struct TNotatka {
      QLabel *etykieta;
      QColor barwa;
    };
    for (const TNotatka &n :
         {TNotatka{dialog.Label1, QColor(255, 0, 255)},
          TNotatka{dialog.Label2, QColor(255, 0, 255)}, TNotatka{dialog.Label8, QColor(255, 0, 0)},
          TNotatka{dialog.Label9, QColor(255, 0, 0)}, TNotatka{dialog.Label10, QColor(0, 128, 0)},
          TNotatka{dialog.Label11, QColor(0, 128, 0)}}) {
      const QColor tekst = n.etykieta->palette().color(QPalette::WindowText);
      const QColor tlo = n.etykieta->palette().color(QPalette::Window);
      QVERIFY2(WspolczynnikKontrastu(tekst, tlo) >= 4.5,
               qPrintable(n.etykieta->objectName() + u' ' + tekst.name() + u' ' + tlo.name()));
      QVERIFY2(qAbs(tekst.hsvHue() - n.barwa.hsvHue()) <= 10, qPrintable(n.etykieta->objectName()));
    }
  }
};

PAPLANKI_TEST_MAIN(TestObrazy)
#include "test_Obrazy.moc"
