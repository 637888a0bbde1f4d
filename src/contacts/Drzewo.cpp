#include "contacts/Drzewo.h"

#include "contacts/Galezie.h"
#include "contacts/Stany.h"

#include <algorithm>

TDrzewo::TDrzewo() : m_korzen(new TWezel(this, nullptr, QString())) {}

TDrzewo::~TDrzewo()
{
  for (TObserwatorDrzewa *o : std::vector<TObserwatorDrzewa *>(m_obserwatorzy))
    o->DrzewoNiszczone();
}

void TDrzewo::DodajObserwatora(TObserwatorDrzewa *obserwator)
{
  if (obserwator &&
      std::find(m_obserwatorzy.begin(), m_obserwatorzy.end(), obserwator) == m_obserwatorzy.end())
    m_obserwatorzy.push_back(obserwator);
}

void TDrzewo::UsunObserwatora(TObserwatorDrzewa *obserwator)
{
  m_obserwatorzy.erase(std::remove(m_obserwatorzy.begin(), m_obserwatorzy.end(), obserwator),
                       m_obserwatorzy.end());
}

int TDrzewo::LiczbaGlownych() const
{
  return m_korzen->LiczbaDzieci();
}

TWezel *TDrzewo::Glowny(int i) const
{
  return m_korzen->Dziecko(i);
}

int TDrzewo::LiczbaWezlow() const
{
  int liczba = 0;
  for (const TWezel *w = Pierwszy(); w; w = w->Nastepny())
    ++liczba;
  return liczba;
}

void TDrzewo::Przenumeruj(TWezel *rodzic, int od)
{
  // Left to the next question about a position (TWezel::Indeks): inserting before many
  // siblings costs no pass over them.
  rodzic->UniewaznijIndeksy(od);
}

void TDrzewo::Wszedl(TWezel *rodzic, TWezel *wezel, int pozycja)
{
  wezel->m_indeks = pozycja;
  rodzic->UniewaznijIndeksy(pozycja);
}

void TDrzewo::Zmieniono(TWezel *wezel, unsigned co)
{
  if (wezel == m_korzen.get())
    return;
  for (TObserwatorDrzewa *o : m_obserwatorzy)
    o->Zmieniono(wezel, co);
}

TWezel *TDrzewo::Dodaj(TWezel *rodzic, const QString &tekst)
{
  return Wstaw(rodzic, -1, tekst);
}

TWezel *TDrzewo::Wstaw(TWezel *rodzic, int pozycja, const QString &tekst)
{
  if (rodzic && !Nasz(rodzic))
    return nullptr;
  TWezel *r = Wlasciwy(rodzic);
  const int liczba = r->LiczbaDzieci();
  if (pozycja < 0 || pozycja > liczba)
    pozycja = liczba;
  for (TObserwatorDrzewa *o : m_obserwatorzy)
    o->PrzedWstawieniem(rodzic, pozycja);
  std::unique_ptr<TWezel> nowy(new TWezel(this, r, tekst));
  TWezel *wezel = nowy.get();
  r->m_dzieci.insert(r->m_dzieci.begin() + pozycja, std::move(nowy));
  if (r == m_korzen.get())
    m_glowne.insert(m_glowne.begin() + pozycja, TWpisGlowny{0, nullptr});
  Wszedl(r, wezel, pozycja);
  for (TObserwatorDrzewa *o : m_obserwatorzy)
    o->PoWstawieniu(wezel);
  return wezel;
}

TWezel *TDrzewo::WstawPrzed(TWezel *brat, const QString &tekst)
{
  if (!Nasz(brat))
    return nullptr;
  return Wstaw(brat->Rodzic(), brat->Indeks(), tekst);
}

bool TDrzewo::Przenies(TWezel *wezel, TWezel *nowyRodzic, int pozycja)
{
  if (!Nasz(wezel) || (nowyRodzic && !Nasz(nowyRodzic)))
    return false;
  TWezel *cel = Wlasciwy(nowyRodzic);
  if (cel->LezyW(wezel))
    return false;
  const int liczba = cel->LiczbaDzieci();
  if (pozycja < 0 || pozycja > liczba)
    pozycja = liczba;
  TWezel *zrodlo = wezel->m_rodzic;
  const int stary = wezel->Indeks();
  if (zrodlo == cel && (pozycja == stary || pozycja == stary + 1))
    return true; // already there
  for (TObserwatorDrzewa *o : m_obserwatorzy)
    o->PrzedPrzeniesieniem(wezel, nowyRodzic, pozycja);
  ++m_epokaWlascicieli;
  std::unique_ptr<TWezel> przenoszony = std::move(zrodlo->m_dzieci[size_t(stary)]);
  zrodlo->m_dzieci.erase(zrodlo->m_dzieci.begin() + stary);
  if (zrodlo == m_korzen.get()) {
    Wyrejestruj(wezel, m_glowne[size_t(stary)]);
    m_glowne.erase(m_glowne.begin() + stary);
  }
  Przenumeruj(zrodlo, stary);
  const int nowa = (zrodlo == cel && pozycja > stary) ? pozycja - 1 : pozycja;
  przenoszony->m_rodzic = cel;
  if (cel == m_korzen.get()) {
    m_glowne.insert(m_glowne.begin() + nowa, WpisDla(przenoszony.get()));
    Zarejestruj(wezel, m_glowne[size_t(nowa)]);
  }
  cel->m_dzieci.insert(cel->m_dzieci.begin() + nowa, std::move(przenoszony));
  Wszedl(cel, wezel, nowa);
  for (TObserwatorDrzewa *o : m_obserwatorzy)
    o->PoPrzeniesieniu(wezel);
  return true;
}

bool TDrzewo::PrzeniesPrzed(TWezel *wezel, TWezel *brat)
{
  if (!Nasz(brat))
    return false;
  return Przenies(wezel, brat->Rodzic(), brat->Indeks());
}

void TDrzewo::OglosUsuwanie(TWezel *wezel)
{
  if (m_obserwatorzy.empty())
    return;
  // Pre-order over the subtree of `wezel` only.
  for (TWezel *w = wezel; w;) {
    for (TObserwatorDrzewa *o : m_obserwatorzy)
      o->PrzedUsunieciemWezla(w);
    if (w->LiczbaDzieci() > 0) {
      w = w->PierwszeDziecko();
      continue;
    }
    while (w && w != wezel && !w->NastepnyBrat())
      w = w->m_rodzic;
    w = (w && w != wezel) ? w->NastepnyBrat() : nullptr;
  }
}

void TDrzewo::Usun(TWezel *wezel)
{
  if (!Nasz(wezel))
    return;
  OglosUsuwanie(wezel);
  TWezel *r = wezel->m_rodzic;
  TWezel *rodzic = wezel->Rodzic();
  const int indeks = wezel->Indeks();
  for (TObserwatorDrzewa *o : m_obserwatorzy)
    o->PrzedUsunieciem(rodzic, indeks, indeks);
  std::unique_ptr<TWezel> usuwany = std::move(r->m_dzieci[size_t(indeks)]);
  r->m_dzieci.erase(r->m_dzieci.begin() + indeks);
  OdliczPogrubione(wezel);
  if (r == m_korzen.get()) {
    Wyrejestruj(wezel, m_glowne[size_t(indeks)]);
    m_glowne.erase(m_glowne.begin() + indeks);
  }
  Przenumeruj(r, indeks);
  for (TObserwatorDrzewa *o : m_obserwatorzy)
    o->PoUsunieciu(rodzic, indeks, indeks);
  // `usuwany` goes here, after the view has let go of it.
}

void TDrzewo::UsunZachowujacDzieci(TWezel *wezel)
{
  if (!Nasz(wezel))
    return;
  while (TWezel *dziecko = wezel->PierwszeDziecko())
    PrzeniesPrzed(dziecko, wezel);
  Usun(wezel);
}

void TDrzewo::UsunDzieci(TWezel *wezel)
{
  if (wezel && !Nasz(wezel))
    return;
  TWezel *r = Wlasciwy(wezel);
  const int liczba = r->LiczbaDzieci();
  if (liczba == 0)
    return;
  for (int i = 0; i < liczba; ++i)
    OglosUsuwanie(r->Dziecko(i));
  for (TObserwatorDrzewa *o : m_obserwatorzy)
    o->PrzedUsunieciem(wezel, 0, liczba - 1);
  std::vector<std::unique_ptr<TWezel>> usuwane = std::move(r->m_dzieci);
  r->m_dzieci.clear();
  r->UniewaznijIndeksy(0);
  if (r == m_korzen.get()) {
    m_glowne.clear();
    m_kontaktyPoNumerze.clear();
    m_pogrubione = 0;
  } else {
    for (const auto &dziecko : usuwane)
      OdliczPogrubione(dziecko.get());
  }
  for (TObserwatorDrzewa *o : m_obserwatorzy)
    o->PoUsunieciu(wezel, 0, liczba - 1);
}

void TDrzewo::Wyczysc()
{
  for (int i = 0; i < LiczbaGlownych(); ++i)
    OglosUsuwanie(Glowny(i));
  for (TObserwatorDrzewa *o : m_obserwatorzy)
    o->PrzedWyczyszczeniem();
  std::vector<std::unique_ptr<TWezel>> usuwane = std::move(m_korzen->m_dzieci);
  m_korzen->m_dzieci.clear();
  m_korzen->UniewaznijIndeksy(0);
  m_glowne.clear();
  m_kontaktyPoNumerze.clear();
  m_pogrubione = 0;
  usuwane.clear();
  for (TObserwatorDrzewa *o : m_obserwatorzy)
    o->PoWyczyszczeniu();
}

TWezel *TDrzewo::ZnajdzPogrubionyPo(const TWezel *po) const
{
  if (!Nasz(po))
    return nullptr;
  if (m_pogrubione == 0 || (m_pogrubione == 1 && (po->m_stan & StanWezla::Pogrubiony)))
    return nullptr;
  for (TWezel *w = po->Nastepny(); w; w = w->Nastepny())
    if (w->m_stan & StanWezla::Pogrubiony)
      return w;
  return nullptr;
}

TDrzewo::TWpisGlowny TDrzewo::WpisDla(const TWezel *wezel)
{
  const TRodzajGalezi *dane = wezel->m_dane.get();
  if (dane && dane->Rodzaj() == TRodzajWezla::Uzytkownik) {
    const auto *u = static_cast<const TUzytkownik *>(dane);
    return {u->Numer(), u};
  }
  return {0, nullptr};
}

void TDrzewo::Zarejestruj(TWezel *wezel, const TWpisGlowny &wpis)
{
  if (wpis.uzytkownik)
    m_kontaktyPoNumerze[wpis.numer].push_back(wezel);
}

void TDrzewo::Wyrejestruj(TWezel *wezel, const TWpisGlowny &wpis)
{
  if (!wpis.uzytkownik)
    return;
  const auto it = m_kontaktyPoNumerze.find(wpis.numer);
  if (it == m_kontaktyPoNumerze.end())
    return;
  std::vector<TWezel *> &wezly = it->second;
  wezly.erase(std::remove(wezly.begin(), wezly.end(), wezel), wezly.end());
  if (wezly.empty())
    m_kontaktyPoNumerze.erase(it);
}

void TDrzewo::OdswiezWpis(TWezel *wezel)
{
  if (wezel->m_rodzic != m_korzen.get())
    return;
  TWpisGlowny &wpis = m_glowne[size_t(wezel->Indeks())];
  Wyrejestruj(wezel, wpis);
  wpis = WpisDla(wezel);
  Zarejestruj(wezel, wpis);
}

void TDrzewo::ZmienionoNumer(const TUzytkownik *uzytkownik)
{
  // Rare (editing a contact); any top-level node may carry this payload.
  for (size_t i = 0; i < m_glowne.size(); ++i) {
    TWpisGlowny &wpis = m_glowne[i];
    if (wpis.uzytkownik != uzytkownik)
      continue;
    TWezel *wezel = m_korzen->m_dzieci[i].get();
    Wyrejestruj(wezel, wpis);
    wpis.numer = uzytkownik->Numer();
    Zarejestruj(wezel, wpis);
  }
}

TWezel *TDrzewo::ZnajdzUzytkownika(int numer) const
{
  const auto it = m_kontaktyPoNumerze.find(numer);
  if (it == m_kontaktyPoNumerze.end())
    return nullptr;
  TWezel *pierwszy = nullptr;
  for (TWezel *w : it->second)
    if (!pierwszy || w->Indeks() < pierwszy->Indeks())
      pierwszy = w;
  return pierwszy;
}

TUzytkownik *TDrzewo::UzytkownikWezla(const TWezel *wezel)
{
  if (!wezel || !wezel->m_rodzic)
    return nullptr;
  const TWezel *wlasciciel = wezel->m_drzewo->Wlasciciel(wezel);
  return wlasciciel ? static_cast<TUzytkownik *>(wlasciciel->m_dane.get()) : nullptr;
}

namespace {

bool MaKontakt(const TWezel *wezel)
{
  const TRodzajGalezi *dane = wezel->Dane();
  return dane && dane->Rodzaj() == TRodzajWezla::Uzytkownik;
}

} // namespace

const TWezel *TDrzewo::Wlasciciel(const TWezel *wezel) const
{
  // Climb to the first node that knows the answer or is the answer, then tell the nodes passed.
  const TWezel *w = wezel;
  const TWezel *wynik = nullptr;
  for (; w->m_rodzic; w = w->m_rodzic) {
    if (w->m_epokaWlasciciela == m_epokaWlascicieli) {
      wynik = w->m_wlasciciel;
      break;
    }
    if (MaKontakt(w)) {
      wynik = w;
      break;
    }
  }
  for (const TWezel *v = wezel;; v = v->m_rodzic) {
    v->m_wlasciciel = wynik;
    v->m_epokaWlasciciela = m_epokaWlascicieli;
    if (v == w || !v->m_rodzic->m_rodzic)
      break;
  }
  return wynik;
}

void TDrzewo::ZmienionoDane(TWezel *wezel)
{
  // A leaf answers only for itself; a node with a subtree may have answered for all of it.
  if (wezel->m_dzieci.empty())
    wezel->m_epokaWlasciciela = 0;
  else
    ++m_epokaWlascicieli;
}

void TDrzewo::OdliczPogrubione(const TWezel *wezel)
{
  if (m_pogrubione == 0)
    return;
  for (const TWezel *w = wezel; w;) {
    if (w->m_stan & StanWezla::Pogrubiony)
      --m_pogrubione;
    if (!w->m_dzieci.empty()) {
      w = w->m_dzieci.front().get();
      continue;
    }
    while (w != wezel && w->Indeks() + 1 >= int(w->m_rodzic->m_dzieci.size()))
      w = w->m_rodzic;
    w = w == wezel ? nullptr : w->m_rodzic->m_dzieci[size_t(w->Indeks() + 1)].get();
  }
}

TWezel *TDrzewo::DodajUzytkownika(int Numer, const QString &Imie, const QString &Nazwisko,
                                  const QString &EMail, const QString &Telefon, const QString &Opis,
                                  int Sledzony)
{
  TWezel *wezel = Dodaj(nullptr);
  wezel->UstawDane(
      std::make_shared<TUzytkownik>(wezel, Numer, Imie, Nazwisko, EMail, Telefon, Opis, Sledzony));
  UstawStanWezla(wezel, StanWezla::Wyciety, StanWezla::Wyciety);
  return wezel;
}

void TDrzewo::ZastosujStan(TWezel *wezel, int status)
{
  if (!Nasz(wezel))
    return;
  // An unknown status leaves the pictures as they were and the contact ghosted.
  const TOpisStanu *opis = OpisStanu(quint32(status & 0xFF));
  bool wyciety = !opis;
  if (opis) {
    wezel->UstawObrazy(opis->obraz, opis->obrazWybrany);
    if (opis->kod == StanGG::Niedostepny) {
      wyciety = true;
      if (TUzytkownik *u = wezel->DaneJako<TUzytkownik>())
        u->ZnacznikWymieniony = false;
    }
  }
  UstawStanWezla(wezel, quint8((wyciety ? StanWezla::Wyciety : 0) | StanWezla::Pogrubiony),
                 StanWezla::Wyciety | StanWezla::Pogrubiony);
}

void TDrzewo::ZastosujStanWszystkim(int status)
{
  for (int i = 0; i < LiczbaGlownych(); ++i) {
    TWezel *w = Glowny(i);
    if (w->m_dane && w->m_dane->Rodzaj() == TRodzajWezla::Uzytkownik)
      ZastosujStan(w, status);
  }
}

void TDrzewo::UstawStanWezla(TWezel *wezel, quint8 stan, quint8 maska)
{
  if (!Nasz(wezel))
    return;
  const quint8 nowy = quint8((wezel->m_stan & ~maska) | (stan & maska));
  if (nowy == wezel->m_stan)
    return;
  if ((nowy ^ wezel->m_stan) & StanWezla::Pogrubiony)
    m_pogrubione += (nowy & StanWezla::Pogrubiony) ? 1 : -1;
  wezel->m_stan = nowy;
  Zmieniono(wezel, ZmianaWezla::Stan);
}

bool TDrzewo::MaStanWezla(const TWezel *wezel, quint8 maska) const
{
  return Nasz(wezel) && (wezel->m_stan & maska) != 0;
}
