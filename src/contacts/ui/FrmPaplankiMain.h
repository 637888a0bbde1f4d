#pragma once

#include "app/ui/FormaBezdokumentowaPozycjonowana.h"

// The main window of the program.
class TFrmPaplankiMain : public TFormaBezdokumentowaPozycjonowana {
  Q_OBJECT
public:
  explicit TFrmPaplankiMain(QWidget *rodzic = nullptr);
};

extern TFrmPaplankiMain *FrmPaplankiMain;
