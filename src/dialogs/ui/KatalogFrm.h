#pragma once

#include <QDialog>

// Searching the public directory.
class TKatalogFrm : public QDialog {
  Q_OBJECT
public:
  explicit TKatalogFrm(QWidget *rodzic = nullptr);
};

extern TKatalogFrm *KatalogFrm;
