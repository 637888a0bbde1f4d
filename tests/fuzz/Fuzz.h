#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// Every target gets a Qt application (offscreen, private home) before its first input.
void PrzygotujFuzz();

inline QByteArray Wejscie(const uint8_t *dane, size_t rozmiar)
{
  return QByteArray(reinterpret_cast<const char *>(dane), qsizetype(rozmiar));
}

// Takes bytes off the front of an input, for targets that need several values from one input.
class TCzytnikWejscia {
public:
  explicit TCzytnikWejscia(QByteArray dane) : m_dane(std::move(dane)) {}
  quint8 Bajt()
  {
    if (m_poz >= m_dane.size())
      return 0;
    return quint8(m_dane[m_poz++]);
  }
  // Up to `najwiecej` bytes, as many as the next byte says.
  QByteArray Kawalek(int najwiecej = 255)
  {
    const qsizetype ile = std::min<qsizetype>({Bajt() % (najwiecej + 1), Zostalo()});
    const QByteArray k = m_dane.mid(m_poz, ile);
    m_poz += ile;
    return k;
  }
  QByteArray Reszta()
  {
    const QByteArray r = m_dane.mid(m_poz);
    m_poz = m_dane.size();
    return r;
  }
  qsizetype Zostalo() const { return m_dane.size() - m_poz; }

private:
  QByteArray m_dane;
  qsizetype m_poz = 0;
};

// Aborts (so the fuzzer keeps the input) when a property of the code under test does not hold.
#define FUZZ_WARUNEK(w)                                                                            \
  do {                                                                                             \
    if (!(w))                                                                                      \
      qFatal("property failed: %s (%s:%d)", #w, __FILE__, __LINE__);                               \
  } while (false)
