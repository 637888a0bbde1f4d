// What keyboard and screen-reader users need beyond the designed window: the status dialog
// from the menu, and names for the tree and the status panels.

#include "program/FrmPaplankiMain.h"

#include "app/ui/Aplikacja.h"
#include "contacts/ui/WidokDrzewa.h"

#include <QAction>
#include <QMenu>

void TFrmPaplankiMain::ZbudujDostepnosc()
{
  // Otherwise only a double click on the status bar reaches the status dialog.
  ZmienStan1 = new QAction(QStringLiteral("Zmień stan..."), FileMenu);
  ZmienStan1->setObjectName(QStringLiteral("ZmienStan1"));
  ZmienStan1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
  ZmienStan1->setShortcutContext(Qt::WindowShortcut);
  FileMenu->insertAction(N3, ZmienStan1);
  addAction(ZmienStan1);
  connect(ZmienStan1, &QAction::triggered, this,
          [this] { WykonajZObslugaBledow([this] { StatusBar1DblClick(); }); });

  TreeView1->setAccessibleName(QStringLiteral("Rozmowy"));
  const QString nazwy[] = {QStringLiteral("Stan"), QStringLiteral("Opis stanu"),
                           QStringLiteral("Połączenie")};
  for (int i = 0; i < StatusBar1->LiczbaPaneli() && i < 3; ++i)
    StatusBar1->UstawNazwePanelu(i, nazwy[i]);
}
