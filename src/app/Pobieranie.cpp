#include "app/Pobieranie.h"

#include "net/KlientHttp.h"

#include <QFile>
#include <QUrl>

bool PobierzDoPliku(const QString &url, const QString &plik, int limitMs)
{
  QFile wynik(plik);
  if (!wynik.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return false;
  TKlientHttp klient;
  // Addresses are built from file paths unencoded; what may not travel in a request line
  // (spaces, letters beyond ASCII) is encoded here, as a browser would.
  klient.SetURL(QUrl(url, QUrl::TolerantMode).toString(QUrl::FullyEncoded));
  klient.SetReplyStream(&wynik);
  klient.SetTimeout(limitMs);
  try {
    klient.Get();
  } catch (const EBlad &) {
    return false;
  }
  return wynik.flush();
}
