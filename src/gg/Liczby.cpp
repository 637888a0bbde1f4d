#include "gg/Liczby.h"

#include <bit>

QByteArray IntToLE(qint32 wartosc)
{
  const quint32 w = quint32(wartosc);
  QByteArray wynik(4, Qt::Uninitialized);
  wynik[0] = char(w & 0xFF);
  wynik[1] = char((w >> 8) & 0xFF);
  wynik[2] = char((w >> 16) & 0xFF);
  wynik[3] = char((w >> 24) & 0xFF);
  return wynik;
}

qint32 LEToInt(QByteArrayView bajty)
{
  quint32 w = 0;
  const qsizetype n = qMin<qsizetype>(bajty.size(), 4);
  for (qsizetype i = 0; i < n; ++i)
    w |= quint32(quint8(bajty[i])) << (8 * i);
  return qint32(w);
}

qint32 LEToInt(QByteArrayView bajty, qsizetype przesuniecie)
{
  if (przesuniecie < 0 || przesuniecie >= bajty.size())
    return 0;
  return LEToInt(bajty.sliced(przesuniecie));
}

quint32 LoginHash(quint32 ziarno, QByteArrayView haslo)
{
  quint32 y = ziarno;
  quint32 x = 0;
  for (const char znak : haslo) {
    // x is not reset: the previous byte stays in its top bits.
    x = (x & 0xFFFFFF00u) | quint8(znak);
    y ^= x;
    y += x;
    x <<= 8;
    y ^= x;
    x <<= 8;
    y -= x;
    x <<= 8;
    y ^= x;
    y = std::rotl(y, int(y & 31));
  }
  return y;
}
