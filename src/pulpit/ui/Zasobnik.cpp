#include "pulpit/ui/Zasobnik.h"

#include "contacts/Stany.h"
#include "gg/Sesja.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

TZasobnik::TZasobnik(TSesjaGG &sesja, QWidget &okno, TObsluga obsluga, QObject *rodzic)
    : QObject(rodzic), m_sesja(sesja), m_okno(okno), m_obsluga(std::move(obsluga)),
      m_ikona(new QSystemTrayIcon(this)), m_menu(new QMenu)
{
  m_menu->setObjectName(QStringLiteral("ZasobnikPM"));
  auto *grupa = new QActionGroup(m_menu);
  for (const TOpisStanu &p : TabelaStanow) {
    QAction *a = m_menu->addAction(QString::fromUtf16(p.nazwa));
    a->setCheckable(true);
    grupa->addAction(a);
    const quint32 stan = p.kod;
    connect(a, &QAction::triggered, this, [this, stan] { WybierzStan(stan); });
    m_stany << a;
  }
  m_menu->addSeparator();
  m_polacz = m_menu->addAction(QStringLiteral("Połącz"));
  m_polacz->setCheckable(true);
  connect(m_polacz, &QAction::triggered, this, [this] {
    if (m_obsluga.Polacz)
      m_obsluga.Polacz();
  });
  m_powiadomienia = m_menu->addAction(QStringLiteral("Powiadomienia"));
  m_powiadomienia->setCheckable(true);
  connect(m_powiadomienia, &QAction::triggered, this, [this](bool wlaczone) {
    if (m_obsluga.UstawPowiadomienia)
      m_obsluga.UstawPowiadomienia(wlaczone);
  });
  m_pokazOkno = m_menu->addAction(QStringLiteral("Pokaż okno"));
  connect(m_pokazOkno, &QAction::triggered, this, &TZasobnik::PokazOkno);
  m_menu->addSeparator();
  m_zakoncz = m_menu->addAction(QStringLiteral("Zakończ"));
  // The window's own closing: the unread check still asks.
  connect(m_zakoncz, &QAction::triggered, &m_okno, [this] {
    PokazOkno();
    m_okno.close();
  });
  connect(m_menu, &QMenu::aboutToShow, this, &TZasobnik::PrzedOtwarciemMenu);
  PrzedOtwarciemMenu();

  m_ikona->setContextMenu(m_menu);
  connect(m_ikona, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
    if (r == QSystemTrayIcon::Trigger)
      Kliknieto();
  });
  if (QSystemTrayIcon::isSystemTrayAvailable()) {
    // A window hidden to the tray, or a dialog closed while it is hidden, must not end the run;
    // closing the main window still does.
    QApplication::setQuitOnLastWindowClosed(false);
    m_ikona->show();
  }
}

TZasobnik::~TZasobnik()
{
  m_ikona->hide();
  delete m_menu;
}

void TZasobnik::Odswiez(const QIcon &obraz, const QString &podpowiedz)
{
  m_ikona->setIcon(obraz);
  m_ikona->setToolTip(podpowiedz);
}

void TZasobnik::PrzedOtwarciemMenu()
{
  const quint32 biezacy = StanBezOpisu(m_sesja.StanWlasny());
  for (int i = 0; i < m_stany.size(); ++i)
    m_stany[i]->setChecked(TabelaStanow[size_t(i)].kod == biezacy);
  m_polacz->setChecked(m_obsluga.Polaczony && m_obsluga.Polaczony());
  m_powiadomienia->setChecked(m_obsluga.Powiadomienia && m_obsluga.Powiadomienia());
}

void TZasobnik::WybierzStan(quint32 stan)
{
  // Description, return time and the friends-only bit stay as the user last set them.
  const quint32 przyjaciele = m_sesja.StanWlasny() & StanGG::TylkoDlaPrzyjaciol;
  m_sesja.UstawStan(stan | przyjaciele, m_sesja.OpisWlasny(), m_sesja.CzasPowrotu());
  PrzedOtwarciemMenu();
}

void TZasobnik::Kliknieto()
{
  if (m_okno.isVisible() && !m_okno.isMinimized() && m_okno.isActiveWindow()) {
    m_okno.hide();
    return;
  }
  PokazOkno();
}

void TZasobnik::PokazOkno()
{
  if (m_okno.isMinimized())
    m_okno.showNormal();
  else
    m_okno.show();
  m_okno.raise();
  m_okno.activateWindow();
}
