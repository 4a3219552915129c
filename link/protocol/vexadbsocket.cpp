#include "vexadbsocket_p.h"

#include "vexasupport.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace {

// A closed peer leaves errno as it was; name it, so the session's last error
// says what happened.
int failClosedPeer()
{
    errno = ECONNRESET;
    return 0;
}

using Clock = std::chrono::steady_clock;

void startProgressSpan(vexadb_sock *s)
{
    s->spanStart = Clock::now();
    s->spanBytes = 0;
}

// Whether the span of progress has passed without bringing its floor.
bool spanMissedFloor(const vexadb_sock *s)
{
    return s->timeout > 0 && s->spanBytes < VEXADB_PROGRESS_FLOOR
        && Clock::now() >= s->spanStart + std::chrono::seconds(s->timeout);
}

// Waits until fd has something to read or the span of progress has passed without
// its floor (errno EAGAIN, as the system's own receive time-out gives); true when
// readable. Without a time-out it waits for ever; a socket shut down by stop() reads
// as readable, so the wait ends then too.
bool readableWithinSpan(const vexadb_sock *s)
{
    const Clock::time_point end = s->spanStart + std::chrono::seconds(s->timeout);
    for (;;) {
        int waitMs = -1;
        if (s->timeout > 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now());
            if (left.count() <= 0)
                break;
            waitMs = int(left.count());
        }
        pollfd waiting = {s->fd, POLLIN, 0};
        const int ready = poll(&waiting, 1, waitMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return false;
        if (ready > 0)
            return true;
    }
    errno = EAGAIN;
    return false;
}

void countProgress(vexadb_sock *s, int received)
{
    s->spanBytes += received;
    if (s->spanBytes >= VEXADB_PROGRESS_FLOOR)
        startProgressSpan(s);
}

// Receives exactly n bytes, however the peer's segments split them, holding the peer to
// the floor of progress; 1, or 0 with errno set.
int receiveExact(vexadb_sock *s, unsigned char *buf, int n)
{
    int got = 0;
    while (got < n) {
        // What has arrived already is taken without a wait: a fast answer costs no poll.
        const ssize_t r = ::recv(s->fd, buf + got, size_t(n - got), MSG_DONTWAIT);
        if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!readableWithinSpan(s))
                return 0;
            continue;
        }
        if (r < 0 && errno == EINTR)
            continue;
        if (r == 0)
            return failClosedPeer();
        if (r < 0)
            return 0;
        got += int(r);
        countProgress(s, int(r));
        // A trickle whose every byte is there when asked for never meets a wait.
        if (got < n && spanMissedFloor(s)) {
            errno = EAGAIN;
            return 0;
        }
    }
    return 1;
}

} // namespace

void vexadb_socket_init(vexadb_sock *s, int fd)
{
    s->fd = fd;
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    // A server that stops reading or answering must not hang the caller.
    vexadb_socket_set_timeout(s, VEXADB_RECEIVE_TIMEOUT);
    setsocktimeout(fd, SO_SNDTIMEO, VEXADB_RECEIVE_TIMEOUT);
    s->fill = 0;
    startProgressSpan(s);
}

int vexadb_socket_set_timeout(vexadb_sock *s, int seconds)
{
    s->timeout = seconds > 0 ? seconds : 0;
    return setsocktimeout(s->fd, SO_RCVTIMEO, s->timeout);
}

void vexadb_cipher_init(vexadb_sock *s, const unsigned char *key, int len)
{
    blf2w_cfb_init(&s->cipher, key, uint16_t(len));
}

void vexadb_encrypt(BLF2W_CFB_CTX *ctx, int direction, unsigned char *buf, int len)
{
    blf2w_cfb_encrypt(ctx, direction, buf, len);
}

void vexadb_decrypt(BLF2W_CFB_CTX *ctx, int direction, unsigned char *buf, int len)
{
    blf2w_cfb_decrypt(ctx, direction, buf, len);
}

int vexadb_sock_flush(vexadb_sock *s)
{
    int sent = 0;
    while (sent < s->fill) {
        // MSG_NOSIGNAL: a peer that went away must give an error, not SIGPIPE.
        const ssize_t r = ::send(s->fd, s->sendbuf + sent, size_t(s->fill - sent), MSG_NOSIGNAL);
        if (r < 0 && errno == EINTR)
            continue;
        if (r == 0)
            return failClosedPeer();
        if (r < 0)
            return 0;
        sent += int(r);
    }
    s->fill = 0;
    // The server's answer to what just left is owed from now on.
    startProgressSpan(s);
    return 1;
}

int vexadb_sock_write(vexadb_sock *s, const void *data, int n)
{
    if (n < 0) {
        errno = EINVAL;
        return 0;
    }
    const auto *bytes = static_cast<const unsigned char *>(data);
    while (n >= VEXADB_SEND_BUFFER - s->fill) {
        const int room = VEXADB_SEND_BUFFER - s->fill;
        memcpy(s->sendbuf + s->fill, bytes, size_t(room));
        s->fill = VEXADB_SEND_BUFFER;
        if (!vexadb_sock_flush(s))
            return 0;
        bytes += room;
        n -= room;
    }
    if (n > 0) {
        memcpy(s->sendbuf + s->fill, bytes, size_t(n));
        s->fill += n;
    }
    return 1;
}

int vexadb_sock_read(vexadb_sock *s, void *buf, int n)
{
    if (n < 0) {
        errno = EINVAL;
        return 0;
    }
    if (s->fill > 0 && !vexadb_sock_flush(s))
        return 0;
    return receiveExact(s, static_cast<unsigned char *>(buf), n);
}

int vexadb_sock_writes(vexadb_sock *s, const void *data, int n)
{
    if (n < 0) {
        errno = EINVAL;
        return 0;
    }
    const auto *bytes = static_cast<const unsigned char *>(data);
    unsigned char scratch[VEXADB_CIPHER_CHUNK];
    while (n > 0) {
        const int chunk = n < VEXADB_CIPHER_CHUNK ? n : VEXADB_CIPHER_CHUNK;
        memcpy(scratch, bytes, size_t(chunk));
        vexadb_encrypt(&s->cipher, BLF_DIR_SEND, scratch, chunk);
        if (!vexadb_sock_write(s, scratch, chunk))
            return 0;
        bytes += chunk;
        n -= chunk;
    }
    return 1;
}

int vexadb_sock_reads(vexadb_sock *s, void *buf, int n)
{
    if (n == 0)
        return 1;
    if (!vexadb_sock_read(s, buf, n))
        return 0;
    vexadb_decrypt(&s->cipher, BLF_DIR_RECV, static_cast<unsigned char *>(buf), n);
    return 1;
}
