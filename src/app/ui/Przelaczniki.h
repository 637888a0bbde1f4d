#pragma once

#include <QString>

// The switch handler of the entry: true when `argument` (the first command-line argument, compared
// exactly) is one of the two maintenance switches, whose work is then done.
bool ObsluzPrzelaczniki(const QString &argument);
