#include "gg/SesjaZapytania.h"

#include "gg/StronyKodowe.h"
#include "net/Blad.h"

namespace {

const QByteArray KoniecLinii = QByteArrayLiteral("\r\n");
const QByteArray KoniecNaglowka = QByteArrayLiteral("\r\n\r\n");
const QByteArray AgentPrzegladarki =
    QByteArrayLiteral("User-Agent: Mozilla/4.0 (compatible; MSIE 5.0; Windows 98)");

// The text before `separator`, removed from the buffer together with the separator. An absent
// separator gives an empty piece and removes nothing.
QByteArray Odetnij(QByteArray &bufor, char separator)
{
  const qsizetype pozycja = bufor.indexOf(separator);
  if (pozycja < 0)
    return QByteArray();
  QByteArray kawalek = bufor.left(pozycja);
  bufor.remove(0, pozycja + 1);
  return kawalek;
}

} // namespace

QByteArray ZapytanieOSerwer(qint32 numerWlasny, qint32 numerOstatniejInformacji,
                            const QString &adresInformacji)
{
  QByteArray z;
  z += "GET /appsvc/appmsg4.asp?fmnumber=" + QByteArray::number(numerWlasny) +
       "&version=" + KodujUrl(QString::fromLatin1(WersjaKlienta)).toLatin1() +
       "&fmt=2&lastwiad=" + QByteArray::number(numerOstatniejInformacji) + " HTTP/1.0" +
       KoniecLinii;
  z += "Host: " + adresInformacji.toUtf8() + KoniecLinii;
  z += "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
       "application/vnd.ms-powerpoint, application/vnd.ms-excel, application/vnd.msword, "
       "application/x-shockwave-flash, */*" +
       KoniecLinii;
  z += "Accept-Language: pl" + KoniecLinii;
  z += AgentPrzegladarki + KoniecLinii;
  z += "Pragma: no-cache" + KoniecLinii;
  z += KoniecLinii;
  return z;
}

QByteArray ZapytanieRejestracji(const QString &adresRejestracji)
{
  // Every value is made of characters KodujUrl leaves alone, so they go in as they are.
  const QByteArray tresc = QByteArrayLiteral("pwd=") + HasloRejestracji +
                           "&email=" + EmailRejestracji + "&tokenid=" + TokenRejestracji +
                           "&tokenval=" + WartoscTokenuRejestracji +
                           "&code=" + QByteArray::number(KodRejestracji) + KoniecLinii;
  QByteArray z;
  z += "GET /appsvc/fmregister3.asp HTTP/1.0" + KoniecLinii;
  z += "Host: " + adresRejestracji.toUtf8() + KoniecLinii;
  z += "Content-Type: application/x-www-form-urlencoded" + KoniecLinii;
  z += AgentPrzegladarki + KoniecLinii;
  z += "Content-Length: " + QByteArray::number(tresc.size()) + KoniecLinii;
  z += "Pragma: no-cache" + KoniecLinii;
  z += KoniecLinii;
  z += tresc;
  return z;
}

bool OdpowiedzKompletna(const QByteArray &bufor, qsizetype przeszukane)
{
  const qsizetype od = std::max<qsizetype>(0, przeszukane - (KoniecNaglowka.size() - 1));
  return bufor.indexOf(KoniecNaglowka, od) >= 0;
}

TOdpowiedzSerwera RozbierzOdpowiedzSerwera(QByteArray &bufor)
{
  if (bufor.startsWith(KoniecLinii)) {
    bufor.remove(0, KoniecLinii.size());
  } else {
    const qsizetype koniec = bufor.indexOf(KoniecNaglowka);
    if (koniec >= 0)
      bufor.remove(0, koniec + KoniecNaglowka.size());
  }
  TOdpowiedzSerwera odpowiedz;
  odpowiedz.Numer = StrToInt(QString::fromLatin1(Odetnij(bufor, ' ')));
  Odetnij(bufor, ' ');
  odpowiedz.Adres = QString::fromLatin1(Odetnij(bufor, ':'));
  odpowiedz.Port = QString::fromLatin1(Odetnij(bufor, ' '));
  Odetnij(bufor, '\n');
  odpowiedz.Informacja = bufor;
  return odpowiedz;
}

QByteArray TrescOdpowiedzi(const QByteArray &odpowiedz)
{
  const qsizetype koniec = odpowiedz.indexOf(KoniecNaglowka);
  return koniec < 0 ? odpowiedz : odpowiedz.mid(koniec + KoniecNaglowka.size());
}

QString NumerZRejestracji(const QByteArray &tresc)
{
  static const QByteArray Sukces = QByteArrayLiteral("reg_success:");
  const QByteArray t = tresc.trimmed();
  if (!t.startsWith(Sukces))
    return QString();
  return QString::fromLatin1(t.mid(Sukces.size()).trimmed());
}
