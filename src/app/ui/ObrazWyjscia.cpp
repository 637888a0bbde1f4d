#include "app/ui/ObrazWyjscia.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

namespace {

class TSilnikWyjscia : public QIconEngine {
public:
  void paint(QPainter *p, const QRect &rect, QIcon::Mode tryb, QIcon::State) override
  {
    const QPalette paleta = QGuiApplication::palette();
    const bool wylaczony = tryb == QIcon::Disabled;
    const QColor linia =
        paleta.color(wylaczony ? QPalette::Disabled : QPalette::Active, QPalette::ButtonText);
    const QColor strzalka = wylaczony ? linia : QColor(214, 40, 40);
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    p->translate(rect.topLeft());
    p->scale(rect.width() / 16.0, rect.height() / 16.0);
    // The door frame, and the door swung open into the room.
    p->setPen(QPen(linia, 1.4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p->setBrush(Qt::NoBrush);
    p->drawPolyline(
        QPolygonF{{7.5, 4.0}, {7.5, 1.5}, {1.5, 1.5}, {1.5, 14.5}, {7.5, 14.5}, {7.5, 12.0}});
    QPainterPath drzwi;
    drzwi.moveTo(1.5, 1.5);
    drzwi.lineTo(5.5, 3.5);
    drzwi.lineTo(5.5, 15.0);
    drzwi.lineTo(1.5, 14.5);
    drzwi.closeSubpath();
    QColor wypelnienie = linia;
    wypelnienie.setAlphaF(0.35f);
    p->setBrush(wypelnienie);
    p->drawPath(drzwi);
    // The way out.
    p->setPen(QPen(strzalka, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p->drawLine(QPointF(8.0, 8.0), QPointF(14.0, 8.0));
    p->drawPolyline(QPolygonF{{11.5, 5.0}, {14.5, 8.0}, {11.5, 11.0}});
    p->restore();
  }

  QPixmap pixmap(const QSize &rozmiar, QIcon::Mode tryb, QIcon::State stan) override
  {
    return scaledPixmap(rozmiar, tryb, stan, 1.0);
  }

  // `rozmiar` comes in device pixels.
  QPixmap scaledPixmap(const QSize &rozmiar, QIcon::Mode tryb, QIcon::State stan,
                       qreal skala) override
  {
    QImage obraz(rozmiar, QImage::Format_ARGB32_Premultiplied);
    obraz.fill(Qt::transparent);
    {
      QPainter p(&obraz);
      paint(&p, QRect(QPoint(0, 0), rozmiar), tryb, stan);
    }
    QPixmap wynik = QPixmap::fromImage(obraz);
    wynik.setDevicePixelRatio(skala);
    return wynik;
  }

  QSize actualSize(const QSize &rozmiar, QIcon::Mode, QIcon::State) override { return rozmiar; }
  QString key() const override { return QStringLiteral("paplanki-wyjscie"); }
  QIconEngine *clone() const override { return new TSilnikWyjscia; }
};

} // namespace

QIcon IkonaWyjscia()
{
  return QIcon(new TSilnikWyjscia);
}
