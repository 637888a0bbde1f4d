#pragma once

#include <QDateTime>
#include <QDialog>
#include <QList>

class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTimeEdit;
class TSesjaGG;

// "Zmiana stanu": the own status, description and return time. Created once and reused: the
// radio selection and both check boxes keep what the user left between showings.
class TFrmStan : public QDialog {
  Q_OBJECT
public:
  explicit TFrmStan(QWidget *rodzic = nullptr);

  QGroupBox *RadioGroup1;     // "&Stan"
  QPushButton *BitBtn1;       // "&Zmień"
  QPushButton *BitBtn2;       // "Anuluj"
  QStatusBar *StatusBar1;     // no panels, not written
  QCheckBox *CBDlaPrzyjaciol; // "Tylko dla przyjaciół": adds the friends-only bit
  QLabel *Label1;             // "&Informacja"
  QLineEdit *InformacjaEd;
  QTimeEdit *CzasDTP;
  QDateEdit *DataDTP;
  QCheckBox *UwzglednijCzasPowrotuCB; // "&Czas powrotu"

  // The status chosen in the dialog (also read by the send-message command to restore the
  // status after composing).
  quint32 WybranyStan = 0;

  // The selected radio item, -1 for none (the group starts without a selection).
  int ItemIndex() const;
  void UstawItemIndex(int indeks);
  QRadioButton *Pozycja(int indeks) const { return m_pozycje.value(indeks); }

  // Preselects the item of `biezacy` (without the friends-only bit; a status outside the items
  // keeps the last selection), shows the dialog modally and on OK stores the chosen status in
  // WybranyStan, with the friends-only bit when that box is checked. Returns the modal result.
  int Wykonaj(quint32 biezacy);

  // With "&Czas powrotu" checked, the date of DataDTP at the time of day of CzasDTP; otherwise
  // null (no return time).
  QDateTime CzasPowrotu() const;
  // The description as typed.
  QString Informacja() const;

  // Radio index of a status (-1 when it has none) and the status of an index.
  static int IndeksStanu(quint32 stan);
  static quint32 StanIndeksu(int indeks);

private:
  // The constructor's parts: the controls, then their layout and tab order.
  void ZbudujSkladniki();
  void UlozOkno();

  QButtonGroup *m_grupa;
  QList<QRadioButton *> m_pozycje;
};

// The main window's status bar double click: the dialog with the current own status, and on OK
// UstawStan with the choice, the description and the return time.
void ZmienStanWlasny(TFrmStan &dialog, TSesjaGG &sesja);

extern TFrmStan *FrmStan;
