#include "common/StanowiskoWiadomosci.h"

#include "gg/Liczby.h"
#include "gg/Pakiety.h"

#include <QTest>

TStanowiskoGG::TStanowiskoGG()
    : rejestr(katalog.filePath(QStringLiteral("p.conf")), QSettings::IniFormat),
      dziennik(katalog.filePath(QStringLiteral("p.log")), [] { return false; })
{
  rejestr.setValue(QStringLiteral("Ustawienia/SerwerAlternatywny"), QStringLiteral("1"));
  ustawienia = std::make_unique<TUstawienia>(rejestr, katalog.path());
  gg.UstawOdpowiedzNaLogowanie(GGAnsLoginOk);
  http.UstawOdpowiedz({TSerwerHttpGG::OdpowiedzWyszukiwania(gg.PortTekst())});
  sesja =
      std::make_unique<TSesjaGG>(drzewo, *ustawienia, dziennik, okno, TSesjaGG::TBazaKontaktow());
  sesja->UstawPortHttp(http.PortTekst());
}

bool TStanowiskoGG::Zaloguj(int ktore)
{
  if (ktore == 1)
    sesja->Start(1234, QStringLiteral("haslo"));
  else
    sesja->Polacz();
  return QTest::qWaitFor([&] {
    return gg.Polaczenia() >= ktore && sesja->Zalogowany() &&
           okno.panele[TOknoSesji::PanelPolaczenia] == QStringLiteral("Połączony z serwerem");
  });
}

QList<quint32> TStanowiskoGG::Stany(int nr) const
{
  QList<quint32> stany;
  for (const TPakietGG &p : gg.Pakiety(nr, GGReqNewStatus))
    stany << quint32(LEToInt(p.cialo));
  return stany;
}
