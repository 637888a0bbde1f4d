// The GG session, the dispatcher of received packets, the contact commands and the directory,
// wired to the window: what they show goes to the status bar, the boxes and the tree view.

#include "program/FrmPaplankiMain.h"

#include "contacts/ModelDrzewa.h"
#include "contacts/ui/WidokDrzewa.h"
#include "dialogs/ui/KatalogFrm.h"
#include "gg/Katalog.h"
#include "gg/Sesja.h"
#include "program/KomendyKontaktow.h"

#include <QApplication>
#include <QToolButton>

void TFrmPaplankiMain::UtworzSesje()
{
  const auto baza = [this] { return &Baza->Baza(); };
  m_sesja = std::make_unique<TSesjaGG>(Drzewo, Ustawienia(), m_dziennik, *this, baza,
                                       TSesjaGG::TZegar(), this);
  m_odbior = std::make_unique<TOdbior>(
      Drzewo, Ustawienia(), *this,
      [this](const QString &kategoria, const QString &tekst) { Loguj(kategoria, tekst); }, baza);
  m_sesja->UstawObslugePakietow([this](qint32 typ, qint32 dlugosc, const QByteArray &cialo) {
    m_odbior->Obsluz(typ, dlugosc, cialo);
  });
  m_odbior->UstawKatalog(&m_katalog);
  m_komendy = std::make_unique<TKomendyKontaktow>(
      Drzewo, Ustawienia(), *Baza, *m_sesja, m_odbior->BuforListy(),
      [this] { return WybranyWezel.get(); },
      [this](const QString &tekst, const QString &naglowek, int styl) {
        return PokazKomunikat(tekst, naglowek, styl);
      });
}

void TFrmPaplankiMain::Loguj(const QString &kategoria, const QString &tekst)
{
  m_dziennik.Loguj(kategoria, tekst);
}

void TFrmPaplankiMain::PolaczTBClick()
{
  Sesja().PolaczTBClick();
  if (!PolaczWcisniety())
    ZmienionoPolaczenie(TPowodRozlaczenia::Zalogowano, QString());
}

void TFrmPaplankiMain::HasloClick()
{
  Sesja().HasloClick();
}

void TFrmPaplankiMain::Szukaj1Click()
{
  if (!KatalogFrm)
    return;
  KatalogFrm->Pokaz();
}

void TFrmPaplankiMain::WyslijSzukanie(QObject *Sender)
{
  Q_UNUSED(Sender);
  if (!KatalogFrm)
    return;
  // Sent in any case; without a login no answer can come, so the search ends here.
  const bool polaczony = Sesja().Zalogowany() && Sesja().PolaczenieOtwarte();
  ::WyslijSzukanie(Sesja(), KatalogFrm->Kryteria());
  if (!polaczony && KatalogFrm)
    KatalogFrm->PrzerwijSzukanie(
        QStringLiteral("Brak połączenia z serwerem: wyszukiwanie nie zostało wysłane."));
}

// --- What the session and the dispatcher show ----------------------------------------------

void TFrmPaplankiMain::UstawTekstPanelu(int panel, const QString &tekst)
{
  UstawPanel(panel, tekst);
}

int TFrmPaplankiMain::PokazKomunikat(const QString &tekst, const QString &naglowek, int styl)
{
  return TFormaBezdokumentowaPozycjonowana::PokazKomunikat(tekst, naglowek, styl);
}

bool TFrmPaplankiMain::PolaczWcisniety() const
{
  return PolaczTB->isChecked();
}

void TFrmPaplankiMain::PrzywolajOkno()
{
  if (QApplication::activeWindow())
    return;
  if (isMinimized())
    showNormal();
  raise();
  activateWindow();
}

void TFrmPaplankiMain::UczynWidocznym(TWezel *wezel)
{
  if (!wezel || !TreeView1)
    return;
  QList<TWezel *> przodkowie;
  for (TWezel *w = wezel->Rodzic(); w; w = w->Rodzic())
    przodkowie.prepend(w);
  for (TWezel *w : przodkowie) {
    const QModelIndex indeks = Model->Indeks(w);
    if (!TreeView1->isExpanded(indeks))
      TreeView1->expand(indeks);
  }
  // Scrolling lays the view out again; a burst of lines does it once, after the burst.
  m_doPrzewiniecia = wezel;
  m_przewijanie.start();
}

bool TFrmPaplankiMain::IdleTmrDziala() const
{
  return IdleTmr.isActive();
}
