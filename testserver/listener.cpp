#include "listener_p.h"

#include <cerrno>
#include <cstring>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace StandIn {

bool Listener::open(quint16 port, QString *error)
{
    if (m_socket.open(SOCK_STREAM, port, true) && ::listen(m_socket.descriptor(), SOMAXCONN) == 0) {
        m_port = m_socket.boundPort();
        if (m_port != 0)
            return true;
    }
    *error = QStringLiteral("cannot listen on TCP port %1: %2")
                 .arg(port)
                 .arg(QString::fromLocal8Bit(std::strerror(errno)));
    m_socket.stop();
    return false;
}

void Listener::start(Accepted accepted)
{
    m_accepted = std::move(accepted);
    m_socket.start([this] { acceptLoop(); });
}

void Listener::acceptLoop()
{
    while (m_socket.waitReadable()) {
        const int socket = ::accept4(m_socket.descriptor(), nullptr, nullptr, SOCK_CLOEXEC);
        if (socket < 0)
            continue;
        // Small writes (a greeting cut into chunks) must leave as separate segments.
        const int on = 1;
        ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        m_accepted(socket);
    }
}

void Listener::stop()
{
    m_socket.stop();
}

} // namespace StandIn
