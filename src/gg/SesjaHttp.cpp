// The HTTP connection of the session: the server lookup before each login and the direct
// registration request.

#include "gg/Sesja.h"

#include "contacts/Ustawienia.h"
#include "gg/Dziennik.h"
#include "gg/OknoSesji.h"
#include "gg/SesjaZapytania.h"
#include "gg/StronyKodowe.h"

#include <utility>

namespace {
const QString Komunikacja = QStringLiteral("Komunikacja");
const QString TekstRozlaczenia =
    QStringLiteral("Połączenie z serwerem komunikacyjnym zostało rozłączone");
} // namespace

void TSesjaGG::HasloClick()
{
  m_celHttp = TCelHttp::Rejestracja;
  m_httpSck.SetAddr(m_adresRejestracji);
  m_httpSck.SetPort(m_portHttp);
  UstawPanelPolaczenia(QStringLiteral("Łączenie z serwerem rejestracyjnym..."));
  m_httpSck.Connect();
}

void TSesjaGG::HttpSckSessionConnected(TGniazdo *, quint16 Error)
{
  if (Error != 0 && m_celHttp == TCelHttp::Wyszukiwanie)
    ZapamietajPowod(PowodBledu(Error), m_httpSck.Addr());
  Loguj(Komunikacja, QStringLiteral("HttpSckSessionConnected"));
  UstawPanelPolaczenia(QStringLiteral("Połączenie z serwerem nawiązane"));
  m_httpBufor.clear();
  m_odpowiedzPrzeczytana = false;
  if (m_httpSck.Addr() == m_adresInformacji && m_httpSck.Port() == m_portHttp)
    m_httpSck.SendString(ZapytanieOSerwer(m_numerWlasny, m_ustawienia.NumerOstatniejInformacji(),
                                          m_adresInformacji));
  else if (m_httpSck.Addr() == m_adresRejestracji)
    m_httpSck.SendString(ZapytanieRejestracji(m_adresRejestracji));
}

void TSesjaGG::HttpSckDataAvailable(TGniazdo *, quint16)
{
  char bufor[RozmiarOdczytu];
  const int ile = m_httpSck.Receive(bufor, RozmiarOdczytu);
  if (ile <= 0)
    return;
  if (m_odpowiedzPrzeczytana && m_celHttp == TCelHttp::Wyszukiwanie)
    return; // the connection is on its way out; what still comes is of no use
  const qsizetype przeszukane = m_httpBufor.size();
  m_httpBufor.append(bufor, ile);
  if (m_httpBufor.size() > NajdluzszaOdpowiedzHttp) {
    // No lookup or registration reply is that long: the host is broken or hostile.
    m_httpBufor.clear();
    m_odpowiedzPrzeczytana = true;
    OdpowiedzZbytDluga();
    return;
  }
  // The registration answer is read whole when the server has closed the connection.
  if (m_celHttp != TCelHttp::Wyszukiwanie || m_odpowiedzPrzeczytana ||
      !OdpowiedzKompletna(m_httpBufor, przeszukane))
    return;
  CzytajOdpowiedzSerwera();
}

void TSesjaGG::OdpowiedzZbytDluga()
{
  // Failed like a lookup the socket could not complete: the retry timer takes over, and the
  // closing that follows opens no GG connection.
  m_httpZbytDluga = true;
  HttpSckError(&m_httpSck);
  m_httpSck.Abort();
}

void TSesjaGG::CzytajOdpowiedzSerwera()
{
  // Marked first: the leftover (the system message text) is no reply of its own, however it
  // looks, and a data event delivered while the box below is open must not read it again.
  m_odpowiedzPrzeczytana = true;
  const quint64 polaczenie = m_zamknieciaHttp;
  const TOdpowiedzSerwera odpowiedz = RozbierzOdpowiedzSerwera(m_httpBufor);
  m_ggSck.SetAddr(odpowiedz.Adres);
  m_ggSck.SetPort(odpowiedz.Port);
  if (odpowiedz.Numer != 0 && odpowiedz.Numer > m_ustawienia.NumerOstatniejInformacji()) {
    // Stored before the box is shown, so that a lookup run while it is open does not show the
    // same message again.
    m_ustawienia.UstawNumerOstatniejInformacji(odpowiedz.Numer);
    if (!odpowiedz.Informacja.isEmpty() && m_ustawienia.InformacjeGG())
      m_okno.Display(Cp1250ToAnsi(odpowiedz.Informacja));
  }
  // The server may have closed the connection while the box was open; its closed event has
  // then opened the GG connection already.
  if (polaczenie != m_zamknieciaHttp)
    return;
  UstawPanelPolaczenia(QStringLiteral("Łączenie z serwerem komunikacyjnym..."));
  m_httpSck.Abort();
}

void TSesjaGG::HttpSckSessionClosed(TGniazdo *, quint16)
{
  ++m_zamknieciaHttp;
  Loguj(Komunikacja, QStringLiteral("HttpSckSessionClosed"));
  UstawPanelPolaczenia(TekstRozlaczenia);
  if (std::exchange(m_httpZbytDluga, false)) {
    m_celHttp = TCelHttp::Wyszukiwanie;
    return;
  }
  if (m_celHttp == TCelHttp::Rejestracja) {
    m_celHttp = TCelHttp::Wyszukiwanie;
    PokazWynikRejestracji();
    return;
  }
  m_ggSck.Connect();
}

void TSesjaGG::HttpSckError(TGniazdo *)
{
  Loguj(Komunikacja, QStringLiteral("HttpSckError"));
  UstawPanelPolaczenia(TekstRozlaczenia);
  if (!m_laczenieTmr.isActive())
    m_laczenieTmr.start();
  if (m_celHttp == TCelHttp::Wyszukiwanie) {
    if (PowodBledu(m_httpSck.LastError()) == TPowodRozlaczenia::NieznanaNazwaHosta)
      ZapamietajPowod(TPowodRozlaczenia::NieznanaNazwaHosta, m_httpSck.Addr());
    ZglosRozlaczenie(TPowodRozlaczenia::BrakPolaczenia, m_httpSck.Addr());
  }
}

void TSesjaGG::PokazWynikRejestracji()
{
  const QByteArray tresc = TrescOdpowiedzi(m_httpBufor).trimmed();
  const QString numer = NumerZRejestracji(tresc);
  if (!numer.isNull()) {
    // As after a registration in the account dialog: the log keeps the new account.
    Loguj(QStringLiteral("Hasła"), numer + u';' + QString::fromLatin1(HasloRejestracji));
    m_okno.Display(QStringLiteral("Zarejestrowano numer %1 z hasłem %2")
                       .arg(numer, QString::fromLatin1(HasloRejestracji)));
    return;
  }
  if (tresc.isEmpty())
    m_okno.Display(QStringLiteral("Rejestracja nie powiodła się: brak odpowiedzi serwera"));
  else
    m_okno.Display(QStringLiteral("Rejestracja nie powiodła się: ") + Cp1250ToAnsi(tresc));
}
