#include "dialogs/ui/MojeDaneFrm.h"

#include "app/Komunikaty.h"
#include "app/Kontrast.h"
#include "app/ui/Aplikacja.h"
#include "app/ui/Powloka.h"
#include "app/ui/RozmiarOkna.h"
#include "app/ui/StanAplikacji.h"
#include "dialogs/Rejestracja.h"
#include "gg/HostyGG.h"
#include "net/Blad.h"
#include "net/KlientHttp.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

TMojeDaneFrm *MojeDaneFrm = nullptr;

namespace {

// The picture's size at design time, kept until the first token says otherwise.
constexpr int SzerokoscObrazka = 105;
constexpr int WysokoscObrazka = 33;
// A registration service that stops answering must not hold the dialog forever.
constexpr int LimitZapytaniaMs = 30000;

const QString TekstRad = QStringLiteral(
    "Jeśli którejś z nich nie chcę udostępniać, nie podaję jej a nie fałszuję ! Docenię, gdy sam "
    "kogoś będę szukał.");

// A failed request: its number and English text go to the event log; the error box shows the
// Polish text.
QByteArray PobierzZLogiem(const std::function<void(const QString &, const QString &)> &loguj,
                          TKlientHttp &klient, const QString &adres, bool post,
                          const QByteArray &cialo = QByteArray())
{
  try {
    return Pobierz(klient, adres, post, cialo);
  } catch (const EBladHttp &e) {
    if (loguj)
      loguj(QStringLiteral("Błędy HTTP"),
            QStringLiteral("%1 %2: %3").arg(QString::number(e.Numer()), e.Message(), adres));
    throw;
  }
}

QLineEdit *Pole(QWidget *rodzic, const QString &nazwa)
{
  auto *pole = new QLineEdit(rodzic);
  pole->setObjectName(nazwa);
  return pole;
}

QLabel *Etykieta(QWidget *rodzic, const QString &nazwa, const QString &tekst,
                 QWidget *dla = nullptr)
{
  auto *etykieta = new QLabel(tekst, rodzic);
  etykieta->setObjectName(nazwa);
  if (dla)
    etykieta->setBuddy(dla);
  return etykieta;
}

QLabel *Uwaga(QWidget *rodzic, const QString &nazwa, const QString &tekst, const QColor &kolor)
{
  QLabel *etykieta = Etykieta(rodzic, nazwa, tekst);
  etykieta->setWordWrap(true);
  QFont pismo = etykieta->font();
  pismo.setBold(true);
  etykieta->setFont(pismo);
  // The colour's hue on whatever the label stands on, dark enough (or light enough) to read.
  QPalette paleta = etykieta->palette();
  for (const auto grupa : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    paleta.setColor(grupa, QPalette::WindowText,
                    CzytelnyKolor(kolor, paleta.color(grupa, QPalette::Window)));
  etykieta->setPalette(paleta);
  return etykieta;
}

QGroupBox *GrupaRadiowa(QWidget *rodzic, const QString &nazwa, const QString &tytul,
                        const QStringList &pozycje, QButtonGroup *&grupa)
{
  auto *ramka = new QGroupBox(tytul, rodzic);
  ramka->setObjectName(nazwa);
  grupa = new QButtonGroup(ramka);
  auto *uklad = new QVBoxLayout(ramka);
  for (int i = 0; i < pozycje.size(); ++i) {
    auto *przycisk = new QRadioButton(pozycje[i], ramka);
    grupa->addButton(przycisk, i);
    uklad->addWidget(przycisk);
  }
  grupa->button(0)->setChecked(true);
  return ramka;
}

// Label and edit pairs, one per row from `wiersz` on.
void DodajWiersze(QGridLayout *uklad, int wiersz,
                  std::initializer_list<std::pair<QLabel *, QWidget *>> pary)
{
  for (const auto &[etykieta, pole] : pary) {
    uklad->addWidget(etykieta, wiersz, 0);
    uklad->addWidget(pole, wiersz, 1);
    ++wiersz;
  }
}

} // namespace

TMojeDaneFrm::TMojeDaneFrm(QWidget *rodzic)
    : QDialog(rodzic), HostRejestracji(HostRejestracjiGG.toString()),
      PortRejestracji(PortHttpGG.toString())
{
  setObjectName(QStringLiteral("MojeDaneFrm"));
  setWindowTitle(QStringLiteral("Kim jestem"));

  KlientHttp1 = new TKlientHttp(this);
  KlientHttp1->setObjectName(QStringLiteral("KlientHttp1"));
  KlientHttp1->SetTimeout(LimitZapytaniaMs);

  ZbudujPrywatne();
  ZbudujPubliczne();
  ZbudujPubliczneLokalne();

  BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setDefault(true);
  BitBtn2 = new QPushButton(QStringLiteral("Anuluj"), this);
  BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
  BitBtn2->setAutoDefault(false);
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

  auto *przyciski = new QHBoxLayout;
  przyciski->addStretch();
  przyciski->addWidget(BitBtn1);
  przyciski->addWidget(BitBtn2);
  // The three groups scroll on a screen too small for them; OK and Anuluj stay in view.
  auto *grupy = new QWidget;
  grupy->setObjectName(QStringLiteral("Grupy"));
  auto *kolumna = new QVBoxLayout(grupy);
  kolumna->setContentsMargins(0, 0, 0, 0);
  kolumna->addWidget(GroupBox1);
  kolumna->addWidget(GroupBox2);
  kolumna->addWidget(GroupBox3);
  auto *obszar = new TObszarPrzewijany(grupy, this);
  obszar->setObjectName(QStringLiteral("ObszarGrup"));
  auto *calosc = new QVBoxLayout(this);
  calosc->addWidget(obszar, 1);
  calosc->addLayout(przyciski);

  FormCreate();
  DopasujDoEkranu(this, sizeHint());
}

void TMojeDaneFrm::ZbudujPrywatne()
{
  GroupBox1 = new QGroupBox(QStringLiteral("Prywatne"), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  QWidget *g = GroupBox1;

  NowyRB = new QRadioButton(QStringLiteral("Nowy"), g);
  NowyRB->setObjectName(QStringLiteral("NowyRB"));
  IstniejacyRB = new QRadioButton(QStringLiteral("Istniejący"), g);
  IstniejacyRB->setObjectName(QStringLiteral("IstniejacyRB"));
  m_uzytkownik = new QButtonGroup(this);
  m_uzytkownik->addButton(NowyRB);
  m_uzytkownik->addButton(IstniejacyRB);
  Label13 = Etykieta(g, QStringLiteral("Label13"), QStringLiteral("Użytkownik"), NowyRB);

  NumerEd = Pole(g, QStringLiteral("NumerEd"));
  NumerLbl = Etykieta(g, QStringLiteral("NumerLbl"), QStringLiteral("Numer"), NumerEd);
  MailEd = Pole(g, QStringLiteral("MailEd"));
  MailLbl = Etykieta(g, QStringLiteral("MailLbl"), QStringLiteral("Mail kontaktowy"), MailEd);
  HasloEd = Pole(g, QStringLiteral("HasloEd"));
  HasloEd->setEchoMode(QLineEdit::Password);
  HasloEd->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
  HasloLb = Etykieta(g, QStringLiteral("HasloLb"), QStringLiteral("Hasło"), HasloEd);
  // The prefilled "-1" and password are replaced by typing, not typed after.
  NumerEd->installEventFilter(this);
  HasloEd->installEventFilter(this);

  ObrazekImg = new QLabel(g);
  ObrazekImg->setObjectName(QStringLiteral("ObrazekImg"));
  ObrazekImg->setFixedSize(SzerokoscObrazka, WysokoscObrazka);
  ObrazekImg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  ObrazekEd = Pole(g, QStringLiteral("ObrazekEd"));
  // Neither has a label of its own.
  ObrazekImg->setAccessibleName(QStringLiteral("Obrazek z kodem"));
  ObrazekImg->setAccessibleDescription(QStringLiteral("Przepisz kod z obrazka do pola obok"));
  ObrazekEd->setAccessibleName(QStringLiteral("Kod z obrazka"));
  UtworzBB = new QPushButton(QStringLiteral("Utwórz"), g);
  UtworzBB->setObjectName(QStringLiteral("UtworzBB"));
  UtworzBB->setAutoDefault(false);

  Label10 = Uwaga(g, QStringLiteral("Label10"),
                  QStringLiteral("Dane prywatne służą tylko do nawiązania połączenia z "
                                 "usługodawcą."),
                  QColor(0, 128, 0));
  Label11 = Uwaga(g, QStringLiteral("Label11"),
                  QStringLiteral("Nie są udostępniane innym użytkownikom."), QColor(0, 128, 0));

  auto *radia = new QHBoxLayout;
  radia->addWidget(NowyRB);
  radia->addWidget(IstniejacyRB);
  radia->addStretch();
  auto *token = new QHBoxLayout;
  token->addWidget(ObrazekImg);
  token->addWidget(ObrazekEd);
  token->addWidget(UtworzBB);
  auto *uklad = new QGridLayout(g);
  uklad->addWidget(Label13, 0, 0);
  uklad->addLayout(radia, 0, 1);
  // Number and mail share a row: exactly one of them is shown.
  uklad->addWidget(NumerLbl, 1, 0);
  uklad->addWidget(NumerEd, 1, 1);
  uklad->addWidget(MailLbl, 2, 0);
  uklad->addWidget(MailEd, 2, 1);
  uklad->addWidget(HasloLb, 3, 0);
  uklad->addWidget(HasloEd, 3, 1);
  uklad->addLayout(token, 4, 0, 1, 2);
  uklad->addWidget(Label10, 5, 0, 1, 2);
  uklad->addWidget(Label11, 6, 0, 1, 2);

  connect(m_uzytkownik, &QButtonGroup::buttonToggled, this,
          [this](QAbstractButton *, bool wlaczony) {
            if (wlaczony)
              WykonajZObslugaBledow([this] { NowyIstniejacyRBClick(); });
          });
  connect(UtworzBB, &QPushButton::clicked, this,
          [this] { WykonajZObslugaBledow([this] { UtworzBBClick(); }); });
}

void TMojeDaneFrm::ZbudujPubliczne()
{
  GroupBox2 = new QGroupBox(QStringLiteral("Publiczne"), this);
  GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
  QWidget *g = GroupBox2;

  ImieEd = Pole(g, QStringLiteral("ImieEd"));
  ImieLb = Etykieta(g, QStringLiteral("ImieLb"), QStringLiteral("Imię"), ImieEd);
  NazwiskoEd = Pole(g, QStringLiteral("NazwiskoEd"));
  NazwiskoLb = Etykieta(g, QStringLiteral("NazwiskoLb"), QStringLiteral("Nazwisko"), NazwiskoEd);
  PseudonimEd = Pole(g, QStringLiteral("PseudonimEd"));
  PseudonimLb =
      Etykieta(g, QStringLiteral("PseudonimLb"), QStringLiteral("Psuedonim"), PseudonimEd);
  UrodzonyaEd = Pole(g, QStringLiteral("UrodzonyaEd"));
  UrodzonyaLb =
      Etykieta(g, QStringLiteral("UrodzonyaLb"), QStringLiteral("Urodzony/a roku"), UrodzonyaEd);
  MiejscowoscEd = Pole(g, QStringLiteral("MiejscowoscEd"));
  MiejscowoscLb =
      Etykieta(g, QStringLiteral("MiejscowoscLb"), QStringLiteral("Miejscowość"), MiejscowoscEd);
  PlecRG =
      GrupaRadiowa(g, QStringLiteral("PlecRG"), QStringLiteral("Płeć"), PozycjePlciKonta(), m_plec);

  PlecRG->setAccessibleName(QStringLiteral("Płeć"));

  Label8 = Uwaga(g, QStringLiteral("Label8"),
                 QStringLiteral("Dane publiczne znajdą się w ogólnodostępnym katalogu !"),
                 QColor(255, 0, 0));
  Label9 = Uwaga(g, QStringLiteral("Label9"), TekstRad, QColor(255, 0, 0));

  auto *pola = new QGridLayout;
  DodajWiersze(pola, 0,
               {{ImieLb, ImieEd},
                {NazwiskoLb, NazwiskoEd},
                {PseudonimLb, PseudonimEd},
                {UrodzonyaLb, UrodzonyaEd},
                {MiejscowoscLb, MiejscowoscEd}});
  auto *gora = new QHBoxLayout;
  gora->addLayout(pola, 1);
  gora->addWidget(PlecRG, 0, Qt::AlignTop);
  auto *uklad = new QVBoxLayout(g);
  uklad->addLayout(gora);
  uklad->addWidget(Label8);
  uklad->addWidget(Label9);
}

void TMojeDaneFrm::ZbudujPubliczneLokalne()
{
  GroupBox3 = new QGroupBox(QStringLiteral("Publiczne lokalne"), this);
  GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
  QWidget *g = GroupBox3;

  ZainteresowaniaEd = Pole(g, QStringLiteral("ZainteresowaniaEd"));
  TelefonEd = Pole(g, QStringLiteral("TelefonEd"));
  PocztaEd = Pole(g, QStringLiteral("PocztaEd"));
  WitrynaEd = Pole(g, QStringLiteral("WitrynaEd"));
  KrykaturaEd = Pole(g, QStringLiteral("KrykaturaEd"));
  StatusRG = GrupaRadiowa(g, QStringLiteral("StatusRG"), QStringLiteral("Status"),
                          {QStringLiteral("Nie podaję"), QStringLiteral("Kawaler/Panna"),
                           QStringLiteral("Zamężna/Żonaty")},
                          m_status);
  const QColor fuksja(255, 0, 255);
  Label1 = Uwaga(g, QStringLiteral("Label1"),
                 QStringLiteral("Dane publiczne znajdą się na twoim dysku ale inni użytkownicy "
                                "mogą je czytać jak z katalogu publicznego."),
                 fuksja);
  Label2 = Uwaga(g, QStringLiteral("Label2"), TekstRad, fuksja);

  Image1 = new QLabel(g);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setFrameShape(QFrame::Box);
  Image1->setMinimumSize(64, 64);
  Image1->setAlignment(Qt::AlignCenter);
  Image1->installEventFilter(this);

  auto *pola = new QGridLayout;
  DodajWiersze(
      pola, 0,
      {{Etykieta(g, QStringLiteral("ZainteresowaniaLb"), QStringLiteral("Zainteresowania"),
                 ZainteresowaniaEd),
        ZainteresowaniaEd},
       {Etykieta(g, QStringLiteral("TelefonLb"), QStringLiteral("Telefon"), TelefonEd), TelefonEd},
       {Etykieta(g, QStringLiteral("PocztaLb"), QStringLiteral("Poczta"), PocztaEd), PocztaEd},
       {Etykieta(g, QStringLiteral("WitrynaLb"), QStringLiteral("Witryna"), WitrynaEd), WitrynaEd},
       {Etykieta(g, QStringLiteral("KrykaturaLb"), QStringLiteral("Krykatura"), KrykaturaEd),
        KrykaturaEd}});
  auto *prawa = new QVBoxLayout;
  prawa->addWidget(StatusRG);
  prawa->addWidget(Image1, 1);
  auto *gora = new QHBoxLayout;
  gora->addLayout(pola, 1);
  gora->addLayout(prawa);
  auto *uklad = new QVBoxLayout(g);
  uklad->addLayout(gora);
  uklad->addWidget(Label1);
  uklad->addWidget(Label2);

  GroupBox3->setEnabled(false);
}

void TMojeDaneFrm::FormCreate()
{
  IstniejacyRB->setChecked(true);
}

TDanePubliczne TMojeDaneFrm::DanePubliczne() const
{
  TDanePubliczne d;
  d.Imie = ImieEd->text();
  d.Nazwisko = NazwiskoEd->text();
  d.Pseudonim = PseudonimEd->text();
  d.Miejscowosc = MiejscowoscEd->text();
  d.Urodzony = UrodzonyaEd->text();
  d.Plec = PlecIndeks();
  return d;
}

void TMojeDaneFrm::UstawDanePubliczne(const TDanePubliczne &dane)
{
  ImieEd->setText(dane.Imie);
  NazwiskoEd->setText(dane.Nazwisko);
  PseudonimEd->setText(dane.Pseudonim);
  MiejscowoscEd->setText(dane.Miejscowosc);
  UrodzonyaEd->setText(dane.Urodzony);
  UstawPlecIndeks(dane.Plec);
}

int TMojeDaneFrm::PlecIndeks() const
{
  return m_plec->checkedId();
}

void TMojeDaneFrm::UstawPlecIndeks(int indeks)
{
  // A value outside the items leaves the selection as it was.
  if (QAbstractButton *przycisk = m_plec->button(indeks))
    przycisk->setChecked(true);
}

void TMojeDaneFrm::NowyIstniejacyRBClick()
{
  const bool nowy = NowyRB->isChecked();
  MailLbl->setVisible(nowy);
  MailEd->setVisible(nowy);
  NumerLbl->setVisible(!nowy);
  NumerEd->setVisible(!nowy);
  ObrazekImg->setVisible(nowy);
  ObrazekEd->setVisible(nowy);
  UtworzBB->setVisible(nowy);
  if (nowy)
    PobierzObrazek();
}

void TMojeDaneFrm::PobierzObrazek()
{
  const TToken token = RozbierzToken(TekstOdpowiedzi(PobierzZLogiem(
      OnLoguj, *KlientHttp1, AdresUslugi(HostRejestracji, PortRejestracji, SciezkaTokenu), true)));
  ObrazekImg->setFixedSize(qBound(0, token.Szerokosc, QWIDGETSIZE_MAX),
                           qBound(0, token.Wysokosc, QWIDGETSIZE_MAX));
  IdentyfikatorTokenu = token.Identyfikator;
  const QImage obrazek =
      DekodujObrazekTokenu(PobierzZLogiem(OnLoguj, *KlientHttp1, AdresObrazkaTokenu(token), false));
  ObrazekImg->setPixmap(QPixmap::fromImage(obrazek));
}

void TMojeDaneFrm::UtworzBBClick()
{
  const QByteArray formularz =
      FormularzRejestracji(HasloEd->text(), MailEd->text(), IdentyfikatorTokenu, ObrazekEd->text());
  const QString odpowiedz = TekstOdpowiedzi(PobierzZLogiem(
      OnLoguj, *KlientHttp1, AdresUslugi(HostRejestracji, PortRejestracji, SciezkaRejestracji),
      true, formularz));
  const TWynikRejestracji wynik = RozbierzWynikRejestracji(odpowiedz);
  if (wynik.Rodzaj == TWynikRejestracji::Zarejestrowano) {
    NumerEd->setText(wynik.Numer);
    if (OnLoguj)
      OnLoguj(QStringLiteral("Hasła"), wynik.Numer + u';' + HasloEd->text());
    IstniejacyRB->setChecked(true);
    return;
  }
  if (wynik.Rodzaj != TWynikRejestracji::ZlyToken)
    ObrazekEd->setText(odpowiedz);
  ObrazekEd->setFocus();
}

void TMojeDaneFrm::Image1DblClick()
{
  QStringList wzorce;
  for (const QByteArray &format : QImageReader::supportedImageFormats())
    wzorce << QStringLiteral("*.") + QString::fromLatin1(format);
  const QString plik = QFileDialog::getOpenFileName(
      this, QString(), QString(), QStringLiteral("Obrazy (%1)").arg(wzorce.join(u' ')));
  if (plik.isEmpty())
    return;
  QPixmap obrazek;
  if (!obrazek.load(plik))
    throw EBlad(QStringLiteral("Nie można wczytać obrazka ") + plik);
  Image1->setPixmap(obrazek);
}

int TMojeDaneFrm::NumerKonta() const
{
  const int numer = StrToIntDef(NumerEd->text(), 0);
  return numer > 0 ? numer : 0;
}

void TMojeDaneFrm::UstawKonto(int numer, const QString &haslo)
{
  NumerEd->setText(QString::number(numer));
  HasloEd->setText(haslo);
}

QString TMojeDaneFrm::NumerWpisany() const
{
  return NumerEd->text();
}

QString TMojeDaneFrm::Haslo() const
{
  return HasloEd->text();
}

void TMojeDaneFrm::SledzKatalog(TKatalog &katalog)
{
  connect(&katalog, &TKatalog::DanePubliczneOdebrane, this, &TMojeDaneFrm::UstawDanePubliczne,
          Qt::UniqueConnection);
}

void TMojeDaneFrm::accept()
{
  if (NumerKonta() == 0) {
    const QString tekst = NumerEd->text().trimmed().isEmpty()
                              ? QStringLiteral("Wpisz numer GG: liczbę większą od zera.")
                              : QStringLiteral("„%1” nie jest numerem GG: numer to liczba większa "
                                               "od zera.")
                                    .arg(NumerEd->text());
    PokazKomunikatProgramu(this, StanAplikacji().Tytul(), tekst,
                           Komunikat::PrzyciskOk | Komunikat::IkonaOstrzezenia,
                           QStringLiteral("Ostrzeżenie"));
    if (!NumerEd->isVisible())
      IstniejacyRB->setChecked(true);
    NumerEd->setFocus();
    NumerEd->selectAll();
    return;
  }
  QDialog::accept();
}

void TMojeDaneFrm::showEvent(QShowEvent *zdarzenie)
{
  QDialog::showEvent(zdarzenie);
  QLineEdit *pierwsze = NumerEd->isVisibleTo(this) ? NumerEd : MailEd;
  pierwsze->setFocus();
  pierwsze->selectAll();
}

bool TMojeDaneFrm::eventFilter(QObject *obiekt, QEvent *zdarzenie)
{
  if ((obiekt == NumerEd || obiekt == HasloEd) && zdarzenie->type() == QEvent::FocusIn) {
    // After the focus change has run its course: a mouse click would otherwise place the
    // cursor over the selection.
    auto *pole = static_cast<QLineEdit *>(obiekt);
    QTimer::singleShot(0, pole, [pole] { pole->selectAll(); });
  }
  // The picture's group stays disabled: its double click must not reach the command either.
  if (obiekt == Image1 && Image1->isEnabled() && zdarzenie->type() == QEvent::MouseButtonDblClick) {
    WykonajZObslugaBledow([this] { Image1DblClick(); });
    return true;
  }
  return QDialog::eventFilter(obiekt, zdarzenie);
}
