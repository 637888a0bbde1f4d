#include "serwer/Magazyn.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

// One prepared statement, reset after every use.
class TZapytanie {
public:
  TZapytanie(sqlite3 *baza, const char *sql) : m_baza(baza)
  {
    if (sqlite3_prepare_v3(baza, sql, -1, SQLITE_PREPARE_PERSISTENT, &m_st, nullptr) != SQLITE_OK)
      throw std::runtime_error(std::string("SQLite: ") + sqlite3_errmsg(baza) + " w " + sql);
  }
  ~TZapytanie() { sqlite3_finalize(m_st); }
  TZapytanie(const TZapytanie &) = delete;
  TZapytanie &operator=(const TZapytanie &) = delete;

  TZapytanie &Wiaz(int i, std::int64_t v)
  {
    sqlite3_bind_int64(m_st, i, v);
    return *this;
  }
  TZapytanie &Wiaz(int i, const std::string &v)
  {
    sqlite3_bind_blob(m_st, i, v.data(), int(v.size()), SQLITE_TRANSIENT);
    return *this;
  }
  // True while a row is there.
  bool Krok()
  {
    const int w = sqlite3_step(m_st);
    if (w == SQLITE_ROW)
      return true;
    if (w != SQLITE_DONE) {
      const std::string blad = sqlite3_errmsg(m_baza);
      Resetuj();
      throw std::runtime_error("SQLite: " + blad);
    }
    return false;
  }
  void Wykonaj()
  {
    Krok();
    Resetuj();
  }
  void Resetuj()
  {
    sqlite3_reset(m_st);
    sqlite3_clear_bindings(m_st);
  }
  std::int64_t Liczba(int k) const { return sqlite3_column_int64(m_st, k); }
  std::string Tekst(int k) const
  {
    const void *p = sqlite3_column_blob(m_st, k);
    const int n = sqlite3_column_bytes(m_st, k);
    return p ? std::string(static_cast<const char *>(p), std::size_t(n)) : std::string();
  }

private:
  sqlite3 *m_baza;
  sqlite3_stmt *m_st = nullptr;
};

// lower() of SQLite folds ASCII only; names are code page 1250, Polish letters included.
void Malymi(sqlite3_context *kontekst, int, sqlite3_value **argumenty)
{
  const auto *p = static_cast<const unsigned char *>(sqlite3_value_blob(argumenty[0]));
  const int n = sqlite3_value_bytes(argumenty[0]);
  std::string wynik(p ? reinterpret_cast<const char *>(p) : "", std::size_t(p ? n : 0));
  for (char &c : wynik) {
    const auto b = static_cast<unsigned char>(c);
    unsigned char m = b;
    if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
      m = b + 0x20;
    else if (b == 0x8A || (b >= 0x8C && b <= 0x8F))
      m = b + 0x10;
    else if (b == 0xA3)
      m = 0xB3;
    else if (b == 0xA5)
      m = 0xB9;
    else if (b == 0xAA)
      m = 0xBA;
    else if (b == 0xAF)
      m = 0xBF;
    else if (b == 0xBC)
      m = 0xBE;
    c = char(m);
  }
  sqlite3_result_blob(kontekst, wynik.data(), int(wynik.size()), SQLITE_TRANSIENT);
}

// Resets the statement however the caller leaves.
struct TReset {
  TZapytanie &z;
  ~TReset() { z.Resetuj(); }
};

const char *const Schemat = R"(
CREATE TABLE IF NOT EXISTS konta(numer INTEGER PRIMARY KEY, haslo BLOB NOT NULL, email BLOB);
CREATE TABLE IF NOT EXISTS tokeny(id BLOB PRIMARY KEY, wartosc BLOB NOT NULL, wygasa INTEGER);
CREATE TABLE IF NOT EXISTS listy(numer INTEGER PRIMARY KEY, tekst BLOB NOT NULL);
CREATE TABLE IF NOT EXISTS zablokowani(numer INTEGER, kogo INTEGER, PRIMARY KEY(numer, kogo))
  WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS katalog(numer INTEGER PRIMARY KEY, imie BLOB, nazwisko BLOB,
  pseudonim BLOB, miejscowosc BLOB, plec INTEGER, rok INTEGER);
CREATE TABLE IF NOT EXISTS komunikaty(id INTEGER PRIMARY KEY AUTOINCREMENT, tekst BLOB);
CREATE TABLE IF NOT EXISTS kolejka(id INTEGER PRIMARY KEY AUTOINCREMENT, adresat INTEGER,
  nadawca INTEGER, czas INTEGER, klasa INTEGER, tresc BLOB);
CREATE INDEX IF NOT EXISTS kolejka_adresat ON kolejka(adresat, id);
)";

// Case-insensitive prefix match on ASCII letters; other bytes compare exactly.
const char *const Szukanie = R"(
SELECT numer, imie, nazwisko, pseudonim, miejscowosc, plec, rok FROM katalog
WHERE numer >= ?1
  AND (?2 = 0 OR numer = ?2)
  AND (length(?3) = 0 OR malymi(substr(imie, 1, length(?3))) = malymi(?3))
  AND (length(?4) = 0 OR malymi(substr(nazwisko, 1, length(?4))) = malymi(?4))
  AND (length(?5) = 0 OR malymi(substr(pseudonim, 1, length(?5))) = malymi(?5))
  AND (length(?6) = 0 OR malymi(substr(miejscowosc, 1, length(?6))) = malymi(?6))
  AND (?7 = 0 OR plec = ?7)
  AND (?8 = 0 OR rok = ?8)
ORDER BY numer LIMIT ?9
)";

class TMagazynSqlite : public TMagazyn {
public:
  explicit TMagazynSqlite(const std::string &plik)
  {
    // The file holds passwords: owner-only from the first byte on.
    const int fd = ::open(plik.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
      throw std::runtime_error(plik + ": " + std::strerror(errno));
    ::fchmod(fd, 0600);
    ::close(fd);
    if (sqlite3_open_v2(plik.c_str(), &m_baza, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
      const std::string blad = m_baza ? sqlite3_errmsg(m_baza) : "brak pamięci";
      sqlite3_close(m_baza);
      throw std::runtime_error(plik + ": " + blad);
    }
    sqlite3_create_function(m_baza, "malymi", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                            Malymi, nullptr, nullptr);
    Wykonaj("PRAGMA journal_mode=WAL");
    // A queued message is acknowledged only after its commit has reached the disk.
    Wykonaj("PRAGMA synchronous=FULL");
    Wykonaj("PRAGMA busy_timeout=5000");
    Wykonaj(Schemat);
    m_haslo = std::make_unique<TZapytanie>(m_baza, "SELECT haslo FROM konta WHERE numer=?");
    m_ustawKonto = std::make_unique<TZapytanie>(
        m_baza, "INSERT INTO konta(numer, haslo) VALUES(?, ?) "
                "ON CONFLICT(numer) DO UPDATE SET haslo=excluded.haslo");
    m_noweKonto = std::make_unique<TZapytanie>(
        m_baza, "INSERT INTO konta(numer, haslo, email) "
                "SELECT max(1001, coalesce(max(numer), 0) + 1), ?, ? FROM konta RETURNING numer");
    m_zapiszToken = std::make_unique<TZapytanie>(
        m_baza, "INSERT OR REPLACE INTO tokeny(id, wartosc, wygasa) VALUES(?, ?, ?)");
    m_usunToken = std::make_unique<TZapytanie>(
        m_baza, "DELETE FROM tokeny WHERE id=? OR wygasa<=? RETURNING id, wartosc, wygasa");
    m_token =
        std::make_unique<TZapytanie>(m_baza, "SELECT wartosc FROM tokeny WHERE id=? AND wygasa>?");
    m_zablokowani = std::make_unique<TZapytanie>(
        m_baza, "SELECT kogo FROM zablokowani WHERE numer=? ORDER BY kogo");
    m_zapiszListe = std::make_unique<TZapytanie>(
        m_baza, "INSERT OR REPLACE INTO listy(numer, tekst) VALUES(?, ?)");
    m_lista = std::make_unique<TZapytanie>(m_baza, "SELECT tekst FROM listy WHERE numer=?");
    m_usunZablokowanych =
        std::make_unique<TZapytanie>(m_baza, "DELETE FROM zablokowani WHERE numer=?");
    m_dodajZablokowanego = std::make_unique<TZapytanie>(
        m_baza, "INSERT OR IGNORE INTO zablokowani(numer, kogo) VALUES(?, ?)");
    m_blokuje =
        std::make_unique<TZapytanie>(m_baza, "SELECT 1 FROM zablokowani WHERE numer=? AND kogo=?");
    m_zapiszWpis = std::make_unique<TZapytanie>(
        m_baza, "INSERT OR REPLACE INTO katalog VALUES(?, ?, ?, ?, ?, ?, ?)");
    m_wpis = std::make_unique<TZapytanie>(
        m_baza, "SELECT numer, imie, nazwisko, pseudonim, miejscowosc, plec, rok FROM katalog "
                "WHERE numer=?");
    m_szukaj = std::make_unique<TZapytanie>(m_baza, Szukanie);
    m_dodajKomunikat =
        std::make_unique<TZapytanie>(m_baza, "INSERT INTO komunikaty(tekst) VALUES(?)");
    m_najnowszy = std::make_unique<TZapytanie>(
        m_baza, "SELECT id, tekst FROM komunikaty ORDER BY id DESC LIMIT 1");
    m_zakolejkuj = std::make_unique<TZapytanie>(
        m_baza, "INSERT INTO kolejka(adresat, nadawca, czas, klasa, tresc) VALUES(?, ?, ?, ?, ?)");
    m_kolejka = std::make_unique<TZapytanie>(
        m_baza, "SELECT id, nadawca, czas, klasa, tresc FROM kolejka WHERE adresat=? ORDER BY id");
    m_usunZKolejki =
        std::make_unique<TZapytanie>(m_baza, "DELETE FROM kolejka WHERE adresat=? AND id<=?");
    m_poczatek = std::make_unique<TZapytanie>(m_baza, "BEGIN IMMEDIATE");
    m_koniec = std::make_unique<TZapytanie>(m_baza, "COMMIT");
  }

  ~TMagazynSqlite() override
  {
    m_token.reset();
    m_zablokowani.reset();
    m_haslo.reset();
    m_ustawKonto.reset();
    m_noweKonto.reset();
    m_zapiszToken.reset();
    m_usunToken.reset();
    m_zapiszListe.reset();
    m_lista.reset();
    m_usunZablokowanych.reset();
    m_dodajZablokowanego.reset();
    m_blokuje.reset();
    m_zapiszWpis.reset();
    m_wpis.reset();
    m_szukaj.reset();
    m_dodajKomunikat.reset();
    m_najnowszy.reset();
    m_zakolejkuj.reset();
    m_kolejka.reset();
    m_usunZKolejki.reset();
    m_poczatek.reset();
    m_koniec.reset();
    sqlite3_close(m_baza);
  }

  std::optional<std::string> Haslo(std::uint32_t numer) override
  {
    TReset r{*m_haslo};
    if (!m_haslo->Wiaz(1, numer).Krok())
      return std::nullopt;
    return m_haslo->Tekst(0);
  }

  void UstawKonto(std::uint32_t numer, const std::string &haslo) override
  {
    m_ustawKonto->Wiaz(1, numer).Wiaz(2, haslo).Wykonaj();
  }

  void UstawKonta(const std::vector<std::pair<std::uint32_t, std::string>> &konta) override
  {
    m_poczatek->Wykonaj();
    try {
      for (const auto &[numer, haslo] : konta)
        UstawKonto(numer, haslo);
      m_koniec->Wykonaj();
    } catch (...) {
      sqlite3_exec(m_baza, "ROLLBACK", nullptr, nullptr, nullptr);
      throw;
    }
  }

  std::uint32_t NoweKonto(const std::string &haslo, const std::string &email) override
  {
    TReset r{*m_noweKonto};
    m_noweKonto->Wiaz(1, haslo).Wiaz(2, email).Krok();
    const auto numer = std::uint32_t(m_noweKonto->Liczba(0));
    while (m_noweKonto->Krok()) {
    }
    return numer;
  }

  void ZapiszToken(const std::string &id, const std::string &wartosc, std::int64_t wygasa) override
  {
    m_zapiszToken->Wiaz(1, id).Wiaz(2, wartosc).Wiaz(3, wygasa).Wykonaj();
  }

  std::optional<std::string> ZuzyjToken(const std::string &id, std::int64_t teraz) override
  {
    // Expired tokens of anybody go in the same statement.
    TReset r{*m_usunToken};
    m_usunToken->Wiaz(1, id).Wiaz(2, teraz);
    std::optional<std::string> wynik;
    while (m_usunToken->Krok()) {
      if (m_usunToken->Tekst(0) == id && m_usunToken->Liczba(2) > teraz)
        wynik = m_usunToken->Tekst(1);
    }
    return wynik;
  }

  std::optional<std::string> WartoscTokenu(const std::string &id, std::int64_t teraz) override
  {
    TReset r{*m_token};
    if (!m_token->Wiaz(1, id).Wiaz(2, teraz).Krok())
      return std::nullopt;
    return m_token->Tekst(0);
  }

  void ZapiszListe(std::uint32_t numer, const std::string &tekst) override
  {
    m_zapiszListe->Wiaz(1, numer).Wiaz(2, tekst).Wykonaj();
  }

  std::string Lista(std::uint32_t numer) override
  {
    TReset r{*m_lista};
    return m_lista->Wiaz(1, numer).Krok() ? m_lista->Tekst(0) : std::string();
  }

  void UstawZablokowanych(std::uint32_t numer,
                          const std::vector<std::uint32_t> &zablokowani) override
  {
    m_poczatek->Wykonaj();
    try {
      m_usunZablokowanych->Wiaz(1, numer).Wykonaj();
      for (const auto kogo : zablokowani)
        m_dodajZablokowanego->Wiaz(1, numer).Wiaz(2, kogo).Wykonaj();
      m_koniec->Wykonaj();
    } catch (...) {
      sqlite3_exec(m_baza, "ROLLBACK", nullptr, nullptr, nullptr);
      throw;
    }
  }

  bool Blokuje(std::uint32_t kto, std::uint32_t kogo) override
  {
    TReset r{*m_blokuje};
    return m_blokuje->Wiaz(1, kto).Wiaz(2, kogo).Krok();
  }

  std::vector<std::uint32_t> Zablokowani(std::uint32_t numer) override
  {
    TReset r{*m_zablokowani};
    m_zablokowani->Wiaz(1, numer);
    std::vector<std::uint32_t> wynik;
    while (m_zablokowani->Krok())
      wynik.push_back(std::uint32_t(m_zablokowani->Liczba(0)));
    return wynik;
  }

  void ZapiszWpis(const TWpisKatalogu &w) override
  {
    m_zapiszWpis->Wiaz(1, w.Numer)
        .Wiaz(2, w.Imie)
        .Wiaz(3, w.Nazwisko)
        .Wiaz(4, w.Pseudonim)
        .Wiaz(5, w.Miejscowosc)
        .Wiaz(6, w.Plec)
        .Wiaz(7, w.RokUrodzenia)
        .Wykonaj();
  }

  std::optional<TWpisKatalogu> Wpis(std::uint32_t numer) override
  {
    TReset r{*m_wpis};
    if (!m_wpis->Wiaz(1, numer).Krok())
      return std::nullopt;
    return Czytaj(*m_wpis);
  }

  std::vector<TWpisKatalogu> Szukaj(const TKryteriaKatalogu &k, int ile) override
  {
    TReset r{*m_szukaj};
    m_szukaj->Wiaz(1, k.OdNumeru)
        .Wiaz(2, k.Numer)
        .Wiaz(3, k.Imie)
        .Wiaz(4, k.Nazwisko)
        .Wiaz(5, k.Pseudonim)
        .Wiaz(6, k.Miejscowosc)
        .Wiaz(7, k.Plec)
        .Wiaz(8, k.RokUrodzenia)
        .Wiaz(9, ile);
    std::vector<TWpisKatalogu> wynik;
    while (m_szukaj->Krok())
      wynik.push_back(Czytaj(*m_szukaj));
    return wynik;
  }

  std::int64_t DodajKomunikat(const std::string &tekst) override
  {
    m_dodajKomunikat->Wiaz(1, tekst).Wykonaj();
    return sqlite3_last_insert_rowid(m_baza);
  }

  std::pair<std::int64_t, std::string> NajnowszyKomunikat() override
  {
    TReset r{*m_najnowszy};
    if (!m_najnowszy->Krok())
      return {0, std::string()};
    return {m_najnowszy->Liczba(0), m_najnowszy->Tekst(1)};
  }

  void Zakolejkuj(std::uint32_t adresat, const TWiadomoscZakolejkowana &w) override
  {
    m_zakolejkuj->Wiaz(1, adresat)
        .Wiaz(2, w.Nadawca)
        .Wiaz(3, w.Czas)
        .Wiaz(4, w.Klasa)
        .Wiaz(5, w.Tresc)
        .Wykonaj();
  }

  std::vector<TWiadomoscZakolejkowana> Kolejka(std::uint32_t adresat) override
  {
    TReset r{*m_kolejka};
    m_kolejka->Wiaz(1, adresat);
    std::vector<TWiadomoscZakolejkowana> wynik;
    while (m_kolejka->Krok()) {
      TWiadomoscZakolejkowana w;
      w.Id = m_kolejka->Liczba(0);
      w.Nadawca = std::uint32_t(m_kolejka->Liczba(1));
      w.Czas = std::uint32_t(m_kolejka->Liczba(2));
      w.Klasa = std::uint32_t(m_kolejka->Liczba(3));
      w.Tresc = m_kolejka->Tekst(4);
      wynik.push_back(std::move(w));
    }
    return wynik;
  }

  void UsunZKolejki(std::uint32_t adresat, std::int64_t doId) override
  {
    m_usunZKolejki->Wiaz(1, adresat).Wiaz(2, doId).Wykonaj();
  }

private:
  void Wykonaj(const char *sql)
  {
    char *blad = nullptr;
    if (sqlite3_exec(m_baza, sql, nullptr, nullptr, &blad) != SQLITE_OK) {
      const std::string tekst = blad ? blad : "?";
      sqlite3_free(blad);
      throw std::runtime_error("SQLite: " + tekst);
    }
  }

  static TWpisKatalogu Czytaj(const TZapytanie &z)
  {
    TWpisKatalogu w;
    w.Numer = std::uint32_t(z.Liczba(0));
    w.Imie = z.Tekst(1);
    w.Nazwisko = z.Tekst(2);
    w.Pseudonim = z.Tekst(3);
    w.Miejscowosc = z.Tekst(4);
    w.Plec = int(z.Liczba(5));
    w.RokUrodzenia = int(z.Liczba(6));
    return w;
  }

  sqlite3 *m_baza = nullptr;
  std::unique_ptr<TZapytanie> m_haslo, m_ustawKonto, m_noweKonto, m_zapiszToken, m_usunToken,
      m_zapiszListe, m_lista, m_usunZablokowanych, m_dodajZablokowanego, m_blokuje, m_zapiszWpis,
      m_wpis, m_szukaj, m_dodajKomunikat, m_najnowszy, m_zakolejkuj, m_kolejka, m_usunZKolejki,
      m_poczatek, m_koniec, m_token, m_zablokowani;
};

} // namespace

std::unique_ptr<TMagazyn> OtworzMagazynSqlite(const std::string &katalog)
{
  ::mkdir(katalog.c_str(), 0700);
  return std::make_unique<TMagazynSqlite>(katalog + "/paplanki-serwer.db");
}
