#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// One accepted connection of the test server, used from the server's own thread with plain
// blocking calls. Every wait is bounded and gives up when the server is being destroyed.
class TPolaczenieTestowe {
public:
  TPolaczenieTestowe(int fd, const std::atomic<bool> &koniec);
  ~TPolaczenieTestowe();
  TPolaczenieTestowe(const TPolaczenieTestowe &) = delete;
  TPolaczenieTestowe &operator=(const TPolaczenieTestowe &) = delete;

  // Reads up to and including `znacznik`; on timeout or the peer's close returns what came.
  QByteArray CzytajDo(const QByteArray &znacznik, int limitMs = 5000);
  // Reads exactly `ile` bytes, or fewer when the peer closes or the time runs out.
  QByteArray Czytaj(qsizetype ile, int limitMs = 5000);
  // Everything until the peer closes.
  QByteArray CzytajDoZamkniecia(int limitMs = 5000);
  // True when the peer has closed (orderly or by reset) within the time; data is discarded.
  bool CzekajNaZamkniecie(int limitMs = 5000);
  bool Pisz(const QByteArray &dane);
  void Zamknij(); // orderly: FIN after everything written
  void Resetuj(); // abortive: RST
  void Spij(int ms);

private:
  // One bounded wait for more bytes into m_reszta; false on close, error or timeout.
  bool Doczytaj(int limitMs);

  int m_fd;
  const std::atomic<bool> &m_koniec;
  QByteArray m_reszta;
  bool m_zamknietePrzezDrugaStrone = false;
};

// A TCP server on 127.0.0.1 with a free port. Each accepted connection runs the script on a
// thread of its own; the destructor stops accepting and waits for the scripts.
class TSerwerTestowy {
public:
  using TScenariusz = std::function<void(TPolaczenieTestowe &)>;
  explicit TSerwerTestowy(TScenariusz scenariusz);
  ~TSerwerTestowy();
  TSerwerTestowy(const TSerwerTestowy &) = delete;
  TSerwerTestowy &operator=(const TSerwerTestowy &) = delete;

  quint16 Port() const { return m_port; }
  QString PortTekst() const { return QString::number(m_port); }
  int Przyjete() const { return m_przyjete.load(); }
  int Zakonczone() const { return m_zakonczone.load(); }

private:
  void Przyjmuj();

  int m_fd = -1;
  quint16 m_port = 0;
  TScenariusz m_scenariusz;
  std::atomic<bool> m_koniec{false};
  std::atomic<int> m_przyjete{0};
  std::atomic<int> m_zakonczone{0};
  std::mutex m_mutex;
  // A script's thread with the flag it sets when done, so finished threads can be joined while
  // the server goes on (a long-lived server would otherwise keep every thread's stack).
  struct TWatek {
    std::thread watek;
    std::shared_ptr<std::atomic<bool>> zakonczony;
  };
  std::vector<TWatek> m_watki;
  std::thread m_watekPrzyjmujacy;
};

// A loopback port that is bound but not listening: a connect to it is refused, and nothing
// else can take the port while the object lives.
class TPortBezSerwera {
public:
  TPortBezSerwera();
  ~TPortBezSerwera();
  TPortBezSerwera(const TPortBezSerwera &) = delete;
  TPortBezSerwera &operator=(const TPortBezSerwera &) = delete;
  quint16 Port() const { return m_port; }
  QString PortTekst() const { return QString::number(m_port); }

private:
  int m_fd = -1;
  quint16 m_port = 0;
};
