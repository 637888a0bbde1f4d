#include "gg/OknoSesji.h"

#include "gg/Dzwiek.h"

TOknoSesji::~TOknoSesji() = default;

void TOknoSesji::Display(const QString &tekst)
{
  PokazKomunikat(tekst, QStringLiteral("Informacja"), 0);
}

void TOknoSesji::ZmienionoPolaczenie(TPowodRozlaczenia, const QString &) {}

void TOknoSesji::PokazInformacje(const QString &tekst)
{
  PokazKomunikat(tekst, QStringLiteral("Informacja"), 0);
}

void TOknoSesji::PrzywolajOkno() {}

void TOknoSesji::UczynWidocznym(TWezel *) {}

bool TOknoSesji::IdleTmrDziala() const
{
  return true;
}

void TOknoSesji::DzwiekNowejWiadomosci()
{
  OdtworzDzwiekNowejWiadomosci();
}

void TOknoSesji::OdrzuconoWiadomosc(const TOdrzuconaWiadomosc &) {}
