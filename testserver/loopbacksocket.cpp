#include "loopbacksocket_p.h"

#include <cerrno>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace StandIn {

LoopbackSocket::~LoopbackSocket()
{
    stop();
}

bool LoopbackSocket::open(int type, quint16 port, bool reuseAddress)
{
    m_fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        return false;
    if (reuseAddress) {
        const int on = 1;
        ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        const int bindError = errno;
        ::close(m_fd);
        m_fd = -1;
        errno = bindError;
        return false;
    }
    return true;
}

quint16 LoopbackSocket::boundPort() const
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(m_fd, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

void LoopbackSocket::start(std::function<void()> loop)
{
    m_thread = std::thread(std::move(loop));
}

bool LoopbackSocket::waitReadable() const
{
    return StandIn::waitReadable(m_fd, m_waker);
}

void LoopbackSocket::stop()
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
