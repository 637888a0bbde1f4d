#include "program/KomendyKontaktow.h"

#include "app/Komunikaty.h"
#include "contacts/BazaKontaktow.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "contacts/Rejestr.h"
#include "contacts/Ustawienia.h"
#include "contacts/ui/FrmPaplankiDaneUzytkownika.h"
#include "gg/ListaKontaktow.h"
#include "net/Blad.h"

TKomendyKontaktow::TKomendyKontaktow(TDrzewo &drzewo, TUstawienia &ustawienia, TBazaKontaktow &baza,
                                     TNadawcaPakietow &sesja, TBuforListy &buforListy,
                                     TCelKomendy wybranyWezel, TPokazKomunikat pokazKomunikat)
    : m_drzewo(drzewo), m_ustawienia(ustawienia), m_baza(baza), m_sesja(sesja),
      m_buforListy(buforListy), m_wybranyWezel(std::move(wybranyWezel)),
      m_pokazKomunikat(std::move(pokazKomunikat))
{
}

void TKomendyKontaktow::DodajDoDrzewa(int Numer, const QString &Imie, const QString &Nazwisko,
                                      const QString &EMail, const QString &Telefon,
                                      const QString &Opis, int Sledzony)
{
  m_drzewo.DodajUzytkownika(Numer, Imie, Nazwisko, EMail, Telefon, Opis, Sledzony);
}

TFrmPaplankiDaneUzytkownika &TKomendyKontaktow::Dialog() const
{
  if (!FrmPaplankiDaneUzytkownika)
    throw EBlad(QStringLiteral("Okno danych użytkownika nie zostało utworzone"));
  return *FrmPaplankiDaneUzytkownika;
}

void TKomendyKontaktow::WczytajBaze()
{
  m_baza.Utworz(m_ustawienia.RodzajBazy(), true,
                [this](int n, const QString &i, const QString &na, const QString &e,
                       const QString &t, const QString &o,
                       int s) { DodajDoDrzewa(n, i, na, e, t, o, s); });
}

void TKomendyKontaktow::DodajSledzonego1Click()
{
  TFrmPaplankiDaneUzytkownika &d = Dialog();
  d.UstawPola({QStringLiteral("0"), QStringLiteral("imię"), QStringLiteral("nazwisko"),
               QStringLiteral("telefon"), QStringLiteral("email"), QStringLiteral("opis")});
  if (d.exec() != QDialog::Accepted)
    return;
  const TFrmPaplankiDaneUzytkownika::TPola p = d.Pola();
  const int numer = StrToInt(p.Numer);
  m_baza.Baza().Dodaj(numer, p.Imie, p.Nazwisko, p.EMail, p.Telefon, p.Opis);
  m_drzewo.DodajUzytkownika(numer, p.Imie, p.Nazwisko, p.EMail, p.Telefon, p.Opis, 1);
  DodajPowiadomienie(m_sesja, numer, TypPowiadomienia::Sledzony);
}

void TKomendyKontaktow::EdytujSledzonego1Click()
{
  TWezel *cel = m_wybranyWezel ? m_wybranyWezel() : nullptr;
  const TUzytkownik *przed = cel ? cel->DaneJako<TUzytkownik>() : nullptr;
  if (!przed)
    return;
  TFrmPaplankiDaneUzytkownika &d = Dialog();
  d.UstawPola({QString::number(przed->Numer()), przed->Imie, przed->Nazwisko, przed->Telefon,
               przed->EMail, przed->Opis});
  const TWskaznikWezla wezel = cel;
  if (d.exec() != QDialog::Accepted)
    return;
  // Socket events ran while the dialog was open: take the contact as it is now, and nothing
  // when its node has gone.
  TUzytkownik *u = wezel ? wezel->DaneJako<TUzytkownik>() : nullptr;
  if (!u)
    return;
  const TFrmPaplankiDaneUzytkownika::TPola p = d.Pola();
  const int nowy = StrToInt(p.Numer);
  const int stary = u->Numer();
  m_baza.Baza().Zapisz(stary, nowy, p.Imie, p.Nazwisko, p.EMail, p.Telefon, p.Opis);
  UsunPowiadomienie(m_sesja, stary, TypPowiadomienia::Sledzony);
  DodajPowiadomienie(m_sesja, nowy, TypPowiadomienia::Sledzony);
  u->UstawNumer(nowy);
  u->Imie = p.Imie;
  u->Nazwisko = p.Nazwisko;
  u->EMail = p.EMail;
  u->Telefon = p.Telefon;
  u->UstawOpis(p.Opis);
}

void TKomendyKontaktow::AnulujSledzonego1Click()
{
  TWezel *wezel = m_wybranyWezel ? m_wybranyWezel() : nullptr;
  const TUzytkownik *u = wezel ? wezel->DaneJako<TUzytkownik>() : nullptr;
  if (!u)
    return;
  const int numer = u->Numer();
  // The registry key goes whatever the active store is.
  QSettings &rejestr = m_ustawienia.Rejestr();
  const QString klucz = QStringLiteral("Sledzeni/") + QString::number(numer);
  if (IstniejeSekcja(rejestr, klucz))
    UsunSekcje(rejestr, klucz);
  UsunPowiadomienie(m_sesja, numer, TypPowiadomienia::Usuniety);
  m_drzewo.Usun(wezel);
}

QString TKomendyKontaktow::PytanieOPrzelaczenie(int rodzaj)
{
  QString nazwa;
  switch (rodzaj) {
  case RodzajeBazy::Outlook:
    nazwa = QStringLiteral("baza w Outlooku/Exchange");
    break;
  case RodzajeBazy::Rejestr:
    nazwa = QStringLiteral("baza w rejestrze");
    break;
  case RodzajeBazy::Serwer:
    nazwa = QStringLiteral("baza na serwerze");
    break;
  default:
    nazwa = QStringLiteral("<nieznana>");
    break;
  }
  return QStringLiteral("Czy pobrać śledzonych z \"%1\" ?").arg(nazwa) +
         QStringLiteral("\r\r"
                        "TAK nastąpi pobranie i przełączenie na nową bazę\r"
                        "NIE nastąpi przełączenie na nową bazę z nowymi śledzonymi\r"
                        "ANULUJ wycofanie się z tej akcji");
}

void TKomendyKontaktow::PrzelaczBazaClick(int rodzaj)
{
  const int wynik = m_pokazKomunikat(PytanieOPrzelaczenie(rodzaj), QStringLiteral("Zapytanie"),
                                     Komunikat::PrzyciskiTakNieAnuluj);
  if (wynik != Komunikat::WynikTak && wynik != Komunikat::WynikNie)
    return;
  const bool wczytaj = wynik == Komunikat::WynikTak;
  if (wczytaj)
    m_drzewo.Wyczysc();
  try {
    m_baza.Utworz(rodzaj, wczytaj,
                  [this](int n, const QString &i, const QString &na, const QString &e,
                         const QString &t, const QString &o,
                         int s) { DodajDoDrzewa(n, i, na, e, t, o, s); });
  } catch (...) {
    // The kind's store is in place without its contacts: the setting follows it.
    m_ustawienia.UstawBazaKontaktow(rodzaj);
    throw;
  }
  m_ustawienia.UstawBazaKontaktow(rodzaj);
}

void TKomendyKontaktow::ZapiszUzytkownikowClick()
{
  WyslijListe(m_sesja, m_drzewo, m_buforListy);
}

void TKomendyKontaktow::PobierzUzytkownikowClick()
{
  PoprosOListe(m_sesja, m_buforListy);
}
