#include "contacts/Sledzeni.h"

#include "contacts/KsiazkaAdresowa.h"
#include "contacts/Rejestr.h"
#include "contacts/ZapisUstawien.h"
#include "net/Blad.h"

namespace {

const QString &Sekcja()
{
  static const QString s = QStringLiteral("Sledzeni");
  return s;
}

QString SekcjaNumeru(int numer)
{
  return Sekcja() + u'/' + QString::number(numer);
}

} // namespace

TSledzeni::~TSledzeni() = default;

void TSledzeni::PoZalogowaniu() {}

TSledzeniRejestr::TSledzeniRejestr(QSettings &rejestr, bool wczytaj,
                                   const TDodajUzytkownikaFn &dodaj)
    : m_rejestr(rejestr)
{
  if (!wczytaj)
    return;
  for (const QString &nazwa : Podsekcje(m_rejestr, Sekcja())) {
    int numer = 0;
    try {
      numer = StrToInt(nazwa);
    } catch (const EConvertError &) {
      m_pominiete.append(nazwa);
      continue;
    }
    const QString s = Sekcja() + u'/' + nazwa;
    const QString nazwisko = CzytajTekst(m_rejestr, s, QStringLiteral("Nazwisko"), nazwa);
    const QString email = CzytajTekst(m_rejestr, s, QStringLiteral("EMail"), nazwa);
    const QString telefon = CzytajTekst(m_rejestr, s, QStringLiteral("Telefon"), nazwa);
    const QString opis = CzytajTekst(m_rejestr, s, QStringLiteral("Opis"), nazwa);
    const int sledzony = CzytajLiczbe(m_rejestr, s, QStringLiteral("Sledzony"), 3);
    const QString imie = CzytajTekst(m_rejestr, s, QStringLiteral("Imie"), nazwa);
    if (dodaj)
      dodaj(numer, imie, nazwisko, email, telefon, opis, sledzony);
  }
}

void TSledzeniRejestr::Dodaj(int Numer, const QString &Imie, const QString &Nazwisko,
                             const QString &EMail, const QString &Telefon, const QString &Opis)
{
  Zapisz(Numer, Numer, Imie, Nazwisko, EMail, Telefon, Opis);
}

void TSledzeniRejestr::Zapisz(int staryNumer, int Numer, const QString &Imie,
                              const QString &Nazwisko, const QString &EMail, const QString &Telefon,
                              const QString &Opis)
{
  const QString stara = SekcjaNumeru(staryNumer);
  const QString nowa = SekcjaNumeru(Numer);
  if (IstniejeSekcja(m_rejestr, stara) && !IstniejeSekcja(m_rejestr, nowa))
    PrzeniesSekcje(m_rejestr, stara, nowa);
  bool zmieniono = false;
  {
    TKorzenRejestru korzen(m_rejestr);
    zmieniono |= UstawInnaWartosc(m_rejestr, nowa + QStringLiteral("/Opis"), Opis);
    zmieniono |= UstawInnaWartosc(m_rejestr, nowa + QStringLiteral("/Imie"), Imie);
    zmieniono |= UstawInnaWartosc(m_rejestr, nowa + QStringLiteral("/Nazwisko"), Nazwisko);
    zmieniono |= UstawInnaWartosc(m_rejestr, nowa + QStringLiteral("/EMail"), EMail);
    zmieniono |= UstawInnaWartosc(m_rejestr, nowa + QStringLiteral("/Telefon"), Telefon);
  }
  if (zmieniono)
    ZaplanujZapis(m_rejestr, QString::number(Numer));
}

TSledzeniOutlook::TSledzeniOutlook(const QString &ksiazkaAdresowa, bool wczytaj,
                                   const TDodajUzytkownikaFn &dodaj)
{
  if (!wczytaj)
    return;
  TOutlookApplication outlook(ksiazkaAdresowa);
  outlook.Polacz();
  const int ile = outlook.Count();
  for (int i = 1; i <= ile; ++i) {
    try {
      const TElementKsiazki kontakt = outlook.Item(i);
      if (!kontakt.JestKontaktem())
        continue;
      bool jest = false;
      QString numery = kontakt.WlasciwoscUzytkownika(QStringLiteral("GG-Numery"), &jest);
      if (!jest)
        continue;
      while (!numery.isEmpty()) {
        const QString nazwisko = kontakt.LastName();
        const QString email = kontakt.Email1Address();
        const QString telefon = kontakt.HomeTelephoneNumber();
        const QString imie = kontakt.FirstName();
        const QString opis = kontakt.WlasciwoscUzytkownika(QStringLiteral("GG-Opis"));
        // Every number ends with ";": a last one without it reads as empty and ends the item.
        const qsizetype srednik = numery.indexOf(u';');
        const int numer = StrToInt(srednik < 0 ? QString() : numery.left(srednik));
        if (dodaj)
          dodaj(numer, imie, nazwisko, email, telefon, opis, 3);
        numery.remove(0, srednik + 1);
      }
    } catch (const std::exception &) {
      // The item is skipped; the next one is read.
    }
  }
}

void TSledzeniOutlook::Dodaj(int Numer, const QString &Imie, const QString &Nazwisko,
                             const QString &EMail, const QString &Telefon, const QString &Opis)
{
  Zapisz(Numer, Numer, Imie, Nazwisko, EMail, Telefon, Opis);
}

void TSledzeniOutlook::Zapisz(int, int, const QString &, const QString &, const QString &,
                              const QString &, const QString &)
{
}

TSledzeniSerwer::TSledzeniSerwer(bool, const TDodajUzytkownikaFn &) {}

void TSledzeniSerwer::Dodaj(int Numer, const QString &Imie, const QString &Nazwisko,
                            const QString &EMail, const QString &Telefon, const QString &Opis)
{
  Zapisz(Numer, Numer, Imie, Nazwisko, EMail, Telefon, Opis);
}

void TSledzeniSerwer::Zapisz(int, int, const QString &, const QString &, const QString &,
                             const QString &, const QString &)
{
}

QString SciezkaKsiazkiAdresowej(const QString &katalogDanych)
{
  return katalogDanych + QStringLiteral("/Kontakty.vcf");
}

std::unique_ptr<TSledzeni> UtworzBaze(int rodzaj, QSettings &rejestr, const QString &katalogDanych,
                                      bool wczytaj, const TDodajUzytkownikaFn &dodaj)
{
  switch (rodzaj) {
  case RodzajeBazy::Outlook:
    return std::make_unique<TSledzeniOutlook>(SciezkaKsiazkiAdresowej(katalogDanych), wczytaj,
                                              dodaj);
  case RodzajeBazy::Serwer:
    return std::make_unique<TSledzeniSerwer>(wczytaj, dodaj);
  default:
    return std::make_unique<TSledzeniRejestr>(rejestr, wczytaj, dodaj);
  }
}
