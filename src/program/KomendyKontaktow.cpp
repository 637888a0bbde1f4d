#include "program/KomendyKontaktow.h"

#include "net/Blad.h"
#include "app/Komunikaty.h"
#include "contacts/BazaKontaktow.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "gg/ListaKontaktow.h"
#include "contacts/Rejestr.h"
#include "contacts/Ustawienia.h"
#include "contacts/ui/FrmPaplankiDaneUzytkownika.h"

#include <QLineEdit>

TKomendyKontaktow::TKomendyKontaktow(TDrzewo &drzewo, TUstawienia &ustawienia,
                                     TBazaKontaktow &baza, TGniazdo &ggSck, TBuforListy &buforListy,
                                     TCelKomendy wybranyWezel, TPokazKomunikat pokazKomunikat)
    : m_drzewo(drzewo), m_ustawienia(ustawienia), m_baza(baza), m_ggSck(ggSck),
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
                       const QString &t, const QString &o, int s) {
                  DodajDoDrzewa(n, i, na, e, t, o, s);
                });
}

void TKomendyKontaktow::DodajSledzonego1Click()
{
  TFrmPaplankiDaneUzytkownika &d = Dialog();
  d.ImieEd->setText(QStringLiteral("imię"));
  d.NazwiskoEd->setText(QStringLiteral("nazwisko"));
  d.TelefonEd->setText(QStringLiteral("telefon"));
  d.EmailEd->setText(QStringLiteral("email"));
  d.NumerEd->setText(QStringLiteral("0"));
  d.OpisEd->setText(QStringLiteral("opis"));
  if (d.exec() != QDialog::Accepted)
    return;
  const int numer = StrToInt(d.NumerEd->text());
  m_baza.Baza().Dodaj(numer, d.ImieEd->text(), d.NazwiskoEd->text(), d.EmailEd->text(),
                      d.TelefonEd->text(), d.OpisEd->text());
  m_drzewo.DodajUzytkownika(numer, d.ImieEd->text(), d.NazwiskoEd->text(), d.EmailEd->text(),
                            d.TelefonEd->text(), d.OpisEd->text(), 1);
  DodajPowiadomienie(m_ggSck, numer, TypPowiadomienia::Sledzony);
}

void TKomendyKontaktow::EdytujSledzonego1Click()
{
  TWezel *cel = m_wybranyWezel ? m_wybranyWezel() : nullptr;
  const TUzytkownik *przed = cel ? cel->DaneJako<TUzytkownik>() : nullptr;
  if (!przed)
    return;
  TFrmPaplankiDaneUzytkownika &d = Dialog();
  d.ImieEd->setText(przed->Imie);
  d.NazwiskoEd->setText(przed->Nazwisko);
  d.TelefonEd->setText(przed->Telefon);
  d.EmailEd->setText(przed->EMail);
  d.NumerEd->setText(QString::number(przed->Numer()));
  d.OpisEd->setText(przed->Opis);
  const TWskaznikWezla wezel = cel;
  if (d.exec() != QDialog::Accepted)
    return;
  // Socket events ran while the dialog was open: take the contact as it is now, and nothing
  // when its node has gone.
  TUzytkownik *u = wezel ? wezel->DaneJako<TUzytkownik>() : nullptr;
  if (!u)
    return;
  const int nowy = StrToInt(d.NumerEd->text());
  const int stary = u->Numer();
  m_baza.Baza().Zapisz(stary, nowy, d.ImieEd->text(), d.NazwiskoEd->text(), d.EmailEd->text(),
                       d.TelefonEd->text(), d.OpisEd->text());
  UsunPowiadomienie(m_ggSck, stary, TypPowiadomienia::Sledzony);
  DodajPowiadomienie(m_ggSck, nowy, TypPowiadomienia::Sledzony);
  u->UstawNumer(nowy);
  u->Imie = d.ImieEd->text();
  u->Nazwisko = d.NazwiskoEd->text();
  u->EMail = d.EmailEd->text();
  u->Telefon = d.TelefonEd->text();
  u->UstawOpis(d.OpisEd->text());
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
  UsunPowiadomienie(m_ggSck, numer, TypPowiadomienia::Usuniety);
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
                         const QString &t, const QString &o, int s) {
                    DodajDoDrzewa(n, i, na, e, t, o, s);
                  });
  } catch (...) {
    // The kind's store is in place without its contacts: the setting follows it.
    m_ustawienia.UstawBazaKontaktow(rodzaj);
    throw;
  }
  m_ustawienia.UstawBazaKontaktow(rodzaj);
}

void TKomendyKontaktow::ZapiszUzytkownikowClick()
{
  WyslijListe(m_ggSck, m_drzewo, m_buforListy);
}

void TKomendyKontaktow::PobierzUzytkownikowClick()
{
  PoprosOListe(m_ggSck, m_buforListy);
}
