#include "contacts/ui/ProfileFrm.h"

TProfileFrm *ProfileFrm = nullptr;

TProfileFrm::TProfileFrm(QWidget *rodzic) : QDialog(rodzic)
{
  setObjectName(QStringLiteral("ProfileFrm"));
  setWindowTitle(QStringLiteral("Profil użytkownika"));
}
