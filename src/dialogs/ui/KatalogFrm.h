#pragma once

#include "gg/Katalog.h"

#include <QDialog>
#include <QTimer>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTreeView;

// Searching the public directory. Created once and shown modeless; it never talks to the network
// itself: "&Wyszukaj" raises OnSzukaj, which the main window answers with WyslijSzukanie, and the
// replies reach the directory's state (the main window's, handed in) through the packet
// dispatcher.
class TKatalogFrm : public QDialog {
  Q_OBJECT
public:
  // Column widths of ListView1 in column order.
  static const int SzerokosciKolumn[TWynikiKatalogu::LiczbaKolumn];

  explicit TKatalogFrm(TKatalog &katalog, QWidget *rodzic = nullptr);
  ~TKatalogFrm() override;

  TKatalog &Katalog() { return m_katalog; }

  // Raised to send a search request; the main window assigns its WyslijSzukanie each time it is
  // shown.
  std::function<void(QObject *Sender)> OnSzukaj;

  bool Szukanie() const { return m_katalog.Szukanie(); }
  // The list's background: the inactive-caption stand-in while searching, else the window colour.
  void UstawSzukanie(bool szukanie) { m_katalog.UstawSzukanie(szukanie); }
  const QString &NastepnyStart() const { return m_katalog.NastepnyStart; }

  // The criteria as they stand, with the page to ask for: what WyslijSzukanie sends.
  TKryteriaSzukania Kryteria() const;
  // The radio index of PlecRG (0 "Dowolna", 1 "Kobieta", 2 "Mężczyzna").
  int PlecIndeks() const;
  void UstawPlecIndeks(int indeks);

  // How long a search request may stay unanswered before the search ends.
  static constexpr int LimitOdpowiedziMs = 30000;
  QTimer &LimitOdpowiedzi() { return m_limitOdpowiedzi; }
  // Ends a search that will get no answer: the list's colour goes back and the dialog's status
  // bar says why.
  void PrzerwijSzukanie(const QString &powod);

  // Szukaj1Click: shows the dialog, or brings it to the front as it is.
  void Pokaz();

  // Published components, in declaration order.
  QTreeView *ListView1;
  QStatusBar *StatusBar1;
  QPushButton *ZamknijBB;
  QLineEdit *ImieEd;
  QLineEdit *NumerEd;
  QLineEdit *NazwiskoEd;
  QLineEdit *PseudonimEd;
  QLineEdit *MiejscowoscEd;
  QLineEdit *UrodzonyaEd;
  QPushButton *WyszukiwajBB;
  QLabel *NumerLb;
  QLabel *ImieLb;
  QLabel *NazwiskoLb;
  QLabel *PseudonimLb;
  QLabel *MiejscowoscLb;
  QLabel *UrodzonyaLb;
  QGroupBox *PlecRG;
  QCheckBox *TylkoAktywniCB;
  QPushButton *BitBtn1;

public slots:
  void WyszukiwajBBClick();
  void ZamknijBBClick();

private:
  void PokazSzukanie(bool szukanie);

  TKatalog &m_katalog;
  QButtonGroup *m_plec;
  QTimer m_limitOdpowiedzi;
};

extern TKatalogFrm *KatalogFrm;
