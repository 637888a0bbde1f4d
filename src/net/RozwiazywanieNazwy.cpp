#include "net/RozwiazywanieNazwy.h"

#include "net/AdresySieciowe.h"
#include "net/KodyBledow.h"

#include <QSocketNotifier>
#include <QTimer>

#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <system_error>
#include <thread>

// Lives as long as either side needs it: the helper thread may outlast the requesting object.
struct TRozwiazywanieNazwy::TWspolne {
  int fd = -1;
  std::atomic<bool> gotowe{false};
  bool ok = false;
  quint32 adres = 0;
  int kod = 0;
  ~TWspolne()
  {
    if (fd >= 0)
      ::close(fd);
  }
};

TRozwiazywanieNazwy::TRozwiazywanieNazwy(const QString &nazwa, TWynik gotowe, QObject *parent)
    : QObject(parent), m_wspolne(std::make_shared<TWspolne>()), m_gotowe(std::move(gotowe))
{
  m_wspolne->fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  bool watek = false;
  if (m_wspolne->fd >= 0) {
    m_powiadamiacz = new QSocketNotifier(m_wspolne->fd, QSocketNotifier::Read, this);
    connect(m_powiadamiacz, &QSocketNotifier::activated, this, &TRozwiazywanieNazwy::Odbierz);
    try {
      std::thread([wspolne = m_wspolne, nazwa] {
        int kod = 0;
        quint32 adres = 0;
        wspolne->ok = RozwiazNazweIPv4(nazwa, adres, kod);
        wspolne->adres = adres;
        wspolne->kod = kod;
        wspolne->gotowe.store(true, std::memory_order_release);
        const quint64 jeden = 1;
        [[maybe_unused]] const ssize_t r = ::write(wspolne->fd, &jeden, sizeof jeden);
      }).detach();
      watek = true;
    } catch (const std::system_error &) {
      m_powiadamiacz->setEnabled(false);
    }
  }
  if (!watek) {
    // No helper thread to be had: report a temporary failure from the event loop.
    m_wspolne->kod = KodBledu::WSATRY_AGAIN;
    m_wspolne->gotowe = true;
    QTimer::singleShot(0, this, &TRozwiazywanieNazwy::Odbierz);
  }
}

TRozwiazywanieNazwy::~TRozwiazywanieNazwy()
{
  // Off the event loop before the descriptor may go with the shared part.
  delete m_powiadamiacz;
}

void TRozwiazywanieNazwy::Anuluj()
{
  m_gotowe = nullptr;
  if (m_powiadamiacz)
    m_powiadamiacz->setEnabled(false);
}

void TRozwiazywanieNazwy::Odbierz()
{
  if (!m_wspolne->gotowe.load(std::memory_order_acquire))
    return;
  if (m_powiadamiacz)
    m_powiadamiacz->setEnabled(false);
  TWynik gotowe = std::move(m_gotowe);
  m_gotowe = nullptr;
  if (gotowe)
    gotowe(m_wspolne->ok, m_wspolne->adres, m_wspolne->kod);
}
