#include "contacts/Stany.h"

const TOpisStanu *OpisStanu(quint32 kod)
{
  for (const TOpisStanu &opis : TabelaStanow)
    if (opis.kod == kod || (opis.zOpisem != 0 && opis.zOpisem == kod))
      return &opis;
  return nullptr;
}

quint32 StanBezOpisu(quint32 kod)
{
  const quint32 bezFlagi = kod & ~StanGG::TylkoDlaPrzyjaciol;
  const TOpisStanu *opis = OpisStanu(bezFlagi);
  return opis ? opis->kod : bezFlagi;
}

bool StanZOpisemJest(quint32 kod)
{
  const TOpisStanu *opis = OpisStanu(kod);
  return opis && opis->zOpisem == kod;
}

int ObrazStanuWlasnego(quint32 kod, bool zalogowany)
{
  const TOpisStanu *opis = OpisStanu(kod & ~StanGG::TylkoDlaPrzyjaciol);
  if (!zalogowany || !opis)
    return ObrazWezla::GlosnikSzary;
  return opis->obrazWlasny;
}
