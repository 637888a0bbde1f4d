#pragma once

#include <QDialog>

// Choosing the own status and description.
class TFrmStan : public QDialog {
  Q_OBJECT
public:
  explicit TFrmStan(QWidget *rodzic = nullptr);
};

extern TFrmStan *FrmStan;
