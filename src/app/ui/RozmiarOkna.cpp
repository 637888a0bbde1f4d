#include "app/ui/RozmiarOkna.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QWidget>

namespace {

// Room kept for the title bar and borders while the window manager has not told their size.
const QSize NajmniejszaRamka(16, 48);

} // namespace

void DopasujDoEkranu(QWidget *okno, QSize chciany)
{
  const QScreen *ekran = okno->screen() ? okno->screen() : QGuiApplication::primaryScreen();
  if (ekran) {
    const QSize ramka = (okno->frameGeometry().size() - okno->size()).expandedTo(NajmniejszaRamka);
    chciany = chciany.boundedTo(ekran->availableGeometry().size() - ramka);
  }
  okno->resize(chciany);
}

TObszarPrzewijany::TObszarPrzewijany(QWidget *tresc, QWidget *rodzic) : QScrollArea(rodzic)
{
  setFrameShape(QFrame::NoFrame);
  // Tab goes through the contents (scrolling to each control), not to the area itself.
  setFocusPolicy(Qt::NoFocus);
  setWidgetResizable(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setWidget(tresc);
}

QSize TObszarPrzewijany::sizeHint() const
{
  const QWidget *tresc = widget();
  if (!tresc)
    return QScrollArea::sizeHint();
  // With room for a vertical bar, so that one appearing does not bring a horizontal one too.
  const int pasek = verticalScrollBar()->sizeHint().width();
  return tresc->sizeHint().expandedTo(tresc->minimumSizeHint()) + QSize(pasek, 0);
}
