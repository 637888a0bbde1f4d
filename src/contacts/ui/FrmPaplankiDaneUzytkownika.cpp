#include "contacts/ui/FrmPaplankiDaneUzytkownika.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFrmPaplankiDaneUzytkownika *FrmPaplankiDaneUzytkownika = nullptr;

TFrmPaplankiDaneUzytkownika::TFrmPaplankiDaneUzytkownika(QWidget *rodzic) : QDialog(rodzic)
{
  setObjectName(QStringLiteral("FrmPaplankiDaneUzytkownika"));
  setWindowTitle(QStringLiteral("Dane użytkownika"));

  auto pola = new QFormLayout;
  const auto wiersz = [&](QLabel *&etykieta, QLineEdit *&pole, const QString &tekst,
                          const char *nazwa) {
    pole = new QLineEdit(this);
    pole->setObjectName(QString::fromLatin1(nazwa) + QStringLiteral("Ed"));
    etykieta = new QLabel(tekst, this);
    etykieta->setObjectName(QString::fromLatin1(nazwa) + QStringLiteral("Lb"));
    etykieta->setBuddy(pole);
    pola->addRow(etykieta, pole);
  };
  wiersz(NumerLb, NumerEd, QStringLiteral("&Numer"), "Numer");
  wiersz(ImieLb, ImieEd, QStringLiteral("&Imię"), "Imie");
  wiersz(NazwiskoLb, NazwiskoEd, QStringLiteral("&Nazwisko"), "Nazwisko");
  wiersz(TelefonLb, TelefonEd, QStringLiteral("&Telefon"), "Telefon");
  wiersz(EmailLb, EmailEd, QStringLiteral("&Email"), "Email");
  wiersz(OpisLb, OpisEd, QStringLiteral("&Opis"), "Opis");

  OkBtn = new QPushButton(QStringLiteral("OK"), this);
  OkBtn->setObjectName(QStringLiteral("OkBtn"));
  OkBtn->setDefault(true);
  connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
  AnulujBtn = new QPushButton(QStringLiteral("Anuluj"), this);
  AnulujBtn->setObjectName(QStringLiteral("AnulujBtn"));
  connect(AnulujBtn, &QPushButton::clicked, this, &QDialog::reject);

  auto przyciski = new QHBoxLayout;
  przyciski->addStretch();
  przyciski->addWidget(OkBtn);
  przyciski->addWidget(AnulujBtn);

  auto uklad = new QVBoxLayout(this);
  uklad->addLayout(pola);
  uklad->addStretch();
  uklad->addLayout(przyciski);

  // The designer's tab order: the names first, the number and the label last.
  setTabOrder(ImieEd, NazwiskoEd);
  setTabOrder(NazwiskoEd, TelefonEd);
  setTabOrder(TelefonEd, EmailEd);
  setTabOrder(EmailEd, OkBtn);
  setTabOrder(OkBtn, AnulujBtn);
  setTabOrder(AnulujBtn, NumerEd);
  setTabOrder(NumerEd, OpisEd);

  setFixedSize(256, 300);
}

void TFrmPaplankiDaneUzytkownika::UstawPola(const TPola &pola)
{
  NumerEd->setText(pola.Numer);
  ImieEd->setText(pola.Imie);
  NazwiskoEd->setText(pola.Nazwisko);
  TelefonEd->setText(pola.Telefon);
  EmailEd->setText(pola.EMail);
  OpisEd->setText(pola.Opis);
}

TFrmPaplankiDaneUzytkownika::TPola TFrmPaplankiDaneUzytkownika::Pola() const
{
  return {NumerEd->text(),   ImieEd->text(),  NazwiskoEd->text(),
          TelefonEd->text(), EmailEd->text(), OpisEd->text()};
}

void TFrmPaplankiDaneUzytkownika::showEvent(QShowEvent *zdarzenie)
{
  QDialog::showEvent(zdarzenie);
  // Each showing starts at the first edit of the tab order.
  ImieEd->setFocus(Qt::OtherFocusReason);
}
