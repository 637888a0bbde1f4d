#pragma once

#include "gg/OdbiorPakietow.h"
#include "gg/OknoSesji.h"
#include "gg/WysylaniePakietow.h"
#include "net/Gniazdo.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <exception>
#include <functional>

class TDrzewo;
class TDziennik;
class TSledzeni;
class TUstawienia;

// The GG session of the main window, free of widgets: the server lookup over HTTP, the GG
// connection with its login, notify list, resending and keep-alive, the automatic reconnection
// and the own status. The window owns one for the whole run, wires its toolbar button and menu
// command to PolaczTBClick and HasloClick, and reaches it for UstawStan. Both sockets and both
// timers are the session's own, wired to its handlers and never handed out: every packet leaves
// through WyslijPakiet, and others see the connection only through the queries below.
class TSesjaGG : public QObject, public TNadawcaPakietow {
public:
  // A monotonic millisecond tick count taken modulo 2^32.
  using TZegar = std::function<quint32()>;
  // The store in use; it may be replaced at run time, so it is asked for each time.
  using TBazaKontaktow = std::function<TSledzeni *()>;
  // A received packet the session does not handle itself: (type, body length, body).
  using TObslugaPakietu = std::function<void(qint32 typ, qint32 dlugosc, const QByteArray &cialo)>;

  static constexpr int InterwalPingu = 3256;
  static constexpr int InterwalLaczenia = 60000;
  static constexpr quint32 OdstepPingu = 120000;
  static constexpr int RozmiarOdczytu = 10000;
  // The longest reply the lookup (or the direct registration) may send, header included.
  static constexpr qsizetype NajdluzszaOdpowiedzHttp = 64 * 1024;

  // Host names come from the "SerwerAlternatywny" setting as it is now. Without a clock the
  // session uses its own monotonic one.
  TSesjaGG(TDrzewo &drzewo, TUstawienia &ustawienia, TDziennik &dziennik, TOknoSesji &okno,
           TBazaKontaktow baza, TZegar zegar = {}, QObject *rodzic = nullptr);
  ~TSesjaGG() override;

  // --- Connection lifecycle ---

  // Takes the stored account; connects at once when "&Połącz" is down.
  void Start(int numer, const QString &haslo);
  // The account dialog's new account: stored for the next login, the connection left alone.
  void UstawKonto(int numer, const QString &haslo);
  // A fresh server lookup; its end opens the GG connection.
  void Polacz();
  // "&Połącz" toggled (the window's button already shows the new state): stores it as
  // "Przylaczaj"; down connects, up announces "not available" and leaves the connection open.
  void PolaczTBClick();
  // "Połącz teraz": while no connection is open, the waiting delay is cut short and a fresh
  // lookup starts. Returns whether one started.
  bool PolaczTeraz();
  // Menu command "Hasło": the direct registration request. Its answer is shown with Display;
  // the GG connection is not opened after it.
  void HasloClick();

  // Timer handlers (also run by the session's own timers).
  void PingTmrTimer();
  void WyslijPing();
  void LaczenieTmrTimer();

  // --- Own status ---

  // The only sender of status packets. A null `czasPowrotu` means no return time.
  void UstawStan(quint32 status, const QString &opis, const QDateTime &czasPowrotu = {});
  // Writes status panels 1 (description) and 0 (the name), returns the name.
  QString NazwaStanu(quint32 kod);

  // --- Packets ---

  // Every whole packet received on the GG connection: welcome, login accepted and login refused
  // are handled here, everything else goes to the handler given below.
  void ObsluzPakiet(qint32 typ, qint32 dlugosc, const QByteArray &cialo);
  void UstawObslugePakietow(TObslugaPakietu obsluga) { m_innePakiety = std::move(obsluga); }
  // The single way to send on the GG connection; the result is the socket's (negative when
  // refused, which the socket also reports, so the session reconnects).
  int WyslijPakiet(qint32 typ, const QByteArray &cialo) override;
  bool PolaczenieOtwarte() const override { return m_ggSck.State() == gsConnected; }

  void WyslijListeKontaktow();
  void PonowNiewyslane();

  // The cause a Winsock error number of a failed connect or lookup stands for.
  static TPowodRozlaczenia PowodBledu(int kod);

  // --- Hosts ---

  // Lookup and registration hosts for normal or alternative (local) mode. The port stays.
  void UstawSerwerAlternatywny(bool alternatywny);
  const QString &AdresInformacji() const { return m_adresInformacji; }
  // Another lookup host until the next UstawSerwerAlternatywny (a local one under another name).
  void UstawAdresInformacji(const QString &host) { m_adresInformacji = host; }
  const QString &AdresRejestracji() const { return m_adresRejestracji; }
  // "80" unless changed; the setter lets a test or a local server use another port.
  const QString &PortHttp() const { return m_portHttp; }
  void UstawPortHttp(const QString &port) { m_portHttp = port; }

  // --- State ---

  int NumerWlasny() const { return m_numerWlasny; }
  const QString &HasloWlasne() const { return m_hasloWlasne; }
  bool Zalogowany() const { return m_zalogowany; }
  // Why the last attempt ended (Zalogowano while none has failed since the last login).
  TPowodRozlaczenia PowodRozlaczenia() const { return m_powod; }
  quint32 StanWlasny() const { return m_stanWlasny; }
  const QString &OpisWlasny() const { return m_opisWlasny; }
  const QDateTime &CzasPowrotu() const { return m_czasPowrotu; }
  quint32 Ziarno() const { return m_ziarno; }
  quint32 OstatniPing() const { return m_ostatniPing; }
  const QByteArray &HttpBufor() const { return m_httpBufor; }

  // --- The connection as others may see it ---

  TStanGniazda StanGG() const { return m_ggSck.State(); }
  TStanGniazda StanHttp() const { return m_httpSck.State(); }
  // Where the GG connection goes (from the last lookup, or PolaczZSerwerem).
  const QString &AdresGG() const { return m_ggSck.Addr(); }
  const QString &PortGG() const { return m_ggSck.Port(); }
  // Bytes handed to the GG socket and not yet to the network.
  qsizetype BajtyDoWyslania() const { return m_ggSck.BajtyDoWyslania(); }
  // The reconnect delay runs; what is left of it in ms (-1 while it does not run).
  bool CzekaNaLaczenie() const { return m_laczenieTmr.isActive(); }
  int DoLaczenia() const { return m_laczenieTmr.isActive() ? m_laczenieTmr.remainingTime() : -1; }
  bool PingWlaczony() const { return m_pingTmr.isActive(); }
  int InterwalZegaraPingu() const { return m_pingTmr.interval(); }
  int InterwalZegaraLaczenia() const { return m_laczenieTmr.interval(); }

  // Opens the GG connection to a known server, skipping the lookup (what the lookup's answer
  // leads to).
  void PolaczZSerwerem(const QString &adres, const QString &port);
  // Ends the GG connection: gracefully, or at once without flushing what waits to be sent.
  void ZamknijPolaczenie();
  void PrzerwijPolaczenie();
  // Stops the reconnect delay; nothing reconnects until the next Polacz or loss.
  void WstrzymajLaczenie();

  // --- Socket handlers (wired by the constructor) ---

  void GgSckSessionConnected(TGniazdo *Sender, quint16 Error);
  void GgSckDataAvailable(TGniazdo *Sender, quint16 Error);
  void GgSckSessionClosed(TGniazdo *Sender, quint16 Error);
  void GgSckError(TGniazdo *Sender);
  void HttpSckSessionConnected(TGniazdo *Sender, quint16 Error);
  void HttpSckDataAvailable(TGniazdo *Sender, quint16 Error);
  void HttpSckSessionClosed(TGniazdo *Sender, quint16 Error);
  void HttpSckError(TGniazdo *Sender);
  void AnySckBgException(TGniazdo *Sender, const std::exception &E, bool &CanClose);

private:
  enum class TCelHttp { Wyszukiwanie, Rejestracja };

  void ObsluzPowitanie(const QByteArray &cialo);
  void ObsluzZalogowanie();
  void ObsluzOdmoweLogowania();
  void BlednyStrumien(qint32 typ, quint32 dlugosc);
  void CzytajOdpowiedzSerwera();
  void OdpowiedzZbytDluga();
  void PokazWynikRejestracji();
  void UstawPanelPolaczenia(const QString &tekst);
  // Notes the first cause seen for the failure of the current attempt.
  void ZapamietajPowod(TPowodRozlaczenia powod, const QString &host);
  // Tells the window why it is offline (the cause noted, or `domyslny`).
  void ZglosRozlaczenie(TPowodRozlaczenia domyslny, const QString &host);
  void Loguj(const QString &kategoria, const QString &tekst);

  TDrzewo &m_drzewo;
  TUstawienia &m_ustawienia;
  TDziennik &m_dziennik;
  TOknoSesji &m_okno;
  TBazaKontaktow m_baza;
  TZegar m_zegar;
  TObslugaPakietu m_innePakiety;

  TGniazdo m_ggSck;
  TGniazdo m_httpSck;
  QTimer m_pingTmr;
  QTimer m_laczenieTmr;
  TOdbiorPakietow m_odbior;
  QByteArray m_httpBufor;

  int m_numerWlasny = -1;
  QString m_hasloWlasne;
  bool m_zalogowany = false;
  quint32 m_stanWlasny = 0;
  QString m_opisWlasny;
  QDateTime m_czasPowrotu;
  quint32 m_ziarno = 0;
  quint32 m_ostatniPing = 0;
  TPowodRozlaczenia m_powod = TPowodRozlaczenia::Zalogowano;
  QString m_hostPowodu;

  QString m_adresInformacji;
  QString m_adresRejestracji;
  QString m_portHttp = QStringLiteral("80");
  // The port came from "PortAlternatywny" and goes back to 80 when the switch is turned off.
  bool m_portZUstawien = false;
  TCelHttp m_celHttp = TCelHttp::Wyszukiwanie;
  // The reply of the current lookup connection has been read (it is read once only).
  bool m_odpowiedzPrzeczytana = false;
  bool m_httpZbytDluga = false; // the HTTP connection is being ended for an overlong reply
  // Counts the closes of each connection, so that a handler can tell whether the connection it
  // worked on was lost while it was sending or while a modal box was open.
  quint64 m_zamknieciaGG = 0;
  quint64 m_zamknieciaHttp = 0;
};
