#include "dialogs/ui/FrmStan.h"

#include "gg/Sesja.h"
#include "gg/SesjaPakiety.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimeEdit>
#include <QVBoxLayout>

TFrmStan *FrmStan = nullptr;

TFrmStan::TFrmStan(QWidget *rodzic) : QDialog(rodzic)
{
  setObjectName(QStringLiteral("FrmStan"));
  setWindowTitle(QStringLiteral("Zmiana stanu"));

  ZbudujSkladniki();
  UlozOkno();
}

void TFrmStan::ZbudujSkladniki()
{
  RadioGroup1 = new QGroupBox(QStringLiteral("&Stan"), this);
  RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
  m_grupa = new QButtonGroup(this);
  auto *uklad = new QVBoxLayout(RadioGroup1);
  for (int i = 0; i < int(TabelaStanow.size()); ++i) {
    auto *pozycja =
        new QRadioButton(QString::fromUtf16(TabelaStanow[size_t(i)].pozycja), RadioGroup1);
    m_grupa->addButton(pozycja, i);
    m_pozycje << pozycja;
    uklad->addWidget(pozycja);
  }

  BitBtn1 = new QPushButton(QStringLiteral("&Zmień"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
  BitBtn2 = new QPushButton(QStringLiteral("Anuluj"), this);
  BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);

  CBDlaPrzyjaciol = new QCheckBox(QStringLiteral("Tylko dla przyjaciół"), this);
  CBDlaPrzyjaciol->setObjectName(QStringLiteral("CBDlaPrzyjaciol"));

  Label1 = new QLabel(QStringLiteral("&Informacja"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  InformacjaEd = new QLineEdit(this);
  InformacjaEd->setObjectName(QStringLiteral("InformacjaEd"));
  Label1->setBuddy(InformacjaEd);

  const QDateTime teraz = QDateTime::currentDateTime();
  CzasDTP = new QTimeEdit(teraz.time(), this);
  CzasDTP->setObjectName(QStringLiteral("CzasDTP"));
  CzasDTP->setAccessibleName(QStringLiteral("Czas powrotu: godzina"));
  DataDTP = new QDateEdit(teraz.date(), this);
  DataDTP->setObjectName(QStringLiteral("DataDTP"));
  DataDTP->setCalendarPopup(true);
  DataDTP->setAccessibleName(QStringLiteral("Czas powrotu: data"));
  UwzglednijCzasPowrotuCB = new QCheckBox(QStringLiteral("&Czas powrotu"), this);
  UwzglednijCzasPowrotuCB->setObjectName(QStringLiteral("UwzglednijCzasPowrotuCB"));
}

void TFrmStan::UlozOkno()
{
  auto *siatka = new QGridLayout;
  siatka->addWidget(RadioGroup1, 0, 0, 4, 1);
  siatka->addWidget(CBDlaPrzyjaciol, 0, 1, 1, 2);
  siatka->addWidget(Label1, 1, 1, 1, 2);
  siatka->addWidget(InformacjaEd, 2, 1, 1, 2);
  siatka->addWidget(UwzglednijCzasPowrotuCB, 3, 1);
  auto *czas = new QHBoxLayout;
  czas->addWidget(DataDTP);
  czas->addWidget(CzasDTP);
  siatka->addLayout(czas, 3, 2);
  auto *przyciski = new QHBoxLayout;
  przyciski->addStretch();
  przyciski->addWidget(BitBtn1);
  przyciski->addWidget(BitBtn2);
  auto *calosc = new QVBoxLayout(this);
  calosc->addLayout(siatka);
  calosc->addLayout(przyciski);
  calosc->addWidget(StatusBar1);

  // Tab follows the eye: the status, then the right column top to bottom, then the buttons.
  QList<QWidget *> kolejnosc(m_pozycje.begin(), m_pozycje.end());
  kolejnosc << CBDlaPrzyjaciol << InformacjaEd << UwzglednijCzasPowrotuCB << DataDTP << CzasDTP
            << BitBtn1 << BitBtn2;
  for (qsizetype i = 1; i < kolejnosc.size(); ++i)
    setTabOrder(kolejnosc[i - 1], kolejnosc[i]);
}

int TFrmStan::ItemIndex() const
{
  return m_grupa->checkedId();
}

void TFrmStan::UstawItemIndex(int indeks)
{
  if (QRadioButton *pozycja = Pozycja(indeks))
    pozycja->setChecked(true);
}

int TFrmStan::IndeksStanu(quint32 stan)
{
  for (size_t i = 0; i < TabelaStanow.size(); ++i)
    if (TabelaStanow[i].kod == stan)
      return int(i);
  return -1;
}

quint32 TFrmStan::StanIndeksu(int indeks)
{
  return TabelaStanow.at(size_t(indeks)).kod;
}

int TFrmStan::Wykonaj(quint32 biezacy)
{
  WybranyStan = biezacy;
  const quint32 bezFlagi = biezacy & ~StanGG::TylkoDlaPrzyjaciol;
  // A status with a description is shown as the item it is a variant of.
  UstawItemIndex(IndeksStanu(::StanBezOpisu(bezFlagi)));
  if (QRadioButton *wybrana = Pozycja(ItemIndex()))
    wybrana->setFocus();
  // Unused pickers start from now, so that a return time, once ticked, starts near today.
  if (!UwzglednijCzasPowrotuCB->isChecked()) {
    const QDateTime teraz = QDateTime::currentDateTime();
    DataDTP->setDate(teraz.date());
    CzasDTP->setTime(teraz.time());
  }
  const int wynik = exec();
  if (wynik != QDialog::Accepted)
    return wynik;
  // Without any selection the current status stays; the box alone decides the friends-only bit.
  const int indeks = ItemIndex();
  const quint32 stan = indeks >= 0 ? StanIndeksu(indeks) : bezFlagi;
  WybranyStan = stan | (CBDlaPrzyjaciol->isChecked() ? StanGG::TylkoDlaPrzyjaciol : 0);
  return wynik;
}

QDateTime TFrmStan::CzasPowrotu() const
{
  if (!UwzglednijCzasPowrotuCB->isChecked())
    return QDateTime();
  return QDateTime(DataDTP->date(), CzasDTP->time());
}

QString TFrmStan::Informacja() const
{
  return InformacjaEd->text();
}

void ZmienStanWlasny(TFrmStan &dialog, TSesjaGG &sesja)
{
  if (dialog.Wykonaj(sesja.StanWlasny()) != QDialog::Accepted)
    return;
  sesja.UstawStan(dialog.WybranyStan, dialog.Informacja(), dialog.CzasPowrotu());
}
