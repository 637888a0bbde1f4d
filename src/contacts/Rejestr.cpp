#include "contacts/Rejestr.h"

#include "contacts/ZapisUstawien.h"

namespace {

QString Klucz(const QString &sekcja, const QString &nazwa)
{
  return sekcja.isEmpty() ? nazwa : sekcja + u'/' + nazwa;
}

} // namespace

TKorzenRejestru::TKorzenRejestru(QSettings &rejestr) : m_rejestr(rejestr), m_grupa(rejestr.group())
{
  while (!m_rejestr.group().isEmpty())
    m_rejestr.endGroup();
}

TKorzenRejestru::~TKorzenRejestru()
{
  if (!m_grupa.isEmpty())
    m_rejestr.beginGroup(m_grupa);
}

QString CzytajTekst(QSettings &rejestr, const QString &sekcja, const QString &nazwa,
                    const QString &domyslny)
{
  TKorzenRejestru korzen(rejestr);
  const QVariant v = rejestr.value(Klucz(sekcja, nazwa));
  if (!v.isValid())
    return domyslny;
  // The INI reader splits unquoted commas into a list; a value typed by hand may have them.
  if (v.typeId() == QMetaType::QStringList)
    return v.toStringList().join(u',');
  return v.toString();
}

int CzytajLiczbe(QSettings &rejestr, const QString &sekcja, const QString &nazwa, int domyslna)
{
  const QString tekst = CzytajTekst(rejestr, sekcja, nazwa, QString());
  return StrToIntDef(tekst, domyslna);
}

bool CzytajLogiczna(QSettings &rejestr, const QString &sekcja, const QString &nazwa, bool domyslna)
{
  return CzytajLiczbe(rejestr, sekcja, nazwa, domyslna ? 1 : 0) != 0;
}

void ZatwierdzZapis(QSettings &rejestr, const QString &co)
{
  rejestr.sync();
  if (rejestr.status() != QSettings::NoError)
    throw ERejestr(QStringLiteral("Failed to set data for '%1'").arg(co));
}

bool UstawInnaWartosc(QSettings &rejestr, const QString &klucz, const QString &wartosc)
{
  const QVariant jest = rejestr.value(klucz);
  if (jest.isValid() && jest.typeId() == QMetaType::QString && jest.toString() == wartosc)
    return false;
  rejestr.setValue(klucz, wartosc);
  return true;
}

void ZapiszTekst(QSettings &rejestr, const QString &sekcja, const QString &nazwa,
                 const QString &wartosc)
{
  bool zmieniono = false;
  {
    TKorzenRejestru korzen(rejestr);
    zmieniono = UstawInnaWartosc(rejestr, Klucz(sekcja, nazwa), wartosc);
  }
  if (zmieniono)
    ZaplanujZapis(rejestr, nazwa);
}

void ZapiszLiczbe(QSettings &rejestr, const QString &sekcja, const QString &nazwa, int wartosc)
{
  ZapiszTekst(rejestr, sekcja, nazwa, QString::number(wartosc));
}

void ZapiszLogiczna(QSettings &rejestr, const QString &sekcja, const QString &nazwa, bool wartosc)
{
  ZapiszTekst(rejestr, sekcja, nazwa, wartosc ? QStringLiteral("1") : QStringLiteral("0"));
}

// The keys below a section, relative to it. Taken from the whole file: the INI reader parses
// sections lazily and misses "[a/b]" sections when asked for the children of "a".
static QStringList KluczePod(QSettings &rejestr, const QString &sekcja)
{
  TKorzenRejestru korzen(rejestr);
  const QString prefiks = sekcja + u'/';
  QStringList wynik;
  for (const QString &klucz : rejestr.allKeys())
    if (klucz.startsWith(prefiks))
      wynik.append(klucz.mid(prefiks.size()));
  return wynik;
}

bool IstniejeSekcja(QSettings &rejestr, const QString &sekcja)
{
  if (sekcja.isEmpty())
    return false;
  // Asked of the section's own group: the reader looks only at the keys below it, so the cost
  // does not grow with the number of other sections.
  bool jest = false;
  {
    TKorzenRejestru korzen(rejestr);
    rejestr.beginGroup(sekcja);
    jest = !rejestr.childKeys().isEmpty() || !rejestr.childGroups().isEmpty();
    rejestr.endGroup();
  }
  // The reader may not have parsed every section of a file it has just read, and a "[a/b]"
  // section hides an unparsed "[a]" one from this question: a miss is confirmed against the whole
  // file. Saving an existing contact never gets here.
  return jest || !KluczePod(rejestr, sekcja).isEmpty();
}

QStringList Podsekcje(QSettings &rejestr, const QString &sekcja)
{
  // allKeys() comes sorted by name, which is the order the registry lists subkeys in. One pass
  // over the whole file (see KluczePod), without copying the keys of the section first: start-up
  // reads every contact this way.
  TKorzenRejestru korzen(rejestr);
  const QString prefiks = sekcja + u'/';
  const qsizetype od = prefiks.size();
  QStringList nazwy;
  for (const QString &klucz : rejestr.allKeys()) {
    if (!klucz.startsWith(prefiks))
      continue;
    const qsizetype ukosnik = klucz.indexOf(u'/', od);
    if (ukosnik <= od)
      continue;
    const QStringView nazwa = QStringView(klucz).sliced(od, ukosnik - od);
    if (nazwy.isEmpty() || nazwy.back() != nazwa)
      nazwy.append(nazwa.toString());
  }
  nazwy.removeDuplicates();
  return nazwy;
}

void PrzeniesSekcje(QSettings &rejestr, const QString &z, const QString &na)
{
  if (z.isEmpty() || na.isEmpty() || z == na)
    return;
  const QStringList klucze = KluczePod(rejestr, z);
  {
    TKorzenRejestru korzen(rejestr);
    for (const QString &klucz : klucze)
      rejestr.setValue(na + u'/' + klucz, rejestr.value(z + u'/' + klucz));
    rejestr.remove(z);
  }
  ZaplanujZapis(rejestr, na);
}

void UsunSekcje(QSettings &rejestr, const QString &sekcja)
{
  if (sekcja.isEmpty())
    return; // an empty path would clear the whole file
  {
    TKorzenRejestru korzen(rejestr);
    rejestr.remove(sekcja);
  }
  ZaplanujZapis(rejestr, sekcja);
}
