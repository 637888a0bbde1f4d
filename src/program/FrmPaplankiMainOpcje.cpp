// The option switches of the popup menu. The dispatcher and the session read the other switches
// from the settings when they need them; the hosts are the session's own.

#include "program/FrmPaplankiMain.h"

#include "gg/Sesja.h"

void TFrmPaplankiMain::UstawSerwerAlternatywny(bool wlaczony)
{
  Sesja().UstawSerwerAlternatywny(wlaczony);
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
