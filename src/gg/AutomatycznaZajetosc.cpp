#include "gg/AutomatycznaZajetosc.h"

#include "contacts/Ustawienia.h"
#include "gg/Sesja.h"
#include "gg/SesjaPakiety.h"

#include <QEvent>
#include <QMouseEvent>
#include <QTimer>

TAutomatycznaZajetosc::TAutomatycznaZajetosc(TSesjaGG &sesja, const TUstawienia &ustawienia,
                                             const bool &piszeWiadomosc, QTimer &idleTmr,
                                             QObject *rodzic)
    : QObject(rodzic), m_sesja(sesja), m_ustawienia(ustawienia), m_piszeWiadomosc(piszeWiadomosc),
      m_idleTmr(idleTmr)
{
  m_idleTmr.stop();
  m_idleTmr.setInterval(InterwalBezczynnosci);
  connect(&m_idleTmr, &QTimer::timeout, this, [this] { IdleTmrTimer(); });
}

bool TAutomatycznaZajetosc::Warunek() const
{
  return m_sesja.Zalogowany() && m_ustawienia.AutomatycznyZajetyWolny() && !m_piszeWiadomosc;
}

bool TAutomatycznaZajetosc::JestAktywnoscia(const QObject *odbiorca, const QEvent *zdarzenie)
{
  // Every event of the program passes here: the type is looked at first.
  bool aktywnosc = false;
  switch (zdarzenie->type()) {
  case QEvent::KeyPress:
  case QEvent::KeyRelease:
  case QEvent::MouseMove:
  case QEvent::Wheel:
    aktywnosc = true;
    break;
  case QEvent::MouseButtonPress:
  case QEvent::MouseButtonRelease: {
    const Qt::MouseButton przycisk = static_cast<const QMouseEvent *>(zdarzenie)->button();
    aktywnosc =
        przycisk == Qt::LeftButton || przycisk == Qt::MiddleButton || przycisk == Qt::RightButton;
    break;
  }
  default:
    break;
  }
  return aktywnosc && odbiorca && (odbiorca->isWidgetType() || odbiorca->isWindowType());
}

void TAutomatycznaZajetosc::MessageHandler(QObject *odbiorca, QEvent *zdarzenie)
{
  if (!JestAktywnoscia(odbiorca, zdarzenie))
    return;
  // The 50 seconds count from this event.
  m_idleTmr.stop();
  m_idleTmr.start();
  // An unchanged status sends nothing, so the stream of mouse moves costs one comparison each.
  if (Warunek())
    m_sesja.UstawStan(StanGG::Dostepny, QString(), QDateTime());
}

void TAutomatycznaZajetosc::IdleTmrTimer()
{
  m_idleTmr.stop();
  if (Warunek())
    m_sesja.UstawStan(StanGG::Zajety, QString(), QDateTime());
}

bool TAutomatycznaZajetosc::eventFilter(QObject *obiekt, QEvent *zdarzenie)
{
  MessageHandler(obiekt, zdarzenie);
  return false;
}
