#include "gg/OdbiorPakietow.h"

#include "gg/Liczby.h"
#include "gg/Pakiety.h"

#include <cstring>
#include <utility>

TOdbiorPakietow::TOdbiorPakietow(TDyspozytor dyspozytor, TBlednyStrumien blednyStrumien)
    : m_dyspozytor(std::move(dyspozytor)), m_blednyStrumien(std::move(blednyStrumien))
{
}

void TOdbiorPakietow::UstawDyspozytor(TDyspozytor dyspozytor)
{
  m_dyspozytor = std::move(dyspozytor);
}

void TOdbiorPakietow::UstawBlednyStrumien(TBlednyStrumien blednyStrumien)
{
  m_blednyStrumien = std::move(blednyStrumien);
}

void TOdbiorPakietow::Odebrano(const char *dane, int wynikReceive)
{
  if (wynikReceive <= 0 || !dane)
    return;
  Dopisz(dane, wynikReceive);
  Rozbieraj();
}

void TOdbiorPakietow::Wyczysc()
{
  m_bufor.clear();
  m_odczytano = 0;
}

qsizetype TOdbiorPakietow::Oczekujace() const
{
  return m_bufor.size() - m_odczytano;
}

void TOdbiorPakietow::Dopisz(const char *dane, int ile)
{
  // Drop the taken prefix once it is at least as long as what remains: each byte is then moved
  // a bounded number of times however the reads fall.
  if (m_odczytano > 0) {
    if (m_odczytano >= m_bufor.size()) {
      m_bufor.resize(0);
      m_odczytano = 0;
    } else if (m_odczytano >= m_bufor.size() - m_odczytano) {
      m_bufor.remove(0, m_odczytano);
      m_odczytano = 0;
    }
  }
  m_bufor.append(dane, ile);
}

void TOdbiorPakietow::Rozbieraj()
{
  QByteArray cialo;
  for (;;) {
    // Everything is read afresh on each pass: a handler may have run a nested delivery or
    // cleared the buffer for a new connection.
    const qsizetype dostepne = m_bufor.size() - m_odczytano;
    if (dostepne < DlugoscNaglowka)
      break;
    const QByteArrayView naglowek(m_bufor.constData() + m_odczytano, DlugoscNaglowka);
    const qint32 typ = LEToInt(naglowek);
    const quint32 dlugosc = quint32(LEToInt(naglowek, 4));
    if (dlugosc > NajwiekszaDlugoscCiala) {
      Wyczysc();
      if (m_blednyStrumien)
        m_blednyStrumien(typ, dlugosc);
      return;
    }
    if (dostepne < DlugoscNaglowka + qsizetype(dlugosc))
      break;
    // A copy, reusing the last one's storage when the handler did not keep it.
    cialo.resize(qsizetype(dlugosc));
    if (dlugosc > 0)
      std::memcpy(cialo.data(), m_bufor.constData() + m_odczytano + DlugoscNaglowka, dlugosc);
    // Taken before the handler runs, so that no delivery, nested or later, sees it again.
    m_odczytano += DlugoscNaglowka + qsizetype(dlugosc);
    if (m_dyspozytor)
      m_dyspozytor(typ, qint32(dlugosc), cialo);
  }
  if (m_odczytano >= m_bufor.size()) {
    m_bufor.resize(0);
    m_odczytano = 0;
  }
}
