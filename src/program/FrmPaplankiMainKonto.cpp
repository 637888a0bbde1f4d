// The account command "Kim jestem": the own number and password, and the own entry of the public
// directory.

#include "program/FrmPaplankiMain.h"

#include "app/ui/Aplikacja.h"
#include "dialogs/ui/KatalogFrm.h"
#include "dialogs/ui/MojeDaneFrm.h"
#include "gg/Katalog.h"
#include "gg/SerwerAlternatywny.h"
#include "gg/Sesja.h"
#include "net/Blad.h"

namespace {

void Konto(TFrmPaplankiMain &okno, TMojeDaneFrm &dialog)
{
  dialog.OnLoguj = [&okno](const QString &kategoria, const QString &tekst) {
    okno.Loguj(kategoria, tekst);
  };
  struct TOdlaczenie {
    TMojeDaneFrm &d;
    ~TOdlaczenie() { d.OnLoguj = nullptr; }
  } odlaczenie{dialog};

  // A server of one's own named in the settings serves registration too; without that setting
  // the dialog keeps addressing the GG registration host.
  const TSerwerAlternatywny alternatywny = SerwerAlternatywny(okno.Ustawienia());
  if (okno.Ustawienia().SerwerAlternatywny() && alternatywny.AdresZUstawien) {
    dialog.HostRejestracji = alternatywny.AdresRejestracji;
    dialog.PortRejestracji = alternatywny.Port;
  }

  dialog.UstawKonto(okno.Sesja().NumerWlasny(), okno.Sesja().HasloWlasne());

  // The directory's reply comes through the dispatcher to the window's directory state; it
  // fills the fields its keys name, so that state starts from what the dialog shows.
  TKatalog &katalog = okno.Katalog();
  katalog.UstawDanePubliczne(dialog.DanePubliczne());
  dialog.SledzKatalog(katalog);
  // Sent whether or not the connection is up: a refused send is the session's loss to handle.
  WyslijOdczytDanychPublicznych(okno.Sesja(), okno.Sesja().NumerWlasny());

  if (dialog.exec() != QDialog::Accepted)
    return;

  WyslijZapisDanychPublicznych(okno.Sesja(), dialog.DanePubliczne(), okno.Sesja().NumerWlasny(),
                               !dialog.NumerWpisany().isEmpty());
  const int numer = StrToInt(dialog.NumerWpisany());
  const QString haslo = dialog.Haslo();
  okno.Sesja().UstawKonto(numer, haslo);
  okno.Ustawienia().UstawNumerUzytkownika(numer);
  okno.Ustawienia().UstawHasloUzytkownika(haslo);
}

} // namespace

void TFrmPaplankiMain::Konfiguracja1Click()
{
  if (MojeDaneFrm)
    WykonajZObslugaBledow([this] { Konto(*this, *MojeDaneFrm); });
}
