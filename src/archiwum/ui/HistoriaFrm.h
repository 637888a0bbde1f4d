#pragma once

#include "archiwum/Archiwum.h"

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QPushButton;
class TModelRozmowy;

// "Historia": the whole conversation with one contact, newest last, threaded as in the tree and
// loaded a page at a time; full-text search over every conversation with a jump to the message
// found; export of the conversation to a text or HTML file. Every control can be reached from the
// keyboard (the labels carry accelerators) and has a name for screen readers.
class THistoriaFrm : public QDialog {
  Q_OBJECT
public:
  // `nazwaProduktu` starts the captions of its message boxes.
  explicit THistoriaFrm(TArchiwum &archiwum, QWidget *rodzic = nullptr,
                        const QString &nazwaProduktu = QString());

  // Shows the conversation with `numer` and brings the window up; with `id` that message is
  // selected, otherwise the newest.
  void Pokaz(int numer, qint64 id = 0);
  // Searches for the text of SzukajEd; the hits fill WynikiLW, newest first.
  void Szukaj();
  // Opens the conversation of hit `wiersz` at that message.
  void PrzejdzDoWyniku(int wiersz);
  // Writes the shown conversation (EksportujBtn asks for the file first).
  bool Eksportuj(const QString &plik, bool html);

  static constexpr int NajwiecejWynikow = 500;

  QLineEdit *SzukajEd;
  QPushButton *SzukajBtn;
  QListWidget *WynikiLW;
  QLabel *RozmowaLbl;
  QListView *RozmowaLV;
  QPushButton *EksportujBtn;
  QPushButton *ZamknijBtn;
  TModelRozmowy *Model;

private:
  void EksportujBtnClick();
  void PrzewinietoRozmowe(int wartosc);

  TArchiwum &m_archiwum;
  QString m_nazwaProduktu;
  QList<TTrafienie> m_trafienia;
};
