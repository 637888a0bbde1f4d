#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QSystemTrayIcon;
class QWidget;
class TSesjaGG;

// The program's icon in the desktop's tray (Qt speaks StatusNotifierItem where the desktop has
// it): the own status picture, a tooltip with the status, description and unread count, a left
// click that shows or hides the main window, and a menu with the statuses, "Połącz",
// "Pokaż okno" and "Zakończ". Statuses go through the session's UstawStan, as the status
// dialog's do. Where the desktop has no tray nothing is shown and the window works as before.
class TZasobnik : public QObject {
  Q_OBJECT
public:
  struct TObsluga {
    std::function<void()> Polacz;        // "Połącz": the toolbar button's toggle
    std::function<bool()> Polaczony;     // whether that button is down
    std::function<bool()> Powiadomienia; // the notification switch
    std::function<void(bool)> UstawPowiadomienia;
  };

  TZasobnik(TSesjaGG &sesja, QWidget &okno, TObsluga obsluga, QObject *rodzic = nullptr);
  ~TZasobnik() override;

  // Picture and tooltip (called when the status, the description or the unread count change).
  void Odswiez(const QIcon &obraz, const QString &podpowiedz);

  QMenu *Menu() const { return m_menu; }
  QSystemTrayIcon *Ikona() const { return m_ikona; }
  // The menu items of the statuses, in the status dialog's order.
  const QList<QAction *> &PozycjeStanu() const { return m_stany; }
  QAction *PozycjaPolacz() const { return m_polacz; }
  QAction *PozycjaPokazOkno() const { return m_pokazOkno; }
  QAction *PozycjaPowiadomienia() const { return m_powiadomienia; }
  QAction *PozycjaZakoncz() const { return m_zakoncz; }

  // Left click: a window in front hides; a hidden, minimised or covered one comes forward.
  void Kliknieto();
  void PokazOkno();

private:
  void PrzedOtwarciemMenu();
  void WybierzStan(quint32 stan);

  TSesjaGG &m_sesja;
  QWidget &m_okno;
  TObsluga m_obsluga;
  QSystemTrayIcon *m_ikona;
  QMenu *m_menu;
  QList<QAction *> m_stany;
  QAction *m_polacz;
  QAction *m_pokazOkno;
  QAction *m_powiadomienia;
  QAction *m_zakoncz;
};
