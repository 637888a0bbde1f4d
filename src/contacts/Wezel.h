#pragma once

#include <QString>

#include <memory>
#include <vector>

class TDrzewo;
class TRodzajGalezi;
class TWezel;

// Item state bits of a tree node, with the tree control's values.
namespace StanWezla {
constexpr quint8 Wyciety = 4;     // cut: drawn ghosted (not available, or status unknown)
constexpr quint8 Pogrubiony = 16; // bold: not yet looked at
} // namespace StanWezla

// What of a node changed, for the observers of the tree.
namespace ZmianaWezla {
constexpr unsigned Tekst = 1;
constexpr unsigned Obrazy = 2;
constexpr unsigned ObrazStanu = 4;
constexpr unsigned Stan = 8;
constexpr unsigned Dane = 16;
constexpr unsigned Rozwijanie = 32; // PokazRozwijanie
} // namespace ZmianaWezla

// Shared between a node and the weak handles on it; the node clears it when it dies.
struct TZnacznikWezla {
  TWezel *wezel;
};

// A non-owning reference to a node that becomes empty when the node is deleted (as QPointer
// does for objects). Used for every node reference kept beyond one operation: the payloads'
// Wezel, WezelUzytkownika and OstatniaWypowiedz, the command target, an open dialog's node.
class TWskaznikWezla {
public:
  TWskaznikWezla() = default;
  TWskaznikWezla(TWezel *wezel); // NOLINT: converts like a plain pointer
  TWskaznikWezla &operator=(TWezel *wezel);

  TWezel *get() const { return m_znacznik ? m_znacznik->wezel : nullptr; }
  operator TWezel *() const { return get(); } // NOLINT
  TWezel *operator->() const { return get(); }
  bool isNull() const { return get() == nullptr; }
  void clear() { m_znacznik.reset(); }

private:
  std::shared_ptr<TZnacznikWezla> m_znacznik;
};

// One node of the conversation tree: caption, images, state bits, payload and ordered children.
// Nodes are created, moved and deleted only through their TDrzewo, which owns them and tells its
// observers (the view adapter) about every change. Top-level nodes have no parent (Rodzic() is
// null).
class TWezel {
public:
  ~TWezel();
  TWezel(const TWezel &) = delete;
  TWezel &operator=(const TWezel &) = delete;

  TDrzewo *Drzewo() const { return m_drzewo; }

  const QString &Tekst() const { return m_tekst; }
  void UstawTekst(const QString &tekst);

  // Image indexes (0 until set, as a fresh tree item has), the state image (-1: none).
  int Obraz() const { return m_obraz; }
  int ObrazWybrany() const { return m_obrazWybrany; }
  void UstawObrazy(int obraz, int obrazWybrany);
  int ObrazStanu() const { return m_obrazStanu; }
  void UstawObrazStanu(int obraz);

  // Item state bits; changed through TDrzewo::UstawStanWezla.
  quint8 Stan() const { return m_stan; }

  // The payload; several nodes may share one (the lines of one received message). Released
  // with the last node that carries it.
  TRodzajGalezi *Dane() const { return m_dane.get(); }
  const std::shared_ptr<TRodzajGalezi> &DaneWspolne() const { return m_dane; }
  void UstawDane(std::shared_ptr<TRodzajGalezi> dane);
  template <class T> T *DaneJako() const { return dynamic_cast<T *>(m_dane.get()); }

  // Shows an expand button although there are no children yet (the test view's drill-down).
  bool PokazRozwijanie() const { return m_pokazRozwijanie; }
  void UstawPokazRozwijanie(bool pokaz);
  bool MaDzieci() const { return !m_dzieci.empty() || m_pokazRozwijanie; }

  TWezel *Rodzic() const;
  // Position among the siblings. Positions are brought up to date lazily: an insertion or a
  // removal only marks where the parent's numbering may stop being right.
  int Indeks() const;
  // 0 for top-level nodes.
  int Poziom() const;
  int LiczbaDzieci() const { return int(m_dzieci.size()); }
  TWezel *Dziecko(int i) const;
  TWezel *PierwszeDziecko() const { return Dziecko(0); }
  TWezel *OstatnieDziecko() const { return Dziecko(LiczbaDzieci() - 1); }
  TWezel *NastepnyBrat() const;
  TWezel *PoprzedniBrat() const;
  // The next node in tree order: first child, else the next sibling of the node or of the
  // nearest ancestor that has one; null after the last node.
  TWezel *Nastepny() const;
  // True when this node is `przodek` itself or lies anywhere below it.
  bool LezyW(const TWezel *przodek) const;

private:
  friend class TDrzewo;
  friend class TWskaznikWezla;

  TWezel(TDrzewo *drzewo, TWezel *rodzic, const QString &tekst);
  const std::shared_ptr<TZnacznikWezla> &Znacznik();
  // Numbers the children from the first one whose number may be stale.
  void Przenumeruj() const;
  // Children from `od` on may have moved.
  void UniewaznijIndeksy(int od) const;

  TDrzewo *m_drzewo;
  TWezel *m_rodzic; // the tree's hidden root for top-level nodes
  std::shared_ptr<TRodzajGalezi> m_dane;
  std::shared_ptr<TZnacznikWezla> m_znacznik; // made on the first weak handle
  std::vector<std::unique_ptr<TWezel>> m_dzieci;
  // The nearest node at or above this one whose payload is a contact (null: none), valid while
  // m_epokaWlasciciela equals the tree's; found again lazily after a move or a payload change.
  mutable const TWezel *m_wlasciciel = nullptr;
  mutable quint64 m_epokaWlasciciela = 0;
  QString m_tekst;
  // Right when the parent's list holds this node there (checked on every question); children
  // below the parent's m_indeksyWazneDo are all right, so renumbering starts there.
  mutable int m_indeks = 0;
  mutable int m_indeksyWazneDo = 0;
  int m_obraz = 0;
  int m_obrazWybrany = 0;
  int m_obrazStanu = -1;
  quint8 m_stan = 0;
  bool m_pokazRozwijanie = false;
};
