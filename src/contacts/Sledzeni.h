#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// Receives each stored contact while a store is being created: DodajUzytkownika of the main
// window's tree (Numer, Imie, Nazwisko, EMail, Telefon, Opis, Sledzony).
using TDodajUzytkownikaFn =
    std::function<void(int Numer, const QString &Imie, const QString &Nazwisko,
                       const QString &EMail, const QString &Telefon, const QString &Opis,
                       int Sledzony)>;

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

// The store for a "BazaKontaktow" value. Only the registry store exists so far, so every value
// (0, 1, 2 and any other) gives it; the Outlook and server stores will take 0 and 2. A value
// outside 0..2 keeps the registry store as its fallback.
std::unique_ptr<TSledzeni> UtworzBaze(int rodzaj, QSettings &rejestr, bool wczytaj,
                                      const TDodajUzytkownikaFn &dodaj);
