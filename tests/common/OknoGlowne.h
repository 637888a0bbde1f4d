#pragma once

#include "contacts/Galezie.h"
#include "program/FrmPaplankiMain.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QMenu;

// The main window under test: every call of WyslijWiadomosc is recorded.
class TOknoGlowneTestowe : public TFrmPaplankiMain {
public:
  struct TWyslanie {
    TUzytkownik *uzytkownik;
    int numer;
    TWezel *wezel;
  };
  QList<TWyslanie> Wyslania;
  void WyslijWiadomosc(TUzytkownik *uzytkownik, int numer, TWezel *wezel) override
  {
    Wyslania.append({uzytkownik, numer, wezel});
  }
};

// Settings file of the program in the test home, and ways to prepare it before a window starts.
QString PlikUstawienOkna();
// Removes the settings file and the message archive, so a window starts as on a first run.
void UsunUstawieniaOkna();
// The window's message archive in the test home, and its removal.
QString PlikArchiwumOkna();
void UsunArchiwumOkna();
void ZapiszUstawienieOkna(const QString &klucz, const QString &wartosc); // "Sekcja/Nazwa"
QString CzytajUstawienieOkna(const QString &klucz);
void UsunUstawienieOkna(const QString &klucz);
// A stored account, so that the first show asks nothing, with "&Połącz" up ("Przylaczaj" 0), so
// that the window reaches no server unless the test presses it.
void ZapiszKontoTestowe();
// Points the frame's update check at a closed local port (fails at once).
void WylaczSprawdzanieWersji();

// The menu as one line: captions joined by " | ", "-" for a separator, a submenu as
// "Caption { ... }".
QString OpisMenu(const QMenu *menu);
// Captions of the checked items, at any depth.
QStringList ZaznaczonePozycje(const QMenu *menu);
// The item of that caption, at any depth; null when there is none.
QAction *PozycjaMenu(const QMenu *menu, const QString &tytul);

// Node builders for tree tests.
TWezel *DodajWypowiedz(TDrzewo &drzewo, TWezel *rodzic, const QString &tekst, int numerNadawcy);
