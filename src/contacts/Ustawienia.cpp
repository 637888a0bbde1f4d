#include "contacts/Ustawienia.h"

#include "contacts/Rejestr.h"
#include "net/Blad.h"

#include <QFile>
#include <QStringDecoder>

namespace {

const QString &Sekcja()
{
  static const QString s = QStringLiteral("Ustawienia");
  return s;
}

// Line breaks as the classic text lists take them: CR LF, LF or CR; a final break adds no line.
QStringList PodzielNaWiersze(const QString &tekst)
{
  QStringList wiersze;
  qsizetype poczatek = 0;
  for (qsizetype i = 0; i < tekst.size(); ++i) {
    const QChar c = tekst[i];
    if (c != u'\r' && c != u'\n')
      continue;
    wiersze.append(tekst.mid(poczatek, i - poczatek));
    if (c == u'\r' && i + 1 < tekst.size() && tekst[i + 1] == u'\n')
      ++i;
    poczatek = i + 1;
  }
  if (poczatek < tekst.size())
    wiersze.append(tekst.mid(poczatek));
  return wiersze;
}

} // namespace

TUstawienia::TUstawienia(QSettings &rejestr, const QString &katalogDanych)
    : m_rejestr(rejestr), m_katalogDanych(katalogDanych)
{
  const QString &s = Sekcja();
  m_ostatniAdresat = CzytajTekst(m_rejestr, s, QStringLiteral("OstatniAdresat"), QString());
  m_numerOstatniejInformacji =
      CzytajLiczbe(m_rejestr, s, QStringLiteral("OstatniaInformacjaSystemowa"), 0);
  m_automatycznyZajetyWolny =
      CzytajLogiczna(m_rejestr, s, QStringLiteral("AutomatycznyZajetyWolny"), true);
  m_informowanieOPisaniu =
      CzytajLogiczna(m_rejestr, s, QStringLiteral("InformowanieOPisaniu"), false);
  m_informacjeGG = CzytajLogiczna(m_rejestr, s, QStringLiteral("InformacjeGG"), false);
  m_serwerAlternatywny = CzytajLogiczna(m_rejestr, s, QStringLiteral("SerwerAlternatywny"), false);
  m_rodzajBazy = CzytajLiczbe(m_rejestr, s, QStringLiteral("BazaKontaktow"), 1);
  m_tylkoOdPrzyjaciol = CzytajLogiczna(m_rejestr, s, QStringLiteral("TylkoOdPrzyjaciol"), true);
  m_przylaczaj = CzytajLogiczna(m_rejestr, s, QStringLiteral("Przylaczaj"), true);
}

void TUstawienia::ZapiszPrzyZamykaniu()
{
  ZapiszLiczbe(m_rejestr, Sekcja(), QStringLiteral("OstatniaInformacjaSystemowa"),
               m_numerOstatniejInformacji);
  ZapiszTekst(m_rejestr, Sekcja(), QStringLiteral("OstatniAdresat"), m_ostatniAdresat);
}

void TUstawienia::ZapiszPrzelacznik(const QString &nazwa, bool wartosc)
{
  ZapiszLogiczna(m_rejestr, Sekcja(), nazwa, wartosc);
}

void TUstawienia::UstawAutomatycznyZajetyWolny(bool wlaczony)
{
  m_automatycznyZajetyWolny = wlaczony;
  ZapiszPrzelacznik(QStringLiteral("AutomatycznyZajetyWolny"), wlaczony);
}

void TUstawienia::UstawInformowanieOPisaniu(bool wlaczone)
{
  m_informowanieOPisaniu = wlaczone;
  ZapiszPrzelacznik(QStringLiteral("InformowanieOPisaniu"), wlaczone);
}

void TUstawienia::UstawInformacjeGG(bool wlaczone)
{
  m_informacjeGG = wlaczone;
  ZapiszPrzelacznik(QStringLiteral("InformacjeGG"), wlaczone);
}

void TUstawienia::UstawSerwerAlternatywny(bool wlaczony)
{
  m_serwerAlternatywny = wlaczony;
  ZapiszPrzelacznik(QStringLiteral("SerwerAlternatywny"), wlaczony);
}

void TUstawienia::UstawBazaKontaktow(int rodzaj)
{
  m_rodzajBazy = rodzaj;
  ZapiszLiczbe(m_rejestr, Sekcja(), QStringLiteral("BazaKontaktow"), rodzaj);
}

void TUstawienia::UstawTylkoOdPrzyjaciol(bool wlaczone)
{
  m_tylkoOdPrzyjaciol = wlaczone;
  ZapiszPrzelacznik(QStringLiteral("TylkoOdPrzyjaciol"), wlaczone);
}

void TUstawienia::UstawPrzylaczaj(bool wlaczone)
{
  m_przylaczaj = wlaczone;
  ZapiszPrzelacznik(QStringLiteral("Przylaczaj"), wlaczone);
}

bool TUstawienia::CzytajTestowanie() const
{
  return CzytajLogiczna(m_rejestr, Sekcja(), QStringLiteral("Testowanie"), false);
}

bool TUstawienia::CzytajLogowanie() const
{
  // Set by hand while the program runs: pick up a file changed on disk.
  m_rejestr.sync();
  return CzytajLogiczna(m_rejestr, Sekcja(), QStringLiteral("Logowanie"), false);
}

QString TUstawienia::CzytajHasloUzytkownika() const
{
  return CzytajTekst(m_rejestr, Sekcja(), QStringLiteral("OstatnieHasloUzytkownika"),
                     QStringLiteral("?????"));
}

int TUstawienia::CzytajNumerUzytkownika() const
{
  return StrToInt(
      CzytajTekst(m_rejestr, Sekcja(), QStringLiteral("OstatniUzytkownik"), QStringLiteral("-1")));
}

void TUstawienia::UstawHasloUzytkownika(const QString &haslo)
{
  ZapiszTekst(m_rejestr, Sekcja(), QStringLiteral("OstatnieHasloUzytkownika"), haslo);
}

void TUstawienia::UstawNumerUzytkownika(int numer)
{
  ZapiszLiczbe(m_rejestr, Sekcja(), QStringLiteral("OstatniUzytkownik"), numer);
}

const QStringList &TUstawienia::WbudowaneBlokowane()
{
  static const QStringList numery = {QStringLiteral("1000001"), QStringLiteral("1000002"),
                                     QStringLiteral("1000003"), QStringLiteral("1000004"),
                                     QStringLiteral("1000005")};
  return numery;
}

TListaPosortowana TUstawienia::WczytajListe(const QString &nazwa) const
{
  TListaPosortowana lista;
  QFile plik(m_katalogDanych + u'/' + nazwa);
  if (plik.open(QIODevice::ReadOnly)) {
    QStringDecoder dekoder(QStringDecoder::Utf8);
    const QString tekst = dekoder(plik.readAll());
    for (const QString &wiersz : PodzielNaWiersze(tekst))
      lista.Dodaj(wiersz);
  }
  lista.UstawIgnorowanieDuplikatow(true);
  return lista;
}

void TUstawienia::ZapiszListe(const QString &nazwa, const TListaPosortowana &lista)
{
  Q_UNUSED(nazwa);
  Q_UNUSED(lista);
}

void TUstawienia::WczytajListy()
{
  m_listaBlokowanych = WczytajListe(QStringLiteral("ListaBlokowanych"));
  for (const QString &numer : WbudowaneBlokowane())
    m_listaBlokowanych.Dodaj(numer);
  m_wyslanoNa = WczytajListe(QStringLiteral("WyslanoNa"));
  m_listaKickujacych = WczytajListe(QStringLiteral("ListaKickujacych"));
}

void TUstawienia::ZwolnijListy()
{
  ZapiszListe(QStringLiteral("ListaBlokowanych"), m_listaBlokowanych);
  ZapiszListe(QStringLiteral("WyslanoNa"), m_wyslanoNa);
  ZapiszListe(QStringLiteral("ListaKickujacych"), m_listaKickujacych);
  m_listaBlokowanych = TListaPosortowana();
  m_wyslanoNa = TListaPosortowana();
  m_listaKickujacych = TListaPosortowana();
}

QString TUstawienia::SciezkaPrzypisow(int numer) const
{
  return m_katalogDanych + QStringLiteral("/Przypisy/") + QString::number(numer);
}
