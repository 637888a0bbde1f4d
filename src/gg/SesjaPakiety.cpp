#include "gg/SesjaPakiety.h"

#include "app/DataCzas.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "contacts/ListaTekstow.h"
#include "gg/CzasUnix.h"
#include "gg/Liczby.h"
#include "gg/Pakiety.h"
#include "gg/StronyKodowe.h"

#include <algorithm>
#include <vector>

namespace {

void DopiszLE(QByteArray &cel, quint32 wartosc)
{
  const char bajty[4] = {char(wartosc & 0xFF), char((wartosc >> 8) & 0xFF),
                         char((wartosc >> 16) & 0xFF), char((wartosc >> 24) & 0xFF)};
  cel.append(bajty, 4);
}

// A line of the blocked list as a number; blank lines and text that is not a number are not
// entries (sending them as 0 would block nobody and confuse the count).
bool NumerZListy(const QString &tekst, int &numer)
{
  bool ok = false;
  numer = tekst.trimmed().toInt(&ok, 10);
  return ok;
}

} // namespace

QString NazwaKoduStanu(quint32 kod)
{
  const TOpisStanu *opis = OpisStanu(kod & ~StanGG::TylkoDlaPrzyjaciol);
  return opis ? QString::fromUtf16(opis->nazwa) : QStringLiteral("Nieznany");
}

quint32 StanZOpisem(quint32 status, const QString &opis, const QDateTime &czasPowrotu)
{
  if (opis.isEmpty() && czasPowrotu.isNull())
    return status;
  // A friends-only status keeps its bit and still gets its description variant.
  const quint32 przyjaciele = status & StanGG::TylkoDlaPrzyjaciol;
  const quint32 bezFlagi = status & ~StanGG::TylkoDlaPrzyjaciol;
  const TOpisStanu *wiersz = OpisStanu(bezFlagi);
  if (!wiersz || wiersz->kod != bezFlagi || wiersz->zOpisem == 0)
    return status;
  return wiersz->zOpisem | przyjaciele;
}

QByteArray CialoNowegoStanu(quint32 kod, const QString &opis, const QDateTime &czasPowrotu)
{
  QByteArray cialo;
  DopiszLE(cialo, kod);
  // The network reads descriptions as code page 1250.
  cialo += AnsiToCp1250(opis);
  if (!czasPowrotu.isNull()) {
    cialo += '\0';
    DopiszLE(cialo, LocalToUnix(czasPowrotu));
  }
  return cialo;
}

QByteArray RekordLogowania(qint32 numer, quint32 ziarno, const QString &haslo, quint32 status)
{
  QByteArray rekord;
  rekord.reserve(31);
  DopiszLE(rekord, quint32(numer));
  DopiszLE(rekord, LoginHash(ziarno, AnsiToCp1250(haslo)));
  DopiszLE(rekord, status);
  DopiszLE(rekord, 0x20);                    // version
  rekord += '\0';                            // reserved
  rekord += QByteArray(4 + 2 + 4 + 2, '\0'); // local and external address and port
  rekord += '\xFF';                          // image size
  rekord += '\xBE';
  return rekord;
}

void ZbudujListeKontaktow(const TDrzewo &drzewo, const TListaPosortowana &blokowani,
                          const TWyslijPakiet &wyslij)
{
  QByteArray cialo;
  cialo.reserve(5 * (WpisowWPakiecieListy + blokowani.Liczba()));
  int licznik = 0;
  std::vector<int> numeryBlokowane;
  numeryBlokowane.reserve(size_t(blokowani.Liczba()));
  for (qsizetype i = 0; i < blokowani.Liczba(); ++i) {
    int numer = 0;
    if (!NumerZListy(blokowani[i], numer))
      continue;
    DopiszLE(cialo, quint32(numer));
    cialo += char(4);
    ++licznik;
    numeryBlokowane.push_back(numer);
  }
  std::sort(numeryBlokowane.begin(), numeryBlokowane.end());

  const int glownych = drzewo.LiczbaGlownych();
  for (int i = 0; i < glownych; ++i) {
    const TRodzajGalezi *dane = drzewo.Glowny(i)->Dane();
    if (!dane || dane->Rodzaj() != TRodzajWezla::Uzytkownik)
      continue;
    const auto *uzytkownik = static_cast<const TUzytkownik *>(dane);
    const int numer = uzytkownik->Numer();
    // Compared as numbers: a blocked "0123" is the contact 123, which must go out once.
    if (std::binary_search(numeryBlokowane.begin(), numeryBlokowane.end(), numer))
      continue;
    if (++licznik > WpisowWPakiecieListy) {
      wyslij(GGReqNotifyFirst, cialo);
      licznik = 1;
      cialo.clear();
    }
    DopiszLE(cialo, quint32(numer));
    cialo += char(uzytkownik->Sledzony & 0xFF);
  }
  if (cialo.isEmpty())
    wyslij(GGReqListEmpty, QByteArray());
  else
    wyslij(GGReqNotifyLast, cialo);
}

bool CzekaNaPonowienie(const TWypowiedz &wypowiedz)
{
  const int status = wypowiedz.DaneDodatkowe().StatusPotwierdzenia;
  return status < 1 || status > 3;
}

QByteArray CialoPonowienia(const TWypowiedz &wypowiedz)
{
  const TDaneDodatkowe &dane = wypowiedz.DaneDodatkowe();
  QByteArray cialo;
  DopiszLE(cialo, quint32(dane.NumerNadawcy));
  DopiszLE(cialo, quint32(dane.NumerSekwencyjny));
  DopiszLE(cialo, 8);
  const QString naglowek = QStringLiteral("[Przygotowano ") + DataCzasNaTekst(dane.CzasUtworzenia) +
                           QStringLiteral("] ");
  if (MiesciSieW1250(wypowiedz.Tekst())) {
    cialo += AnsiToCp1250(naglowek + wypowiedz.Tekst());
    cialo += ZnacznikTekstu;
  } else {
    // Characters 1250 cannot hold would be lost: the text goes as UTF-8 after the marker.
    cialo += AnsiToCp1250(naglowek);
    cialo += ZnacznikTekstu;
    cialo += AnsiToUtf8(wypowiedz.Tekst());
  }
  cialo += '\0';
  return cialo;
}
