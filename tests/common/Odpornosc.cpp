#include "common/Odpornosc.h"

#include <QFile>

#include <algorithm>

#include <unistd.h>

namespace {
constexpr int Okres = 10;
}

TPomiarOdpornosci::TPomiarOdpornosci()
{
  m_zegar.setInterval(Okres);
  m_zegar.setTimerType(Qt::PreciseTimer);
  connect(&m_zegar, &QTimer::timeout, this, [this] { Tik(); });
}

void TPomiarOdpornosci::Rozpocznij()
{
  m_najdluzszaPrzerwa = 0;
  m_pamiecNaPoczatku = m_pamiecNajwieksza = PamiecKiB();
  m_tiki = 0;
  m_czas.start();
  m_ostatni = 0;
  m_zegar.start();
}

void TPomiarOdpornosci::Tik()
{
  const qint64 teraz = m_czas.elapsed();
  m_najdluzszaPrzerwa = std::max(m_najdluzszaPrzerwa, teraz - m_ostatni - Okres);
  m_ostatni = teraz;
  // Reading /proc at every tick would cost more than what is measured.
  if (++m_tiki % 5 == 0)
    m_pamiecNajwieksza = std::max(m_pamiecNajwieksza, PamiecKiB());
}

qint64 TPomiarOdpornosci::PrzyrostPamieciKiB()
{
  m_pamiecNajwieksza = std::max(m_pamiecNajwieksza, PamiecKiB());
  return m_pamiecNajwieksza - m_pamiecNaPoczatku;
}

qint64 TPomiarOdpornosci::PamiecKiB()
{
  QFile statm(QStringLiteral("/proc/self/statm"));
  if (!statm.open(QIODevice::ReadOnly))
    return 0;
  const QList<QByteArray> pola = statm.readAll().split(' ');
  return pola.size() > 1 ? pola[1].toLongLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}
