#include "common/RejestracjaTestowa.h"

namespace {

void Dopisz16(QByteArray &b, int wartosc)
{
  b += char(wartosc & 0xFF);
  b += char((wartosc >> 8) & 0xFF);
}

} // namespace

TUslugaRejestracji::TUslugaRejestracji() : m_serwer([this](TPolaczenieTestowe &p) { Obsluz(p); })
{
  m_token = "3 2 12\r\ntok1\r\n" + AdresObrazka().toLatin1() + "\r\n";
  m_obrazek = ObrazekGif(3, 2, {Qt::red, Qt::green, Qt::blue, Qt::white}, {0, 1, 2, 3, 2, 1});
  m_rejestracja = "reg_success:7654321";
}

QString TUslugaRejestracji::AdresObrazka() const
{
  return QStringLiteral("http://127.0.0.1:%1/obrazek.gif").arg(Port());
}

void TUslugaRejestracji::UstawToken(const QByteArray &tresc)
{
  const std::lock_guard<std::mutex> blokada(m_zamek);
  m_token = tresc;
}

void TUslugaRejestracji::UstawObrazek(const QByteArray &gif)
{
  const std::lock_guard<std::mutex> blokada(m_zamek);
  m_obrazek = gif;
}

void TUslugaRejestracji::UstawOdpowiedzRejestracji(const QByteArray &tresc)
{
  const std::lock_guard<std::mutex> blokada(m_zamek);
  m_rejestracja = tresc;
}

void TUslugaRejestracji::UstawStatus(int status)
{
  const std::lock_guard<std::mutex> blokada(m_zamek);
  m_status = status;
}

QList<QByteArray> TUslugaRejestracji::Zapytania() const
{
  const std::lock_guard<std::mutex> blokada(m_zamek);
  return m_zapytania;
}

QList<QByteArray> TUslugaRejestracji::Zapytania(const QByteArray &poczatek) const
{
  QList<QByteArray> wynik;
  for (const QByteArray &z : Zapytania())
    if (z.startsWith(poczatek))
      wynik << z;
  return wynik;
}

QByteArray TUslugaRejestracji::Tresc(const QByteArray &zapytanie)
{
  return zapytanie.mid(zapytanie.indexOf("\r\n\r\n") + 4);
}

void TUslugaRejestracji::Obsluz(TPolaczenieTestowe &p)
{
  QByteArray zapytanie = p.CzytajDo("\r\n\r\n");
  const qsizetype naglowek = zapytanie.toLower().indexOf("content-length:");
  if (naglowek >= 0) {
    const qsizetype koniec = zapytanie.indexOf("\r\n", naglowek);
    zapytanie += p.Czytaj(zapytanie.mid(naglowek + 15, koniec - naglowek - 15).trimmed().toInt());
  }
  const QByteArray sciezka = zapytanie.left(zapytanie.indexOf("\r\n")).split(' ').value(1);
  int status = 404;
  QByteArray tresc;
  {
    const std::lock_guard<std::mutex> blokada(m_zamek);
    m_zapytania << zapytanie;
    if (m_status != 200) {
      status = m_status;
    } else if (sciezka == "/appsvc/regtoken.asp") {
      status = 200;
      tresc = m_token;
    } else if (sciezka.startsWith("/obrazek.gif?")) {
      status = 200;
      tresc = m_obrazek;
    } else if (sciezka == "/appsvc/fmregister3.asp") {
      status = 200;
      tresc = m_rejestracja;
    }
  }
  p.Pisz("HTTP/1.0 " + QByteArray::number(status) + (status == 200 ? " OK" : " Blad") +
         "\r\nContent-Length: " + QByteArray::number(tresc.size()) + "\r\n\r\n" + tresc);
  p.Zamknij();
}

QByteArray ObrazekGif(int szerokosc, int wysokosc, const QList<QColor> &kolory,
                      const QList<int> &piksele)
{
  QByteArray b = "GIF89a";
  Dopisz16(b, szerokosc);
  Dopisz16(b, wysokosc);
  b += char(0x81); // global colour table of 4 entries
  b += char(0);
  b += char(0);
  for (int i = 0; i < 4; ++i) {
    const QColor k = kolory.value(i, Qt::black);
    b += char(k.red());
    b += char(k.green());
    b += char(k.blue());
  }
  b += char(0x2C);
  Dopisz16(b, 0);
  Dopisz16(b, 0);
  Dopisz16(b, szerokosc);
  Dopisz16(b, wysokosc);
  b += char(0);

  // LZW with 3-bit codes only: a clear code before every two pixels keeps the decoder's table
  // from growing to the point where codes widen.
  constexpr int Czysc = 4, Koniec = 5;
  QByteArray dane;
  quint32 akumulator = 0;
  int bity = 0;
  const auto kod = [&](int k) {
    akumulator |= quint32(k) << bity;
    bity += 3;
    while (bity >= 8) {
      dane += char(akumulator & 0xFF);
      akumulator >>= 8;
      bity -= 8;
    }
  };
  for (qsizetype i = 0; i < piksele.size(); ++i) {
    if (i % 2 == 0)
      kod(Czysc);
    kod(piksele[i]);
  }
  kod(Koniec);
  if (bity > 0)
    dane += char(akumulator & 0xFF);

  b += char(2); // minimum code size
  for (qsizetype i = 0; i < dane.size(); i += 255) {
    const QByteArray blok = dane.mid(i, 255);
    b += char(blok.size());
    b += blok;
  }
  b += char(0);
  b += char(0x3B);
  return b;
}
