#pragma once

#include <QIcon>

// The exit button's picture: an open door with an arrow leaving it. The door is drawn in the
// current palette's button text colour whenever the picture is painted, so it stays visible on
// light and dark palettes alike; the disabled state takes the palette's disabled text colour.
// Drawn for every size and device pixel ratio asked.
QIcon IkonaWyjscia();
