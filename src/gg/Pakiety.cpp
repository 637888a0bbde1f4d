#include "gg/Pakiety.h"

#include "gg/Liczby.h"

namespace {

struct TNazwa {
  qint32 typ;
  const char *nazwa;
};

constexpr TNazwa NazwyOdebranych[] = {
    {GGAnsWelcome, "GGAnsWelcome"},
    {GGAnsStatus, "GGAnsStatus"},
    {GGAnsLoginOk, "GGAnsLoginOk"},
    {GGAnsSendMsgAck, "GGAnsSendMsgAck"},
    {GGAnsPong, "GGAnsPong"},
    {GGAnsPing, "GGAnsPing"},
    {GGAnsLoginFailed, "GGAnsLoginFailed"},
    {GGAnsRecvMsg, "GGAnsRecvMsg"},
    {GGAnsDisconnecting, "GGAnsDisconnecting"},
    {GGAnsNotifyReply, "GGAnsNotifyReply"},
    {GGAnsPubDirReply, "GGAnsPubDirReply"},
    {GGAnsStatus60, "GGAnsStatus60"},
    {GGAnsUserList, "GGAnsUserList"},
    {GGAnsNotifyReply60, "GGAnsNotifyReply60"},
    {GGAnsXmlEvent, "GGAnsXmlEvent"},
};

constexpr TNazwa NazwyWyslanych[] = {
    {GGReqNewStatus, "GGReqNewStatus"},
    {GGReqPing, "GGReqPing"},
    {GGReqSendMsg, "GGReqSendMsg"},
    {GGReqAddNotify, "GGReqAddNotify"},
    {GGReqRemoveNotify, "GGReqRemoveNotify"},
    {GGReqNotifyFirst, "GGReqNotifyFirst"},
    {GGReqNotifyLast, "GGReqNotifyLast"},
    {GGReqListEmpty, "GGReqListEmpty"},
    {GGReqPubDir, "GGReqPubDir"},
    {GGReqLogin60, "GGReqLogin60"},
    {GGReqUserList, "GGReqUserList"},
};

} // namespace

QString NazwaPakietu(qint32 typ, TKierunekPakietu kierunek)
{
  const auto szukaj = [typ](const auto &nazwy) -> QString {
    for (const TNazwa &n : nazwy)
      if (n.typ == typ)
        return QString::fromLatin1(n.nazwa);
    return QString();
  };
  const QString nazwa =
      kierunek == TKierunekPakietu::Odebrany ? szukaj(NazwyOdebranych) : szukaj(NazwyWyslanych);
  if (!nazwa.isEmpty())
    return nazwa;
  return QStringLiteral("0x") + QString::number(quint32(typ), 16).toUpper().rightJustified(2, u'0');
}

QByteArray ZbudujRamke(qint32 typ, QByteArrayView cialo)
{
  QByteArray ramka;
  ramka.reserve(DlugoscNaglowka + cialo.size());
  ramka += IntToLE(typ);
  ramka += IntToLE(qint32(cialo.size()));
  ramka += cialo;
  return ramka;
}
