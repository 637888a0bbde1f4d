#pragma once

#include "contacts/Sledzeni.h"

#include <QSettings>
#include <QString>

#include <memory>

// The window's active contact store (`Baza`), replaced only by the store switch. It always holds
// a usable store: until Utworz runs, the registry store without loading.
class TBazaKontaktow {
public:
  TBazaKontaktow(QSettings &rejestr, const QString &katalogDanych);

  TSledzeni &Baza() { return *m_baza; }
  const TSledzeni &Baza() const { return *m_baza; }
  // The kind the held store was made for (0 Outlook, 1 registry, 2 server, or the unknown value
  // that got the registry store).
  int Rodzaj() const { return m_rodzaj; }

  // Replaces the store with a new one of `rodzaj`, loading its contacts into `dodaj` when
  // `wczytaj` is set. When loading fails (address book missing or unreadable) the store of the
  // same kind without loading takes its place, so adding and editing go on as that kind does
  // them, and the exception goes on to the caller for the error box.
  void Utworz(int rodzaj, bool wczytaj, const TDodajUzytkownikaFn &dodaj);

private:
  QSettings &m_rejestr;
  QString m_katalogDanych;
  std::unique_ptr<TSledzeni> m_baza;
  int m_rodzaj;
};
