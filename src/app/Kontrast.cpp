#include "app/Kontrast.h"

#include <QtMath>

namespace {

qreal Skladowa(qreal c)
{
  return c <= 0.04045 ? c / 12.92 : qPow((c + 0.055) / 1.055, 2.4);
}

qreal Luminancja(const QColor &kolor)
{
  const QColor k = kolor.toRgb();
  return 0.2126 * Skladowa(k.redF()) + 0.7152 * Skladowa(k.greenF()) + 0.0722 * Skladowa(k.blueF());
}

// `kolor` moved towards `cel` by `t` (0 none, 1 all the way), channel by channel.
QColor Przesun(const QColor &kolor, const QColor &cel, qreal t)
{
  const QColor k = kolor.toRgb(), c = cel.toRgb();
  return QColor::fromRgbF(float(k.redF() + (c.redF() - k.redF()) * t),
                          float(k.greenF() + (c.greenF() - k.greenF()) * t),
                          float(k.blueF() + (c.blueF() - k.blueF()) * t));
}

} // namespace

qreal WspolczynnikKontrastu(const QColor &a, const QColor &b)
{
  const qreal la = Luminancja(a), lb = Luminancja(b);
  return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

QColor CzytelnyKolor(const QColor &kolor, const QColor &tlo, qreal minimum)
{
  if (WspolczynnikKontrastu(kolor, tlo) >= minimum)
    return kolor;
  const QColor cel = Luminancja(tlo) > 0.18 ? QColor(Qt::black) : QColor(Qt::white);
  if (WspolczynnikKontrastu(cel, tlo) < minimum)
    return cel;
  // The least shift that reaches the minimum: contrast grows steadily along the way.
  qreal od = 0, doo = 1;
  for (int i = 0; i < 20; ++i) {
    const qreal t = (od + doo) / 2;
    if (WspolczynnikKontrastu(Przesun(kolor, cel, t), tlo) >= minimum)
      doo = t;
    else
      od = t;
  }
  return Przesun(kolor, cel, doo);
}
