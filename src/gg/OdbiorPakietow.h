#pragma once

#include <QByteArray>

#include <functional>

// Cuts the received byte stream of one GG connection into whole packets and hands each one to the
// dispatcher, in arrival order.
//
// A dispatcher may open a modal box whose event loop delivers the next data event into this same
// object. Each packet is taken out of the buffer before it is handed on and nothing points into
// the buffer while a handler runs, so a nested delivery simply continues with the next packet and
// the outer loop then finds whatever is left.
class TOdbiorPakietow {
public:
  // (type, body length, body). The body is valid for the duration of the call.
  using TDyspozytor = std::function<void(qint32 typ, qint32 dlugosc, const QByteArray &cialo)>;
  // (type, declared length) of a header that cannot start a GG packet. The buffer is already
  // empty when this runs; the owner is expected to drop the connection.
  using TBlednyStrumien = std::function<void(qint32 typ, quint32 dlugosc)>;

  // No GG packet comes near this size (a notify list is 2000 bytes); a larger declared length
  // means the stream is out of step and waiting for the body would only pile up memory.
  static constexpr quint32 NajwiekszaDlugoscCiala = 1024 * 1024;

  explicit TOdbiorPakietow(TDyspozytor dyspozytor = {}, TBlednyStrumien blednyStrumien = {});

  void UstawDyspozytor(TDyspozytor dyspozytor);
  void UstawBlednyStrumien(TBlednyStrumien blednyStrumien);

  // One read of the socket: `wynikReceive` is what Receive returned. A read of zero or an error
  // adds nothing and parses nothing, even when whole packets are waiting (the next data event
  // takes them). Otherwise the bytes are appended and every whole packet is dispatched.
  void Odebrano(const char *dane, int wynikReceive);

  // A new connection starts with an empty buffer.
  void Wyczysc();

  // Bytes received and not yet dispatched.
  qsizetype Oczekujace() const;

private:
  void Dopisz(const char *dane, int ile);
  void Rozbieraj();

  TDyspozytor m_dyspozytor;
  TBlednyStrumien m_blednyStrumien;
  QByteArray m_bufor;
  // Start of the bytes not yet dispatched: the taken prefix is dropped only now and then, since
  // removing it after every packet would copy the rest again each time.
  qsizetype m_odczytano = 0;
};
