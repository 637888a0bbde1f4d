#pragma once

#include <QDateTime>

// Unix times of the GG wire (unsigned seconds since 1970-01-01 00:00 UTC) and local date-times.
//
// The zone's bias is the one in force at the instant being converted, not at the moment of the
// call: a winter time read in summer (or a return time set across the change) must not move by an
// hour. A zone without daylight time is standard time all year. Only when the C library cannot
// tell the zone's state is the time taken without bias.

QDateTime UnixToLocal(quint32 sekundy);

// The inverse; a non-local date-time is taken at its local equivalent. Rounded to whole seconds.
quint32 LocalToUnix(const QDateTime &czas);
