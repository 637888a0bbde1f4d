#pragma once

#include "net/Blad.h"

#include <QSettings>
#include <QString>
#include <QStringList>

// Ini-style access to the program's registry object (a QSettings in INI format): a section is a
// group path below the root ("Ustawienia", "Sledzeni/123"), every value is stored as text.
// Section paths are always taken from the root, whatever group the object has open.

// A registry write the system refused (file not writable, folder cannot be made).
class ERejestr : public EBlad {
public:
  using EBlad::EBlad;
};

// The value as text; `domyslny` when it is missing.
QString CzytajTekst(QSettings &rejestr, const QString &sekcja, const QString &nazwa,
                    const QString &domyslny);
// Missing or not a valid integer: `domyslna`.
int CzytajLiczbe(QSettings &rejestr, const QString &sekcja, const QString &nazwa, int domyslna);
// An integer (default 1 or 0); true for anything other than 0.
bool CzytajLogiczna(QSettings &rejestr, const QString &sekcja, const QString &nazwa, bool domyslna);

// Writes reach the disk at the end of the current event (ZaplanujZapis); a value equal to the
// stored text writes nothing. A file that cannot be written throws ERejestr (the value stays
// pending in the object).
void ZapiszTekst(QSettings &rejestr, const QString &sekcja, const QString &nazwa,
                 const QString &wartosc);
void ZapiszLiczbe(QSettings &rejestr, const QString &sekcja, const QString &nazwa, int wartosc);
void ZapiszLogiczna(QSettings &rejestr, const QString &sekcja, const QString &nazwa, bool wartosc);

// A section exists when it holds any value, directly or in a subsection.
bool IstniejeSekcja(QSettings &rejestr, const QString &sekcja);
// The names of the subsections in the order the registry lists them.
QStringList Podsekcje(QSettings &rejestr, const QString &sekcja);
// Copies every value of `z` (with its subsections) to `na`, then deletes `z`; written through.
void PrzeniesSekcje(QSettings &rejestr, const QString &z, const QString &na);
// Deletes a section with all its values; written through.
void UsunSekcje(QSettings &rejestr, const QString &sekcja);

// True (and the value set) when `klucz` (a full path from the root) did not hold this text.
bool UstawInnaWartosc(QSettings &rejestr, const QString &klucz, const QString &wartosc);

// Flushes pending writes now; throws ERejestr naming `co` when the file cannot be written.
void ZatwierdzZapis(QSettings &rejestr, const QString &co);

// Leaves the caller's open groups for the time of one operation and reopens them afterwards.
class TKorzenRejestru {
public:
  explicit TKorzenRejestru(QSettings &rejestr);
  ~TKorzenRejestru();
  TKorzenRejestru(const TKorzenRejestru &) = delete;
  TKorzenRejestru &operator=(const TKorzenRejestru &) = delete;

private:
  QSettings &m_rejestr;
  QString m_grupa;
};
