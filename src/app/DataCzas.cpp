#include "app/DataCzas.h"

#include <QLocale>

namespace {

// The locale's long time format without its zone field ("t" ... "tttt" outside quotes) and the
// blanks that separated it from the rest.
QString FormatCzasuBezStrefy(const QString &format)
{
  QString wynik;
  bool wCudzyslowie = false;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format[i];
    if (c == u'\'') {
      wCudzyslowie = !wCudzyslowie;
      wynik += c;
      continue;
    }
    if (!wCudzyslowie && c == u't') {
      while (i + 1 < format.size() && format[i + 1] == u't')
        ++i;
      while (!wynik.isEmpty() && wynik.back().isSpace())
        wynik.chop(1);
      while (i + 1 < format.size() && format[i + 1].isSpace())
        ++i;
      continue;
    }
    wynik += c;
  }
  return wynik.trimmed();
}

} // namespace

QString DataCzasNaTekst(const QDateTime &czas)
{
  const QLocale lokalizacja;
  const QDateTime lokalny = czas.toLocalTime();
  QString tekst = lokalizacja.toString(lokalny.date(), QLocale::ShortFormat);
  if (lokalny.time() != QTime(0, 0)) {
    const QString format = FormatCzasuBezStrefy(lokalizacja.timeFormat(QLocale::LongFormat));
    tekst += u' ' + lokalizacja.toString(lokalny.time(), format);
  }
  return tekst;
}
