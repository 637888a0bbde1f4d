#include "dialogs/ui/WysylanieZOknami.h"

#include "app/ui/ZapytanieOTekst.h"
#include "dialogs/ui/FrmStan.h"
#include "dialogs/ui/WypowiedzFrm.h"

#include <QPointer>

#include <utility>

TWysylanieWiadomosci WysylanieZOknami(TSesjaGG &sesja, TDrzewo &drzewo, TUstawienia &ustawienia,
                                      bool &piszeWiadomosc, TWysylanieWiadomosci::TRozwin rozwin,
                                      QWidget *rodzic)
{
  QPointer<QWidget> okno = rodzic;
  return TWysylanieWiadomosci(
      sesja, drzewo, ustawienia, piszeWiadomosc,
      [](const QString &komentowana, QString &odpowiedz) {
        return WypowiedzFrm && WypowiedzFrm->Napisz(komentowana, odpowiedz);
      },
      [okno](QString &numer, const QString &blad) {
        const QString pytanie = QStringLiteral("Numer adresata");
        return InputQuery(QStringLiteral("Wysyłanie wiadomości"),
                          blad.isEmpty() ? pytanie : blad + u'\n' + pytanie, numer, okno);
      },
      [] {
        TWysylanieWiadomosci::TStanDialogu stan;
        if (FrmStan) {
          stan.stan = FrmStan->WybranyStan;
          stan.opis = FrmStan->Informacja();
        }
        return stan;
      },
      std::move(rozwin));
}
