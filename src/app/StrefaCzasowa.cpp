#include "app/StrefaCzasowa.h"

#include <QFile>
#include <QtGlobal>

#include <ctime>

bool UstalStrefeCzasowa(const QString &plikStrefy)
{
  if (qEnvironmentVariableIsSet("TZ") || !QFile::exists(plikStrefy))
    return false;
  qputenv("TZ", QFile::encodeName(u':' + plikStrefy));
  tzset();
  return true;
}
