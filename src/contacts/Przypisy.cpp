#include "contacts/Przypisy.h"

#include "net/Blad.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QStringList CzytajPrzypisy(const QString &plik)
{
  QFile f(plik);
  if (!f.open(QIODevice::ReadOnly))
    throw EBlad(QStringLiteral("Nie można otworzyć pliku \"%1\". %2").arg(plik, f.errorString()));
  const QString tekst = QString::fromUtf8(f.readAll());
  if (f.error() != QFileDevice::NoError)
    throw EBlad(QStringLiteral("Błąd odczytu pliku \"%1\". %2").arg(plik, f.errorString()));

  QStringList linie;
  qsizetype poczatek = 0;
  for (qsizetype i = 0; i < tekst.size(); ++i) {
    const QChar z = tekst[i];
    if (z != u'\r' && z != u'\n')
      continue;
    linie.append(tekst.mid(poczatek, i - poczatek));
    if (z == u'\r' && i + 1 < tekst.size() && tekst[i + 1] == u'\n')
      ++i;
    poczatek = i + 1;
  }
  if (poczatek < tekst.size())
    linie.append(tekst.mid(poczatek));
  return linie;
}

void ZapiszPrzypisy(const QString &plik, const QStringList &linie)
{
  const QString katalog = QFileInfo(plik).absolutePath();
  if (!QDir().mkpath(katalog))
    throw EBlad(QStringLiteral("Nie można utworzyć folderu \"%1\".").arg(katalog));
  QSaveFile f(plik);
  if (!f.open(QIODevice::WriteOnly))
    throw EBlad(QStringLiteral("Nie można utworzyć pliku \"%1\". %2").arg(plik, f.errorString()));
  QByteArray dane;
  for (const QString &linia : linie)
    dane += linia.toUtf8() + "\r\n";
  if (f.write(dane) != dane.size() || !f.commit())
    throw EBlad(QStringLiteral("Błąd zapisu pliku \"%1\". %2").arg(plik, f.errorString()));
}

QStringList LinieTekstu(const QString &tekst)
{
  return tekst.isEmpty() ? QStringList() : tekst.split(u'\n');
}

QString TekstLinii(const QStringList &linie)
{
  return linie.join(u'\n');
}
