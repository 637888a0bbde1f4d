#pragma once

#include <QModelIndex>
#include <QTreeView>

class TDelegatWezla;

// The conversation tree's view: a standard one-column QTreeView (so the accessibility interface
// reads every caption) with the tree control's hit test, the mouse behaviour of the original
// control and drops reported as points. What a press or a drop does is decided by the window.
class TWidokDrzewa : public QTreeView {
  Q_OBJECT
public:
  // Where a point of the viewport lies, as the tree control's hit test says it.
  enum class TTrafienie {
    Nigdzie,    // empty space below the last row
    Wciecie,    // left of a row's node, except its expand button
    Przycisk,   // the expand button of a row that has children
    IkonaStanu, // the state image
    Ikona,      // the node's image
    Etykieta,   // the caption
    ZaEtykieta, // right of the caption
  };
  struct TWynikTrafienia {
    TTrafienie gdzie = TTrafienie::Nigdzie;
    QModelIndex indeks; // the row's node; invalid for Nigdzie
  };

  explicit TWidokDrzewa(TDelegatWezla *delegat, QWidget *rodzic = nullptr);

  // `punkt` in viewport coordinates.
  TWynikTrafienia Traf(const QPoint &punkt) const;
  // Label, image or state image: the node itself.
  static bool NaWezle(TTrafienie gdzie);

  TDelegatWezla *Delegat() const { return m_delegat; }
  // A caption is being edited in place (its editor takes the keys).
  bool Edytuje() const { return state() == EditingState; }

signals:
  // Any mouse button, before the view reacts to it (viewport coordinates).
  void MyszWcisnieta(Qt::MouseButton przycisk, const QPoint &punkt);
  // A node of this tree was dropped at `punkt` (viewport coordinates).
  void Upuszczono(const QPoint &punkt);

protected:
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;
  void dragEnterEvent(QDragEnterEvent *event) override;
  void dragMoveEvent(QDragMoveEvent *event) override;
  void dropEvent(QDropEvent *event) override;

private:
  bool NaszePrzeciaganie(const QDropEvent *event) const;

  // A press the view did not see is under way: its moves and release are not the view's either
  // (so no drag starts from empty space or an indent).
  bool PominiecieWcisniecia(QMouseEvent *event);

  TDelegatWezla *m_delegat;
  bool m_wcisnieciePominiete = false;
};
