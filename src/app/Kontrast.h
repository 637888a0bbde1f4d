#pragma once

#include <QColor>

// Contrast of text against its background, as the accessibility guidelines measure it.

// The ratio of the lighter colour's relative luminance to the darker one's (each + 0.05):
// 1 for equal colours, 21 for black on white.
qreal WspolczynnikKontrastu(const QColor &a, const QColor &b);

// `kolor` itself when it reaches `minimum` against `tlo`; otherwise the same hue made darker
// (on a light background) or lighter (on a dark one) just enough to reach it.
QColor CzytelnyKolor(const QColor &kolor, const QColor &tlo, qreal minimum = 4.5);
