#pragma once

#include <QRect>
#include <QSize>

class QSettings;

// Size, position and state of a window as kept in the "StareRozmiary" section.
struct TPolozenieOkna {
  int Wysokosc = 342;
  int Szerokosc = 522;
  int OdLewej = -1;
  int OdGory = -1;
  int StanOkna = 0; // 0 normal, 1 minimised, 2 maximised
  friend bool operator==(const TPolozenieOkna &, const TPolozenieOkna &) = default;
};

inline constexpr int StanNormalny = 0;
inline constexpr int StanZminimalizowany = 1;
inline constexpr int StanZmaksymalizowany = 2;

// Missing values and texts that are no integer read as the defaults above.
TPolozenieOkna CzytajPolozenie(QSettings &rejestr);
// Writes the state, then the bounds, each as decimal text, and flushes the file.
void ZapiszPolozenie(QSettings &rejestr, const TPolozenieOkna &polozenie);

// Keeps the window on a screen of `ekran`: pulled back from the right and bottom edges first,
// then from the left and top, so a window larger than the screen ends at 0,0.
QRect NaEkranie(QRect okno, QSize ekran);
