#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QString>

// The program's own icon, drawn from its SVG for every size asked (never a scaled bitmap).

// The name under which the icon, the desktop entry and the AppStream component are installed.
QString NazwaPulpitowa();

// The sizes rendered into the hicolor theme and carried by the window icon.
const QList<int> &RozmiaryIkony();

QByteArray ZrodloIkony();

// The icon drawn into a square of `bok` device pixels (transparent around it); null when the
// drawing cannot be read.
QImage ObrazIkony(int bok);

// Every size of RozmiaryIkony, plus the drawing itself for sizes between them.
QIcon IkonaProgramu();

// The window icon of every window and box of the application, and the desktop entry the
// windows belong to (for the task bar and the Wayland application id).
void UstawTozsamoscPulpitu();
