#pragma once

#include <QCollator>
#include <QString>
#include <QStringList>

// A text list kept sorted by the locale's case-insensitive comparison. Duplicates are accepted
// until IgnorujDuplikaty() is switched on; from then on adding an entry already present (by that
// comparison) changes nothing.
class TListaPosortowana {
public:
  TListaPosortowana();

  void Dodaj(const QString &tekst);
  bool Zawiera(const QString &tekst) const;
  // Index of the first entry equal to `tekst`, or -1.
  qsizetype Znajdz(const QString &tekst) const;

  void UstawIgnorowanieDuplikatow(bool ignoruj) { m_ignorujDuplikaty = ignoruj; }
  bool IgnorujDuplikaty() const { return m_ignorujDuplikaty; }

  qsizetype Liczba() const { return m_teksty.size(); }
  const QString &operator[](qsizetype i) const { return m_teksty[i]; }
  const QStringList &Teksty() const { return m_teksty; }

private:
  // First position whose entry is not less than `tekst`.
  qsizetype DolnaGranica(const QString &tekst) const;

  QCollator m_porownanie;
  QStringList m_teksty;
  bool m_ignorujDuplikaty = false;
};
