#pragma once

#include <QString>
#include <QStringList>

// The per-contact notes files ("Przypisy/<number>" in the data folder), as text lines in UTF-8.

// The file's lines; CR LF, LF and CR each end a line, and an ending at the very end makes no
// empty last line. Throws EBlad when the file cannot be read.
QStringList CzytajPrzypisy(const QString &plik);

// Writes every line followed by CR LF, creating the folder and its missing parents first. The old
// file is replaced only by a completely written new one. Throws EBlad on failure.
void ZapiszPrzypisy(const QString &plik, const QStringList &linie);

// A memo's text as lines and back (an empty text has no lines).
QStringList LinieTekstu(const QString &tekst);
QString TekstLinii(const QStringList &linie);
