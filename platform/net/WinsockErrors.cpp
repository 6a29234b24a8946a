// The errno map of the sockets and the texts of the WSA numbers and of the completion-port errors.

#include "platform/net/WinsockErrors.h"

#include "platform/kernel/ErrorTexts.h"

#include <winsock2.h>

#include <cerrno>

namespace {

struct s_ErrnoMapping {
    int m_Errno;
    DWORD m_Error;
};

constexpr s_ErrnoMapping ERRNO_MAP[] = {
    {0, 0},
    {EINTR, WSAEINTR},
    {EBADF, WSAEBADF},
    {EACCES, WSAEACCES},
    {EPERM, WSAEACCES},
    {EFAULT, WSAEFAULT},
    {EINVAL, WSAEINVAL},
    {EMFILE, WSAEMFILE},
    {ENFILE, WSAEMFILE},
    {EAGAIN, WSAEWOULDBLOCK},
    {EINPROGRESS, WSAEWOULDBLOCK},
    {EALREADY, WSAEALREADY},
    {ENOTSOCK, WSAENOTSOCK},
    {EDESTADDRREQ, WSAEDESTADDRREQ},
    {EMSGSIZE, WSAEMSGSIZE},
    {EPROTOTYPE, WSAEPROTOTYPE},
    {ENOPROTOOPT, WSAENOPROTOOPT},
    {EPROTONOSUPPORT, WSAEPROTONOSUPPORT},
    {ESOCKTNOSUPPORT, WSAESOCKTNOSUPPORT},
    {EOPNOTSUPP, WSAEOPNOTSUPP},
    {EPFNOSUPPORT, WSAEPFNOSUPPORT},
    {EAFNOSUPPORT, WSAEAFNOSUPPORT},
    {EADDRINUSE, WSAEADDRINUSE},
    {EADDRNOTAVAIL, WSAEADDRNOTAVAIL},
    {ENETDOWN, WSAENETDOWN},
    {ENETUNREACH, WSAENETUNREACH},
    {ENETRESET, WSAENETRESET},
    {ECONNABORTED, WSAECONNABORTED},
    {ECONNRESET, WSAECONNRESET},
    // A send after the peer has gone: Windows reports the reset.
    {EPIPE, WSAECONNRESET},
    {ENOBUFS, WSAENOBUFS},
    {ENOMEM, WSAENOBUFS},
    {EISCONN, WSAEISCONN},
    {ENOTCONN, WSAENOTCONN},
    {ESHUTDOWN, WSAESHUTDOWN},
    {ETIMEDOUT, WSAETIMEDOUT},
    {ECONNREFUSED, WSAECONNREFUSED},
    {EHOSTDOWN, WSAEHOSTDOWN},
    {EHOSTUNREACH, WSAEHOSTUNREACH},
};

constexpr n_Platform::s_SystemMessage WINSOCK_MESSAGES[] = {
    {WAIT_TIMEOUT, u"The wait operation timed out.\r\n"},
    {ERROR_ABANDONED_WAIT_0, u"The wait operation was abandoned.\r\n"},
    {ERROR_OPERATION_ABORTED, u"The I/O operation has been aborted because of either a thread exit or an application "
                              u"request.\r\n"},
    {ERROR_NOT_FOUND, u"Element not found.\r\n"},
    {WSAEINTR, u"A blocking operation was interrupted by a call to WSACancelBlockingCall.\r\n"},
    {WSAEBADF, u"The file handle supplied is not valid.\r\n"},
    {WSAEACCES, u"An attempt was made to access a socket in a way forbidden by its access permissions.\r\n"},
    {WSAEFAULT, u"The system detected an invalid pointer address in attempting to use a pointer argument in a "
                u"call.\r\n"},
    {WSAEINVAL, u"An invalid argument was supplied.\r\n"},
    {WSAEMFILE, u"Too many open sockets.\r\n"},
    {WSAEWOULDBLOCK, u"A non-blocking socket operation could not be completed immediately.\r\n"},
    {WSAEINPROGRESS, u"A blocking operation is currently executing.\r\n"},
    {WSAEALREADY, u"An operation was attempted on a non-blocking socket that already had an operation in "
                  u"progress.\r\n"},
    {WSAENOTSOCK, u"An operation was attempted on something that is not a socket.\r\n"},
    {WSAEDESTADDRREQ, u"A required address was omitted from an operation on a socket.\r\n"},
    {WSAEMSGSIZE, u"A message sent on a datagram socket was larger than the internal message buffer or some other "
                  u"network limit, or the buffer used to receive a datagram into was smaller than the datagram "
                  u"itself.\r\n"},
    {WSAEPROTOTYPE, u"A protocol was specified in the socket function call that does not support the semantics of "
                    u"the socket type requested.\r\n"},
    {WSAENOPROTOOPT, u"An unknown, invalid, or unsupported option or level was specified in a getsockopt or "
                     u"setsockopt call.\r\n"},
    {WSAEPROTONOSUPPORT, u"The requested protocol has not been configured into the system, or no implementation for "
                         u"it exists.\r\n"},
    {WSAESOCKTNOSUPPORT, u"The support for the specified socket type does not exist in this address family.\r\n"},
    {WSAEOPNOTSUPP, u"The attempted operation is not supported for the type of object referenced.\r\n"},
    {WSAEPFNOSUPPORT, u"The protocol family has not been configured into the system or no implementation for it "
                      u"exists.\r\n"},
    {WSAEAFNOSUPPORT, u"An address incompatible with the requested protocol was used.\r\n"},
    {WSAEADDRINUSE, u"Only one usage of each socket address (protocol/network address/port) is normally "
                    u"permitted.\r\n"},
    {WSAEADDRNOTAVAIL, u"The requested address is not valid in its context.\r\n"},
    {WSAENETDOWN, u"A socket operation encountered a dead network.\r\n"},
    {WSAENETUNREACH, u"A socket operation was attempted to an unreachable network.\r\n"},
    {WSAENETRESET, u"The connection has been broken due to keep-alive activity detecting a failure while the "
                   u"operation was in progress.\r\n"},
    {WSAECONNABORTED, u"An established connection was aborted by the software in your host machine.\r\n"},
    {WSAECONNRESET, u"An existing connection was forcibly closed by the remote host.\r\n"},
    {WSAENOBUFS, u"An operation on a socket could not be performed because the system lacked sufficient buffer "
                 u"space or because a queue was full.\r\n"},
    {WSAEISCONN, u"A connect request was made on an already connected socket.\r\n"},
    {WSAENOTCONN, u"A request to send or receive data was disallowed because the socket is not connected and (when "
                  u"sending on a datagram socket using a sendto call) no address was supplied.\r\n"},
    {WSAESHUTDOWN, u"A request to send or receive data was disallowed because the socket had already been shut down "
                   u"in that direction with a previous shutdown call.\r\n"},
    {WSAETIMEDOUT, u"A connection attempt failed because the connected party did not properly respond after a period "
                   u"of time, or established connection failed because connected host has failed to respond.\r\n"},
    {WSAECONNREFUSED, u"No connection could be made because the target machine actively refused it.\r\n"},
    {WSAEHOSTDOWN, u"A socket operation failed because the destination host was down.\r\n"},
    {WSAEHOSTUNREACH, u"A socket operation was attempted to an unreachable host.\r\n"},
    {WSASYSNOTREADY, u"WSAStartup cannot function at this time because the underlying system it uses to provide "
                     u"network services is currently unavailable.\r\n"},
    {WSAVERNOTSUPPORTED, u"The Windows Sockets version requested is not supported.\r\n"},
    {WSANOTINITIALISED, u"Either the application has not called WSAStartup, or WSAStartup failed.\r\n"},
    {WSATYPE_NOT_FOUND, u"The specified class was not found.\r\n"},
    {WSAHOST_NOT_FOUND, u"No such host is known.\r\n"},
    {WSATRY_AGAIN, u"This is usually a temporary error during hostname resolution and means that the local server "
                   u"did not receive a response from an authoritative server.\r\n"},
    {WSANO_RECOVERY, u"A non-recoverable error occurred during a database lookup.\r\n"},
    {WSANO_DATA, u"The requested name is valid, but no data of the requested type was found.\r\n"},
};

} // namespace

namespace n_Platform {

DWORD WinsockErrorFromErrno(int errorNumber) {
    for (const s_ErrnoMapping& mapping : ERRNO_MAP) {
        if (mapping.m_Errno == errorNumber) {
            return mapping.m_Error;
        }
    }
    return WSAEINVAL;
}

const WCHAR* FindWinsockMessage(DWORD error) {
    return FindMessageIn(WINSOCK_MESSAGES, error);
}

} // namespace n_Platform
