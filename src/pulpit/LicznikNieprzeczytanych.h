#pragma once

#include "contacts/Drzewo.h"

#include <QObject>

#include <unordered_map>

class TRodzajGalezi;

// Counts the received messages not yet looked at: those with at least one line still bold. A
// message of several lines counts once; status changes and contacts marked bold do not count.
// Follows the tree through its observer calls, so the count costs nothing per look.
class TLicznikNieprzeczytanych : public QObject, private TObserwatorDrzewa {
  Q_OBJECT
public:
  explicit TLicznikNieprzeczytanych(TDrzewo &drzewo, QObject *rodzic = nullptr);
  ~TLicznikNieprzeczytanych() override;

  int Liczba() const { return int(m_liniePoWiadomosci.size()); }

signals:
  void ZmienionoLiczbe(int liczba);
  // The first bold line of a received message has just appeared (sent from inside the tree's
  // change: the receiver may read the tree but must not change it).
  void NowaWiadomosc(TWezel *linia);

private:
  void Zmieniono(TWezel *wezel, unsigned co) override;
  void PrzedUsunieciemWezla(TWezel *wezel) override;
  void PoWyczyszczeniu() override;
  void DrzewoNiszczone() override;

  // The received message a bold node belongs to, or null.
  static const TRodzajGalezi *NieprzeczytanaWiadomosc(const TWezel *wezel);
  void Zapomnij(const TWezel *wezel);

  TDrzewo *m_drzewo;
  std::unordered_map<const TWezel *, const TRodzajGalezi *> m_wiadomoscLinii;
  std::unordered_map<const TRodzajGalezi *, int> m_liniePoWiadomosci;
};
