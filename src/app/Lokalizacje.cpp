#include "app/Lokalizacje.h"

#include <QStandardPaths>

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
