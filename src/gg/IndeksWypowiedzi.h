#pragma once

#include "contacts/Drzewo.h"

#include <unordered_map>
#include <vector>

// The message nodes of a tree by the sequence number of their TDaneDodatkowe, so that a delivery
// report finds its message without walking the whole tree. It watches the tree: a node enters
// when a message payload is attached to it (by whoever creates it), leaves when it is deleted,
// and moves need nothing because the order among several matches is worked out at lookup.
class TIndeksWypowiedzi : private TObserwatorDrzewa {
public:
  // Indexes the messages already in the tree.
  explicit TIndeksWypowiedzi(TDrzewo &drzewo);
  ~TIndeksWypowiedzi() override;
  TIndeksWypowiedzi(const TIndeksWypowiedzi &) = delete;
  TIndeksWypowiedzi &operator=(const TIndeksWypowiedzi &) = delete;

  // The first node in depth-first order whose payload is a message with this sequence number,
  // as a walk of the whole tree would find it; null when there is none.
  TWezel *Znajdz(int numerSekwencyjny);

  // Sequence numbers with at least one node (for tests and measurements).
  size_t Liczba() const { return m_wezly.size(); }

private:
  void Dopisz(TWezel *wezel);
  void Wypisz(TWezel *wezel);
  void Wyczysc();

  void Zmieniono(TWezel *wezel, unsigned co) override;
  void PrzedUsunieciemWezla(TWezel *wezel) override;
  void PrzedWyczyszczeniem() override;
  void DrzewoNiszczone() override;

  TDrzewo *m_drzewo;
  // Weak handles: an entry left behind by a payload swapped for another never dangles; it is
  // dropped when its number is next looked up.
  std::unordered_map<int, std::vector<TWskaznikWezla>> m_wezly;
};
