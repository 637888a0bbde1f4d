#include "gg/OknoSesji.h"

TOknoSesji::~TOknoSesji() = default;

void TOknoSesji::Display(const QString &tekst)
{
  PokazKomunikat(tekst, QStringLiteral("Informacja"), 0);
}

void TOknoSesji::ZmienionoPolaczenie(TPowodRozlaczenia, const QString &) {}
