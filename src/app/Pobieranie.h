#pragma once

#include <QString>

// Downloads `url` into the file `plik` (replacing its content) over HTTP, waiting in a local
// event loop at most `limitMs` milliseconds. True when the server delivered the body; false for
// any failure (unknown host, refused connection, error status, time limit).
bool PobierzDoPliku(const QString &url, const QString &plik, int limitMs);
