#pragma once

#include <QByteArray>

class TGniazdo;

// The one way to send on the GG connection: type, body length and body handed to the socket in a
// single SendString, so frames never interleave. No state check and no queue of its own: a send
// on a closed socket is reported by the socket (OnError, then the session reconnects). Returns
// what SendString returned.
int WyslijPakiet(TGniazdo &gniazdo, qint32 typ, const QByteArray &cialo);

// What the packet builders send through: in the program only the session, whose socket nobody
// else holds, so every packet leaves by its WyslijPakiet.
class TNadawcaPakietow {
public:
  virtual ~TNadawcaPakietow() = default;
  // Frames and sends one packet; the result is the socket's SendString (negative when refused).
  virtual int WyslijPakiet(qint32 typ, const QByteArray &cialo) = 0;
  // The GG connection is up (a send would reach the server).
  virtual bool PolaczenieOtwarte() const = 0;
};
