#include "contacts/Sledzeni.h"

#include "app/Blad.h"
#include "contacts/Rejestr.h"

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
                              const QString &Nazwisko, const QString &EMail,
                              const QString &Telefon, const QString &Opis)
{
  const QString stara = SekcjaNumeru(staryNumer);
  const QString nowa = SekcjaNumeru(Numer);
  if (IstniejeSekcja(m_rejestr, stara) && !IstniejeSekcja(m_rejestr, nowa))
    PrzeniesSekcje(m_rejestr, stara, nowa);
  {
    TKorzenRejestru korzen(m_rejestr);
    m_rejestr.setValue(nowa + QStringLiteral("/Opis"), Opis);
    m_rejestr.setValue(nowa + QStringLiteral("/Imie"), Imie);
    m_rejestr.setValue(nowa + QStringLiteral("/Nazwisko"), Nazwisko);
    m_rejestr.setValue(nowa + QStringLiteral("/EMail"), EMail);
    m_rejestr.setValue(nowa + QStringLiteral("/Telefon"), Telefon);
  }
  ZatwierdzZapis(m_rejestr, QString::number(Numer));
}

std::unique_ptr<TSledzeni> UtworzBaze(int rodzaj, QSettings &rejestr, bool wczytaj,
                                      const TDodajUzytkownikaFn &dodaj)
{
  Q_UNUSED(rodzaj);
  return std::make_unique<TSledzeniRejestr>(rejestr, wczytaj, dodaj);
}
