#include "listener_p.h"

#include <cerrno>
#include <cstring>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace StandIn {

Listener::~Listener()
{
    stop();
}

bool Listener::open(quint16 port, QString *error)
{
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0) {
        *error = QStringLiteral("cannot make a TCP socket: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    const int on = 1;
    ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on); // restarts reuse the port at once

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::listen(m_fd, SOMAXCONN) != 0
        || ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        *error = QStringLiteral("cannot listen on TCP port %1: %2")
                     .arg(port)
                     .arg(QString::fromLocal8Bit(std::strerror(errno)));
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    m_port = ntohs(address.sin_port);
    return true;
}

void Listener::start(Accepted accepted)
{
    m_accepted = std::move(accepted);
    m_thread = std::thread([this] { acceptLoop(); });
}

void Listener::acceptLoop()
{
    while (waitReadable(m_fd, m_waker)) {
        const int socket = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (socket < 0)
            continue;
        // Small writes (a greeting cut in pieces) must leave as separate segments.
        const int on = 1;
        ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        m_accepted(socket);
    }
}

void Listener::stop()
{
    if (m_thread.joinable()) {
        m_waker.wake();
        m_thread.join();
        m_waker.reset();
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace StandIn
