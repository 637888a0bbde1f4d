#pragma once

#include "archiwum/WiadomoscArchiwum.h"

#include <QPair>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

class TZapisArchiwum;
struct TOperacjaArchiwum;

// One hit of the full-text search.
struct TTrafienie {
  qint64 id = 0;
  int numer = 0;
  QDateTime czas;
  QString tekst;
};

// The durable message archive: one SQLite file (WAL, owner-only) in the data folder. Every
// change is queued on the calling (UI) thread and written by a writer thread of its own, one
// transaction per event-loop turn, so no disk wait ever reaches the UI. Reads (start-up, the
// history window, search) use a second connection on the UI thread; WAL lets them run beside the
// writer. Identifiers are handed out here, so a message's row is known before it is written.
class TArchiwum {
public:
  TArchiwum();
  ~TArchiwum(); // writes what is still queued, then closes
  TArchiwum(const TArchiwum &) = delete;
  TArchiwum &operator=(const TArchiwum &) = delete;

  static QString NazwaPliku() { return QStringLiteral("Archiwum.sqlite"); }
  // The name a damaged file is set aside under: "<plik>.uszkodzone-<yyyy-MM-dd>", with "-2",
  // "-3", ... when that is taken.
  static QString NazwaOdlozonego(const QString &plik, const QDate &dzien);

  // Opens or creates the file (and its folder). A file that cannot be read as an archive is
  // renamed aside and a new one created; OdlozonyPlik() then names it. False when no archive
  // could be made at all, or when another running copy of the program holds it (Zajete()): the
  // program goes on without one.
  bool Otworz(const QString &sciezka);
  bool Zajete() const { return m_zajete; }
  bool Otwarte() const { return m_otwarte; }
  const QString &Sciezka() const { return m_sciezka; }
  const QString &OdlozonyPlik() const { return m_odlozony; }

  // --- Changes (queued; written at the end of the event-loop turn) ---------------------------
  qint64 NowyId() { return ++m_ostatniId; }
  // `w.id` from NowyId.
  void Dopisz(const TWiadomoscArchiwum &w);
  void UstawStatus(qint64 id, int status);
  // A delivery report as it arrived; `id` 0 when no message in the tree had its sequence.
  void DopiszPotwierdzenie(int sekwencja, int status, qint64 id);
  void OznaczPrzeczytana(qint64 id);
  void OznaczUsunieta(qint64 id);

  // Hands what is queued to the writer now (normally done at the end of the turn).
  void Zapisz();
  // Zapisz, then waits until the writer has committed everything handed to it.
  void Zaczekaj();
  // Write batches committed so far (one per turn that changed anything).
  quint64 Transakcje() const;
  // Called on this (the UI) thread, at the turn after a batch of which something could not be
  // written (a full disk, a file damaged under the running program).
  void UstawPrzyBledzieZapisu(std::function<void()> przyBledzie)
  {
    m_przyBledzie = std::move(przyBledzie);
  }
  int BledyZapisu() const;

  // --- Reads --------------------------------------------------------------------------------
  // Sent messages the next login would resend (status none of 1, 2, 3) still in the tree.
  QList<TWiadomoscArchiwum> Oczekujace();
  // Received messages never selected, still in the tree.
  QList<TWiadomoscArchiwum> Nieprzeczytane();
  // The conversation with one number, oldest first: at most `ile` messages older than `przedId`
  // (0: the newest).
  QList<TWiadomoscArchiwum> Rozmowa(int numer, qint64 przedId, int ile);
  // At most `ile` messages newer than `poId`, oldest first.
  QList<TWiadomoscArchiwum> RozmowaPo(int numer, qint64 poId, int ile);
  qint64 LiczbaWRozmowie(int numer);
  TWiadomoscArchiwum Wiadomosc(qint64 id);
  // Full-text search over every conversation, newest first. Each word of `zapytanie` matches
  // words that begin with it; Polish letters are folded (ą = a, ł = l, ...) on both sides.
  QList<TTrafienie> Szukaj(const QString &zapytanie, int ile);
  // The numbers that have a conversation, each with the count of its messages.
  QList<QPair<int, qint64>> Rozmowcy();

  // Polish letters and other diacritics folded to their base letters, lower case.
  static QString Zloz(const QString &tekst);

private:
  bool Polacz(const QString &sciezka, QString *blad);
  void Rozlacz();
  void Zaplanuj();
  QList<TWiadomoscArchiwum> Wczytaj(const QString &zapytanie, const QVariantList &wartosci);

  QString m_sciezka;
  QString m_odlozony;
  QString m_polaczenie; // the UI thread's connection name
  bool m_otwarte = false;
  bool m_zajete = false;
  int m_blokada = -1; // held while open: identifiers are handed out by one process only
  qint64 m_ostatniId = 0;
  std::vector<TOperacjaArchiwum> m_kolejka;
  bool m_zaplanowane = false;
  std::shared_ptr<bool> m_zyje; // the queued calls check it
  std::function<void()> m_przyBledzie;
  std::unique_ptr<TZapisArchiwum> m_zapis;
};
