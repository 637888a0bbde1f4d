#pragma once

#include <QDialog>

// Notes about one contact.
class TProfileFrm : public QDialog {
  Q_OBJECT
public:
  explicit TProfileFrm(QWidget *rodzic = nullptr);
};

extern TProfileFrm *ProfileFrm;
