#pragma once

#include "app/ui/PasekStanu.h"

#include <QByteArray>
#include <QList>
#include <QMainWindow>
#include <QString>

class QAction;
class QMenu;
class TPobieranieWTle;
class QMenuBar;
class QToolBar;
class QToolButton;

// The frame of every window of the program: status bar, toolbar with the exit button, the main
// menu with help and maker commands, name and version from the program's version block, and the
// update check when the window is created.
//
// Creation runs in the constructors (the base's part first, as each class's FormCreate calls its
// parent's first); closing runs FormClose (descendants call the parent's first); destruction runs
// in the destructors, the descendant's part first.
class TFormaStandardowa : public QMainWindow {
  Q_OBJECT
public:
  explicit TFormaStandardowa(QWidget *rodzic = nullptr);
  ~TFormaStandardowa() override;

  // Components; descendants extend them (the main window adds its menus and panels).
  TPasekStanu *StatusBar1 = nullptr;
  QToolBar *MainToolbar = nullptr;
  QToolButton *ExitBtn = nullptr;
  QMenuBar *MainMenu = nullptr;
  QMenu *FileMenu = nullptr;
  QAction *N3 = nullptr;
  QAction *FileExitItem = nullptr;
  QMenu *Help1 = nullptr;
  QAction *Contents1 = nullptr;
  QAction *Temmenu1 = nullptr;
  QAction *N4 = nullptr;
  QAction *Telefon1 = nullptr;
  QAction *Poczta1 = nullptr;
  QAction *Hipertekst1 = nullptr;
  QAction *N6 = nullptr;
  QAction *Uaktualnienie1 = nullptr;
  QAction *N5 = nullptr;
  QAction *AboutItem = nullptr;

  const QByteArray &BlokWersji() const { return m_blokWersji; }
  quint64 WersjaProduktu() const { return m_wersjaProduktu; }
  const QString &NazwaProduktu() const { return m_nazwaProduktu; }
  const QString &PrawaAutorskie() const { return m_prawaAutorskie; }
  const QString &AdresProduktu() const { return m_adresProduktu; }
  const QString &AdresPobierania() const { return m_adresPobierania; }
  const QString &PlikPobierany() const { return m_plikPobierany; }
  const QString &PlikZachowany() const { return m_plikZachowany; }
  // True from creation until the update check has ended (its notice answered, its counter page
  // fetched, or a download failed).
  bool SprawdzanieTrwa() const { return m_sprawdzanieTrwa; }

  // Message box owned by this window, caption "<NazwaProduktu> - <naglowek>", `styl` of
  // Komunikat:: bits; returns the Komunikat::Wynik* of the button pressed.
  int PokazKomunikat(const QString &tekst, const QString &naglowek, int styl);

  // The application's current hint into the simple status text, or PrawaAutorskie without one.
  virtual void PokazOpis(QObject *sender = nullptr);

  // Longest wait of one update-check download.
  static constexpr int LimitPobieraniaMs = 2000;

signals:
  // The window has been closed (its close was accepted).
  void Zamknieto();

protected:
  // For descendants whose status bar shows panels from the start: their widths, in order.
  TFormaStandardowa(const QList<int> &szerokosciPaneli, QWidget *rodzic);

  virtual void FormClose();
  void closeEvent(QCloseEvent *zdarzenie) override;

  // Starts downloading `url` into a new temporary file; the stop notification runs with the
  // outcome from the event loop.
  void PobierzPlik(const QString &url);
  void PobieranieZakonczone(bool udane);

  // The HTML help handler: the help file opens in the browser.
  bool PomocHtml(int polecenie);

  void FileExitItemClick();
  void Contents1Click();
  void Temmenu1Click();
  void AboutItemClick();
  void Telefon1Click();
  void Poczta1Click();
  void Hipertekst1Click();
  void Uaktualnienie1Click();

private:
  void ZbudujSkladniki(const QList<int> &szerokosciPaneli);
  void ZbudujPasekStanu(const QList<int> &szerokosciPaneli);
  void ZbudujNarzedzia();
  void ZbudujMenu();
  void FormCreate();
  void FormDestroy();

  QByteArray m_blokWersji;
  quint64 m_wersjaProduktu = 0;
  QString m_nazwaProduktu;
  QString m_prawaAutorskie;
  QString m_adresProduktu;
  QString m_adresPobierania;
  QString m_plikPobierany;
  QString m_plikZachowany;
  TPobieranieWTle *m_pobieranie = nullptr;
  bool m_sprawdzanieTrwa = false;
};

extern TFormaStandardowa *FormaStandardowa;
