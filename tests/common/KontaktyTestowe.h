#pragma once

#include "common/ServerTestowy.h"
#include "gg/WysylaniePakietow.h"

#include <QByteArray>
#include <QList>
#include <QMetaType>

#include <memory>
#include <mutex>

class TGniazdo;

// A bare socket as the packet builders' sender, for checking their bytes without a session.
class TNadawcaGniazda : public TNadawcaPakietow {
public:
  explicit TNadawcaGniazda(TGniazdo &gniazdo) : m_gniazdo(gniazdo) {}
  int WyslijPakiet(qint32 typ, const QByteArray &cialo) override;
  bool PolaczenieOtwarte() const override;

private:
  TGniazdo &m_gniazdo;
};

// One GG frame as the server saw it.
struct TPakietGG {
  qint32 typ;
  QByteArray cialo;
  bool operator==(const TPakietGG &) const = default;
};
Q_DECLARE_METATYPE(TPakietGG)

// For QCOMPARE's failure messages: "0x0D: 39 30 00 00 ...".
char *toString(const TPakietGG &pakiet);

// A loopback GG server that only listens: it records every byte a client sends until the client
// closes, then cuts them into frames.
class TSluchajacySerwerGG {
public:
  TSluchajacySerwerGG();

  // Connects the socket to this server and waits until it is connected; false on timeout.
  bool Polacz(TGniazdo &gniazdo);
  // Lets the socket send what it holds, closes it and returns the frames the server received
  // (a trailing partial frame comes as one with typ -1 and the rest as its body).
  QList<TPakietGG> Zakoncz(TGniazdo &gniazdo);

private:
  std::mutex m_zamek;
  QByteArray m_dane;
  std::unique_ptr<TSerwerTestowy> m_serwer;
};
