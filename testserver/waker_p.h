#pragma once

namespace StandIn {

// Lets stop() wake a thread that sits in poll() on a socket: the thread polls
// the waker's descriptor together with its socket.
class Waker
{
public:
    Waker();
    ~Waker();
    Waker(const Waker &) = delete;
    Waker &operator=(const Waker &) = delete;

    int descriptor() const { return m_fd; }
    void wake();
    void reset();

private:
    int m_fd;
};

// Waits until fd is readable or the waker fires; true when fd is readable.
bool waitReadable(int fd, const Waker &waker);

} // namespace StandIn
