#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Packet types of the GG protocol. GGAns* come from the server, GGReq* go to it; the same number
// means different packets in the two directions.

constexpr qint32 GGAnsWelcome = 0x01;
constexpr qint32 GGAnsStatus = 0x02;
constexpr qint32 GGAnsLoginOk = 0x03;
constexpr qint32 GGAnsSendMsgAck = 0x05;
constexpr qint32 GGAnsPong = 0x07;
constexpr qint32 GGAnsPing = 0x08;
constexpr qint32 GGAnsLoginFailed = 0x09;
constexpr qint32 GGAnsRecvMsg = 0x0A;
constexpr qint32 GGAnsDisconnecting = 0x0B;
constexpr qint32 GGAnsNotifyReply = 0x0C;
// 0x0D arrives without a name and is accepted and ignored.
constexpr qint32 GGAnsPubDirReply = 0x0E;
constexpr qint32 GGAnsStatus60 = 0x0F;
constexpr qint32 GGAnsUserList = 0x10;
constexpr qint32 GGAnsNotifyReply60 = 0x11;
constexpr qint32 GGAnsXmlEvent = 0x27;

constexpr qint32 GGReqNewStatus = 0x02;
constexpr qint32 GGReqPing = 0x08;
constexpr qint32 GGReqSendMsg = 0x0B;
constexpr qint32 GGReqAddNotify = 0x0D;
constexpr qint32 GGReqRemoveNotify = 0x0E;
constexpr qint32 GGReqNotifyFirst = 0x0F;
constexpr qint32 GGReqNotifyLast = 0x10;
constexpr qint32 GGReqListEmpty = 0x12;
constexpr qint32 GGReqPubDir = 0x14;
constexpr qint32 GGReqLogin60 = 0x15;
constexpr qint32 GGReqUserList = 0x16;

// Frame header: type and body length, both 32-bit little-endian.
constexpr int DlugoscNaglowka = 8;

enum class TKierunekPakietu { Odebrany, Wyslany };

// The packet's name for logs ("GGAnsRecvMsg", "GGReqLogin60"); a type without a name in that
// direction gives its number ("0x0D").
QString NazwaPakietu(qint32 typ, TKierunekPakietu kierunek);

// Type, body length and body: the frame exactly as it goes on the wire.
QByteArray ZbudujRamke(qint32 typ, QByteArrayView cialo);
