#include "platform/ws2_32/error_mapping.h"

#include <netdb.h>

#include <cerrno>

#include "platform/ws2_32/winsock.h"

namespace pelmorix::ws2 {

int WinSockErrorFromErrno(int errnoValue) {
  switch (errnoValue) {
    case EINTR:
      return WSAEINTR;
    case EBADF:
      return WSAEBADF;
    case EACCES:
    case EPERM:
      return WSAEACCES;
    case EFAULT:
      return WSAEFAULT;
    case EINVAL:
      return WSAEINVAL;
    case EMFILE:
    case ENFILE:
      return WSAEMFILE;
    case EWOULDBLOCK:
      return WSAEWOULDBLOCK;
    case EINPROGRESS:
      return WSAEINPROGRESS;
    case EALREADY:
      return WSAEALREADY;
    case ENOTSOCK:
      return WSAENOTSOCK;
    case EDESTADDRREQ:
      return WSAEDESTADDRREQ;
    case EMSGSIZE:
      return WSAEMSGSIZE;
    case EPROTOTYPE:
      return WSAEPROTOTYPE;
    case ENOPROTOOPT:
      return WSAENOPROTOOPT;
    case EPROTONOSUPPORT:
      return WSAEPROTONOSUPPORT;
    case ESOCKTNOSUPPORT:
      return WSAESOCKTNOSUPPORT;
    case EOPNOTSUPP:
      return WSAEOPNOTSUPP;
    case EPFNOSUPPORT:
      return WSAEPFNOSUPPORT;
    case EAFNOSUPPORT:
      return WSAEAFNOSUPPORT;
    case EADDRINUSE:
      return WSAEADDRINUSE;
    case EADDRNOTAVAIL:
      return WSAEADDRNOTAVAIL;
    case ENETDOWN:
      return WSAENETDOWN;
    case ENETUNREACH:
      return WSAENETUNREACH;
    case ENETRESET:
      return WSAENETRESET;
    case ECONNABORTED:
      return WSAECONNABORTED;
    case ECONNRESET:
      return WSAECONNRESET;
    case ENOBUFS:
    case ENOMEM:
      return WSAENOBUFS;
    case EISCONN:
      return WSAEISCONN;
    case ENOTCONN:
      return WSAENOTCONN;
    // A send after the connection was shut down for sending.
    case EPIPE:
    case ESHUTDOWN:
      return WSAESHUTDOWN;
    case ETOOMANYREFS:
      return WSAETOOMANYREFS;
    case ETIMEDOUT:
      return WSAETIMEDOUT;
    case ECONNREFUSED:
      return WSAECONNREFUSED;
    case ELOOP:
      return WSAELOOP;
    case ENAMETOOLONG:
      return WSAENAMETOOLONG;
    case EHOSTDOWN:
      return WSAEHOSTDOWN;
    case EHOSTUNREACH:
      return WSAEHOSTUNREACH;
    case ENOTEMPTY:
      return WSAENOTEMPTY;
    default:
      return WSAEINVAL;
  }
}

int WinSockErrorFromResolver(int resolverError) {
  switch (resolverError) {
    case HOST_NOT_FOUND:
      return WSAHOST_NOT_FOUND;
    case TRY_AGAIN:
      return WSATRY_AGAIN;
    case NO_RECOVERY:
      return WSANO_RECOVERY;
    case NO_DATA:
      return WSANO_DATA;
    default:
      return WSANO_RECOVERY;
  }
}

}  // namespace pelmorix::ws2
