// Welcome, login and the work right after it: the notify list and the resending of messages.

#include "gg/Sesja.h"

#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "contacts/Sledzeni.h"
#include "contacts/Ustawienia.h"
#include "gg/Liczby.h"
#include "gg/OknoSesji.h"
#include "gg/Pakiety.h"
#include "gg/SesjaPakiety.h"
#include "gg/StronyKodowe.h"

void TSesjaGG::ObsluzPowitanie(const QByteArray &cialo)
{
  // A seed made up from a short body would only earn a refused login: the packet is dropped.
  if (cialo.size() < 4) {
    Loguj(QStringLiteral("Błędne paczki"),
          QStringLiteral("%1 %2 %3")
              .arg(QString::number(GGAnsWelcome, 16).toUpper(), QString::number(cialo.size()),
                   EscapeControls(cialo)));
    return;
  }
  m_ziarno = quint32(LEToInt(cialo));
  // The login always announces invisible; description and return time stay for later.
  m_stanWlasny = StanGG::Niewidoczny;
  WyslijPakiet(GGReqLogin60, RekordLogowania(m_numerWlasny, m_ziarno, m_hasloWlasne, m_stanWlasny));
}

void TSesjaGG::ObsluzZalogowanie()
{
  // A send refused or failing on the way closes the connection from inside the call; what
  // follows would then report a connection that is gone.
  const quint64 polaczenie = m_zamknieciaGG;
  const auto trwa = [&] { return polaczenie == m_zamknieciaGG && m_ggSck.State() == gsConnected; };

  m_zalogowany = true;
  if (TSledzeni *baza = m_baza ? m_baza() : nullptr)
    baza->PoZalogowaniu();
  if (!trwa())
    return;
  WyslijListeKontaktow();
  if (!trwa())
    return;
  PonowNiewyslane();
  if (!trwa())
    return;
  UstawPanelPolaczenia(QStringLiteral("Połączony z serwerem"));
  if (!m_pingTmr.isActive())
    m_pingTmr.start();
  m_ostatniPing = m_zegar();
  m_powod = TPowodRozlaczenia::Zalogowano;
  m_hostPowodu.clear();
  m_okno.ZmienionoPolaczenie(m_powod, QString());
}

void TSesjaGG::ObsluzOdmoweLogowania()
{
  // Nothing more: the reconnection follows when the server closes the connection.
  m_zalogowany = false;
  UstawPanelPolaczenia(QStringLiteral("Połączenie nieudane"));
  // Told at once: the server may keep the connection open for a while after refusing.
  ZglosRozlaczenie(TPowodRozlaczenia::OdmowaLogowania, m_ggSck.Addr());
}

void TSesjaGG::WyslijListeKontaktow()
{
  ZbudujListeKontaktow(m_drzewo, m_ustawienia.ListaBlokowanych(),
                       [this](qint32 typ, const QByteArray &cialo) { WyslijPakiet(typ, cialo); });
}

void TSesjaGG::PonowNiewyslane()
{
  for (TWezel *wezel = m_drzewo.Pierwszy(); wezel; wezel = wezel->Nastepny()) {
    const TRodzajGalezi *dane = wezel->Dane();
    if (!dane || dane->Rodzaj() != TRodzajWezla::Wypowiedz)
      continue;
    const auto &wypowiedz = static_cast<const TWypowiedz &>(*dane);
    if (CzekaNaPonowienie(wypowiedz))
      WyslijPakiet(GGReqSendMsg, CialoPonowienia(wypowiedz));
  }
}
