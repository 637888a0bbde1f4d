#include "app/ui/FormaBezdokumentowaPozycjonowana.h"

#include "app/Polozenie.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>

TFormaBezdokumentowaPozycjonowana *FormaBezdokumentowaPozycjonowana = nullptr;

TFormaBezdokumentowaPozycjonowana::TFormaBezdokumentowaPozycjonowana(QWidget *rodzic)
    : TFormaBezdokumentowaPozycjonowana(QList<int>(), rodzic)
{
}

TFormaBezdokumentowaPozycjonowana::TFormaBezdokumentowaPozycjonowana(
    const QList<int> &szerokosciPaneli, QWidget *rodzic)
    : TFormaBezdokumentowa(szerokosciPaneli, rodzic)
{
  FormCreate();
}

void TFormaBezdokumentowaPozycjonowana::FormCreate()
{
  const TPolozenieOkna p = CzytajPolozenie(*RejestrOkna());
  QSize ekran(p.Szerokosc, p.Wysokosc);
  if (const QScreen *s = QGuiApplication::primaryScreen())
    ekran = s->geometry().size();
  QRect r = NaEkranie(QRect(p.OdLewej, p.OdGory, p.Szerokosc, p.Wysokosc), ekran);
  const TPolozenieOkna domyslne;
  m_ramkaWRogu = p.OdLewej == domyslne.OdLewej && p.OdGory == domyslne.OdGory;
  if (m_ramkaWRogu)
    if (const QScreen *s = QGuiApplication::primaryScreen())
      r.moveTopLeft(s->availableGeometry().topLeft());
  // The position is the outer corner of the window, the size its inner size, as they are saved.
  move(r.topLeft());
  resize(r.size());
  switch (p.StanOkna) {
  case StanZminimalizowany:
    setWindowState(Qt::WindowMinimized);
    break;
  case StanZmaksymalizowany:
    setWindowState(Qt::WindowMaximized);
    break;
  default:
    setWindowState(Qt::WindowNoState);
    break;
  }
}

void TFormaBezdokumentowaPozycjonowana::showEvent(QShowEvent *zdarzenie)
{
  TFormaBezdokumentowa::showEvent(zdarzenie);
  if (!m_ramkaWRogu || zdarzenie->spontaneous())
    return;
  m_ramkaWRogu = false;
  // Before the window is mapped its frame is not known, and a position given to the widget
  // would be taken for its inner corner; the platform window places the frame itself.
  if (QWindow *okno = windowHandle())
    if (const QScreen *s = okno->screen())
      okno->setFramePosition(s->availableGeometry().topLeft());
}

void TFormaBezdokumentowaPozycjonowana::FormClose()
{
  TFormaBezdokumentowa::FormClose();
  TPolozenieOkna p;
  const Qt::WindowStates stan = windowState();
  p.StanOkna = stan.testFlag(Qt::WindowMinimized)   ? StanZminimalizowany
               : stan.testFlag(Qt::WindowMaximized) ? StanZmaksymalizowany
                                                    : StanNormalny;
  // The normal bounds are saved whatever the state; the frame's offset is the one of the moment.
  const QRect normalne = p.StanOkna == StanNormalny ? geometry() : normalGeometry();
  const QPoint ramka = geometry().topLeft() - pos();
  p.Wysokosc = normalne.height();
  p.Szerokosc = normalne.width();
  p.OdLewej = normalne.left() - ramka.x();
  p.OdGory = normalne.top() - ramka.y();
  ZapiszPolozenie(*RejestrOkna(), p);
}
