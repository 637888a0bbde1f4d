#pragma once

#include "contacts/Drzewo.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QPixmap>

// A message node's state in words, as its accessible description ("Wiadomość, nieprzeczytana",
// "Wiadomość, dostarczona", ...); empty for other nodes.
QString OpisDostepnosci(const TWezel &wezel);

// The one bridge from the conversation tree to a Qt item view: a single-column model whose items
// are the tree's nodes (QModelIndex::internalPointer() is the TWezel). It announces every insert,
// removal, move and change the tree makes. The tree must outlive the model or be destroyed first
// (the model then shows nothing).
class TModelDrzewa : public QAbstractItemModel, private TObserwatorDrzewa {
  Q_OBJECT
public:
  enum Rola {
    RolaObraz = Qt::UserRole + 1, // int: image index (normal)
    RolaObrazWybrany,             // int: image index when selected
    RolaObrazStanu,               // int: state image index, -1 none
    RolaStan,                     // int: item state bits
    RolaWyszarzony,               // bool: cut bit (4)
    RolaPogrubiony,               // bool: bold bit (16)
    RolaRodzaj,                   // int: TRodzajWezla of the payload, -1 without payload
  };

  explicit TModelDrzewa(TDrzewo &drzewo, QObject *rodzic = nullptr);
  ~TModelDrzewa() override;

  TDrzewo *Drzewo() const { return m_drzewo; }
  TWezel *Wezel(const QModelIndex &indeks) const;
  QModelIndex Indeks(const TWezel *wezel) const;

  // The node pictures (the image list). DecorationRole then gives an icon whose normal pixmap is
  // the node's image and whose selected pixmap its selected image.
  void UstawObrazy(const QList<QPixmap> &obrazy);

  QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex &child) const override;
  int rowCount(const QModelIndex &parent = QModelIndex()) const override;
  int columnCount(const QModelIndex &parent = QModelIndex()) const override;
  bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
  // Only the caption of a message node is editable (in place); the payload stays as it is.
  bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex &index) const override;

  // Dragging one node within this model: dropped on an item it becomes that item's last child,
  // on empty space the last top-level node, between rows it goes before the row below. A drop
  // into its own subtree changes nothing. (removeRows stays unimplemented on purpose: the view
  // then never deletes the moved node after a move drop.)
  Qt::DropActions supportedDropActions() const override;
  QStringList mimeTypes() const override;
  QMimeData *mimeData(const QModelIndexList &indexes) const override;
  bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                    const QModelIndex &parent) override;

signals:
  // Each node of a subtree about to be deleted, while the tree is still intact.
  void WezelUsuwany(TWezel *wezel);

private:
  void PrzedWstawieniem(TWezel *rodzic, int pozycja) override;
  void PoWstawieniu(TWezel *wezel) override;
  void PrzedUsunieciem(TWezel *rodzic, int pierwszy, int ostatni) override;
  void PoUsunieciu(TWezel *rodzic, int pierwszy, int ostatni) override;
  void PrzedPrzeniesieniem(TWezel *wezel, TWezel *nowyRodzic, int pozycja) override;
  void PoPrzeniesieniu(TWezel *wezel) override;
  void PrzedWyczyszczeniem() override;
  void PoWyczyszczeniu() override;
  void Zmieniono(TWezel *wezel, unsigned co) override;
  void PrzedUsunieciemWezla(TWezel *wezel) override;
  void DrzewoNiszczone() override;

  QVariant Ikona(const TWezel *wezel) const;

  TDrzewo *m_drzewo;
  bool m_przeniesienieJakoReset = false;
  QList<QPixmap> m_obrazy;
  mutable QHash<quint64, QIcon> m_ikony;
  mutable TWskaznikWezla m_przeciagany;
  mutable quint64 m_numerPrzeciagania = 0;
};
