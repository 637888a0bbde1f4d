#include "archiwum/ZapisArchiwum.h"

#include "archiwum/Archiwum.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QtDebug>

#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <optional>

namespace {

// The statements of the writer's connection, prepared once and run through SQLite's own
// interface: the archive's hot path binds integers and UTF-16 text straight, with no variant
// boxing per value.
class TPolecenia {
public:
  explicit TPolecenia(sqlite3 *baza) : m_baza(baza)
  {
    if (!m_baza)
      return;
    wiadomosc = Przygotuj(
        "INSERT INTO wiadomosci(id, kierunek, numer, sekwencja, czas_nadania, czas_utworzenia, "
        "czas_zapisu, status, przeczytana, w_drzewie, odpowiedz_na, glebokosc, konferencja, tekst) "
        "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, "
        "COALESCE((SELECT glebokosc + 1 FROM wiadomosci WHERE id = ?11), 0), ?12, ?13)");
    uczestnik = Przygotuj("INSERT INTO uczestnicy(wiadomosc, pozycja, numer) VALUES(?, ?, ?)");
    szukaj = Przygotuj("INSERT INTO szukaj(rowid, tekst) VALUES(?, ?)");
    status = Przygotuj("UPDATE wiadomosci SET status = ? WHERE id = ?");
    potwierdzenie = Przygotuj(
        "INSERT INTO potwierdzenia(czas, sekwencja, status, wiadomosc) VALUES(?, ?, ?, ?)");
    przeczytana = Przygotuj("UPDATE wiadomosci SET przeczytana = 1 WHERE id = ?");
    usunieta = Przygotuj("UPDATE wiadomosci SET w_drzewie = 0 WHERE id = ?");
  }
  ~TPolecenia()
  {
    for (sqlite3_stmt *p :
         {wiadomosc, uczestnik, szukaj, status, potwierdzenie, przeczytana, usunieta})
      sqlite3_finalize(p);
  }
  TPolecenia(const TPolecenia &) = delete;
  TPolecenia &operator=(const TPolecenia &) = delete;

  bool Polecenie(const char *sql)
  {
    return m_baza && Sprawdz(sqlite3_exec(m_baza, sql, nullptr, nullptr, nullptr) == SQLITE_OK);
  }

  bool Wykonaj(const TOperacjaArchiwum &o)
  {
    switch (o.rodzaj) {
    case TOperacjaArchiwum::Wiadomosc:
      return Wiadomosc(o.wiadomosc);
    case TOperacjaArchiwum::Status:
      return Uruchom(status, {o.status, o.id});
    case TOperacjaArchiwum::Potwierdzenie:
      return Uruchom(potwierdzenie, {o.czas, o.sekwencja, o.status, Lub(o.id)});
    case TOperacjaArchiwum::Przeczytana:
      return Uruchom(przeczytana, {o.id});
    case TOperacjaArchiwum::Usunieta:
      return Uruchom(usunieta, {o.id});
    }
    return false;
  }

private:
  // An integer, or NULL for std::nullopt.
  using TLiczba = std::optional<qint64>;
  static TLiczba Lub(qint64 v) { return v ? TLiczba(v) : std::nullopt; }

  bool Wiadomosc(const TWiadomoscArchiwum &w)
  {
    const TLiczba utworzona =
        w.czasUtworzenia.isValid() ? TLiczba(w.czasUtworzenia.toMSecsSinceEpoch()) : std::nullopt;
    if (!Uruchom(wiadomosc,
                 {w.id, w.kierunek, w.numer, w.sekwencja, w.czasNadania, utworzona,
                  w.czasZapisu.toMSecsSinceEpoch(), w.status, qint64(w.przeczytana),
                  qint64(w.wDrzewie), Lub(w.odpowiedzNa), qint64(w.uczestnicy.size())},
                 &w.tekst))
      return false;
    for (int i = 0; i < w.uczestnicy.size(); ++i)
      if (!Uruchom(uczestnik, {w.id, i, w.uczestnicy[i]}))
        return false;
    const QString zlozony = TArchiwum::Zloz(w.tekst);
    return Uruchom(szukaj, {w.id}, &zlozony);
  }

  // Binds the integers in order, then the text (when given) after them, and runs the statement.
  bool Uruchom(sqlite3_stmt *p, std::initializer_list<TLiczba> liczby,
               const QString *tekst = nullptr)
  {
    if (!p)
      return false;
    int i = 0;
    for (const TLiczba &v : liczby) {
      ++i;
      if (v)
        sqlite3_bind_int64(p, i, *v);
      else
        sqlite3_bind_null(p, i);
    }
    if (tekst)
      sqlite3_bind_text16(p, i + 1, tekst->utf16(), int(tekst->size() * 2), SQLITE_STATIC);
    const int wynik = sqlite3_step(p);
    sqlite3_reset(p);
    sqlite3_clear_bindings(p);
    return Sprawdz(wynik == SQLITE_DONE);
  }

  sqlite3_stmt *Przygotuj(const char *sql)
  {
    sqlite3_stmt *p = nullptr;
    if (!Sprawdz(sqlite3_prepare_v3(m_baza, sql, -1, SQLITE_PREPARE_PERSISTENT, &p, nullptr) ==
                 SQLITE_OK))
      return nullptr;
    return p;
  }

  bool Sprawdz(bool dobrze)
  {
    if (!dobrze)
      qWarning() << "Archiwum:" << sqlite3_errmsg(m_baza);
    return dobrze;
  }

  sqlite3 *m_baza;
  sqlite3_stmt *wiadomosc = nullptr;
  sqlite3_stmt *uczestnik = nullptr;
  sqlite3_stmt *szukaj = nullptr;
  sqlite3_stmt *status = nullptr;
  sqlite3_stmt *potwierdzenie = nullptr;
  sqlite3_stmt *przeczytana = nullptr;
  sqlite3_stmt *usunieta = nullptr;
};

constexpr int PriorytetZapisu = 5; // nice value of the writer thread

// The SQLite handle under a Qt connection.
sqlite3 *Uchwyt(const QSqlDatabase &baza)
{
  const QVariant v = baza.driver() ? baza.driver()->handle() : QVariant();
  if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
    return nullptr;
  return *static_cast<sqlite3 *const *>(v.constData());
}

} // namespace

TZapisArchiwum::TZapisArchiwum(const QString &sciezka, std::function<void()> poBledzie)
    : m_sciezka(sciezka), m_poBledzie(std::move(poBledzie)), m_watek([this] { Petla(); })
{
}

TZapisArchiwum::~TZapisArchiwum()
{
  {
    std::lock_guard zamek(m_zamek);
    m_koniec = true;
  }
  m_jestPraca.notify_all();
  m_watek.join();
}

void TZapisArchiwum::Przekaz(std::vector<TOperacjaArchiwum> &&partia)
{
  {
    std::lock_guard zamek(m_zamek);
    m_kolejka.push_back(std::move(partia));
  }
  m_jestPraca.notify_one();
}

void TZapisArchiwum::Zaczekaj()
{
  std::unique_lock zamek(m_zamek);
  m_zrobione.wait(zamek, [this] { return m_kolejka.empty() && !m_pracuje; });
}

void TZapisArchiwum::Petla()
{
  // Slightly behind the UI thread: waking the writer must not take the UI thread's processor.
  ::setpriority(PRIO_PROCESS, id_t(::gettid()), PriorytetZapisu);
  const QString nazwa = QStringLiteral("zapis-%1").arg(quintptr(this), 0, 16);
  {
    QSqlDatabase baza = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nazwa);
    baza.setDatabaseName(m_sciezka);
    baza.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    const bool otwarta = baza.open();
    if (otwarta) {
      // WAL with NORMAL sync: a commit survives the program being killed; only a power loss
      // may take the last turns back.
      QSqlQuery(QStringLiteral("PRAGMA synchronous = NORMAL"), baza);
      QSqlQuery(QStringLiteral("PRAGMA cache_size = -16384"), baza);
    } else {
      qWarning() << "Archiwum:" << baza.lastError().text();
    }
    {
      TPolecenia polecenia(otwarta ? Uchwyt(baza) : nullptr);
      std::unique_lock zamek(m_zamek);
      for (;;) {
        m_jestPraca.wait(zamek, [this] { return m_koniec || !m_kolejka.empty(); });
        if (m_kolejka.empty())
          break; // m_koniec with nothing left
        std::deque<std::vector<TOperacjaArchiwum>> partie;
        partie.swap(m_kolejka);
        m_pracuje = true;
        zamek.unlock();

        bool zapisane = polecenia.Polecenie("BEGIN");
        if (zapisane) {
          // One failing change does not take the others of its turn with it.
          for (const auto &partia : partie)
            for (const TOperacjaArchiwum &o : partia)
              zapisane = polecenia.Wykonaj(o) && zapisane;
          if (!polecenia.Polecenie("COMMIT")) {
            polecenia.Polecenie("ROLLBACK");
            zapisane = false;
          }
        }
        ++m_transakcje;
        if (!zapisane) {
          ++m_bledy;
          if (m_poBledzie)
            m_poBledzie();
        }
        partie.clear(); // freed outside the lock

        zamek.lock();
        m_pracuje = false;
        m_zrobione.notify_all();
      }
    }
    baza.close();
  }
  QSqlDatabase::removeDatabase(nazwa);
}
