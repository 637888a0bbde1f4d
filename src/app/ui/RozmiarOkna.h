#pragma once

#include <QScrollArea>
#include <QSize>

class QWidget;

// Windows on small or strongly scaled screens: a window never larger than the screen area left
// for it, and a scrolled area for contents that may not fit.

// Resizes the window to `chciany`, or less where the available area of its screen (less room
// for the window frame) is smaller.
void DopasujDoEkranu(QWidget *okno, QSize chciany);

// A frameless scrolled area whose preferred size is the whole of its contents: a window laid
// out around it is as large as without it, and scrolls only where the screen is too small.
class TObszarPrzewijany : public QScrollArea {
  Q_OBJECT
public:
  explicit TObszarPrzewijany(QWidget *tresc, QWidget *rodzic = nullptr);
  QSize sizeHint() const override;
};
