#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringView>

#include <optional>

// The version block stands in for a version resource: it is compiled into the program file and
// found again by reading that file, so any program file can be asked for its version.
//
// Layout: the signature, then pairs "path\0value\0" in UTF-8, an empty path, the end mark. Paths
// name values the way a version resource is queried: "\FixedFileInfo\FileVersion",
// "\FixedFileInfo\ProductVersion" (four dotted numbers), "\VarFileInfo\Translation" (hexadecimal
// 32-bit entries separated by spaces, language in the low half, code page in the high half) and
// "\StringFileInfo\<language><code page>\<name>" (8 upper-case hexadecimal digits).

QByteArray SygnaturaBlokuWersji();
QByteArray ZnacznikKoncaBlokuWersji();

// The first well-formed block inside `dane`; empty when there is none.
QByteArray ZnajdzBlokWersji(QByteArrayView dane);

// The block of the file at `sciezka`; empty when the file has none or cannot be read.
QByteArray CzytajBlokWersjiZPliku(const QString &sciezka);

// The value stored under `sciezka` in the block; nothing when the path is not there.
std::optional<QString> WartoscWersji(const QByteArray &blok, QStringView sciezka);

// A block holding `wartosci` (path, value) in the given order.
QByteArray ZbudujBlokWersji(const QList<QPair<QString, QString>> &wartosci);
