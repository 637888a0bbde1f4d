#pragma once

#include "contacts/Drzewo.h"

#include <unordered_map>
#include <vector>

// The message nodes of a tree by the sequence number of their TDaneDodatkowe, so that a delivery
// report finds its message without walking the whole tree. It watches the tree: a node enters
// when a message payload is attached to it (by whoever creates it); moves need nothing because
// the order among several matches is worked out at lookup. Entries hold weak handles, so a
// deleted node's entry is simply dead: it is dropped when its number is looked up, and all dead
// entries are swept once deletions reach half of what is indexed. Every step stays constant on
// average even when a peer sends all its messages with one sequence number.
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

  // Entries held, dead ones included (for tests and measurements).
  size_t Wpisy() const { return m_wpisy; }

private:
  void Dopisz(TWezel *wezel);
  void Sprzataj();
  void Wyczysc();

  void Zmieniono(TWezel *wezel, unsigned co) override;
  void PrzedUsunieciemWezla(TWezel *wezel) override;
  void PrzedWyczyszczeniem() override;
  void DrzewoNiszczone() override;

  TDrzewo *m_drzewo;
  std::unordered_map<int, std::vector<TWskaznikWezla>> m_wezly;
  size_t m_wpisy = 0;
  size_t m_usuniete = 0; // message nodes deleted since the last sweep
};
