#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Everything the server keeps across restarts, behind one interface so that another engine can
// stand in for SQLite. Texts are bytes as they travel on the wire (code page 1250 for names and
// passwords). Every call is synchronous; a call that returns has committed its change.

struct TWiadomoscZakolejkowana {
  std::int64_t Id = 0;
  std::uint32_t Nadawca = 0;
  std::uint32_t Czas = 0;
  std::uint32_t Klasa = 0;
  // Text, its NUL and the options after it, exactly as the recipient is to receive them.
  std::string Tresc;
};

// The own entry of the public directory.
struct TWpisKatalogu {
  std::uint32_t Numer = 0;
  std::string Imie, Nazwisko, Pseudonim, Miejscowosc;
  int Plec = 0;         // as the account dialog numbers it: 1 a man, 2 a woman, 0 not given
  int RokUrodzenia = 0; // 0 not given
};

// Search criteria; empty texts and zeros do not restrict.
struct TKryteriaKatalogu {
  std::uint32_t Numer = 0;
  std::string Imie, Nazwisko, Pseudonim, Miejscowosc;
  int Plec = 0;
  int RokUrodzenia = 0;
  std::uint32_t OdNumeru = 0; // the page starts at this number
};

class TMagazyn {
public:
  virtual ~TMagazyn() = default;

  // --- Accounts ---
  virtual std::optional<std::string> Haslo(std::uint32_t numer) = 0;
  virtual void UstawKonto(std::uint32_t numer, const std::string &haslo) = 0;
  // Many at once, in one commit (start-up switches).
  virtual void UstawKonta(const std::vector<std::pair<std::uint32_t, std::string>> &konta) = 0;
  // A fresh number (above every number in use, at least 1001) with this password.
  virtual std::uint32_t NoweKonto(const std::string &haslo, const std::string &email) = 0;

  // --- Registration tokens ---
  virtual void ZapiszToken(const std::string &id, const std::string &wartosc,
                           std::int64_t wygasa) = 0;
  // `wygasa` is the first second at which the token no longer counts.
  // The token's value if it exists and has not expired at `teraz`; the token is gone afterwards
  // whatever the outcome (single use, and a wrong guess uses it up too).
  virtual std::optional<std::string> ZuzyjToken(const std::string &id, std::int64_t teraz) = 0;
  // The value without using the token up (for drawing its picture).
  virtual std::optional<std::string> WartoscTokenu(const std::string &id, std::int64_t teraz) = 0;

  // --- Stored contact list (the userlist text) ---
  virtual void ZapiszListe(std::uint32_t numer, const std::string &tekst) = 0;
  virtual std::string Lista(std::uint32_t numer) = 0;

  // --- Numbers a user blocks (kept so that messages to an absent user can be refused) ---
  virtual void UstawZablokowanych(std::uint32_t numer,
                                  const std::vector<std::uint32_t> &zablokowani) = 0;
  virtual bool Blokuje(std::uint32_t kto, std::uint32_t kogo) = 0;
  virtual std::vector<std::uint32_t> Zablokowani(std::uint32_t numer) = 0;

  // --- Public directory ---
  virtual void ZapiszWpis(const TWpisKatalogu &wpis) = 0;
  virtual std::optional<TWpisKatalogu> Wpis(std::uint32_t numer) = 0;
  // Entries matching, ordered by number, from `OdNumeru` on, at most `ile`.
  virtual std::vector<TWpisKatalogu> Szukaj(const TKryteriaKatalogu &k, int ile) = 0;

  // --- System messages ---
  virtual std::int64_t DodajKomunikat(const std::string &tekst) = 0;
  // The newest message: (number, text), or number 0 when there is none.
  virtual std::pair<std::int64_t, std::string> NajnowszyKomunikat() = 0;

  // --- Offline queue ---
  // Returns once the message is durable.
  virtual void Zakolejkuj(std::uint32_t adresat, const TWiadomoscZakolejkowana &w) = 0;
  virtual std::vector<TWiadomoscZakolejkowana> Kolejka(std::uint32_t adresat) = 0;
  // Removes the recipient's queued messages up to and including `doId`.
  virtual void UsunZKolejki(std::uint32_t adresat, std::int64_t doId) = 0;
};

// The SQLite engine: one database file in `katalog` (created owner-only), WAL journal.
// Throws std::runtime_error when the file cannot be opened or set up.
std::unique_ptr<TMagazyn> OtworzMagazynSqlite(const std::string &katalog);
