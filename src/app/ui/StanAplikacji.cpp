#include "app/ui/StanAplikacji.h"

#include "app/ui/PodgladPomocy.h"

#include <QApplication>
#include <QFileInfo>
#include <QStatusTipEvent>

TStanAplikacji::TStanAplikacji() : QObject(qApp)
{
  // Hints of menus and controls reach the hint handler instead of each window's own status bar.
  qApp->installEventFilter(this);
}

TStanAplikacji &StanAplikacji()
{
  static QPointer<TStanAplikacji> stan;
  if (!stan)
    stan = new TStanAplikacji;
  return *stan;
}

QString TStanAplikacji::Tytul() const
{
  return m_tytul.isEmpty() ? QCoreApplication::applicationName() : m_tytul;
}

void TStanAplikacji::UstawTytul(const QString &tytul)
{
  m_tytul = tytul;
}

void TStanAplikacji::UstawPodpowiedz(const QString &podpowiedz)
{
  m_podpowiedz = podpowiedz;
  if (m_wlascicielPodpowiedzi && m_obslugaPodpowiedzi)
    m_obslugaPodpowiedzi();
}

void TStanAplikacji::UstawObslugePodpowiedzi(QObject *wlasciciel, std::function<void()> obsluga)
{
  m_wlascicielPodpowiedzi = wlasciciel;
  m_obslugaPodpowiedzi = std::move(obsluga);
}

void TStanAplikacji::UstawObslugePomocy(QObject *wlasciciel, std::function<bool(int)> obsluga)
{
  m_wlascicielPomocy = wlasciciel;
  m_obslugaPomocy = std::move(obsluga);
}

void TStanAplikacji::OdlaczObslugi(QObject *wlasciciel)
{
  if (m_wlascicielPodpowiedzi == wlasciciel) {
    m_wlascicielPodpowiedzi = nullptr;
    m_obslugaPodpowiedzi = nullptr;
  }
  if (m_wlascicielPomocy == wlasciciel) {
    m_wlascicielPomocy = nullptr;
    m_obslugaPomocy = nullptr;
  }
}

void TStanAplikacji::PolecaniePomocy(int polecenie)
{
  if (m_wlascicielPomocy && m_obslugaPomocy && m_obslugaPomocy(polecenie))
    return;
  if (polecenie == Pomoc::Zakoncz) {
    if (m_podglad)
      m_podglad->close();
    return;
  }
  if (m_plikPomocy.isEmpty() || !QFileInfo::exists(m_plikPomocy))
    return;
  if (!m_podglad)
    m_podglad = new TPodgladPomocy;
  m_podglad->Pokaz(m_plikPomocy, Tytul());
}

bool TStanAplikacji::eventFilter(QObject *obiekt, QEvent *zdarzenie)
{
  if (zdarzenie->type() == QEvent::StatusTip) {
    UstawPodpowiedz(static_cast<QStatusTipEvent *>(zdarzenie)->tip());
    return true;
  }
  return QObject::eventFilter(obiekt, zdarzenie);
}
