// The contact list coming from the server's storage.

#include "contacts/Drzewo.h"
#include "contacts/Sledzeni.h"
#include "gg/Odbior.h"
#include "gg/StronyKodowe.h"
#include "net/Blad.h"

namespace {

constexpr char PodtypOdpowiedziZapisu = 0x00;
constexpr char PodtypOdpowiedziZapisuDalszej = 0x02;
constexpr char PodtypCzesci = 0x04;
constexpr char PodtypOstatniejCzesci = 0x06;

} // namespace

void TOdbior::ListaKontaktow(qint32 dlugosc, const QByteArray &cialo)
{
  const char podtyp = cialo.front();
  switch (podtyp) {
  case PodtypOdpowiedziZapisu:
  case PodtypOdpowiedziZapisuDalszej:
    break;
  case PodtypCzesci:
  case PodtypOstatniejCzesci:
    m_buforListy.Dopisz(Cp1250ToAnsi(QByteArrayView(cialo).sliced(1)));
    if (podtyp == PodtypOstatniejCzesci)
      ZaladujListe();
    break;
  default: {
    const QString opis = QStringLiteral("Nieznany typ w GGAnsUserList %1 %2 %3")
                             .arg(QString::number(quint8(podtyp), 16).toUpper(),
                                  QString::number(dlugosc), OpisCiala(cialo));
    if (!PokazRaport(opis) && m_loguj)
      m_loguj(KategoriaBledne, opis);
    break;
  }
  }
}

void TOdbior::ZaladujListe()
{
  // Each line: first name; last name; label; label; telephone; ; number; e-mail; ...
  const QStringList linie = m_buforListy.Tekst().split(QStringLiteral("\r\n"));
  for (const QString &linia : linie) {
    const QStringList pola = linia.split(u';');
    if (pola.size() <= 6)
      continue;
    const int numer = StrToInt(pola[6]);
    if (m_drzewo.ZnajdzUzytkownika(numer))
      continue;
    const QString email = pola.size() > 7 ? pola[7] : QString();
    m_drzewo.DodajUzytkownika(numer, pola[0], pola[1], email, pola[4], pola[3], 1);
    if (TSledzeni *baza = m_baza ? m_baza() : nullptr)
      baza->Dodaj(numer, pola[0], pola[1], email, pola[4], pola[3]);
  }
  PokazInformacjeOLiscie();
}
