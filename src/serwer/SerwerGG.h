#pragma once

#include "serwer/Dlawienie.h"
#include "serwer/Magazyn.h"

#include <asio.hpp>

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class TLogSerwera;

// The GG service: logins, presence, message routing with delivery reports, the offline queue,
// stored contact lists and the public directory. Runs entirely on the thread of its io_context;
// the storage is called only for what must outlive the process (online delivery never touches
// it).
struct TLimitySerweraGG {
  std::chrono::seconds NaLogowanie{30};
  std::chrono::seconds Bezczynnosc{300};
  std::size_t NajwiekszyPakiet = 1024 * 1024;
  int NieudaneNaMinute = 5;
};

class TSerwerGG {
public:
  using TLimity = TLimitySerweraGG;

  TSerwerGG(asio::io_context &io, TMagazyn &magazyn, TLogSerwera &log, TLimity limity = {});
  ~TSerwerGG();
  TSerwerGG(const TSerwerGG &) = delete;
  TSerwerGG &operator=(const TSerwerGG &) = delete;

  // Opens the listener; returns the port in use (the chosen one for port 0). Throws
  // std::system_error when the address cannot be used.
  std::uint16_t Sluchaj(const asio::ip::tcp::endpoint &adres);
  // Closes the listener and every connection.
  void Zatrzymaj();

  // A number answered by the server itself: always available, it sends back every message it
  // gets, prefixed. For demos.
  void DodajOdpowiadacza(std::uint32_t numer, const std::string &opis);

  struct TPolaczenie;

private:
  using TWsk = std::shared_ptr<TPolaczenie>;

  // What one user shows another.
  struct TWidok {
    std::uint32_t Status = 1;
    std::string_view Opis;
    std::uint32_t Czas = 0;
    bool MaCzas = false;
    bool operator==(const TWidok &) const = default;
  };

  // Accepts everything waiting, then waits for the listener.
  void Przyjmuj();
  void NowePolaczenie(int fd, const sockaddr_storage &zdalny, socklen_t dlugosc);
  // Connections are watched by an epoll set of their own, registered once, edge-triggered; the
  // event loop only waits for that set to become ready. Per read or write no descriptor
  // operation is queued with the event library (its per-operation bookkeeping cost more than
  // the routing itself).
  void CzekajNaGotowosc();
  void ObsluzGotowe();
  void Czytaj(const TWsk &p);
  // Cuts whole packets off `dane`; false when the connection was closed meanwhile.
  bool Rozbierz(const TWsk &p, std::string_view &dane);
  void Obsluz(const TWsk &p, std::uint32_t typ, std::string_view cialo);
  void Zamknij(const TWsk &p, const char *powod);
  void ZamknijPoWyslaniu(const TWsk &p);

  void Wyslij(TPolaczenie &p, std::uint32_t typ, std::string_view cialo);
  void Wyslij(TPolaczenie &p, std::uint32_t typ, std::string_view a, std::string_view b);
  void Oznacz(TPolaczenie &p);
  void Oproznij();
  void PiszDalej(const TWsk &p);
  void Przeglad();

  // Packet handlers.
  void Logowanie(const TWsk &p, std::string_view cialo);
  void NowyStan(TPolaczenie &p, std::string_view cialo);
  void ListaPowiadomien(TPolaczenie &p, std::string_view cialo, bool ostatnia);
  void KoniecListy(TPolaczenie &p);
  void DodajPowiadomienie(TPolaczenie &p, std::string_view cialo);
  void UsunPowiadomienie(TPolaczenie &p, std::string_view cialo);
  void Wiadomosc(TPolaczenie &p, std::string_view cialo);
  void ListaKontaktow(TPolaczenie &p, std::string_view cialo);
  void Katalog(TPolaczenie &p, std::string_view cialo);

  // Presence.
  struct TStan {
    std::uint32_t Status = 1;
    std::string_view Opis;
    std::uint32_t Czas = 0;
    bool MaCzas = false;
  };
  static TStan Stan(const TPolaczenie &u);
  TWidok Widok(const TPolaczenie *u, std::uint32_t obserwator) const;
  static TWidok Widok(const TStan &u, bool obecny, int typWpisu);
  static void DopiszWpis60(std::string &cel, std::uint32_t numer, const TWidok &w);
  void WyslijStan(TPolaczenie &o, std::uint32_t numer, const TWidok &w);
  // Sends every observer of `u` what changed between the state before (given) and now.
  void RozglosZmiane(TPolaczenie &u, std::uint32_t staryStatus, const std::string &staryOpis,
                     std::uint32_t staryCzas, bool staryMaCzas, bool bylObecny);
  // `u`'s entry for `kogo` changed from `staryTyp` (-1: none): tell `kogo` if it sees it.
  void ZmianaWpisu(TPolaczenie &u, std::uint32_t kogo, int staryTyp);
  void Wyloguj(TPolaczenie &p);
  void ZapiszZablokowanych(TPolaczenie &p);

  // Delivery: 2 delivered, 3 queued, 1 refused (blocked or no such account), 4 not stored.
  std::uint32_t Dostarcz(std::uint32_t nadawca, std::uint32_t adresat, std::uint32_t sekwencja,
                         std::uint32_t klasa, std::string_view tresc);
  void Odpowiedz(std::uint32_t bot, std::uint32_t komu, std::string_view tekst);
  void WyslijKolejke(TPolaczenie &p);

  asio::io_context &m_io;
  TMagazyn &m_magazyn;
  TLogSerwera &m_log;
  TLimity m_limity;
  asio::ip::tcp::acceptor m_akceptor;
  asio::steady_timer m_zegar;
  asio::steady_timer m_pauza;
  asio::posix::stream_descriptor m_gotowosc;
  bool m_zatrzymany = false;
  // Inside a pass over ready connections: output is flushed at its end, and connections closed
  // meanwhile are kept alive until then (later events of the pass may still name them).
  bool m_wPrzebiegu = false;
  std::vector<TWsk> m_zamkniete;

  std::unordered_set<TWsk> m_polaczenia;
  std::unordered_map<std::uint32_t, TPolaczenie *> m_zalogowani;
  // Who (among the logged-in) has a number on their notify list.
  std::unordered_map<std::uint32_t, std::vector<TPolaczenie *>> m_obserwatorzy;
  std::vector<TWsk> m_brudne, m_oprozniane;
  bool m_oproznianieZaplanowane = false;
  TDlawienieLogowan m_dlawienie;
  std::unordered_map<std::uint32_t, TWsk> m_odpowiadacze;
  std::vector<char> m_bufor;
  std::string m_robocze;
};
