#include "archiwum/ArchiwumDrzewa.h"

#include "archiwum/Archiwum.h"
#include "contacts/Galezie.h"
#include "contacts/Stany.h"
#include "gg/Odbior.h"
#include "gg/SesjaPakiety.h"

namespace {

TWypowiedz *WypowiedzWezla(const TWezel *wezel)
{
  TRodzajGalezi *dane = wezel ? wezel->Dane() : nullptr;
  if (!dane || dane->Rodzaj() != TRodzajWezla::Wypowiedz)
    return nullptr;
  return static_cast<TWypowiedz *>(dane);
}

// A received message has no creation time; a written one always has.
bool Wyslana(const TWypowiedz &w)
{
  return w.DaneDodatkowe().CzasUtworzenia.isValid();
}

// The numbers listed under a conference node's "uczestnicy".
QList<int> Uczestnicy(const TWezel *konferencja)
{
  QList<int> numery;
  for (int i = 0; i < konferencja->LiczbaDzieci(); ++i) {
    const TWezel *lista = konferencja->Dziecko(i);
    if (lista->Dane() || lista->Tekst() != QStringLiteral("uczestnicy"))
      continue;
    for (int j = 0; j < lista->LiczbaDzieci(); ++j)
      numery.append(lista->Dziecko(j)->Tekst().toInt());
    break;
  }
  return numery;
}

} // namespace

TArchiwumDrzewa::TArchiwumDrzewa(TDrzewo &drzewo, TArchiwum &archiwum)
    : m_drzewo(&drzewo), m_archiwum(archiwum)
{
  m_drzewo->DodajObserwatora(this);
}

TArchiwumDrzewa::~TArchiwumDrzewa()
{
  if (m_drzewo)
    m_drzewo->UsunObserwatora(this);
}

void TArchiwumDrzewa::DrzewoNiszczone()
{
  m_drzewo = nullptr;
}

void TArchiwumDrzewa::Zarchiwizuj(TWezel *wezel, TWypowiedz &wypowiedz)
{
  const TDaneDodatkowe &d = wypowiedz.DaneDodatkowe();
  TWiadomoscArchiwum w;
  w.id = m_archiwum.NowyId();
  w.kierunek = Wyslana(wypowiedz) ? TWiadomoscArchiwum::Wyslana : TWiadomoscArchiwum::Odebrana;
  w.numer = d.NumerNadawcy;
  w.sekwencja = d.NumerSekwencyjny;
  w.czasNadania = quint32(d.CzasNadania);
  w.czasUtworzenia = d.CzasUtworzenia;
  w.czasZapisu = QDateTime::currentDateTime();
  w.status = d.StatusPotwierdzenia;
  w.przeczytana = w.kierunek == TWiadomoscArchiwum::Wyslana;
  w.tekst = wypowiedz.Tekst();
  if (const TWezel *rodzic = wezel->Rodzic()) {
    if (const TWypowiedz *odpowiadana = WypowiedzWezla(rodzic))
      w.odpowiedzNa = odpowiadana->IdArchiwum;
    else if (rodzic->Dane() && rodzic->Dane()->Rodzaj() == TRodzajWezla::Konferencja)
      w.uczestnicy = Uczestnicy(rodzic);
  }
  wypowiedz.IdArchiwum = w.id;
  if (!w.przeczytana)
    m_nieprzeczytane.insert(w.id);
  m_archiwum.Dopisz(w);
}

void TArchiwumDrzewa::Zmieniono(TWezel *wezel, unsigned co)
{
  if (!(co & (ZmianaWezla::Dane | ZmianaWezla::Stan)))
    return;
  TWypowiedz *wypowiedz = WypowiedzWezla(wezel);
  if (!wypowiedz)
    return;
  if ((co & ZmianaWezla::Dane) && wypowiedz->IdArchiwum == 0)
    Zarchiwizuj(wezel, *wypowiedz);
  // Selecting any line of a received message clears its bold: the message has been seen.
  if ((co & ZmianaWezla::Stan) && !m_odczytWstrzymany && !(wezel->Stan() & StanWezla::Pogrubiony))
    Przeczytano(wezel);
}

void TArchiwumDrzewa::Przeczytano(TWezel *wezel)
{
  const TWypowiedz *wypowiedz = WypowiedzWezla(wezel);
  if (wypowiedz && m_nieprzeczytane.erase(wypowiedz->IdArchiwum))
    m_archiwum.OznaczPrzeczytana(wypowiedz->IdArchiwum);
}

void TArchiwumDrzewa::PrzedUsunieciemWezla(TWezel *wezel)
{
  const TWypowiedz *wypowiedz = WypowiedzWezla(wezel);
  if (!wypowiedz || wypowiedz->IdArchiwum == 0)
    return;
  // Gone from the tree, so neither resent nor shown unread again; the history keeps it.
  m_nieprzeczytane.erase(wypowiedz->IdArchiwum);
  m_archiwum.OznaczUsunieta(wypowiedz->IdArchiwum);
}

void TArchiwumDrzewa::Potwierdzenie(TWezel *wezel, int sekwencja, int status)
{
  qint64 id = 0;
  if (const TWypowiedz *wypowiedz = WypowiedzWezla(wezel)) {
    id = wypowiedz->IdArchiwum;
    if (id)
      m_archiwum.UstawStatus(id, status);
  }
  m_archiwum.DopiszPotwierdzenie(sekwencja, status, id);
}

int TArchiwumDrzewa::Przywroc(const std::function<void(TWezel *)> &pokaz)
{
  if (!m_drzewo)
    return 0;
  int ile = 0;
  for (const TWiadomoscArchiwum &w : m_archiwum.Oczekujace()) {
    PrzywrocWyslana(w);
    ++ile;
  }
  for (const TWiadomoscArchiwum &w : m_archiwum.Nieprzeczytane()) {
    PrzywrocOdebrana(w, pokaz);
    ++ile;
  }
  return ile;
}

void TArchiwumDrzewa::PrzywrocWyslana(const TWiadomoscArchiwum &w)
{
  TWezel *wezel = m_drzewo->Dodaj(m_drzewo->ZnajdzUzytkownika(w.numer), w.tekst);
  auto wypowiedz = std::make_shared<TWypowiedz>(
      wezel, std::make_unique<TDaneDodatkowe>(w.status, w.numer, 0, w.sekwencja, w.czasUtworzenia),
      w.tekst);
  wypowiedz->IdArchiwum = w.id; // already archived
  wezel->UstawDane(std::move(wypowiedz));
  // The picture its last report left: "no room" shows as such, anything else as unconfirmed.
  wezel->UstawObrazStanu(w.status == 4 ? ObrazStanu::BrakMiejsca : ObrazStanu::Niepotwierdzona);
}

void TArchiwumDrzewa::PrzywrocOdebrana(const TWiadomoscArchiwum &w,
                                       const std::function<void(TWezel *)> &pokaz)
{
  TWezel *cel = nullptr;
  if (!w.uczestnicy.isEmpty()) {
    cel = m_drzewo->Dodaj(nullptr, QStringLiteral("konferencja"));
    cel->UstawDane(std::make_shared<TKonferencja>(cel));
    m_drzewo->UstawStanWezla(cel, StanWezla::Wyciety, StanWezla::Wyciety);
    TWezel *lista = m_drzewo->Dodaj(cel, QStringLiteral("uczestnicy"));
    for (int numer : w.uczestnicy)
      m_drzewo->Dodaj(lista, QString::number(numer));
  } else {
    cel = m_drzewo->ZnajdzUzytkownika(w.numer);
    if (!cel)
      cel = m_drzewo->DodajUzytkownika(
          w.numer, QStringLiteral("nieznane imię"), QStringLiteral("nieznane nazwisko"),
          QStringLiteral("nieznany email"), QStringLiteral("nieznany telefon"),
          QString::number(w.numer), 1);
  }
  auto wypowiedz = std::make_shared<TWypowiedz>(
      nullptr,
      std::make_unique<TDaneDodatkowe>(2, w.numer, int(w.czasNadania), w.sekwencja, QDateTime()),
      w.tekst);
  wypowiedz->IdArchiwum = w.id;
  m_nieprzeczytane.insert(w.id);
  const std::shared_ptr<TRodzajGalezi> dane = std::move(wypowiedz);
  for (const QString &linia : LinieWiadomosci(TekstWyswietlany(quint32(w.czasNadania), w.tekst))) {
    TWezel *wezel = m_drzewo->Dodaj(cel, linia);
    wezel->UstawDane(dane);
    m_drzewo->UstawStanWezla(wezel, StanWezla::Pogrubiony, StanWezla::Pogrubiony);
    if (pokaz)
      pokaz(wezel);
  }
}

int TArchiwumDrzewa::LiczbaOczekujacych(const TDrzewo &drzewo)
{
  int ile = 0;
  for (const TWezel *w = drzewo.Pierwszy(); w; w = w->Nastepny())
    if (const TWypowiedz *wypowiedz = WypowiedzWezla(w);
        wypowiedz && Wyslana(*wypowiedz) && CzekaNaPonowienie(*wypowiedz))
      ++ile;
  return ile;
}
