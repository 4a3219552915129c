#include "udpchannel_p.h"

#include "wire_p.h"

#include <cerrno>
#include <cstring>

#include <arpa/inet.h>
#include <sys/socket.h>

namespace StandIn {

namespace {

constexpr int RegistrationLength = 4;

} // namespace

bool UdpChannel::open(quint16 port, QString *error)
{
    // No address reuse: another program holding the port must make this fail.
    if (m_socket.open(SOCK_DGRAM, port, false))
        return true;
    *error = QStringLiteral("cannot open UDP port %1: %2")
                 .arg(port)
                 .arg(QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

void UdpChannel::start(Registered registered)
{
    m_registered = std::move(registered);
    m_socket.start([this] { receiveLoop(); });
}

void UdpChannel::receiveLoop()
{
    while (m_socket.waitReadable()) {
        unsigned char datagram[64];
        sockaddr_in sender{};
        socklen_t senderLength = sizeof sender;
        const ssize_t length = ::recvfrom(m_socket.descriptor(), datagram, sizeof datagram, 0,
                                          reinterpret_cast<sockaddr *>(&sender), &senderLength);
        if (length == RegistrationLength)
            m_registered(Wire::readU32(datagram), sender);
    }
}

void UdpChannel::stop()
{
    m_socket.stop();
}

bool UdpChannel::send(const sockaddr_in &to, const QByteArray &datagram) const
{
    if (m_socket.descriptor() < 0)
        return false;
    return ::sendto(m_socket.descriptor(), datagram.constData(), std::size_t(datagram.size()), 0,
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
