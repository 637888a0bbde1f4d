#include "dialogs/ui/WypowiedzFrm.h"

#include "app/ui/RozmiarOkna.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

TWypowiedzFrm *WypowiedzFrm = nullptr;

TWypowiedzFrm::TWypowiedzFrm(QWidget *rodzic) : QDialog(rodzic)
{
  setObjectName(QStringLiteral("WypowiedzFrm"));
  setWindowTitle(QStringLiteral("Wysyłanie wypowiedzi"));

  KomentowanaWypowiedzLbl = new QLabel(QStringLiteral("Komentowana wypowiedź"), this);
  KomentowanaWypowiedzLbl->setObjectName(QStringLiteral("KomentowanaWypowiedzLbl"));
  KomentowanaWypowiedzRE = new QTextEdit(this);
  KomentowanaWypowiedzRE->setObjectName(QStringLiteral("KomentowanaWypowiedzRE"));
  KomentowanaWypowiedzRE->setReadOnly(true);
  KomentowanaWypowiedzRE->setAcceptRichText(false);
  // Not a tab stop, but a click still reaches it (and its keys the handler).
  KomentowanaWypowiedzRE->setFocusPolicy(Qt::ClickFocus);
  KomentowanaWypowiedzRE->setTabChangesFocus(true);
  KomentowanaWypowiedzRE->setAccessibleName(KomentowanaWypowiedzLbl->text());
  QPalette paleta = KomentowanaWypowiedzRE->palette();
  paleta.setColor(QPalette::Base, paleta.color(QPalette::Inactive, QPalette::Window));
  KomentowanaWypowiedzRE->setPalette(paleta);

  TwojaOdpowiedzLbl = new QLabel(QStringLiteral("Twoja &odpowiedź"), this);
  TwojaOdpowiedzLbl->setObjectName(QStringLiteral("TwojaOdpowiedzLbl"));
  TwojaOdpowiedzRE = new QTextEdit(this);
  TwojaOdpowiedzRE->setObjectName(QStringLiteral("TwojaOdpowiedzRE"));
  TwojaOdpowiedzRE->setAcceptRichText(false);
  TwojaOdpowiedzRE->setTabChangesFocus(true);
  TwojaOdpowiedzLbl->setBuddy(TwojaOdpowiedzRE);

  PolskieCudzyslowySB = new QToolButton(this);
  PolskieCudzyslowySB->setObjectName(QStringLiteral("PolskieCudzyslowySB"));
  PolskieCudzyslowySB->setText(QStringLiteral("„”"));
  PolskieCudzyslowySB->setCheckable(true);
  PolskieCudzyslowySB->setChecked(true);
  PolskieCudzyslowySB->setToolTip(
      QStringLiteral("Uaktywnienie otwierania cudzysłowów podczas pisania"));
  PolskieCudzyslowySB->setAccessibleName(PolskieCudzyslowySB->toolTip());
  PolskieCudzyslowySB->setFocusPolicy(Qt::NoFocus);

  BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
  BitBtn2 = new QPushButton(QStringLiteral("Anuluj"), this);
  BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

  // Key preview: the dialog sees the keys of both fields first.
  TwojaOdpowiedzRE->installEventFilter(this);
  KomentowanaWypowiedzRE->installEventFilter(this);

  auto *przyciski = new QHBoxLayout;
  przyciski->addWidget(PolskieCudzyslowySB);
  przyciski->addStretch();
  przyciski->addWidget(BitBtn1);
  przyciski->addWidget(BitBtn2);
  auto *uklad = new QVBoxLayout(this);
  uklad->addWidget(KomentowanaWypowiedzLbl);
  uklad->addWidget(KomentowanaWypowiedzRE, 1);
  uklad->addWidget(TwojaOdpowiedzLbl);
  uklad->addWidget(TwojaOdpowiedzRE, 2);
  uklad->addLayout(przyciski);
  DopasujDoEkranu(this, QSize(420, 320));
}

QString TWypowiedzFrm::Odpowiedz() const
{
  QString tekst = TwojaOdpowiedzRE->toPlainText();
  tekst.replace(u'\n', QStringLiteral("\r\n"));
  return tekst;
}

bool TWypowiedzFrm::Napisz(const QString &komentowana, QString &odpowiedz)
{
  KomentowanaWypowiedzRE->setPlainText(komentowana);
  if (exec() != QDialog::Accepted)
    return false;
  odpowiedz = Odpowiedz();
  return true;
}

void TWypowiedzFrm::showEvent(QShowEvent *zdarzenie)
{
  QDialog::showEvent(zdarzenie);
  if (!zdarzenie->spontaneous())
    FormShow();
}

void TWypowiedzFrm::FormShow()
{
  TwojaOdpowiedzRE->clear();
  TwojaOdpowiedzRE->setFocus();
}

bool TWypowiedzFrm::eventFilter(QObject *obiekt, QEvent *zdarzenie)
{
  if (zdarzenie->type() == QEvent::KeyPress &&
      (obiekt == TwojaOdpowiedzRE || obiekt == KomentowanaWypowiedzRE))
    return TwojaOdpowiedzREKeyPress(obiekt, static_cast<QKeyEvent *>(zdarzenie));
  return QDialog::eventFilter(obiekt, zdarzenie);
}

bool TWypowiedzFrm::TwojaOdpowiedzREKeyPress(QObject *Sender, QKeyEvent *Key)
{
  const int klawisz = Key->key();
  if (klawisz == Qt::Key_Return || klawisz == Qt::Key_Enter) {
    // Ctrl+Enter is the one way to break a line in the answer.
    if (Key->modifiers() & Qt::ControlModifier) {
      if (Sender == TwojaOdpowiedzRE)
        TwojaOdpowiedzRE->textCursor().insertBlock();
    } else {
      done(QDialog::Accepted);
    }
    return true;
  }
  if (klawisz == Qt::Key_Escape) {
    done(QDialog::Rejected);
    return true;
  }
  if (Key->text() != QStringLiteral("\"") || !PolskieCudzyslowySB->isChecked() ||
      Sender != TwojaOdpowiedzRE)
    return false;
  QTextCursor kursor = TwojaOdpowiedzRE->textCursor();
  const int pozycja = kursor.selectionStart();
  // Line breaks count as spaces: a quote at the start of a line opens.
  const bool otwiera =
      pozycja == 0 || TwojaOdpowiedzRE->document()->characterAt(pozycja - 1).isSpace();
  kursor.insertText(QString(otwiera ? CudzyslowOtwierajacy : CudzyslowZamykajacy));
  TwojaOdpowiedzRE->setTextCursor(kursor);
  return true;
}
