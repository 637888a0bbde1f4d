#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringView>

class TKlientHttp;

// The GG registration service as the account dialog uses it: the token, its picture, the
// registration form and the service's answer. Free of widgets; the dialog shows the results.

inline constexpr QStringView SciezkaTokenu = u"/appsvc/regtoken.asp";
inline constexpr QStringView SciezkaRejestracji = u"/appsvc/fmregister3.asp";

// "http://host/sciezka", with ":port" unless the port is 80.
QString AdresUslugi(const QString &host, const QString &port, QStringView sciezka);

// The body of a token reply.
struct TToken {
  int Szerokosc = 0;
  int Wysokosc = 0;
  int Dlugosc = 0; // read and not used
  QString Identyfikator;
  QString AdresObrazka;
};

// Width, height and length are converted strictly: any of them not a decimal integer throws
// EConvertError. An integer ends at the first space of what is left, or, with no space left, at
// its first CR LF; a line ends at its first CR LF or at the end of the text.
TToken RozbierzToken(const QString &odpowiedz);

// Where the token's picture is fetched from.
QString AdresObrazkaTokenu(const TToken &token);

// The registration form: "pwd", "email", "tokenid", "tokenval" and "code", in this order, pairs
// with an empty value left out, values form-encoded over their code page 1250 bytes, joined by
// "&" and ended by CR LF.
QByteArray FormularzRejestracji(const QString &haslo, const QString &email,
                                const QString &identyfikatorTokenu, const QString &wartoscTokenu);

// What the service answered to the form.
struct TWynikRejestracji {
  enum TRodzaj { Zarejestrowano, ZlyToken, Odmowa };
  TRodzaj Rodzaj = Odmowa;
  QString Numer; // the new GG number (Zarejestrowano)
};
TWynikRejestracji RozbierzWynikRejestracji(const QString &odpowiedz);

// One synchronous request through `klient` (a POST of `cialo` when `post`), the reply body as
// bytes. Failures come out of the client as EBladHttp.
QByteArray Pobierz(TKlientHttp &klient, const QString &adres, bool post,
                   const QByteArray &cialo = QByteArray());

// A reply of the service as text (code page 1250).
QString TekstOdpowiedzi(const QByteArray &tresc);

// The token picture from its GIF bytes; bytes that are not a GIF picture throw EBlad.
QImage DekodujObrazekTokenu(const QByteArray &gif);
