#include "common/OknaPowloki.h"

#include "common/Srodowisko.h"

#include <QAbstractButton>
#include <QPushButton>

std::shared_ptr<TOdczytanyKomunikat> OdpowiedzNaKomunikat(const QString &przycisk, int limitMs,
                                                          std::function<void()> przedOdpowiedzia)
{
  auto odczyt = std::make_shared<TOdczytanyKomunikat>();
  OdpowiedzNaOknoModalne(
      [odczyt, przycisk, przedOdpowiedzia](QWidget *okno) {
        auto box = qobject_cast<QMessageBox *>(okno);
        if (!box) {
          okno->close();
          return;
        }
        odczyt->Pokazany = true;
        if (przedOdpowiedzia)
          przedOdpowiedzia();
        odczyt->Tytul = box->windowTitle();
        odczyt->Tekst = box->text();
        odczyt->Ikona = box->icon();
        QAbstractButton *wybrany = box->defaultButton();
        if (wybrany)
          odczyt->Domyslny = wybrany->text();
        for (QAbstractButton *b : box->buttons()) {
          odczyt->Przyciski << b->text();
          if (!przycisk.isEmpty() && b->text() == przycisk)
            wybrany = b;
        }
        if (!wybrany && !box->buttons().isEmpty())
          wybrany = box->buttons().constFirst();
        if (wybrany)
          wybrany->click();
        else
          box->close();
      },
      limitMs);
  return odczyt;
}
