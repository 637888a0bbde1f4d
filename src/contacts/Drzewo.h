#pragma once

#include "contacts/Wezel.h"

#include <QString>

#include <memory>
#include <unordered_map>
#include <vector>

class TUzytkownik;

// Told about every change of a TDrzewo, before and after, so that a Qt model can announce it.
// Parents are given as null for the top level. Observers must not change the tree from these
// calls.
class TObserwatorDrzewa {
public:
  virtual ~TObserwatorDrzewa() = default;

  virtual void PrzedWstawieniem(TWezel * /*rodzic*/, int /*pozycja*/) {}
  virtual void PoWstawieniu(TWezel * /*wezel*/) {}
  // Children pierwszy..ostatni of rodzic go; they are still in place.
  virtual void PrzedUsunieciem(TWezel * /*rodzic*/, int /*pierwszy*/, int /*ostatni*/) {}
  // They are out of the tree (not yet destroyed).
  virtual void PoUsunieciu(TWezel * /*rodzic*/, int /*pierwszy*/, int /*ostatni*/) {}
  // `pozycja` counts in the new parent's children before the move (as Qt's moves do).
  virtual void PrzedPrzeniesieniem(TWezel * /*wezel*/, TWezel * /*nowyRodzic*/, int /*pozycja*/) {}
  virtual void PoPrzeniesieniu(TWezel * /*wezel*/) {}
  virtual void PrzedWyczyszczeniem() {}
  virtual void PoWyczyszczeniu() {}
  // `co`: ZmianaWezla bits.
  virtual void Zmieniono(TWezel * /*wezel*/, unsigned /*co*/) {}
  // Each node of a subtree about to be deleted, parent before children, while the whole tree is
  // still intact (so UzytkownikWezla still works on it).
  virtual void PrzedUsunieciemWezla(TWezel * /*wezel*/) {}
  // The tree itself is being destroyed; forget it.
  virtual void DrzewoNiszczone() {}
};

// The conversation tree of the main window, free of widgets: it owns the nodes and reaches the
// view only through its observers (TModelDrzewa). Every operation runs on the UI thread.
class TDrzewo {
public:
  TDrzewo();
  ~TDrzewo();
  TDrzewo(const TDrzewo &) = delete;
  TDrzewo &operator=(const TDrzewo &) = delete;

  void DodajObserwatora(TObserwatorDrzewa *obserwator);
  void UsunObserwatora(TObserwatorDrzewa *obserwator);

  int LiczbaGlownych() const;
  TWezel *Glowny(int i) const;
  // The first node of the tree, or null when it is empty.
  TWezel *Pierwszy() const { return Glowny(0); }
  // All nodes, at any depth.
  int LiczbaWezlow() const;

  // A new node at the end of rodzic's children (null rodzic: the top level).
  TWezel *Dodaj(TWezel *rodzic, const QString &tekst = QString());
  // A new node at that position among rodzic's children (clamped to 0..count).
  TWezel *Wstaw(TWezel *rodzic, int pozycja, const QString &tekst = QString());
  // A new node just before `brat`, as its sibling.
  TWezel *WstawPrzed(TWezel *brat, const QString &tekst = QString());

  // Moves the node with its subtree under nowyRodzic (null: top level) before the child now at
  // `pozycja` (-1 or past the end: as the last child). Refused (false, nothing changes) when
  // nowyRodzic is the node itself or lies in its subtree. Payloads are never touched.
  bool Przenies(TWezel *wezel, TWezel *nowyRodzic, int pozycja = -1);
  // Just before `brat`, as its sibling.
  bool PrzeniesPrzed(TWezel *wezel, TWezel *brat);

  // Deletes the node with its whole subtree.
  void Usun(TWezel *wezel);
  // Deletes the node but keeps its children: each, first to last, moves to the node's own level
  // just before it, so they keep their order (removing a message keeps its answers).
  void UsunZachowujacDzieci(TWezel *wezel);
  // Deletes every child of the node (null: every node of the tree).
  void UsunDzieci(TWezel *wezel);
  // Removes every node of the tree.
  void Wyczysc();

  // The first node after `po` in tree order whose bold bit is set; null when `po` is null or
  // nothing follows. Immediate when nothing (else) is bold, whatever the size of the tree.
  TWezel *ZnajdzPogrubionyPo(const TWezel *po) const;
  // Nodes whose bold bit is set, at any depth.
  int LiczbaPogrubionych() const { return m_pogrubione; }

  // --- The tree operations of the main window ---

  // The first top-level node whose payload is a contact with this number; nodes below the top
  // level are not searched.
  TWezel *ZnajdzUzytkownika(int numer) const;
  // The contact payload of the node itself or of its nearest ancestor that has one. Remembered
  // along the way, so that asking again (or for a node below) does not climb a long answer chain.
  static TUzytkownik *UzytkownikWezla(const TWezel *wezel);
  // Appends a top-level contact node (caption Opis), ghosted (cut) until a status arrives.
  // Does not check whether the number is already there.
  TWezel *DodajUzytkownika(int Numer, const QString &Imie, const QString &Nazwisko,
                           const QString &EMail, const QString &Telefon, const QString &Opis,
                           int Sledzony);
  // Shows a GG status on a contact node (images, cut and bold bits).
  void ZastosujStan(TWezel *wezel, int status);
  // ZastosujStan on every top-level contact node, in order.
  void ZastosujStanWszystkim(int status);
  // Writes the state bits selected by `maska` to their values in `stan`; other bits stay.
  void UstawStanWezla(TWezel *wezel, quint8 stan, quint8 maska);
  // Any bit of the mask set; false for no node.
  bool MaStanWezla(const TWezel *wezel, quint8 maska) const;

private:
  friend class TWezel;
  friend class TUzytkownik;

  // What a top-level node is filed under for ZnajdzUzytkownika (parallel to the top-level
  // nodes), so that a node can be taken out of the number index after its payload changed.
  struct TWpisGlowny {
    int numer;
    const TUzytkownik *uzytkownik; // null: not a contact
  };
  static TWpisGlowny WpisDla(const TWezel *wezel);
  void OdswiezWpis(TWezel *wezel);
  void ZmienionoDane(TWezel *wezel);
  const TWezel *Wlasciciel(const TWezel *wezel) const;
  // Bold nodes of a subtree leaving the tree.
  void OdliczPogrubione(const TWezel *wezel);
  void ZmienionoNumer(const TUzytkownik *uzytkownik);
  void Zarejestruj(TWezel *wezel, const TWpisGlowny &wpis);
  void Wyrejestruj(TWezel *wezel, const TWpisGlowny &wpis);

  TWezel *Wlasciwy(TWezel *rodzic) const { return rodzic ? rodzic : m_korzen.get(); }
  bool Nasz(const TWezel *wezel) const
  {
    return wezel && wezel->m_drzewo == this && wezel != m_korzen.get();
  }
  void Zmieniono(TWezel *wezel, unsigned co);
  void OglosUsuwanie(TWezel *wezel);
  // A node enters `rodzic` at `pozycja`, or the children from `od` on moved.
  static void Wszedl(TWezel *rodzic, TWezel *wezel, int pozycja);
  static void Przenumeruj(TWezel *rodzic, int od);

  std::unique_ptr<TWezel> m_korzen;
  std::vector<TWpisGlowny> m_glowne; // parallel to the top-level nodes
  // Top-level contact nodes by number: a lookup costs the same however many top-level nodes
  // there are (a burst of conference messages adds one each). Duplicates are rare; the first
  // in order is the one with the lowest index.
  std::unordered_map<int, std::vector<TWezel *>> m_kontaktyPoNumerze;
  std::vector<TObserwatorDrzewa *> m_obserwatorzy;
  int m_pogrubione = 0;
  // Changes whenever some node's remembered contact may have become wrong (a move, a payload
  // change above other nodes).
  mutable quint64 m_epokaWlascicieli = 1;
};
