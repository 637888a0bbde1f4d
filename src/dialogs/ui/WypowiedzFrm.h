#pragma once

#include <QDialog>

// Writing a message or an answer.
class TWypowiedzFrm : public QDialog {
  Q_OBJECT
public:
  explicit TWypowiedzFrm(QWidget *rodzic = nullptr);
};

extern TWypowiedzFrm *WypowiedzFrm;
