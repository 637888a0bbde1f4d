#include "gg/Dziennik.h"

#include "app/DataCzas.h"
#include "gg/StronyKodowe.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include <algorithm>

#include <utility>

namespace {

// The section name of a header line "[name]", or a null string for any other line.
QString NazwaSekcji(const QString &linia)
{
  const QString t = linia.trimmed();
  if (!t.startsWith(u'['))
    return QString();
  const qsizetype koniec = t.indexOf(u']');
  if (koniec < 0)
    return QString();
  return t.mid(1, koniec - 1).trimmed();
}

bool TenSam(const QString &a, const QString &b)
{
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

TDziennik::TDziennik(QString sciezkaPliku, TCzyLogowac czyLogowac)
    : m_sciezka(std::move(sciezkaPliku)), m_czyLogowac(std::move(czyLogowac))
{
}

QString TDziennik::SciezkaDziennika(const QString &sciezkaProgramu)
{
  return sciezkaProgramu + QStringLiteral(".log");
}

void TDziennik::Loguj(const QString &kategoria, const QString &tekst)
{
  // Counted before the switch is asked, so that gaps in the file show the events left out.
  ++m_licznik;
  if (!m_czyLogowac || !m_czyLogowac())
    return;
  const QString klucz =
      DataCzasNaTekst(QDateTime::currentDateTime()) + u' ' + QString::number(m_licznik);
  DopiszWpisIni(m_sciezka, kategoria, klucz, tekst, m_koniec);
}

namespace {

// The last section header within the final stretch of the file, and whether the file ends with
// a line break. A header further back than the stretch is not looked for: a fresh header costs
// one line.
void CzytajKoniec(QFile &plik, qint64 rozmiar, QString &sekcja, bool &koniecLinii)
{
  constexpr qint64 Zasieg = 64 * 1024;
  sekcja = QString();
  koniecLinii = true;
  if (rozmiar <= 0)
    return;
  const qint64 od = std::max<qint64>(0, rozmiar - Zasieg);
  if (!plik.seek(od))
    return;
  const QByteArray ogon = plik.read(rozmiar - od);
  koniecLinii = ogon.endsWith('\n');
  qsizetype koniec = ogon.size();
  while (koniec > 0) {
    const qsizetype poczatek = ogon.lastIndexOf('\n', koniec - 1) + 1;
    // The first line of the stretch may be a piece of a longer one.
    if (poczatek == 0 && od > 0)
      break;
    const QString nazwa = NazwaSekcji(QString::fromUtf8(ogon.sliced(poczatek, koniec - poczatek)));
    if (!nazwa.isNull()) {
      sekcja = nazwa;
      return;
    }
    koniec = poczatek - 1;
  }
}

} // namespace

bool DopiszWpisIni(const QString &sciezka, const QString &sekcja, const QString &klucz,
                   const QString &wartosc, TKoniecIni &koniec)
{
  // A line break in any of them would tear the entry apart.
  const QString nazwaSekcji = EscapeControls(sekcja);
  QFile plik(sciezka);
  // The log may hold a password: a new file is for its owner's eyes only. An existing file
  // keeps the mode it has.
  if (!plik.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered,
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner))
    return false;
  const qint64 rozmiar = plik.size();
  QByteArray wpis;
  if (rozmiar != koniec.Rozmiar) {
    bool koniecLinii = true;
    CzytajKoniec(plik, rozmiar, koniec.Sekcja, koniecLinii);
    if (!koniecLinii)
      wpis += '\n';
  }
  if (koniec.Sekcja.isNull() || !TenSam(koniec.Sekcja, nazwaSekcji))
    wpis += (u'[' + nazwaSekcji + QStringLiteral("]\n")).toUtf8();
  wpis += (EscapeControls(klucz) + u'=' + EscapeControls(wartosc) + u'\n').toUtf8();
  if (!plik.seek(rozmiar) || plik.write(wpis) != wpis.size()) {
    koniec = TKoniecIni();
    return false;
  }
  koniec.Sekcja = nazwaSekcji;
  koniec.Rozmiar = rozmiar + wpis.size();
  return true;
}

bool ZapiszWpisIni(const QString &sciezka, const QString &sekcja, const QString &klucz,
                   const QString &wartosc)
{
  // A line break in any of them would tear the entry apart.
  const QString nazwaSekcji = EscapeControls(sekcja);
  const QString nazwaKlucza = EscapeControls(klucz);
  const QString nowaLinia = nazwaKlucza + u'=' + EscapeControls(wartosc);

  QStringList linie;
  {
    QFile plik(sciezka);
    if (plik.open(QIODevice::ReadOnly)) {
      const QString tresc = QString::fromUtf8(plik.readAll());
      if (!tresc.isEmpty()) {
        linie = tresc.split(u'\n');
        if (linie.last().isEmpty())
          linie.removeLast();
        for (QString &l : linie)
          if (l.endsWith(u'\r'))
            l.chop(1);
      }
    }
  }

  qsizetype poczatek = -1;
  for (qsizetype i = 0; i < linie.size(); ++i) {
    const QString nazwa = NazwaSekcji(linie[i]);
    if (!nazwa.isNull() && TenSam(nazwa, nazwaSekcji)) {
      poczatek = i;
      break;
    }
  }
  if (poczatek < 0) {
    linie << u'[' + nazwaSekcji + u']' << nowaLinia;
  } else {
    qsizetype koniec = poczatek + 1;
    while (koniec < linie.size() && NazwaSekcji(linie[koniec]).isNull())
      ++koniec;
    bool zastapiono = false;
    qsizetype poOstatnim = poczatek + 1; // just after the section's last non-blank line
    for (qsizetype i = poczatek + 1; i < koniec; ++i) {
      const QString &l = linie[i];
      if (l.trimmed().isEmpty())
        continue;
      poOstatnim = i + 1;
      const qsizetype rownosc = l.indexOf(u'=');
      if (rownosc >= 0 && TenSam(l.left(rownosc).trimmed(), nazwaKlucza)) {
        linie[i] = nowaLinia;
        zastapiono = true;
        break;
      }
    }
    if (!zastapiono)
      linie.insert(poOstatnim, nowaLinia);
  }

  const bool nowy = !QFile::exists(sciezka);
  QSaveFile plik(sciezka);
  if (!plik.open(QIODevice::WriteOnly))
    return false;
  // The log may hold a password: a new file is for its owner's eyes only. An existing file
  // keeps the mode it has.
  if (nowy && !plik.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
    plik.cancelWriting();
    return false;
  }
  plik.write((linie.join(u'\n') + u'\n').toUtf8());
  return plik.commit();
}
