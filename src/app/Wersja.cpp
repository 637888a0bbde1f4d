#include "app/Wersja.h"

#include "app/BlokWersji.h"
#include "app/Teksty.h"

#include <QFile>
#include <QStringList>

#ifndef PAPLANKI_WERSJA
#error "PAPLANKI_WERSJA must come from the build (the project version)"
#endif

// The program's version block. `used` and `retain` keep it in every program file that links
// this unit, although no code refers to it: it is found by reading the file. External linkage
// keeps a second copy of it out of the debugging information.
extern const char BlokWersjiProgramu[];
[[gnu::used, gnu::retain]] const char BlokWersjiProgramu[] =
    "\x7F"
    "KolbinyWersja"
    "\x01\x02"
    "\\FixedFileInfo\\FileVersion\0" PAPLANKI_WERSJA "\0"
    "\\FixedFileInfo\\ProductVersion\0" PAPLANKI_WERSJA "\0"
    "\\VarFileInfo\\Translation\0"
    "04E20415\0"
    "\\StringFileInfo\\041504E2\\CompanyName\0"
    "Kolbiny\0"
    "\\StringFileInfo\\041504E2\\FileDescription\0"
    "Komunikator sieci GG\0"
    "\\StringFileInfo\\041504E2\\FileVersion\0" PAPLANKI_WERSJA "\0"
    "\\StringFileInfo\\041504E2\\InternalName\0"
    "paplanki\0"
    "\\StringFileInfo\\041504E2\\LegalCopyright\0"
    "Copyright © 2004 Kolbiny\0"
    "\\StringFileInfo\\041504E2\\ProductName\0"
    "Paplanki (GG)\0"
    "\\StringFileInfo\\041504E2\\ProductUrl\0"
    "http://www.kolbiny.example/paplanki/\0"
    "\\StringFileInfo\\041504E2\\ProductVersion\0" PAPLANKI_WERSJA "\0"
    "\0"
    "\x03KONIEC-WERSJI\x04";

namespace {

quint64 JakoLiczba(const TNumerWersji &w)
{
  return (quint64(w.Starszy) << 32) | w.Mlodszy;
}

} // namespace

TNumerWersji RozbierzWersje(const QString &tekst)
{
  const QStringList czesci = tekst.split(u'.');
  if (czesci.size() != 4)
    return {};
  quint32 n[4];
  for (int i = 0; i < 4; ++i) {
    bool ok = false;
    const uint v = czesci[i].toUInt(&ok);
    if (!ok || v > 0xFFFF)
      return {};
    n[i] = v;
  }
  return {(n[0] << 16) | n[1], (n[2] << 16) | n[3]};
}

bool CzytajWersje(const QString &sciezka, QByteArray &blok, QString &nazwaProduktu,
                  QString &adresProduktu, QString &prawaAutorskie, quint64 &wersjaProduktu)
{
  wersjaProduktu = 0;
  nazwaProduktu.clear();
  adresProduktu.clear();
  prawaAutorskie.clear();
  blok = CzytajBlokWersjiZPliku(sciezka);
  if (blok.isEmpty())
    return false;

  wersjaProduktu = JakoLiczba(
      RozbierzWersje(WartoscWersji(blok, u"\\FixedFileInfo\\ProductVersion").value_or(QString())));

  const auto tlumaczenia = WartoscWersji(blok, u"\\VarFileInfo\\Translation");
  if (!tlumaczenia)
    return true;
  bool ok = false;
  const quint32 pierwsze =
      tlumaczenia->section(u' ', 0, 0, QString::SectionSkipEmpty).toUInt(&ok, 16);
  if (!ok)
    return true;
  const QString cyfry = QStringLiteral("%1%2")
                            .arg(pierwsze & 0xFFFF, 4, 16, QLatin1Char('0'))
                            .arg(pierwsze >> 16, 4, 16, QLatin1Char('0'))
                            .toUpper();
  const QString podblok = QStringLiteral("\\StringFileInfo\\") + cyfry + u'\\';
  const auto napis = [&](const char *nazwa) {
    return WartoscWersji(blok, QString(podblok + QLatin1String(nazwa))).value_or(QString());
  };
  nazwaProduktu = napis("ProductName");
  adresProduktu = napis("ProductUrl");
  prawaAutorskie = napis("LegalCopyright");
  return true;
}

void ZwolnijWersje(QByteArray &blok)
{
  blok.clear();
  blok.squeeze();
}

TNumerWersji WersjaPliku(const QString &sciezka)
{
  const QByteArray blok = CzytajBlokWersjiZPliku(sciezka);
  if (blok.isEmpty())
    return {};
  return RozbierzWersje(WartoscWersji(blok, u"\\FixedFileInfo\\FileVersion").value_or(QString()));
}

TNumerWersji CzytajPlikWersji(const QString &sciezka)
{
  QFile plik(sciezka);
  if (!plik.open(QIODevice::ReadOnly))
    return {};
  const QByteArray dane = plik.read(8);
  // A short file leaves the missing high bytes zero, as reading into zeroed numbers does.
  const auto liczba = [&](qsizetype od) {
    quint32 wynik = 0;
    for (qsizetype i = 0; i < 4 && od + i < dane.size(); ++i)
      wynik |= quint32(quint8(dane[od + i])) << (8 * i);
    return wynik;
  };
  return {liczba(0), liczba(4)};
}

int PorownajWersje(quint32 a1, quint32 a2, quint32 b1, quint32 b2)
{
  if (a1 != b1)
    return a1 < b1 ? -1 : 1;
  if (a2 != b2)
    return a2 < b2 ? -1 : 1;
  return 0;
}

QString LiniaWersji(const QString &nazwa, quint64 wersja)
{
  return QString::asprintf(TekstLiniiWersji, nazwa.toUtf8().constData(),
                           int((wersja >> 48) & 0xFFFF), int((wersja >> 32) & 0xFFFF),
                           int((wersja >> 16) & 0xFFFF), int(wersja & 0xFFFF));
}
