#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

// Details of one contact, for adding and editing. No logic of its own: the contact commands fill
// it through UstawPola, show it modally and read Pola back after OK.
class TFrmPaplankiDaneUzytkownika : public QDialog {
  Q_OBJECT
public:
  explicit TFrmPaplankiDaneUzytkownika(QWidget *rodzic = nullptr);

  // The edits' texts as typed; the number too, which the commands convert strictly.
  struct TPola {
    QString Numer;
    QString Imie;
    QString Nazwisko;
    QString Telefon;
    QString EMail;
    QString Opis;
  };
  void UstawPola(const TPola &pola);
  TPola Pola() const;

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
