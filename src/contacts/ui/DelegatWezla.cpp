#include "contacts/ui/DelegatWezla.h"

#include "contacts/ModelDrzewa.h"
#include "contacts/ui/Obrazki.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QWidget>

namespace {

QStyle *StylDla(const QStyleOptionViewItem &opcja)
{
  return opcja.widget ? opcja.widget->style() : QApplication::style();
}

} // namespace

TDelegatWezla::TDelegatWezla(QList<QPixmap> obrazyStanu, QObject *rodzic)
    : QStyledItemDelegate(rodzic), m_obrazyStanu(std::move(obrazyStanu))
{
}

void TDelegatWezla::UstawObrazyStanu(QList<QPixmap> obrazyStanu)
{
  m_obrazyStanu = std::move(obrazyStanu);
  m_wyszarzone.clear();
}

const QPixmap *TDelegatWezla::ObrazStanu(const QModelIndex &indeks) const
{
  const QVariant v = indeks.data(TModelDrzewa::RolaObrazStanu);
  if (!v.isValid())
    return nullptr;
  const int i = v.toInt();
  return i >= 0 && i < m_obrazyStanu.size() ? &m_obrazyStanu[i] : nullptr;
}

void TDelegatWezla::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
  QStyledItemDelegate::initStyleOption(option, index);
  if (!index.data(TModelDrzewa::RolaWyszarzony).toBool())
    return;
  option->palette.setBrush(QPalette::Text,
                           option->palette.brush(QPalette::Disabled, QPalette::Text));
  if (option->icon.isNull())
    return;
  // The dimmed picture of whichever image the node shows now (its selected image when selected);
  // set for both modes so that the style does not tint it again.
  const bool wybrany = option->state & QStyle::State_Selected;
  const QPixmap zrodlo = option->icon.pixmap(QSize(Obrazek::Rozmiar, Obrazek::Rozmiar),
                                             wybrany ? QIcon::Selected : QIcon::Normal);
  auto it = m_wyszarzone.constFind(zrodlo.cacheKey());
  if (it == m_wyszarzone.constEnd()) {
    const QPixmap przygaszony =
        StylDla(*option)->generatedIconPixmap(QIcon::Disabled, zrodlo, option);
    QIcon ikona;
    ikona.addPixmap(przygaszony, QIcon::Normal);
    ikona.addPixmap(przygaszony, QIcon::Selected);
    it = m_wyszarzone.insert(zrodlo.cacheKey(), ikona);
  }
  option->icon = *it;
}

void TDelegatWezla::paint(QPainter *painter, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const
{
  QStyleOptionViewItem opcja = option;
  if (const QPixmap *stan = ObrazStanu(index)) {
    const QRect miejsce(opcja.rect.left(),
                        opcja.rect.top() + (opcja.rect.height() - Obrazek::Rozmiar) / 2,
                        Obrazek::Rozmiar, Obrazek::Rozmiar);
    painter->drawPixmap(miejsce, *stan);
    opcja.rect.setLeft(opcja.rect.left() + SzerokoscStanu);
  }
  QStyledItemDelegate::paint(painter, opcja, index);
}

QSize TDelegatWezla::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
  QSize rozmiar = QStyledItemDelegate::sizeHint(option, index);
  if (ObrazStanu(index))
    rozmiar.rwidth() += SzerokoscStanu;
  rozmiar.setHeight(qMax(rozmiar.height(), Obrazek::Rozmiar));
  return rozmiar;
}

TDelegatWezla::TCzesc TDelegatWezla::CzescPod(const QStyleOptionViewItem &opcja,
                                              const QModelIndex &indeks, const QPoint &punkt) const
{
  if (!indeks.isValid() || !opcja.rect.contains(punkt))
    return TCzesc::Brak;
  QStyleOptionViewItem o = opcja;
  if (ObrazStanu(indeks)) {
    if (punkt.x() < o.rect.left() + SzerokoscStanu)
      return TCzesc::IkonaStanu;
    o.rect.setLeft(o.rect.left() + SzerokoscStanu);
  }
  initStyleOption(&o, indeks);
  QStyle *styl = StylDla(o);
  const bool maIkone = o.features & QStyleOptionViewItem::HasDecoration;
  const QRect ikona = styl->subElementRect(QStyle::SE_ItemViewItemDecoration, &o, o.widget);
  if (maIkone && punkt.x() <= ikona.right())
    return TCzesc::Ikona;
  // The label is the caption's own width, not the rest of the row.
  const QRect tekst = styl->subElementRect(QStyle::SE_ItemViewItemText, &o, o.widget);
  const int margines = styl->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, o.widget) + 1;
  const int koniec = tekst.left() + QFontMetrics(o.font).horizontalAdvance(o.text) + 2 * margines;
  return punkt.x() < qMin(koniec, tekst.right() + 1) ? TCzesc::Etykieta : TCzesc::ZaEtykieta;
}
