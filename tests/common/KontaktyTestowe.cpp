#include "common/KontaktyTestowe.h"

#include "gg/Liczby.h"
#include "net/Gniazdo.h"

#include <QTest>

char *toString(const TPakietGG &pakiet)
{
  const QByteArray tekst =
      "0x" + QByteArray::number(pakiet.typ, 16).toUpper().rightJustified(2, '0') + ": " +
      pakiet.cialo.left(64).toHex(' ') + (pakiet.cialo.size() > 64 ? " ..." : "");
  return qstrdup(tekst.constData());
}

int TNadawcaGniazda::WyslijPakiet(qint32 typ, const QByteArray &cialo)
{
  return ::WyslijPakiet(m_gniazdo, typ, cialo);
}

bool TNadawcaGniazda::PolaczenieOtwarte() const
{
  return m_gniazdo.State() == gsConnected;
}

TSluchajacySerwerGG::TSluchajacySerwerGG()
{
  m_serwer = std::make_unique<TSerwerTestowy>([this](TPolaczenieTestowe &p) {
    const QByteArray dane = p.CzytajDoZamkniecia(30000);
    const std::lock_guard<std::mutex> blokada(m_zamek);
    m_dane += dane;
  });
}

bool TSluchajacySerwerGG::Polacz(TGniazdo &gniazdo)
{
  gniazdo.SetAddr(QStringLiteral("127.0.0.1"));
  gniazdo.SetPort(m_serwer->PortTekst());
  const int przyjete = m_serwer->Przyjete();
  gniazdo.Connect();
  // Zakoncz counts on the server's script having started.
  return QTest::qWaitFor([&] { return gniazdo.State() == gsConnected; }, 5000) &&
         QTest::qWaitFor([&] { return m_serwer->Przyjete() > przyjete; }, 5000);
}

QList<TPakietGG> TSluchajacySerwerGG::Zakoncz(TGniazdo &gniazdo)
{
  (void)QTest::qWaitFor([&] { return gniazdo.BajtyDoWyslania() == 0; }, 5000);
  gniazdo.Close();
  (void)QTest::qWaitFor([&] { return m_serwer->Zakonczone() == m_serwer->Przyjete(); }, 5000);
  QByteArray dane;
  {
    const std::lock_guard<std::mutex> blokada(m_zamek);
    dane.swap(m_dane);
  }
  QList<TPakietGG> pakiety;
  qsizetype i = 0;
  while (i < dane.size()) {
    if (dane.size() - i < 8) {
      pakiety.append({-1, dane.sliced(i)});
      break;
    }
    const qint32 typ = LEToInt(dane, i);
    const qint32 dlugosc = LEToInt(dane, i + 4);
    if (dlugosc < 0 || dane.size() - i - 8 < dlugosc) {
      pakiety.append({-1, dane.sliced(i)});
      break;
    }
    pakiety.append({typ, dane.sliced(i + 8, dlugosc)});
    i += 8 + dlugosc;
  }
  return pakiety;
}
