// The tree's popup menu, built afresh at every opening.

#include "program/FrmPaplankiMain.h"

#include "app/ui/Aplikacja.h"
#include "contacts/Galezie.h"
#include "gg/HostyGG.h"
#include "gg/SerwerAlternatywny.h"
#include "gg/Sesja.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace {

// Drops the separators a menu level would not show: at its start or end and next to another
// separator (in every submenu too), so the menu holds exactly what is seen.
void ZwinSeparatory(QMenu *menu)
{
  QAction *poprzednia = nullptr;
  for (QAction *a : menu->actions()) {
    if (a->menu())
      ZwinSeparatory(a->menu());
    if (a->isSeparator() && (!poprzednia || poprzednia->isSeparator())) {
      menu->removeAction(a);
      delete a;
      continue;
    }
    poprzednia = a;
  }
  if (poprzednia && poprzednia->isSeparator()) {
    menu->removeAction(poprzednia);
    delete poprzednia;
  }
}

} // namespace

void TFrmPaplankiMain::WyczyscMenu()
{
  if (TreePM)
    TreePM->clear();
  // Submenus go with their own items.
  qDeleteAll(m_elementyMenu);
  m_elementyMenu.clear();
}

QAction *TFrmPaplankiMain::DodajPolecenie(QMenu *menu, const QString &tytul,
                                          void (TFrmPaplankiMain::*obsluga)())
{
  // A failing command ends with the error box here, before the menu's own event handling.
  QAction *a = menu->addAction(tytul);
  connect(a, &QAction::triggered, this,
          [this, obsluga] { WykonajZObslugaBledow([&] { (this->*obsluga)(); }); });
  return a;
}

void TFrmPaplankiMain::TreePMPopup()
{
  WyczyscMenu();

  // Each item passes itself, so that Wstaw1Click can tell the general "Wyślij" from the others.
  const auto pozycja = [this](QMenu *menu, const QString &tytul, auto obsluga) {
    QAction *a = menu->addAction(tytul);
    connect(a, &QAction::triggered, this,
            [this, a, obsluga] { WykonajZObslugaBledow([&] { (this->*obsluga)(a); }); });
    return a;
  };
  const auto polecenie = [this](QMenu *menu, const QString &tytul,
                                void (TFrmPaplankiMain::*obsluga)()) {
    return DodajPolecenie(menu, tytul, obsluga);
  };

  const TRodzajGalezi *dane = WybranyWezel ? WybranyWezel->Dane() : nullptr;
  if (dane && dane->Rodzaj() == TRodzajWezla::Wypowiedz) {
    TreePM->addSeparator();
    pozycja(TreePM, QStringLiteral("Odpowiedz"), &TFrmPaplankiMain::Wstaw1Click);
    TreePM->addSeparator();
  } else if (dane && dane->Rodzaj() == TRodzajWezla::Uzytkownik) {
    TreePM->addSeparator();
    pozycja(TreePM, QStringLiteral("Wyślij"), &TFrmPaplankiMain::Wstaw1Click);
    polecenie(TreePM, QStringLiteral("Edytuj"), &TFrmPaplankiMain::EdytujSledzonego1Click);
    polecenie(TreePM, QStringLiteral("Przypisy"), &TFrmPaplankiMain::EdytujPrzypisy);
    polecenie(TreePM, QStringLiteral("Historia"), &TFrmPaplankiMain::HistoriaClick);
    polecenie(TreePM, QStringLiteral("Anuluj śledzenie"),
              &TFrmPaplankiMain::AnulujSledzonego1Click);
    TreePM->addSeparator();
  }

  if (TreePM->actions().isEmpty()) {
    TreePM->addSeparator();
    DodajPozycjeOgolne(TreePM);
    TreePM->addSeparator();
  } else {
    auto *produkt = new QMenu(NazwaProduktu(), TreePM);
    m_elementyMenu.append(produkt);
    DodajPozycjeOgolne(produkt);
    TreePM->addMenu(produkt);
  }
  ZwinSeparatory(TreePM);
}

void TFrmPaplankiMain::DodajPozycjeOgolne(QMenu *menu)
{
  const auto polecenie = [this](QMenu *m, const QString &tytul,
                                void (TFrmPaplankiMain::*obsluga)()) {
    return DodajPolecenie(m, tytul, obsluga);
  };
  const auto przelacznik = [&](const QString &tytul, bool wlaczony,
                               void (TFrmPaplankiMain::*obsluga)()) {
    QAction *a = polecenie(menu, tytul, obsluga);
    a->setCheckable(true);
    a->setChecked(wlaczony);
  };

  QAction *wyslij = menu->addAction(QStringLiteral("Wyślij"));
  connect(wyslij, &QAction::triggered, this,
          [this, wyslij] { WykonajZObslugaBledow([&] { Wstaw1Click(wyslij); }); });
  PozycjaWyslij = wyslij;

  auto *uzytkownicy = new QMenu(QStringLiteral("Użytkownicy"), TreePM);
  m_elementyMenu.append(uzytkownicy);
  polecenie(uzytkownicy, QStringLiteral("Zapisz"), &TFrmPaplankiMain::ZapiszUzytkownikowClick);
  polecenie(uzytkownicy, QStringLiteral("Pobierz"), &TFrmPaplankiMain::PobierzUzytkownikowClick);
  uzytkownicy->addSeparator();
  auto *bazy = new QActionGroup(uzytkownicy);
  bazy->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  QPointer<QAction> *pola[] = {&PozycjaOutlook, &PozycjaRejestr, &PozycjaSerwer};
  const QString tytuly[] = {QStringLiteral("Outlook"), QStringLiteral("Rejestr"),
                            QStringLiteral("Serwer")};
  for (int rodzaj = 0; rodzaj < 3; ++rodzaj) {
    QAction *a = uzytkownicy->addAction(tytuly[rodzaj]);
    a->setData(rodzaj);
    a->setCheckable(true);
    a->setActionGroup(bazy);
    a->setChecked(rodzaj == RodzajBazy());
    connect(a, &QAction::triggered, this,
            [this, a] { WykonajZObslugaBledow([&] { PrzelaczBazaClick(a); }); });
    *pola[rodzaj] = a;
  }
  menu->addMenu(uzytkownicy);

  polecenie(menu, QStringLiteral("Śledź"), &TFrmPaplankiMain::DodajSledzonego1Click);
  polecenie(menu, QStringLiteral("Kim jestem"), &TFrmPaplankiMain::Konfiguracja1Click);
  const TUstawienia &u = Ustawienia();
  przelacznik(QStringLiteral("Automatyczna zajętość"), u.AutomatycznyZajetyWolny(),
              &TFrmPaplankiMain::AutZajWolnyClick);
  przelacznik(QStringLiteral("Tylko od przyjaciół"), u.TylkoOdPrzyjaciol(),
              &TFrmPaplankiMain::TylkoOdPrzyjaciolClick);
  przelacznik(QStringLiteral("Informowanie o pisaniu"), u.InformowanieOPisaniu(),
              &TFrmPaplankiMain::InformowanieOPisaniuClick);
  przelacznik(QStringLiteral("Informacje GG"), u.InformacjeGG(),
              &TFrmPaplankiMain::InformacjeGGClick);
  const TSerwerAlternatywny alternatywny = SerwerAlternatywny(u);
  przelacznik(
      QStringLiteral("Serwer alternatywny %1, %2:%3")
          .arg(alternatywny.AdresRejestracji, alternatywny.AdresInformacji, alternatywny.Port),
      u.SerwerAlternatywny(), &TFrmPaplankiMain::SerwerAlternatywnyClick);
  if (Sesja().StanGG() == gsClosed)
    polecenie(menu, QStringLiteral("Hasło"), &TFrmPaplankiMain::HasloClick);
}
