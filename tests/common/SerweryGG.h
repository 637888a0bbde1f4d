#pragma once

#include "common/ServerTestowy.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <mutex>

// Loopback stand-ins for the GG web lookup and the GG server, scripted from a test. Both run on
// the test server's threads; everything the test reads goes through their locks.

struct TPakietGG {
  qint32 typ = 0;
  QByteArray cialo;
};

// Cuts every whole frame off the front of `bufor`.
QList<TPakietGG> WytnijPakiety(QByteArray &bufor);

// An HTTP/1.0 host: records each request (with its body when Content-Length says so) and answers
// it with the pieces given, a pause between them; then closes or waits for the client to close.
class TSerwerHttpGG {
public:
  TSerwerHttpGG();

  void UstawOdpowiedz(const QList<QByteArray> &kawalki, bool zamknijPoOdpowiedzi = false,
                      int przerwaMs = 30);
  QList<QByteArray> Zapytania() const;
  // Connections whose script ran to the end (the client or the server closed).
  int Zakonczone() const { return m_serwer.Zakonczone(); }
  int Przyjete() const { return m_serwer.Przyjete(); }
  QString PortTekst() const { return m_serwer.PortTekst(); }

  // The usual lookup reply naming a GG server on 127.0.0.1.
  static QByteArray OdpowiedzWyszukiwania(const QString &portGG, int numerInformacji = 0,
                                          const QByteArray &informacja = QByteArray());

private:
  void Obsluz(TPolaczenieTestowe &p);

  mutable std::mutex m_zamek;
  QList<QByteArray> m_kawalki;
  bool m_zamknij = false;
  int m_przerwaMs = 30;
  QList<QByteArray> m_zapytania;
  TSerwerTestowy m_serwer; // last: its threads use the fields above
};

// A GG server: greets each connection with the seed, records every packet received, answers a
// login packet as told, and sends or closes on the test's request.
class TSerwerGGTestowy {
public:
  explicit TSerwerGGTestowy(quint32 ziarno);
  ~TSerwerGGTestowy();

  // GGAnsLoginOk, GGAnsLoginFailed, or 0 for no answer.
  void UstawOdpowiedzNaLogowanie(qint32 typ) { m_odpowiedzNaLogowanie = typ; }
  // Raw bytes for the current connection, written by the server thread.
  void Wyslij(const QByteArray &dane);
  // The server closes the current connection.
  void Rozlacz();

  int Polaczenia() const;
  // Packets received on connection `nr` (0 = first).
  QList<TPakietGG> Pakiety(int nr) const;
  // Of one type, on connection `nr`.
  QList<TPakietGG> Pakiety(int nr, qint32 typ) const;
  // True once connection `nr` has been closed by the client.
  bool ZamknietePrzezKlienta(int nr) const;
  QString PortTekst() const { return m_serwer.PortTekst(); }

private:
  void Obsluz(TPolaczenieTestowe &p);

  const quint32 m_ziarno;
  std::atomic<qint32> m_odpowiedzNaLogowanie{0};
  std::atomic<bool> m_stop{false};
  mutable std::mutex m_zamek;
  QList<QList<TPakietGG>> m_pakiety;
  QList<bool> m_zamkniete;
  QByteArray m_doWyslania;
  bool m_rozlacz = false;
  TSerwerTestowy m_serwer; // last: its threads use the fields above
};
