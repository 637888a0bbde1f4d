#pragma once

#include "contacts/Stany.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>

class TDrzewo;
class TListaPosortowana;
class TWypowiedz;

// Bodies of the packets the session sends, built without a socket so that they can be checked
// byte by byte.

// The name shown for a status code ("Nieznany" for codes outside the table). The friends-only
// bit does not change the name.
QString NazwaKoduStanu(quint32 kod);

// The code to send: a description or a return time turns 1, 2, 3, 20 into 21, 4, 5, 22; any
// other status goes as given. The friends-only bit stays as it is. A null `czasPowrotu` means no
// return time.
quint32 StanZOpisem(quint32 status, const QString &opis, const QDateTime &czasPowrotu);

// GGReqNewStatus: code, the description in code page 1250, and only with a return time a NUL
// and the time as a Unix time.
QByteArray CialoNowegoStanu(quint32 kod, const QString &opis, const QDateTime &czasPowrotu);

// GGReqLogin60, 31 bytes: number, LoginHash(seed, password in code page 1250), status, version
// 0x20, then zeroed addresses, image size 0xFF and the trailer 0xBE.
QByteArray RekordLogowania(qint32 numer, quint32 ziarno, const QString &haslo, quint32 status);

// The notify list: every parsable number of the blocked list as user type 4, then every top-level
// contact that is not blocked with the low byte of its Sledzony. Handed out through `wyslij` as
// GGReqNotifyFirst packets whenever a contact would make the count exceed 400, the rest as
// GGReqNotifyLast, or one empty GGReqListEmpty when there is nothing at all.
using TWyslijPakiet = std::function<void(qint32 typ, const QByteArray &cialo)>;
void ZbudujListeKontaktow(const TDrzewo &drzewo, const TListaPosortowana &blokowani,
                          const TWyslijPakiet &wyslij);
constexpr int WpisowWPakiecieListy = 400;

// True for a message that is sent again after login: any acknowledgement status outside 1..3.
bool CzekaNaPonowienie(const TWypowiedz &wypowiedz);

// GGReqSendMsg of a message resent after login: recipient, its own sequence number, class 8,
// "[Przygotowano <creation time>] " and its text in code page 1250, the text marker and a NUL.
// A text that 1250 cannot hold follows the marker in UTF-8 instead.
QByteArray CialoPonowienia(const TWypowiedz &wypowiedz);
