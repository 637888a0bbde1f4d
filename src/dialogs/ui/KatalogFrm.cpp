#include "dialogs/ui/KatalogFrm.h"

#include "app/ui/RozmiarOkna.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTreeView>
#include <QVBoxLayout>

TKatalogFrm *KatalogFrm = nullptr;

// "Numer", "Imię" and "Płeć" have no width of their own: wide enough for a GG number or a name,
// and the classic default for the one-digit gender.
const int TKatalogFrm::SzerokosciKolumn[TWynikiKatalogu::LiczbaKolumn] = {70, 70, 100, 70,
                                                                          80, 50, 70};

namespace {

QLineEdit *Pole(QWidget *rodzic, const QString &nazwa)
{
  auto *pole = new QLineEdit(rodzic);
  pole->setObjectName(nazwa);
  return pole;
}

QLabel *Etykieta(QWidget *rodzic, const QString &nazwa, const QString &tekst, QWidget *dla)
{
  auto *etykieta = new QLabel(tekst, rodzic);
  etykieta->setObjectName(nazwa);
  etykieta->setBuddy(dla);
  return etykieta;
}

} // namespace

TKatalogFrm::TKatalogFrm(TKatalog &katalog, QWidget *rodzic) : QDialog(rodzic), m_katalog(katalog)
{
  setObjectName(QStringLiteral("KatalogFrm"));
  setWindowTitle(QStringLiteral("Wyszukiwanie w katalogu publicznym"));
  setSizeGripEnabled(false);

  ZbudujListe();
  ZbudujKryteria();
  UlozOkno();
  PolaczZdarzenia();
  PokazSzukanie(false);
  DopasujDoEkranu(this, QSize(560, 420));
}

void TKatalogFrm::ZbudujListe()
{
  ListView1 = new QTreeView(this);
  ListView1->setObjectName(QStringLiteral("ListView1"));
  ListView1->setRootIsDecorated(false);
  ListView1->setItemsExpandable(false);
  ListView1->setUniformRowHeights(true);
  ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView1->setAllColumnsShowFocus(true);
  ListView1->setModel(&m_katalog.Wyniki());
  ListView1->header()->setStretchLastSection(false);
  for (int i = 0; i < TWynikiKatalogu::LiczbaKolumn; ++i)
    ListView1->setColumnWidth(i, SzerokosciKolumn[i]);
}

// The status bar, the criteria edits with their labels, the gender group, the check box and
// the buttons.
void TKatalogFrm::ZbudujKryteria()
{
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);

  ZamknijBB = new QPushButton(QStringLiteral("Zamknij"), this);
  ZamknijBB->setObjectName(QStringLiteral("ZamknijBB"));
  ZamknijBB->setAutoDefault(false);

  ImieEd = Pole(this, QStringLiteral("ImieEd"));
  NumerEd = Pole(this, QStringLiteral("NumerEd"));
  NazwiskoEd = Pole(this, QStringLiteral("NazwiskoEd"));
  PseudonimEd = Pole(this, QStringLiteral("PseudonimEd"));
  MiejscowoscEd = Pole(this, QStringLiteral("MiejscowoscEd"));
  UrodzonyaEd = Pole(this, QStringLiteral("UrodzonyaEd"));

  WyszukiwajBB = new QPushButton(QStringLiteral("&Wyszukaj"), this);
  WyszukiwajBB->setObjectName(QStringLiteral("WyszukiwajBB"));
  WyszukiwajBB->setDefault(true);

  NumerLb = Etykieta(this, QStringLiteral("NumerLb"), QStringLiteral("Numer"), NumerEd);
  ImieLb = Etykieta(this, QStringLiteral("ImieLb"), QStringLiteral("Imię"), ImieEd);
  NazwiskoLb = Etykieta(this, QStringLiteral("NazwiskoLb"), QStringLiteral("Nazwisko"), NazwiskoEd);
  PseudonimLb =
      Etykieta(this, QStringLiteral("PseudonimLb"), QStringLiteral("Pseudonim"), PseudonimEd);
  MiejscowoscLb =
      Etykieta(this, QStringLiteral("MiejscowoscLb"), QStringLiteral("Miejscowość"), MiejscowoscEd);
  UrodzonyaLb =
      Etykieta(this, QStringLiteral("UrodzonyaLb"), QStringLiteral("Urodzony/a"), UrodzonyaEd);

  PlecRG = new QGroupBox(QStringLiteral("Płeć"), this);
  PlecRG->setObjectName(QStringLiteral("PlecRG"));
  PlecRG->setAccessibleName(QStringLiteral("Płeć"));
  m_plec = new QButtonGroup(this);
  auto *uklad = new QVBoxLayout(PlecRG);
  const QStringList pozycje = PozycjePlciSzukania();
  for (int i = 0; i < pozycje.size(); ++i) {
    auto *przycisk = new QRadioButton(pozycje[i], PlecRG);
    m_plec->addButton(przycisk, i);
    uklad->addWidget(przycisk);
  }
  UstawPlecIndeks(PlecSzukania::Dowolna);

  TylkoAktywniCB = new QCheckBox(QStringLiteral("Tylko aktywni"), this);
  TylkoAktywniCB->setObjectName(QStringLiteral("TylkoAktywniCB"));

  BitBtn1 = new QPushButton(QStringLiteral("&Dodaj do znajomych"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setAutoDefault(false);
}

void TKatalogFrm::UlozOkno()
{
  auto *kryteria = new QGridLayout;
  const std::pair<QLabel *, QLineEdit *> wiersze[] = {{NumerLb, NumerEd},
                                                      {ImieLb, ImieEd},
                                                      {NazwiskoLb, NazwiskoEd},
                                                      {PseudonimLb, PseudonimEd},
                                                      {MiejscowoscLb, MiejscowoscEd},
                                                      {UrodzonyaLb, UrodzonyaEd}};
  int w = 0;
  for (const auto &[etykieta, pole] : wiersze) {
    kryteria->addWidget(etykieta, w, 0);
    kryteria->addWidget(pole, w, 1);
    ++w;
  }
  auto *prawa = new QVBoxLayout;
  prawa->addWidget(PlecRG);
  prawa->addWidget(TylkoAktywniCB);
  prawa->addStretch();
  prawa->addWidget(WyszukiwajBB);
  prawa->addWidget(BitBtn1);
  prawa->addWidget(ZamknijBB);
  auto *gora = new QHBoxLayout;
  gora->addLayout(kryteria, 1);
  gora->addLayout(prawa);
  auto *calosc = new QVBoxLayout(this);
  calosc->addLayout(gora);
  calosc->addWidget(ListView1, 1);
  calosc->addWidget(StatusBar1);

  // Tab follows the eye: the criteria down, the right column down, then the results.
  QList<QWidget *> kolejnosc{NumerEd, ImieEd, NazwiskoEd, PseudonimEd, MiejscowoscEd, UrodzonyaEd};
  for (QAbstractButton *przycisk : m_plec->buttons())
    kolejnosc << przycisk;
  kolejnosc << TylkoAktywniCB << WyszukiwajBB << BitBtn1 << ZamknijBB << ListView1;
  for (qsizetype i = 1; i < kolejnosc.size(); ++i)
    setTabOrder(kolejnosc[i - 1], kolejnosc[i]);
}

void TKatalogFrm::PolaczZdarzenia()
{
  connect(WyszukiwajBB, &QPushButton::clicked, this, &TKatalogFrm::WyszukiwajBBClick);
  connect(BitBtn1, &QPushButton::clicked, this, &TKatalogFrm::WyszukiwajBBClick);
  connect(ZamknijBB, &QPushButton::clicked, this, &TKatalogFrm::ZamknijBBClick);

  m_limitOdpowiedzi.setSingleShot(true);
  m_limitOdpowiedzi.setInterval(LimitOdpowiedziMs);
  connect(&m_limitOdpowiedzi, &QTimer::timeout, this, [this] {
    PrzerwijSzukanie(QStringLiteral("Serwer nie odpowiedział na wyszukiwanie w ciągu 30 sekund."));
  });
  connect(&m_katalog, &TKatalog::Szukaj, this, [this] {
    // Every request (the next page too) gets its own time to be answered; started first, so
    // that a request refused at once can end the search for good.
    StatusBar1->clearMessage();
    m_limitOdpowiedzi.start();
    emit Szukaj(this);
  });
  connect(&m_katalog, &TKatalog::ZmianaSzukania, this, &TKatalogFrm::PokazSzukanie);
}

TKryteriaSzukania TKatalogFrm::Kryteria() const
{
  TKryteriaSzukania k;
  k.NastepnyStart = m_katalog.NastepnyStart;
  k.Numer = NumerEd->text();
  k.Imie = ImieEd->text();
  k.Nazwisko = NazwiskoEd->text();
  k.Pseudonim = PseudonimEd->text();
  k.Miejscowosc = MiejscowoscEd->text();
  k.Urodzony = UrodzonyaEd->text();
  k.Plec = PlecIndeks();
  k.TylkoAktywni = TylkoAktywniCB->isChecked();
  return k;
}

int TKatalogFrm::PlecIndeks() const
{
  return m_plec->checkedId();
}

void TKatalogFrm::UstawPlecIndeks(int indeks)
{
  if (QAbstractButton *przycisk = m_plec->button(indeks))
    przycisk->setChecked(true);
}

void TKatalogFrm::Pokaz()
{
  show();
  raise();
  activateWindow();
}

void TKatalogFrm::WyszukiwajBBClick()
{
  m_katalog.Wyszukaj();
}

void TKatalogFrm::ZamknijBBClick()
{
  close();
}

void TKatalogFrm::PrzerwijSzukanie(const QString &powod)
{
  m_katalog.UstawSzukanie(false);
  StatusBar1->showMessage(powod);
}

void TKatalogFrm::PokazSzukanie(bool szukanie)
{
  if (!szukanie)
    m_limitOdpowiedzi.stop();
  // Qt has no caption colours; the palette's mid tone stands in for the inactive caption.
  QPalette paleta = ListView1->palette();
  const QPalette wzor = palette();
  paleta.setColor(QPalette::Base,
                  szukanie ? wzor.color(QPalette::Mid) : wzor.color(QPalette::Base));
  ListView1->setPalette(paleta);
}
