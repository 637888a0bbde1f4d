#include "program/FrmPaplankiMain.h"

#include "app/Komunikaty.h"
#include "app/Lokalizacje.h"
#include "app/ui/Aplikacja.h"
#include "archiwum/Archiwum.h"
#include "archiwum/ArchiwumDrzewa.h"
#include "contacts/Galezie.h"
#include "contacts/ModelDrzewa.h"
#include "contacts/ui/DelegatWezla.h"
#include "contacts/ui/Obrazki.h"
#include "contacts/ui/WidokDrzewa.h"
#include "dialogs/ui/KatalogFrm.h"
#include "gg/AutomatycznaZajetosc.h"
#include "gg/Sesja.h"
#include "program/KomendyKontaktow.h"
#include "program/PulpitGlownegoOkna.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QShowEvent>
#include <QToolBar>
#include <QToolButton>

TFrmPaplankiMain *FrmPaplankiMain = nullptr;

namespace {

const QList<int> &SzerokosciPaneli()
{
  static const QList<int> szerokosci{70, 150, 50};
  return szerokosci;
}

} // namespace

TFrmPaplankiMain::TFrmPaplankiMain(QWidget *rodzic)
    : TFormaBezdokumentowaPozycjonowana(SzerokosciPaneli(), rodzic),
      m_dziennik(TDziennik::SciezkaDziennika(QCoreApplication::applicationFilePath()),
                 [this] { return m_ustawienia && m_ustawienia->CzytajLogowanie(); })
{
  setObjectName(QStringLiteral("FrmPaplankiMain"));
  ZbudujSkladniki();
  FormCreate();
  m_pulpit = std::make_unique<TPulpitGlownegoOkna>(*this, QDBusConnection::sessionBus());
}

TFrmPaplankiMain::~TFrmPaplankiMain()
{
  m_pulpit.reset();
  WylaczAutomatycznaZajetosc();
  ZamknijArchiwum();
  FormDestroy();
}

void TFrmPaplankiMain::ZbudujSkladniki()
{
  // Toolbar: the two buttons come before the inherited exit button.
  QAction *wyjscie = MainToolbar->actions().value(0);
  PolaczTB = new QToolButton(MainToolbar);
  PolaczTB->setObjectName(QStringLiteral("PolaczTB"));
  PolaczTB->setText(QStringLiteral("&Połącz"));
  PolaczTB->setCheckable(true);
  PolaczTB->setToolButtonStyle(Qt::ToolButtonTextOnly);
  MainToolbar->insertWidget(wyjscie, PolaczTB);
  connect(PolaczTB, &QToolButton::clicked, this, [this] { PolaczTBClick(); });
  SzukajTB = new QToolButton(MainToolbar);
  SzukajTB->setObjectName(QStringLiteral("SzukajTB"));
  SzukajTB->setText(QStringLiteral("&Szukaj"));
  SzukajTB->setToolButtonStyle(Qt::ToolButtonTextOnly);
  MainToolbar->insertWidget(wyjscie, SzukajTB);
  connect(SzukajTB, &QToolButton::clicked, this, [this] { Szukaj1Click(); });

  // The frame's first menu becomes "&Paplanki", with "&Szukaj" above its own items.
  FileMenu->setTitle(QStringLiteral("&Paplanki"));
  Szukaj1 = new QAction(QStringLiteral("&Szukaj"), FileMenu);
  Szukaj1->setObjectName(QStringLiteral("Szukaj1"));
  FileMenu->insertAction(N3, Szukaj1);
  connect(Szukaj1, &QAction::triggered, this, [this] { Szukaj1Click(); });

  StatusBar1->installEventFilter(this);

  Model = new TModelDrzewa(Drzewo, this);
  // Drawn for the sharpest screen there is; a lower-ratio screen gets them scaled down.
  const qreal skala = qApp->devicePixelRatio();
  const bool ciemne = CiemneTlo(palette());
  Model->UstawObrazy(ObrazyWezlow(skala, ciemne));
  TreeView1 = new TWidokDrzewa(new TDelegatWezla(ObrazyStanu(skala, ciemne)), this);
  TreeView1->setObjectName(QStringLiteral("TreeView1"));
  TreeView1->setIndentation(19);
  TreeView1->setModel(Model);
  TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
  TreeView1->installEventFilter(this);
  setCentralWidget(TreeView1);
  TreeView1->setFocus();

  TreePM = new QMenu(this);
  TreePM->setObjectName(QStringLiteral("TreePM"));

  IdleTmr.setInterval(50000);
  m_przewijanie.setSingleShot(true);
  m_przewijanie.setInterval(0);
  connect(&m_przewijanie, &QTimer::timeout, this, [this] {
    if (TreeView1 && m_doPrzewiniecia)
      TreeView1->scrollTo(Model->Indeks(m_doPrzewiniecia));
  });

  PolaczZdarzeniaDrzewa();
  ZbudujPasekRozlaczenia();
  ZbudujDostepnosc();
}

void TFrmPaplankiMain::FormCreate()
{
  // The frame's creation (version, title, help file, update check, placement) has run in the
  // base constructors.
  PiszeWiadomosc = false;
  WybranyWezel.clear();

  const QString katalogDanych = KatalogDanych(NazwaProduktu());
  m_ustawienia = std::make_unique<TUstawienia>(*RejestrUstawien(), katalogDanych);
  Baza = std::make_unique<TBazaKontaktow>(*RejestrUstawien(), katalogDanych);
  UtworzSesje();
  OtworzArchiwum();
  // A failing step ends the start-up there, as a failing creation handler would: the error box
  // shows and the window is used as far as it got.
  WykonajZObslugaBledow([this] { Uruchom(); });
}

void TFrmPaplankiMain::Uruchom()
{
  // The settings object read the stored values when it was made; here they take effect.
  TUstawienia &u = Ustawienia();
  UstawSerwerAlternatywny(u.SerwerAlternatywny());
  PolaczTB->setChecked(u.Przylaczaj());
  WlaczAutomatycznaZajetosc();

  u.WczytajListy();

  // An unreadable address book ends the start-up here, with the error box.
  m_komendy->WczytajBaze();
  PrzywrocZArchiwum();

  if (u.CzytajTestowanie()) {
    for (const char16_t *tekst :
         {u"Imiona", u"Nazwiska", u"Miejscowości", u"Telefony", u"Emaile"}) {
      TWezel *w = Drzewo.Dodaj(nullptr, QString::fromUtf16(tekst));
      w->UstawDane(std::make_shared<TAtrybut>(nullptr));
    }
  }

  const QString haslo = u.CzytajHasloUzytkownika();
  Sesja().Start(u.CzytajNumerUzytkownika(), haslo);
}

void TFrmPaplankiMain::showEvent(QShowEvent *zdarzenie)
{
  TFormaBezdokumentowaPozycjonowana::showEvent(zdarzenie);
  if (!zdarzenie->spontaneous())
    FormShow();
}

void TFrmPaplankiMain::FormShow()
{
  if (KatalogFrm) {
    connect(KatalogFrm, &TKatalogFrm::Szukaj, this, &TFrmPaplankiMain::WyslijSzukanie,
            Qt::UniqueConnection);
  }
  if (Sesja().NumerWlasny() == -1 || Sesja().HasloWlasne().isEmpty()) {
    Konfiguracja1Click();
    PokazKomunikat(QStringLiteral("Użyj prawego klawisza myszki do dodania śledzonych "
                                  "użytkowników, insert''em odpowiadaj."),
                   QStringLiteral("Informacja"), Komunikat::IkonaInformacji);
  }
  PowiadomOArchiwum();
}

void TFrmPaplankiMain::FormCloseQuery(bool &CanClose)
{
  CanClose = true;
  TWezel *nieprzeczytany = Drzewo.ZnajdzPogrubionyPo(Drzewo.Pierwszy());
  if (!nieprzeczytany) {
    PowiadomOOczekujacych();
    return;
  }
  // Shown, not read: if the window closes now, the message comes back unread next time.
  const TWskaznikWezla pokazany = nieprzeczytany;
  WstrzymajOdczytWArchiwum(true);
  Zaznacz(nieprzeczytany);
  WstrzymajOdczytWArchiwum(false);
  CanClose =
      PokazKomunikat(QStringLiteral("Są jeszcze nieprzeczytane wiadomości.\r"
                                    "Mimo to zamknąć ?"),
                     QStringLiteral("Ostrzeżenie"),
                     Komunikat::PrzyciskiTakNie | Komunikat::IkonaPytania) == Komunikat::WynikTak;
  if (CanClose)
    PowiadomOOczekujacych();
  else if (m_archiwumDrzewa)
    m_archiwumDrzewa->Przeczytano(pokazany);
}

void TFrmPaplankiMain::closeEvent(QCloseEvent *zdarzenie)
{
  bool CanClose = true;
  FormCloseQuery(CanClose);
  if (!CanClose) {
    zdarzenie->ignore();
    return;
  }
  TFormaBezdokumentowaPozycjonowana::closeEvent(zdarzenie);
}

void TFrmPaplankiMain::FormClose()
{
  Ustawienia().ZapiszPrzyZamykaniu();
  TFormaBezdokumentowaPozycjonowana::FormClose();
}

void TFrmPaplankiMain::FormDestroy()
{
  Ustawienia().ZwolnijListy();
  // The view and its adapter go before the tree they show.
  delete TreeView1;
  TreeView1 = nullptr;
  delete Model;
  Model = nullptr;
  WyczyscMenu();
}

void TFrmPaplankiMain::UstawPanel(int numer, const QString &tekst)
{
  StatusBar1->UstawTekstPanelu(numer, tekst);
  // Every status and connection change passes here; the tray shows them too.
  if (m_pulpit)
    m_pulpit->Odswiez();
}

QString TFrmPaplankiMain::TekstPanelu(int numer) const
{
  return StatusBar1->TekstPanelu(numer);
}

void TFrmPaplankiMain::keyPressEvent(QKeyEvent *zdarzenie)
{
  // Keys another control left unhandled (the tree's own come through the event filter).
  if (FormKeyDown(zdarzenie->key())) {
    zdarzenie->accept();
    return;
  }
  TFormaBezdokumentowaPozycjonowana::keyPressEvent(zdarzenie);
}

bool TFrmPaplankiMain::eventFilter(QObject *obiekt, QEvent *zdarzenie)
{
  if (obiekt == TreeView1 && zdarzenie->type() == QEvent::KeyPress && !TreeView1->Edytuje()) {
    // Key preview: the window sees the tree's keys first.
    const int klawisz = static_cast<QKeyEvent *>(zdarzenie)->key();
    if (FormKeyDown(klawisz) || TreeView1KeyPress(klawisz))
      return true;
  } else if (obiekt == StatusBar1 && zdarzenie->type() == QEvent::MouseButtonDblClick) {
    StatusBar1DblClick();
    return true;
  }
  return TFormaBezdokumentowaPozycjonowana::eventFilter(obiekt, zdarzenie);
}
