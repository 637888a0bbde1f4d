#pragma once

#include "net/Blad.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The address book that stands in for the Outlook contacts folder: a vCard file in the data
// folder. Only read, never written.

// The address book cannot be reached: the file is missing or unreadable, or a card in it is
// broken (the automation error of the original).
class EKsiazkaAdresowa : public EBlad {
public:
  using EBlad::EBlad;
};

// One content line of a card after unfolding.
struct TLiniaVCard {
  QByteArray Nazwa;            // upper case, without a group prefix ("item1.")
  QList<QByteArray> Parametry; // "NAZWA=wartosc" as written, bare 2.1 types as "TYPE=x"
  QString Wartosc;             // charset and quoted-printable decoded, still escaped

  // The values of one parameter, case-insensitive, comma lists split, quotes removed.
  QList<QByteArray> WartosciParametru(const QByteArray &nazwa) const;
  bool MaTyp(const QByteArray &typ) const;
};

// One item of the contacts folder: a card.
class TElementKsiazki {
public:
  explicit TElementKsiazki(QList<TLiniaVCard> linie);

  // Cards of KIND group (distribution lists) are not contact items.
  bool JestKontaktem() const;

  // The contact item's properties: N gives the names, the first EMAIL the e-mail, the first TEL
  // of type HOME the home telephone; empty when missing.
  QString LastName() const;
  QString FirstName() const;
  QString Email1Address() const;
  QString HomeTelephoneNumber() const;
  // A user-defined property ("GG-Numery" is the card's X-GG-NUMERY); `jest` tells a missing one
  // from an empty one.
  QString WlasciwoscUzytkownika(const QString &nazwa, bool *jest = nullptr) const;

private:
  const TLiniaVCard *Pierwsza(const QByteArray &nazwa) const;
  QStringList SkladoweNazwy() const;

  QList<TLiniaVCard> m_linie;
};

// Stand-in for the Outlook application object and its default contacts folder.
class TOutlookApplication {
public:
  explicit TOutlookApplication(const QString &sciezka);

  // Reads the whole file; throws EKsiazkaAdresowa when it is missing or cannot be read.
  void Polacz();

  // The folder's items in file order (1-based, as the folder counts them).
  int Count() const { return int(m_karty.size()); }
  // Parses item i; a broken card (no END, a line without ":") throws EKsiazkaAdresowa, so the
  // caller's per-item guard skips it.
  TElementKsiazki Item(int i) const;

private:
  struct TKarta {
    QList<QByteArray> linie; // unfolded, without BEGIN/END and without nested cards
    bool zamknieta = false;
  };

  QString m_sciezka;
  QList<TKarta> m_karty;
};

// "\\", "\;", "\," and "\n" of a vCard text value; any other backslash stays as written.
QString OdkodujTekstVCard(QStringView tekst);
