#pragma once

#include "serwer/Magazyn.h"
#include "serwer/Tokeny.h"

#include <asio.hpp>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <unordered_set>

class TLogSerwera;

// The web services the client calls: the server lookup, the registration token with its
// picture, and the registration itself. HTTP/1.0, one request a connection, bounded in size and
// time.
class TSerwerHttp {
public:
  static constexpr std::size_t NajdluzszyNaglowek = 8 * 1024;
  static constexpr std::size_t NajdluzszaTresc = 64 * 1024;
  static constexpr int SekundNaZapytanie = 10;

  // `adresGG` is what lookup replies announce ("host:port").
  TSerwerHttp(asio::io_context &io, TMagazyn &magazyn, TLogSerwera &log, std::string hostGG,
              std::uint16_t portGG, TTokeny::TZegar zegar = TTokeny::ZegarSystemowy);
  ~TSerwerHttp();

  std::uint16_t Sluchaj(const asio::ip::tcp::endpoint &adres);
  void Zatrzymaj();

  struct TPolaczenie;

  // The reply body for a complete request (method, target, headers' Host, body); also the
  // content type and status line. Public for the tests of the routing.
  struct TOdpowiedz {
    int Kod = 200;
    std::string Typ = "text/plain";
    std::string Tresc;
  };
  TOdpowiedz Odpowiedz(const std::string &metoda, const std::string &cel, const std::string &host,
                       const std::string &tresc);

private:
  void Przyjmuj();
  void CzytajDalej(const std::shared_ptr<TPolaczenie> &p);
  // Answers once the whole request is in (or refuses it); otherwise reads on.
  void Przetworz(const std::shared_ptr<TPolaczenie> &p);
  void Zakoncz(const std::shared_ptr<TPolaczenie> &p, const TOdpowiedz &o);
  void Zamknij(const std::shared_ptr<TPolaczenie> &p);

  TOdpowiedz Wyszukiwanie(const std::string &zapytanie);
  TOdpowiedz Token(const std::string &host);
  TOdpowiedz ObrazekTokenu(const std::string &zapytanie);
  TOdpowiedz Rejestracja(const std::string &formularz);

  asio::io_context &m_io;
  TMagazyn &m_magazyn;
  TLogSerwera &m_log;
  std::string m_hostGG;
  std::uint16_t m_portGG;
  std::uint16_t m_port = 0;
  asio::ip::tcp::acceptor m_akceptor;
  std::unordered_set<std::shared_ptr<TPolaczenie>> m_polaczenia;
  TTokeny m_tokeny;
  std::mt19937 m_los;
  bool m_zatrzymany = false;
};
