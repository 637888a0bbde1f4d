// The tree's events, the keyboard commands, drag and drop and the send/answer command.

#include "program/FrmPaplankiMain.h"

#include "app/Komunikaty.h"
#include "app/ui/Aplikacja.h"
#include "contacts/Galezie.h"
#include "contacts/ModelDrzewa.h"
#include "contacts/ui/WidokDrzewa.h"

#include <QItemSelectionModel>
#include <QMenu>

void TFrmPaplankiMain::PolaczZdarzeniaDrzewa()
{
  connect(TreeView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection &zaznaczone) {
            if (!zaznaczone.isEmpty())
              TreeView1Change(Model->Wezel(zaznaczone.indexes().value(0)));
            else if (!ZaznaczonyWezel())
              TreeView1Change(nullptr);
          });
  connect(TreeView1, &TWidokDrzewa::MyszWcisnieta, this, &TFrmPaplankiMain::TreeView1MouseDown);
  connect(TreeView1, &TWidokDrzewa::Upuszczono, this, &TFrmPaplankiMain::TreeView1DragDrop);
  connect(TreeView1, &QTreeView::expanded, this,
          [this](const QModelIndex &indeks) { TreeView1Expanding(Model->Wezel(indeks)); });
  connect(TreeView1, &QWidget::customContextMenuRequested, this, [this](const QPoint &punkt) {
    TreePMPopup();
    TreePM->popup(TreeView1->viewport()->mapToGlobal(punkt));
  });
  connect(Model, &TModelDrzewa::WezelUsuwany, this, &TFrmPaplankiMain::TreeView1Deletion);
}

TWezel *TFrmPaplankiMain::ZaznaczonyWezel() const
{
  if (!TreeView1 || !TreeView1->selectionModel())
    return nullptr;
  const QModelIndexList zaznaczone = TreeView1->selectionModel()->selectedIndexes();
  return zaznaczone.isEmpty() ? nullptr : Model->Wezel(zaznaczone.first());
}

void TFrmPaplankiMain::Zaznacz(TWezel *wezel)
{
  const TWskaznikWezla uchwyt = wezel;
  // Opening the parents may run the test view's drill-down, which replaces children.
  TreeView1->scrollTo(Model->Indeks(wezel));
  if (uchwyt.isNull())
    return;
  TreeView1->setCurrentIndex(Model->Indeks(uchwyt));
}

void TFrmPaplankiMain::TreeView1Change(TWezel *wezel)
{
  if (!wezel) {
    WybranyWezel.clear();
    return;
  }
  WybranyWezel = wezel;
  Drzewo.UstawStanWezla(wezel, 0, StanWezla::Pogrubiony);
  if (wezel->Dane() && wezel->Dane()->Rodzaj() == TRodzajWezla::Atrybut)
    wezel->UstawPokazRozwijanie(true);
}

void TFrmPaplankiMain::TreeView1MouseDown(Qt::MouseButton przycisk, const QPoint &punkt)
{
  Q_UNUSED(przycisk);
  WybranyWezel.clear();
  const TWidokDrzewa::TWynikTrafienia trafienie = TreeView1->Traf(punkt);
  if (TWidokDrzewa::NaWezle(trafienie.gdzie))
    WybranyWezel = Model->Wezel(trafienie.indeks);
}

void TFrmPaplankiMain::TreeView1Deletion(TWezel *wezel)
{
  TUzytkownik *uzytkownik = TDrzewo::UzytkownikWezla(wezel);
  if (uzytkownik && uzytkownik->OstatniaWypowiedz.get() == wezel)
    uzytkownik->OstatniaWypowiedz.clear();
  if (WybranyWezel.get() == wezel)
    WybranyWezel.clear();
}

void TFrmPaplankiMain::TreeView1Expanding(TWezel *wezel)
{
  if (!wezel || m_rozwijanie || !wezel->Dane() || wezel->Dane()->Rodzaj() != TRodzajWezla::Atrybut)
    return;
  m_rozwijanie = true;
  Drzewo.UsunDzieci(wezel);
  for (const char16_t *tekst : {u"Nazwiska", u"Miejscowości", u"Telefony", u"Emaile"}) {
    TWezel *dziecko = Drzewo.Dodaj(wezel, QString::fromUtf16(tekst));
    dziecko->UstawDane(std::make_shared<TAtrybut>(nullptr));
  }
  // The view may have closed the branch again while it had no rows.
  TreeView1->expand(Model->Indeks(wezel));
  m_rozwijanie = false;
}

void TFrmPaplankiMain::TreeView1DragDrop(const QPoint &punkt)
{
  TWezel *przenoszony = ZaznaczonyWezel();
  if (!przenoszony)
    return;
  const TWidokDrzewa::TWynikTrafienia trafienie = TreeView1->Traf(punkt);
  TWezel *cel = Model->Wezel(trafienie.indeks);
  // Into its own subtree the tree refuses the move and nothing changes.
  switch (trafienie.gdzie) {
  case TWidokDrzewa::TTrafienie::Etykieta:
  case TWidokDrzewa::TTrafienie::Ikona:
  case TWidokDrzewa::TTrafienie::IkonaStanu:
    Drzewo.Przenies(przenoszony, cel);
    break;
  case TWidokDrzewa::TTrafienie::Nigdzie:
    Drzewo.Przenies(przenoszony, nullptr);
    break;
  case TWidokDrzewa::TTrafienie::Wciecie:
    Drzewo.PrzeniesPrzed(przenoszony, cel);
    break;
  case TWidokDrzewa::TTrafienie::Przycisk:
  case TWidokDrzewa::TTrafienie::ZaEtykieta:
    break;
  }
}

bool TFrmPaplankiMain::TreeView1KeyPress(int klawisz)
{
  if (klawisz != Qt::Key_Space)
    return false;
  TWezel *zaznaczony = ZaznaczonyWezel();
  if (TWezel *nieprzeczytany = zaznaczony ? Drzewo.ZnajdzPogrubionyPo(zaznaczony) : nullptr)
    Zaznacz(nieprzeczytany);
  return true;
}

bool TFrmPaplankiMain::FormKeyDown(int klawisz)
{
  if (klawisz == Qt::Key_Insert) {
    Wstaw1Click(this);
    return true;
  }
  if (klawisz != Qt::Key_Delete)
    return false;
  if (WybranyWezel.isNull())
    return true;
  if (PokazKomunikat(QStringLiteral("Na pewno usunąć ?"), QStringLiteral("Zapytanie"),
                     Komunikat::PrzyciskiTakNie | Komunikat::IkonaPytania |
                         Komunikat::DrugiPrzyciskDomyslny) != Komunikat::WynikTak)
    return true;
  // The box ran a message loop: the target is read again.
  TWezel *cel = WybranyWezel;
  if (!cel)
    return true;
  const TRodzajGalezi *dane = cel->Dane();
  if (dane && dane->Rodzaj() == TRodzajWezla::Uzytkownik)
    WykonajZObslugaBledow([this] { AnulujSledzonego1Click(); });
  else if (dane && dane->Rodzaj() == TRodzajWezla::Wypowiedz)
    Drzewo.UsunZachowujacDzieci(cel); // the answers stay, in order, at the message's level
  else
    Drzewo.Usun(cel);
  return true;
}

void TFrmPaplankiMain::Wstaw1Click(QObject *Sender)
{
  if (Sender && Sender == PozycjaWyslij.data()) {
    WyslijWiadomosc(nullptr, 0, nullptr);
    return;
  }
  TWezel *cel = WybranyWezel;
  if (!cel)
    return;
  TRodzajGalezi *dane = cel->Dane();
  if (!dane) {
    WyslijWiadomosc(nullptr, 0, nullptr);
    return;
  }
  if (dane->Rodzaj() == TRodzajWezla::Uzytkownik) {
    auto *uzytkownik = static_cast<TUzytkownik *>(dane);
    WyslijWiadomosc(uzytkownik, uzytkownik->Numer(), cel);
  } else if (dane->Rodzaj() == TRodzajWezla::Wypowiedz) {
    auto *wypowiedz = static_cast<TWypowiedz *>(dane);
    WyslijWiadomosc(TDrzewo::UzytkownikWezla(cel), wypowiedz->DaneDodatkowe().NumerNadawcy, cel);
  }
}
