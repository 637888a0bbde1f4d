// paplanki-serwer: the GG service and the web services of the client, on one event loop.

#include "gg/StronyKodowe.h"
#include "serwer/LogSerwera.h"
#include "serwer/Magazyn.h"
#include "serwer/Pola.h"
#include "serwer/SerwerGG.h"
#include "serwer/SerwerHttp.h"

#include <asio.hpp>

#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

const char Pomoc[] =
    "Użycie: paplanki-serwer [PRZEŁĄCZNIKI]\n"
    "Serwer zgodny z GG dla Paplanek: usługa GG i usługi WWW (wyszukiwanie serwera, token,\n"
    "rejestracja).\n"
    "\n"
    "  --http ADRES:PORT        usługi WWW (domyślnie 127.0.0.1:18080)\n"
    "  --gg ADRES:PORT          usługa GG (domyślnie 127.0.0.1:18074)\n"
    "  --adres-publiczny HOST   adres GG podawany w odpowiedziach wyszukiwania\n"
    "                           (domyślnie adres z --gg)\n"
    "  --dane FOLDER            magazyn (domyślnie $XDG_DATA_HOME/paplanki-serwer)\n"
    "  --konto NUMER:HASLO      załóż lub zmień konto przy starcie (można powtarzać)\n"
    "  --komunikat TEKST        dodaj komunikat systemowy\n"
    "  --wpis NUMER:IMIĘ:NAZWISKO:PSEUDONIM:MIEJSCOWOŚĆ:PŁEĆ:ROK\n"
    "                           zapisz wpis katalogu publicznego (można powtarzać)\n"
    "  --odpowiadacz NUMER      numer, za który odpowiada sam serwer: zawsze dostępny,\n"
    "                           odsyła każdą wiadomość\n"
    "  --porty-do PLIK          zapisz użyte porty (\"gg PORT\" i \"http PORT\")\n"
    "  --gadatliwy              zrzuty pakietów w dzienniku\n"
    "  --help                   ta pomoc\n";

[[noreturn]] void Blad(const std::string &tekst)
{
  std::cerr << "paplanki-serwer: " << tekst << "\n(--help wyświetla przełączniki)\n";
  std::exit(2);
}

asio::ip::tcp::endpoint Adres(const std::string &tekst, const char *przelacznik)
{
  const std::size_t dwukropek = tekst.rfind(':');
  if (dwukropek == std::string::npos)
    Blad(std::string(przelacznik) + ": oczekiwano ADRES:PORT, jest \"" + tekst + "\"");
  std::string host = tekst.substr(0, dwukropek);
  const std::string port = tekst.substr(dwukropek + 1);
  if (host == "localhost")
    host = "127.0.0.1";
  asio::error_code e;
  const auto adres = asio::ip::make_address(host, e);
  const std::uint32_t numer = LiczbaZTekstu(port);
  if (e || (numer == 0 && port != "0") || numer > 65535)
    Blad(std::string(przelacznik) + ": nieużyteczny adres \"" + tekst + "\"");
  return {adres, std::uint16_t(numer)};
}

std::string Cp1250(const std::string &utf8)
{
  const QByteArray b =
      ConvertCodePage(QByteArray::fromStdString(utf8), StronaKodowaUtf8, StronaKodowa1250);
  return b.toStdString();
}

std::vector<std::string> Podziel(const std::string &t, char sep)
{
  std::vector<std::string> w;
  std::size_t od = 0;
  for (;;) {
    const std::size_t p = t.find(sep, od);
    w.push_back(t.substr(od, p - od));
    if (p == std::string::npos)
      return w;
    od = p + 1;
  }
}

std::string DomyslneDane()
{
  if (const char *x = std::getenv("XDG_DATA_HOME"); x && *x)
    return std::string(x) + "/paplanki-serwer";
  if (const char *h = std::getenv("HOME"); h && *h)
    return std::string(h) + "/.local/share/paplanki-serwer";
  return "paplanki-serwer-dane";
}

} // namespace

int main(int argc, char **argv)
{
  auto http = Adres("127.0.0.1:18080", "--http");
  auto gg = Adres("127.0.0.1:18074", "--gg");
  std::string publiczny, dane = DomyslneDane(), portyDo;
  std::vector<std::pair<std::uint32_t, std::string>> konta;
  std::vector<TWpisKatalogu> wpisy;
  std::vector<std::string> komunikaty;
  std::vector<std::uint32_t> odpowiadacze;
  bool gadatliwy = false;

  for (int i = 1; i < argc; ++i) {
    const std::string s = argv[i];
    const auto wartosc = [&]() -> std::string {
      if (i + 1 >= argc)
        Blad(s + ": brak wartości");
      return argv[++i];
    };
    if (s == "--help" || s == "-h") {
      std::cout << Pomoc;
      return 0;
    } else if (s == "--http") {
      http = Adres(wartosc(), "--http");
    } else if (s == "--gg") {
      gg = Adres(wartosc(), "--gg");
    } else if (s == "--adres-publiczny") {
      publiczny = wartosc();
    } else if (s == "--dane") {
      dane = wartosc();
    } else if (s == "--konto") {
      const std::string k = wartosc();
      const std::size_t d = k.find(':');
      const std::uint32_t numer = d == std::string::npos ? 0 : LiczbaZTekstu(k.substr(0, d));
      if (numer == 0 || numer > 0xFFFFFF)
        Blad("--konto: oczekiwano NUMER:HASLO (numer od 1 do 16777215), jest \"" + k + "\"");
      konta.emplace_back(numer, Cp1250(k.substr(d + 1)));
    } else if (s == "--komunikat") {
      komunikaty.push_back(Cp1250(wartosc()));
    } else if (s == "--wpis") {
      const auto pola = Podziel(wartosc(), ':');
      if (pola.size() != 7 || LiczbaZTekstu(pola[0]) == 0)
        Blad("--wpis: oczekiwano siedmiu pól NUMER:IMIĘ:NAZWISKO:PSEUDONIM:MIEJSCOWOŚĆ:PŁEĆ:ROK");
      TWpisKatalogu w;
      w.Numer = LiczbaZTekstu(pola[0]);
      w.Imie = Cp1250(pola[1]);
      w.Nazwisko = Cp1250(pola[2]);
      w.Pseudonim = Cp1250(pola[3]);
      w.Miejscowosc = Cp1250(pola[4]);
      w.Plec = int(LiczbaZTekstu(pola[5]));
      w.RokUrodzenia = int(LiczbaZTekstu(pola[6]));
      wpisy.push_back(w);
    } else if (s == "--odpowiadacz") {
      const std::uint32_t n = LiczbaZTekstu(wartosc());
      if (n == 0 || n > 0xFFFFFF)
        Blad("--odpowiadacz: oczekiwano numeru");
      odpowiadacze.push_back(n);
    } else if (s == "--porty-do") {
      portyDo = wartosc();
    } else if (s == "--gadatliwy") {
      gadatliwy = true;
    } else {
      Blad("nieznany przełącznik \"" + s + "\"");
    }
  }

  // Many clients mean many descriptors; take what the hard limit allows.
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
  }
  // The database and its journal hold passwords.
  umask(077);

  TLogSerwera log(gadatliwy);
  std::unique_ptr<TMagazyn> magazyn;
  try {
    magazyn = OtworzMagazynSqlite(dane);
    magazyn->UstawKonta(konta);
    for (const auto &w : wpisy)
      magazyn->ZapiszWpis(w);
    for (const auto &k : komunikaty)
      magazyn->DodajKomunikat(k);
  } catch (const std::exception &e) {
    std::cerr << "paplanki-serwer: magazyn w " << dane << ": " << e.what() << "\n";
    return 1;
  }

  asio::io_context io(1);
  // Tests shorten the connection limits through the environment ("logowanie=S,bezczynnosc=S");
  // there is no switch for them.
  TLimitySerweraGG limity;
  if (const char *t = std::getenv("PAPLANKI_SERWER_LIMITY")) {
    for (const std::string &para : Podziel(t, ',')) {
      const std::size_t r = para.find('=');
      if (r == std::string::npos)
        continue;
      const std::uint32_t sekundy = LiczbaZTekstu(para.substr(r + 1));
      if (sekundy == 0)
        continue;
      if (para.compare(0, r, "logowanie") == 0)
        limity.NaLogowanie = std::chrono::seconds(sekundy);
      else if (para.compare(0, r, "bezczynnosc") == 0)
        limity.Bezczynnosc = std::chrono::seconds(sekundy);
    }
  }
  TSerwerGG serwerGG(io, *magazyn, log, limity);
  std::uint16_t portGG = 0, portHttp = 0;
  try {
    portGG = serwerGG.Sluchaj(gg);
  } catch (const std::system_error &e) {
    Blad("--gg " + gg.address().to_string() + ":" + std::to_string(gg.port()) + ": " + e.what());
  }
  if (publiczny.empty())
    publiczny = gg.address().is_unspecified() ? "127.0.0.1" : gg.address().to_string();
  TSerwerHttp serwerHttp(io, *magazyn, log, publiczny, portGG);
  try {
    portHttp = serwerHttp.Sluchaj(http);
  } catch (const std::system_error &e) {
    Blad("--http " + http.address().to_string() + ":" + std::to_string(http.port()) + ": " +
         e.what());
  }
  for (const auto n : odpowiadacze)
    serwerGG.DodajOdpowiadacza(n, Cp1250("Odpowiadam na każdą wiadomość"));

  if (!portyDo.empty()) {
    // Written whole under another name first, so a reader never sees half of it.
    const std::string tymczasowy = portyDo + ".tmp";
    {
      std::ofstream f(tymczasowy);
      f << "gg " << portGG << "\nhttp " << portHttp << "\n";
    }
    std::rename(tymczasowy.c_str(), portyDo.c_str());
  }
  log.Zdarzenie("słucham: GG " + gg.address().to_string() + ":" + std::to_string(portGG) +
                ", WWW " + http.address().to_string() + ":" + std::to_string(portHttp) + ", dane " +
                dane);

  asio::signal_set sygnaly(io, SIGTERM, SIGINT);
  sygnaly.async_wait([&](asio::error_code e, int sygnal) {
    if (e)
      return;
    log.Zdarzenie("sygnał " + std::to_string(sygnal) + ": koniec pracy");
    serwerGG.Zatrzymaj();
    serwerHttp.Zatrzymaj();
    io.stop();
  });
  io.run();
  magazyn.reset();
  log.Zdarzenie("zakończono");
  return 0;
}
