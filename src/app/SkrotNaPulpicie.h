#pragma once

#include <QString>
#include <QStringView>

// The name of the installed desktop entry, icon and AppStream component.
inline constexpr QStringView NazwaPulpitowaProgramu = u"pl.kolbiny.Paplanki";

// Puts a desktop entry "<tytul>.desktop" starting the running program into the user's desktop
// folder (an existing one is overwritten), with the program's theme icon, its menu categories and
// the window class its windows carry (the program file's name). Reports nothing: on failure there
// is simply no entry.
void UtworzSkrotNaPulpicie(const QString &tytul);

// The desktop entry text for `program` (exposed for checking the quoting rules).
QByteArray TrescSkrotu(const QString &tytul, const QString &program);
