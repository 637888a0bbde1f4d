#pragma once

#include <QAbstractTableModel>
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <vector>

class TGniazdo;

// The GG public directory: request and reply packets, the search results and the own entry.
// Widget-free; the search dialog TKatalogFrm and the account dialog show what this holds.

// Request kinds of GGReqPubDir; reply kind of search results in GGAnsPubDirReply.
namespace RodzajKatalogu {
constexpr char Zapis = 0x01;
constexpr char Odczyt = 0x02;
constexpr char Szukanie = 0x03;
constexpr char WynikiSzukania = 0x05;
} // namespace RodzajKatalogu

// The two dialogs number gender differently, each sends and shows its own numbering.
namespace PlecSzukania {
constexpr int Dowolna = 0;
constexpr int Kobieta = 1;
constexpr int Mezczyzna = 2;
} // namespace PlecSzukania
namespace PlecKonta {
constexpr int NiePodaje = 0;
constexpr int Mezczyzna = 1;
constexpr int Kobieta = 2;
} // namespace PlecKonta
// Item texts of the radio groups "Płeć", in index order.
QStringList PozycjePlciSzukania();
QStringList PozycjePlciKonta();

// What the search dialog holds when a search request is built.
struct TKryteriaSzukania {
  QString NastepnyStart;
  QString Numer;
  QString Imie;
  QString Nazwisko;
  QString Pseudonim;
  QString Miejscowosc;
  QString Urodzony;
  int Plec = PlecSzukania::Dowolna;
  bool TylkoAktywni = false;
};

// The public fields of the account dialog (the own directory entry); Plec in the account
// dialog's numbering.
struct TDanePubliczne {
  QString Imie;
  QString Nazwisko;
  QString Pseudonim;
  QString Miejscowosc;
  QString Urodzony;
  int Plec = PlecKonta::NiePodaje;
  bool operator==(const TDanePubliczne &) const = default;
};

// Appends key, NUL, value (code page 1250), NUL.
void DodajPole(QByteArray &pary, QByteArrayView klucz, const QString &wartosc);
// The same, only when the value is not empty.
void DodajKryterium(QByteArray &pary, QByteArrayView klucz, const QString &wartosc);

// A fresh request sequence number, 0 <= n < 0x7FFFFFFF.
qint32 LosowaSekwencja();

// Bodies of GGReqPubDir: the kind byte, the sequence number and the pairs in their fixed order.
QByteArray ZapytanieSzukania(const TKryteriaSzukania &kryteria, qint32 sekwencja);
QByteArray ZapytanieOdczytu(int numerWlasny, qint32 sekwencja);
// "FmNumber" (the own number before the dialog was confirmed) only when `zNumerem`: the dialog's
// number field was not empty.
QByteArray ZapytanieZapisu(const TDanePubliczne &dane, int numerWlasny, bool zNumerem,
                           qint32 sekwencja);

// The same, sent as GGReqPubDir with a fresh sequence number through WyslijPakiet; the result is
// WyslijPakiet's. Sent whether or not the connection is up.
int WyslijSzukanie(TGniazdo &gniazdo, const TKryteriaSzukania &kryteria);
int WyslijOdczytDanychPublicznych(TGniazdo &gniazdo, int numerWlasny);
int WyslijZapisDanychPublicznych(TGniazdo &gniazdo, const TDanePubliczne &dane, int numerWlasny,
                                 bool zNumerem);

// The result list: the item caption (the number) and six sub-items per row, shown as seven
// columns "Numer", "Imię", "Nazwisko", "Pseudonim", "Miejscowość", "Płeć", "Urodzony/a".
class TWynikiKatalogu : public QAbstractTableModel {
  Q_OBJECT
public:
  static constexpr int LiczbaPol = 6;
  static constexpr int LiczbaKolumn = LiczbaPol + 1;
  static const QStringList &NaglowkiKolumn();

  explicit TWynikiKatalogu(QObject *rodzic = nullptr);

  int Liczba() const { return int(m_wiersze.size()); }
  const QString &Numer(int wiersz) const { return m_wiersze[size_t(wiersz)].numer; }
  const QString &Pole(int wiersz, int pole) const
  {
    return m_wiersze[size_t(wiersz)].pola[size_t(pole)];
  }
  // Whether any item has this caption (whole-text match).
  bool ZawieraNumer(const QString &numer) const { return m_numery.contains(numer); }

  // A new item with an empty caption and six empty sub-items, at the end; returns its row.
  int Dodaj();
  void UstawNumer(int wiersz, const QString &numer);
  void UstawPole(int wiersz, int pole, const QString &wartosc);
  void Usun(int wiersz);
  void Wyczysc();

  int rowCount(const QModelIndex &parent = QModelIndex()) const override;
  int columnCount(const QModelIndex &parent = QModelIndex()) const override;
  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

private:
  struct TWiersz {
    QString numer;
    std::array<QString, LiczbaPol> pola;
  };
  void Policz(const QString &numer, int zmiana);

  std::vector<TWiersz> m_wiersze;
  QHash<QString, int> m_numery; // caption -> how many items have it
};

// The state behind the search dialog and the handling of every directory reply.
class TKatalog {
public:
  // Kind byte and sequence number.
  static constexpr qsizetype DlugoscNaglowkaOdpowiedzi = 5;

  TKatalog();
  TKatalog(const TKatalog &) = delete;
  TKatalog &operator=(const TKatalog &) = delete;

  TWynikiKatalogu &Wyniki() { return m_wyniki; }

  // A search request is outstanding (the dialog shows it by the list's colour).
  bool Szukanie() const { return m_szukanie; }
  void UstawSzukanie(bool szukanie);
  std::function<void(bool)> OnZmianaSzukania;

  // "nextstart" of the last result page; empty when there is none.
  QString NastepnyStart;

  // Raised to send a search request (by "&Wyszukaj" and by the automatic next page).
  std::function<void()> OnSzukaj;

  // What "&Wyszukaj" does: empties the list, enters searching, forgets the page, raises OnSzukaj.
  void Wyszukaj();

  // The own directory entry as the last reply of another kind than search results gave it;
  // OnDanePubliczne follows every such reply, also one cut short by a bad gender value.
  const TDanePubliczne &DanePubliczne() const { return m_danePubliczne; }
  void UstawDanePubliczne(const TDanePubliczne &dane) { m_danePubliczne = dane; }
  std::function<void(const TDanePubliczne &)> OnDanePubliczne;

  // The body of a GGAnsPubDirReply (at least DlugoscNaglowkaOdpowiedzi bytes). A gender value
  // of the own entry that is not a number throws EConvertError after the fields before it.
  void ObsluzOdpowiedz(QByteArrayView cialo);

private:
  void PoleWyniku(int indeks, const QString &wartosc, int &biezacy, bool &duplikat);
  void PoleWlasne(int indeks, const QString &wartosc);

  TWynikiKatalogu m_wyniki;
  bool m_szukanie = false;
  TDanePubliczne m_danePubliczne;
};
