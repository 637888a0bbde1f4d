#include "app/Polozenie.h"

#include "app/Blad.h"

#include <QSettings>

namespace {
const QString Sekcja = QStringLiteral("StareRozmiary");
const QString KluczWysokosc = QStringLiteral("Wysokość");
const QString KluczSzerokosc = QStringLiteral("Szerokość");
const QString KluczOdLewej = QStringLiteral("OdLewej");
const QString KluczOdGory = QStringLiteral("OdGóry");
const QString KluczStanOkna = QStringLiteral("StanOkna");
} // namespace

TPolozenieOkna CzytajPolozenie(QSettings &rejestr)
{
  TPolozenieOkna p;
  rejestr.beginGroup(Sekcja);
  const auto liczba = [&](const QString &klucz, int domyslna) {
    return StrToIntDef(rejestr.value(klucz).toString(), domyslna);
  };
  p.Wysokosc = liczba(KluczWysokosc, p.Wysokosc);
  p.Szerokosc = liczba(KluczSzerokosc, p.Szerokosc);
  p.OdLewej = liczba(KluczOdLewej, p.OdLewej);
  p.OdGory = liczba(KluczOdGory, p.OdGory);
  p.StanOkna = liczba(KluczStanOkna, p.StanOkna);
  rejestr.endGroup();
  return p;
}

void ZapiszPolozenie(QSettings &rejestr, const TPolozenieOkna &p)
{
  rejestr.beginGroup(Sekcja);
  rejestr.setValue(KluczStanOkna, QString::number(p.StanOkna));
  rejestr.setValue(KluczWysokosc, QString::number(p.Wysokosc));
  rejestr.setValue(KluczSzerokosc, QString::number(p.Szerokosc));
  rejestr.setValue(KluczOdLewej, QString::number(p.OdLewej));
  rejestr.setValue(KluczOdGory, QString::number(p.OdGory));
  rejestr.endGroup();
  rejestr.sync();
}

QRect NaEkranie(QRect okno, QSize ekran)
{
  if (okno.top() + okno.height() > ekran.height())
    okno.moveTop(ekran.height() - okno.height());
  if (okno.left() + okno.width() > ekran.width())
    okno.moveLeft(ekran.width() - okno.width());
  if (okno.top() < 0)
    okno.moveTop(0);
  if (okno.left() < 0)
    okno.moveLeft(0);
  return okno;
}
