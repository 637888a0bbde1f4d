#include "dialogs/ui/WypowiedzFrm.h"

TWypowiedzFrm *WypowiedzFrm = nullptr;

TWypowiedzFrm::TWypowiedzFrm(QWidget *rodzic) : QDialog(rodzic)
{
  setObjectName(QStringLiteral("WypowiedzFrm"));
  setWindowTitle(QStringLiteral("Wysyłanie wypowiedzi"));
}
