#pragma once

#include <QtGlobal>

#include <atomic>
#include <functional>
#include <thread>

// A loopback listener for benchmarks: every accepted connection is handed to `obsluga` on the
// server's own thread, one at a time, and closed when the handler returns.
class TSerwerPomiarowy {
public:
  using TObsluga = std::function<void(int fd, const std::atomic<bool> &koniec)>;

  explicit TSerwerPomiarowy(TObsluga obsluga);
  ~TSerwerPomiarowy();
  TSerwerPomiarowy(const TSerwerPomiarowy &) = delete;
  TSerwerPomiarowy &operator=(const TSerwerPomiarowy &) = delete;

  quint16 Port() const { return m_port; }

private:
  void Przyjmuj();

  TObsluga m_obsluga;
  int m_fd = -1;
  quint16 m_port = 0;
  std::atomic<bool> m_koniec{false};
  std::thread m_watek;
};
