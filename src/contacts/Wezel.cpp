#include "contacts/Wezel.h"

#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"

#include <algorithm>

TWskaznikWezla::TWskaznikWezla(TWezel *wezel)
{
  if (wezel)
    m_znacznik = wezel->Znacznik();
}

TWskaznikWezla &TWskaznikWezla::operator=(TWezel *wezel)
{
  if (wezel)
    m_znacznik = wezel->Znacznik();
  else
    m_znacznik.reset();
  return *this;
}

TWezel::TWezel(TDrzewo *drzewo, TWezel *rodzic, const QString &tekst)
    : m_drzewo(drzewo), m_rodzic(rodzic), m_tekst(tekst)
{
}

TWezel::~TWezel()
{
  if (m_znacznik)
    m_znacznik->wezel = nullptr;
  // Conversations nest answer under answer; tear the subtree down without recursion.
  std::vector<std::unique_ptr<TWezel>> doUsuniecia = std::move(m_dzieci);
  while (!doUsuniecia.empty()) {
    std::unique_ptr<TWezel> w = std::move(doUsuniecia.back());
    doUsuniecia.pop_back();
    for (auto &dziecko : w->m_dzieci)
      doUsuniecia.push_back(std::move(dziecko));
    w->m_dzieci.clear();
  }
}

const std::shared_ptr<TZnacznikWezla> &TWezel::Znacznik()
{
  if (!m_znacznik)
    m_znacznik = std::make_shared<TZnacznikWezla>(TZnacznikWezla{this});
  return m_znacznik;
}

void TWezel::UstawTekst(const QString &tekst)
{
  if (tekst == m_tekst)
    return;
  m_tekst = tekst;
  m_drzewo->Zmieniono(this, ZmianaWezla::Tekst);
}

void TWezel::UstawObrazy(int obraz, int obrazWybrany)
{
  if (obraz == m_obraz && obrazWybrany == m_obrazWybrany)
    return;
  m_obraz = obraz;
  m_obrazWybrany = obrazWybrany;
  m_drzewo->Zmieniono(this, ZmianaWezla::Obrazy);
}

void TWezel::UstawObrazStanu(int obraz)
{
  if (obraz == m_obrazStanu)
    return;
  m_obrazStanu = obraz;
  m_drzewo->Zmieniono(this, ZmianaWezla::ObrazStanu);
}

void TWezel::UstawDane(std::shared_ptr<TRodzajGalezi> dane)
{
  // The old payload may be released here; move it out first so that its destructor sees a
  // consistent node.
  std::shared_ptr<TRodzajGalezi> stare = std::move(m_dane);
  m_dane = std::move(dane);
  m_drzewo->ZmienionoDane(this);
  m_drzewo->OdswiezWpis(this);
  m_drzewo->Zmieniono(this, ZmianaWezla::Dane);
}

void TWezel::UstawPokazRozwijanie(bool pokaz)
{
  if (pokaz == m_pokazRozwijanie)
    return;
  m_pokazRozwijanie = pokaz;
  m_drzewo->Zmieniono(this, ZmianaWezla::Rozwijanie);
}

TWezel *TWezel::Rodzic() const
{
  return m_rodzic && m_rodzic->m_rodzic ? m_rodzic : nullptr;
}

int TWezel::Poziom() const
{
  int poziom = 0;
  for (const TWezel *w = Rodzic(); w; w = w->Rodzic())
    ++poziom;
  return poziom;
}

TWezel *TWezel::Dziecko(int i) const
{
  return i >= 0 && i < LiczbaDzieci() ? m_dzieci[size_t(i)].get() : nullptr;
}

TWezel *TWezel::NastepnyBrat() const
{
  return m_rodzic ? m_rodzic->Dziecko(Indeks() + 1) : nullptr;
}

TWezel *TWezel::PoprzedniBrat() const
{
  return m_rodzic ? m_rodzic->Dziecko(Indeks() - 1) : nullptr;
}

int TWezel::Indeks() const
{
  if (!m_rodzic)
    return m_indeks;
  const auto &bracia = m_rodzic->m_dzieci;
  if (size_t(m_indeks) < bracia.size() && bracia[size_t(m_indeks)].get() == this)
    return m_indeks;
  m_rodzic->Przenumeruj();
  return m_indeks;
}

void TWezel::Przenumeruj() const
{
  for (size_t i = size_t(std::max(m_indeksyWazneDo, 0)); i < m_dzieci.size(); ++i)
    m_dzieci[i]->m_indeks = int(i);
  m_indeksyWazneDo = int(m_dzieci.size());
}

void TWezel::UniewaznijIndeksy(int od) const
{
  m_indeksyWazneDo = std::min(m_indeksyWazneDo, std::max(od, 0));
}

TWezel *TWezel::Nastepny() const
{
  if (!m_dzieci.empty())
    return m_dzieci.front().get();
  for (const TWezel *w = this; w && w->m_rodzic; w = w->m_rodzic)
    if (TWezel *brat = w->NastepnyBrat())
      return brat;
  return nullptr;
}

bool TWezel::LezyW(const TWezel *przodek) const
{
  for (const TWezel *w = this; w; w = w->m_rodzic)
    if (w == przodek)
      return true;
  return false;
}
