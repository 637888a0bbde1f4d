#pragma once

#include <QByteArray>

class TGniazdo;

// The one way to send on the GG connection: type, body length and body handed to the socket in a
// single SendString, so frames never interleave. No state check and no queue of its own: a send
// on a closed socket is reported by the socket (OnError, then the session reconnects). Returns
// what SendString returned.
int WyslijPakiet(TGniazdo &gniazdo, qint32 typ, const QByteArray &cialo);
