#include "app/BlokWersji.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <functional>

namespace {

// Held inverted: the plain signature must exist in the program file only once, in the block.
constexpr std::array<unsigned char, 16> OdwroconaSygnatura = {
    0x80, 0xB4, 0x90, 0x93, 0x9D, 0x96, 0x91, 0x86, 0xA8, 0x9A, 0x8D, 0x8C, 0x95, 0x9E, 0xFE, 0xFD};

constexpr char ZnacznikKonca[] = "\x03KONIEC-WERSJI\x04";

// Nothing the program writes comes near this; a larger "block" is a false match.
constexpr qsizetype NajwiekszyBlok = 64 * 1024;

// Length of the block starting at `poczatek` (signature included), or -1 when malformed.
qsizetype DlugoscBloku(QByteArrayView dane, qsizetype poczatek, qsizetype dlugoscSygnatury)
{
  const QByteArrayView koniec(ZnacznikKonca, sizeof(ZnacznikKonca) - 1);
  const qsizetype granica = std::min(dane.size(), poczatek + NajwiekszyBlok);
  qsizetype i = poczatek + dlugoscSygnatury;
  for (;;) {
    if (i >= granica)
      return -1;
    if (dane[i] == '\0') {
      ++i;
      if (i + koniec.size() > granica || dane.sliced(i, koniec.size()) != koniec)
        return -1;
      return i + koniec.size() - poczatek;
    }
    // A path, then its value: two zero-terminated texts.
    for (int tekst = 0; tekst < 2; ++tekst) {
      while (i < granica && dane[i] != '\0')
        ++i;
      if (i >= granica)
        return -1;
      ++i;
    }
  }
}

} // namespace

QByteArray SygnaturaBlokuWersji()
{
  QByteArray wynik(qsizetype(OdwroconaSygnatura.size()), Qt::Uninitialized);
  for (std::size_t i = 0; i < OdwroconaSygnatura.size(); ++i)
    wynik[qsizetype(i)] = char(~OdwroconaSygnatura[i]);
  return wynik;
}

QByteArray ZnacznikKoncaBlokuWersji()
{
  return QByteArray(ZnacznikKonca, sizeof(ZnacznikKonca) - 1);
}

QByteArray ZnajdzBlokWersji(QByteArrayView dane)
{
  const QByteArray sygnatura = SygnaturaBlokuWersji();
  const std::boyer_moore_horspool_searcher szukacz(sygnatura.begin(), sygnatura.end());
  auto od = dane.begin();
  for (;;) {
    const auto trafienie = std::search(od, dane.end(), szukacz);
    if (trafienie == dane.end())
      return {};
    const qsizetype poczatek = trafienie - dane.begin();
    const qsizetype dlugosc = DlugoscBloku(dane, poczatek, sygnatura.size());
    if (dlugosc > 0)
      return dane.sliced(poczatek, dlugosc).toByteArray();
    od = trafienie + 1;
  }
}

QByteArray CzytajBlokWersjiZPliku(const QString &sciezka)
{
  QFile plik(sciezka);
  if (!plik.open(QIODevice::ReadOnly))
    return {};
  const qint64 rozmiar = plik.size();
  if (rozmiar <= 0)
    return {};
  if (const uchar *mapa = plik.map(0, rozmiar)) {
    QByteArray blok = ZnajdzBlokWersji(QByteArrayView(mapa, qsizetype(rozmiar)));
    plik.unmap(const_cast<uchar *>(mapa));
    return blok;
  }
  return ZnajdzBlokWersji(plik.readAll());
}

std::optional<QString> WartoscWersji(const QByteArray &blok, QStringView sciezka)
{
  const QByteArray szukana = sciezka.toUtf8();
  const qsizetype dlugoscSygnatury = SygnaturaBlokuWersji().size();
  if (blok.size() <= dlugoscSygnatury)
    return std::nullopt;
  qsizetype i = dlugoscSygnatury;
  while (i < blok.size() && blok[i] != '\0') {
    const qsizetype koniecSciezki = blok.indexOf('\0', i);
    if (koniecSciezki < 0)
      break;
    const qsizetype koniecWartosci = blok.indexOf('\0', koniecSciezki + 1);
    if (koniecWartosci < 0)
      break;
    if (QByteArrayView(blok).sliced(i, koniecSciezki - i) == szukana)
      return QString::fromUtf8(blok.constData() + koniecSciezki + 1,
                               koniecWartosci - koniecSciezki - 1);
    i = koniecWartosci + 1;
  }
  return std::nullopt;
}

QByteArray ZbudujBlokWersji(const QList<QPair<QString, QString>> &wartosci)
{
  QByteArray blok = SygnaturaBlokuWersji();
  for (const auto &[sciezka, wartosc] : wartosci) {
    blok += sciezka.toUtf8();
    blok += '\0';
    blok += wartosc.toUtf8();
    blok += '\0';
  }
  blok += '\0';
  blok += ZnacznikKoncaBlokuWersji();
  return blok;
}
