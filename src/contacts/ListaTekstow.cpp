#include "contacts/ListaTekstow.h"

#include <QLocale>

TListaPosortowana::TListaPosortowana() : m_porownanie(QLocale())
{
  m_porownanie.setCaseSensitivity(Qt::CaseInsensitive);
}

qsizetype TListaPosortowana::DolnaGranica(const QString &tekst) const
{
  qsizetype od = 0;
  qsizetype ile = m_teksty.size();
  while (ile > 0) {
    const qsizetype pol = ile / 2;
    if (m_porownanie.compare(m_teksty[od + pol], tekst) < 0) {
      od += pol + 1;
      ile -= pol + 1;
    } else {
      ile = pol;
    }
  }
  return od;
}

qsizetype TListaPosortowana::Znajdz(const QString &tekst) const
{
  const qsizetype i = DolnaGranica(tekst);
  if (i < m_teksty.size() && m_porownanie.compare(m_teksty[i], tekst) == 0)
    return i;
  return -1;
}

bool TListaPosortowana::Zawiera(const QString &tekst) const
{
  return Znajdz(tekst) >= 0;
}

void TListaPosortowana::Dodaj(const QString &tekst)
{
  const qsizetype i = DolnaGranica(tekst);
  if (m_ignorujDuplikaty && i < m_teksty.size() && m_porownanie.compare(m_teksty[i], tekst) == 0)
    return;
  m_teksty.insert(i, tekst);
}
