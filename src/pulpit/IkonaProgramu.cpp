#include "pulpit/IkonaProgramu.h"

#include "app/SkrotNaPulpicie.h"
#include "pulpit/IkonaSvg.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QSvgRenderer>

namespace {

// Draws the SVG at exactly the size asked, so a 20 or 40 pixel icon (scale 1.25 of 16, scale 2
// of 20) is as crisp as the rendered theme sizes.
class TSilnikIkony : public QIconEngine {
public:
  void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
  {
    QSvgRenderer rysunek(ZrodloIkony());
    rysunek.render(painter, rect);
  }

  QPixmap pixmap(const QSize &rozmiar, QIcon::Mode tryb, QIcon::State stan) override
  {
    return scaledPixmap(rozmiar, tryb, stan, 1.0);
  }

  QPixmap scaledPixmap(const QSize &rozmiar, QIcon::Mode tryb, QIcon::State, qreal skala) override
  {
    // QIcon asks in device pixels already.
    const int bok = qMin(rozmiar.width(), rozmiar.height());
    QPixmap obraz = QPixmap::fromImage(ObrazIkony(bok));
    obraz.setDevicePixelRatio(skala);
    if (tryb == QIcon::Disabled) {
      QImage szary = obraz.toImage().convertToFormat(QImage::Format_ARGB32);
      for (int y = 0; y < szary.height(); ++y) {
        auto *linia = reinterpret_cast<QRgb *>(szary.scanLine(y));
        for (int x = 0; x < szary.width(); ++x) {
          const int g = qGray(linia[x]);
          linia[x] = qRgba(g, g, g, qAlpha(linia[x]) / 2);
        }
      }
      obraz = QPixmap::fromImage(szary);
      obraz.setDevicePixelRatio(skala);
    }
    return obraz;
  }

  QSize actualSize(const QSize &rozmiar, QIcon::Mode, QIcon::State) override
  {
    const int bok = qMin(rozmiar.width(), rozmiar.height());
    return {bok, bok};
  }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
  {
    QList<QSize> rozmiary;
    for (const int bok : RozmiaryIkony())
      rozmiary << QSize(bok, bok);
    return rozmiary;
  }

  QString key() const override { return QStringLiteral("paplanki-svg"); }
  QIconEngine *clone() const override { return new TSilnikIkony; }
};

} // namespace

QString NazwaPulpitowa()
{
  return NazwaPulpitowaProgramu.toString();
}

const QList<int> &RozmiaryIkony()
{
  static const QList<int> rozmiary{16, 22, 24, 32, 48, 64, 128, 256};
  return rozmiary;
}

QByteArray ZrodloIkony()
{
  return QByteArray::fromRawData(ZrodloSvgIkony, sizeof(ZrodloSvgIkony) - 1);
}

QImage ObrazIkony(int bok)
{
  QSvgRenderer rysunek(ZrodloIkony());
  if (!rysunek.isValid() || bok <= 0)
    return {};
  QImage obraz(bok, bok, QImage::Format_ARGB32_Premultiplied);
  obraz.fill(Qt::transparent);
  QPainter p(&obraz);
  rysunek.render(&p, QRectF(0, 0, bok, bok));
  return obraz;
}

QIcon IkonaProgramu()
{
  return QIcon(new TSilnikIkony);
}

void UstawTozsamoscPulpitu()
{
  QGuiApplication::setWindowIcon(IkonaProgramu());
  QGuiApplication::setDesktopFileName(NazwaPulpitowa());
}
