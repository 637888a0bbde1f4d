#pragma once

#include <QString>

// Full path of the running program file.
QString SciezkaProgramu();

// Shell special folders, numbered as the shell numbers them.
namespace Folder {
inline constexpr int Pulpit = 0;
inline constexpr int Dokumenty = 5;
inline constexpr int DaneAplikacji = 26;
} // namespace Folder

// File-system path of a special folder (no trailing separator); empty for an unknown folder.
QString FolderSpecjalny(int folder);

// The maker's projects folder inside the user's documents.
inline constexpr char FolderProjektow[] = "Projekty";

// Where a program file lies: the location class letter and the path relative to it (with "/").
struct TPolozeniePliku {
  QString Litera;
  QString Sciezka;
};
TPolozeniePliku PodzielSciezke(const QString &sciezka);

// URL of the ".wersja" file published for the program file at `sciezka` under `witryna`.
QString AdresWersji(const QString &sciezka, const QString &witryna);

// A new empty file "pt..." in the temporary folder; its full name (empty when none could be made).
QString NowyPlikTymczasowy();

// Windows' three-letter abbreviation of a locale's language ("PLK", "ENU", ...).
QString SkrotJezyka(const class QLocale &jezyk);

// Help file beside the program: folder + name without extension + language abbreviation of the
// current locale + `rozszerzenie`.
QString NazwaPlikuPomocy(const QString &sciezkaProgramu, const QString &rozszerzenie);
