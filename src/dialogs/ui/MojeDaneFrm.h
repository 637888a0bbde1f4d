#pragma once

#include "gg/Katalog.h"

#include <QDialog>
#include <QString>

#include <functional>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TKlientHttp;

// "Kim jestem": the own GG account, the own entry of the public directory, and the registration
// of a new number through the GG registration service. Created once; the main window's account
// command fills it, shows it modally and takes the result (Konfiguracja1Click).
class TMojeDaneFrm : public QDialog {
  Q_OBJECT
public:
  explicit TMojeDaneFrm(QWidget *rodzic = nullptr);

  // Group "Prywatne".
  QGroupBox *GroupBox1;
  QLabel *Label13;
  QRadioButton *NowyRB;
  QRadioButton *IstniejacyRB;
  QLabel *NumerLbl;
  QLineEdit *NumerEd;
  QLabel *MailLbl;
  QLineEdit *MailEd;
  QLabel *HasloLb;
  QLineEdit *HasloEd;
  QLabel *ObrazekImg;
  QLineEdit *ObrazekEd;
  QPushButton *UtworzBB;
  QLabel *Label10;
  QLabel *Label11;

  // Group "Publiczne".
  QGroupBox *GroupBox2;
  QLabel *ImieLb;
  QLineEdit *ImieEd;
  QLabel *NazwiskoLb;
  QLineEdit *NazwiskoEd;
  QLabel *PseudonimLb;
  QLineEdit *PseudonimEd;
  QLabel *UrodzonyaLb;
  QLineEdit *UrodzonyaEd;
  QLabel *MiejscowoscLb;
  QLineEdit *MiejscowoscEd;
  QGroupBox *PlecRG;
  QLabel *Label8;
  QLabel *Label9;

  // Group "Publiczne lokalne": disabled, nothing reads it.
  QGroupBox *GroupBox3;
  QLineEdit *ZainteresowaniaEd;
  QLineEdit *TelefonEd;
  QLineEdit *PocztaEd;
  QLineEdit *WitrynaEd;
  QLineEdit *KrykaturaEd;
  QGroupBox *StatusRG;
  QLabel *Label1;
  QLabel *Label2;
  QLabel *Image1;

  QPushButton *BitBtn1; // OK
  QPushButton *BitBtn2; // "Anuluj"

  TKlientHttp *KlientHttp1;

  // The token id of the last fetched token picture.
  QString IdentyfikatorTokenu;

  // The registration service's host and port. Always the GG host: the alternative-server switch
  // does not apply here; only a local test service sets them.
  QString HostRejestracji;
  QString PortRejestracji;

  // The event log's Loguj(kategoria, tekst); the main window assigns it.
  std::function<void(const QString &kategoria, const QString &tekst)> OnLoguj;

  // The "Publiczne" fields, PlecRG in the account numbering (0 not given, 1 man, 2 woman).
  TDanePubliczne DanePubliczne() const;
  void UstawDanePubliczne(const TDanePubliczne &dane);
  int PlecIndeks() const;
  void UstawPlecIndeks(int indeks);

  // The handlers. They throw on failure; wired to their controls, the failure ends up in the
  // standard error box and the dialog stays open.
  void NowyIstniejacyRBClick();
  void PobierzObrazek();
  void UtworzBBClick();
  void Image1DblClick();

  // OK: only a number greater than zero is taken; anything else is refused with a box and the
  // dialog stays open with the number selected.
  void accept() override;
  // The number in NumerEd when it is one greater than zero, else 0.
  int NumerKonta() const;

protected:
  bool eventFilter(QObject *obiekt, QEvent *zdarzenie) override;
  // Focus starts in the number field (or the mail field of a new account), not on "Nowy".
  void showEvent(QShowEvent *zdarzenie) override;

private:
  void ZbudujPrywatne();
  void ZbudujPubliczne();
  void ZbudujPubliczneLokalne();
  void FormCreate();

  QButtonGroup *m_uzytkownik;
  QButtonGroup *m_plec;
  QButtonGroup *m_status;
};

extern TMojeDaneFrm *MojeDaneFrm;
