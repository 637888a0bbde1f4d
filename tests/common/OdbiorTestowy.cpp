#include "common/OdbiorTestowy.h"

#include "common/Srodowisko.h"
#include "gg/Liczby.h"
#include "gg/Pakiety.h"

#include <QTest>

QStringList TDziennikTestowy::Teksty(const QString &kategoria) const
{
  QStringList wynik;
  for (const auto &[k, t] : Wpisy)
    if (k == kategoria)
      wynik << t;
  return wynik;
}

namespace {

QString PlikUstawien()
{
  static int licznik = 0;
  return KatalogTestowy() + QStringLiteral("/odbior-%1.conf").arg(++licznik);
}

} // namespace

TStanowiskoOdbioru::TStanowiskoOdbioru(bool tylkoOdPrzyjaciol)
    : Rejestr(PlikUstawien(), QSettings::IniFormat), Ustawienia(Rejestr, KatalogTestowy()),
      Odbior(Drzewo, Ustawienia, Okno, Dziennik.Funkcja())
{
  Ustawienia.UstawTylkoOdPrzyjaciol(tylkoOdPrzyjaciol);
}

TPolaczenieGG::TPolaczenieGG(TSerwerTestowy::TScenariusz scenariusz,
                             TOdbiorPakietow::TDyspozytor dyspozytor)
    : m_serwer(std::make_unique<TSerwerTestowy>(std::move(scenariusz))),
      m_gniazdo(std::make_unique<TGniazdo>()), m_dyspozytor(std::move(dyspozytor))
{
  m_odbior.UstawDyspozytor([this](qint32 typ, qint32 dlugosc, const QByteArray &cialo) {
    ++m_dostarczone;
    if (m_dyspozytor)
      m_dyspozytor(typ, dlugosc, cialo);
  });
  m_gniazdo->OnSessionConnected = [this](TGniazdo *, quint16 blad) {
    m_polaczone = blad == 0;
    m_odbior.Wyczysc();
  };
  m_gniazdo->OnDataAvailable = [this](TGniazdo *g, quint16) {
    char bufor[10000];
    const int ile = g->Receive(bufor, sizeof bufor);
    m_odbior.Odebrano(bufor, ile);
  };
  m_gniazdo->SetAddr(QStringLiteral("127.0.0.1"));
  m_gniazdo->SetPort(m_serwer->PortTekst());
  m_gniazdo->Connect();
}

TPolaczenieGG::~TPolaczenieGG()
{
  // The client goes first, so that the script's wait for the close ends at once.
  m_gniazdo.reset();
  m_serwer.reset();
}

bool TPolaczenieGG::CzekajNaPakiety(int ile, int limitMs)
{
  return QTest::qWaitFor([&] { return m_dostarczone >= ile; }, limitMs);
}

bool DostarczPrzezGniazdo(TOdbior &odbior, const QByteArray &strumien, int liczbaPakietow,
                          qsizetype kawalek)
{
  TPolaczenieGG polaczenie(
      [strumien, kawalek](TPolaczenieTestowe &p) {
        if (kawalek <= 0) {
          p.Pisz(strumien);
        } else {
          for (qsizetype i = 0; i < strumien.size(); i += kawalek) {
            p.Pisz(strumien.mid(i, kawalek));
            p.Spij(2);
          }
        }
        p.CzekajNaZamkniecie(20000);
      },
      [&odbior](qint32 typ, qint32 dlugosc, const QByteArray &cialo) {
        odbior.Obsluz(typ, dlugosc, cialo);
      });
  return polaczenie.CzekajNaPakiety(liczbaPakietow);
}

QByteArray CialoWiadomosci(qint32 nadawca, qint32 sekwencja, quint32 czas, qint32 klasa,
                           const QByteArray &tekst, const QByteArray &poTekscie)
{
  return IntToLE(nadawca) + IntToLE(sekwencja) + IntToLE(qint32(czas)) + IntToLE(klasa) + tekst +
         QByteArray(1, '\0') + poTekscie;
}

QByteArray CialoKonferencji(qint32 liczba, const QList<qint32> &numery)
{
  QByteArray wynik = QByteArray(1, '\x01') + IntToLE(liczba);
  for (qint32 n : numery)
    wynik += IntToLE(n);
  return wynik;
}

QByteArray CialoStatus(qint32 numer, qint32 status, const QByteArray &opis, quint32 czas)
{
  QByteArray wynik = IntToLE(numer) + IntToLE(status) + opis;
  if (czas != 0)
    wynik += QByteArray(1, '\0') + IntToLE(qint32(czas));
  return wynik;
}

QByteArray WpisStatus60(qint32 numer, quint8 status, quint8 flagi)
{
  QByteArray wynik = IntToLE(qint32(quint32(numer) | (quint32(flagi) << 24)));
  wynik += char(status);
  wynik += QByteArray(9, '\x5A'); // unused bytes, not zero on purpose
  return wynik;
}

QByteArray CialoPotwierdzenia(qint32 status, qint32 odbiorca, qint32 sekwencja)
{
  return IntToLE(status) + IntToLE(odbiorca) + IntToLE(sekwencja);
}
