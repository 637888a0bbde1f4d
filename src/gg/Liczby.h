#pragma once

#include <QByteArray>
#include <QByteArrayView>

// 32-bit little-endian integers of the GG wire format and the login hash.

// The four bytes of `wartosc`, least significant first.
QByteArray IntToLE(qint32 wartosc);

// The integer in the first four bytes. A shorter input reads its missing bytes as zero, so a
// truncated body never makes a reader look past what was received.
qint32 LEToInt(QByteArrayView bajty);

// The integer at `przesuniecie` in `bajty`, with the same rule for bytes past the end.
qint32 LEToInt(QByteArrayView bajty, qsizetype przesuniecie);

// Hash of the password bytes (code page 1250) with the seed from the server's welcome packet.
quint32 LoginHash(quint32 ziarno, QByteArrayView haslo);
