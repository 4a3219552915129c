#pragma once

#include "loopbacksocket_p.h"

#include <QString>

#include <functional>

namespace StandIn {

// The TCP side: a listening socket on 127.0.0.1 and a thread that accepts
// connections and hands each new socket to the callback, which owns it then.
class Listener
{
public:
    using Accepted = std::function<void(int socket)>;

    Listener() = default;
    Listener(const Listener &) = delete;
    Listener &operator=(const Listener &) = delete;

    bool open(quint16 port, QString *error); // port 0: any free port
    quint16 port() const { return m_port; }
    void start(Accepted accepted);
    void stop();                             // joins the thread, closes the socket

private:
    void acceptLoop();

    quint16 m_port = 0;
    Accepted m_accepted;
    LoopbackSocket m_socket;
};

} // namespace StandIn
