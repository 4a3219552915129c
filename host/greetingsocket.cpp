#include "greetingsocket.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <netdb.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

constexpr int GreetingSize = 7;
// The version byte the greeting begins with, and the result code the module gives when it
// is another.
constexpr int ProtocolVersion = 17;
constexpr int WrongVersionCode = 103;
// A server that accepts but never greets must not hang the console.
constexpr int GreetingTimeoutSeconds = 10;

QString systemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

int connectTo(const QString& host, const QString& port, QString* error)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* addresses = nullptr;
    const int lookup = getaddrinfo(host.toLocal8Bit().constData(), port.toLatin1().constData(),
                                   &hints, &addresses);
    if (lookup != 0) {
        *error = QStringLiteral("%1: %2").arg(host, QString::fromLocal8Bit(gai_strerror(lookup)));
        return -1;
    }
    int fd = -1;
    for (addrinfo* a = addresses; a && fd < 0; a = a->ai_next) {
        fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            *error = systemError("socket");
            continue;
        }
        if (connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
            *error = systemError("connect");
            close(fd);
            fd = -1;
        }
    }
    freeaddrinfo(addresses);
    return fd;
}

void setReceiveTimeout(int fd, int seconds)
{
    timeval timeout{};
    timeout.tv_sec = seconds;
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
}

// Receives exactly count bytes of the greeting, the first `before` of which have arrived.
bool receiveGreetingBytes(int fd, char* greeting, int before, int count, QString* error)
{
    int received = before;
    while (received < before + count) {
        const ssize_t n = recv(fd, greeting + received, size_t(before + count - received), 0);
        if (n > 0) {
            received += int(n);
        } else if (n == 0) {
            *error = QStringLiteral("the server closed the connection after %1 of the %2 greeting bytes")
                         .arg(received)
                         .arg(GreetingSize);
            return false;
        } else if (errno != EINTR) {
            *error = errno == EAGAIN || errno == EWOULDBLOCK
                         ? QStringLiteral("the server sent no greeting")
                         : systemError("recv");
            return false;
        }
    }
    return true;
}

// Reads exactly the greeting and nothing of what follows it: the rest is the module's.
// The version is judged as soon as it arrives, as the module judges it: a server of
// another version may never send the rest, and it would not understand what follows.
bool readGreeting(int fd, QString* error)
{
    char greeting[GreetingSize];
    if (!receiveGreetingBytes(fd, greeting, 0, 1, error))
        return false;
    const int version = static_cast<unsigned char>(greeting[0]);
    if (version != ProtocolVersion) {
        *error = QStringLiteral("the server speaks protocol version %1, not %2 (error code %3)")
                     .arg(version)
                     .arg(ProtocolVersion)
                     .arg(WrongVersionCode);
        return false;
    }
    return receiveGreetingBytes(fd, greeting, 1, GreetingSize - 1, error);
}

} // namespace

int connectAndReadGreeting(const QString& host, const QString& port, QString* error)
{
    int fd = connectTo(host, port, error);
    if (fd < 0)
        return -1;
    if (fd == 0) {
        // Descriptor 0 was free (no standard input); the module would read it as "none".
        const int moved = fcntl(fd, F_DUPFD_CLOEXEC, 1);
        close(fd);
        if (moved < 0) {
            *error = systemError("fcntl");
            return -1;
        }
        fd = moved;
    }
    setReceiveTimeout(fd, GreetingTimeoutSeconds);
    if (!readGreeting(fd, error)) {
        close(fd);
        return -1;
    }
    setReceiveTimeout(fd, 0);
    return fd;
}
