#include "app/ui/PasekStanu.h"

#include <QLabel>

TPasekStanu::TPasekStanu(QWidget *rodzic) : QStatusBar(rodzic), m_prosty(new QLabel(this))
{
  m_prosty->setObjectName(QStringLiteral("TekstProsty"));
  addWidget(m_prosty, 1);
}

void TPasekStanu::UstawTrybProsty(bool prosty)
{
  m_trybProsty = prosty;
  m_prosty->setVisible(prosty);
  for (QLabel *panel : m_panele)
    panel->setVisible(!prosty);
}

QString TPasekStanu::TekstProsty() const
{
  return m_prosty->text();
}

void TPasekStanu::UstawTekstProsty(const QString &tekst)
{
  m_prosty->setText(tekst);
}

QLabel *TPasekStanu::DodajPanel(int szerokosc, bool rozciagliwy)
{
  auto panel = new QLabel(this);
  panel->setObjectName(QStringLiteral("Panel%1").arg(m_panele.size()));
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  if (!rozciagliwy)
    panel->setFixedWidth(szerokosc);
  addWidget(panel, rozciagliwy ? 1 : 0);
  panel->setVisible(!m_trybProsty);
  m_panele.append(panel);
  return panel;
}

QString TPasekStanu::TekstPanelu(int numer) const
{
  const QLabel *panel = Panel(numer);
  return panel ? panel->text() : QString();
}

void TPasekStanu::UstawTekstPanelu(int numer, const QString &tekst)
{
  if (QLabel *panel = Panel(numer))
    panel->setText(tekst);
}
