#include "app/Lokalizacje.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace {

constexpr QFile::Permissions TylkoWlasciciel = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions KatalogWlasciciela =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// Creates the folder and its missing parents, each owner-only.
void UtworzKatalogPrywatny(const QString &sciezka)
{
  QStringList brakujace;
  for (QString k = QDir::cleanPath(sciezka); !k.isEmpty() && !QFileInfo::exists(k);
       k = QFileInfo(k).path()) {
    brakujace.prepend(k);
    if (QFileInfo(k).path() == k)
      break;
  }
  for (const QString &k : brakujace)
    QDir().mkdir(k, KatalogWlasciciela);
}

} // namespace

QString SciezkaUstawien(const QString &nazwaProduktu)
{
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Kolbiny/") + nazwaProduktu + QStringLiteral(".conf");
}

QString KatalogDanych(const QString &nazwaProduktu)
{
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/Kolbiny/") + nazwaProduktu;
}

std::unique_ptr<QSettings> OtworzRejestr(const QString &nazwaProduktu)
{
  return std::make_unique<QSettings>(SciezkaUstawien(nazwaProduktu), QSettings::IniFormat);
}

void ZabezpieczUstawienia(const QString &nazwaProduktu)
{
  const QString plik = SciezkaUstawien(nazwaProduktu);
  UtworzKatalogPrywatny(QFileInfo(plik).path());
  UtworzKatalogPrywatny(KatalogDanych(nazwaProduktu));
  if (!QFileInfo::exists(plik)) {
    // Created empty with its final permissions; later writes replace it keeping them.
    QFile nowy(plik);
    nowy.open(QIODevice::WriteOnly | QIODevice::NewOnly, TylkoWlasciciel);
    return;
  }
  const QFile::Permissions inni = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                  QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
  if (QFile::permissions(plik) & inni)
    QFile::setPermissions(plik, TylkoWlasciciel);
}
