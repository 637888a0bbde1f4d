#pragma once

#include "contacts/Drzewo.h"

#include <functional>
#include <unordered_set>

class TArchiwum;
class TWypowiedz;

// Keeps the archive in step with the conversation tree. It watches the tree, so every message
// that enters it is archived whoever made it (the dispatcher, the send command, a store): a
// message payload attached to a node for the first time becomes a row, with the message its node
// answers and, under a conference, the participants. Selecting a line of a received message marks
// it read; deleting a message's node keeps it out of the next start's tree. Delivery reports come
// in through Potwierdzenie. Przywroc puts back at start-up what the last run left pending.
class TArchiwumDrzewa : private TObserwatorDrzewa {
public:
  TArchiwumDrzewa(TDrzewo &drzewo, TArchiwum &archiwum);
  ~TArchiwumDrzewa() override;
  TArchiwumDrzewa(const TArchiwumDrzewa &) = delete;
  TArchiwumDrzewa &operator=(const TArchiwumDrzewa &) = delete;

  // A delivery report after the dispatcher applied it (`wezel` null when nothing matched).
  void Potwierdzenie(TWezel *wezel, int sekwencja, int status);

  // Start-up, after the contacts are loaded: every sent message still waiting for delivery goes
  // back under its contact (top level without one) with the state picture it had; every received
  // message never selected goes back bold, as its lines, under its contact (created as for an
  // unknown sender when missing) or in its conference; `pokaz` is given every line put back, to
  // make it visible as the dispatcher makes a new line. Returns how many messages came back.
  int Przywroc(const std::function<void(TWezel *)> &pokaz = {});

  // While held, selecting a line does not count as reading it: the closing check selects the
  // unread node it found only to show it.
  void WstrzymajOdczyt(bool wstrzymaj) { m_odczytWstrzymany = wstrzymaj; }
  // The user has seen the message of this node after all.
  void Przeczytano(TWezel *wezel);

  // Sent messages in the tree that the next login would send again.
  static int LiczbaOczekujacych(const TDrzewo &drzewo);

private:
  void Zarchiwizuj(TWezel *wezel, TWypowiedz &wypowiedz);
  void PrzywrocWyslana(const struct TWiadomoscArchiwum &w);
  void PrzywrocOdebrana(const struct TWiadomoscArchiwum &w,
                        const std::function<void(TWezel *)> &pokaz);

  void Zmieniono(TWezel *wezel, unsigned co) override;
  void PrzedUsunieciemWezla(TWezel *wezel) override;
  void DrzewoNiszczone() override;

  TDrzewo *m_drzewo;
  TArchiwum &m_archiwum;
  // Received messages not yet selected, by archive id.
  std::unordered_set<qint64> m_nieprzeczytane;
  bool m_odczytWstrzymany = false;
};
