// The message archive beneath the tree: nothing written or received is lost by closing or
// killing the program.

#include "program/FrmPaplankiMain.h"

#include "app/Komunikaty.h"
#include "app/Lokalizacje.h"
#include "archiwum/Archiwum.h"
#include "archiwum/ArchiwumDrzewa.h"
#include "archiwum/ui/HistoriaFrm.h"
#include "contacts/Galezie.h"

#include <QAction>
#include <QMenu>

#include <QDir>
#include <QFileInfo>

TArchiwum *TFrmPaplankiMain::Archiwum() const
{
  return m_archiwum && m_archiwum->Otwarte() ? m_archiwum.get() : nullptr;
}

QString TFrmPaplankiMain::TekstOczekujacych(int ile)
{
  return QStringLiteral("Wiadomości czekające na wysłanie: %1.\r"
                        "Zostaną wysłane po następnym połączeniu z serwerem.")
      .arg(ile);
}

QString TFrmPaplankiMain::TekstOdlozonegoArchiwum(const QString &plik)
{
  return QStringLiteral("Archiwum wiadomości było uszkodzone. Odłożono je jako plik\r%1\r"
                        "i założono nowe archiwum.")
      .arg(QDir::toNativeSeparators(plik));
}

QString TFrmPaplankiMain::TekstBleduZapisuArchiwum(const QString &plik)
{
  return QStringLiteral("Nie można zapisać archiwum wiadomości\r%1\r"
                        "Wiadomości, których nie zapisano, znikną po zamknięciu programu.")
      .arg(QDir::toNativeSeparators(plik));
}

void TFrmPaplankiMain::OtworzArchiwum()
{
  // A key of the window only: the specified "&Paplanki" menu keeps its items.
  Historia1 = new QAction(QStringLiteral("&Historia"), this);
  Historia1->setObjectName(QStringLiteral("Historia1"));
  Historia1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
  Historia1->setShortcutContext(Qt::WindowShortcut);
  addAction(Historia1);
  connect(Historia1, &QAction::triggered, this, [this] { HistoriaClick(); });

  m_archiwum = std::make_unique<TArchiwum>();
  const QString plik = QDir(KatalogDanych(NazwaProduktu())).filePath(TArchiwum::NazwaPliku());
  if (!m_archiwum->Otworz(plik))
    return;
  m_archiwum->UstawPrzyBledzieZapisu([this] {
    // Once a run: a disk that stays full would otherwise raise a box every turn.
    if (m_bladZapisuZgloszony)
      return;
    m_bladZapisuZgloszony = true;
    PokazKomunikat(TekstBleduZapisuArchiwum(m_archiwum->Sciezka()), QStringLiteral("Błąd"),
                   Komunikat::IkonaBledu);
  });
  m_archiwumDrzewa = std::make_unique<TArchiwumDrzewa>(Drzewo, *m_archiwum);
  m_odbior->UstawPoPotwierdzeniu([this](TWezel *wezel, int sekwencja, int status) {
    if (m_archiwumDrzewa)
      m_archiwumDrzewa->Potwierdzenie(wezel, sekwencja, status);
  });
}

void TFrmPaplankiMain::PrzywrocZArchiwum()
{
  if (!m_archiwumDrzewa)
    return;
  m_archiwumDrzewa->Przywroc([this](TWezel *wezel) { UczynWidocznym(wezel); });
}

void TFrmPaplankiMain::PowiadomOArchiwum()
{
  if (m_archiwumZgloszone || !m_archiwum)
    return;
  if (m_archiwum->Otwarte() && m_archiwum->OdlozonyPlik().isEmpty())
    return;
  m_archiwumZgloszone = true;
  QString tekst;
  if (m_archiwum->Otwarte())
    tekst = TekstOdlozonegoArchiwum(m_archiwum->OdlozonyPlik());
  else if (m_archiwum->Zajete())
    tekst = QStringLiteral("Archiwum wiadomości jest używane przez inną uruchomioną kopię "
                           "programu.\rWiadomości z tej kopii nie będą zachowywane po jej "
                           "zamknięciu.");
  else
    tekst = QStringLiteral("Nie można otworzyć archiwum wiadomości\r%1\r"
                           "Wiadomości nie będą zachowywane po zamknięciu programu.")
                .arg(QDir::toNativeSeparators(m_archiwum->Sciezka()));
  PokazKomunikat(tekst, QStringLiteral("Ostrzeżenie"), Komunikat::IkonaOstrzezenia);
}

void TFrmPaplankiMain::PowiadomOOczekujacych()
{
  if (!Archiwum())
    return;
  const int ile = TArchiwumDrzewa::LiczbaOczekujacych(Drzewo);
  if (ile > 0)
    PokazKomunikat(TekstOczekujacych(ile), QStringLiteral("Informacja"),
                   Komunikat::IkonaInformacji);
}

THistoriaFrm *TFrmPaplankiMain::HistoriaFrm() const
{
  return m_historiaFrm;
}

void TFrmPaplankiMain::HistoriaClick()
{
  if (!Archiwum())
    return;
  int numer = 0;
  if (TWezel *cel = WybranyWezel ? WybranyWezel.get() : ZaznaczonyWezel()) {
    if (const TWypowiedz *w = cel->DaneJako<TWypowiedz>())
      numer = w->DaneDodatkowe().NumerNadawcy;
    else if (const TUzytkownik *u = TDrzewo::UzytkownikWezla(cel))
      numer = u->Numer();
  }
  if (!m_historiaFrm)
    m_historiaFrm = new THistoriaFrm(*m_archiwum, this, NazwaProduktu());
  // What this run wrote is in the file before the window reads it.
  m_archiwum->Zaczekaj();
  m_historiaFrm->Pokaz(numer);
}

void TFrmPaplankiMain::WstrzymajOdczytWArchiwum(bool wstrzymaj)
{
  if (m_archiwumDrzewa)
    m_archiwumDrzewa->WstrzymajOdczyt(wstrzymaj);
}

void TFrmPaplankiMain::ZamknijArchiwum()
{
  if (m_odbior)
    m_odbior->UstawPoPotwierdzeniu({});
  delete m_historiaFrm; // it reads the archive
  m_archiwumDrzewa.reset();
  m_archiwum.reset(); // commits what is queued
}
