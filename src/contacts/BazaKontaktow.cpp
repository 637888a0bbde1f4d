#include "contacts/BazaKontaktow.h"

TBazaKontaktow::TBazaKontaktow(QSettings &rejestr, const QString &katalogDanych)
    : m_rejestr(rejestr), m_katalogDanych(katalogDanych),
      m_baza(UtworzBaze(RodzajeBazy::Rejestr, rejestr, katalogDanych, false, nullptr)),
      m_rodzaj(RodzajeBazy::Rejestr)
{
}

void TBazaKontaktow::Utworz(int rodzaj, bool wczytaj, const TDodajUzytkownikaFn &dodaj)
{
  m_rodzaj = rodzaj;
  try {
    m_baza = UtworzBaze(rodzaj, m_rejestr, m_katalogDanych, wczytaj, dodaj);
  } catch (...) {
    // Without loading no store touches anything outside itself, so this cannot fail.
    m_baza = UtworzBaze(rodzaj, m_rejestr, m_katalogDanych, false, nullptr);
    throw;
  }
}
