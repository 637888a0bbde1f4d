#include "common/OknoGlowne.h"

#include "app/Lokalizacje.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QSettings>

QString PlikUstawienOkna()
{
  return SciezkaUstawien(QStringLiteral("Paplanki (GG)"));
}

void UsunUstawieniaOkna()
{
  QFile::remove(PlikUstawienOkna());
  UsunArchiwumOkna();
}

QString PlikArchiwumOkna()
{
  return KatalogDanych(QStringLiteral("Paplanki (GG)")) + QStringLiteral("/Archiwum.sqlite");
}

void UsunArchiwumOkna()
{
  for (const QString &k : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
    QFile::remove(PlikArchiwumOkna() + k);
}

void ZapiszUstawienieOkna(const QString &klucz, const QString &wartosc)
{
  QSettings s(PlikUstawienOkna(), QSettings::IniFormat);
  s.setValue(klucz, wartosc);
}

QString CzytajUstawienieOkna(const QString &klucz)
{
  QSettings s(PlikUstawienOkna(), QSettings::IniFormat);
  return s.value(klucz).toString();
}

void ZapiszKontoTestowe()
{
  ZapiszUstawienieOkna(QStringLiteral("Ustawienia/OstatniUzytkownik"), QStringLiteral("4321"));
  ZapiszUstawienieOkna(QStringLiteral("Ustawienia/OstatnieHasloUzytkownika"),
                       QStringLiteral("tajne"));
  ZapiszUstawienieOkna(QStringLiteral("Ustawienia/Przylaczaj"), QStringLiteral("0"));
}

void UsunUstawienieOkna(const QString &klucz)
{
  QSettings s(PlikUstawienOkna(), QSettings::IniFormat);
  s.remove(klucz);
}

void WylaczSprawdzanieWersji()
{
  qputenv("PAPLANKI_WITRYNA", "http://127.0.0.1:1/");
  qputenv("PAPLANKI_LICZNIK", "http://127.0.0.1:1/");
}

QString OpisMenu(const QMenu *menu)
{
  QStringList czesci;
  for (const QAction *a : menu->actions()) {
    if (a->isSeparator())
      czesci << QStringLiteral("-");
    else if (a->menu())
      czesci << a->text() + QStringLiteral(" { ") + OpisMenu(a->menu()) + QStringLiteral(" }");
    else
      czesci << a->text();
  }
  return czesci.join(QStringLiteral(" | "));
}

QStringList ZaznaczonePozycje(const QMenu *menu)
{
  QStringList wynik;
  for (const QAction *a : menu->actions()) {
    if (a->menu())
      wynik << ZaznaczonePozycje(a->menu());
    else if (a->isChecked())
      wynik << a->text();
  }
  return wynik;
}

QAction *PozycjaMenu(const QMenu *menu, const QString &tytul)
{
  for (QAction *a : menu->actions()) {
    if (a->text() == tytul && !a->isSeparator())
      return a;
    if (a->menu())
      if (QAction *w = PozycjaMenu(a->menu(), tytul))
        return w;
  }
  return nullptr;
}

TWezel *DodajWypowiedz(TDrzewo &drzewo, TWezel *rodzic, const QString &tekst, int numerNadawcy)
{
  TWezel *w = drzewo.Dodaj(rodzic, tekst);
  w->UstawDane(std::make_shared<TWypowiedz>(
      nullptr, std::make_unique<TDaneDodatkowe>(2, numerNadawcy, 0, 1, QDateTime()), tekst));
  return w;
}
