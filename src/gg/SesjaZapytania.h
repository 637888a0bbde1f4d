#pragma once

#include <QByteArray>
#include <QString>

#include "gg/KodowanieUrl.h"

// The two requests written by hand on the HTTP connection of the session and the reading of
// their replies.

// The version the lookup announces, before encoding.
inline constexpr char WersjaKlienta[] = "6, 0, 0, 136";

// GET /appsvc/appmsg4.asp with the fixed headers, every line ended by CR LF, then an empty line.
QByteArray ZapytanieOSerwer(qint32 numerWlasny, qint32 numerOstatniejInformacji,
                            const QString &adresInformacji);

// The fixed values of the direct registration (the account dialog sends the same code).
inline constexpr char HasloRejestracji[] = "zielik";
inline constexpr char EmailRejestracji[] = "pap@kol.pl";
inline constexpr char TokenRejestracji[] = "3B9F17D2";
inline constexpr char WartoscTokenuRejestracji[] = "a7c31f";
constexpr qint32 KodRejestracji = 1654008341;

// GET /appsvc/fmregister3.asp whose body is the fixed form plus CR LF; Content-Length counts
// that CR LF.
QByteArray ZapytanieRejestracji(const QString &adresRejestracji);

// What a lookup reply says. `Adres` and `Port` are empty when their separators were missing.
struct TOdpowiedzSerwera {
  qint32 Numer = 0; // N: the newest system message
  QString Adres;
  QString Port;
  QByteArray Informacja; // the system message text, code page 1250 (may be empty)
};

// True once the buffer holds the whole header block (CR LF CR LF). Bytes before `przeszukane`
// were looked at already; only the new ones (and the three before them) are searched.
bool OdpowiedzKompletna(const QByteArray &bufor, qsizetype przeszukane = 0);

// Takes the lookup reply apart, consuming the buffer as it goes: what is left afterwards is the
// system message text. A reply starting with CR LF loses only those two bytes. An empty or
// non-numeric N throws EConvertError, leaving the buffer as far as it had been consumed.
TOdpowiedzSerwera RozbierzOdpowiedzSerwera(QByteArray &bufor);

// The body of an HTTP reply (everything after the first CR LF CR LF; the whole text when there is
// no header block).
QByteArray TrescOdpowiedzi(const QByteArray &odpowiedz);

// The registration service's answer "reg_success:<number>": the number as text, or a null string
// for any other answer.
QString NumerZRejestracji(const QByteArray &tresc);
