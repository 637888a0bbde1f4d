#include "gg/ListaKontaktow.h"

#include "contacts/Drzewo.h"
#include "contacts/Galezie.h"
#include "gg/Liczby.h"
#include "gg/Pakiety.h"
#include "gg/StronyKodowe.h"
#include "gg/WysylaniePakietow.h"
#include "net/Gniazdo.h"

QString PoleListy(const QString &wartosc)
{
  QString wynik;
  wynik.reserve(wartosc.size());
  for (qsizetype i = 0; i < wartosc.size(); ++i) {
    const QChar c = wartosc[i];
    if (c == u';') {
      wynik += u',';
    } else if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < wartosc.size() && wartosc[i + 1] == u'\n')
        ++i;
      wynik += u' ';
    } else {
      wynik += c;
    }
  }
  return wynik;
}

QString LiniaListy(const TUzytkownik &u)
{
  const QString opis = PoleListy(u.Opis);
  return PoleListy(u.Imie) + u';' + PoleListy(u.Nazwisko) + u';' + opis + u';' + opis + u';' +
         PoleListy(u.Telefon) + u';' + u';' + QString::number(u.Numer()) + u';' +
         PoleListy(u.EMail) + QStringLiteral(";0;;0;\r\n");
}

QString TekstListy(const TDrzewo &drzewo)
{
  QString tekst;
  for (int i = 0; i < drzewo.LiczbaGlownych(); ++i)
    if (const TUzytkownik *u = drzewo.Glowny(i)->DaneJako<TUzytkownik>())
      tekst += LiniaListy(*u);
  return tekst;
}

QStringList CzesciListy(const QString &tekst, int znakow)
{
  QStringList czesci;
  qsizetype poczatek = 0;
  do {
    qsizetype koniec = poczatek;
    for (int n = 0; n < znakow && koniec < tekst.size(); ++n) {
      const bool para = tekst[koniec].isHighSurrogate() && koniec + 1 < tekst.size() &&
                        tekst[koniec + 1].isLowSurrogate();
      koniec += para ? 2 : 1;
    }
    czesci.append(tekst.mid(poczatek, koniec - poczatek));
    poczatek = koniec;
  } while (poczatek < tekst.size());
  return czesci;
}

QList<QByteArray> CialaZapisuListy(const QString &tekst)
{
  QList<QByteArray> ciala;
  for (const QString &czesc : CzesciListy(tekst)) {
    const char podtyp = ciala.isEmpty() ? PodtypListy::Zapisz : PodtypListy::ZapiszDalej;
    ciala.append(QByteArray(1, podtyp) + AnsiToCp1250(czesc));
  }
  return ciala;
}

void WyslijListe(TGniazdo &gniazdo, const TDrzewo &drzewo, TBuforListy &bufor)
{
  const QList<QByteArray> ciala = CialaZapisuListy(TekstListy(drzewo));
  // The pieces leave the buffer as they go out.
  bufor.Wyczysc();
  for (const QByteArray &cialo : ciala)
    if (WyslijPakiet(gniazdo, GGReqUserList, cialo) < 0)
      break;
}

void PoprosOListe(TGniazdo &gniazdo, TBuforListy &bufor)
{
  WyslijPakiet(gniazdo, GGReqUserList, QByteArray(1, PodtypListy::Pobierz));
  bufor.Wyczysc();
}

QByteArray CialoPowiadomienia(qint32 numer, qint32 typ)
{
  return IntToLE(numer) + IntToLE(typ);
}

namespace {

bool WyslijPowiadomienie(TGniazdo &gniazdo, qint32 pakiet, qint32 numer, qint32 typ)
{
  if (gniazdo.State() != gsConnected)
    return false;
  return WyslijPakiet(gniazdo, pakiet, CialoPowiadomienia(numer, typ)) >= 0;
}

} // namespace

bool DodajPowiadomienie(TGniazdo &gniazdo, qint32 numer, qint32 typ)
{
  return WyslijPowiadomienie(gniazdo, GGReqAddNotify, numer, typ);
}

bool UsunPowiadomienie(TGniazdo &gniazdo, qint32 numer, qint32 typ)
{
  return WyslijPowiadomienie(gniazdo, GGReqRemoveNotify, numer, typ);
}
