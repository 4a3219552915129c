#include "udpchannel_p.h"

#include "wire_p.h"

#include <cerrno>
#include <cstring>

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

namespace StandIn {

namespace {

constexpr int RegistrationLength = 4;

} // namespace

UdpChannel::~UdpChannel()
{
    stop();
}

bool UdpChannel::open(quint16 port, QString *error)
{
    m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        *error = QStringLiteral("cannot open UDP port %1: %2")
                     .arg(port)
                     .arg(QString::fromLocal8Bit(std::strerror(errno)));
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        return false;
    }
    return true;
}

void UdpChannel::start(Registered registered)
{
    m_registered = std::move(registered);
    m_thread = std::thread([this] { receiveLoop(); });
}

void UdpChannel::receiveLoop()
{
    while (waitReadable(m_fd, m_waker)) {
        unsigned char datagram[64];
        sockaddr_in sender{};
        socklen_t senderLength = sizeof sender;
        const ssize_t length = ::recvfrom(m_fd, datagram, sizeof datagram, 0,
                                          reinterpret_cast<sockaddr *>(&sender), &senderLength);
        if (length == RegistrationLength)
            m_registered(Wire::readU32(datagram), sender);
    }
}

void UdpChannel::stop()
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

bool UdpChannel::send(const sockaddr_in &to, const QByteArray &datagram) const
{
    if (m_fd < 0)
        return false;
    return ::sendto(m_fd, datagram.constData(), std::size_t(datagram.size()), 0,
                    reinterpret_cast<const sockaddr *>(&to), sizeof to)
           == datagram.size();
}

QString UdpChannel::addressText(const sockaddr_in &address)
{
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return QStringLiteral("%1:%2").arg(QLatin1String(text)).arg(ntohs(address.sin_port));
}

} // namespace StandIn
