#pragma once

#include <QDialog>

// The own account and the registration of a new number.
class TMojeDaneFrm : public QDialog {
  Q_OBJECT
public:
  explicit TMojeDaneFrm(QWidget *rodzic = nullptr);
};

extern TMojeDaneFrm *MojeDaneFrm;
