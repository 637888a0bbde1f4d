#pragma once

#include <QDialog>

// Details of one contact.
class TFrmPaplankiDaneUzytkownika : public QDialog {
  Q_OBJECT
public:
  explicit TFrmPaplankiDaneUzytkownika(QWidget *rodzic = nullptr);
};

extern TFrmPaplankiDaneUzytkownika *FrmPaplankiDaneUzytkownika;
