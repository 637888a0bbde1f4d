// The own status: the one place that announces it to the server.

#include "gg/Sesja.h"

#include "gg/OknoSesji.h"
#include "gg/Pakiety.h"
#include "gg/SesjaPakiety.h"

void TSesjaGG::UstawStan(quint32 status, const QString &opis, const QDateTime &czasPowrotu)
{
  // Compared with the status as given: one that the description turns into another code never
  // counts as unchanged.
  if (m_stanWlasny == status && m_opisWlasny == opis && m_czasPowrotu == czasPowrotu)
    return;
  const quint32 kod = StanZOpisem(status, opis, czasPowrotu);
  m_stanWlasny = kod;
  m_opisWlasny = opis;
  m_czasPowrotu = czasPowrotu;
  Loguj(QStringLiteral("ZmianyStanu"), NazwaStanu(kod));
  // Sent whether connected or not: a refused send is a lost connection like any other.
  WyslijPakiet(GGReqNewStatus, CialoNowegoStanu(kod, opis, czasPowrotu));
}

QString TSesjaGG::NazwaStanu(quint32 kod)
{
  m_okno.UstawTekstPanelu(TOknoSesji::PanelOpisu, m_opisWlasny);
  const QString nazwa = NazwaKoduStanu(kod);
  m_okno.UstawTekstPanelu(TOknoSesji::PanelStanu, nazwa);
  return nazwa;
}
