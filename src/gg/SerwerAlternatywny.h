#pragma once

#include <QString>

class TUstawienia;

// Where the alternative-server switch points. By default the built-in names on the local machine
// and port 80; the optional settings "AdresAlternatywny" (one host for the lookup and the
// registration service) and "PortAlternatywny" (their HTTP port) of section "Ustawienia" point it
// at a server of one's own. Read anew each time, so a changed setting counts at the next switch.
struct TSerwerAlternatywny {
  QString AdresInformacji;
  QString AdresRejestracji;
  QString Port;
  // Whether the settings named the host.
  bool AdresZUstawien = false;
  // Whether the settings chose the port (otherwise the session's own port stays as it is).
  bool PortZUstawien = false;
};

TSerwerAlternatywny SerwerAlternatywny(const TUstawienia &ustawienia);
