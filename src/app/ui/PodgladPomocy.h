#pragma once

#include <QDialog>

class QPlainTextEdit;

// Shows a plain-text help file (the program's own help mechanism).
class TPodgladPomocy : public QDialog {
  Q_OBJECT
public:
  explicit TPodgladPomocy(QWidget *rodzic = nullptr);
  void Pokaz(const QString &plik, const QString &tytul);
  QString Tekst() const;

private:
  QPlainTextEdit *m_tekst;
};
