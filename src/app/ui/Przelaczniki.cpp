#include "app/ui/Przelaczniki.h"

#include "app/SkrotNaPulpicie.h"
#include "app/Teksty.h"
#include "app/ui/Powloka.h"

bool ObsluzPrzelaczniki(const QString &argument)
{
  const bool przelacznik = argument == PrzelacznikNaInternet || argument == PrzelacznikZarejestruj;
  if (argument == PrzelacznikNaInternet) {
    // This build carries no publishing routine, so publishing always fails.
    OknoKomunikatu(nullptr, TekstNieWyslanoPlikow.toString(), TekstBladTransferu.toString(),
                   Komunikat::PrzyciskOk | Komunikat::IkonaBledu);
  }
  if (argument == PrzelacznikZarejestruj)
    UtworzSkrotNaPulpicie(TytulSkrotu.toString());
  return przelacznik;
}
