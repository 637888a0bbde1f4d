#pragma once

#include <QString>

// Why the session is not logged in while the user wants it to be; Zalogowano once it is again.
enum class TPowodRozlaczenia {
  Zalogowano,
  NieznanaNazwaHosta,  // the lookup host's name could not be resolved
  SerwerOdmowil,       // a server refused the TCP connection
  BrakPolaczenia,      // a connection could not be made for another reason
  OdmowaLogowania,     // the GG server refused the login (number or password)
  ZerwanePolaczenie    // an open connection was lost
};

// What the GG session needs of the main window: its status bar, its message box and the state of
// the "&Połącz" toolbar button. The main window implements it; the session never sees a widget.
class TOknoSesji {
public:
  // Status bar panels: own status name, own description, connection texts.
  static constexpr int PanelStanu = 0;
  static constexpr int PanelOpisu = 1;
  static constexpr int PanelPolaczenia = 2;

  virtual ~TOknoSesji();

  virtual void UstawTekstPanelu(int panel, const QString &tekst) = 0;
  // The window's message box (PokazKomunikat of the standard form): modal, caption
  // NazwaProduktu + " - " + podpis, Windows style bits; returns the button pressed.
  virtual int PokazKomunikat(const QString &tekst, const QString &podpis, int styl) = 0;
  // True while "&Połącz" is down (the user wants to be connected).
  virtual bool PolaczWcisniety() const = 0;

  // The connection was lost or could not be made (and why), or the login succeeded. `host` names
  // the host the failed attempt was made to. Nothing by default.
  virtual void ZmienionoPolaczenie(TPowodRozlaczenia powod, const QString &host);

  // Information box with only OK and no icon; returns when it is closed.
  void Display(const QString &tekst);
};
