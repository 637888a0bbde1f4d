// Messaging and presence wired to the window: the send-message command with the compose dialog,
// the status dialog on the status bar, and auto-away over the whole application.

#include "program/FrmPaplankiMain.h"

#include "app/ui/Aplikacja.h"
#include "contacts/ModelDrzewa.h"
#include "contacts/ui/WidokDrzewa.h"
#include "dialogs/ui/FrmStan.h"
#include "dialogs/ui/WysylanieZOknami.h"
#include "gg/AutomatycznaZajetosc.h"

#include <QApplication>

void TFrmPaplankiMain::WyslijWiadomosc(TUzytkownik *uzytkownik, int numer, TWezel *wezel)
{
  const auto rozwin = [this](TWezel *w) {
    if (!TreeView1)
      return;
    UczynWidocznym(w);
    TreeView1->expand(Model->Indeks(w));
  };
  // The Insert key reaches here from an event filter: a typed recipient that is no number must
  // end in the error box, not in the event loop.
  WykonajZObslugaBledow([&] {
    WysylanieZOknami(Sesja(), Drzewo, Ustawienia(), PiszeWiadomosc, rozwin, this)
        .WyslijWiadomosc(uzytkownik, numer, wezel);
  });
}

void TFrmPaplankiMain::StatusBar1DblClick()
{
  // The dialogs are made after the main window.
  if (FrmStan)
    ZmienStanWlasny(*FrmStan, Sesja());
}

void TFrmPaplankiMain::WlaczAutomatycznaZajetosc()
{
  m_automatycznaZajetosc =
      std::make_unique<TAutomatycznaZajetosc>(Sesja(), Ustawienia(), PiszeWiadomosc, IdleTmr);
  qApp->installEventFilter(m_automatycznaZajetosc.get());
}

void TFrmPaplankiMain::WylaczAutomatycznaZajetosc()
{
  if (m_automatycznaZajetosc)
    qApp->removeEventFilter(m_automatycznaZajetosc.get());
  m_automatycznaZajetosc.reset();
}
