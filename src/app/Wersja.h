#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// A file version as two 32-bit numbers: major.minor in `Starszy` (major in the high half),
// release.build in `Mlodszy`.
struct TNumerWersji {
  quint32 Starszy = 0;
  quint32 Mlodszy = 0;
  friend bool operator==(const TNumerWersji &, const TNumerWersji &) = default;
};

// Reads the version block of the file at `sciezka`. On success `blok` holds it (until
// ZwolnijWersje) and the texts and the product version are filled from it; missing texts stay
// empty. Without a block: false, version 0 and empty texts.
bool CzytajWersje(const QString &sciezka, QByteArray &blok, QString &nazwaProduktu,
                  QString &adresProduktu, QString &prawaAutorskie, quint64 &wersjaProduktu);

void ZwolnijWersje(QByteArray &blok);

// The fixed file version of the file (0, 0 without a version block).
TNumerWersji WersjaPliku(const QString &sciezka);

// A published ".wersja" file: two little-endian 32-bit numbers; what is missing counts as 0, a
// file that cannot be opened as 0.0.
TNumerWersji CzytajPlikWersji(const QString &sciezka);

int PorownajWersje(quint32 a1, quint32 a2, quint32 b1, quint32 b2);

// "<nazwa> wersja 5.00.00.67" for the About box.
QString LiniaWersji(const QString &nazwa, quint64 wersja);

// "5.0.0.67" as two numbers; nothing usable gives 0, 0.
TNumerWersji RozbierzWersje(const QString &tekst);
