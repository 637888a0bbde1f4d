#pragma once

#include "common/SerweryGG.h"
#include "contacts/Drzewo.h"
#include "contacts/Ustawienia.h"
#include "gg/Dziennik.h"
#include "gg/OknoSesji.h"
#include "gg/Sesja.h"

#include <QSettings>
#include <QTemporaryDir>

#include <memory>

// The session's window: status bar panels kept, message boxes answered with OK, "&Połącz" down.
class TOknoSesjiTestowe : public TOknoSesji {
public:
  QString panele[3];
  void UstawTekstPanelu(int panel, const QString &tekst) override { panele[panel] = tekst; }
  int PokazKomunikat(const QString &, const QString &, int) override { return 1; }
  bool PolaczWcisniety() const override { return true; }
};

// Settings, tree, log and window around one GG session, with a loopback lookup host and GG
// server that accepts every login.
struct TStanowiskoGG {
  static constexpr quint32 Ziarno = 0x0BADF00D;

  QTemporaryDir katalog;
  QSettings rejestr;
  std::unique_ptr<TUstawienia> ustawienia;
  TDrzewo drzewo;
  TDziennik dziennik;
  TOknoSesjiTestowe okno;
  TSerwerGGTestowy gg{Ziarno};
  TSerwerHttpGG http;
  std::unique_ptr<TSesjaGG> sesja;

  TStanowiskoGG();

  // Starts the session (or reconnects it) and waits for login number `ktore` (1 = first).
  [[nodiscard]] bool Zaloguj(int ktore = 1);
  // Packets of one type the server got on connection `nr`.
  QList<TPakietGG> Pakiety(qint32 typ, int nr = 0) const { return gg.Pakiety(nr, typ); }
  // The codes of the status packets on connection `nr`, in order.
  QList<quint32> Stany(int nr = 0) const;
};
