#include "common/SerweryGG.h"

#include "gg/Liczby.h"
#include "gg/Pakiety.h"

QList<TPakietGG> WytnijPakiety(QByteArray &bufor)
{
  QList<TPakietGG> wynik;
  while (bufor.size() >= 8) {
    const quint32 dlugosc = quint32(LEToInt(bufor, 4));
    if (quint64(bufor.size()) < 8 + quint64(dlugosc))
      break;
    wynik.append({LEToInt(bufor), bufor.mid(8, qsizetype(dlugosc))});
    bufor.remove(0, 8 + qsizetype(dlugosc));
  }
  return wynik;
}

TSerwerHttpGG::TSerwerHttpGG() : m_serwer([this](TPolaczenieTestowe &p) { Obsluz(p); }) {}

void TSerwerHttpGG::UstawOdpowiedz(const QList<QByteArray> &kawalki, bool zamknijPoOdpowiedzi,
                                   int przerwaMs)
{
  const std::lock_guard<std::mutex> blokada(m_zamek);
  m_kawalki = kawalki;
  m_zamknij = zamknijPoOdpowiedzi;
  m_przerwaMs = przerwaMs;
}

QList<QByteArray> TSerwerHttpGG::Zapytania() const
{
  const std::lock_guard<std::mutex> blokada(m_zamek);
  return m_zapytania;
}

QByteArray TSerwerHttpGG::OdpowiedzWyszukiwania(const QString &portGG, int numerInformacji,
                                                const QByteArray &informacja)
{
  return "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" +
         QByteArray::number(numerInformacji) + " 0 127.0.0.1:" + portGG.toLatin1() +
         " 127.0.0.1\r\n" + informacja;
}

void TSerwerHttpGG::Obsluz(TPolaczenieTestowe &p)
{
  QByteArray zapytanie = p.CzytajDo("\r\n\r\n");
  const qsizetype naglowek = zapytanie.toLower().indexOf("content-length:");
  if (naglowek >= 0) {
    const qsizetype koniec = zapytanie.indexOf("\r\n", naglowek);
    const int dlugosc = zapytanie.mid(naglowek + 15, koniec - naglowek - 15).trimmed().toInt();
    zapytanie += p.Czytaj(dlugosc);
  }
  QList<QByteArray> kawalki;
  bool zamknij = false;
  int przerwa = 0;
  {
    const std::lock_guard<std::mutex> blokada(m_zamek);
    m_zapytania.append(zapytanie);
    kawalki = m_kawalki;
    zamknij = m_zamknij;
    przerwa = m_przerwaMs;
  }
  for (qsizetype i = 0; i < kawalki.size(); ++i) {
    if (i > 0)
      p.Spij(przerwa);
    if (!p.Pisz(kawalki[i]))
      return;
  }
  if (zamknij)
    p.Zamknij();
  else
    p.CzekajNaZamkniecie(10000);
}

TSerwerGGTestowy::TSerwerGGTestowy(quint32 ziarno)
    : m_ziarno(ziarno), m_serwer([this](TPolaczenieTestowe &p) { Obsluz(p); })
{
}

TSerwerGGTestowy::~TSerwerGGTestowy()
{
  m_stop = true;
}

void TSerwerGGTestowy::Wyslij(const QByteArray &dane)
{
  const std::lock_guard<std::mutex> blokada(m_zamek);
  m_doWyslania += dane;
}

void TSerwerGGTestowy::Rozlacz()
{
  const std::lock_guard<std::mutex> blokada(m_zamek);
  m_rozlacz = true;
}

int TSerwerGGTestowy::Polaczenia() const
{
  const std::lock_guard<std::mutex> blokada(m_zamek);
  return int(m_pakiety.size());
}

QList<TPakietGG> TSerwerGGTestowy::Pakiety(int nr) const
{
  const std::lock_guard<std::mutex> blokada(m_zamek);
  return nr < m_pakiety.size() ? m_pakiety[nr] : QList<TPakietGG>();
}

QList<TPakietGG> TSerwerGGTestowy::Pakiety(int nr, qint32 typ) const
{
  QList<TPakietGG> wynik;
  for (const TPakietGG &p : Pakiety(nr))
    if (p.typ == typ)
      wynik.append(p);
  return wynik;
}

bool TSerwerGGTestowy::ZamknietePrzezKlienta(int nr) const
{
  const std::lock_guard<std::mutex> blokada(m_zamek);
  return nr < m_zamkniete.size() && m_zamkniete[nr];
}

void TSerwerGGTestowy::Obsluz(TPolaczenieTestowe &p)
{
  int nr = 0;
  {
    const std::lock_guard<std::mutex> blokada(m_zamek);
    nr = int(m_pakiety.size());
    m_pakiety.append(QList<TPakietGG>());
    m_zamkniete.append(false);
    // A new connection starts clean: requests meant for an earlier one are dropped.
    m_doWyslania.clear();
    m_rozlacz = false;
  }
  p.Pisz(ZbudujRamke(GGAnsWelcome, IntToLE(qint32(m_ziarno))));
  QByteArray bufor;
  while (!m_stop.load()) {
    // Whatever arrives within one short wait; the buffer of the connection is drained each time,
    // so asking about the close afterwards loses nothing.
    const QByteArray dane = p.Czytaj(1 << 22, 15);
    bufor += dane;
    const QList<TPakietGG> nowe = WytnijPakiety(bufor);
    QByteArray doWyslania;
    bool rozlacz = false;
    {
      const std::lock_guard<std::mutex> blokada(m_zamek);
      m_pakiety[nr] += nowe;
      if (nr == m_pakiety.size() - 1) {
        doWyslania.swap(m_doWyslania);
        rozlacz = m_rozlacz;
        m_rozlacz = false;
      }
    }
    for (const TPakietGG &pakiet : nowe)
      if (pakiet.typ == GGReqLogin60 && m_odpowiedzNaLogowanie.load() != 0)
        p.Pisz(ZbudujRamke(m_odpowiedzNaLogowanie.load(), QByteArray()));
    if (!doWyslania.isEmpty())
      p.Pisz(doWyslania);
    if (rozlacz) {
      p.Zamknij();
      return;
    }
    if (dane.isEmpty() && p.CzekajNaZamkniecie(0)) {
      const std::lock_guard<std::mutex> blokada(m_zamek);
      m_zamkniete[nr] = true;
      return;
    }
  }
}
