#pragma once

#include "net/Blad.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <deque>
#include <exception>
#include <functional>

class QSocketNotifier;
class TRozwiazywanieNazwy;

enum TStanGniazda {
  gsInvalidState,
  gsOpened,
  gsBound,
  gsConnecting,
  gsConnected,
  gsAccepting,
  gsListening,
  gsClosed
};

enum TLingerGniazda { gsLingerOn, gsLingerOff, gsLingerNoSet };

enum TFlagiWysylania { gsSendNormal, gsSendUrgent };

// A failure of the socket raised when its owner has not assigned OnError.
class EBladGniazda : public EBlad {
public:
  using EBlad::EBlad;
};

// One piece of the send queue. The queue is a list of these, each filled before the next is added.
struct TBlokBufora {
  static constexpr int Rozmiar = 1514;
  char Dane[Rozmiar];
  int Poczatek = 0; // first byte not yet handed to the network
  int Koniec = 0;   // end of the bytes written into the block
};

// One outgoing TCP connection that never blocks the UI thread: a host name is resolved on a
// helper thread (State stays gsClosed until then, though the socket counts as in use), readiness
// is watched with QSocketNotifier and every notification runs on the thread that owns the object.
// Error numbers follow the Winsock numbering (net/KodyBledow.h).
class TGniazdo : public QObject {
  Q_OBJECT
public:
  explicit TGniazdo(QObject *parent = nullptr);
  ~TGniazdo() override;

  const QString &Addr() const { return m_addr; }
  void SetAddr(const QString &wartosc);
  const QString &Port() const { return m_port; }
  void SetPort(const QString &wartosc);
  const QString &Proto() const { return m_proto; }
  void SetProto(const QString &wartosc);
  const QString &LocalAddr() const { return m_localAddr; }
  void SetLocalAddr(const QString &wartosc);
  const QString &LocalPort() const { return m_localPort; }
  void SetLocalPort(const QString &wartosc);
  bool LineMode() const { return m_lineMode; }
  void SetLineMode(bool wartosc) { m_lineMode = wartosc; }
  bool MultiThreaded() const { return m_multiThreaded; }
  void SetMultiThreaded(bool wartosc) { m_multiThreaded = wartosc; }
  TLingerGniazda LingerOnOff() const { return m_lingerOnOff; }
  void SetLingerOnOff(TLingerGniazda wartosc) { m_lingerOnOff = wartosc; }
  int LingerTimeout() const { return m_lingerTimeout; }
  void SetLingerTimeout(int sekundy) { m_lingerTimeout = sekundy; }
  TFlagiWysylania SendFlags() const { return m_sendFlags; }
  void SetSendFlags(TFlagiWysylania wartosc) { m_sendFlags = wartosc; }

  TStanGniazda State() const { return m_stan; }
  int LastError() const { return m_ostatniBlad; }
  // Text of the last failure reported through OnError (or raised); for the owner's log.
  const QString &OstatniKomunikat() const { return m_ostatniKomunikat; }

  std::function<void(TGniazdo *Sender, quint16 Error)> OnSessionConnected, OnDataAvailable,
      OnSessionClosed;
  std::function<void(TGniazdo *Sender, TStanGniazda OldState, TStanGniazda NewState)> OnChangeState;
  std::function<void(TGniazdo *Sender)> OnError;
  std::function<void(TGniazdo *Sender, const std::exception &E, bool &CanClose)> OnBgException;

  void Connect();
  int Receive(char *bufor, int rozmiar);
  int Send(const char *dane, int dlugosc);
  int SendString(const QByteArray &tekst);
  void Abort();
  void Close();

  qsizetype BajtyDoWyslania() const;

private:
  // Where a connect goes once the names are numbers, in network order.
  struct TCel {
    quint16 Port = 0;
    quint16 PortLokalny = 0;
    quint32 Adres = 0;
    quint32 AdresLokalny = 0;
  };
  // Connect's checks of the settings, with the ports converted into `cel`; false after the
  // failure has been reported.
  bool PrzygotujCel(TCel &cel);
  void RozwiazWTle(TCel cel, bool zdalny);
  void Nawiaz(const TCel &cel);
  // Nawiaz's steps: the socket options and local address (the name of the call that failed, with
  // errno still set, or null); the non-blocking connect (0 or the Winsock number of an at once
  // failure); reporting such a failure from the event loop.
  const char *UstawOpcje(int fd, const TCel &cel);
  int RozpocznijLaczenie(int fd, const TCel &cel);
  void ZglosWynikLaczeniaPozniej(quint64 pokolenie, int bladLaczenia);
  void PorzucRozwiazywanie();
  // Not closed: connected, or still waiting for its name to resolve.
  bool Zajete() const { return m_stan != gsClosed || m_rozwiazywanie; }

  void GotowoscOdczytu();
  void GotowoscZapisu();
  void WynikLaczenia(int blad);
  void PetlaDanych(quint64 pokolenie);
  void ZamknieciePrzezDrugaStrone(quint16 powod);
  void ProbujWyslac();
  int OczekujaceBajty() const;

  // Releases the descriptor, restores the defaults and reports the close (once per connection).
  void Zamknij(bool wylaczNadawanie, bool bezLingerowania, quint16 blad);
  void ZwolnijDeskryptor(bool wylaczNadawanie, bool bezLingerowania);
  void UstawDomyslne();
  void ZmienStan(TStanGniazda nowy);

  void BladTekstowy(const QString &komunikat);
  void BladSystemowy(const QString &operacja, int kod);
  void ZglosBlad();
  template <typename F> void WywolajWTle(F &&wywolanie);
  void WyjatekWTle(const std::exception &wyjatek);
  bool Aktualne(quint64 pokolenie) const { return m_pokolenie == pokolenie && m_fd >= 0; }

  QString m_addr;
  QString m_port;
  QString m_proto = QStringLiteral("tcp");
  QString m_localAddr = QStringLiteral("0.0.0.0");
  QString m_localPort = QStringLiteral("0");
  bool m_addrUstawiony = false;
  bool m_portUstawiony = false;
  bool m_lineMode = false;
  bool m_multiThreaded = false;
  TLingerGniazda m_lingerOnOff = gsLingerOn;
  int m_lingerTimeout = 0;
  TFlagiWysylania m_sendFlags = gsSendNormal;

  TStanGniazda m_stan = gsClosed;
  int m_ostatniBlad = 0;
  QString m_ostatniKomunikat;
  int m_fd = -1;
  quint64 m_pokolenie = 0; // changes with every connect and every close
  bool m_zamkniecieZgloszone = false;
  bool m_laczenieNieudane = false; // a failed connect leaves a descriptor nothing can be sent on
  int m_powiadomienia = 0;         // depth of notifications being handled
  quint64 m_licznikOdczytow = 0;
  quint64 m_bajtyOdebrane = 0;
  QSocketNotifier *m_odczyt = nullptr;
  QSocketNotifier *m_zapis = nullptr;
  TRozwiazywanieNazwy *m_rozwiazywanie = nullptr; // a connect waiting for its name
  std::deque<TBlokBufora> m_bufor;
};
