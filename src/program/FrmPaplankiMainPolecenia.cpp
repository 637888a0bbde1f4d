// Commands bound to the window's menus and bars whose work belongs to the contact editing,
// contact stores, account and directory code.

#include "program/FrmPaplankiMain.h"

#include "program/KomendyKontaktow.h"

#include <QAction>

void TFrmPaplankiMain::DodajSledzonego1Click()
{
  m_komendy->DodajSledzonego1Click();
}

void TFrmPaplankiMain::EdytujSledzonego1Click()
{
  m_komendy->EdytujSledzonego1Click();
}

void TFrmPaplankiMain::AnulujSledzonego1Click()
{
  m_komendy->AnulujSledzonego1Click();
}

void TFrmPaplankiMain::PrzelaczBazaClick(QObject *Sender)
{
  // The item's tag names the store; anything else is no store item.
  const auto *pozycja = qobject_cast<const QAction *>(Sender);
  if (!pozycja || !pozycja->data().isValid())
    return;
  m_komendy->PrzelaczBazaClick(pozycja->data().toInt());
}

void TFrmPaplankiMain::ZapiszUzytkownikowClick()
{
  m_komendy->ZapiszUzytkownikowClick();
}

void TFrmPaplankiMain::PobierzUzytkownikowClick()
{
  m_komendy->PobierzUzytkownikowClick();
}
