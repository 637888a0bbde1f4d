#pragma once

#include "contacts/Wezel.h"

#include <QHash>
#include <QIcon>
#include <QObject>
#include <QString>
#include <QTimer>

#include <unordered_map>

class QDBusConnection;
class TFrmPaplankiMain;
class TLicznikNieprzeczytanych;
class TPowiadomienia;
class TZasobnik;

// What the main window shows of itself on the desktop: the unread count in its title and in the
// tray, the tray icon with the own status, and a notification for each message that arrives
// while the window is not the active one. The window owns one; it lives shorter than the tree.
class TPulpitGlownegoOkna : public QObject {
  Q_OBJECT
public:
  TPulpitGlownegoOkna(TFrmPaplankiMain &okno, const QDBusConnection &magistrala);
  ~TPulpitGlownegoOkna() override;

  // The status, description, connection or unread count changed: the title, the tray picture and
  // its tooltip follow once the current burst of events is handled.
  void Odswiez();

  // The tree's pictures drawn again when the palette turned dark or light, or the window went to
  // a screen with another device pixel ratio.
  void OdswiezObrazy();

  // The "Powiadomienia" setting (section "Ustawienia"), read at start; on unless the user
  // turned it off.
  bool Powiadomienia() const;
  void UstawPowiadomienia(bool wlaczone);

  TLicznikNieprzeczytanych &Licznik() { return *m_licznik; }
  const TLicznikNieprzeczytanych &Licznik() const { return *m_licznik; }
  TPowiadomienia &Powiadamianie() { return *m_powiadomienia; }
  const TPowiadomienia &Powiadamianie() const { return *m_powiadomienia; }
  TZasobnik &Zasobnik() { return *m_zasobnik; }
  const TZasobnik &Zasobnik() const { return *m_zasobnik; }

  // The title with the unread count in front: "(3) Paplanki (GG)"; just the name at 0.
  static QString Tytul(const QString &nazwa, int nieprzeczytane);

protected:
  bool eventFilter(QObject *obiekt, QEvent *zdarzenie) override;

private:
  void NowaWiadomosc(TWezel *linia);
  void Odpowiedz(int nadawca);
  void Pokaz(int nadawca);
  QString PodpisNadawcy(int nadawca, const TWezel *linia) const;
  void OdswiezTeraz();

  TFrmPaplankiMain &m_okno;
  TLicznikNieprzeczytanych *m_licznik;
  TPowiadomienia *m_powiadomienia;
  TZasobnik *m_zasobnik;
  QTimer m_odswiezanie;
  bool m_powiadomieniaWlaczone = true;
  // What the tree's pictures were drawn for.
  qreal m_skalaObrazow = 0;
  bool m_ciemneObrazy = false;
  // The tray's pictures by image index, drawn once; what the tray shows now.
  QHash<int, QIcon> m_obrazyStanu;
  int m_pokazanyObraz = -1;
  QString m_pokazanaPodpowiedz;
  // The newest notified message of each sender: what "Odpowiedz" and "Pokaż" act on.
  std::unordered_map<int, TWskaznikWezla> m_ostatnie;
};
