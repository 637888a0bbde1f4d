#include "app/ui/PodgladPomocy.h"

#include "app/ui/RozmiarOkna.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QVBoxLayout>

TPodgladPomocy::TPodgladPomocy(QWidget *rodzic) : QDialog(rodzic), m_tekst(new QPlainTextEdit(this))
{
  setAttribute(Qt::WA_DeleteOnClose);
  m_tekst->setReadOnly(true);
  auto uklad = new QVBoxLayout(this);
  uklad->setContentsMargins(0, 0, 0, 0);
  uklad->addWidget(m_tekst);
  DopasujDoEkranu(this, QSize(600, 450));
}

void TPodgladPomocy::Pokaz(const QString &plik, const QString &tytul)
{
  QFile f(plik);
  if (f.open(QIODevice::ReadOnly))
    m_tekst->setPlainText(QString::fromUtf8(f.readAll()));
  setWindowTitle(tytul);
  show();
  raise();
  activateWindow();
}

QString TPodgladPomocy::Tekst() const
{
  return m_tekst->toPlainText();
}
