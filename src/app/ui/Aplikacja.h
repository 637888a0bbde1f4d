#pragma once

#include <QApplication>

#include <functional>

// The application object: no exception ever leaves an event handler into Qt's event loop; it ends
// the command that raised it and shows up in the standard error box.
class TAplikacja : public QApplication {
  Q_OBJECT
public:
  TAplikacja(int &argc, char **argv);
  bool notify(QObject *odbiorca, QEvent *zdarzenie) override;
};

// Runs `dzialanie`; an EBlad or std::exception it throws is shown in the standard error box
// (caption: the application title and " - Błąd"). True when nothing was thrown.
bool WykonajZObslugaBledow(const std::function<void()> &dzialanie);

// The standard error box for `komunikat`.
void PokazBladAplikacji(const QString &komunikat);
