#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// What a message box showed, read by OdpowiedzNaKomunikat.
struct TOdczytanyKomunikat {
  bool Pokazany = false;
  QString Tytul;
  QString Tekst;
  QMessageBox::Icon Ikona = QMessageBox::NoIcon;
  QStringList Przyciski; // button texts as shown
  QString Domyslny;      // text of the default button
};

// Reads the next modal message box and presses the button whose text is `przycisk` (the default
// button when empty). The result is filled when the box has been answered. `przedOdpowiedzia`
// runs while the box is up, before it is answered.
std::shared_ptr<TOdczytanyKomunikat>
OdpowiedzNaKomunikat(const QString &przycisk = QString(), int limitMs = 5000,
                     std::function<void()> przedOdpowiedzia = {});
