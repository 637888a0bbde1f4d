#include "net/Blad.h"

EBlad::EBlad(const QString &komunikat) : m_komunikat(komunikat), m_utf8(komunikat.toUtf8()) {}

EConvertError::EConvertError(const QString &komunikat, const QString &tekst)
    : EBlad(komunikat), m_tekst(tekst), m_znanyTekst(true)
{
}

QString EConvertError::KomunikatUzytkownika() const
{
  if (!m_znanyTekst)
    return Message();
  return QStringLiteral("„%1” nie jest liczbą").arg(m_tekst);
}

namespace {

bool Konwertuj(const QString &tekst, int &wynik)
{
  // Leading and trailing blanks are tolerated as the classic conversion does; anything else not.
  const QString t = tekst.trimmed();
  if (t.isEmpty())
    return false;
  qsizetype i = 0;
  bool ujemna = false;
  if (t[0] == u'+' || t[0] == u'-') {
    ujemna = t[0] == u'-';
    i = 1;
  }
  if (i >= t.size())
    return false;
  qint64 wartosc = 0;
  for (; i < t.size(); ++i) {
    const QChar c = t[i];
    if (c < u'0' || c > u'9')
      return false;
    wartosc = wartosc * 10 + (c.unicode() - u'0');
    if (wartosc > qint64(1) << 31)
      return false;
  }
  if (ujemna)
    wartosc = -wartosc;
  if (wartosc > 2147483647LL || wartosc < -2147483648LL)
    return false;
  wynik = int(wartosc);
  return true;
}

} // namespace

int StrToInt(const QString &tekst)
{
  int wynik = 0;
  if (!Konwertuj(tekst, wynik))
    throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(tekst), tekst);
  return wynik;
}

int StrToIntDef(const QString &tekst, int domyslna)
{
  int wynik = 0;
  return Konwertuj(tekst, wynik) ? wynik : domyslna;
}
