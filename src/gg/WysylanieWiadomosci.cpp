#include "gg/WysylanieWiadomosci.h"

#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "contacts/Ustawienia.h"
#include "gg/Liczby.h"
#include "gg/Pakiety.h"
#include "gg/Sesja.h"
#include "gg/SesjaPakiety.h"
#include "gg/StronyKodowe.h"
#include "net/Blad.h"

#include <QRandomGenerator>

#include <memory>
#include <utility>

namespace {

// Code page 1250 with the marker after it; a text 1250 cannot hold goes whole after the marker,
// where the peer reads UTF-8.
QByteArray Z1250LubUtf8(const QString &tekst, bool zeZnacznikiem)
{
  if (MiesciSieW1250(tekst)) {
    QByteArray bajty = AnsiToCp1250(tekst);
    if (zeZnacznikiem)
      bajty += ZnacznikTekstu;
    return bajty;
  }
  return ZnacznikTekstu.toByteArray() + AnsiToUtf8(tekst);
}

} // namespace

QByteArray TekstWiadomosci(const QString &tekst, TUzytkownik *adresat)
{
  if (adresat && !adresat->ZnacznikWymieniony) {
    adresat->ZnacznikWymieniony = true;
    return Z1250LubUtf8(tekst, true);
  }
  if (adresat && adresat->RozmowcaZnaZnacznik)
    return AnsiToUtf8(tekst);
  return Z1250LubUtf8(tekst, false);
}

QByteArray CialoWiadomosci(int adresat, quint32 sekwencja, const QByteArray &tekst)
{
  QByteArray cialo;
  cialo.reserve(12 + tekst.size() + 1);
  cialo += IntToLE(adresat);
  cialo += IntToLE(qint32(sekwencja));
  cialo += IntToLE(qint32(TWysylanieWiadomosci::KlasaWiadomosci));
  cialo += tekst;
  cialo += '\0';
  return cialo;
}

quint32 LosujNumerSekwencyjny()
{
  return QRandomGenerator::system()->bounded(quint32(0x7FFFFFFF));
}

TWysylanieWiadomosci::TWysylanieWiadomosci(TSesjaGG &sesja, TDrzewo &drzewo,
                                           TUstawienia &ustawienia, bool &piszeWiadomosc,
                                           TPisanie pisanie, TPytanieONumer pytanieONumer,
                                           TStanZDialogu stanDialogu, TRozwin rozwin)
    : m_sesja(sesja), m_drzewo(drzewo), m_ustawienia(ustawienia), m_piszeWiadomosc(piszeWiadomosc),
      m_pisanie(std::move(pisanie)), m_pytanieONumer(std::move(pytanieONumer)),
      m_stanDialogu(std::move(stanDialogu)), m_rozwin(std::move(rozwin))
{
}

QString TWysylanieWiadomosci::TekstDoNumeru()
{
  return QStringLiteral("wypowiedź do odbiorcy wskazanego numerem");
}

TWezel *TWysylanieWiadomosci::WyslijWiadomosc(TUzytkownik *uzytkownik, int numer, TWezel *wezel)
{
  // Decided once: a connection lost while the dialog is open is not noticed here.
  const bool polaczony = m_sesja.PolaczenieOtwarte();
  // Also decided once, so that a typing notice sent is always taken back.
  const bool informuj = polaczony && m_ustawienia.InformowanieOPisaniu();

  // The dialogs run nested event loops: the node and the contact are held so that neither can
  // vanish under the command.
  const TWskaznikWezla rodzic = wezel;
  std::shared_ptr<TRodzajGalezi> trzymanyUzytkownik;
  if (uzytkownik && uzytkownik->WezelUzytkownika &&
      uzytkownik->WezelUzytkownika->Dane() == uzytkownik)
    trzymanyUzytkownik = uzytkownik->WezelUzytkownika->DaneWspolne();

  m_piszeWiadomosc = true;
  TStanDialogu zapamietany = m_stanDialogu ? m_stanDialogu() : TStanDialogu();
  QDateTime powrot;
  if (zapamietany.stan == 0) {
    // The status dialog has never been shown: restoring its empty choice would announce status
    // 0, so the status in effect now comes back instead.
    zapamietany = {m_sesja.StanWlasny(), m_sesja.OpisWlasny()};
    powrot = m_sesja.CzasPowrotu();
  }
  const auto zakoncz = [&] {
    // Cleared first: a refused status packet must not leave auto-away switched off.
    m_piszeWiadomosc = false;
    if (informuj)
      m_sesja.UstawStan(zapamietany.stan, zapamietany.opis, powrot);
  };

  TWezel *zapisany = nullptr;
  try {
    if (informuj)
      m_sesja.UstawStan(StanGG::DostepnyZOpisem, QStringLiteral("piszę"), QDateTime());

    const QString komentowana = wezel ? wezel->Tekst() : TekstDoNumeru();
    QString tekst;
    if (m_pisanie(komentowana, tekst)) {
      int adresat = numer;
      bool dalej = true;
      if (adresat == 0) {
        QString wpisany = m_ustawienia.OstatniAdresat();
        QString blad;
        // A mistyped number must not cost the written message: the box asks again.
        while ((dalej = m_pytanieONumer(wpisany, blad))) {
          m_ustawienia.UstawOstatniAdresat(wpisany);
          try {
            adresat = StrToInt(wpisany);
            break;
          } catch (const EConvertError &e) {
            blad = e.KomunikatUzytkownika();
          }
        }
      }
      if (dalej) {
        const quint32 sekwencja = LosujNumerSekwencyjny();
        if (polaczony)
          m_sesja.WyslijPakiet(GGReqSendMsg, CialoWiadomosci(adresat, sekwencja,
                                                             TekstWiadomosci(tekst, uzytkownik)));
        zapisany = Zapisz(tekst, adresat, sekwencja, rodzic, uzytkownik);
      }
    }
  } catch (...) {
    zakoncz();
    throw;
  }
  zakoncz();
  return zapisany;
}

TWezel *TWysylanieWiadomosci::Zapisz(const QString &tekst, int adresat, quint32 sekwencja,
                                     TWezel *rodzic, TUzytkownik *uzytkownik)
{
  TWezel *w = m_drzewo.Dodaj(rodzic, tekst);
  w->UstawDane(
      std::make_shared<TWypowiedz>(w,
                                   std::make_unique<TDaneDodatkowe>(-1, adresat, 0, int(sekwencja),
                                                                    QDateTime::currentDateTime()),
                                   tekst));
  w->UstawObrazStanu(ObrazNapisanej);
  if (m_rozwin)
    m_rozwin(w);
  if (uzytkownik)
    uzytkownik->OstatniaWypowiedz = w;
  return w;
}
