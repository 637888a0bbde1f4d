#pragma once

#include <QList>
#include <QStatusBar>
#include <QStringList>

class QLabel;

// The frame's status bar: either one text (simple mode) or a row of panels. Every text sits in a
// label of its own, so screen readers find it.
class TPasekStanu : public QStatusBar {
  Q_OBJECT
public:
  explicit TPasekStanu(QWidget *rodzic = nullptr);

  bool TrybProsty() const { return m_trybProsty; }
  void UstawTrybProsty(bool prosty);

  QString TekstProsty() const;
  void UstawTekstProsty(const QString &tekst);

  // Adds a panel at least `szerokosc` pixels wide, growing to fit its text (or taking the rest
  // of the bar); returns its label.
  QLabel *DodajPanel(int szerokosc, bool rozciagliwy = false);
  int LiczbaPaneli() const { return int(m_panele.size()); }
  QLabel *Panel(int numer) const { return m_panele.value(numer); }
  QString TekstPanelu(int numer) const;
  void UstawTekstPanelu(int numer, const QString &tekst);
  // What a screen reader calls the panel; it reads "<nazwa>: <text>".
  void UstawNazwePanelu(int numer, const QString &nazwa);

private:
  bool m_trybProsty = true;
  QLabel *m_prosty;
  QList<QLabel *> m_panele;
  QStringList m_nazwy;
};
