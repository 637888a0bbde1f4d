#pragma once

#include <QString>

// Puts a desktop entry "<tytul>.desktop" starting the running program into the user's desktop
// folder (an existing one is overwritten). Reports nothing: on failure there is simply no entry.
void UtworzSkrotNaPulpicie(const QString &tytul);

// The desktop entry text for `program` (exposed for checking the quoting rules).
QByteArray TrescSkrotu(const QString &tytul, const QString &program);
