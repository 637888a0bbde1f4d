#include "app/Polozenie.h"

#include "net/Blad.h"

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
  // A window closed where it was opened writes nothing: the whole file is not rewritten for it.
  bool zmieniono = false;
  const auto zapisz = [&](const QString &klucz, int wartosc) {
    const QString tekst = QString::number(wartosc);
    if (rejestr.value(klucz).toString() == tekst && rejestr.contains(klucz))
      return;
    rejestr.setValue(klucz, tekst);
    zmieniono = true;
  };
  rejestr.beginGroup(Sekcja);
  zapisz(KluczStanOkna, p.StanOkna);
  zapisz(KluczWysokosc, p.Wysokosc);
  zapisz(KluczSzerokosc, p.Szerokosc);
  zapisz(KluczOdLewej, p.OdLewej);
  zapisz(KluczOdGory, p.OdGory);
  rejestr.endGroup();
  if (zmieniono)
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
