#pragma once

#include "archiwum/WiadomoscArchiwum.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// The archive's writer thread, with a database connection of its own. Batches handed over wait in
// a queue; whatever is queued when the thread wakes is written in one transaction, so a writer
// that falls behind catches up with fewer commits instead of more.
class TZapisArchiwum {
public:
  // `poBledzie` runs on the writer thread after a batch that could not be written whole.
  TZapisArchiwum(const QString &sciezka, std::function<void()> poBledzie);
  // Writes everything still queued, then ends the thread.
  ~TZapisArchiwum();
  TZapisArchiwum(const TZapisArchiwum &) = delete;
  TZapisArchiwum &operator=(const TZapisArchiwum &) = delete;

  void Przekaz(std::vector<TOperacjaArchiwum> &&partia);
  // Until everything handed over so far is committed (or failed).
  void Zaczekaj();
  quint64 Transakcje() const { return m_transakcje.load(); }
  // Batches of which something was not written.
  int Bledy() const { return m_bledy.load(); }

private:
  void Petla();

  const QString m_sciezka;
  const std::function<void()> m_poBledzie;
  std::mutex m_zamek;
  std::condition_variable m_jestPraca;
  std::condition_variable m_zrobione;
  std::deque<std::vector<TOperacjaArchiwum>> m_kolejka;
  bool m_koniec = false;
  bool m_pracuje = false;
  std::atomic<quint64> m_transakcje{0};
  std::atomic<int> m_bledy{0};
  std::thread m_watek; // last: it uses everything above
};
