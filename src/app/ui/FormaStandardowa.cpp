#include "app/ui/FormaStandardowa.h"

#include "app/Autor.h"
#include "app/Sciezki.h"
#include "app/Teksty.h"
#include "app/Wersja.h"
#include "app/ui/ObrazWyjscia.h"
#include "app/ui/Powloka.h"
#include "app/ui/StanAplikacji.h"
#include "net/Pobieranie.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <exception>

TFormaStandardowa *FormaStandardowa = nullptr;

TFormaStandardowa::TFormaStandardowa(QWidget *rodzic) : TFormaStandardowa(QList<int>(), rodzic) {}

TFormaStandardowa::TFormaStandardowa(const QList<int> &szerokosciPaneli, QWidget *rodzic)
    : QMainWindow(rodzic)
{
  ZbudujSkladniki(szerokosciPaneli);
  FormCreate();
}

TFormaStandardowa::~TFormaStandardowa()
{
  // Menus torn down with the window still send hints; none may reach this half-gone frame.
  StanAplikacji().OdlaczObslugi(this);
  FormDestroy();
}

void TFormaStandardowa::ZbudujSkladniki(const QList<int> &szerokosciPaneli)
{
  resize(544, 375);

  ZbudujPasekStanu(szerokosciPaneli);
  ZbudujNarzedzia();
  ZbudujMenu();
}

void TFormaStandardowa::ZbudujPasekStanu(const QList<int> &szerokosciPaneli)
{
  StatusBar1 = new TPasekStanu(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  for (qsizetype i = 0; i < szerokosciPaneli.size(); ++i)
    StatusBar1->DodajPanel(szerokosciPaneli[i], i + 1 == szerokosciPaneli.size());
  StatusBar1->UstawTrybProsty(szerokosciPaneli.isEmpty());
  setStatusBar(StatusBar1);
}

void TFormaStandardowa::ZbudujNarzedzia()
{
  // The four toolbar areas of the window are the docks; the toolbar starts in the top one.
  MainToolbar = new QToolBar(QStringLiteral("Main"), this);
  MainToolbar->setObjectName(QStringLiteral("MainToolbar"));
  MainToolbar->toggleViewAction()->setEnabled(false);
  addToolBar(Qt::TopToolBarArea, MainToolbar);
  ExitBtn = new QToolButton(MainToolbar);
  ExitBtn->setObjectName(QStringLiteral("ExitBtn"));
  ExitBtn->setIcon(IkonaWyjscia());
  ExitBtn->setText(QStringLiteral("Zamknij"));
  ExitBtn->setToolTip(QStringLiteral("Zamknij"));
  ExitBtn->setToolButtonStyle(Qt::ToolButtonIconOnly);
  MainToolbar->addWidget(ExitBtn);
  connect(ExitBtn, &QToolButton::clicked, this, &TFormaStandardowa::FileExitItemClick);
}

void TFormaStandardowa::ZbudujMenu()
{
  MainMenu = menuBar();
  MainMenu->setObjectName(QStringLiteral("MainMenu"));

  const auto polecenie = [this](QMenu *menu, const char *nazwa, const QString &tytul,
                                const QString &podpowiedz, const QKeySequence &skrot,
                                void (TFormaStandardowa::*obsluga)()) {
    QAction *a = menu->addAction(tytul);
    a->setObjectName(QLatin1String(nazwa));
    a->setStatusTip(podpowiedz);
    a->setShortcut(skrot);
    connect(a, &QAction::triggered, this, obsluga);
    return a;
  };
  const auto separator = [](QMenu *menu, const char *nazwa) {
    QAction *a = menu->addSeparator();
    a->setObjectName(QLatin1String(nazwa));
    return a;
  };

  FileMenu = MainMenu->addMenu(QStringLiteral("&?"));
  FileMenu->setObjectName(QStringLiteral("FileMenu"));
  FileMenu->menuAction()->setStatusTip(QStringLiteral("Instalowanie nowego oprogramowania"));
  N3 = separator(FileMenu, "N3");
  FileExitItem =
      polecenie(FileMenu, "FileExitItem", QStringLiteral("&Zamknij"), QStringLiteral("Zamknięcie"),
                QKeySequence(Qt::ALT | Qt::Key_X), &TFormaStandardowa::FileExitItemClick);

  Help1 = MainMenu->addMenu(QStringLiteral("Pomo&c"));
  Help1->setObjectName(QStringLiteral("Help1"));
  Help1->menuAction()->setStatusTip(QStringLiteral("Informacje pomocnicze"));
  Contents1 = polecenie(Help1, "Contents1", QStringLiteral("Tematy &Pomocy"),
                        QStringLiteral("Pomoc główna"), QKeySequence(Qt::Key_F1),
                        &TFormaStandardowa::Contents1Click);
  Temmenu1 = polecenie(Help1, "Temmenu1", QStringLiteral("Użycie Pomocy"),
                       QStringLiteral("Informacje o użyciu pomocy"), QKeySequence(),
                       &TFormaStandardowa::Temmenu1Click);
  N4 = separator(Help1, "N4");
  Telefon1 = polecenie(Help1, "Telefon1", QStringLiteral("&Telefon"),
                       QStringLiteral("Wykręcenie numeru telefonu do autora"), QKeySequence(),
                       &TFormaStandardowa::Telefon1Click);
  Poczta1 = polecenie(Help1, "Poczta1", QStringLiteral("Poczta"),
                      QStringLiteral("Wysłanie poczty elektronicznej do autora"), QKeySequence(),
                      &TFormaStandardowa::Poczta1Click);
  Hipertekst1 = polecenie(Help1, "Hipertekst1", QStringLiteral("Hipertekst"),
                          QStringLiteral("Podgląd strony hipertekstowej autora"), QKeySequence(),
                          &TFormaStandardowa::Hipertekst1Click);
  N6 = separator(Help1, "N6");
  Uaktualnienie1 = polecenie(Help1, "Uaktualnienie1", QStringLiteral("&Uaktualnienie"),
                             QStringLiteral("Uaktualnienie z internetu"), QKeySequence(),
                             &TFormaStandardowa::Uaktualnienie1Click);
  N5 = separator(Help1, "N5");
  AboutItem =
      polecenie(Help1, "AboutItem", QStringLiteral("Windows - &informacje"), QString(),
                QKeySequence(Qt::CTRL | Qt::Key_Return), &TFormaStandardowa::AboutItemClick);
}

void TFormaStandardowa::FormCreate()
{
  CzytajWersje(SciezkaProgramu(), m_blokWersji, m_nazwaProduktu, m_adresProduktu, m_prawaAutorskie,
               m_wersjaProduktu);

  TStanAplikacji &aplikacja = StanAplikacji();
  aplikacja.UstawTytul(m_nazwaProduktu);
  setWindowTitle(m_nazwaProduktu);

  aplikacja.UstawObslugePodpowiedzi(this, [this] { PokazOpis(); });
  PokazOpis();

  AboutItem->setStatusTip(Sformatuj(TekstOProgramie, m_nazwaProduktu));

  const QString pomocHtml = NazwaPlikuPomocy(SciezkaProgramu(), QStringLiteral(".html"));
  aplikacja.UstawPlikPomocy(pomocHtml);
  if (QFileInfo::exists(pomocHtml)) {
    aplikacja.UstawObslugePomocy(this, [this](int polecenie) { return PomocHtml(polecenie); });
  } else {
    const QString pomocTekstowa = NazwaPlikuPomocy(SciezkaProgramu(), QStringLiteral(".txt"));
    aplikacja.UstawPlikPomocy(pomocTekstowa);
    if (!QFileInfo::exists(pomocTekstowa)) {
      Contents1->setEnabled(false);
      aplikacja.UstawPlikPomocy(QString());
    }
  }

  if (m_adresProduktu.isEmpty())
    Uaktualnienie1->setEnabled(false);

  m_plikZachowany.clear();

  PobierzPlik(AdresWersji(SciezkaProgramu(), AdresWitryny()));
}

void TFormaStandardowa::FormDestroy()
{
  if (m_pobieranie) {
    // A check still running leaves no half-written file behind.
    delete m_pobieranie;
    m_pobieranie = nullptr;
    QFile::remove(m_plikPobierany);
    m_plikPobierany.clear();
  }
  if (!m_plikZachowany.isEmpty()) {
    QFile::remove(m_plikZachowany);
    m_plikZachowany.clear();
  }
  ZwolnijWersje(m_blokWersji);
}

void TFormaStandardowa::FormClose()
{
  StanAplikacji().PolecaniePomocy(Pomoc::Zakoncz);
}

void TFormaStandardowa::closeEvent(QCloseEvent *zdarzenie)
{
  FormClose();
  QMainWindow::closeEvent(zdarzenie);
  if (zdarzenie->isAccepted())
    emit Zamknieto();
}

int TFormaStandardowa::PokazKomunikat(const QString &tekst, const QString &naglowek, int styl)
{
  return PokazKomunikatProgramu(this, m_nazwaProduktu, tekst, styl, naglowek);
}

void TFormaStandardowa::PokazOpis(QObject *)
{
  const QString podpowiedz = StanAplikacji().Podpowiedz();
  StatusBar1->UstawTekstProsty(podpowiedz.isEmpty() ? m_prawaAutorskie : podpowiedz);
}

void TFormaStandardowa::PobierzPlik(const QString &url)
{
  m_adresPobierania = url;
  m_plikPobierany = NowyPlikTymczasowy();
  m_sprawdzanieTrwa = true;
  if (m_plikPobierany.isEmpty()) {
    PobieranieZakonczone(false);
    return;
  }
  m_pobieranie = new TPobieranieWTle(
      url, m_plikPobierany, LimitPobieraniaMs,
      [this](bool udane) {
        m_pobieranie->deleteLater();
        m_pobieranie = nullptr;
        PobieranieZakonczone(udane);
      },
      this);
}

void TFormaStandardowa::PobieranieZakonczone(bool udane)
{
  if (!udane) {
    // Nothing of a failed download is of use.
    if (!m_plikPobierany.isEmpty())
      QFile::remove(m_plikPobierany);
    m_plikPobierany.clear();
    m_sprawdzanieTrwa = false;
    return;
  }
  if (!m_adresPobierania.endsWith(QStringLiteral(".wersja"), Qt::CaseInsensitive)) {
    m_plikZachowany = m_plikPobierany;
    m_sprawdzanieTrwa = false;
    return;
  }

  const TNumerWersji wlasna = WersjaPliku(SciezkaProgramu());
  const TNumerWersji opublikowana = CzytajPlikWersji(m_plikPobierany);
  QFile::remove(m_plikPobierany);
  m_plikPobierany.clear();

  if (PorownajWersje(opublikowana.Starszy, opublikowana.Mlodszy, wlasna.Starszy, wlasna.Mlodszy) >
      0) {
    const QString tekst = TekstNowaWersja.toString();
    if (StatusBar1->TrybProsty()) {
      StatusBar1->UstawTekstProsty(tekst);
    } else {
      // The box now opens on a shown window, whose user may close it meanwhile.
      QPointer<TFormaStandardowa> zyje(this);
      try {
        PokazKomunikat(tekst, TekstInformacjaONowejWersji.toString(), Komunikat::IkonaInformacji);
      } catch (const std::exception &) {
        if (zyje)
          PokazKomunikat(tekst, TekstInformacja.toString(), Komunikat::IkonaInformacji);
      }
      if (!zyje)
        return;
    }
  }
  PobierzPlik(AdresLicznika() + QStringLiteral("Art123"));
}

bool TFormaStandardowa::PomocHtml(int polecenie)
{
  // A browser window is not ours to close; every other command shows the help file.
  if (polecenie != Pomoc::Zakoncz)
    QDesktopServices::openUrl(QUrl::fromLocalFile(StanAplikacji().PlikPomocy()));
  return true;
}

void TFormaStandardowa::FileExitItemClick()
{
  close();
}

void TFormaStandardowa::Contents1Click()
{
  StanAplikacji().PolecaniePomocy(Pomoc::Spis);
}

void TFormaStandardowa::Temmenu1Click()
{
  StanAplikacji().PolecaniePomocy(Pomoc::OPomocy);
}

void TFormaStandardowa::AboutItemClick()
{
  PokazOProgramie(this, m_nazwaProduktu, m_prawaAutorskie, m_wersjaProduktu);
}

void TFormaStandardowa::Telefon1Click()
{
  ZadzwonDoAutora(QLatin1String(NazwaAutora), m_nazwaProduktu);
}

void TFormaStandardowa::Poczta1Click()
{
  WyslijPoczteDoAutora(this, m_nazwaProduktu);
}

void TFormaStandardowa::Hipertekst1Click()
{
  OtworzStroneAutora(this, m_nazwaProduktu);
}

void TFormaStandardowa::Uaktualnienie1Click()
{
  OtworzAdres(this, m_nazwaProduktu, m_adresProduktu);
}
