#include "dialogs/ui/FrmStan.h"

TFrmStan *FrmStan = nullptr;

TFrmStan::TFrmStan(QWidget *rodzic) : QDialog(rodzic)
{
  setObjectName(QStringLiteral("FrmStan"));
  setWindowTitle(QStringLiteral("Zmiana stanu"));
}
