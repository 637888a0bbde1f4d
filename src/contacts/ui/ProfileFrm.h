#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The notes about one contact: a memo with OK and cancel. It has no logic of its own; the main
// window fills it through UstawPrzypisy, shows the dialog and saves Przypisy on OK.
class TProfileFrm : public QDialog {
  Q_OBJECT
public:
  explicit TProfileFrm(QWidget *rodzic = nullptr);

  void UstawPrzypisy(const QString &tekst);
  QString Przypisy() const;

  QLabel *Label1 = nullptr;
  QPlainTextEdit *Memo1 = nullptr;
  QPushButton *OkBtn = nullptr;
  QPushButton *AnulujBtn = nullptr;
};

extern TProfileFrm *ProfileFrm;
