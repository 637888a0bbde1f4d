#pragma once

#include <QObject>

class QEvent;
class QTimer;
class TSesjaGG;
class TUstawienia;

// Automatic busy and available: keyboard and mouse input in the program's own windows makes the
// user available, 50 seconds without it busy, while the user is logged in, not composing a
// message and the option "AutomatycznyZajetyWolny" is on. Installed as an event filter on the
// application; it only watches and never takes an event.
class TAutomatycznaZajetosc : public QObject {
public:
  static constexpr int InterwalBezczynnosci = 50000;

  // `idleTmr` is the window's IdleTmr: set to 50 s, disabled, and wired to IdleTmrTimer here.
  // `piszeWiadomosc` is the window's composing flag.
  TAutomatycznaZajetosc(TSesjaGG &sesja, const TUstawienia &ustawienia, const bool &piszeWiadomosc,
                        QTimer &idleTmr, QObject *rodzic = nullptr);

  // Logged in, the option on and no message being composed.
  bool Warunek() const;

  // The hook: for an activity event restarts IdleTmr and, under the condition, sets available.
  // Never marks the event as handled.
  void MessageHandler(QObject *odbiorca, QEvent *zdarzenie);
  // 50 s after the last activity: IdleTmr stops; under the condition, busy.
  void IdleTmrTimer();

  // Key press and release, mouse move, wheel, and the left, middle and right buttons pressed or
  // released, sent to a window or widget of the program. Double clicks and typed characters do
  // not count.
  static bool JestAktywnoscia(const QObject *odbiorca, const QEvent *zdarzenie);

protected:
  bool eventFilter(QObject *obiekt, QEvent *zdarzenie) override;

private:
  TSesjaGG &m_sesja;
  const TUstawienia &m_ustawienia;
  const bool &m_piszeWiadomosc;
  QTimer &m_idleTmr;
};
