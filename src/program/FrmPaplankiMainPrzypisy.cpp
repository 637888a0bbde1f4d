// The notes of a contact, kept in a file named by its number.

#include "program/FrmPaplankiMain.h"

#include "contacts/Galezie.h"
#include "contacts/Przypisy.h"
#include "contacts/ui/ProfileFrm.h"
#include "net/Blad.h"

void TFrmPaplankiMain::EdytujPrzypisy()
{
  const TUzytkownik *uzytkownik = WybranyWezel ? WybranyWezel->DaneJako<TUzytkownik>() : nullptr;
  if (!uzytkownik || !ProfileFrm)
    return;
  // Taken now: the contact may change while the dialog is open.
  const QString plik = Ustawienia().SciezkaPrzypisow(uzytkownik->Numer());
  try {
    ProfileFrm->UstawPrzypisy(TekstLinii(CzytajPrzypisy(plik)));
  } catch (const EBlad &) {
    ProfileFrm->UstawPrzypisy(QString());
  }
  if (ProfileFrm->exec() == QDialog::Accepted)
    ZapiszPrzypisy(plik, LinieTekstu(ProfileFrm->Przypisy()));
}
