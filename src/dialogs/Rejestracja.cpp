#include "dialogs/Rejestracja.h"

#include "gg/SesjaZapytania.h"
#include "gg/StronyKodowe.h"
#include "net/Blad.h"
#include "net/KlientHttp.h"

#include <QBuffer>
#include <QStringList>

#include <utility>

namespace {

const QString KoniecLinii = QStringLiteral("\r\n");

// The text up to the separator, taken off the front together with it; without the separator
// the whole rest.
QString Odetnij(QString &reszta, const QString &separator)
{
  const qsizetype pozycja = reszta.indexOf(separator);
  if (pozycja < 0)
    return std::exchange(reszta, QString());
  QString kawalek = reszta.left(pozycja);
  reszta.remove(0, pozycja + separator.size());
  return kawalek;
}

int CzytajLiczbe(QString &reszta)
{
  const QString separator = reszta.contains(u' ') ? QStringLiteral(" ") : KoniecLinii;
  return StrToInt(Odetnij(reszta, separator));
}

} // namespace

QString AdresUslugi(const QString &host, const QString &port, QStringView sciezka)
{
  QString adres = QStringLiteral("http://") + host;
  if (!port.isEmpty() && port != u"80")
    adres += u':' + port;
  return adres + sciezka.toString();
}

TToken RozbierzToken(const QString &odpowiedz)
{
  QString reszta = odpowiedz;
  TToken t;
  t.Szerokosc = CzytajLiczbe(reszta);
  t.Wysokosc = CzytajLiczbe(reszta);
  t.Dlugosc = CzytajLiczbe(reszta);
  t.Identyfikator = Odetnij(reszta, KoniecLinii);
  t.AdresObrazka = Odetnij(reszta, KoniecLinii);
  return t;
}

QString AdresObrazkaTokenu(const TToken &token)
{
  return token.AdresObrazka + QStringLiteral("?tokenid=") + token.Identyfikator;
}

QByteArray FormularzRejestracji(const QString &haslo, const QString &email,
                                const QString &identyfikatorTokenu, const QString &wartoscTokenu)
{
  const std::pair<const char *, QString> pary[] = {
      {"pwd", haslo},
      {"email", email},
      {"tokenid", identyfikatorTokenu},
      {"tokenval", wartoscTokenu},
      {"code", QString::number(KodRejestracji)},
  };
  QStringList czesci;
  for (const auto &[nazwa, wartosc] : pary)
    if (!wartosc.isEmpty())
      czesci << QLatin1String(nazwa) + u'=' + KodujUrl(wartosc);
  // Only ASCII is left after the encoding.
  return (czesci.join(u'&') + KoniecLinii).toLatin1();
}

TWynikRejestracji RozbierzWynikRejestracji(const QString &odpowiedz)
{
  static const QString Sukces = QStringLiteral("reg_success:");
  TWynikRejestracji w;
  if (odpowiedz.startsWith(Sukces)) {
    w.Rodzaj = TWynikRejestracji::Zarejestrowano;
    // A line break after the number would make it unreadable as a number.
    w.Numer = odpowiedz.mid(Sukces.size()).trimmed();
  } else if (odpowiedz.startsWith(QStringLiteral("bad_tokenval"))) {
    w.Rodzaj = TWynikRejestracji::ZlyToken;
  }
  return w;
}

QByteArray Pobierz(TKlientHttp &klient, const QString &adres, bool post, const QByteArray &cialo)
{
  QBuffer odpowiedz;
  odpowiedz.open(QIODevice::WriteOnly);
  QByteArray doWyslania = cialo;
  QBuffer tresc(&doWyslania);
  tresc.open(QIODevice::ReadOnly);
  klient.SetURL(adres);
  klient.SetReplyStream(&odpowiedz);
  klient.SetBodyStream(post ? &tresc : nullptr);
  // The client watches both streams and forgets them when they go out of scope here.
  if (post)
    klient.Post();
  else
    klient.Get();
  return odpowiedz.data();
}

QString TekstOdpowiedzi(const QByteArray &tresc)
{
  return Cp1250ToAnsi(tresc);
}

QImage DekodujObrazekTokenu(const QByteArray &gif)
{
  QImage obrazek = QImage::fromData(gif, "GIF");
  if (obrazek.isNull())
    throw EBlad(QStringLiteral("Obrazek tokenu nie jest obrazkiem GIF."));
  return obrazek;
}
