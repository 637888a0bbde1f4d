// Incoming messages: sender, sound, contact, conference, text marker, lines.

#include "app/DataCzas.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "contacts/Ustawienia.h"
#include "gg/CzasUnix.h"
#include "gg/Liczby.h"
#include "gg/Odbior.h"
#include "gg/Pakiety.h"
#include "gg/StronyKodowe.h"

#include <algorithm>

namespace {

constexpr int NajdluzszaLinia = 199;
constexpr char OpcjaKonferencji = 0x01;
constexpr qsizetype DlugoscNaglowkaWiadomosci = 16;

// Where a piece that starts at `poczatek` ends: at `koniecLinii` or after the longest run of
// characters a node takes, counting a surrogate pair as the one character it is.
qsizetype KoniecKawalka(const QString &tekst, qsizetype poczatek, qsizetype koniecLinii)
{
  qsizetype k = poczatek;
  for (int znaki = 0; k < koniecLinii && znaki < NajdluzszaLinia; ++znaki) {
    if (tekst[k].isHighSurrogate() && k + 1 < koniecLinii && tekst[k + 1].isLowSurrogate())
      k += 2;
    else
      ++k;
  }
  return k;
}

} // namespace

void TOdbior::Wiadomosc(const QByteArray &cialo)
{
  const int nadawca = LEToInt(cialo, 0);
  const int sekwencja = LEToInt(cialo, 4);
  const quint32 czas = quint32(LEToInt(cialo, 8));
  const int klasa = LEToInt(cialo, 12);

  // Before the friends-only test: a dropped message still sounds. Either reason is enough; a
  // second sound right after the first would not interrupt it anyway.
  if ((klasa & 0x10) != 0 || !m_okno.IdleTmrDziala())
    m_okno.DzwiekNowejWiadomosci();

  TWezel *kontakt = m_drzewo.ZnajdzUzytkownika(nadawca);
  if (!kontakt && m_ustawienia.TylkoOdPrzyjaciol()) {
    ZglosOdrzucona(nadawca, czas, cialo);
    return;
  }
  if (!kontakt) {
    kontakt = m_drzewo.DodajUzytkownika(
        nadawca, QStringLiteral("nieznane imię"), QStringLiteral("nieznane nazwisko"),
        QStringLiteral("nieznany email"), QStringLiteral("nieznany telefon"),
        QString::number(nadawca), 1);
  }

  QByteArrayView reszta = QByteArrayView(cialo).sliced(DlugoscNaglowkaWiadomosci);
  QByteArrayView tekst;
  const qsizetype nul = reszta.indexOf('\0');
  if (nul >= 0) {
    tekst = reszta.first(nul);
    reszta = reszta.sliced(nul + 1);
  }

  TWezel *cel = kontakt;
  if (!reszta.isEmpty() && reszta.front() == OpcjaKonferencji) {
    bool obcieta = false;
    cel = DodajKonferencje(nadawca, reszta.sliced(1), &obcieta);
    if (obcieta)
      Bledny(GGAnsRecvMsg, qint32(cialo.size()), cialo);
  }

  bool znacznik = false;
  const QString przeliczony = DekodujTekstWiadomosci(tekst, &znacznik);
  if (TUzytkownik *u = cel->DaneJako<TUzytkownik>()) {
    u->ZnacznikWymieniony = true;
    u->RozmowcaZnaZnacznik = znacznik;
    if (TWezel *kotwica = u->OstatniaWypowiedz)
      cel = kotwica;
  }

  auto wypowiedz = std::make_shared<TWypowiedz>(
      nullptr, std::make_unique<TDaneDodatkowe>(2, nadawca, int(czas), sekwencja, QDateTime()),
      przeliczony);

  const QString wyswietlany = TekstWyswietlany(czas, przeliczony);
  if (!wyswietlany.isEmpty())
    m_okno.PrzywolajOkno();
  const std::shared_ptr<TRodzajGalezi> dane = wypowiedz;
  for (const QString &linia : LinieWiadomosci(wyswietlany))
    DodajLinie(cel, linia, dane);
}

QString TekstWyswietlany(quint32 czasNadania, const QString &tekst)
{
  const QDateTime nadano = UnixToLocal(czasNadania);
  if (!nadano.isValid())
    return tekst;
  return u'(' + DataCzasNaTekst(nadano) + u')' + tekst;
}

QStringList LinieWiadomosci(const QString &wyswietlany)
{
  QStringList linie;
  const QStringView crlf = u"\r\n";
  qsizetype poz = 0;
  qsizetype koniecLinii = -1;
  while (poz < wyswietlany.size()) {
    if (koniecLinii < poz) {
      koniecLinii = wyswietlany.indexOf(crlf, poz);
      if (koniecLinii < 0)
        koniecLinii = wyswietlany.size();
    }
    const qsizetype koniec = KoniecKawalka(wyswietlany, poz, koniecLinii);
    linie.append(wyswietlany.mid(poz, koniec - poz));
    poz = koniec;
    if (QStringView(wyswietlany).sliced(poz).startsWith(crlf))
      poz += crlf.size();
  }
  return linie;
}

void TOdbior::ZglosOdrzucona(int nadawca, quint32 czas, const QByteArray &cialo)
{
  // Only a trace for the user: the text is read as for a shown message, up to its first line.
  const QByteArrayView reszta = QByteArrayView(cialo).sliced(DlugoscNaglowkaWiadomosci);
  const qsizetype nul = reszta.indexOf('\0');
  const QString tekst = DekodujTekstWiadomosci(nul >= 0 ? reszta.first(nul) : QByteArrayView());
  const qsizetype koniec = tekst.indexOf(u'\n');
  QString pierwsza = koniec < 0 ? tekst : tekst.first(koniec);
  if (pierwsza.endsWith(u'\r'))
    pierwsza.chop(1);
  m_okno.OdrzuconoWiadomosc({nadawca, UnixToLocal(czas), pierwsza.left(NajdluzszaLinia)});
}

void TOdbior::DodajLinie(TWezel *cel, const QString &tekst,
                         const std::shared_ptr<TRodzajGalezi> &dane)
{
  TWezel *linia = m_drzewo.Dodaj(cel, tekst);
  linia->UstawDane(dane);
  m_drzewo.UstawStanWezla(linia, StanWezla::Pogrubiony, StanWezla::Pogrubiony);
  m_okno.UczynWidocznym(linia);
}

TWezel *TOdbior::DodajKonferencje(int nadawca, QByteArrayView opcje, bool *obcieta)
{
  TWezel *konferencja = m_drzewo.Dodaj(nullptr, QStringLiteral("konferencja"));
  konferencja->UstawDane(std::make_shared<TKonferencja>(konferencja));
  m_drzewo.UstawStanWezla(konferencja, StanWezla::Wyciety, StanWezla::Wyciety);

  // The count comes from the wire: only the numbers the body really holds are read.
  const qint32 podana = LEToInt(opcje, 0);
  const qsizetype mieszczaSie = opcje.size() >= 4 ? (opcje.size() - 4) / 4 : 0;
  const qsizetype liczba = std::clamp<qsizetype>(podana, 0, mieszczaSie);
  *obcieta = opcje.size() < 4 || podana > mieszczaSie;

  // Real conferences are small; a packet may list a quarter of a million numbers.
  const qsizetype pokazane = std::min<qsizetype>(liczba, NajwiecejUczestnikow);
  QString podpis = QStringLiteral("uczestnicy");
  if (pokazane < liczba)
    podpis += QStringLiteral(" (+%1)").arg(liczba - pokazane);
  TWezel *uczestnicy = m_drzewo.Dodaj(konferencja, podpis);
  m_drzewo.Dodaj(uczestnicy, QString::number(nadawca));
  for (qsizetype i = 0; i < pokazane; ++i)
    m_drzewo.Dodaj(uczestnicy, QString::number(LEToInt(opcje, 4 + 4 * i)));
  return konferencja;
}
