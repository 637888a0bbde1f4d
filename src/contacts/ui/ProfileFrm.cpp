#include "contacts/ui/ProfileFrm.h"

#include "app/ui/RozmiarOkna.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TProfileFrm *ProfileFrm = nullptr;

TProfileFrm::TProfileFrm(QWidget *rodzic) : QDialog(rodzic)
{
  setObjectName(QStringLiteral("ProfileFrm"));
  setWindowTitle(QStringLiteral("Profil użytkownika"));
  DopasujDoEkranu(this, QSize(360, 280));

  Label1 = new QLabel(QStringLiteral("Opis użytkownika"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Label1->setBuddy(Memo1);

  OkBtn = new QPushButton(QStringLiteral("OK"), this);
  OkBtn->setObjectName(QStringLiteral("OkBtn"));
  OkBtn->setDefault(true);
  AnulujBtn = new QPushButton(QStringLiteral("Anuluj"), this);
  AnulujBtn->setObjectName(QStringLiteral("AnulujBtn"));
  connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(AnulujBtn, &QPushButton::clicked, this, &QDialog::reject);

  auto *przyciski = new QHBoxLayout;
  przyciski->addStretch();
  przyciski->addWidget(OkBtn);
  przyciski->addWidget(AnulujBtn);
  auto *uklad = new QVBoxLayout(this);
  uklad->addWidget(Label1);
  uklad->addWidget(Memo1);
  uklad->addLayout(przyciski);
}

void TProfileFrm::UstawPrzypisy(const QString &tekst)
{
  Memo1->setPlainText(tekst);
}

QString TProfileFrm::Przypisy() const
{
  return Memo1->toPlainText();
}
