#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Code pages at the wire edge. Inside the program text is Unicode (QString); the GG network speaks
// code page 1250, message bodies also UTF-8 after the text marker.

constexpr int StronaKodowa1250 = 1250;
constexpr int StronaKodowaUtf8 = 65001;

// The text marker: in a message body, 1250 before it and UTF-8 after it.
inline constexpr QByteArrayView ZnacznikTekstu("\xEF\xBB\xBF", 3);

// Converts the whole text (embedded NUL bytes included) from one code page to another. Never
// fails: undecodable bytes and unrepresentable characters come out substituted, and an unknown
// code page gives an empty result, as the system conversion does.
QByteArray ConvertCodePage(const QByteArray &tekst, int zStrony, int naStrone);

QByteArray AnsiToUtf8(const QString &tekst);
QString Utf8ToAnsi(QByteArrayView tekst);

// The two directions of message text and of every other 1250 field of the wire.
QString Cp1250ToAnsi(QByteArrayView tekst);
QByteArray AnsiToCp1250(const QString &tekst);

// True when every character of the text has its own byte in code page 1250 (nothing would be
// replaced on the way out).
bool MiesciSieW1250(const QString &tekst);

// The text of a received message: before the first marker code page 1250, after it UTF-8; the
// marker itself is dropped. `bylZnacznik` (when given) says whether the marker was there.
QString DekodujTekstWiadomosci(QByteArrayView tekst, bool *bylZnacznik = nullptr);

// Every character below 32 becomes "{XX}" (two upper-case hexadecimal digits), so a description
// or a packet dump stays on one line. Bytes are read as code page 1250, the network's own.
QString EscapeControls(QByteArrayView bajty);
QString EscapeControls(const QByteArray &bajty);
QString EscapeControls(const QString &tekst);
