#include "gg/StronyKodowe.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr char NazwaStrony1250[] = "windows-1250";

// The system conversion keeps a leading byte-order mark as U+FEFF; Qt would drop it by default.
QStringDecoder DekoderUtf8()
{
  return QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
}

QByteArray NazwaStrony(int strona)
{
  return "windows-" + QByteArray::number(strona);
}

QString Dekoduj(QByteArrayView tekst, int strona)
{
  if (strona == StronaKodowaUtf8) {
    QStringDecoder dekoder = DekoderUtf8();
    return dekoder.decode(tekst);
  }
  QStringDecoder dekoder(NazwaStrony(strona).constData());
  if (!dekoder.isValid())
    return QString();
  return dekoder.decode(tekst);
}

// Encodes one character on its own; empty when it has no byte in the code page. A fresh encoder
// each time, as the converter's error count cannot be reset.
QByteArray ZakodujZnak(const QByteArray &nazwa, QStringView znak)
{
  QStringEncoder koder(nazwa.constData());
  const QByteArray bajty = koder.encode(znak);
  return koder.hasError() ? QByteArray() : bajty;
}

// A character without a byte of its own goes out as its base letter when it has one that fits
// (à as a), else as "?". The converter's own substitute (SUB, 0x1A) would be a control character
// on the wire.
QByteArray ZastepczyZnak(const QByteArray &nazwa, QStringView znak)
{
  const QString rozlozony = znak.toString().normalized(QString::NormalizationForm_D);
  if (rozlozony.size() > 1 && !rozlozony.at(0).isMark() && !rozlozony.at(0).isSurrogate()) {
    bool resztaToZnakiDiakrytyczne = true;
    for (qsizetype i = 1; i < rozlozony.size(); ++i)
      resztaToZnakiDiakrytyczne = resztaToZnakiDiakrytyczne && rozlozony.at(i).isMark();
    if (resztaToZnakiDiakrytyczne) {
      const QByteArray podstawa = ZakodujZnak(nazwa, QStringView(rozlozony).first(1));
      if (!podstawa.isEmpty())
        return podstawa;
    }
  }
  return QByteArrayLiteral("?");
}

QByteArray Koduj(QStringView tekst, int strona)
{
  if (strona == StronaKodowaUtf8)
    return tekst.toUtf8();
  const QByteArray nazwa = NazwaStrony(strona);
  QStringEncoder koder(nazwa.constData());
  if (!koder.isValid())
    return QByteArray();
  QByteArray wynik = koder.encode(tekst);
  if (!koder.hasError())
    return wynik;
  // Something had no byte: do it again one code point at a time to place the substitutes.
  wynik.clear();
  qsizetype i = 0;
  while (i < tekst.size()) {
    const bool para =
        tekst[i].isHighSurrogate() && i + 1 < tekst.size() && tekst[i + 1].isLowSurrogate();
    const QStringView znak = tekst.sliced(i, para ? 2 : 1);
    const QByteArray bajty = ZakodujZnak(nazwa, znak);
    wynik += bajty.isEmpty() ? ZastepczyZnak(nazwa, znak) : bajty;
    i += znak.size();
  }
  return wynik;
}

} // namespace

QByteArray ConvertCodePage(const QByteArray &tekst, int zStrony, int naStrone)
{
  return Koduj(Dekoduj(tekst, zStrony), naStrone);
}

QByteArray AnsiToUtf8(const QString &tekst)
{
  return tekst.toUtf8();
}

QString Utf8ToAnsi(QByteArrayView tekst)
{
  return Dekoduj(tekst, StronaKodowaUtf8);
}

QString Cp1250ToAnsi(QByteArrayView tekst)
{
  QStringDecoder dekoder(NazwaStrony1250);
  return dekoder.decode(tekst);
}

QByteArray AnsiToCp1250(const QString &tekst)
{
  return Koduj(tekst, StronaKodowa1250);
}

bool MiesciSieW1250(const QString &tekst)
{
  QStringEncoder koder(NazwaStrony1250);
  const QByteArray bajty = koder.encode(tekst);
  return !koder.hasError() && Cp1250ToAnsi(bajty) == tekst;
}

QString DekodujTekstWiadomosci(QByteArrayView tekst, bool *bylZnacznik)
{
  const qsizetype pozycja = tekst.indexOf(ZnacznikTekstu);
  if (bylZnacznik)
    *bylZnacznik = pozycja >= 0;
  if (pozycja < 0)
    return Cp1250ToAnsi(tekst);
  return Cp1250ToAnsi(tekst.first(pozycja)) +
         Utf8ToAnsi(tekst.sliced(pozycja + ZnacznikTekstu.size()));
}

QString EscapeControls(QByteArrayView bajty)
{
  return EscapeControls(Cp1250ToAnsi(bajty));
}

QString EscapeControls(const QByteArray &bajty)
{
  return EscapeControls(QByteArrayView(bajty));
}

QString EscapeControls(const QString &tekst)
{
  QString wynik;
  wynik.reserve(tekst.size());
  for (const QChar znak : tekst) {
    if (znak.unicode() < 32)
      wynik += QStringLiteral("{%1}").arg(znak.unicode(), 2, 16, QLatin1Char('0')).toUpper();
    else
      wynik += znak;
  }
  return wynik;
}
