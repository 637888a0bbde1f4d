#include "contacts/KsiazkaAdresowa.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

namespace {

bool RowneBezWielkosci(QByteArrayView a, QByteArrayView b)
{
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The position of the first `znak` outside double quotes, -1 when none.
qsizetype PozaCudzyslowem(QByteArrayView tekst, char znak, qsizetype od = 0)
{
  bool wCudzyslowie = false;
  for (qsizetype i = od; i < tekst.size(); ++i) {
    if (tekst[i] == '"')
      wCudzyslowie = !wCudzyslowie;
    else if (tekst[i] == znak && !wCudzyslowie)
      return i;
  }
  return -1;
}

QList<QByteArray> PodzielPozaCudzyslowem(QByteArrayView tekst, char znak)
{
  QList<QByteArray> czesci;
  qsizetype poczatek = 0;
  for (;;) {
    const qsizetype i = PozaCudzyslowem(tekst, znak, poczatek);
    if (i < 0)
      break;
    czesci.append(tekst.sliced(poczatek, i - poczatek).toByteArray());
    poczatek = i + 1;
  }
  czesci.append(tekst.sliced(poczatek).toByteArray());
  return czesci;
}

QList<QByteArray> WierszeFizyczne(const QByteArray &dane)
{
  QList<QByteArray> wiersze;
  qsizetype poczatek = 0;
  for (qsizetype i = 0; i < dane.size(); ++i) {
    const char c = dane[i];
    if (c != '\r' && c != '\n')
      continue;
    wiersze.append(dane.sliced(poczatek, i - poczatek));
    if (c == '\r' && i + 1 < dane.size() && dane[i + 1] == '\n')
      ++i;
    poczatek = i + 1;
  }
  if (poczatek < dane.size())
    wiersze.append(dane.sliced(poczatek));
  return wiersze;
}

// Whether a logical line's name and parameters (all before the first ":" outside quotes) say
// quoted-printable. The line grows as physical lines are joined to it; each byte is looked at
// once, so a value folded a hundred thousand times costs no more than an unfolded one.
class TNaglowekWiersza {
public:
  bool JestQuotedPrintable(const QByteArray &wiersz)
  {
    static constexpr QByteArrayView Znacznik = "QUOTED-PRINTABLE";
    if (m_koniec)
      return m_qp;
    // The bytes before `m_zbadane` keep their meaning: only a final "=", never a quote or a
    // colon, is ever taken off the line.
    m_zbadane = std::min(m_zbadane, wiersz.size());
    qsizetype i = m_zbadane;
    for (; i < wiersz.size(); ++i) {
      if (wiersz[i] == '"') {
        m_wCudzyslowie = !m_wCudzyslowie;
      } else if (wiersz[i] == ':' && !m_wCudzyslowie) {
        m_koniec = true;
        break;
      }
    }
    // The marker may straddle the bytes looked at before and the new ones.
    const qsizetype od = std::max<qsizetype>(0, m_zbadane - (Znacznik.size() - 1));
    if (!m_qp && i > od)
      m_qp = wiersz.sliced(od, i - od).toUpper().contains(Znacznik);
    m_zbadane = i;
    return m_qp;
  }

private:
  qsizetype m_zbadane = 0;
  bool m_wCudzyslowie = false;
  bool m_koniec = false;
  bool m_qp = false;
};

// Folded lines (a break followed by a space or tab) and the soft breaks of quoted-printable
// values (a final "=") are joined into one logical line.
QList<QByteArray> WierszeLogiczne(const QByteArray &dane)
{
  const QList<QByteArray> fizyczne = WierszeFizyczne(dane);
  QList<QByteArray> logiczne;
  for (qsizetype i = 0; i < fizyczne.size(); ++i) {
    QByteArray wiersz = fizyczne[i];
    TNaglowekWiersza naglowek;
    for (;;) {
      if (i + 1 >= fizyczne.size())
        break;
      const QByteArray &nastepny = fizyczne[i + 1];
      if (wiersz.endsWith('=') && naglowek.JestQuotedPrintable(wiersz)) {
        wiersz.chop(1);
        wiersz += nastepny;
      } else if (!nastepny.isEmpty() && (nastepny[0] == ' ' || nastepny[0] == '\t')) {
        wiersz += nastepny.sliced(1);
      } else {
        break;
      }
      ++i;
    }
    logiczne.append(wiersz);
  }
  return logiczne;
}

int WartoscHex(char c)
{
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

QByteArray OdkodujQuotedPrintable(QByteArrayView tekst)
{
  QByteArray wynik;
  wynik.reserve(tekst.size());
  for (qsizetype i = 0; i < tekst.size(); ++i) {
    if (tekst[i] == '=' && i + 2 < tekst.size() && WartoscHex(tekst[i + 1]) >= 0 &&
        WartoscHex(tekst[i + 2]) >= 0) {
      wynik += char(WartoscHex(tekst[i + 1]) * 16 + WartoscHex(tekst[i + 2]));
      i += 2;
    } else {
      wynik += tekst[i];
    }
  }
  return wynik;
}

QString Dekoduj(const QByteArray &bajty, const QByteArray &zestaw)
{
  if (!zestaw.isEmpty() && !RowneBezWielkosci(zestaw, "UTF-8")) {
    QStringDecoder dekoder(zestaw.constData());
    if (dekoder.isValid())
      return dekoder.decode(bajty);
  }
  QStringDecoder utf8(QStringDecoder::Utf8);
  return utf8.decode(bajty);
}

bool JestKodowaniem(QByteArrayView slowo)
{
  return RowneBezWielkosci(slowo, "QUOTED-PRINTABLE") || RowneBezWielkosci(slowo, "BASE64") ||
         RowneBezWielkosci(slowo, "8BIT") || RowneBezWielkosci(slowo, "7BIT");
}

// False for a line without a name or without ":".
bool Rozbierz(const QByteArray &wiersz, TLiniaVCard &linia)
{
  const qsizetype dwukropek = PozaCudzyslowem(wiersz, ':');
  if (dwukropek <= 0)
    return false;
  QList<QByteArray> naglowek = PodzielPozaCudzyslowem(QByteArrayView(wiersz).first(dwukropek), ';');
  QByteArray nazwa = naglowek.takeFirst().trimmed();
  const qsizetype kropka = nazwa.lastIndexOf('.');
  if (kropka >= 0)
    nazwa = nazwa.sliced(kropka + 1);
  if (nazwa.isEmpty())
    return false;
  linia.Nazwa = nazwa.toUpper();
  linia.Parametry.clear();
  for (const QByteArray &p : naglowek) {
    const QByteArray parametr = p.trimmed();
    if (parametr.isEmpty())
      continue;
    if (parametr.contains('='))
      linia.Parametry.append(parametr);
    else if (JestKodowaniem(parametr))
      linia.Parametry.append("ENCODING=" + parametr);
    else
      linia.Parametry.append("TYPE=" + parametr);
  }
  QByteArray wartosc = wiersz.sliced(dwukropek + 1);
  const QList<QByteArray> kodowanie = linia.WartosciParametru("ENCODING");
  if (!kodowanie.isEmpty() && RowneBezWielkosci(kodowanie.first(), "QUOTED-PRINTABLE"))
    wartosc = OdkodujQuotedPrintable(wartosc);
  const QList<QByteArray> zestaw = linia.WartosciParametru("CHARSET");
  linia.Wartosc = Dekoduj(wartosc, zestaw.isEmpty() ? QByteArray() : zestaw.first());
  return true;
}

// Splits a structured value at every ";" that is not escaped; the parts stay escaped.
QList<QStringView> PodzielStrukture(QStringView tekst)
{
  QList<QStringView> czesci;
  qsizetype poczatek = 0;
  for (qsizetype i = 0; i < tekst.size(); ++i) {
    if (tekst[i] == u'\\') {
      ++i;
    } else if (tekst[i] == u';') {
      czesci.append(tekst.sliced(poczatek, i - poczatek));
      poczatek = i + 1;
    }
  }
  czesci.append(tekst.sliced(poczatek));
  return czesci;
}

} // namespace

QString OdkodujTekstVCard(QStringView tekst)
{
  QString wynik;
  wynik.reserve(tekst.size());
  for (qsizetype i = 0; i < tekst.size(); ++i) {
    const QChar c = tekst[i];
    if (c != u'\\' || i + 1 >= tekst.size()) {
      wynik += c;
      continue;
    }
    const QChar n = tekst[i + 1];
    if (n == u'n' || n == u'N')
      wynik += u'\n';
    else if (n == u'\\' || n == u';' || n == u',')
      wynik += n;
    else {
      // Not an escape of the format (a path such as C:\dir): keep it as written.
      wynik += c;
      continue;
    }
    ++i;
  }
  return wynik;
}

QList<QByteArray> TLiniaVCard::WartosciParametru(const QByteArray &nazwa) const
{
  QList<QByteArray> wartosci;
  for (const QByteArray &p : Parametry) {
    const qsizetype rowna = p.indexOf('=');
    if (!RowneBezWielkosci(QByteArrayView(p).first(rowna).trimmed(), nazwa))
      continue;
    for (QByteArray w : PodzielPozaCudzyslowem(QByteArrayView(p).sliced(rowna + 1), ',')) {
      w = w.trimmed();
      if (w.size() >= 2 && w.startsWith('"') && w.endsWith('"'))
        w = w.sliced(1, w.size() - 2);
      for (const QByteArray &x : w.split(','))
        if (!x.trimmed().isEmpty())
          wartosci.append(x.trimmed());
    }
  }
  return wartosci;
}

bool TLiniaVCard::MaTyp(const QByteArray &typ) const
{
  for (const QByteArray &t : WartosciParametru("TYPE"))
    if (RowneBezWielkosci(t, typ))
      return true;
  return false;
}

TElementKsiazki::TElementKsiazki(QList<TLiniaVCard> linie) : m_linie(std::move(linie)) {}

const TLiniaVCard *TElementKsiazki::Pierwsza(const QByteArray &nazwa) const
{
  for (const TLiniaVCard &l : m_linie)
    if (l.Nazwa == nazwa)
      return &l;
  return nullptr;
}

bool TElementKsiazki::JestKontaktem() const
{
  // KIND of vCard 4, and the same mark as some address books wrote it in vCard 3.
  for (const QByteArray &nazwa : {QByteArray("KIND"), QByteArray("X-ADDRESSBOOKSERVER-KIND")})
    if (const TLiniaVCard *l = Pierwsza(nazwa))
      if (l->Wartosc.trimmed().compare(u"group", Qt::CaseInsensitive) == 0)
        return false;
  return true;
}

QStringList TElementKsiazki::SkladoweNazwy() const
{
  QStringList skladowe;
  if (const TLiniaVCard *l = Pierwsza("N"))
    for (const QStringView s : PodzielStrukture(l->Wartosc))
      skladowe.append(OdkodujTekstVCard(s));
  return skladowe;
}

QString TElementKsiazki::LastName() const
{
  return SkladoweNazwy().value(0);
}

QString TElementKsiazki::FirstName() const
{
  return SkladoweNazwy().value(1);
}

QString TElementKsiazki::Email1Address() const
{
  const TLiniaVCard *l = Pierwsza("EMAIL");
  return l ? OdkodujTekstVCard(l->Wartosc) : QString();
}

QString TElementKsiazki::HomeTelephoneNumber() const
{
  for (const TLiniaVCard &l : m_linie) {
    if (l.Nazwa != "TEL" || !l.MaTyp("HOME"))
      continue;
    QString numer = OdkodujTekstVCard(l.Wartosc);
    // vCard 4 may give the number as a "tel:" address.
    if (numer.startsWith(u"tel:", Qt::CaseInsensitive))
      numer.remove(0, 4);
    return numer;
  }
  return QString();
}

QString TElementKsiazki::WlasciwoscUzytkownika(const QString &nazwa, bool *jest) const
{
  const TLiniaVCard *l = Pierwsza("X-" + nazwa.toUpper().toUtf8());
  if (jest)
    *jest = l != nullptr;
  return l ? OdkodujTekstVCard(l->Wartosc) : QString();
}

TOutlookApplication::TOutlookApplication(const QString &sciezka) : m_sciezka(sciezka) {}

void TOutlookApplication::Polacz()
{
  m_karty.clear();
  const QFileInfo info(m_sciezka);
  if (!info.exists())
    throw EKsiazkaAdresowa(QStringLiteral("Brak książki adresowej \"%1\"").arg(m_sciezka));
  QFile plik(m_sciezka);
  QByteArray dane;
  if (!info.isFile() || !plik.open(QIODevice::ReadOnly) ||
      (dane = plik.readAll(), plik.error() != QFileDevice::NoError))
    throw EKsiazkaAdresowa(
        QStringLiteral("Nie można odczytać książki adresowej \"%1\"%2")
            .arg(m_sciezka, info.isFile() ? QStringLiteral(": ") + plik.errorString() : QString()));
  if (dane.startsWith("\xEF\xBB\xBF"))
    dane.remove(0, 3);

  int glebokosc = 0;
  TKarta karta;
  for (const QByteArray &wiersz : WierszeLogiczne(dane)) {
    const QByteArray t = wiersz.trimmed();
    if (RowneBezWielkosci(t, "BEGIN:VCARD")) {
      if (glebokosc++ == 0)
        karta = TKarta();
      continue;
    }
    if (RowneBezWielkosci(t, "END:VCARD")) {
      if (glebokosc == 0)
        continue;
      if (--glebokosc == 0) {
        karta.zamknieta = true;
        m_karty.append(karta);
      }
      continue;
    }
    // Outside a card, or inside a card nested in a property (vCard 2.1 AGENT): not this item's.
    if (glebokosc == 1 && !t.isEmpty())
      karta.linie.append(wiersz);
  }
  if (glebokosc > 0)
    m_karty.append(karta);
}

TElementKsiazki TOutlookApplication::Item(int i) const
{
  if (i < 1 || i > Count())
    throw EKsiazkaAdresowa(QStringLiteral("Brak elementu %1 w książce adresowej").arg(i));
  const TKarta &karta = m_karty[i - 1];
  const auto uszkodzona = [i] {
    return EKsiazkaAdresowa(QStringLiteral("Uszkodzona wizytówka %1 w książce adresowej").arg(i));
  };
  if (!karta.zamknieta)
    throw uszkodzona();
  QList<TLiniaVCard> linie;
  linie.reserve(karta.linie.size());
  for (const QByteArray &wiersz : karta.linie) {
    TLiniaVCard linia;
    if (!Rozbierz(wiersz, linia))
      throw uszkodzona();
    linie.append(std::move(linia));
  }
  return TElementKsiazki(std::move(linie));
}
