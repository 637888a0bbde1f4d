#pragma once

#include "app/ui/FormaBezdokumentowaPozycjonowana.h"
#include "contacts/BazaKontaktow.h"
#include "contacts/Drzewo.h"
#include "contacts/Ustawienia.h"
#include "net/Gniazdo.h"

#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>

class QAction;
class QLabel;
class QMenu;
class QToolButton;
class TModelDrzewa;
class TUzytkownik;
class TWidokDrzewa;

// The program's main window: the conversation tree with its commands, the settings, the contact
// store, and (filled in by the session, dispatch and messaging code) the GG connection. Most of
// the program's operations are methods of this window; they are spread over files by subsystem:
//   FrmPaplankiMain.cpp          creation (start-up), first show, closing, destruction
//   FrmPaplankiMainDrzewo.cpp    tree events, keyboard, drag and drop, send/answer
//   FrmPaplankiMainMenu.cpp      the tree's popup menu and the commands bound to it
//   FrmPaplankiMainOpcje.cpp     option switches and their settings
//   FrmPaplankiMainPolecenia.cpp commands whose work belongs to other subsystems
//   FrmPaplankiMainPrzypisy.cpp  per-contact notes
class TFrmPaplankiMain : public TFormaBezdokumentowaPozycjonowana {
  Q_OBJECT
public:
  explicit TFrmPaplankiMain(QWidget *rodzic = nullptr);
  ~TFrmPaplankiMain() override;

  // --- Components -------------------------------------------------------------------------
  // Status bar panels (labels of StatusBar1): own status name, own description, events.
  enum { PanelStanu = 0, PanelOpisu = 1, PanelZdarzen = 2 };
  void UstawPanel(int numer, const QString &tekst);
  QString TekstPanelu(int numer) const;

  QToolButton *PolaczTB = nullptr; // "&Połącz", down: the user wants to be connected
  QToolButton *SzukajTB = nullptr;
  QAction *Szukaj1 = nullptr;      // "&Szukaj" of the "&Paplanki" menu
  TWidokDrzewa *TreeView1 = nullptr;
  TModelDrzewa *Model = nullptr;   // the view adapter of Drzewo
  QMenu *TreePM = nullptr;         // rebuilt by TreePMPopup at every opening

  TGniazdo GGSck;
  TGniazdo HttpSck;
  QTimer PingTmr;    // 3256 ms, keep-alive check
  QTimer LaczenieTmr; // 60000 ms, reconnect delay
  QTimer IdleTmr;    // 50000 ms, auto-away

  // --- The conversation tree ----------------------------------------------------------------
  TDrzewo Drzewo;
  // The node the commands act on; empties itself when the node is deleted.
  TWskaznikWezla WybranyWezel;
  // The node selected in the view (not the same as the command target after a right click).
  TWezel *ZaznaczonyWezel() const;
  // Selects the node in the view (expanding its parents); fires TreeView1Change.
  void Zaznacz(TWezel *wezel);

  // --- Settings and the contact store --------------------------------------------------------
  TUstawienia &Ustawienia() const { return *m_ustawienia; }
  int RodzajBazy() const { return m_ustawienia->RodzajBazy(); }
  // The active contact store; always usable (the registry store until start-up loads one).
  std::unique_ptr<TBazaKontaktow> Baza;

  // HTTP hosts chosen by the alternative-server switch.
  QString AdresInformacji;
  QString AdresRejestracji;
  QString PortHttp;
  void UstawSerwerAlternatywny(bool wlaczony);

  // --- Session ------------------------------------------------------------------------------
  int NumerWlasny = -1;
  QString HasloWlasne;
  bool Zalogowany = false;
  quint32 StanWlasny = 1;
  QString OpisWlasny;
  QDateTime CzasPowrotu;
  bool PiszeWiadomosc = false;
  // Stores the account the session uses.
  void Start(int numer, const QString &haslo);

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

  // --- Closing ------------------------------------------------------------------------------
  // The unread check; CanClose false keeps the window open.
  void FormCloseQuery(bool &CanClose);

protected:
  void FormClose() override;
  void closeEvent(QCloseEvent *zdarzenie) override;
  void showEvent(QShowEvent *zdarzenie) override;
  void keyPressEvent(QKeyEvent *zdarzenie) override;
  bool eventFilter(QObject *obiekt, QEvent *zdarzenie) override;

private:
  void ZbudujSkladniki();
  void FormCreate();
  void Uruchom();
  void FormShow();
  void FormDestroy();
  void PolaczZdarzeniaDrzewa();

  // The popup's general items, into `menu` (the top level or the product submenu).
  void DodajPozycjeOgolne(QMenu *menu);
  void WyczyscMenu();

  std::unique_ptr<TUstawienia> m_ustawienia;
  QList<QObject *> m_elementyMenu; // what the last TreePMPopup made
  bool m_rozwijanie = false;       // inside TreeView1Expanding
};

extern TFrmPaplankiMain *FrmPaplankiMain;
