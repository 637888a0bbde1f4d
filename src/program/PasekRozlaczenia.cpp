#include "program/PasekRozlaczenia.h"

#include "app/DataCzas.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

namespace {

QPushButton *Przycisk(const QString &tekst, const QString &nazwa, QWidget *rodzic)
{
  auto *p = new QPushButton(tekst, rodzic);
  p->setObjectName(nazwa);
  p->setAutoDefault(false);
  return p;
}

} // namespace

TPasekRozlaczenia::TPasekRozlaczenia(TPozostalo pozostalo, QWidget *rodzic)
    : QFrame(rodzic), m_pozostalo(std::move(pozostalo))
{
  setObjectName(QStringLiteral("PasekRozlaczenia"));
  setAccessibleName(QStringLiteral("Stan połączenia"));
  setFrameShape(QFrame::StyledPanel);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

  m_liniaPowodu = new QWidget(this);
  PowodLbl = new QLabel(m_liniaPowodu);
  PowodLbl->setObjectName(QStringLiteral("PowodLbl"));
  PowodLbl->setWordWrap(true);
  OdliczanieLbl = new QLabel(m_liniaPowodu);
  OdliczanieLbl->setObjectName(QStringLiteral("OdliczanieLbl"));
  PolaczTerazBtn =
      Przycisk(QStringLiteral("Połącz teraz"), QStringLiteral("PolaczTerazBtn"), m_liniaPowodu);
  MojeDaneBtn = Przycisk(QStringLiteral("Moje dane"), QStringLiteral("MojeDaneBtn"), m_liniaPowodu);
  auto *wiersz = new QHBoxLayout(m_liniaPowodu);
  wiersz->setContentsMargins(0, 0, 0, 0);
  wiersz->addWidget(PowodLbl, 1);
  wiersz->addWidget(OdliczanieLbl);
  wiersz->addWidget(PolaczTerazBtn);
  wiersz->addWidget(MojeDaneBtn);

  m_liniaOdrzuconych = new QWidget(this);
  OdrzuconeLbl = new QLabel(m_liniaOdrzuconych);
  OdrzuconeLbl->setObjectName(QStringLiteral("OdrzuconeLbl"));
  OdrzuconeLbl->setWordWrap(true);
  PokazOdrzuconeBtn =
      Przycisk(QStringLiteral("Pokaż"), QStringLiteral("PokazOdrzuconeBtn"), m_liniaOdrzuconych);
  PokazOdrzuconeBtn->setAccessibleName(QStringLiteral("Pokaż odrzucone wiadomości"));
  ZamknijOdrzuconeBtn = Przycisk(QStringLiteral("Zamknij"), QStringLiteral("ZamknijOdrzuconeBtn"),
                                 m_liniaOdrzuconych);
  ZamknijOdrzuconeBtn->setAccessibleName(QStringLiteral("Zapomnij odrzucone wiadomości"));
  auto *wiersz2 = new QHBoxLayout(m_liniaOdrzuconych);
  wiersz2->setContentsMargins(0, 0, 0, 0);
  wiersz2->addWidget(OdrzuconeLbl, 1);
  wiersz2->addWidget(PokazOdrzuconeBtn);
  wiersz2->addWidget(ZamknijOdrzuconeBtn);

  auto *uklad = new QVBoxLayout(this);
  uklad->setContentsMargins(6, 2, 6, 2);
  uklad->setSpacing(2);
  uklad->addWidget(m_liniaPowodu);
  uklad->addWidget(m_liniaOdrzuconych);

  connect(PolaczTerazBtn, &QPushButton::clicked, this, &TPasekRozlaczenia::PolaczTeraz);
  connect(MojeDaneBtn, &QPushButton::clicked, this, &TPasekRozlaczenia::MojeDane);
  connect(PokazOdrzuconeBtn, &QPushButton::clicked, this, &TPasekRozlaczenia::PokazOdrzucone);
  connect(ZamknijOdrzuconeBtn, &QPushButton::clicked, this, &TPasekRozlaczenia::WyczyscOdrzucone);

  m_zegar.setInterval(1000);
  connect(&m_zegar, &QTimer::timeout, this, &TPasekRozlaczenia::Odswiez);
  Odswiez();
}

void TPasekRozlaczenia::PokazPowod(TPowodRozlaczenia powod, const QString &host)
{
  m_powod = powod;
  PowodLbl->setText(OpisPowodu(powod, host));
  if (powod == TPowodRozlaczenia::Zalogowano)
    m_zegar.stop();
  else if (!m_zegar.isActive())
    m_zegar.start();
  Odswiez();
}

void TPasekRozlaczenia::DodajOdrzucona(const TOdrzuconaWiadomosc &wiadomosc)
{
  ++m_liczbaOdrzuconych;
  m_odrzucone.append(wiadomosc);
  if (m_odrzucone.size() > NajwiecejOdrzuconych)
    m_odrzucone.removeFirst();
  Odswiez();
}

void TPasekRozlaczenia::WyczyscOdrzucone()
{
  m_liczbaOdrzuconych = 0;
  m_odrzucone.clear();
  Odswiez();
}

bool TPasekRozlaczenia::Potrzebny() const
{
  return m_powod != TPowodRozlaczenia::Zalogowano || m_liczbaOdrzuconych > 0;
}

void TPasekRozlaczenia::Odswiez()
{
  const bool offline = m_powod != TPowodRozlaczenia::Zalogowano;
  const int pozostalo = m_pozostalo ? m_pozostalo() : -1;
  m_liniaPowodu->setVisible(offline);
  // A refused login waits for the server to close the connection; no attempt is under way.
  const bool czekaNaZamkniecie = m_powod == TPowodRozlaczenia::OdmowaLogowania && pozostalo < 0;
  OdliczanieLbl->setText(offline && !czekaNaZamkniecie ? TekstOdliczania(pozostalo) : QString());
  // Pressing it while an attempt is under way would only disturb that attempt.
  PolaczTerazBtn->setEnabled(pozostalo >= 0);
  MojeDaneBtn->setVisible(m_powod == TPowodRozlaczenia::OdmowaLogowania);
  m_liniaOdrzuconych->setVisible(m_liczbaOdrzuconych > 0);
  OdrzuconeLbl->setText(m_liczbaOdrzuconych > 0 ? TekstOdrzuconych(m_liczbaOdrzuconych)
                                                : QString());
  emit Zmieniono();
}

void TPasekRozlaczenia::PokazOdrzucone()
{
  auto *okno = new QDialog(window());
  okno->setObjectName(QStringLiteral("OdrzuconeFrm"));
  okno->setAttribute(Qt::WA_DeleteOnClose);
  okno->setWindowTitle(QStringLiteral("Odrzucone wiadomości"));
  auto *lista = new QTreeWidget(okno);
  lista->setObjectName(QStringLiteral("OdrzuconeLista"));
  lista->setAccessibleName(QStringLiteral("Odrzucone wiadomości"));
  lista->setRootIsDecorated(false);
  lista->setHeaderLabels(
      {QStringLiteral("Nadawca"), QStringLiteral("Czas"), QStringLiteral("Pierwsza linia")});
  for (const TOdrzuconaWiadomosc &w : m_odrzucone)
    new QTreeWidgetItem(lista,
                        {QString::number(w.Nadawca), DataCzasNaTekst(w.Czas), w.PierwszaLinia});
  lista->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  auto *przyciski = new QDialogButtonBox(QDialogButtonBox::Close, okno);
  connect(przyciski, &QDialogButtonBox::rejected, okno, &QDialog::reject);
  auto *uklad = new QVBoxLayout(okno);
  uklad->addWidget(lista);
  uklad->addWidget(przyciski);
  okno->resize(520, 260);
  okno->show();
}
