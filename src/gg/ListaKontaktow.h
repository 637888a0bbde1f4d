#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class TDrzewo;
class TGniazdo;
class TUzytkownik;

// The contact list kept on the GG server (the userlist text) and the notify packets that tell the
// server which numbers to watch. TBuforListy holds the text of the list on its way to or from the
// server, in the program's own text (the 1250 bytes of the wire are converted at the edge: the
// export encodes each piece, the import decodes each reply piece).

// Characters of one list piece.
constexpr int ZnakowWCzesciListy = 2040;

// Sub-types of GGReqUserList.
namespace PodtypListy {
constexpr char Zapisz = 0x00;
constexpr char ZapiszDalej = 0x01;
constexpr char Pobierz = 0x02;
} // namespace PodtypListy

// User types of the notify packets.
namespace TypPowiadomienia {
constexpr qint32 Sledzony = 1;
constexpr qint32 Usuniety = 0;
} // namespace TypPowiadomienia

// The userlist text on its way from the server. The dispatcher owns it and appends the reply
// pieces; the list commands empty it before they send a request.
class TBuforListy {
public:
  const QString &Tekst() const { return m_tekst; }
  void Dopisz(const QString &czesc) { m_tekst += czesc; }
  void Wyczysc() { m_tekst.clear(); }

private:
  QString m_tekst;
};

// A field value as it may stand in a list line: ";" becomes "," and each line break (CR LF, CR
// or LF) one space, so the line keeps its twelve fields.
QString PoleListy(const QString &wartosc);

// The contact's line, CR LF included:
// Imie;Nazwisko;Opis;Opis;Telefon;;Numer;EMail;0;;0;
QString LiniaListy(const TUzytkownik &uzytkownik);

// The lines of every top-level contact node, in tree order (nested contacts are not exported).
QString TekstListy(const TDrzewo &drzewo);

// The text cut into pieces of at most `znakow` characters, a surrogate pair counting as one
// character and never split; at least one piece (empty for an empty text).
QStringList CzesciListy(const QString &tekst, int znakow = ZnakowWCzesciListy);

// The GGReqUserList bodies of an export: 0x00 with the first piece, 0x01 with each further one,
// each piece in code page 1250. Every character becomes one byte (one outside 1250 goes as its
// base letter or "?"), so a piece of 2040 characters is 2040 bytes.
QList<QByteArray> CialaZapisuListy(const QString &tekst);

// Export: the tree's list text goes out in pieces; the buffer is empty afterwards. Sending stops
// at the first piece the socket refuses; the socket reports it.
void WyslijListe(TGniazdo &gniazdo, const TDrzewo &drzewo, TBuforListy &bufor);

// Import request: the single byte 0x02, then the buffer is emptied for the reply pieces.
void PoprosOListe(TGniazdo &gniazdo, TBuforListy &bufor);

// The 8-byte body of GGReqAddNotify / GGReqRemoveNotify: number and user type, both 32-bit
// little-endian.
QByteArray CialoPowiadomienia(qint32 numer, qint32 typ);

// The notify packets, sent only while the socket is connected (otherwise nothing is sent or
// queued: the next login's notify list covers the tree). True when sent.
bool DodajPowiadomienie(TGniazdo &gniazdo, qint32 numer, qint32 typ);
bool UsunPowiadomienie(TGniazdo &gniazdo, qint32 numer, qint32 typ);
