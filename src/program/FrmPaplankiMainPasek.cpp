// The bar above the tree: why the program is offline, and the messages the friends-only switch
// dropped.

#include "program/FrmPaplankiMain.h"

#include "app/ui/Aplikacja.h"
#include "gg/Sesja.h"
#include "program/PasekRozlaczenia.h"

#include <QAction>
#include <QToolBar>

void TFrmPaplankiMain::ZbudujPasekRozlaczenia()
{
  PasekRozlaczenia =
      new TPasekRozlaczenia([this]() -> int { return m_sesja ? m_sesja->DoLaczenia() : -1; });
  // A row of its own under the toolbar, so that the tree stays the window's central widget.
  auto *rzad = new QToolBar(QStringLiteral("Stan połączenia"), this);
  rzad->setObjectName(QStringLiteral("PasekRozlaczeniaTB"));
  rzad->setMovable(false);
  rzad->setFloatable(false);
  rzad->toggleViewAction()->setVisible(false);
  rzad->addWidget(PasekRozlaczenia);
  addToolBarBreak(Qt::TopToolBarArea);
  addToolBar(Qt::TopToolBarArea, rzad);
  rzad->setVisible(false);
  connect(PasekRozlaczenia, &TPasekRozlaczenia::Zmieniono, rzad,
          [this, rzad] { rzad->setVisible(PasekRozlaczenia->Potrzebny()); });
  connect(PasekRozlaczenia, &TPasekRozlaczenia::PolaczTeraz, this,
          [this] { WykonajZObslugaBledow([this] { Sesja().PolaczTeraz(); }); });
  connect(PasekRozlaczenia, &TPasekRozlaczenia::MojeDane, this,
          [this] { WykonajZObslugaBledow([this] { Konfiguracja1Click(); }); });
}

void TFrmPaplankiMain::ZmienionoPolaczenie(TPowodRozlaczenia powod, const QString &host)
{
  // Only while the user wants to be connected: otherwise being offline needs no explaining.
  if (!PasekRozlaczenia)
    return;
  if (powod == TPowodRozlaczenia::Zalogowano || !PolaczWcisniety())
    PasekRozlaczenia->UkryjPowod();
  else
    PasekRozlaczenia->PokazPowod(powod, host);
}

void TFrmPaplankiMain::OdrzuconoWiadomosc(const TOdrzuconaWiadomosc &wiadomosc)
{
  if (PasekRozlaczenia)
    PasekRozlaczenia->DodajOdrzucona(wiadomosc);
}
