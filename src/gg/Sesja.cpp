#include "gg/Sesja.h"

#include "contacts/Drzewo.h"
#include "contacts/Sledzeni.h"
#include "contacts/Ustawienia.h"
#include "gg/Dziennik.h"
#include "gg/Liczby.h"
#include "gg/OknoSesji.h"
#include "gg/Pakiety.h"
#include "gg/SerwerAlternatywny.h"
#include "gg/SesjaPakiety.h"
#include "gg/WysylaniePakietow.h"
#include "net/KodyBledow.h"

#include <chrono>
#include <utility>

namespace {

const QString Komunikacja = QStringLiteral("Komunikacja");

quint32 ZegarMonotoniczny()
{
  const auto teraz = std::chrono::steady_clock::now().time_since_epoch();
  return quint32(std::chrono::duration_cast<std::chrono::milliseconds>(teraz).count());
}

// A timer switched on stays as it is: switching on one that runs must not push its tick back.
void Wlacz(QTimer &zegar)
{
  if (!zegar.isActive())
    zegar.start();
}

} // namespace

TSesjaGG::TSesjaGG(TDrzewo &drzewo, TUstawienia &ustawienia, TDziennik &dziennik, TOknoSesji &okno,
                   TBazaKontaktow baza, TZegar zegar, QObject *rodzic)
    : QObject(rodzic), m_drzewo(drzewo), m_ustawienia(ustawienia), m_dziennik(dziennik),
      m_okno(okno), m_baza(std::move(baza)),
      m_zegar(zegar ? std::move(zegar) : TZegar(&ZegarMonotoniczny))
{
  m_ggSck.OnSessionConnected = [this](TGniazdo *s, quint16 e) { GgSckSessionConnected(s, e); };
  m_ggSck.OnDataAvailable = [this](TGniazdo *s, quint16 e) { GgSckDataAvailable(s, e); };
  m_ggSck.OnSessionClosed = [this](TGniazdo *s, quint16 e) { GgSckSessionClosed(s, e); };
  m_ggSck.OnError = [this](TGniazdo *s) { GgSckError(s); };
  m_ggSck.OnBgException = [this](TGniazdo *s, const std::exception &e, bool &zamknij) {
    AnySckBgException(s, e, zamknij);
  };
  m_httpSck.OnSessionConnected = [this](TGniazdo *s, quint16 e) { HttpSckSessionConnected(s, e); };
  m_httpSck.OnDataAvailable = [this](TGniazdo *s, quint16 e) { HttpSckDataAvailable(s, e); };
  m_httpSck.OnSessionClosed = [this](TGniazdo *s, quint16 e) { HttpSckSessionClosed(s, e); };
  m_httpSck.OnError = [this](TGniazdo *s) { HttpSckError(s); };
  m_httpSck.OnBgException = m_ggSck.OnBgException;

  m_odbior.UstawDyspozytor([this](qint32 typ, qint32 dlugosc, const QByteArray &cialo) {
    ObsluzPakiet(typ, dlugosc, cialo);
  });
  m_odbior.UstawBlednyStrumien(
      [this](qint32 typ, quint32 dlugosc) { BlednyStrumien(typ, dlugosc); });

  m_pingTmr.setInterval(InterwalPingu);
  m_laczenieTmr.setInterval(InterwalLaczenia);
  connect(&m_pingTmr, &QTimer::timeout, this, [this] { PingTmrTimer(); });
  connect(&m_laczenieTmr, &QTimer::timeout, this, [this] { LaczenieTmrTimer(); });

  UstawSerwerAlternatywny(m_ustawienia.SerwerAlternatywny());
}

// The sockets close quietly on destruction, without calling the handlers.
TSesjaGG::~TSesjaGG() = default;

void TSesjaGG::Loguj(const QString &kategoria, const QString &tekst)
{
  m_dziennik.Loguj(kategoria, tekst);
}

void TSesjaGG::UstawPanelPolaczenia(const QString &tekst)
{
  m_okno.UstawTekstPanelu(TOknoSesji::PanelPolaczenia, tekst);
}

TPowodRozlaczenia TSesjaGG::PowodBledu(int kod)
{
  switch (kod) {
  case KodBledu::WSAHOST_NOT_FOUND:
  case KodBledu::WSATRY_AGAIN:
  case KodBledu::WSANO_RECOVERY:
  case KodBledu::WSANO_DATA:
    return TPowodRozlaczenia::NieznanaNazwaHosta;
  case KodBledu::WSAECONNREFUSED:
    return TPowodRozlaczenia::SerwerOdmowil;
  default:
    return TPowodRozlaczenia::BrakPolaczenia;
  }
}

void TSesjaGG::ZapamietajPowod(TPowodRozlaczenia powod, const QString &host)
{
  if (m_powod != TPowodRozlaczenia::Zalogowano)
    return;
  m_powod = powod;
  m_hostPowodu = host;
}

void TSesjaGG::ZglosRozlaczenie(TPowodRozlaczenia domyslny, const QString &host)
{
  ZapamietajPowod(domyslny, host);
  m_okno.ZmienionoPolaczenie(m_powod, m_hostPowodu);
}

void TSesjaGG::Start(int numer, const QString &haslo)
{
  m_numerWlasny = numer;
  m_hasloWlasne = haslo;
  if (m_okno.PolaczWcisniety())
    Polacz();
}

void TSesjaGG::UstawKonto(int numer, const QString &haslo)
{
  m_numerWlasny = numer;
  m_hasloWlasne = haslo;
}

void TSesjaGG::Polacz()
{
  m_zalogowany = false;
  m_powod = TPowodRozlaczenia::Zalogowano;
  m_hostPowodu.clear();
  m_celHttp = TCelHttp::Wyszukiwanie;
  m_httpSck.SetAddr(m_adresInformacji);
  m_httpSck.SetPort(m_portHttp);
  UstawPanelPolaczenia(QStringLiteral("Pobieranie adresu serwera komunikacyjnego..."));
  m_httpSck.Connect();
}

void TSesjaGG::PolaczTBClick()
{
  const bool wcisniety = m_okno.PolaczWcisniety();
  m_ustawienia.UstawPrzylaczaj(wcisniety);
  if (wcisniety)
    Polacz();
  else
    UstawStan(StanGG::Niedostepny, QString(), QDateTime());
}

bool TSesjaGG::PolaczTeraz()
{
  if (!m_okno.PolaczWcisniety() || m_httpSck.State() != gsClosed || m_ggSck.State() != gsClosed)
    return false;
  m_laczenieTmr.stop();
  Polacz();
  return true;
}

int TSesjaGG::WyslijPakiet(qint32 typ, const QByteArray &cialo)
{
  return ::WyslijPakiet(m_ggSck, typ, cialo);
}

void TSesjaGG::PolaczZSerwerem(const QString &adres, const QString &port)
{
  m_ggSck.SetAddr(adres);
  m_ggSck.SetPort(port);
  m_ggSck.Connect();
}

void TSesjaGG::ZamknijPolaczenie()
{
  m_ggSck.Close();
}

void TSesjaGG::PrzerwijPolaczenie()
{
  m_ggSck.Abort();
}

void TSesjaGG::WstrzymajLaczenie()
{
  m_laczenieTmr.stop();
}

void TSesjaGG::GgSckSessionConnected(TGniazdo *, quint16 Error)
{
  // Not examined for the panel text; it only says why the closed event that follows came.
  if (Error != 0)
    ZapamietajPowod(PowodBledu(Error), m_ggSck.Addr());
  Loguj(Komunikacja, QStringLiteral("GgSckSessionConnected"));
  UstawPanelPolaczenia(QStringLiteral("Połączenie z serwerem nawiązane"));
  m_odbior.Wyczysc();
}

void TSesjaGG::GgSckDataAvailable(TGniazdo *, quint16)
{
  char bufor[RozmiarOdczytu];
  const int ile = m_ggSck.Receive(bufor, RozmiarOdczytu);
  m_odbior.Odebrano(bufor, ile);
}

void TSesjaGG::BlednyStrumien(qint32 typ, quint32 dlugosc)
{
  // No packet is that long: the stream is out of step, and only a new connection mends it.
  Loguj(QStringLiteral("Błędne paczki"),
        QStringLiteral("%1 %2").arg(QString::number(quint32(typ), 16).toUpper()).arg(dlugosc));
  m_ggSck.Abort();
}

void TSesjaGG::GgSckSessionClosed(TGniazdo *, quint16)
{
  ++m_zamknieciaGG;
  Loguj(Komunikacja, QStringLiteral("GgSckSessionClosed"));
  UstawPanelPolaczenia(QStringLiteral("Połączenie z serwerem komunikacyjnym zostało rozłączone"));
  m_drzewo.ZastosujStanWszystkim(StanGG::Niedostepny);
  m_pingTmr.stop();
  Wlacz(m_laczenieTmr);
  ZglosRozlaczenie(TPowodRozlaczenia::ZerwanePolaczenie, m_ggSck.Addr());
}

void TSesjaGG::GgSckError(TGniazdo *)
{
  Loguj(Komunikacja, QStringLiteral("GgSckError"));
  UstawPanelPolaczenia(QStringLiteral("Połączenie z serwerem komunikacyjnym zostało rozłączone"));
  Wlacz(m_laczenieTmr);
  if (PowodBledu(m_ggSck.LastError()) == TPowodRozlaczenia::NieznanaNazwaHosta)
    ZapamietajPowod(TPowodRozlaczenia::NieznanaNazwaHosta, m_ggSck.Addr());
  ZglosRozlaczenie(TPowodRozlaczenia::ZerwanePolaczenie, m_ggSck.Addr());
}

void TSesjaGG::AnySckBgException(TGniazdo *, const std::exception &, bool &)
{
  // The socket's own reaction (closing the connection) stays.
  Loguj(Komunikacja, QStringLiteral("AnySckBgException"));
}

void TSesjaGG::ObsluzPakiet(qint32 typ, qint32 dlugosc, const QByteArray &cialo)
{
  switch (typ) {
  case GGAnsWelcome:
    ObsluzPowitanie(cialo);
    break;
  case GGAnsLoginOk:
    ObsluzZalogowanie();
    break;
  case GGAnsLoginFailed:
    ObsluzOdmoweLogowania();
    break;
  default:
    if (m_innePakiety)
      m_innePakiety(typ, dlugosc, cialo);
    break;
  }
}

void TSesjaGG::PingTmrTimer()
{
  // Unsigned 32-bit difference: right across a wrap of the tick count.
  if (quint32(m_zegar() - m_ostatniPing) > OdstepPingu)
    WyslijPing();
}

void TSesjaGG::WyslijPing()
{
  WyslijPakiet(GGReqPing, QByteArray());
  m_ostatniPing = m_zegar();
}

void TSesjaGG::LaczenieTmrTimer()
{
  m_laczenieTmr.stop();
  if (m_okno.PolaczWcisniety())
    Polacz();
}

void TSesjaGG::UstawSerwerAlternatywny(bool alternatywny)
{
  if (alternatywny) {
    const TSerwerAlternatywny s = SerwerAlternatywny(m_ustawienia);
    m_adresInformacji = s.AdresInformacji;
    m_adresRejestracji = s.AdresRejestracji;
    if (s.PortZUstawien) {
      m_portHttp = s.Port;
      m_portZUstawien = true;
    }
  } else {
    m_adresInformacji = QStringLiteral("appmsg.gadu-gadu.pl");
    m_adresRejestracji = QStringLiteral("register.gadu-gadu.pl");
    if (m_portZUstawien) {
      m_portHttp = QStringLiteral("80");
      m_portZUstawien = false;
    }
  }
}
