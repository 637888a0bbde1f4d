#include "gg/CzasUnix.h"

#include <cerrno>
#include <ctime>

namespace {

const QDateTime &Poczatek1970()
{
  static const QDateTime poczatek(QDate(1970, 1, 1), QTime(0, 0), Qt::UTC);
  return poczatek;
}

// Seconds east of UTC in force at `chwila`, or 0 when the zone's state is unknown.
qint64 PrzesuniecieWChwili(qint64 chwila)
{
  tzset();
  const std::time_t t = std::time_t(chwila);
  std::tm tm{};
  if (!localtime_r(&t, &tm) || tm.tm_isdst < 0)
    return 0;
  return tm.tm_gmtoff;
}

// Seconds east of UTC in force at the local wall-clock time `sciana`. In the hour that occurs
// twice when clocks go back, `letni` (-1 when not known) picks the occurrence.
qint64 PrzesuniecieDlaCzasuLokalnego(const QDateTime &sciana, int letni)
{
  tzset();
  const auto wypelnij = [&](int isdst) {
    std::tm tm{};
    tm.tm_year = sciana.date().year() - 1900;
    tm.tm_mon = sciana.date().month() - 1;
    tm.tm_mday = sciana.date().day();
    tm.tm_hour = sciana.time().hour();
    tm.tm_min = sciana.time().minute();
    tm.tm_sec = sciana.time().second();
    tm.tm_isdst = isdst;
    return tm;
  };
  std::tm tm = wypelnij(letni);
  errno = 0;
  std::time_t wynik = mktime(&tm);
  if (letni >= 0 && (tm.tm_hour != sciana.time().hour() || tm.tm_min != sciana.time().minute())) {
    // The hint did not fit this wall time (mktime moved it by an hour): let the zone decide.
    tm = wypelnij(-1);
    errno = 0;
    wynik = mktime(&tm);
  }
  if ((wynik == std::time_t(-1) && errno != 0) || tm.tm_isdst < 0)
    return 0;
  return tm.tm_gmtoff;
}

} // namespace

QDateTime UnixToLocal(quint32 sekundy)
{
  const qint64 przesuniecie = PrzesuniecieWChwili(sekundy);
  const QDateTime sciana = Poczatek1970().addSecs(qint64(sekundy) + przesuniecie);
  // The same wall time can name two instants (clocks going back): keep the one we were given.
  const QDateTime dokladny = QDateTime::fromSecsSinceEpoch(sekundy, Qt::LocalTime);
  if (dokladny.date() == sciana.date() && dokladny.time() == sciana.time())
    return dokladny;
  return QDateTime(sciana.date(), sciana.time(), Qt::LocalTime);
}

quint32 LocalToUnix(const QDateTime &czas)
{
  const QDateTime lokalny = czas.timeSpec() == Qt::LocalTime ? czas : czas.toLocalTime();
  const QDateTime sciana(lokalny.date(), lokalny.time(), Qt::UTC);
  int letni = -1;
  if (lokalny.isValid())
    letni = lokalny.isDaylightTime() ? 1 : 0;
  const qint64 przesuniecie = PrzesuniecieDlaCzasuLokalnego(sciana, letni);
  const qint64 ms = Poczatek1970().msecsTo(sciana) - przesuniecie * 1000;
  // Nearest second, halves up; times outside the 32-bit range wrap as the wire field does.
  const qint64 sekundy = (ms + 500) / 1000 - ((ms + 500) % 1000 < 0 ? 1 : 0);
  return quint32(sekundy);
}
