#include "dialogs/ui/MojeDaneFrm.h"

TMojeDaneFrm *MojeDaneFrm = nullptr;

TMojeDaneFrm::TMojeDaneFrm(QWidget *rodzic) : QDialog(rodzic)
{
  setObjectName(QStringLiteral("MojeDaneFrm"));
  setWindowTitle(QStringLiteral("Kim jestem"));
}
