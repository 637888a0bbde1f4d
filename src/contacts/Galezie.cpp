#include "contacts/Galezie.h"

#include "app/DataCzas.h"
#include "contacts/Drzewo.h"
#include "contacts/Stany.h"

TRodzajGalezi::TRodzajGalezi(TWezel *wezel) : TRodzajGalezi(wezel, TRodzajWezla::Galaz) {}

TRodzajGalezi::TRodzajGalezi(TWezel *wezel, TRodzajWezla rodzaj) : m_wezel(wezel), m_rodzaj(rodzaj)
{
}

TRodzajGalezi::~TRodzajGalezi() = default;

TAtrybut::TAtrybut(TWezel *wezel) : TRodzajGalezi(wezel, TRodzajWezla::Atrybut) {}

TKonferencja::TKonferencja(TWezel *wezel) : TRodzajGalezi(wezel, TRodzajWezla::Konferencja) {}

TUzytkownik::TUzytkownik(TWezel *wezel, int Numer, const QString &Imie, const QString &Nazwisko,
                         const QString &EMail, const QString &Telefon, const QString &Opis,
                         int Sledzony)
    : TRodzajGalezi(nullptr, TRodzajWezla::Uzytkownik), Sledzony(Sledzony), Imie(Imie),
      Nazwisko(Nazwisko), EMail(EMail), Telefon(Telefon), WezelUzytkownika(wezel), m_numer(Numer)
{
  UstawOpis(Opis);
}

void TUzytkownik::UstawNumer(int numer)
{
  if (numer == m_numer)
    return;
  m_numer = numer;
  if (TWezel *w = WezelUzytkownika)
    w->Drzewo()->ZmienionoNumer(this);
}

void TUzytkownik::UstawOpis(const QString &opis)
{
  Opis = opis;
  if (TWezel *w = WezelUzytkownika)
    w->UstawTekst(opis);
}

TWygladStanu WygladStanu(int status)
{
  if (const TOpisStanu *opis = OpisStanu(quint32(status & 0xFF)))
    return {QString::fromUtf16(opis->nazwa), opis->obraz, opis->obrazWybrany};
  // The whole value, as the 32-bit word it arrived as.
  return {
      QStringLiteral("Nieokreślony stan %1").arg(QString::number(quint32(status), 16).toUpper()),
      ObrazWezla::BudzikSzary, ObrazWezla::Budzik};
}

TZmianaStanu::TZmianaStanu(TWezel *wezel, const QDateTime &Czas, const QString &Opis, int Status)
    : TRodzajGalezi(wezel, TRodzajWezla::ZmianaStanu), Status(Status), Czas(Czas), Opis(Opis)
{
  Odswiez();
}

void TZmianaStanu::Odswiez()
{
  TWezel *w = Wezel();
  if (!w)
    return;
  const TWygladStanu wyglad = WygladStanu(Status);
  w->UstawObrazy(wyglad.obraz, wyglad.obrazWybrany);
  w->UstawTekst(QStringLiteral("(%1)%2[%3]").arg(DataCzasNaTekst(Czas), wyglad.nazwa, Opis));
}

TDaneDodatkowe::TDaneDodatkowe(int StatusPotwierdzenia, int NumerNadawcy, int CzasNadania,
                               int NumerSekwencyjny, const QDateTime &CzasUtworzenia)
    : NumerNadawcy(NumerNadawcy), NumerSekwencyjny(NumerSekwencyjny), CzasNadania(CzasNadania),
      StatusPotwierdzenia(StatusPotwierdzenia), CzasUtworzenia(CzasUtworzenia)
{
}

TWypowiedz::TWypowiedz(TWezel *wezel, std::unique_ptr<TDaneDodatkowe> daneDodatkowe,
                       const QString &tekst)
    : TRodzajGalezi(wezel, TRodzajWezla::Wypowiedz), m_daneDodatkowe(std::move(daneDodatkowe)),
      m_tekst(tekst)
{
  if (!m_daneDodatkowe)
    m_daneDodatkowe = std::make_unique<TDaneDodatkowe>(0, 0, 0, 0, QDateTime());
}
