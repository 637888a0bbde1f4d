#include "gg/KodowanieUrl.h"

#include "gg/StronyKodowe.h"

namespace {

bool ZnakBezZmian(char c)
{
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
    return true;
  switch (c) {
  case '!':
  case '$':
  case '\'':
  case '(':
  case ')':
  case '*':
  case '-':
  case '.':
  case '_':
  case '@':
    return true;
  default:
    return false;
  }
}

int WartoscCyfry(char c)
{
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

} // namespace

QString KodujUrl(const QByteArray &bajty)
{
  static const char Cyfry[] = "0123456789ABCDEF";
  QString wynik;
  wynik.reserve(bajty.size() * 3);
  for (const char c : bajty) {
    if (ZnakBezZmian(c)) {
      wynik += QLatin1Char(c);
    } else if (c == ' ') {
      wynik += u'+';
    } else {
      const quint8 b = quint8(c);
      wynik += u'%';
      wynik += QLatin1Char(Cyfry[b >> 4]);
      wynik += QLatin1Char(Cyfry[b & 0x0F]);
    }
  }
  return wynik;
}

QString KodujUrl(const QString &tekst)
{
  return KodujUrl(AnsiToCp1250(tekst));
}

QByteArray DekodujUrl(QByteArrayView tekst)
{
  QByteArray wynik;
  wynik.reserve(tekst.size());
  for (qsizetype i = 0; i < tekst.size(); ++i) {
    const char c = tekst[i];
    if (c == '+') {
      wynik += ' ';
    } else if (c == '%' && i + 2 < tekst.size() && WartoscCyfry(tekst[i + 1]) >= 0 &&
               WartoscCyfry(tekst[i + 2]) >= 0) {
      wynik += char(WartoscCyfry(tekst[i + 1]) * 16 + WartoscCyfry(tekst[i + 2]));
      i += 2;
    } else {
      wynik += c;
    }
  }
  return wynik;
}
