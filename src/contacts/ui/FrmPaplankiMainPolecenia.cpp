// Commands bound to the window's menus and bars whose work belongs to the contact editing,
// contact stores, account, directory and status code.

#include "contacts/ui/FrmPaplankiMain.h"

void TFrmPaplankiMain::Szukaj1Click() {}

void TFrmPaplankiMain::StatusBar1DblClick() {}

void TFrmPaplankiMain::DodajSledzonego1Click() {}

void TFrmPaplankiMain::EdytujSledzonego1Click() {}

void TFrmPaplankiMain::AnulujSledzonego1Click() {}

void TFrmPaplankiMain::PrzelaczBazaClick(QObject *Sender)
{
  Q_UNUSED(Sender);
}

void TFrmPaplankiMain::ZapiszUzytkownikowClick() {}

void TFrmPaplankiMain::PobierzUzytkownikowClick() {}

void TFrmPaplankiMain::HasloClick() {}
