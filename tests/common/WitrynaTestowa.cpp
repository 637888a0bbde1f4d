#include "common/WitrynaTestowa.h"

#include <QCoreApplication>
#include <QTest>

TWitrynaTestowa::TWitrynaTestowa()
    : m_wersja(Wersja(5, 0, 0, 67)),
      m_serwer(std::make_unique<TSerwerTestowy>([this](TPolaczenieTestowe &p) { Obsluz(p); }))
{
}

QString TWitrynaTestowa::Adres() const
{
  return QStringLiteral("http://127.0.0.1:%1/").arg(m_serwer->Port());
}

void TWitrynaTestowa::UstawWersje(const QByteArray &bajty)
{
  std::lock_guard blokada(m_mutex);
  m_wersja = bajty;
}

void TWitrynaTestowa::UstawStatusWersji(int status)
{
  std::lock_guard blokada(m_mutex);
  m_statusWersji = status;
}

void TWitrynaTestowa::UstawMilczenie(bool milczenie)
{
  std::lock_guard blokada(m_mutex);
  m_milczenie = milczenie;
}

QStringList TWitrynaTestowa::Zadania() const
{
  std::lock_guard blokada(m_mutex);
  return m_zadania;
}

bool TWitrynaTestowa::CzekajNaZadania(int ile, int limitMs) const
{
  return QTest::qWaitFor([&] { return Zadania().size() >= ile; }, limitMs);
}

QByteArray TWitrynaTestowa::Wersja(quint16 a, quint16 b, quint16 c, quint16 d)
{
  QByteArray wynik;
  for (quint16 czesc : {b, a, d, c}) {
    wynik += char(czesc & 0xFF);
    wynik += char(czesc >> 8);
  }
  return wynik;
}

void TWitrynaTestowa::Obsluz(TPolaczenieTestowe &polaczenie)
{
  const QByteArray zadanie = polaczenie.CzytajDo("\r\n\r\n");
  const QList<QByteArray> wiersz = zadanie.left(zadanie.indexOf("\r\n")).split(' ');
  const QString sciezka = wiersz.size() >= 2 ? QString::fromUtf8(wiersz[1]) : QString();

  int status = 404;
  QByteArray tresc = "<html>nie ma</html>";
  bool milczenie;
  {
    std::lock_guard blokada(m_mutex);
    m_zadania << sciezka;
    milczenie = m_milczenie;
    if (sciezka.endsWith(QStringLiteral(".wersja"))) {
      status = m_statusWersji;
      tresc = status == 200 ? m_wersja : QByteArray("<html>błąd</html>");
    } else if (sciezka.endsWith(QStringLiteral("/Art123"))) {
      status = 200;
      tresc = "<html>licznik</html>";
    }
  }
  if (milczenie) {
    polaczenie.CzekajNaZamkniecie(30000);
    return;
  }
  polaczenie.Pisz("HTTP/1.0 " + QByteArray::number(status) + (status == 200 ? " OK" : " Blad") +
                  "\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                  QByteArray::number(tresc.size()) + "\r\n\r\n" + tresc);
  polaczenie.Zamknij();
}
