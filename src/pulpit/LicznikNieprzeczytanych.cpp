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
  const TRodzajGalezi *wiadomosc = NieprzeczytanaWiadomosc(wezel);
  const auto linia = m_wiadomoscLinii.find(wezel);
  if (linia != m_wiadomoscLinii.end() && linia->second == wiadomosc)
    return;
  Zapomnij(wezel);
  if (!wiadomosc)
    return;
  m_wiadomoscLinii[wezel] = wiadomosc;
  if (++m_liniePoWiadomosci[wiadomosc] == 1) {
    emit ZmienionoLiczbe(Liczba());
    emit NowaWiadomosc(wezel);
  }
}

void TLicznikNieprzeczytanych::PrzedUsunieciemWezla(TWezel *wezel)
{
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
