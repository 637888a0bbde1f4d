#include "net/KodyBledow.h"

#include <cerrno>
#include <cstring>
#include <netdb.h>

namespace {

struct Para {
  int numerErrno;
  int kod;
};

constexpr Para kPary[] = {
    {EINTR, KodBledu::WSAEINTR},
    {EBADF, KodBledu::WSAEBADF},
    {EACCES, KodBledu::WSAEACCES},
    {EFAULT, KodBledu::WSAEFAULT},
    {EINVAL, KodBledu::WSAEINVAL},
    {EMFILE, KodBledu::WSAEMFILE},
    {EAGAIN, KodBledu::WSAEWOULDBLOCK},
    {EINPROGRESS, KodBledu::WSAEINPROGRESS},
    {EALREADY, KodBledu::WSAEALREADY},
    {ENOTSOCK, KodBledu::WSAENOTSOCK},
    {EDESTADDRREQ, KodBledu::WSAEDESTADDRREQ},
    {EMSGSIZE, KodBledu::WSAEMSGSIZE},
    {EPROTOTYPE, KodBledu::WSAEPROTOTYPE},
    {ENOPROTOOPT, KodBledu::WSAENOPROTOOPT},
    {EPROTONOSUPPORT, KodBledu::WSAEPROTONOSUPPORT},
    {EOPNOTSUPP, KodBledu::WSAEOPNOTSUPP},
    {EAFNOSUPPORT, KodBledu::WSAEAFNOSUPPORT},
    {EADDRINUSE, KodBledu::WSAEADDRINUSE},
    {EADDRNOTAVAIL, KodBledu::WSAEADDRNOTAVAIL},
    {ENETDOWN, KodBledu::WSAENETDOWN},
    {ENETUNREACH, KodBledu::WSAENETUNREACH},
    {ENETRESET, KodBledu::WSAENETRESET},
    {ECONNABORTED, KodBledu::WSAECONNABORTED},
    {ECONNRESET, KodBledu::WSAECONNRESET},
    {EPIPE, KodBledu::WSAECONNRESET},
    {ENOBUFS, KodBledu::WSAENOBUFS},
    {EISCONN, KodBledu::WSAEISCONN},
    {ENOTCONN, KodBledu::WSAENOTCONN},
    {ESHUTDOWN, KodBledu::WSAESHUTDOWN},
    {ETIMEDOUT, KodBledu::WSAETIMEDOUT},
    {ECONNREFUSED, KodBledu::WSAECONNREFUSED},
    {EHOSTDOWN, KodBledu::WSAEHOSTDOWN},
    {EHOSTUNREACH, KodBledu::WSAEHOSTUNREACH},
};

} // namespace

int KodBleduZErrno(int numerErrno)
{
  if (numerErrno == EWOULDBLOCK)
    return KodBledu::WSAEWOULDBLOCK;
  for (const Para &p : kPary)
    if (p.numerErrno == numerErrno)
      return p.kod;
  return numerErrno;
}

int KodBleduZGetaddrinfo(int wynik)
{
  switch (wynik) {
  case EAI_AGAIN:
    return KodBledu::WSATRY_AGAIN;
  case EAI_FAIL:
    return KodBledu::WSANO_RECOVERY;
#ifdef EAI_NODATA
  case EAI_NODATA:
    return KodBledu::WSANO_DATA;
#endif
  case EAI_SYSTEM:
    return KodBleduZErrno(errno);
  default:
    return KodBledu::WSAHOST_NOT_FOUND;
  }
}

QString OpisBledu(int kodBledu)
{
  switch (kodBledu) {
  case KodBledu::WSAHOST_NOT_FOUND:
    return QStringLiteral("Host not found");
  case KodBledu::WSATRY_AGAIN:
    return QStringLiteral("Non-authoritative host not found");
  case KodBledu::WSANO_RECOVERY:
    return QStringLiteral("Non-recoverable error");
  case KodBledu::WSANO_DATA:
    return QStringLiteral("Valid name, no data record of requested type");
  default:
    break;
  }
  for (const Para &p : kPary)
    if (p.kod == kodBledu)
      return QString::fromLocal8Bit(std::strerror(p.numerErrno));
  return QStringLiteral("Unknown error");
}
