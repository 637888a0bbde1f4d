#pragma once

#include <QString>

class QSettings;

// Settings files are written through, but once per turn of the event loop: a change marks its
// file, and the file is synced when the current event has been handled (a posted event, queued
// behind whatever is already waiting) or at the latest when the thread is about to wait for
// events, and when the application quits. A value set is therefore on disk before the program
// does anything else, while a burst of changes in one event costs one write of the file.
// (QSettings posts an update request of its own on a change; this makes the moment explicit and
// independent of it, adds the refusal below and the flush on quitting.)
//
// Throws ERejestr naming `co` when the file cannot be written at all (a missing folder that
// cannot be made, a file that cannot be opened for writing). Without an application object the
// file is synced at once.
void ZaplanujZapis(QSettings &rejestr, const QString &co);

// Syncs every file with changes still waiting; true when all were written.
bool ZapiszZalegle();
