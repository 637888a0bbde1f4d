#pragma once

#include <QString>

class TWezel;
struct TOdrzuconaWiadomosc;

// Why the session is not logged in while the user wants it to be; Zalogowano once it is again.
enum class TPowodRozlaczenia {
  Zalogowano,
  NieznanaNazwaHosta, // the lookup host's name could not be resolved
  SerwerOdmowil,      // a server refused the TCP connection
  BrakPolaczenia,     // a connection could not be made for another reason
  OdmowaLogowania,    // the GG server refused the login (number or password)
  ZerwanePolaczenie   // an open connection was lost
};

// What the GG session and the dispatcher of received packets need of the main window: its status
// bar, its message boxes, the state of the "&Połącz" toolbar button and of the auto-away timer,
// and the tree view. The main window implements it; neither the session nor the dispatcher ever
// sees a widget.
class TOknoSesji {
public:
  // Status bar panels: own status name, own description, connection and delivery texts.
  static constexpr int PanelStanu = 0;
  static constexpr int PanelOpisu = 1;
  static constexpr int PanelPolaczenia = 2;
  // Panel 2 as the main window names it: the events of the connection and of delivery.
  static constexpr int PanelZdarzen = PanelPolaczenia;

  virtual ~TOknoSesji();

  virtual void UstawTekstPanelu(int panel, const QString &tekst) = 0;
  // Status bar panel 2.
  void UstawPanel2(const QString &tekst) { UstawTekstPanelu(PanelPolaczenia, tekst); }
  // The window's message box (PokazKomunikat of the standard form): modal, caption
  // NazwaProduktu + " - " + podpis, Windows style bits; returns the button pressed.
  virtual int PokazKomunikat(const QString &tekst, const QString &podpis, int styl) = 0;
  // True while "&Połącz" is down (the user wants to be connected).
  virtual bool PolaczWcisniety() const = 0;

  // The connection was lost or could not be made (and why), or the login succeeded. `host` names
  // the host the failed attempt was made to. Nothing by default.
  virtual void ZmienionoPolaczenie(TPowodRozlaczenia powod, const QString &host);

  // The modal information box of the event log's Display: only OK, no icon, caption suffix
  // "Informacja". Socket events go on while it is open.
  virtual void Display(const QString &tekst);
  // PokazKomunikat with the caption suffix "Informacja" and no icon; modal as well.
  virtual void PokazInformacje(const QString &tekst);
  // Brings the main window to the foreground when the application is not the active one.
  // Nothing by default.
  virtual void PrzywolajOkno();
  // Makes a new node visible in the tree view (its ancestors expanded). Nothing by default.
  virtual void UczynWidocznym(TWezel *wezel);
  // Whether the auto-away timer IdleTmr is running (it stops when the user has been idle). A
  // window without auto-away counts the user as present.
  virtual bool IdleTmrDziala() const;
  // The new-message sound; by default the sound theme's, through OdtworzDzwiekNowejWiadomosci.
  virtual void DzwiekNowejWiadomosci();
  // A message "Tylko od przyjaciół" dropped; nothing by default.
  virtual void OdrzuconoWiadomosc(const TOdrzuconaWiadomosc &wiadomosc);
};
