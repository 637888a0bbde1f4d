#pragma once

#include "net/KlientHttp.h"

#include <QFile>
#include <QObject>
#include <QString>

#include <functional>

// Downloads `url` into the file `plik` (replacing its content) over HTTP, waiting in a local
// event loop at most `limitMs` milliseconds. True when the server delivered the body; false for
// any failure (unknown host, refused connection, error status, time limit).
bool PobierzDoPliku(const QString &url, const QString &plik, int limitMs);

// The same download without waiting: it starts at once and `gotowe` runs from the event loop with
// the outcome PobierzDoPliku would have returned. Destroying the object cancels the download
// (`gotowe` is not called; the file is closed and left to its owner).
class TPobieranieWTle : public QObject {
public:
  TPobieranieWTle(const QString &url, const QString &plik, int limitMs,
                  std::function<void(bool udane)> gotowe, QObject *rodzic = nullptr);

private:
  void Koniec(bool udane);

  QFile m_plik;
  TKlientHttp m_klient;
  std::function<void(bool)> m_gotowe;
};
