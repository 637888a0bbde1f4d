// The account command "Kim jestem": the own number and password, and the own entry of the public
// directory.

#include "contacts/ui/FrmPaplankiMain.h"

#include "app/Blad.h"
#include "app/Sciezki.h"
#include "app/ui/Aplikacja.h"
#include "dialogs/Katalog.h"
#include "dialogs/ui/KatalogFrm.h"
#include "dialogs/ui/MojeDaneFrm.h"
#include "gg/Dziennik.h"
#include "net/Gniazdo.h"

#include <QLineEdit>

namespace {

// The directory requests go out whether or not the connection is up. A socket without an error
// handler of its own throws on a closed connection; that is the connection's failure, which the
// next login deals with, not the command's.
template <typename F>
void WyslijDoKatalogu(F wyslij)
{
  try {
    wyslij();
  } catch (const EBladGniazda &) {
  }
}

void Konto(TFrmPaplankiMain &okno, TMojeDaneFrm &dialog)
{
  // The window keeps no event log of its own: the account dialog writes the program's log file
  // through a writer that lives as long as the command.
  TDziennik dziennik(TDziennik::SciezkaDziennika(SciezkaProgramu()),
                     [&okno] { return okno.Ustawienia().CzytajLogowanie(); });
  dialog.OnLoguj = [&dziennik](const QString &kategoria, const QString &tekst) {
    dziennik.Loguj(kategoria, tekst);
  };
  struct TOdlaczenie {
    TMojeDaneFrm &d;
    ~TOdlaczenie() { d.OnLoguj = nullptr; }
  } odlaczenie{dialog};

  dialog.NumerEd->setText(QString::number(okno.NumerWlasny));
  dialog.HasloEd->setText(okno.HasloWlasne);

  // The directory's reply comes through the dispatcher to the search dialog's state; it fills
  // the fields its keys name, so that state starts from what the dialog shows.
  if (KatalogFrm) {
    TKatalog &katalog = KatalogFrm->Katalog();
    katalog.UstawDanePubliczne(dialog.DanePubliczne());
    katalog.OnDanePubliczne = [](const TDanePubliczne &dane) {
      if (MojeDaneFrm)
        MojeDaneFrm->UstawDanePubliczne(dane);
    };
  }
  WyslijDoKatalogu([&] { WyslijOdczytDanychPublicznych(okno.GGSck, okno.NumerWlasny); });

  if (dialog.exec() != QDialog::Accepted)
    return;

  WyslijDoKatalogu([&] {
    WyslijZapisDanychPublicznych(okno.GGSck, dialog.DanePubliczne(), okno.NumerWlasny,
                                 !dialog.NumerEd->text().isEmpty());
  });
  const int numer = StrToInt(dialog.NumerEd->text());
  okno.NumerWlasny = numer;
  okno.HasloWlasne = dialog.HasloEd->text();
  okno.Ustawienia().UstawNumerUzytkownika(numer);
  okno.Ustawienia().UstawHasloUzytkownika(okno.HasloWlasne);
}

} // namespace

void TFrmPaplankiMain::Konfiguracja1Click()
{
  if (MojeDaneFrm)
    WykonajZObslugaBledow([this] { Konto(*this, *MojeDaneFrm); });
}
