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
      wezly[i] = std::move(wezly.back());
      wezly.pop_back();
      continue;
    }
    if (!pierwszy || Wczesniej(w, pierwszy))
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
  std::vector<TWskaznikWezla> &wezly = m_wezly[wypowiedz->DaneDodatkowe().NumerSekwencyjny];
  for (const TWskaznikWezla &w : wezly)
    if (w.get() == wezel)
      return;
  wezly.emplace_back(wezel);
}

void TIndeksWypowiedzi::Wypisz(TWezel *wezel)
{
  const TWypowiedz *wypowiedz = WypowiedzWezla(wezel);
  if (!wypowiedz)
    return;
  const auto it = m_wezly.find(wypowiedz->DaneDodatkowe().NumerSekwencyjny);
  if (it == m_wezly.end())
    return;
  std::vector<TWskaznikWezla> &wezly = it->second;
  wezly.erase(std::remove_if(wezly.begin(), wezly.end(),
                             [&](const TWskaznikWezla &w) { return w.get() == wezel; }),
              wezly.end());
  if (wezly.empty())
    m_wezly.erase(it);
}

void TIndeksWypowiedzi::Wyczysc()
{
  m_wezly.clear();
}

void TIndeksWypowiedzi::Zmieniono(TWezel *wezel, unsigned co)
{
  if (co & ZmianaWezla::Dane)
    Dopisz(wezel);
}

void TIndeksWypowiedzi::PrzedUsunieciemWezla(TWezel *wezel)
{
  Wypisz(wezel);
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
