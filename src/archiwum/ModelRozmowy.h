#pragma once

#include "archiwum/WiadomoscArchiwum.h"

#include <QAbstractListModel>
#include <QList>

class TArchiwum;

// One conversation of the archive for a list view, newest last, loaded a page at a time: opening
// reads only the newest page (or the page around a message jumped to); older pages come in front
// when the view reaches the top (DoczytajStarsze), newer ones at the end through Qt's fetchMore.
class TModelRozmowy : public QAbstractListModel {
  Q_OBJECT
public:
  enum Role { RolaId = Qt::UserRole + 1, RolaGlebokosc, RolaKierunek };
  static constexpr int Strona = 200;

  explicit TModelRozmowy(TArchiwum &archiwum, QObject *rodzic = nullptr);

  // The conversation with `numer`: its newest page, or (wokol != 0) the page that ends with that
  // message and whatever follows it lazily.
  void Ustaw(int numer, qint64 wokol = 0);
  int Numer() const { return m_numer; }
  // The row of a loaded message, -1 when it is not loaded.
  int Wiersz(qint64 id) const;

  bool SaStarsze() const { return m_saStarsze; }
  // Older messages in front; returns how many came.
  int DoczytajStarsze();

  // One message as a line of the history: time, who, the text, and for a sent message its
  // delivery state; an answer is indented by its depth in the thread.
  static QString Linia(const TWiadomoscArchiwum &w);

  int rowCount(const QModelIndex &rodzic = QModelIndex()) const override;
  QVariant data(const QModelIndex &indeks, int rola) const override;
  bool canFetchMore(const QModelIndex &rodzic) const override;
  void fetchMore(const QModelIndex &rodzic) override;

private:
  TArchiwum &m_archiwum;
  int m_numer = 0;
  QList<TWiadomoscArchiwum> m_wiadomosci;
  bool m_saStarsze = false;
  bool m_saNowsze = false;
};
