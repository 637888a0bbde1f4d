#include "program/OknaAplikacji.h"

#include "app/ui/FormaBezdokumentowaPozycjonowana.h"
#include "contacts/ui/FrmPaplankiDaneUzytkownika.h"
#include "contacts/ui/ProfileFrm.h"
#include "dialogs/ui/FrmStan.h"
#include "dialogs/ui/KatalogFrm.h"
#include "dialogs/ui/MojeDaneFrm.h"
#include "dialogs/ui/WypowiedzFrm.h"
#include "program/FrmPaplankiMain.h"

#include <QCoreApplication>

TOknaAplikacji::TOknaAplikacji()
{
  // The main window comes first: it is the application's main window. The three hidden frames
  // after it run the frame's creation again, so the hint handler ends with the last of them.
  FrmPaplankiMain = new TFrmPaplankiMain;
  QObject::connect(FrmPaplankiMain, &TFormaStandardowa::Zamknieto, qApp, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  FormaStandardowa = new TFormaStandardowa;
  FormaBezdokumentowa = new TFormaBezdokumentowa;
  FormaBezdokumentowaPozycjonowana = new TFormaBezdokumentowaPozycjonowana;
  FrmStan = new TFrmStan;
  KatalogFrm = new TKatalogFrm(FrmPaplankiMain->Katalog());
  MojeDaneFrm = new TMojeDaneFrm;
  ProfileFrm = new TProfileFrm;
  WypowiedzFrm = new TWypowiedzFrm;
  FrmPaplankiDaneUzytkownika = new TFrmPaplankiDaneUzytkownika;
}

namespace {
template <typename T> void Zniszcz(T *&okno)
{
  delete okno;
  okno = nullptr;
}
} // namespace

TOknaAplikacji::~TOknaAplikacji()
{
  Zniszcz(FrmPaplankiDaneUzytkownika);
  Zniszcz(WypowiedzFrm);
  Zniszcz(ProfileFrm);
  Zniszcz(MojeDaneFrm);
  Zniszcz(KatalogFrm);
  Zniszcz(FrmStan);
  Zniszcz(FormaBezdokumentowaPozycjonowana);
  Zniszcz(FormaBezdokumentowa);
  Zniszcz(FormaStandardowa);
  Zniszcz(FrmPaplankiMain);
}

TFrmPaplankiMain *TOknaAplikacji::Glowne() const
{
  return FrmPaplankiMain;
}
