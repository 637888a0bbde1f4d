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
