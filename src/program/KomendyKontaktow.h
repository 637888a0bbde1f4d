#pragma once

#include <QString>

#include <functional>

class TBazaKontaktow;
class TBuforListy;
class TDrzewo;
class TFrmPaplankiDaneUzytkownika;
class TNadawcaPakietow;
class TUstawienia;
class TWezel;

// The contact commands of the tree's popup menu: adding, editing and stopping tracking of a
// contact, switching the store, and the list exchange with the server. The main window owns one
// and calls it from its menu items; everything it works on is the window's and is handed in here.
//
// A failure (a number that is not a number, a refused registry write, an unreachable address
// book) is thrown and ends the command; the caller's boundary shows the standard error box.
// The contact dialog is the program's single instance FrmPaplankiDaneUzytkownika.
class TKomendyKontaktow {
public:
  // The command target (WybranyWezel), read when a command runs.
  using TCelKomendy = std::function<TWezel *()>;
  // The window's message box (PokazKomunikat of the frame): text, caption suffix, style bits;
  // returns the Komunikat::Wynik* of the button pressed.
  using TPokazKomunikat =
      std::function<int(const QString &tekst, const QString &naglowek, int styl)>;

  TKomendyKontaktow(TDrzewo &drzewo, TUstawienia &ustawienia, TBazaKontaktow &baza,
                    TNadawcaPakietow &sesja, TBuforListy &buforListy, TCelKomendy wybranyWezel,
                    TPokazKomunikat pokazKomunikat);

  // Start-up: the store of RodzajBazy fills the tree. When it cannot be read the store of that
  // kind stays without contacts and the failure is thrown.
  void WczytajBaze();

  // "Śledź": a new contact from the dialog (presets "imię", "nazwisko", ... and number "0").
  void DodajSledzonego1Click();
  // "Edytuj": the target contact's data through the dialog.
  void EdytujSledzonego1Click();
  // "Anuluj śledzenie": the target contact's registry key (whatever the store), the server's
  // watch and the node with its conversation.
  void AnulujSledzonego1Click();

  // "Outlook", "Rejestr", "Serwer": `rodzaj` is the item's tag (0, 1, 2).
  void PrzelaczBazaClick(int rodzaj);
  // "Zapisz": the tree's contacts to the server's list.
  void ZapiszUzytkownikowClick();
  // "Pobierz": asks the server for its list; the reply goes to the dispatcher's list buffer.
  void PobierzUzytkownikowClick();

  // The question of the store switch for a target kind.
  static QString PytanieOPrzelaczenie(int rodzaj);

private:
  void DodajDoDrzewa(int Numer, const QString &Imie, const QString &Nazwisko, const QString &EMail,
                     const QString &Telefon, const QString &Opis, int Sledzony);
  TFrmPaplankiDaneUzytkownika &Dialog() const;

  TDrzewo &m_drzewo;
  TUstawienia &m_ustawienia;
  TBazaKontaktow &m_baza;
  TNadawcaPakietow &m_sesja;
  TBuforListy &m_buforListy;
  TCelKomendy m_wybranyWezel;
  TPokazKomunikat m_pokazKomunikat;
};
