#include "contacts/ui/FrmPaplankiDaneUzytkownika.h"

TFrmPaplankiDaneUzytkownika *FrmPaplankiDaneUzytkownika = nullptr;

TFrmPaplankiDaneUzytkownika::TFrmPaplankiDaneUzytkownika(QWidget *rodzic) : QDialog(rodzic)
{
  setObjectName(QStringLiteral("FrmPaplankiDaneUzytkownika"));
  setWindowTitle(QStringLiteral("Dane użytkownika"));
}
