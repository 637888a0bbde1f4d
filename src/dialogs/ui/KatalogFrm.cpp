#include "dialogs/ui/KatalogFrm.h"

TKatalogFrm *KatalogFrm = nullptr;

TKatalogFrm::TKatalogFrm(QWidget *rodzic) : QDialog(rodzic)
{
  setObjectName(QStringLiteral("KatalogFrm"));
  setWindowTitle(QStringLiteral("Wyszukiwanie w katalogu publicznym"));
}
