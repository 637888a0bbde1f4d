#pragma once

#include <QHash>
#include <QList>
#include <QPixmap>
#include <QStyledItemDelegate>

// Draws one node of the conversation tree: the state image (the `StateIL` picture of a message)
// left of the node's own image, the standard icon and caption after it, a ghosted node (cut bit)
// with dimmed text and icon, a bold node (bold bit) in bold. The caption stays plain model text,
// so screen readers read it as it is.
class TDelegatWezla : public QStyledItemDelegate {
  Q_OBJECT
public:
  // The parts of a drawn node, for hit testing.
  enum class TCzesc { Brak, IkonaStanu, Ikona, Etykieta, ZaEtykieta };

  explicit TDelegatWezla(QList<QPixmap> obrazyStanu, QObject *rodzic = nullptr);
  // New state pictures (another device pixel ratio or palette).
  void UstawObrazyStanu(QList<QPixmap> obrazyStanu);

  void paint(QPainter *painter, const QStyleOptionViewItem &option,
             const QModelIndex &index) const override;
  QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

  // The standard option of the node, ghosted when its cut bit is set.
  void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

  // The part under `punkt` of the node drawn in `opcja.rect` (the view's cell of the node).
  TCzesc CzescPod(const QStyleOptionViewItem &opcja, const QModelIndex &indeks,
                  const QPoint &punkt) const;

  // Width taken by the state image, with its gap to the node's image.
  static constexpr int SzerokoscStanu = 18;

private:
  const QPixmap *ObrazStanu(const QModelIndex &indeks) const;

  QList<QPixmap> m_obrazyStanu;
  mutable QHash<qint64, QIcon> m_wyszarzone;
};
