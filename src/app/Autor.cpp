#include "app/Autor.h"

#include "app/Teksty.h"

namespace {

QString ZeSrodowiska(const char *zmienna, const char *domyslny)
{
  const QString wartosc = qEnvironmentVariable(zmienna);
  return wartosc.isEmpty() ? QString::fromLatin1(domyslny) : wartosc;
}

} // namespace

QString AdresWitryny()
{
  return ZeSrodowiska("PAPLANKI_WITRYNA", AdresWitrynyAutora);
}

QString AdresLicznika()
{
  return ZeSrodowiska("PAPLANKI_LICZNIK", AdresLicznikaAutora);
}

QString Sformatuj(const char *wzor, const QString &napis)
{
  return QString::asprintf(wzor, napis.toUtf8().constData());
}

QString AdresPocztyDoAutora(const QString &nazwa)
{
  QString temat = Sformatuj(TekstZapytanieO, nazwa);
  temat.replace(u' ', QStringLiteral("%20"));
  return QString::fromLatin1(AdresPocztyAutora) + QStringLiteral("?subject=") + temat;
}
