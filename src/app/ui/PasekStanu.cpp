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
  // At least its width, and wider when its text needs it: a cut caption reads wrongly.
  if (!rozciagliwy) {
    panel->setMinimumWidth(szerokosc);
    panel->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
  }
  addWidget(panel, rozciagliwy ? 1 : 0);
  panel->setVisible(!m_trybProsty);
  m_panele.append(panel);
  m_nazwy.append(QString());
  return panel;
}

QString TPasekStanu::TekstPanelu(int numer) const
{
  const QLabel *panel = Panel(numer);
  return panel ? panel->text() : QString();
}

void TPasekStanu::UstawTekstPanelu(int numer, const QString &tekst)
{
  QLabel *panel = Panel(numer);
  if (!panel)
    return;
  panel->setText(tekst);
  const QString &nazwa = m_nazwy[numer];
  if (!nazwa.isEmpty())
    panel->setAccessibleName(tekst.isEmpty() ? nazwa : nazwa + QStringLiteral(": ") + tekst);
}

void TPasekStanu::UstawNazwePanelu(int numer, const QString &nazwa)
{
  if (numer < 0 || numer >= m_nazwy.size())
    return;
  m_nazwy[numer] = nazwa;
  UstawTekstPanelu(numer, TekstPanelu(numer));
}
