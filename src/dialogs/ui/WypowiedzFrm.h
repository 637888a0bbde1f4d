#pragma once

#include <QDialog>

class QKeyEvent;
class QLabel;
class QPushButton;
class QTextEdit;
class QToolButton;

// "Wysyłanie wypowiedzi": writing a message or an answer, with the message being answered shown
// read-only above it. Enter sends and Escape cancels in either field; straight double quotes
// typed into the answer become Polish quotes while the quote button is down. No network logic.
class TWypowiedzFrm : public QDialog {
  Q_OBJECT
public:
  explicit TWypowiedzFrm(QWidget *rodzic = nullptr);

  static constexpr QChar CudzyslowOtwierajacy{0x201E}; // „ (0x84 in code page 1250)
  static constexpr QChar CudzyslowZamykajacy{0x201D};  // ” (0x94 in code page 1250)

  QTextEdit *TwojaOdpowiedzRE;
  QLabel *KomentowanaWypowiedzLbl;   // "Komentowana wypowiedź"
  QPushButton *BitBtn1;              // "OK"
  QPushButton *BitBtn2;              // "Anuluj"
  QToolButton *PolskieCudzyslowySB;  // "„”", down at start
  QTextEdit *KomentowanaWypowiedzRE; // read-only
  QLabel *TwojaOdpowiedzLbl;         // "Twoja &odpowiedź"

  // The answer's text, lines ended by carriage return and line feed.
  QString Odpowiedz() const;

  // Shows the dialog modally with `komentowana` as the message answered; on OK gives the answer
  // and returns true.
  bool Napisz(const QString &komentowana, QString &odpowiedz);

protected:
  void showEvent(QShowEvent *zdarzenie) override;
  bool eventFilter(QObject *obiekt, QEvent *zdarzenie) override;

private:
  // Every showing starts with an empty answer.
  void FormShow();
  // A key typed in either field; true when it was taken (not passed on).
  bool TwojaOdpowiedzREKeyPress(QObject *Sender, QKeyEvent *Key);
};

extern TWypowiedzFrm *WypowiedzFrm;
