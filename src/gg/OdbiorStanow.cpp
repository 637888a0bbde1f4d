// Status notifications in their four layouts, and ZmienStanKontaktu.

#include "app/DataCzas.h"
#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "contacts/Stany.h"
#include "contacts/Ustawienia.h"
#include "gg/CzasUnix.h"
#include "gg/Liczby.h"
#include "gg/Odbior.h"
#include "gg/Pakiety.h"
#include "gg/StronyKodowe.h"

#include <vector>

namespace {

// The low 24 bits: the top byte of the newer layouts carries flags.
constexpr qint32 MaskaNumeru = 0x00FFFFFF;

struct TStanKontaktu {
  int numer;
  int status;
  quint32 czas;
  QString opis;
};

// Description bytes with the optional NUL and return time at their end: converted from the
// network's code page and escaped, so control characters show as {XX}.
void CzytajOpis(QByteArrayView bajty, TStanKontaktu &stan)
{
  if (bajty.size() > 4 && bajty[bajty.size() - 5] == '\0') {
    stan.czas = quint32(LEToInt(bajty.last(4)));
    bajty.chop(5);
  }
  stan.opis = EscapeControls(bajty);
}

} // namespace

void TOdbior::Stan(qint32 typ, const QByteArray &cialo)
{
  TStanKontaktu stan{LEToInt(cialo, 0), 0, 0, QString()};
  qsizetype wpis = 8;
  switch (typ) {
  case GGAnsStatus:
    stan.status = LEToInt(cialo, 4);
    break;
  case GGAnsNotifyReply:
    stan.status = quint8(cialo[4]);
    wpis = 16;
    break;
  default: // GGAnsStatus60
    stan.numer &= MaskaNumeru;
    stan.status = quint8(cialo[4]);
    wpis = 14;
    break;
  }
  if (StanZOpisemJest(quint32(stan.status)))
    CzytajOpis(QByteArrayView(cialo).sliced(wpis), stan);
  ZmienStanKontaktu(stan.numer, stan.status, !m_ustawienia.TylkoOdPrzyjaciol(), stan.czas,
                    stan.opis);
}

void TOdbior::StanyWielu(const QByteArray &cialo)
{
  // Read whole before anything is applied: a packet whose last entry is cut short is dropped.
  constexpr qsizetype DlugoscWpisu = 14;
  std::vector<TStanKontaktu> stany;
  QByteArrayView reszta(cialo);
  while (!reszta.isEmpty()) {
    if (reszta.size() < DlugoscWpisu) {
      Bledny(GGAnsNotifyReply60, qint32(cialo.size()), cialo);
      return;
    }
    TStanKontaktu stan{LEToInt(reszta, 0) & MaskaNumeru, quint8(reszta[4]), 0, QString()};
    reszta = reszta.sliced(DlugoscWpisu);
    if (!reszta.isEmpty() && StanZOpisemJest(quint32(stan.status))) {
      const qsizetype n = quint8(reszta.front());
      // A length past the end takes what is there.
      const QByteArrayView opis = reszta.sliced(1, qMin(n, reszta.size() - 1));
      CzytajOpis(opis, stan);
      reszta = reszta.sliced(1 + opis.size());
    }
    stany.push_back(std::move(stan));
  }
  const bool utworz = !m_ustawienia.TylkoOdPrzyjaciol();
  for (const TStanKontaktu &stan : stany)
    ZmienStanKontaktu(stan.numer, stan.status, utworz, stan.czas, stan.opis);
}

void TOdbior::ZmienStanKontaktu(int numer, int status, bool utworz, quint32 czasPowrotu,
                                const QString &opis)
{
  TWezel *kontakt = m_drzewo.ZnajdzUzytkownika(numer);
  if (!kontakt) {
    if (!utworz)
      return;
    const QString tekst = QStringLiteral("lista kontaktów ") + QString::number(numer);
    // A server may announce any number of strangers; past the bound they are only logged.
    if (m_nieznajomi >= NajwiecejNieznajomych) {
      if (m_loguj)
        m_loguj(KategoriaBledne, tekst);
      return;
    }
    ++m_nieznajomi;
    m_drzewo.DodajUzytkownika(numer, QString(), QString(), QString(), QString(), tekst, 1);
    return;
  }

  QString tekst = kontakt->Tekst();
  const qsizetype nawias = tekst.indexOf(u'(');
  if (nawias >= 0)
    tekst.truncate(nawias);
  if (czasPowrotu != 0)
    tekst += u'(' + opis + u'[' + DataCzasNaTekst(UnixToLocal(czasPowrotu)) + QStringLiteral("])");
  else
    tekst += u'(' + opis + u')';
  kontakt->UstawTekst(tekst);
  m_drzewo.ZastosujStan(kontakt, status);

  TWezel *rodzic = kontakt;
  if (const TUzytkownik *u = kontakt->DaneJako<TUzytkownik>())
    if (TWezel *kotwica = u->OstatniaWypowiedz)
      rodzic = kotwica;
  TWezel *zmiana = m_drzewo.Dodaj(rodzic, QStringLiteral("Dostępny"));
  zmiana->UstawDane(
      std::make_shared<TZmianaStanu>(zmiana, QDateTime::currentDateTime(), opis, status));
}
