#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Details of one contact, for adding and editing. No logic of its own: the contact commands fill
// the edits, show it modally and read the edits back after OK.
class TFrmPaplankiDaneUzytkownika : public QDialog {
  Q_OBJECT
public:
  explicit TFrmPaplankiDaneUzytkownika(QWidget *rodzic = nullptr);

  QLabel *NumerLb = nullptr;
  QLineEdit *NumerEd = nullptr;
  QLabel *ImieLb = nullptr;
  QLineEdit *ImieEd = nullptr;
  QLabel *NazwiskoLb = nullptr;
  QLineEdit *NazwiskoEd = nullptr;
  QLabel *TelefonLb = nullptr;
  QLineEdit *TelefonEd = nullptr;
  QLabel *EmailLb = nullptr;
  QLineEdit *EmailEd = nullptr;
  QLabel *OpisLb = nullptr;
  QLineEdit *OpisEd = nullptr;
  QPushButton *OkBtn = nullptr;
  QPushButton *AnulujBtn = nullptr;

protected:
  void showEvent(QShowEvent *zdarzenie) override;
};

extern TFrmPaplankiDaneUzytkownika *FrmPaplankiDaneUzytkownika;
