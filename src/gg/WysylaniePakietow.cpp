#include "gg/WysylaniePakietow.h"

#include "gg/Pakiety.h"
#include "net/Gniazdo.h"

int WyslijPakiet(TGniazdo &gniazdo, qint32 typ, const QByteArray &cialo)
{
  return gniazdo.SendString(ZbudujRamke(typ, cialo));
}
