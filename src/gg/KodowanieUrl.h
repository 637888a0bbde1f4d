#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Form encoding over the text's code page 1250 bytes: letters, digits and ! $ ' ( ) * - . _ @
// stay, a space becomes "+", every other byte "%XX" with upper-case hexadecimal digits.
QString KodujUrl(const QString &tekst);
QString KodujUrl(const QByteArray &bajty);

// The inverse, for whoever reads a form: "+" is a space, "%XX" (either case) a byte; a "%" not
// followed by two hexadecimal digits stays as it is.
QByteArray DekodujUrl(QByteArrayView tekst);
