#pragma once

#include <QSettings>
#include <QString>

#include <memory>

// The one place that says where the program keeps its settings and its data, so that the frame
// (window placement) and the settings store open the same file.

// The INI file standing in for the program's registry key:
// $XDG_CONFIG_HOME/Kolbiny/<nazwaProduktu>.conf
QString SciezkaUstawien(const QString &nazwaProduktu);

// The per-user data folder (number lists, notes, address book), with no trailing slash:
// $XDG_DATA_HOME/Kolbiny/<nazwaProduktu>
QString KatalogDanych(const QString &nazwaProduktu);

// A registry object on SciezkaUstawien(nazwaProduktu) in INI format.
std::unique_ptr<QSettings> OtworzRejestr(const QString &nazwaProduktu);

// The settings file holds the password: creates it owner-only (0600) when it is missing, with its
// folder and the data folder owner-only (0700), and narrows an existing settings file that
// others may read or write to 0600. Folders that exist already are left as they are.
void ZabezpieczUstawienia(const QString &nazwaProduktu);
