#include "pulpit/LicznikNieprzeczytanych.h"

#include "contacts/Galezie.h"

TLicznikNieprzeczytanych::TLicznikNieprzeczytanych(TDrzewo &drzewo, QObject *rodzic)
    : QObject(rodzic), m_drzewo(&drzewo)
{
  // Whatever is bold already counts (a window may make its counter after loading).
  for (TWezel *w = drzewo.Pierwszy(); w; w = w->Nastepny())
    if (const TRodzajGalezi *wiadomosc = NieprzeczytanaWiadomosc(w)) {
      m_wiadomoscLinii[w] = wiadomosc;
      ++m_liniePoWiadomosci[wiadomosc];
    }
  drzewo.DodajObserwatora(this);
}

TLicznikNieprzeczytanych::~TLicznikNieprzeczytanych()
{
  if (m_drzewo)
    m_drzewo->UsunObserwatora(this);
}

const TRodzajGalezi *TLicznikNieprzeczytanych::NieprzeczytanaWiadomosc(const TWezel *wezel)
{
  if (!(wezel->Stan() & StanWezla::Pogrubiony) || !wezel->Dane() ||
      wezel->Dane()->Rodzaj() != TRodzajWezla::Wypowiedz)
    return nullptr;
  // A sent message carries the time it was written; a received one has none.
  const auto *wypowiedz = static_cast<const TWypowiedz *>(wezel->Dane());
  return wypowiedz->DaneDodatkowe().CzasUtworzenia.isNull() ? wypowiedz : nullptr;
}

void TLicznikNieprzeczytanych::Zapomnij(const TWezel *wezel)
{
  if (m_wiadomoscLinii.empty())
    return;
  const auto linia = m_wiadomoscLinii.find(wezel);
  if (linia == m_wiadomoscLinii.end())
    return;
  const auto wiadomosc = m_liniePoWiadomosci.find(linia->second);
  m_wiadomoscLinii.erase(linia);
  if (wiadomosc != m_liniePoWiadomosci.end() && --wiadomosc->second <= 0) {
    m_liniePoWiadomosci.erase(wiadomosc);
    emit ZmienionoLiczbe(Liczba());
  }
}

void TLicznikNieprzeczytanych::Zmieniono(TWezel *wezel, unsigned co)
{
  if (!(co & (ZmianaWezla::Stan | ZmianaWezla::Dane)))
    return;
  // Only message lines are ever counted: other nodes, and a line that was not bold and still is
  // not, need no lookup (a burst of messages and status changes passes here by thousands).
  const bool jestWypowiedzia = wezel->Dane() && wezel->Dane()->Rodzaj() == TRodzajWezla::Wypowiedz;
  if (!(co & ZmianaWezla::Dane) && !jestWypowiedzia)
    return;
  if (!(co & ZmianaWezla::Stan) && !(wezel->Stan() & StanWezla::Pogrubiony))
    return;
  const TRodzajGalezi *wiadomosc = NieprzeczytanaWiadomosc(wezel);
  if (!wiadomosc) {
    Zapomnij(wezel);
    return;
  }
  // One lookup for the usual case: a line that has just turned bold.
  const auto [linia, nowa] = m_wiadomoscLinii.try_emplace(wezel, wiadomosc);
  if (!nowa) {
    if (linia->second == wiadomosc)
      return;
    Zapomnij(wezel);
    m_wiadomoscLinii.emplace(wezel, wiadomosc);
  }
  if (++m_liniePoWiadomosci[wiadomosc] == 1) {
    emit ZmienionoLiczbe(Liczba());
    emit NowaWiadomosc(wezel);
  }
}

void TLicznikNieprzeczytanych::PrzedUsunieciemWezla(TWezel *wezel)
{
  if (wezel->Dane() && wezel->Dane()->Rodzaj() == TRodzajWezla::Wypowiedz)
    Zapomnij(wezel);
}

void TLicznikNieprzeczytanych::PoWyczyszczeniu()
{
  const bool byly = !m_liniePoWiadomosci.empty();
  m_wiadomoscLinii.clear();
  m_liniePoWiadomosci.clear();
  if (byly)
    emit ZmienionoLiczbe(0);
}

void TLicznikNieprzeczytanych::DrzewoNiszczone()
{
  m_drzewo = nullptr;
  m_wiadomoscLinii.clear();
  m_liniePoWiadomosci.clear();
}
