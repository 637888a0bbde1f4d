#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// One archived message, sent or received.
struct TWiadomoscArchiwum {
  enum Kierunek { Odebrana = 0, Wyslana = 1 };

  qint64 id = 0;
  int kierunek = Odebrana;
  int numer = 0; // the other party: sender of a received, recipient of a sent message
  int sekwencja = 0;
  qint64 czasNadania = 0;   // Unix seconds from the packet (received)
  QDateTime czasUtworzenia; // when it was written (sent); null for received
  QDateTime czasZapisu;     // when it entered the tree
  int status = 0;           // delivery status (received: 2)
  bool przeczytana = false; // received: one of its lines was selected
  bool wDrzewie = true;     // false once its node was deleted by the user
  qint64 odpowiedzNa = 0;   // the message it answers (its node's parent), 0 for none
  int glebokosc = 0;        // how deep the answer chain goes (0: under a contact)
  QList<int> uczestnicy;    // a conference: sender first, then the listed numbers
  QString tekst;
};

// One queued change of the archive, carried from the UI thread to the writer.
struct TOperacjaArchiwum {
  enum Rodzaj : quint8 { Wiadomosc, Status, Potwierdzenie, Przeczytana, Usunieta };
  Rodzaj rodzaj = Wiadomosc;
  qint64 id = 0;
  int sekwencja = 0;
  int status = 0;
  qint64 czas = 0;              // ms since the epoch (reports)
  TWiadomoscArchiwum wiadomosc; // Wiadomosc only
};
