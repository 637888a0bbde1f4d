#include "archiwum/ZapisArchiwum.h"

#include "archiwum/Archiwum.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QtDebug>

namespace {

// The statements of one connection, prepared once.
struct TPolecenia {
  explicit TPolecenia(const QSqlDatabase &baza)
      : wiadomosc(baza), uczestnik(baza), szukaj(baza), status(baza), potwierdzenie(baza),
        przeczytana(baza), usunieta(baza)
  {
    wiadomosc.prepare(QStringLiteral(
        "INSERT INTO wiadomosci(id, kierunek, numer, sekwencja, czas_nadania, czas_utworzenia, "
        "czas_zapisu, status, przeczytana, w_drzewie, odpowiedz_na, glebokosc, konferencja, tekst) "
        "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
        "COALESCE((SELECT glebokosc + 1 FROM wiadomosci WHERE id = ?), 0), ?, ?)"));
    uczestnik.prepare(
        QStringLiteral("INSERT INTO uczestnicy(wiadomosc, pozycja, numer) VALUES(?, ?, ?)"));
    szukaj.prepare(QStringLiteral("INSERT INTO szukaj(rowid, tekst) VALUES(?, ?)"));
    status.prepare(QStringLiteral("UPDATE wiadomosci SET status = ? WHERE id = ?"));
    potwierdzenie.prepare(QStringLiteral(
        "INSERT INTO potwierdzenia(czas, sekwencja, status, wiadomosc) VALUES(?, ?, ?, ?)"));
    przeczytana.prepare(QStringLiteral("UPDATE wiadomosci SET przeczytana = 1 WHERE id = ?"));
    usunieta.prepare(QStringLiteral("UPDATE wiadomosci SET w_drzewie = 0 WHERE id = ?"));
  }

  bool Wykonaj(const TOperacjaArchiwum &o)
  {
    switch (o.rodzaj) {
    case TOperacjaArchiwum::Wiadomosc:
      return Wiadomosc(o.wiadomosc);
    case TOperacjaArchiwum::Status:
      return Uruchom(status, {o.status, o.id});
    case TOperacjaArchiwum::Potwierdzenie:
      return Uruchom(potwierdzenie,
                     {o.czas, o.sekwencja, o.status, o.id ? QVariant(o.id) : QVariant()});
    case TOperacjaArchiwum::Przeczytana:
      return Uruchom(przeczytana, {o.id});
    case TOperacjaArchiwum::Usunieta:
      return Uruchom(usunieta, {o.id});
    }
    return false;
  }

  bool Wiadomosc(const TWiadomoscArchiwum &w)
  {
    const QVariant utworzona =
        w.czasUtworzenia.isValid() ? QVariant(w.czasUtworzenia.toMSecsSinceEpoch()) : QVariant();
    const QVariant odpowiedz = w.odpowiedzNa ? QVariant(w.odpowiedzNa) : QVariant();
    if (!Uruchom(wiadomosc, {w.id, w.kierunek, w.numer, w.sekwencja, w.czasNadania, utworzona,
                             w.czasZapisu.toMSecsSinceEpoch(), w.status, int(w.przeczytana),
                             int(w.wDrzewie), odpowiedz, odpowiedz,
                             int(w.uczestnicy.size()), w.tekst}))
      return false;
    for (int i = 0; i < w.uczestnicy.size(); ++i)
      if (!Uruchom(uczestnik, {w.id, i, w.uczestnicy[i]}))
        return false;
    return Uruchom(szukaj, {w.id, TArchiwum::Zloz(w.tekst)});
  }

  static bool Uruchom(QSqlQuery &q, std::initializer_list<QVariant> wartosci)
  {
    int i = 0;
    for (const QVariant &v : wartosci)
      q.bindValue(i++, v);
    if (q.exec())
      return true;
    qWarning() << "Archiwum:" << q.lastError().text();
    return false;
  }

  QSqlQuery wiadomosc, uczestnik, szukaj, status, potwierdzenie, przeczytana, usunieta;
};

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
  const QString nazwa =
      QStringLiteral("zapis-%1").arg(quintptr(this), 0, 16);
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
      TPolecenia polecenia(baza);
      std::unique_lock zamek(m_zamek);
      for (;;) {
        m_jestPraca.wait(zamek, [this] { return m_koniec || !m_kolejka.empty(); });
        if (m_kolejka.empty())
          break; // m_koniec with nothing left
        std::deque<std::vector<TOperacjaArchiwum>> partie;
        partie.swap(m_kolejka);
        m_pracuje = true;
        zamek.unlock();

        bool zapisane = otwarta;
        if (otwarta) {
          baza.transaction();
          // One failing change does not take the others of its turn with it.
          for (const auto &partia : partie)
            for (const TOperacjaArchiwum &o : partia)
              zapisane = polecenia.Wykonaj(o) && zapisane;
          if (!baza.commit()) {
            qWarning() << "Archiwum:" << baza.lastError().text();
            baza.rollback();
            zapisane = false;
          }
        }
        ++m_transakcje;
        if (!zapisane) {
          ++m_bledy;
          if (m_poBledzie)
            m_poBledzie();
        }

        zamek.lock();
        m_pracuje = false;
        m_zrobione.notify_all();
      }
    }
    baza.close();
  }
  QSqlDatabase::removeDatabase(nazwa);
}
