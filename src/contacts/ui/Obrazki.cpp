#include "contacts/ui/Obrazki.h"

#include "app/Kontrast.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <vector>

namespace {

// One shape of a picture. In the coloured picture it is filled (when `wypelnienie` is valid) and
// stroked with `linia`; in the grey picture only its outline is drawn.
struct TKsztalt {
  QPainterPath sciezka;
  QColor wypelnienie;
  QColor linia;
  qreal grubosc = 1.0;
};
using TRysunek = std::vector<TKsztalt>;

const QColor Szary(128, 128, 128);
const QColor Czerwony(224, 32, 32);
const QColor CiemnyCzerwony(128, 16, 16);
const QColor Zolty(245, 208, 0);
const QColor Ciemny(40, 40, 40);
// Dark line art on a dark background becomes this; the grey outline is lighter there.
const QColor Jasny(224, 224, 224);
const QColor JasnySzary(176, 176, 176);

// How one drawing is put into pixels.
struct TWyglad {
  qreal skala = 1.0;
  bool ciemneTlo = false;
};

// The pixel size of a 16-unit picture at a device pixel ratio (20 at 1.25, 24 at 1.5).
int Piksele(qreal skala)
{
  return qMax(1, qCeil(Obrazek::Rozmiar * skala - 1e-9));
}

QImage Puste(const TWyglad &w)
{
  QImage obraz(Piksele(w.skala), Piksele(w.skala), QImage::Format_ARGB32_Premultiplied);
  obraz.fill(Qt::transparent);
  obraz.setDevicePixelRatio(w.skala);
  return obraz;
}

QColor NaTle(const QColor &kolor, const TWyglad &w)
{
  if (!w.ciemneTlo || !kolor.isValid())
    return kolor;
  // The near-black of outlines and figures turns light; a dark colour keeps its hue, lightened
  // to the contrast asked of graphics against a dark view.
  if (kolor.lightness() <= 64)
    return Jasny;
  QColor wynik = CzytelnyKolor(kolor, QColor(40, 40, 40), 3.0);
  wynik.setAlpha(kolor.alpha());
  return wynik;
}

QImage Narysuj(const TRysunek &rysunek, bool kolorowy, const TWyglad &w)
{
  QImage obraz = Puste(w);
  QPainter p(&obraz);
  p.setRenderHint(QPainter::Antialiasing);
  for (const TKsztalt &k : rysunek) {
    if (kolorowy) {
      p.setBrush(k.wypelnienie.isValid() ? QBrush(NaTle(k.wypelnienie, w)) : QBrush(Qt::NoBrush));
      if (k.linia.isValid())
        p.setPen(QPen(NaTle(k.linia, w), k.grubosc, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      else
        p.setPen(Qt::NoPen);
    } else {
      p.setBrush(Qt::NoBrush);
      p.setPen(
          QPen(w.ciemneTlo ? JasnySzary : Szary, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    p.drawPath(k.sciezka);
  }
  return obraz;
}

QPainterPath Kolo(qreal x, qreal y, qreal r)
{
  QPainterPath s;
  s.addEllipse(QPointF(x, y), r, r);
  return s;
}

QPainterPath Linia(std::initializer_list<QPointF> punkty)
{
  QPainterPath s;
  bool pierwszy = true;
  for (const QPointF &pt : punkty) {
    if (pierwszy)
      s.moveTo(pt);
    else
      s.lineTo(pt);
    pierwszy = false;
  }
  return s;
}

QPainterPath Wielokat(std::initializer_list<QPointF> punkty)
{
  QPainterPath s = Linia(punkty);
  s.closeSubpath();
  return s;
}

// An arc of the circle (x, y, r) from `od` degrees sweeping `zakres` (counter-clockwise positive).
QPainterPath Luk(qreal x, qreal y, qreal r, qreal od, qreal zakres)
{
  const QRectF prostokat(x - r, y - r, 2 * r, 2 * r);
  QPainterPath s;
  s.arcMoveTo(prostokat, od);
  s.arcTo(prostokat, od, zakres);
  return s;
}

// Head and shoulders.
TRysunek Postac(const QColor &kolor, const QColor &obrys)
{
  QPainterPath tulow;
  tulow.moveTo(2.5, 15.5);
  tulow.arcTo(QRectF(2.5, 8.5, 11, 14), 180, -180);
  tulow.closeSubpath();
  return {{Kolo(8, 4.5, 3), kolor, obrys}, {tulow, kolor, obrys}};
}

TRysunek Glosnik()
{
  const QColor korpus(52, 73, 94);
  return {
      {Wielokat({{1.5, 5.5}, {4.5, 5.5}, {4.5, 10.5}, {1.5, 10.5}}), korpus, Ciemny},
      {Wielokat({{4.5, 5.5}, {8.5, 2.5}, {8.5, 13.5}, {4.5, 10.5}}), korpus, Ciemny},
      {Luk(8.5, 8, 3, -40, 80), {}, Czerwony, 1.3},
      {Luk(8.5, 8, 5.5, -45, 90), {}, Czerwony, 1.3},
  };
}

TRysunek ZnakZakazu(bool bialeTlo)
{
  return {
      {Kolo(8, 8, 6.5), bialeTlo ? QColor(Qt::white) : QColor(), Czerwony, 2.0},
      {Linia({{3.6, 3.6}, {12.4, 12.4}}), {}, Czerwony, 2.0},
  };
}

TRysunek Budzik(bool dzwoni)
{
  // The ringing clock is a little smaller, to leave room for its rays.
  const qreal r = dzwoni ? 4.6 : 5.5;
  const qreal y = dzwoni ? 9.5 : 9.0;
  const qreal dzwonekX = dzwoni ? 3.5 : 2.8;
  TRysunek rysunek{
      {Kolo(8 - dzwonekX - 0.5, y - r + 0.6, 1.8), CiemnyCzerwony, Ciemny},
      {Kolo(8 + dzwonekX + 0.5, y - r + 0.6, 1.8), CiemnyCzerwony, Ciemny},
      {Linia({{8 - r * 0.6, y + r * 0.75}, {8 - r * 0.9, y + r + 1.2}}), {}, Ciemny, 1.2},
      {Linia({{8 + r * 0.6, y + r * 0.75}, {8 + r * 0.9, y + r + 1.2}}), {}, Ciemny, 1.2},
      {Kolo(8, y, r), Czerwony, CiemnyCzerwony},
      {Kolo(8, y, r - 1.7), QColor(Qt::white), {}},
      {Linia({{8, y - r + 2.4}, {8, y}, {8 + r - 2.6, y}}), {}, Ciemny, 1.0},
  };
  if (dzwoni) {
    const QColor promien(240, 192, 0);
    for (const qreal strona : {-1.0, 1.0}) {
      const qreal x0 = 8 + strona * 7.3;
      const qreal x1 = 8 + strona * 5.6;
      rysunek.push_back({Linia({{x0, y - 3.0}, {x1, y - 2.0}}), {}, promien, 1.3});
      rysunek.push_back({Linia({{x0, y}, {x1, y}}), {}, promien, 1.3});
      rysunek.push_back({Linia({{x0, y + 3.0}, {x1, y + 2.0}}), {}, promien, 1.3});
    }
    rysunek.push_back({Linia({{8, 0.8}, {8, 2.8}}), {}, promien, 1.3});
  }
  return rysunek;
}

TRysunek ZnakZapytania()
{
  return {
      {Kolo(8, 8, 7), Zolty, QColor(160, 128, 0)},
      {Luk(8, 6, 2.4, 180, -240), {}, Czerwony, 1.6},
      {Linia({{9.2, 8.1}, {8, 9.6}, {8, 10.2}}), {}, Czerwony, 1.6},
      {Kolo(8, 12.4, 0.9), Czerwony, Czerwony},
  };
}

TRysunek Haczyk()
{
  return {{Linia({{2.5, 8.5}, {6, 12.5}, {13.5, 3.5}}), {}, Czerwony, 2.5}};
}

TRysunek Koperty()
{
  const QColor papier(247, 216, 74);
  const QColor brzeg(138, 109, 0);
  TRysunek rysunek;
  for (const QPointF &rog : {QPointF(5.5, 1.5), QPointF(3.5, 5.0), QPointF(1.5, 8.5)}) {
    const qreal x = rog.x(), y = rog.y(), w = 9, h = 6;
    rysunek.push_back({Wielokat({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}), papier, brzeg});
    rysunek.push_back({Linia({{x, y}, {x + w / 2, y + h / 2}, {x + w, y}}), {}, brzeg});
  }
  return rysunek;
}

TRysunek ZakazNaPostaci()
{
  TRysunek rysunek = Postac(QColor(48, 48, 48), Ciemny);
  for (const TKsztalt &k : ZnakZakazu(false))
    rysunek.push_back(k);
  return rysunek;
}

QList<QPixmap> Puste(int liczba, const TWyglad &w)
{
  return QList<QPixmap>(liczba, QPixmap::fromImage(Puste(w)));
}

void UstawPare(QList<QPixmap> &lista, int parzysty, const TRysunek &rysunek, const TWyglad &w)
{
  lista[parzysty] = QPixmap::fromImage(Narysuj(rysunek, true, w));
  lista[parzysty + 1] = QPixmap::fromImage(Narysuj(rysunek, false, w));
}

} // namespace

bool CiemneTlo(const QPalette &paleta)
{
  return paleta.color(QPalette::Active, QPalette::Base).lightness() < 128;
}

QList<QPixmap> ObrazyWezlow(qreal skala, bool ciemneTlo)
{
  const TWyglad w{skala, ciemneTlo};
  QList<QPixmap> lista = Puste(Obrazek::LiczbaWezlow, w);
  UstawPare(lista, 0, Postac(QColor(58, 120, 200), QColor(20, 50, 100)), w);
  UstawPare(lista, 10, Glosnik(), w);
  UstawPare(lista, 16, ZnakZakazu(true), w);
  UstawPare(lista, 26, Budzik(true), w);
  UstawPare(lista, 28, Budzik(false), w);
  return lista;
}

QList<QPixmap> ObrazyStanu(qreal skala, bool ciemneTlo)
{
  const TWyglad w{skala, ciemneTlo};
  QList<QPixmap> lista = Puste(Obrazek::LiczbaStanow, w);
  lista[10] = QPixmap::fromImage(Narysuj(ZnakZapytania(), true, w));
  lista[2] = QPixmap::fromImage(Narysuj(Haczyk(), true, w));
  lista[8] = QPixmap::fromImage(Narysuj(Koperty(), true, w));
  lista[12] = QPixmap::fromImage(Narysuj(ZakazNaPostaci(), true, w));
  lista[0] = QPixmap::fromImage(Narysuj(ZnakZakazu(true), true, w));
  return lista;
}
