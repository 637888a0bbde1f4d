#pragma once

#include "contacts/ListaTekstow.h"

#include <QSettings>
#include <QString>
#include <QStringList>

// The settings of section "Ustawienia" and the three number lists of the data folder. Created once
// by the main window at start-up and handed to whoever needs a setting; the registry object is the
// window's and must outlive this one.
//
// The constructor reads the values of the start-up's settings step in the order of the table
// ("OstatniAdresat" ... "Przylaczaj"). "Testowanie", "Logowanie" and the account are read later by
// the Czytaj... functions. Every setter stores the value first and then writes it through (on disk
// once the current event has been handled, see ZapisUstawien.h); a refused write throws ERejestr
// with the new value already held.
class TUstawienia {
public:
  TUstawienia(QSettings &rejestr, const QString &katalogDanych);

  QSettings &Rejestr() const { return m_rejestr; }
  const QString &KatalogDanych() const { return m_katalogDanych; }

  // Held in memory only; ZapiszPrzyZamykaniu() writes them.
  const QString &OstatniAdresat() const { return m_ostatniAdresat; }
  void UstawOstatniAdresat(const QString &adresat) { m_ostatniAdresat = adresat; }
  int NumerOstatniejInformacji() const { return m_numerOstatniejInformacji; }
  void UstawNumerOstatniejInformacji(int numer) { m_numerOstatniejInformacji = numer; }
  // "OstatniaInformacjaSystemowa" and "OstatniAdresat", on closing the window.
  void ZapiszPrzyZamykaniu();

  bool AutomatycznyZajetyWolny() const { return m_automatycznyZajetyWolny; }
  void UstawAutomatycznyZajetyWolny(bool wlaczony);
  bool InformowanieOPisaniu() const { return m_informowanieOPisaniu; }
  void UstawInformowanieOPisaniu(bool wlaczone);
  bool InformacjeGG() const { return m_informacjeGG; }
  void UstawInformacjeGG(bool wlaczone);
  bool SerwerAlternatywny() const { return m_serwerAlternatywny; }
  void UstawSerwerAlternatywny(bool wlaczony);
  // "BazaKontaktow": 0 Outlook, 1 registry, 2 server; any other stored number is kept as read.
  int RodzajBazy() const { return m_rodzajBazy; }
  void UstawBazaKontaktow(int rodzaj);
  bool TylkoOdPrzyjaciol() const { return m_tylkoOdPrzyjaciol; }
  void UstawTylkoOdPrzyjaciol(bool wlaczone);
  bool Przylaczaj() const { return m_przylaczaj; }
  void UstawPrzylaczaj(bool wlaczone);

  // Read from the file at each call (set by hand only).
  bool CzytajTestowanie() const;
  bool CzytajLogowanie() const;

  // The stored account. The number is converted strictly: a stored text that is not a number
  // throws EConvertError, so the caller shows the error box and skips starting the session.
  QString CzytajHasloUzytkownika() const;
  int CzytajNumerUzytkownika() const;
  void UstawHasloUzytkownika(const QString &haslo);
  void UstawNumerUzytkownika(int numer);

  // The three lists of the data folder, loaded by WczytajListy() at start-up (the blocked list
  // receives the built-in numbers at once) and held until ZwolnijListy().
  void WczytajListy();
  const TListaPosortowana &ListaBlokowanych() const { return m_listaBlokowanych; }
  const TListaPosortowana &WyslanoNa() const { return m_wyslanoNa; }
  const TListaPosortowana &ListaKickujacych() const { return m_listaKickujacych; }
  // Offers each list to ZapiszListe and empties them (window destruction).
  void ZwolnijListy();

  // A new list loaded from the data folder file of that name: sorted, duplicates of the file kept,
  // further additions of an entry already present ignored. A missing or unreadable file gives an
  // empty list.
  TListaPosortowana WczytajListe(const QString &nazwa) const;
  // The lists are never changed by the program, so nothing is written back.
  static void ZapiszListe(const QString &nazwa, const TListaPosortowana &lista);
  static const QStringList &WbudowaneBlokowane();

  // The notes file of a contact: "Przypisy/<numer>" in the data folder. Only the number becomes
  // part of the path.
  QString SciezkaPrzypisow(int numer) const;

private:
  void ZapiszPrzelacznik(const QString &nazwa, bool wartosc);

  QSettings &m_rejestr;
  QString m_katalogDanych;

  QString m_ostatniAdresat;
  int m_numerOstatniejInformacji = 0;
  bool m_automatycznyZajetyWolny = true;
  bool m_informowanieOPisaniu = false;
  bool m_informacjeGG = false;
  bool m_serwerAlternatywny = false;
  int m_rodzajBazy = 1;
  bool m_tylkoOdPrzyjaciol = true;
  bool m_przylaczaj = true;

  TListaPosortowana m_listaBlokowanych;
  TListaPosortowana m_wyslanoNa;
  TListaPosortowana m_listaKickujacych;
};
