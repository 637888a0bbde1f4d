#include "contacts/ui/FrmPaplankiMain.h"

TFrmPaplankiMain *FrmPaplankiMain = nullptr;

TFrmPaplankiMain::TFrmPaplankiMain(QWidget *rodzic) : TFormaBezdokumentowaPozycjonowana(rodzic)
{
  setObjectName(QStringLiteral("FrmPaplankiMain"));
}
