#pragma once

#include "gg/WysylanieWiadomosci.h"

class QWidget;

// The send-message command with the program's own dialogs: the compose dialog WypowiedzFrm, the
// number box "Numer adresata" over `rodzic`, and the current choice of the status dialog FrmStan.
TWysylanieWiadomosci WysylanieZOknami(TSesjaGG &sesja, TDrzewo &drzewo, TUstawienia &ustawienia,
                                      bool &piszeWiadomosc, TWysylanieWiadomosci::TRozwin rozwin,
                                      QWidget *rodzic);
