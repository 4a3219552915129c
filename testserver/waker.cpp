#include "waker_p.h"

#include <cerrno>
#include <cstdint>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace StandIn {

Waker::Waker()
    : m_fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

Waker::~Waker()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void Waker::wake()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_fd, &one, sizeof one);
}

void Waker::reset()
{
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(m_fd, &count, sizeof count);
}

bool waitReadable(int fd, const Waker &waker)
{
    pollfd watched[2] = {{fd, POLLIN, 0}, {waker.descriptor(), POLLIN, 0}};
    while (true) {
        const int ready = ::poll(watched, 2, -1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || watched[1].revents != 0)
            return false;
        if (watched[0].revents != 0)
            return true;
    }
}

} // namespace StandIn
