#include "archiwum/ui/HistoriaFrm.h"

#include "app/DataCzas.h"
#include "app/Komunikaty.h"
#include "app/ui/Powloka.h"
#include "archiwum/EksportRozmowy.h"
#include "archiwum/ModelRozmowy.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

QLabel *Etykieta(const QString &tekst, QWidget *dla, QWidget *rodzic)
{
  auto *l = new QLabel(tekst, rodzic);
  l->setBuddy(dla);
  return l;
}

} // namespace

THistoriaFrm::THistoriaFrm(TArchiwum &archiwum, QWidget *rodzic, const QString &nazwaProduktu)
    : QDialog(rodzic), m_archiwum(archiwum), m_nazwaProduktu(nazwaProduktu)
{
  setObjectName(QStringLiteral("HistoriaFrm"));
  setWindowTitle(QStringLiteral("Historia"));
  resize(640, 560);

  SzukajEd = new QLineEdit(this);
  SzukajEd->setObjectName(QStringLiteral("SzukajEd"));
  SzukajEd->setAccessibleName(QStringLiteral("Szukane słowa"));
  SzukajEd->setClearButtonEnabled(true);
  SzukajBtn = new QPushButton(QStringLiteral("Sz&ukaj"), this);
  SzukajBtn->setObjectName(QStringLiteral("SzukajBtn"));
  SzukajBtn->setAccessibleName(QStringLiteral("Szukaj we wszystkich rozmowach"));
  SzukajBtn->setAutoDefault(false);
  WynikiLW = new QListWidget(this);
  WynikiLW->setObjectName(QStringLiteral("WynikiLW"));
  WynikiLW->setAccessibleName(QStringLiteral("Wyniki wyszukiwania"));
  WynikiLW->setUniformItemSizes(true);
  RozmowaLV = new QListView(this);
  RozmowaLV->setObjectName(QStringLiteral("RozmowaLV"));
  RozmowaLV->setAccessibleName(QStringLiteral("Rozmowa"));
  RozmowaLV->setUniformItemSizes(true);
  RozmowaLV->setWordWrap(false);
  RozmowaLV->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Model = new TModelRozmowy(archiwum, this);
  RozmowaLV->setModel(Model);
  EksportujBtn = new QPushButton(QStringLiteral("&Eksportuj..."), this);
  EksportujBtn->setObjectName(QStringLiteral("EksportujBtn"));
  EksportujBtn->setAccessibleName(QStringLiteral("Eksportuj rozmowę do pliku"));
  EksportujBtn->setAutoDefault(false);
  ZamknijBtn = new QPushButton(QStringLiteral("&Zamknij"), this);
  ZamknijBtn->setObjectName(QStringLiteral("ZamknijBtn"));
  ZamknijBtn->setAccessibleName(QStringLiteral("Zamknij historię"));
  ZamknijBtn->setAutoDefault(false);
  RozmowaLbl = Etykieta(QStringLiteral("&Rozmowa:"), RozmowaLV, this);

  auto *szukanie = new QHBoxLayout;
  szukanie->addWidget(Etykieta(QStringLiteral("&Szukaj:"), SzukajEd, this));
  szukanie->addWidget(SzukajEd, 1);
  szukanie->addWidget(SzukajBtn);
  auto *przyciski = new QHBoxLayout;
  przyciski->addStretch(1);
  przyciski->addWidget(EksportujBtn);
  przyciski->addWidget(ZamknijBtn);
  auto *uklad = new QVBoxLayout(this);
  uklad->addLayout(szukanie);
  uklad->addWidget(Etykieta(QStringLiteral("&Wyniki:"), WynikiLW, this));
  uklad->addWidget(WynikiLW, 1);
  uklad->addWidget(RozmowaLbl);
  uklad->addWidget(RozmowaLV, 3);
  uklad->addLayout(przyciski);
  setTabOrder(SzukajEd, SzukajBtn);
  setTabOrder(SzukajBtn, WynikiLW);
  setTabOrder(WynikiLW, RozmowaLV);
  setTabOrder(RozmowaLV, EksportujBtn);
  setTabOrder(EksportujBtn, ZamknijBtn);

  connect(SzukajEd, &QLineEdit::returnPressed, this, &THistoriaFrm::Szukaj);
  connect(SzukajBtn, &QPushButton::clicked, this, &THistoriaFrm::Szukaj);
  connect(WynikiLW, &QListWidget::activated, this,
          [this](const QModelIndex &i) { PrzejdzDoWyniku(i.row()); });
  connect(RozmowaLV->verticalScrollBar(), &QScrollBar::valueChanged, this,
          &THistoriaFrm::PrzewinietoRozmowe);
  connect(EksportujBtn, &QPushButton::clicked, this, &THistoriaFrm::EksportujBtnClick);
  connect(ZamknijBtn, &QPushButton::clicked, this, &QDialog::close);
}

void THistoriaFrm::Pokaz(int numer, qint64 id)
{
  Model->Ustaw(numer, id);
  RozmowaLbl->setText(numer ? QStringLiteral("&Rozmowa z %1:").arg(numer)
                            : QStringLiteral("&Rozmowa:"));
  EksportujBtn->setEnabled(numer != 0);
  show();
  raise();
  activateWindow();
  const int wiersz = id ? Model->Wiersz(id) : Model->rowCount() - 1;
  if (wiersz >= 0) {
    const QModelIndex indeks = Model->index(wiersz);
    RozmowaLV->setCurrentIndex(indeks);
    RozmowaLV->scrollTo(indeks, id ? QAbstractItemView::PositionAtCenter
                                   : QAbstractItemView::PositionAtBottom);
  }
  RozmowaLV->setFocus();
}

void THistoriaFrm::Szukaj()
{
  m_trafienia = m_archiwum.Szukaj(SzukajEd->text(), NajwiecejWynikow);
  WynikiLW->clear();
  for (const TTrafienie &t : m_trafienia)
    WynikiLW->addItem(
        QStringLiteral("(%1) %2: %3")
            .arg(DataCzasNaTekst(t.czas))
            .arg(t.numer)
            .arg(QString(t.tekst).replace(QStringLiteral("\r\n"), QStringLiteral(" "))));
  if (m_trafienia.isEmpty()) {
    WynikiLW->addItem(QStringLiteral("Nic nie znaleziono."));
    WynikiLW->item(0)->setFlags(Qt::NoItemFlags);
    return;
  }
  WynikiLW->setCurrentRow(0);
  WynikiLW->setFocus();
}

void THistoriaFrm::PrzejdzDoWyniku(int wiersz)
{
  if (wiersz < 0 || wiersz >= m_trafienia.size())
    return;
  Pokaz(m_trafienia[wiersz].numer, m_trafienia[wiersz].id);
}

void THistoriaFrm::PrzewinietoRozmowe(int wartosc)
{
  if (wartosc != RozmowaLV->verticalScrollBar()->minimum() || !Model->SaStarsze())
    return;
  // Older messages come in front; the view stays on the message it showed at the top.
  const QModelIndex gora = RozmowaLV->indexAt(QPoint(1, 1));
  const int doszlo = Model->DoczytajStarsze();
  if (doszlo > 0 && gora.isValid())
    RozmowaLV->scrollTo(Model->index(gora.row() + doszlo), QAbstractItemView::PositionAtTop);
}

bool THistoriaFrm::Eksportuj(const QString &plik, bool html)
{
  return Model->Numer() != 0 && EksportujRozmowe(m_archiwum, Model->Numer(), plik, html);
}

void THistoriaFrm::EksportujBtnClick()
{
  const QString tekst = QStringLiteral("Tekst (*.txt)");
  const QString strona = QStringLiteral("Strona HTML (*.html)");
  QString wybrany = tekst;
  const QString plik = QFileDialog::getSaveFileName(
      this, QStringLiteral("Eksport rozmowy"), QStringLiteral("Rozmowa-%1.txt").arg(Model->Numer()),
      tekst + QStringLiteral(";;") + strona, &wybrany);
  if (plik.isEmpty())
    return;
  const bool html = wybrany == strona ||
                    plik.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive) ||
                    plik.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive);
  if (!Eksportuj(plik, html))
    PokazKomunikatProgramu(
        this, m_nazwaProduktu.isEmpty() ? windowTitle() : m_nazwaProduktu,
        QStringLiteral("Nie można zapisać pliku\r%1").arg(QDir::toNativeSeparators(plik)),
        Komunikat::IkonaBledu, QStringLiteral("Błąd"));
}
