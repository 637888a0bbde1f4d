#include "gg/Katalog.h"

#include "gg/Liczby.h"
#include "gg/Pakiety.h"
#include "gg/StronyKodowe.h"
#include "gg/WysylaniePakietow.h"
#include "net/Blad.h"

#include <QRandomGenerator>

namespace {

// Indexes of the reply keys: 0..5 the fields, below zero the special keys.
constexpr int KluczNumer = -1;
constexpr int KluczInny = -2;
constexpr int KluczNastepnyStart = -3;
constexpr int IndeksPlci = 4;

int IndeksKlucza(QByteArrayView klucz)
{
  static const QByteArrayView pola[TWynikiKatalogu::LiczbaPol] = {
      "firstname", "lastname", "nickname", "city", "gender", "birthyear"};
  if (klucz == QByteArrayView("FmNumber"))
    return KluczNumer;
  if (klucz == QByteArrayView("nextstart"))
    return KluczNastepnyStart;
  for (int i = 0; i < TWynikiKatalogu::LiczbaPol; ++i)
    if (klucz == pola[i])
      return i;
  return KluczInny;
}

// The text up to the next NUL (or the whole rest), taken off `reszta` with its NUL.
QByteArrayView Odetnij(QByteArrayView &reszta)
{
  const qsizetype nul = reszta.indexOf('\0');
  if (nul < 0) {
    const QByteArrayView calosc = reszta;
    reszta = {};
    return calosc;
  }
  const QByteArrayView tekst = reszta.first(nul);
  reszta = reszta.sliced(nul + 1);
  return tekst;
}

QByteArray Naglowek(char rodzaj, qint32 sekwencja)
{
  return QByteArray(1, rodzaj) + IntToLE(sekwencja);
}

} // namespace

QStringList PozycjePlciSzukania()
{
  return {QStringLiteral("Dowolna"), QStringLiteral("Kobieta"), QStringLiteral("Mężczyzna")};
}

QStringList PozycjePlciKonta()
{
  return {QStringLiteral("Nie podaję"), QStringLiteral("Mężczyzna"), QStringLiteral("Kobieta")};
}

void DodajPole(QByteArray &pary, QByteArrayView klucz, const QString &wartosc)
{
  pary += klucz;
  pary += '\0';
  pary += AnsiToCp1250(wartosc);
  pary += '\0';
}

void DodajKryterium(QByteArray &pary, QByteArrayView klucz, const QString &wartosc)
{
  if (!wartosc.isEmpty())
    DodajPole(pary, klucz, wartosc);
}

qint32 LosowaSekwencja()
{
  return QRandomGenerator::global()->bounded(0x7FFFFFFF);
}

QByteArray ZapytanieSzukania(const TKryteriaSzukania &k, qint32 sekwencja)
{
  QByteArray cialo = Naglowek(RodzajKatalogu::Szukanie, sekwencja);
  DodajKryterium(cialo, "fmstart", k.NastepnyStart);
  DodajKryterium(cialo, "FmNumber", k.Numer);
  DodajKryterium(cialo, "firstname", k.Imie);
  DodajKryterium(cialo, "lastname", k.Nazwisko);
  DodajKryterium(cialo, "nickname", k.Pseudonim);
  DodajKryterium(cialo, "city", k.Miejscowosc);
  DodajKryterium(cialo, "birthyear", k.Urodzony);
  if (k.Plec != 0)
    DodajPole(cialo, "gender", QString::number(k.Plec));
  if (k.TylkoAktywni)
    DodajPole(cialo, "ActiveOnly", QStringLiteral("1"));
  return cialo;
}

QByteArray ZapytanieOdczytu(int numerWlasny, qint32 sekwencja)
{
  QByteArray cialo = Naglowek(RodzajKatalogu::Odczyt, sekwencja);
  DodajPole(cialo, "FmNumber", QString::number(numerWlasny));
  return cialo;
}

QByteArray ZapytanieZapisu(const TDanePubliczne &d, int numerWlasny, bool zNumerem,
                           qint32 sekwencja)
{
  QByteArray cialo = Naglowek(RodzajKatalogu::Zapis, sekwencja);
  if (zNumerem)
    DodajPole(cialo, "FmNumber", QString::number(numerWlasny));
  DodajKryterium(cialo, "firstname", d.Imie);
  DodajKryterium(cialo, "lastname", d.Nazwisko);
  DodajKryterium(cialo, "nickname", d.Pseudonim);
  DodajKryterium(cialo, "city", d.Miejscowosc);
  DodajKryterium(cialo, "birthyear", d.Urodzony);
  if (d.Plec != 0)
    DodajPole(cialo, "gender", QString::number(d.Plec));
  return cialo;
}

int WyslijSzukanie(TNadawcaPakietow &nadawca, const TKryteriaSzukania &kryteria)
{
  return nadawca.WyslijPakiet(GGReqPubDir, ZapytanieSzukania(kryteria, LosowaSekwencja()));
}

int WyslijOdczytDanychPublicznych(TNadawcaPakietow &nadawca, int numerWlasny)
{
  return nadawca.WyslijPakiet(GGReqPubDir, ZapytanieOdczytu(numerWlasny, LosowaSekwencja()));
}

int WyslijZapisDanychPublicznych(TNadawcaPakietow &nadawca, const TDanePubliczne &dane,
                                 int numerWlasny, bool zNumerem)
{
  return nadawca.WyslijPakiet(GGReqPubDir,
                              ZapytanieZapisu(dane, numerWlasny, zNumerem, LosowaSekwencja()));
}

// --- TKatalog ---

TKatalog::TKatalog(QObject *rodzic) : QObject(rodzic) {}

void TKatalog::UstawSzukanie(bool szukanie)
{
  m_szukanie = szukanie;
  emit ZmianaSzukania(szukanie);
}

void TKatalog::Wyszukaj()
{
  m_wyniki.Wyczysc();
  UstawSzukanie(true);
  NastepnyStart.clear();
  emit Szukaj();
}

void TKatalog::ObsluzOdpowiedz(QByteArrayView cialo)
{
  UstawSzukanie(false);
  NastepnyStart.clear();
  if (cialo.size() < DlugoscNaglowkaOdpowiedzi)
    return;
  const char rodzaj = cialo.front();
  const bool wyniki = rodzaj == RodzajKatalogu::WynikiSzukania;
  QByteArrayView reszta = cialo.sliced(DlugoscNaglowkaOdpowiedzi);

  int biezacy = -1;
  bool duplikat = false;
  try {
    while (!reszta.isEmpty()) {
      // A NUL where a key would begin ends one result record.
      if (reszta.front() == '\0') {
        biezacy = -1;
        reszta = reszta.sliced(1);
      }
      const int indeks = IndeksKlucza(Odetnij(reszta));
      const QString wartosc = Cp1250ToAnsi(Odetnij(reszta));
      if (wyniki)
        PoleWyniku(indeks, wartosc, biezacy, duplikat);
      else
        PoleWlasne(indeks, wartosc);
    }
  } catch (...) {
    if (!wyniki)
      emit DanePubliczneOdebrane(m_danePubliczne);
    throw;
  }

  if (!wyniki) {
    emit DanePubliczneOdebrane(m_danePubliczne);
    return;
  }
  // The next page follows by itself until the directory has no more or repeats a number.
  if (!duplikat && !NastepnyStart.isEmpty() && NastepnyStart != u"0")
    emit Szukaj();
}

void TKatalog::PoleWyniku(int indeks, const QString &wartosc, int &biezacy, bool &duplikat)
{
  if (indeks == KluczNastepnyStart) {
    NastepnyStart = wartosc;
  } else if (indeks == KluczNumer) {
    if (m_wyniki.ZawieraNumer(wartosc)) {
      duplikat = true;
      if (biezacy >= 0) {
        m_wyniki.Usun(biezacy);
        biezacy = -1;
      }
    } else {
      duplikat = false;
      if (biezacy < 0)
        biezacy = m_wyniki.Dodaj();
      m_wyniki.UstawNumer(biezacy, wartosc);
    }
  } else if (indeks >= 0) {
    if (biezacy < 0)
      biezacy = m_wyniki.Dodaj();
    m_wyniki.UstawPole(biezacy, indeks, wartosc);
  }
}

void TKatalog::PoleWlasne(int indeks, const QString &wartosc)
{
  TDanePubliczne &d = m_danePubliczne;
  switch (indeks) {
  case 0:
    d.Imie = wartosc;
    break;
  case 1:
    d.Nazwisko = wartosc;
    break;
  case 2:
    d.Pseudonim = wartosc;
    break;
  case 3:
    d.Miejscowosc = wartosc;
    break;
  case IndeksPlci:
    d.Plec = StrToInt(wartosc);
    break;
  case 5:
    d.Urodzony = wartosc;
    break;
  default:
    break;
  }
}

// --- TWynikiKatalogu ---

const QStringList &TWynikiKatalogu::NaglowkiKolumn()
{
  static const QStringList naglowki = {QStringLiteral("Numer"),       QStringLiteral("Imię"),
                                       QStringLiteral("Nazwisko"),    QStringLiteral("Pseudonim"),
                                       QStringLiteral("Miejscowość"), QStringLiteral("Płeć"),
                                       QStringLiteral("Urodzony/a")};
  return naglowki;
}

TWynikiKatalogu::TWynikiKatalogu(QObject *rodzic) : QAbstractTableModel(rodzic) {}

void TWynikiKatalogu::Policz(const QString &numer, int zmiana)
{
  int &ile = m_numery[numer];
  ile += zmiana;
  if (ile <= 0)
    m_numery.remove(numer);
}

int TWynikiKatalogu::Dodaj()
{
  const int wiersz = Liczba();
  beginInsertRows(QModelIndex(), wiersz, wiersz);
  m_wiersze.emplace_back();
  Policz(QString(), 1);
  endInsertRows();
  return wiersz;
}

void TWynikiKatalogu::UstawNumer(int wiersz, const QString &numer)
{
  if (wiersz < 0 || wiersz >= Liczba())
    return;
  QString &stary = m_wiersze[size_t(wiersz)].numer;
  Policz(stary, -1);
  stary = numer;
  Policz(numer, 1);
  emit dataChanged(index(wiersz, 0), index(wiersz, 0));
}

void TWynikiKatalogu::UstawPole(int wiersz, int pole, const QString &wartosc)
{
  if (wiersz < 0 || wiersz >= Liczba() || pole < 0 || pole >= LiczbaPol)
    return;
  m_wiersze[size_t(wiersz)].pola[size_t(pole)] = wartosc;
  emit dataChanged(index(wiersz, pole + 1), index(wiersz, pole + 1));
}

void TWynikiKatalogu::Usun(int wiersz)
{
  if (wiersz < 0 || wiersz >= Liczba())
    return;
  beginRemoveRows(QModelIndex(), wiersz, wiersz);
  Policz(m_wiersze[size_t(wiersz)].numer, -1);
  m_wiersze.erase(m_wiersze.begin() + wiersz);
  endRemoveRows();
}

void TWynikiKatalogu::Wyczysc()
{
  beginResetModel();
  m_wiersze.clear();
  m_numery.clear();
  endResetModel();
}

int TWynikiKatalogu::rowCount(const QModelIndex &parent) const
{
  return parent.isValid() ? 0 : Liczba();
}

int TWynikiKatalogu::columnCount(const QModelIndex &parent) const
{
  return parent.isValid() ? 0 : LiczbaKolumn;
}

QVariant TWynikiKatalogu::data(const QModelIndex &indeks, int rola) const
{
  if (!indeks.isValid() || indeks.row() >= Liczba() || rola != Qt::DisplayRole)
    return {};
  const int kolumna = indeks.column();
  return kolumna == 0 ? Numer(indeks.row()) : Pole(indeks.row(), kolumna - 1);
}

QVariant TWynikiKatalogu::headerData(int sekcja, Qt::Orientation orientacja, int rola) const
{
  if (orientacja != Qt::Horizontal || rola != Qt::DisplayRole || sekcja < 0 ||
      sekcja >= LiczbaKolumn)
    return {};
  return NaglowkiKolumn()[sekcja];
}
