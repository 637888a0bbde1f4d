#pragma once

#include "app/Komunikaty.h"

#include <QString>
#include <QtGlobal>

class QWidget;

// The message box: caption and text as given, `styl` made of the Komunikat:: bits; returns the
// Komunikat::Wynik* number of the button pressed.
int OknoKomunikatu(QWidget *wlasciciel, const QString &tekst, const QString &naglowek, int styl);

// The program's message box: caption "<nazwa> - <naglowek>".
int PokazKomunikatProgramu(QWidget *wlasciciel, const QString &nazwa, const QString &tekst,
                           int styl, const QString &naglowek);

// The About box: "O programie <nazwa>" as title, the version line and the legal notice.
void PokazOProgramie(QWidget *wlasciciel, const QString &nazwa, const QString &prawaAutorskie,
                     quint64 wersja);

// Shell launches; a failure shows the program's error box.
void WyslijPoczteDoAutora(QWidget *wlasciciel, const QString &nazwa);
void OtworzAdres(QWidget *wlasciciel, const QString &nazwa, const QString &adres);
void OtworzStroneAutora(QWidget *wlasciciel, const QString &nazwa);

// Asks the desktop to call the maker ("tel:" address); 0 on success, 1 when nothing took it.
// The party and application name have no place in a "tel:" address.
int ZadzwonDoAutora(const QString &strona, const QString &nazwa);
