#include "contacts/ui/WidokDrzewa.h"

#include "contacts/ui/DelegatWezla.h"

#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>

namespace {

// The expand button of the tree control: a small square in the middle of the last indent step.
constexpr int RozmiarPrzycisku = 9;

} // namespace

TWidokDrzewa::TWidokDrzewa(TDelegatWezla *delegat, QWidget *rodzic)
    : QTreeView(rodzic), m_delegat(delegat)
{
  m_delegat->setParent(this);
  setItemDelegate(m_delegat);
  setHeaderHidden(true);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::MoveAction);
  setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
}

bool TWidokDrzewa::NaWezle(TTrafienie gdzie)
{
  return gdzie == TTrafienie::Etykieta || gdzie == TTrafienie::Ikona ||
         gdzie == TTrafienie::IkonaStanu;
}

TWidokDrzewa::TWynikTrafienia TWidokDrzewa::Traf(const QPoint &punkt) const
{
  TWynikTrafienia wynik;
  const QModelIndex indeks = indexAt(punkt);
  if (!indeks.isValid())
    return wynik; // below the last row
  wynik.indeks = indeks;
  const QRect komorka = visualRect(indeks);
  if (punkt.x() < komorka.left()) {
    wynik.gdzie = TTrafienie::Wciecie;
    if (model()->hasChildren(indeks) && (rootIsDecorated() || indeks.parent().isValid())) {
      const QRect krok(komorka.left() - indentation(), komorka.top(), indentation(),
                       komorka.height());
      QRect przycisk(0, 0, RozmiarPrzycisku, RozmiarPrzycisku);
      przycisk.moveCenter(krok.center());
      if (przycisk.contains(punkt))
        wynik.gdzie = TTrafienie::Przycisk;
    }
    return wynik;
  }
  QStyleOptionViewItem opcja;
  initViewItemOption(&opcja);
  opcja.rect = komorka;
  if (selectionModel() && selectionModel()->isSelected(indeks))
    opcja.state |= QStyle::State_Selected;
  switch (m_delegat->CzescPod(opcja, indeks, punkt)) {
  case TDelegatWezla::TCzesc::IkonaStanu:
    wynik.gdzie = TTrafienie::IkonaStanu;
    break;
  case TDelegatWezla::TCzesc::Ikona:
    wynik.gdzie = TTrafienie::Ikona;
    break;
  case TDelegatWezla::TCzesc::Etykieta:
    wynik.gdzie = TTrafienie::Etykieta;
    break;
  case TDelegatWezla::TCzesc::ZaEtykieta:
  case TDelegatWezla::TCzesc::Brak:
    wynik.gdzie = TTrafienie::ZaEtykieta;
    break;
  }
  return wynik;
}

void TWidokDrzewa::mousePressEvent(QMouseEvent *event)
{
  const QPoint punkt = event->position().toPoint();
  emit MyszWcisnieta(event->button(), punkt);
  // As on the tree control: only a left press on the node itself or on its button selects,
  // expands or starts a drag; a right press never moves the visible selection.
  const TTrafienie gdzie = Traf(punkt).gdzie;
  if (event->button() == Qt::LeftButton && (NaWezle(gdzie) || gdzie == TTrafienie::Przycisk)) {
    m_wcisnieciePominiete = false;
    QTreeView::mousePressEvent(event);
    return;
  }
  m_wcisnieciePominiete = true;
  setFocus(Qt::MouseFocusReason);
  event->accept();
}

bool TWidokDrzewa::PominiecieWcisniecia(QMouseEvent *event)
{
  if (!m_wcisnieciePominiete)
    return false;
  if (event->type() == QEvent::MouseButtonRelease && event->buttons() == Qt::NoButton)
    m_wcisnieciePominiete = false;
  event->accept();
  return true;
}

void TWidokDrzewa::mouseMoveEvent(QMouseEvent *event)
{
  if (event->buttons() != Qt::NoButton && PominiecieWcisniecia(event))
    return;
  QTreeView::mouseMoveEvent(event);
}

void TWidokDrzewa::mouseReleaseEvent(QMouseEvent *event)
{
  if (!PominiecieWcisniecia(event))
    QTreeView::mouseReleaseEvent(event);
}

void TWidokDrzewa::mouseDoubleClickEvent(QMouseEvent *event)
{
  // The second press of a double click is a press as well.
  const QPoint punkt = event->position().toPoint();
  emit MyszWcisnieta(event->button(), punkt);
  const TTrafienie gdzie = Traf(punkt).gdzie;
  if (event->button() == Qt::LeftButton && (NaWezle(gdzie) || gdzie == TTrafienie::Przycisk)) {
    m_wcisnieciePominiete = false;
    QTreeView::mouseDoubleClickEvent(event);
    return;
  }
  m_wcisnieciePominiete = true;
  event->accept();
}

bool TWidokDrzewa::NaszePrzeciaganie(const QDropEvent *event) const
{
  if (event->source() == this)
    return true;
  const QMimeData *dane = event->mimeData();
  if (!dane || !model())
    return false;
  for (const QString &typ : model()->mimeTypes())
    if (dane->hasFormat(typ))
      return true;
  return false;
}

void TWidokDrzewa::dragEnterEvent(QDragEnterEvent *event)
{
  if (!NaszePrzeciaganie(event)) {
    event->ignore();
    return;
  }
  QTreeView::dragEnterEvent(event);
  event->setDropAction(Qt::MoveAction);
  event->accept();
}

void TWidokDrzewa::dragMoveEvent(QDragMoveEvent *event)
{
  if (!NaszePrzeciaganie(event)) {
    event->ignore();
    return;
  }
  // The base draws the drop indicator and scrolls; whatever it decides, every point is accepted.
  QTreeView::dragMoveEvent(event);
  event->setDropAction(Qt::MoveAction);
  event->accept();
}

void TWidokDrzewa::dropEvent(QDropEvent *event)
{
  if (!NaszePrzeciaganie(event)) {
    event->ignore();
    return;
  }
  // The window moves the node itself; the model's own drop handling is not used. The model
  // cannot remove rows, so the finished move drag deletes nothing.
  const QPoint punkt = event->position().toPoint();
  stopAutoScroll();
  setState(NoState);
  viewport()->update();
  event->setDropAction(Qt::MoveAction);
  event->accept();
  emit Upuszczono(punkt);
}
