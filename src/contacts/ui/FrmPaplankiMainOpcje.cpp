// The option switches of the popup menu and the connect button's stored state.

#include "contacts/ui/FrmPaplankiMain.h"

#include "dialogs/HostyGG.h"

#include <QToolButton>

void TFrmPaplankiMain::UstawSerwerAlternatywny(bool wlaczony)
{
  AdresInformacji = (wlaczony ? HostInformacjiAlternatywny : HostInformacjiGG).toString();
  AdresRejestracji = (wlaczony ? HostRejestracjiAlternatywny : HostRejestracjiGG).toString();
  PortHttp = PortHttpGG.toString();
  Ustawienia().UstawSerwerAlternatywny(wlaczony);
}

void TFrmPaplankiMain::AutZajWolnyClick()
{
  Ustawienia().UstawAutomatycznyZajetyWolny(!Ustawienia().AutomatycznyZajetyWolny());
}

void TFrmPaplankiMain::TylkoOdPrzyjaciolClick()
{
  Ustawienia().UstawTylkoOdPrzyjaciol(!Ustawienia().TylkoOdPrzyjaciol());
}

void TFrmPaplankiMain::InformowanieOPisaniuClick()
{
  Ustawienia().UstawInformowanieOPisaniu(!Ustawienia().InformowanieOPisaniu());
}

void TFrmPaplankiMain::InformacjeGGClick()
{
  Ustawienia().UstawInformacjeGG(!Ustawienia().InformacjeGG());
}

void TFrmPaplankiMain::SerwerAlternatywnyClick()
{
  UstawSerwerAlternatywny(!Ustawienia().SerwerAlternatywny());
}

void TFrmPaplankiMain::PolaczTBClick()
{
  Ustawienia().UstawPrzylaczaj(PolaczTB->isChecked());
}
