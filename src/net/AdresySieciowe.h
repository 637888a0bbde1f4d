#pragma once

#include <QString>

// IPv4 name and port resolution shared by the socket and the HTTP client (both resolve names on
// a helper thread, through TRozwiazywanieNazwy).

// A dotted IPv4 address needs no resolution; true and the address in network order when `tekst`
// is one.
bool CzytajAdresIPv4(const QString &tekst, quint32 &adresSieciowy);

// Blocking resolution of a host name (or dotted address) to its first IPv4 address. On failure
// returns false with `kodBledu` in the Winsock numbering (11001 host not found, 10022 bad name).
// Safe to call from any thread.
bool RozwiazNazweIPv4(const QString &nazwa, quint32 &adresSieciowy, int &kodBledu);

// A port given as a decimal number or a service name of the protocol ("tcp"); false when neither.
bool RozwiazPort(const QString &tekst, const char *protokol, quint16 &port);

QString TekstAdresuIPv4(quint32 adresSieciowy);
