#pragma once

#include "app/ui/FormaBezdokumentowaPozycjonowana.h"
#include "contacts/BazaKontaktow.h"
#include "contacts/Drzewo.h"
#include "contacts/Ustawienia.h"
#include "gg/Dziennik.h"
#include "gg/Katalog.h"
#include "gg/Odbior.h"
#include "gg/OknoSesji.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>

class QAction;
class QLabel;
class TArchiwum;
class TArchiwumDrzewa;
class THistoriaFrm;
class QMenu;
class QToolButton;
class TAutomatycznaZajetosc;
class TKatalogFrm;
class TKomendyKontaktow;
class TModelDrzewa;
class TPasekRozlaczenia;
class TPulpitGlownegoOkna;
class TSesjaGG;
class TUzytkownik;
class TWidokDrzewa;

// The program's main window: the conversation tree with its commands, the settings, the contact
// store, the GG session with its dispatcher of received packets, and the event log. Most of the
// program's operations are methods of this window; they are spread over files by subsystem:
//   FrmPaplankiMain.cpp          creation (start-up), first show, closing, destruction
//   FrmPaplankiMainDrzewo.cpp    tree events, keyboard, drag and drop, send/answer
//   FrmPaplankiMainMenu.cpp      the tree's popup menu and the commands bound to it
//   FrmPaplankiMainOpcje.cpp     option switches and their settings
//   FrmPaplankiMainPasek.cpp     the bar above the tree: why offline, dropped messages
//   FrmPaplankiMainDostepnosc.cpp  keyboard commands and names for screen readers
//   FrmPaplankiMainPolecenia.cpp commands whose work belongs to other subsystems
//   FrmPaplankiMainPrzypisy.cpp  per-contact notes
//   FrmPaplankiMainSesja.cpp     the session, the dispatcher and the directory wired to the window
//   FrmPaplankiMainWiadomosci.cpp  sending messages, the status dialog and auto-away
//   FrmPaplankiMainArchiwum.cpp  the message archive: start-up restore, closing, damaged file
// The unread count in the title, the tray icon and the notifications: TPulpitGlownegoOkna.
class TFrmPaplankiMain : public TFormaBezdokumentowaPozycjonowana, public TOknoSesji {
  Q_OBJECT
public:
  explicit TFrmPaplankiMain(QWidget *rodzic = nullptr);
  ~TFrmPaplankiMain() override;

  // --- Components -------------------------------------------------------------------------
  // Status bar panels (labels of StatusBar1): PanelStanu, PanelOpisu and PanelZdarzen of
  // TOknoSesji.
  void UstawPanel(int numer, const QString &tekst);
  QString TekstPanelu(int numer) const;

  QToolButton *PolaczTB = nullptr; // "&Połącz", down: the user wants to be connected
  QToolButton *SzukajTB = nullptr;
  QAction *Szukaj1 = nullptr;    // "&Szukaj" of the "&Paplanki" menu
  QAction *ZmienStan1 = nullptr; // "Zmień stan..." of the "&Paplanki" menu (the status dialog)
  TWidokDrzewa *TreeView1 = nullptr;
  TModelDrzewa *Model = nullptr; // the view adapter of Drzewo
  QMenu *TreePM = nullptr;       // rebuilt by TreePMPopup at every opening

  QTimer IdleTmr; // 50000 ms, auto-away (the sockets and the other timers are the session's)

  // --- The conversation tree ----------------------------------------------------------------
  TDrzewo Drzewo;
  // The node the commands act on; empties itself when the node is deleted.
  TWskaznikWezla WybranyWezel;
  // The node selected in the view (not the same as the command target after a right click).
  TWezel *ZaznaczonyWezel() const;
  // Selects the node in the view (expanding its parents); fires TreeView1Change.
  void Zaznacz(TWezel *wezel);

  // --- Settings and the contact store --------------------------------------------------------
  TUstawienia &Ustawienia() { return *m_ustawienia; }
  const TUstawienia &Ustawienia() const { return *m_ustawienia; }
  int RodzajBazy() const { return m_ustawienia->RodzajBazy(); }
  // The active contact store; always usable (the registry store until start-up loads one).
  std::unique_ptr<TBazaKontaktow> Baza;

  // The session's HTTP hosts for the switch's state, and the switch written back.
  void UstawSerwerAlternatywny(bool wlaczony);

  // --- Session ------------------------------------------------------------------------------
  // The GG session: sockets, timers, own number, password, login flag and own status.
  TSesjaGG &Sesja() { return *m_sesja; }
  const TSesjaGG &Sesja() const { return *m_sesja; }
  // The public directory's state: search results and the own entry (dispatcher and dialogs).
  TKatalog &Katalog() { return m_katalog; }
  bool PiszeWiadomosc = false;
  // The event log beside the program file.
  void Loguj(const QString &kategoria, const QString &tekst);

  // TOknoSesji: the status bar, the boxes and the tree view for the session and the dispatcher
  // (UstawPanel2, Display and PokazInformacje as the interface makes them).
  void UstawTekstPanelu(int panel, const QString &tekst) override;
  int PokazKomunikat(const QString &tekst, const QString &naglowek, int styl) override;
  bool PolaczWcisniety() const override;
  void PrzywolajOkno() override;
  void UczynWidocznym(TWezel *wezel) override;
  bool IdleTmrDziala() const override;
  void ZmienionoPolaczenie(TPowodRozlaczenia powod, const QString &host) override;
  void OdrzuconoWiadomosc(const TOdrzuconaWiadomosc &wiadomosc) override;

  // The bar above the tree (in a toolbar row of its own, shown only while it has something to say).
  TPasekRozlaczenia *PasekRozlaczenia = nullptr;

  // --- Popup menu (TreePMPopup) ----------------------------------------------------------------
  void TreePMPopup();
  QPointer<QAction> PozycjaWyslij;
  QPointer<QAction> PozycjaOutlook;
  QPointer<QAction> PozycjaRejestr;
  QPointer<QAction> PozycjaSerwer;

  // --- Tree events --------------------------------------------------------------------------
  void TreeView1Change(TWezel *wezel);
  void TreeView1MouseDown(Qt::MouseButton przycisk, const QPoint &punkt);
  void TreeView1Deletion(TWezel *wezel);
  void TreeView1Expanding(TWezel *wezel);
  void TreeView1DragDrop(const QPoint &punkt);
  // Space: the next unread node. True when the key was taken.
  bool TreeView1KeyPress(int klawisz);
  // Insert and Delete, seen before the focused control. True when the key was taken.
  bool FormKeyDown(int klawisz);

  // --- Commands -----------------------------------------------------------------------------
  // Send or answer; Sender is a menu item or, from the Insert key, the window.
  void Wstaw1Click(QObject *Sender);
  // Opens the compose dialog and sends (messaging code); uzytkownik and wezel may be null.
  virtual void WyslijWiadomosc(TUzytkownik *uzytkownik, int numer, TWezel *wezel);
  void EdytujPrzypisy();

  void PolaczTBClick();
  void Szukaj1Click();
  // The directory dialog's Szukaj: a search request with its criteria.
  void WyslijSzukanie(QObject *Sender);
  void StatusBar1DblClick();
  void DodajSledzonego1Click();
  void EdytujSledzonego1Click();
  void AnulujSledzonego1Click();
  void PrzelaczBazaClick(QObject *Sender);
  void ZapiszUzytkownikowClick();
  void PobierzUzytkownikowClick();
  void Konfiguracja1Click();
  void AutZajWolnyClick();
  void TylkoOdPrzyjaciolClick();
  void InformowanieOPisaniuClick();
  void InformacjeGGClick();
  void SerwerAlternatywnyClick();
  void HasloClick();

  // --- Desktop ------------------------------------------------------------------------------
  // Title count, tray icon, notifications (null only while the window is being made or torn down).
  TPulpitGlownegoOkna *Pulpit() const { return m_pulpit.get(); }

  // --- Closing ------------------------------------------------------------------------------
  // The unread check; CanClose false keeps the window open.
  void FormCloseQuery(bool &CanClose);

  // --- Message archive ----------------------------------------------------------------------
  // Null when no archive could be opened (the program works on without one).
  TArchiwum *Archiwum() const;
  // Written messages waiting for the next login: when the window closes with some, it says how
  // many will be sent then.
  static QString TekstOczekujacych(int ile);
  static QString TekstOdlozonegoArchiwum(const QString &plik);
  static QString TekstBleduZapisuArchiwum(const QString &plik);
  // "Historia" (the contact's popup section; Ctrl+H in the window): the history window with the
  // conversation of the command target's contact, or of the message's other party.
  void HistoriaClick();
  QAction *Historia1 = nullptr; // Ctrl+H in the window
  THistoriaFrm *HistoriaFrm() const;

protected:
  void FormClose() override;
  void closeEvent(QCloseEvent *zdarzenie) override;
  void showEvent(QShowEvent *zdarzenie) override;
  void keyPressEvent(QKeyEvent *zdarzenie) override;
  bool eventFilter(QObject *obiekt, QEvent *zdarzenie) override;

private:
  void ZbudujSkladniki();
  void ZbudujPasekRozlaczenia();
  void ZbudujDostepnosc();
  void FormCreate();
  void Uruchom();
  void FormShow();
  void FormDestroy();
  void PolaczZdarzeniaDrzewa();
  void UtworzSesje();
  // The application's activity hook with IdleTmr (set up at start-up), and its removal.
  void WlaczAutomatycznaZajetosc();
  void WylaczAutomatycznaZajetosc();
  // The archive beneath the tree: opened at creation, fed by the tree and the dispatcher,
  // restored from after the contacts are loaded, reported on at the first show, closed first.
  void OtworzArchiwum();
  void PrzywrocZArchiwum();
  void PowiadomOArchiwum();
  void PowiadomOOczekujacych();
  void WstrzymajOdczytWArchiwum(bool wstrzymaj);
  void ZamknijArchiwum();

  // The popup's general items, into `menu` (the top level or the product submenu).
  void DodajPozycjeOgolne(QMenu *menu);
  QAction *DodajPolecenie(QMenu *menu, const QString &tytul, void (TFrmPaplankiMain::*obsluga)());
  void WyczyscMenu();

  std::unique_ptr<TUstawienia> m_ustawienia;
  TDziennik m_dziennik;
  // The directory's results and own entry: the dispatcher fills it, the search and account
  // dialogs show it. Outlives both (they are destroyed before the main window).
  TKatalog m_katalog;
  // Declared after the tree, settings, store and log they use: destroyed before them.
  std::unique_ptr<TSesjaGG> m_sesja;
  std::unique_ptr<TOdbior> m_odbior;
  std::unique_ptr<TKomendyKontaktow> m_komendy;
  // After the session and the settings it reads: gone before them.
  std::unique_ptr<TAutomatycznaZajetosc> m_automatycznaZajetosc;

  std::unique_ptr<TPulpitGlownegoOkna> m_pulpit;

  QList<QObject *> m_elementyMenu; // what the last TreePMPopup made
  bool m_rozwijanie = false;       // inside TreeView1Expanding
  // A burst of new lines scrolls the view once, to the last of them.
  TWskaznikWezla m_doPrzewiniecia;
  QTimer m_przewijanie;
  // After the tree they watch: gone before it.
  std::unique_ptr<TArchiwum> m_archiwum;
  std::unique_ptr<TArchiwumDrzewa> m_archiwumDrzewa;
  bool m_archiwumZgloszone = false;
  bool m_bladZapisuZgloszony = false;
  QPointer<THistoriaFrm> m_historiaFrm; // made at its first opening
};

extern TFrmPaplankiMain *FrmPaplankiMain;
