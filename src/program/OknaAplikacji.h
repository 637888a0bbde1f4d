#pragma once

class TFrmPaplankiMain;

// The windows of an interactive run: created once, in a fixed order, each fully before the next,
// each reachable through its global instance; destroyed together, the last created first.
class TOknaAplikacji {
public:
  TOknaAplikacji();
  ~TOknaAplikacji();
  TOknaAplikacji(const TOknaAplikacji &) = delete;
  TOknaAplikacji &operator=(const TOknaAplikacji &) = delete;

  TFrmPaplankiMain *Glowne() const;
};
