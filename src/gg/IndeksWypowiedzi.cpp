#include "gg/IndeksWypowiedzi.h"

#include "contacts/Galezie.h"

#include <algorithm>

namespace {

const TWypowiedz *WypowiedzWezla(const TWezel *wezel)
{
  const TRodzajGalezi *dane = wezel ? wezel->Dane() : nullptr;
  if (!dane || dane->Rodzaj() != TRodzajWezla::Wypowiedz)
    return nullptr;
  return static_cast<const TWypowiedz *>(dane);
}

// True when `a` comes before `b` in depth-first order (an ancestor before its descendants).
bool Wczesniej(const TWezel *a, const TWezel *b)
{
  const int glebokoscA = a->Poziom();
  const int glebokoscB = b->Poziom();
  int poziomA = glebokoscA;
  int poziomB = glebokoscB;
  const TWezel *x = a;
  const TWezel *y = b;
  while (poziomA > poziomB) {
    x = x->Rodzic();
    --poziomA;
  }
  while (poziomB > poziomA) {
    y = y->Rodzic();
    --poziomB;
  }
  if (x == y)
    return glebokoscA < glebokoscB;
  while (x->Rodzic() != y->Rodzic()) {
    x = x->Rodzic();
    y = y->Rodzic();
  }
  return x->Indeks() < y->Indeks();
}

} // namespace

TIndeksWypowiedzi::TIndeksWypowiedzi(TDrzewo &drzewo) : m_drzewo(&drzewo)
{
  for (TWezel *w = drzewo.Pierwszy(); w; w = w->Nastepny())
    Dopisz(w);
  drzewo.DodajObserwatora(this);
}

TIndeksWypowiedzi::~TIndeksWypowiedzi()
{
  if (m_drzewo)
    m_drzewo->UsunObserwatora(this);
}

TWezel *TIndeksWypowiedzi::Znajdz(int numerSekwencyjny)
{
  const auto it = m_wezly.find(numerSekwencyjny);
  if (it == m_wezly.end())
    return nullptr;
  std::vector<TWskaznikWezla> &wezly = it->second;
  TWezel *pierwszy = nullptr;
  for (size_t i = 0; i < wezly.size();) {
    TWezel *w = wezly[i].get();
    const TWypowiedz *wypowiedz = WypowiedzWezla(w);
    if (!wypowiedz || wypowiedz->DaneDodatkowe().NumerSekwencyjny != numerSekwencyjny) {
      // Deleted, or its payload replaced since it was indexed.
      wezly[i] = std::move(wezly.back());
      wezly.pop_back();
      --m_wpisy;
      continue;
    }
    if (!pierwszy || (w != pierwszy && Wczesniej(w, pierwszy)))
      pierwszy = w;
    ++i;
  }
  if (wezly.empty())
    m_wezly.erase(it);
  return pierwszy;
}

void TIndeksWypowiedzi::Dopisz(TWezel *wezel)
{
  const TWypowiedz *wypowiedz = WypowiedzWezla(wezel);
  if (!wypowiedz)
    return;
  // The nodes deleted since the last sweep are gone by now.
  if (m_usuniete > m_wpisy / 2 + 1024)
    Sprzataj();
  // A node given a message payload twice is listed twice; lookups do not mind.
  m_wezly[wypowiedz->DaneDodatkowe().NumerSekwencyjny].emplace_back(wezel);
  ++m_wpisy;
}

void TIndeksWypowiedzi::Sprzataj()
{
  m_wpisy = 0;
  for (auto it = m_wezly.begin(); it != m_wezly.end();) {
    std::vector<TWskaznikWezla> &wezly = it->second;
    const int numer = it->first;
    wezly.erase(std::remove_if(wezly.begin(), wezly.end(),
                               [numer](const TWskaznikWezla &w) {
                                 const TWypowiedz *wyp = WypowiedzWezla(w.get());
                                 return !wyp || wyp->DaneDodatkowe().NumerSekwencyjny != numer;
                               }),
                wezly.end());
    m_wpisy += wezly.size();
    it = wezly.empty() ? m_wezly.erase(it) : std::next(it);
  }
  m_usuniete = 0;
}

void TIndeksWypowiedzi::Wyczysc()
{
  m_wezly.clear();
  m_wpisy = 0;
  m_usuniete = 0;
}

void TIndeksWypowiedzi::Zmieniono(TWezel *wezel, unsigned co)
{
  if (co & ZmianaWezla::Dane)
    Dopisz(wezel);
}

void TIndeksWypowiedzi::PrzedUsunieciemWezla(TWezel *wezel)
{
  if (WypowiedzWezla(wezel))
    ++m_usuniete;
}

void TIndeksWypowiedzi::PrzedWyczyszczeniem()
{
  Wyczysc();
}

void TIndeksWypowiedzi::DrzewoNiszczone()
{
  Wyczysc();
  m_drzewo = nullptr;
}
