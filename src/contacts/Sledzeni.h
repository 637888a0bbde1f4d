#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// Receives each stored contact while a store is being created: DodajUzytkownika of the main
// window's tree (Numer, Imie, Nazwisko, EMail, Telefon, Opis, Sledzony).
using TDodajUzytkownikaFn = std::function<void(
    int Numer, const QString &Imie, const QString &Nazwisko, const QString &EMail,
    const QString &Telefon, const QString &Opis, int Sledzony)>;

// A store of the tracked contacts. A store fills the tree once, while it is created; afterwards
// the tree is the working list and the store is only told about additions and edits.
class TSledzeni {
public:
  virtual ~TSledzeni();
  // Right after a successful login, before the notify list goes out. Nothing in every store.
  virtual void PoZalogowaniu();
  // A contact was added by hand.
  virtual void Dodaj(int Numer, const QString &Imie, const QString &Nazwisko, const QString &EMail,
                     const QString &Telefon, const QString &Opis) = 0;
  // A contact was edited; staryNumer is the number it had before.
  virtual void Zapisz(int staryNumer, int Numer, const QString &Imie, const QString &Nazwisko,
                      const QString &EMail, const QString &Telefon, const QString &Opis) = 0;
};

// The contacts in group "Sledzeni" of the program's registry object, one subgroup per contact
// named by its number. Registry writes that fail throw ERejestr.
class TSledzeniRejestr : public TSledzeni {
public:
  // With `wczytaj` every stored contact goes to `dodaj`, in the registry's order. A subgroup whose
  // name is not a number is skipped (listed by Pominiete()) and loading goes on.
  TSledzeniRejestr(QSettings &rejestr, bool wczytaj, const TDodajUzytkownikaFn &dodaj);

  void Dodaj(int Numer, const QString &Imie, const QString &Nazwisko, const QString &EMail,
             const QString &Telefon, const QString &Opis) override;
  // Moves the old number's key to the new number when the new one does not exist yet, then
  // writes the five texts under the new number ("Sledzony" is never written).
  void Zapisz(int staryNumer, int Numer, const QString &Imie, const QString &Nazwisko,
              const QString &EMail, const QString &Telefon, const QString &Opis) override;

  const QStringList &Pominiete() const { return m_pominiete; }

private:
  QSettings &m_rejestr;
  QStringList m_pominiete;
};

// The Outlook store over the address book of the data folder (TOutlookApplication). Every card
// holding "GG-Numery" gives one contact per number, each with Sledzony 3. Never writes.
class TSledzeniOutlook : public TSledzeni {
public:
  // With `wczytaj` the address book is read; a missing or unreadable one throws
  // EKsiazkaAdresowa (contacts already handed to `dodaj` stay). A broken card, or a number piece
  // that is not a number, ends only that card.
  TSledzeniOutlook(const QString &ksiazkaAdresowa, bool wczytaj, const TDodajUzytkownikaFn &dodaj);

  void Dodaj(int Numer, const QString &Imie, const QString &Nazwisko, const QString &EMail,
             const QString &Telefon, const QString &Opis) override;
  void Zapisz(int staryNumer, int Numer, const QString &Imie, const QString &Nazwisko,
              const QString &EMail, const QString &Telefon, const QString &Opis) override;
};

// The server store: the server's list is reached only through the export and import commands.
class TSledzeniSerwer : public TSledzeni {
public:
  TSledzeniSerwer(bool wczytaj, const TDodajUzytkownikaFn &dodaj);

  void Dodaj(int Numer, const QString &Imie, const QString &Nazwisko, const QString &EMail,
             const QString &Telefon, const QString &Opis) override;
  void Zapisz(int staryNumer, int Numer, const QString &Imie, const QString &Nazwisko,
              const QString &EMail, const QString &Telefon, const QString &Opis) override;
};

// Kinds of store, as "BazaKontaktow" and the popup's store items number them.
namespace RodzajeBazy {
constexpr int Outlook = 0;
constexpr int Rejestr = 1;
constexpr int Serwer = 2;
} // namespace RodzajeBazy

// The address book file of a data folder ("Kontakty.vcf").
QString SciezkaKsiazkiAdresowej(const QString &katalogDanych);

// The store for a "BazaKontaktow" value: 0 Outlook (the address book of `katalogDanych`),
// 2 server, 1 and any other value the registry store. Loading failures are thrown.
std::unique_ptr<TSledzeni> UtworzBaze(int rodzaj, QSettings &rejestr, const QString &katalogDanych,
                                      bool wczytaj, const TDodajUzytkownikaFn &dodaj);
