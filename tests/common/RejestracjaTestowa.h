#pragma once

#include "common/ServerTestowy.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>

#include <mutex>

// A loopback stand-in for the GG registration service (HTTP/1.0): the token request, the token
// picture under "/obrazek.gif" and the registration form, each answered as set, then closed.
// Every request is recorded whole (request line, header and body).
class TUslugaRejestracji {
public:
  TUslugaRejestracji();

  QString Host() const { return QStringLiteral("127.0.0.1"); }
  QString Port() const { return m_serwer.PortTekst(); }
  // Where the token reply points the picture.
  QString AdresObrazka() const;

  // Body of the token reply; the default names a 3 by 2 picture with token id "tok1".
  void UstawToken(const QByteArray &tresc);
  void UstawObrazek(const QByteArray &gif);
  void UstawOdpowiedzRejestracji(const QByteArray &tresc);
  // A status other than 200 answers every request with it and no body.
  void UstawStatus(int status);

  QList<QByteArray> Zapytania() const;
  // The recorded requests whose request line starts with `poczatek` ("POST /appsvc/...").
  QList<QByteArray> Zapytania(const QByteArray &poczatek) const;
  // The body of a recorded request.
  static QByteArray Tresc(const QByteArray &zapytanie);

private:
  void Obsluz(TPolaczenieTestowe &p);

  mutable std::mutex m_zamek;
  QByteArray m_token;
  QByteArray m_obrazek;
  QByteArray m_rejestracja;
  int m_status = 200;
  QList<QByteArray> m_zapytania;
  TSerwerTestowy m_serwer; // last: its threads use the fields above
};

// A GIF picture of `szerokosc` by `wysokosc` pixels from up to four colours, `piksele` giving a
// colour index per pixel row by row. Written here because Qt reads GIF but does not write it.
QByteArray ObrazekGif(int szerokosc, int wysokosc, const QList<QColor> &kolory,
                      const QList<int> &piksele);
