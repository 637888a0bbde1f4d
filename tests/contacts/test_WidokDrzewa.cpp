// The tree's pictures and the drawing of one node: state image left of the node's image,
// ghosted and bold nodes.

#include "common/Srodowisko.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "contacts/ModelDrzewa.h"
#include "contacts/ui/DelegatWezla.h"
#include "contacts/ui/Obrazki.h"
#include "contacts/ui/WidokDrzewa.h"

#include <QImage>
#include <QPainter>

namespace {

bool Pusty(const QImage &obraz)
{
  for (int y = 0; y < obraz.height(); ++y)
    for (int x = 0; x < obraz.width(); ++x)
      if (qAlpha(obraz.pixel(x, y)))
        return false;
  return true;
}

// Every visible pixel grey (no hue); true also for an empty picture.
bool TylkoSzary(const QImage &obraz)
{
  for (int y = 0; y < obraz.height(); ++y)
    for (int x = 0; x < obraz.width(); ++x) {
      const QColor c = QColor::fromRgba(obraz.pixel(x, y));
      if (c.alpha() && (qAbs(c.red() - c.green()) > 2 || qAbs(c.green() - c.blue()) > 2))
        return false;
    }
  return true;
}

// An option as the view gives it for one row.
QStyleOptionViewItem Opcja(TWidokDrzewa &widok, const QModelIndex &indeks)
{
  QStyleOptionViewItem opcja;
  opcja.initFrom(&widok);
  opcja.widget = &widok;
  opcja.rect = QRect(0, 0, 200, 20);
  opcja.decorationSize = QSize(16, 16);
  opcja.showDecorationSelected = false;
  Q_UNUSED(indeks);
  return opcja;
}

QImage Narysuj(TDelegatWezla &delegat, const QStyleOptionViewItem &opcja, const QModelIndex &i)
{
  QImage obraz(opcja.rect.size(), QImage::Format_ARGB32_Premultiplied);
  obraz.fill(Qt::white);
  QPainter p(&obraz);
  delegat.paint(&p, opcja, i);
  return obraz;
}

} // namespace

class TestWidokDrzewa : public QObject {
  Q_OBJECT

private slots:
  void obrazyWezlow()
  {
    const QList<QPixmap> obrazy = ObrazyWezlow();
    QCOMPARE(obrazy.size(), 30);
    const QList<int> uzywane{0, 10, 16, 26, 28};
    for (int i = 0; i < obrazy.size(); i += 2) {
      const QImage kolor = obrazy[i].toImage();
      const QImage szary = obrazy[i + 1].toImage();
      QCOMPARE(kolor.size(), QSize(16, 16));
      QCOMPARE(szary.size(), QSize(16, 16));
      QCOMPARE(!Pusty(kolor), uzywane.contains(i));
      QCOMPARE(!Pusty(szary), uzywane.contains(i));
      QVERIFY2(TylkoSzary(szary), qPrintable(QString::number(i + 1)));
      if (uzywane.contains(i))
        QVERIFY2(!TylkoSzary(kolor), qPrintable(QString::number(i)));
    }
    // Ringing and quiet clocks are different pictures.
    QVERIFY(obrazy[26].toImage() != obrazy[28].toImage());
  }

  void obrazyStanu()
  {
    const QList<QPixmap> obrazy = ObrazyStanu();
    QCOMPARE(obrazy.size(), 14);
    const QList<int> uzywane{0, 2, 8, 10, 12};
    for (int i = 0; i < obrazy.size(); ++i) {
      QCOMPARE(obrazy[i].size(), QSize(16, 16));
      QCOMPARE(!Pusty(obrazy[i].toImage()), uzywane.contains(i));
    }
    for (int i : uzywane)
      for (int j : uzywane)
        if (i < j)
          QVERIFY(obrazy[i].toImage() != obrazy[j].toImage());
  }

  void rysowanieWezla()
  {
    TDrzewo drzewo;
    TModelDrzewa model(drzewo);
    model.UstawObrazy(ObrazyWezlow());
    TWidokDrzewa widok(new TDelegatWezla(ObrazyStanu()));
    widok.setModel(&model);
    TDelegatWezla &delegat = *widok.Delegat();

    TWezel *zwykly = drzewo.Dodaj(nullptr, QStringLiteral("wiadomość"));
    zwykly->UstawObrazy(11, 10);
    TWezel *zeStanem = drzewo.Dodaj(nullptr, QStringLiteral("wiadomość"));
    zeStanem->UstawObrazy(11, 10);
    zeStanem->UstawObrazStanu(2);
    const QModelIndex a = model.Indeks(zwykly), b = model.Indeks(zeStanem);

    const QStyleOptionViewItem opcja = Opcja(widok, a);
    QCOMPARE(delegat.sizeHint(opcja, b).width(),
             delegat.sizeHint(opcja, a).width() + TDelegatWezla::SzerokoscStanu);

    // The state image stands at the left; the rest of the row moves right by its width.
    const QImage bez = Narysuj(delegat, opcja, a);
    const QImage ze = Narysuj(delegat, opcja, b);
    const QImage haczyk = ObrazyStanu()[2].toImage();
    QImage lewa(16, 16, QImage::Format_ARGB32_Premultiplied);
    lewa.fill(Qt::white);
    QPainter(&lewa).drawImage(0, 0, haczyk);
    QCOMPARE(ze.copy(0, 2, 16, 16), lewa);
    const int s = TDelegatWezla::SzerokoscStanu;
    QCOMPARE(ze.copy(s, 0, 200 - s, 20), bez.copy(0, 0, 200 - s, 20));

    // Hit test parts along the row.
    QCOMPARE(delegat.CzescPod(opcja, b, QPoint(5, 10)), TDelegatWezla::TCzesc::IkonaStanu);
    QCOMPARE(delegat.CzescPod(opcja, a, QPoint(5, 10)), TDelegatWezla::TCzesc::Ikona);
    QCOMPARE(delegat.CzescPod(opcja, b, QPoint(s + 5, 10)), TDelegatWezla::TCzesc::Ikona);
    QCOMPARE(delegat.CzescPod(opcja, a, QPoint(40, 10)), TDelegatWezla::TCzesc::Etykieta);
    QCOMPARE(delegat.CzescPod(opcja, a, QPoint(195, 10)), TDelegatWezla::TCzesc::ZaEtykieta);
  }

  void wyszarzonyIPogrubiony()
  {
    TDrzewo drzewo;
    TModelDrzewa model(drzewo);
    model.UstawObrazy(ObrazyWezlow());
    TWidokDrzewa widok(new TDelegatWezla(ObrazyStanu()));
    widok.setModel(&model);
    TDelegatWezla &delegat = *widok.Delegat();
    TWezel *w = drzewo.DodajUzytkownika(1, {}, {}, {}, {}, QStringLiteral("Ala"), 3);
    drzewo.ZastosujStan(w, 2); // available: not cut, bold
    const QModelIndex i = model.Indeks(w);
    const QStyleOptionViewItem opcja = Opcja(widok, i);

    const QImage dostepny = Narysuj(delegat, opcja, i);
    drzewo.ZastosujStan(w, 1); // not available: same images, cut
    const QImage niedostepny = Narysuj(delegat, opcja, i);
    // The icon (left) and the caption (right of it) are both drawn differently.
    QVERIFY(dostepny.copy(0, 0, 20, 20) != niedostepny.copy(0, 0, 20, 20));
    QVERIFY(dostepny.copy(20, 0, 60, 20) != niedostepny.copy(20, 0, 60, 20));

    QStyleOptionViewItem o = opcja;
    delegat.initStyleOption(&o, i);
    QVERIFY(o.font.bold());
    QCOMPARE(o.palette.brush(QPalette::Text), o.palette.brush(QPalette::Disabled, QPalette::Text));
    drzewo.UstawStanWezla(w, 0, StanWezla::Pogrubiony | StanWezla::Wyciety);
    o = opcja;
    delegat.initStyleOption(&o, i);
    QVERIFY(!o.font.bold());
    QCOMPARE(Narysuj(delegat, opcja, i).copy(0, 0, 20, 20), dostepny.copy(0, 0, 20, 20));
  }
};

PAPLANKI_TEST_MAIN(TestWidokDrzewa)
#include "test_WidokDrzewa.moc"
