#pragma once

#include "loopbacksocket_p.h"

#include <QByteArray>
#include <QString>

#include <functional>

#include <netinet/in.h>

namespace StandIn {

// The update channel: a UDP socket on the server's port. A 4-byte datagram
// holding a session id (big-endian) registers its sender as that session's
// update address; datagrams to registered sessions leave from this socket.
class UdpChannel
{
public:
    using Registered = std::function<void(quint32 session, const sockaddr_in &sender)>;

    UdpChannel() = default;
    UdpChannel(const UdpChannel &) = delete;
    UdpChannel &operator=(const UdpChannel &) = delete;

    bool open(quint16 port, QString *error);
    void start(Registered registered);
    void stop();                 // joins the thread, closes the socket

    // Safe from any thread while the channel is open.
    bool send(const sockaddr_in &to, const QByteArray &datagram) const;

    static QString addressText(const sockaddr_in &address);

private:
    void receiveLoop();

    Registered m_registered;
    LoopbackSocket m_socket;
};

} // namespace StandIn
