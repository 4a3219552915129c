#pragma once

#include "waker_p.h"

#include <QtGlobal>

#include <functional>
#include <thread>

namespace StandIn {

// A socket on 127.0.0.1 served by a thread of its own that stop() can wake: what the TCP
// listener and the UDP channel have in common.
class LoopbackSocket
{
public:
    LoopbackSocket() = default;
    ~LoopbackSocket();
    LoopbackSocket(const LoopbackSocket &) = delete;
    LoopbackSocket &operator=(const LoopbackSocket &) = delete;

    // A socket of type (SOCK_STREAM or SOCK_DGRAM) bound to port, 0 meaning any free
    // port. reuseAddress lets a restarted server take its TCP port back at once. False
    // with errno set when the socket cannot be had; nothing stays open then.
    bool open(int type, quint16 port, bool reuseAddress);
    int descriptor() const { return m_fd; }
    // The port the socket is bound to; 0 when that cannot be read.
    quint16 boundPort() const;

    // Runs loop on the socket's thread; loop waits with waitReadable().
    void start(std::function<void()> loop);
    // True once the socket is readable; false when stop() wants the thread to end.
    bool waitReadable() const;
    // Wakes and joins the thread, then closes the socket.
    void stop();

private:
    int m_fd = -1;
    Waker m_waker;
    std::thread m_thread;
};

} // namespace StandIn
