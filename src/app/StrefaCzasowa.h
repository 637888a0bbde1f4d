#pragma once

#include <QString>

// The system's time zone file.
inline constexpr char PlikStrefySystemu[] = "/etc/localtime";

// Names the zone file in TZ (":" + path) when TZ is unset and the file exists; true when it did.
// With TZ unset the C library looks at the zone file again at every local-time conversion (each
// received message has one); named once, it reads the file once. The price: a change of the
// system's zone during the run is seen only at the next start. A TZ set by the user, also an
// empty one, is left as it is. Called before anything converts a time.
bool UstalStrefeCzasowa(const QString &plikStrefy = QString::fromLatin1(PlikStrefySystemu));
