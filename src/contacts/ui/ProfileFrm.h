#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The notes about one contact: a memo with OK and cancel. It has no logic of its own; the main
// window fills the memo, shows the dialog and saves on OK.
class TProfileFrm : public QDialog {
  Q_OBJECT
public:
  explicit TProfileFrm(QWidget *rodzic = nullptr);

  QLabel *Label1 = nullptr;
  QPlainTextEdit *Memo1 = nullptr;
  QPushButton *OkBtn = nullptr;
  QPushButton *AnulujBtn = nullptr;
};

extern TProfileFrm *ProfileFrm;
