#include "program/PulpitGlownegoOkna.h"

#include "contacts/Galezie.h"
#include "contacts/ModelDrzewa.h"
#include "contacts/Rejestr.h"
#include "contacts/ui/DelegatWezla.h"
#include "contacts/ui/Obrazki.h"
#include "contacts/ui/WidokDrzewa.h"
#include "gg/Sesja.h"
#include "gg/SesjaPakiety.h"
#include "program/FrmPaplankiMain.h"
#include "pulpit/LicznikNieprzeczytanych.h"
#include "pulpit/Powiadomienia.h"
#include "pulpit/ui/Zasobnik.h"

#include <QApplication>
#include <QDBusConnection>
#include <QEvent>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolButton>

namespace {

const QString SekcjaUstawien = QStringLiteral("Ustawienia");
const QString KluczPowiadomien = QStringLiteral("Powiadomienia");

} // namespace

TPulpitGlownegoOkna::TPulpitGlownegoOkna(TFrmPaplankiMain &okno, const QDBusConnection &magistrala)
    : m_okno(okno), m_licznik(new TLicznikNieprzeczytanych(okno.Drzewo, this)),
      m_powiadomienia(new TPowiadomienia(magistrala, this))
{
  TZasobnik::TObsluga obsluga;
  obsluga.Polacz = [this] { m_okno.PolaczTB->click(); };
  obsluga.Polaczony = [this] { return m_okno.PolaczWcisniety(); };
  obsluga.Powiadomienia = [this] { return Powiadomienia(); };
  obsluga.UstawPowiadomienia = [this](bool w) { UstawPowiadomienia(w); };
  m_zasobnik = new TZasobnik(okno.Sesja(), okno, std::move(obsluga), this);

  // A burst of messages changes the count thousands of times in one data event: the title and
  // the tray follow once, after it.
  m_odswiezanie.setSingleShot(true);
  m_odswiezanie.setInterval(0);
  connect(&m_odswiezanie, &QTimer::timeout, this, &TPulpitGlownegoOkna::OdswiezTeraz);
  connect(m_licznik, &TLicznikNieprzeczytanych::ZmienionoLiczbe, this,
          &TPulpitGlownegoOkna::Odswiez);
  if (QSettings *rejestr = m_okno.RejestrUstawien())
    m_powiadomieniaWlaczone = CzytajLogiczna(*rejestr, SekcjaUstawien, KluczPowiadomien, true);
  connect(m_licznik, &TLicznikNieprzeczytanych::NowaWiadomosc, this,
          &TPulpitGlownegoOkna::NowaWiadomosc);
  connect(m_powiadomienia, &TPowiadomienia::Odpowiedz, this, &TPulpitGlownegoOkna::Odpowiedz);
  connect(m_powiadomienia, &TPowiadomienia::PokazOkno, this, &TPulpitGlownegoOkna::Pokaz);
  // The window drew the tree's pictures for these when it made the tree.
  m_skalaObrazow = qApp->devicePixelRatio();
  m_ciemneObrazy = CiemneTlo(m_okno.palette());
  OdswiezTeraz();
  OdswiezObrazy();
  m_okno.installEventFilter(this);
}

bool TPulpitGlownegoOkna::eventFilter(QObject *obiekt, QEvent *zdarzenie)
{
  if (obiekt == &m_okno) {
    switch (zdarzenie->type()) {
    case QEvent::PaletteChange:
    case QEvent::ScreenChangeInternal:
    case QEvent::Show:
      OdswiezObrazy();
      break;
    case QEvent::WindowActivate:
      // What the notifications said is in front of the user now.
      m_powiadomienia->ZamknijWszystkie();
      break;
    default:
      break;
    }
  }
  return QObject::eventFilter(obiekt, zdarzenie);
}

void TPulpitGlownegoOkna::OdswiezObrazy()
{
  if (!m_okno.Model || !m_okno.TreeView1)
    return;
  const qreal skala = qMax(qApp->devicePixelRatio(), m_okno.devicePixelRatioF());
  const bool ciemne = CiemneTlo(m_okno.palette());
  if (qFuzzyCompare(skala, m_skalaObrazow) && ciemne == m_ciemneObrazy)
    return;
  m_skalaObrazow = skala;
  m_ciemneObrazy = ciemne;
  m_okno.Model->UstawObrazy(ObrazyWezlow(skala, ciemne));
  m_okno.TreeView1->Delegat()->UstawObrazyStanu(ObrazyStanu(skala, ciemne));
  m_okno.TreeView1->viewport()->update();
}

TPulpitGlownegoOkna::~TPulpitGlownegoOkna() = default;

QString TPulpitGlownegoOkna::Tytul(const QString &nazwa, int nieprzeczytane)
{
  return nieprzeczytane > 0 ? QStringLiteral("(%1) %2").arg(nieprzeczytane).arg(nazwa) : nazwa;
}

bool TPulpitGlownegoOkna::Powiadomienia() const
{
  return m_powiadomieniaWlaczone;
}

void TPulpitGlownegoOkna::UstawPowiadomienia(bool wlaczone)
{
  m_powiadomieniaWlaczone = wlaczone;
  if (QSettings *rejestr = m_okno.RejestrUstawien())
    ZapiszLogiczna(*rejestr, SekcjaUstawien, KluczPowiadomien, wlaczone);
}

void TPulpitGlownegoOkna::Odswiez()
{
  if (!m_odswiezanie.isActive())
    m_odswiezanie.start();
}

void TPulpitGlownegoOkna::OdswiezTeraz()
{
  const QString tytul = Tytul(m_okno.NazwaProduktu(), m_licznik->Liczba());
  if (m_okno.windowTitle() != tytul)
    m_okno.setWindowTitle(tytul);
  const TSesjaGG &sesja = m_okno.Sesja();
  const int indeks = ObrazStanuWlasnego(sesja.StanWlasny(), sesja.Zalogowany());
  // Before the first login the own status has no code yet: to others the user is not available.
  QString stan = NazwaKoduStanu(sesja.StanWlasny() == 0 ? StanGG::Niedostepny : sesja.StanWlasny());
  if (!sesja.OpisWlasny().isEmpty())
    stan += QStringLiteral(": ") + sesja.OpisWlasny();
  const QString podpowiedz =
      m_okno.NazwaProduktu() + u'\n' + stan + u'\n' +
      QStringLiteral("Nieprzeczytane wiadomości: %1").arg(m_licznik->Liczba());
  // Called for every status bar text: the tray is told only what changed.
  if (indeks == m_pokazanyObraz && podpowiedz == m_pokazanaPodpowiedz)
    return;
  m_pokazanyObraz = indeks;
  m_pokazanaPodpowiedz = podpowiedz;
  // Without a tray nobody sees the picture: it is not drawn.
  if (!m_zasobnik->Ikona()->isVisible()) {
    m_zasobnik->Odswiez(QIcon(), podpowiedz);
    return;
  }
  auto obraz = m_obrazyStanu.find(indeks);
  if (obraz == m_obrazyStanu.end()) {
    // Trays ask for 16 to 48 pixels: each size drawn, none enlarged.
    QIcon ikona;
    for (const qreal skala : {1.0, 1.5, 2.0, 3.0})
      ikona.addPixmap(ObrazyWezlow(skala).value(indeks));
    obraz = m_obrazyStanu.insert(indeks, ikona);
  }
  m_zasobnik->Odswiez(*obraz, podpowiedz);
}

QString TPulpitGlownegoOkna::PodpisNadawcy(int nadawca, const TWezel *linia) const
{
  const TWezel *kontakt = m_okno.Drzewo.ZnajdzUzytkownika(nadawca);
  const TUzytkownik *u =
      kontakt ? kontakt->DaneJako<TUzytkownik>() : TDrzewo::UzytkownikWezla(linia);
  return u && !u->Opis.isEmpty() ? u->Opis : QString::number(nadawca);
}

void TPulpitGlownegoOkna::NowaWiadomosc(TWezel *linia)
{
  if (!m_powiadomieniaWlaczone || !m_powiadomienia->Dostepne() || m_okno.isActiveWindow())
    return;
  const auto *wypowiedz = linia->DaneJako<TWypowiedz>();
  if (!wypowiedz)
    return;
  const int nadawca = wypowiedz->DaneDodatkowe().NumerNadawcy;
  m_ostatnie[nadawca] = linia;
  const QString tekst = wypowiedz->Tekst();
  const qsizetype koniec = tekst.indexOf(u'\n');
  QString pierwsza = koniec < 0 ? tekst : tekst.left(koniec);
  if (pierwsza.endsWith(u'\r'))
    pierwsza.chop(1);
  m_powiadomienia->Pokaz(nadawca, PodpisNadawcy(nadawca, linia), pierwsza);
}

void TPulpitGlownegoOkna::Odpowiedz(int nadawca)
{
  const TWskaznikWezla wezel = m_ostatnie[nadawca];
  // Out of the bus's delivery: the compose dialog runs its own loop.
  QTimer::singleShot(0, this, [this, wezel, nadawca] {
    m_zasobnik->PokazOkno();
    // One compose dialog at a time: an answer already being written is left alone.
    if (wezel.isNull() || m_okno.PiszeWiadomosc)
      return;
    m_okno.WyslijWiadomosc(TDrzewo::UzytkownikWezla(wezel), nadawca, wezel);
  });
}

void TPulpitGlownegoOkna::Pokaz(int nadawca)
{
  m_zasobnik->PokazOkno();
  if (TWezel *wezel = m_ostatnie[nadawca])
    m_okno.Zaznacz(wezel);
}
