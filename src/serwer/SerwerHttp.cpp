#include "serwer/SerwerHttp.h"

#include "gg/KodowanieUrl.h"
#include "serwer/LogSerwera.h"
#include "serwer/ObrazekTokenu.h"
#include "serwer/Pola.h"

#include <algorithm>
#include <array>
#include <chrono>

using asio::ip::tcp;

struct TSerwerHttp::TPolaczenie : std::enable_shared_from_this<TSerwerHttp::TPolaczenie> {
  explicit TPolaczenie(asio::io_context &io) : Gniazdo(io), Termin(io) {}
  tcp::socket Gniazdo;
  asio::steady_timer Termin;
  std::array<char, 4096> Bufor{};
  std::string Dane;
  std::string Odpowiedz;
  bool Zamkniete = false;
};

namespace {

std::string Parametr(const std::string &zapytanie, std::string_view nazwa)
{
  std::string_view z = zapytanie;
  while (!z.empty()) {
    const std::size_t amp = z.find('&');
    const std::string_view para = z.substr(0, amp);
    const std::size_t rowna = para.find('=');
    if (para.substr(0, rowna) == nazwa) {
      const QByteArray w = DekodujUrl(
          rowna == std::string_view::npos
              ? QByteArrayView()
              : QByteArrayView(para.data() + rowna + 1, qsizetype(para.size() - rowna - 1)));
      return std::string(w.constData(), std::size_t(w.size()));
    }
    if (amp == std::string_view::npos)
      break;
    z.remove_prefix(amp + 1);
  }
  return std::string();
}

std::string BezKoncaLinii(std::string t)
{
  while (!t.empty() && (t.back() == '\n' || t.back() == '\r'))
    t.pop_back();
  return t;
}

const char *OpisKodu(int kod)
{
  switch (kod) {
  case 200:
    return "OK";
  case 400:
    return "Bad Request";
  case 404:
    return "Not Found";
  case 408:
    return "Request Timeout";
  case 413:
    return "Payload Too Large";
  case 431:
    return "Request Header Fields Too Large";
  default:
    return "Error";
  }
}

} // namespace

TSerwerHttp::TSerwerHttp(asio::io_context &io, TMagazyn &magazyn, TLogSerwera &log,
                         std::string hostGG, std::uint16_t portGG, TTokeny::TZegar zegar)
    : m_io(io), m_magazyn(magazyn), m_log(log), m_hostGG(std::move(hostGG)), m_portGG(portGG),
      m_akceptor(io), m_tokeny(magazyn, std::move(zegar)), m_los(std::random_device{}())
{
}

TSerwerHttp::~TSerwerHttp() = default;

std::uint16_t TSerwerHttp::Sluchaj(const tcp::endpoint &adres)
{
  m_akceptor.open(adres.protocol());
  m_akceptor.set_option(tcp::acceptor::reuse_address(true));
  m_akceptor.bind(adres);
  m_akceptor.listen();
  m_port = m_akceptor.local_endpoint().port();
  Przyjmuj();
  return m_port;
}

void TSerwerHttp::Zatrzymaj()
{
  m_zatrzymany = true;
  asio::error_code e;
  m_akceptor.close(e);
  const std::vector<std::shared_ptr<TPolaczenie>> wszystkie(m_polaczenia.begin(),
                                                            m_polaczenia.end());
  for (const auto &p : wszystkie)
    Zamknij(p);
}

void TSerwerHttp::Przyjmuj()
{
  m_akceptor.async_accept([this](asio::error_code e, tcp::socket gniazdo) {
    if (m_zatrzymany)
      return;
    if (!e) {
      auto p = std::make_shared<TPolaczenie>(m_io);
      p->Gniazdo = std::move(gniazdo);
      m_polaczenia.insert(p);
      p->Termin.expires_after(std::chrono::seconds(SekundNaZapytanie));
      p->Termin.async_wait([this, p](asio::error_code e2) {
        if (!e2 && !p->Zamkniete)
          Zamknij(p);
      });
      CzytajDalej(p);
    }
    Przyjmuj();
  });
}

void TSerwerHttp::CzytajDalej(const std::shared_ptr<TPolaczenie> &p)
{
  p->Gniazdo.async_read_some(asio::buffer(p->Bufor), [this, p](asio::error_code e, std::size_t n) {
    if (p->Zamkniete)
      return;
    if (e) {
      Zamknij(p);
      return;
    }
    p->Dane.append(p->Bufor.data(), n);
    Przetworz(p);
  });
}

void TSerwerHttp::Przetworz(const std::shared_ptr<TPolaczenie> &p)
{
  const std::size_t koniecNaglowka = p->Dane.find("\r\n\r\n");
  if (koniecNaglowka == std::string::npos) {
    if (p->Dane.size() > NajdluzszyNaglowek)
      Zakoncz(p, {431, "text/plain", "naglowek za dlugi\r\n"});
    else
      CzytajDalej(p);
    return;
  }
  if (koniecNaglowka + 4 > NajdluzszyNaglowek) {
    Zakoncz(p, {431, "text/plain", "naglowek za dlugi\r\n"});
    return;
  }
  const std::string naglowek = p->Dane.substr(0, koniecNaglowka);
  std::size_t dlugosc = 0;
  std::string host;
  std::size_t poz = naglowek.find("\r\n");
  const std::string pierwsza = naglowek.substr(0, poz);
  while (poz != std::string::npos) {
    const std::size_t nast = naglowek.find("\r\n", poz + 2);
    const std::string linia = naglowek.substr(poz + 2, nast - poz - 2);
    poz = nast;
    const std::size_t dwukropek = linia.find(':');
    if (dwukropek == std::string::npos)
      continue;
    std::string nazwa = linia.substr(0, dwukropek);
    std::transform(nazwa.begin(), nazwa.end(), nazwa.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    std::string wartosc = linia.substr(dwukropek + 1);
    wartosc.erase(0, wartosc.find_first_not_of(" \t"));
    if (nazwa == "content-length") {
      const std::uint32_t n = LiczbaZTekstu(wartosc);
      if (n == 0 && wartosc != "0") {
        Zakoncz(p, {400, "text/plain", "zla dlugosc\r\n"});
        return;
      }
      dlugosc = n;
    } else if (nazwa == "host") {
      host = wartosc;
    }
  }
  if (dlugosc > NajdluzszaTresc) {
    Zakoncz(p, {413, "text/plain", "tresc za dluga\r\n"});
    return;
  }
  if (p->Dane.size() < koniecNaglowka + 4 + dlugosc) {
    CzytajDalej(p);
    return;
  }
  const std::string tresc = p->Dane.substr(koniecNaglowka + 4, dlugosc);
  const std::size_t spacja1 = pierwsza.find(' ');
  const std::size_t spacja2 = pierwsza.find(' ', spacja1 == std::string::npos ? 0 : spacja1 + 1);
  if (spacja1 == std::string::npos || spacja2 == std::string::npos) {
    Zakoncz(p, {400, "text/plain", "zle zapytanie\r\n"});
    return;
  }
  const std::string metoda = pierwsza.substr(0, spacja1);
  const std::string cel = pierwsza.substr(spacja1 + 1, spacja2 - spacja1 - 1);
  Zakoncz(p, Odpowiedz(metoda, cel, host, tresc));
}

TSerwerHttp::TOdpowiedz TSerwerHttp::Odpowiedz(const std::string &metoda, const std::string &cel,
                                               const std::string &host, const std::string &tresc)
{
  const std::size_t pytajnik = cel.find('?');
  std::string sciezka = cel.substr(0, pytajnik);
  const std::string zapytanie = pytajnik == std::string::npos ? "" : cel.substr(pytajnik + 1);
  // An absolute target names the host as well.
  if (sciezka.rfind("http://", 0) == 0) {
    const std::size_t ukosnik = sciezka.find('/', 7);
    sciezka = ukosnik == std::string::npos ? "/" : sciezka.substr(ukosnik);
  }
  try {
    if (sciezka == "/appsvc/appmsg4.asp" && (metoda == "GET" || metoda == "POST"))
      return Wyszukiwanie(zapytanie);
    if (sciezka == "/appsvc/regtoken.asp" && (metoda == "POST" || metoda == "GET"))
      return Token(host);
    if (sciezka == "/appsvc/tokenpic.asp" && metoda == "GET")
      return ObrazekTokenu(zapytanie);
    if (sciezka == "/appsvc/fmregister3.asp" && (metoda == "POST" || metoda == "GET"))
      return Rejestracja(tresc.empty() ? zapytanie : BezKoncaLinii(tresc));
  } catch (const std::exception &e) {
    m_log.Zdarzenie(std::string("magazyn: ") + e.what());
    return {500, "text/plain", "blad serwera\r\n"};
  }
  return {404, "text/plain", "nie ma takiej strony\r\n"};
}

TSerwerHttp::TOdpowiedz TSerwerHttp::Wyszukiwanie(const std::string &zapytanie)
{
  const std::int64_t ostatni =
      std::int64_t(std::strtoll(Parametr(zapytanie, "lastwiad").c_str(), nullptr, 10));
  const auto [numer, tekst] = m_magazyn.NajnowszyKomunikat();
  const std::string adres = m_hostGG + ":" + std::to_string(m_portGG);
  TOdpowiedz o;
  if (numer > 0 && numer > ostatni)
    o.Tresc = std::to_string(numer) + " 0 " + adres + " " + m_hostGG + "\r\n" + tekst;
  else
    o.Tresc = "0 0 " + adres + " " + m_hostGG + "\r\n";
  return o;
}

TSerwerHttp::TOdpowiedz TSerwerHttp::Token(const std::string &host)
{
  const auto [id, wartosc] = m_tokeny.Wydaj();
  // The picture is fetched from wherever the client reached us.
  std::string nazwa =
      host.substr(0, host.rfind(':') == std::string::npos ? host.size() : host.rfind(':'));
  if (nazwa.empty())
    nazwa = m_akceptor.local_endpoint().address().to_string();
  TOdpowiedz o;
  o.Tresc = std::to_string(SzerokoscTokenu) + " " + std::to_string(WysokoscTokenu) + " " +
            std::to_string(wartosc.size()) + "\r\n" + id + "\r\nhttp://" + nazwa + ":" +
            std::to_string(m_port) + "/appsvc/tokenpic.asp\r\n";
  return o;
}

TSerwerHttp::TOdpowiedz TSerwerHttp::ObrazekTokenu(const std::string &zapytanie)
{
  const auto wartosc = m_tokeny.Wartosc(Parametr(zapytanie, "tokenid"));
  if (!wartosc)
    return {404, "text/plain", "nie ma takiego tokenu\r\n"};
  return {200, "image/gif", ::ObrazekTokenu(*wartosc, m_los)};
}

TSerwerHttp::TOdpowiedz TSerwerHttp::Rejestracja(const std::string &formularz)
{
  const std::string haslo = Parametr(formularz, "pwd");
  const std::string email = Parametr(formularz, "email");
  const std::string id = Parametr(formularz, "tokenid");
  const std::string wpisany = Parametr(formularz, "tokenval");
  if (!m_tokeny.Zuzyj(id, wpisany))
    return {200, "text/plain", "bad_tokenval"};
  if (haslo.empty())
    return {200, "text/plain", "Nie podano hasła"};
  const std::uint32_t numer = m_magazyn.NoweKonto(haslo, email);
  m_log.Zdarzenie("zarejestrowano numer " + std::to_string(numer));
  return {200, "text/plain", "reg_success:" + std::to_string(numer)};
}

void TSerwerHttp::Zakoncz(const std::shared_ptr<TPolaczenie> &p, const TOdpowiedz &o)
{
  p->Odpowiedz = "HTTP/1.0 " + std::to_string(o.Kod) + " " + OpisKodu(o.Kod) +
                 "\r\nContent-Type: " + o.Typ +
                 "\r\nContent-Length: " + std::to_string(o.Tresc.size()) +
                 "\r\nConnection: close\r\n\r\n" + o.Tresc;
  asio::async_write(p->Gniazdo, asio::buffer(p->Odpowiedz),
                    [this, p](asio::error_code, std::size_t) {
                      asio::error_code e;
                      p->Gniazdo.shutdown(tcp::socket::shutdown_send, e);
                      Zamknij(p);
                    });
}

void TSerwerHttp::Zamknij(const std::shared_ptr<TPolaczenie> &p)
{
  if (p->Zamkniete)
    return;
  p->Zamkniete = true;
  asio::error_code e;
  p->Termin.cancel();
  p->Gniazdo.close(e);
  m_polaczenia.erase(p);
}
