#pragma once

#include <QList>
#include <QPalette>
#include <QPixmap>

// The tree's two image lists, drawn once at start-up (16 x 16, transparent background).
// Entries no node uses stay empty (fully transparent).
//
// Every picture is drawn for a device pixel ratio: at `skala` 2 it has 32 x 32 pixels (drawn, not
// enlarged) and still measures 16 x 16 to the painter. On a dark background (`ciemneTlo`) the dark
// line art turns light, so that outlines and the dark figure stay visible.

// `ImageList1`, 30 pictures. Each pair: the even index coloured (the selected image), the odd
// index the same picture as a grey outline (the normal image). 0/1 a person (a contact whose
// status has not arrived yet), 10/11 loudspeaker, 16/17 prohibition sign, 26/27 ringing alarm
// clock, 28/29 alarm clock.
QList<QPixmap> ObrazyWezlow(qreal skala = 1.0, bool ciemneTlo = false);

// `StateIL`, 14 pictures left of message nodes: 10 question mark (sent, unconfirmed), 2 check
// mark (delivered), 8 envelopes (queued), 12 prohibition sign over a figure (blocked by the
// server), 0 prohibition sign (mailbox full).
QList<QPixmap> ObrazyStanu(qreal skala = 1.0, bool ciemneTlo = false);

// Whether the palette's background for item views is dark.
bool CiemneTlo(const QPalette &paleta);

namespace Obrazek {
inline constexpr int Rozmiar = 16;
inline constexpr int LiczbaWezlow = 30;
inline constexpr int LiczbaStanow = 14;
} // namespace Obrazek
