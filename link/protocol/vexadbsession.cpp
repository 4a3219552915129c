#include "vexadbsocket_p.h"
#include "vexadbparse_p.h"

#include "rsa.h"
#include "vexasupport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

enum {
    SessionKeyLength = 16,
    IdentificationLength = 32,
    KeyAnnouncementBits = 4,
    MaxLoginText = 254,           // its length plus 1 must fit one byte
    AuthenticateCommand = 0,
};

// Clears a secret when the frame that holds it is left, whichever way.
class WipeOnExit
{
public:
    WipeOnExit(void *data, std::size_t size) : m_data(data), m_size(size) {}
    ~WipeOnExit() { R_wipe(m_data, m_size); }
    WipeOnExit(const WipeOnExit &) = delete;
    WipeOnExit &operator=(const WipeOnExit &) = delete;

private:
    void *m_data;
    std::size_t m_size;
};

int fail(int *syserr, int code)
{
    *syserr = errno;
    return code;
}

bool parsePort(const char *text, uint16_t *port)
{
    char *end = nullptr;
    errno = 0;
    const unsigned long value = strtoul(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || value == 0 || value > 65535)
        return false;
    *port = uint16_t(value);
    return true;
}

// A dotted address as it is, else the first IPv4 address a lookup gives.
bool resolveHost(const char *host, in_addr *address)
{
    if (inet_pton(AF_INET, host, address) == 1)
        return true;
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    const int result = getaddrinfo(host, nullptr, &hints, &found);
    if (result != 0 || !found) {
        // Lookup failures have no error number of their own.
        if (result != EAI_SYSTEM)
            errno = EHOSTUNREACH;
        return false;
    }
    *address = reinterpret_cast<const sockaddr_in *>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

// Waits until fd is ready for `events`, the time-out passes (errno ETIMEDOUT) or the
// cancel descriptor becomes readable (errno ECANCELED); true when fd is ready.
bool waitReady(int fd, short events, int cancel, int seconds)
{
    pollfd waiting[2] = {{fd, events, 0}, {cancel, POLLIN, 0}};
    const nfds_t count = cancel >= 0 ? 2 : 1;
    for (;;) {
        const int ready = poll(waiting, count, seconds * 1000);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return false;
        if (ready == 0) {
            errno = ETIMEDOUT;
            return false;
        }
        if (count == 2 && waiting[1].revents != 0) {
            errno = ECANCELED;
            return false;
        }
        return true;
    }
}

// connect() on a non-blocking socket, bounded in time: an address that swallows the SYN
// would otherwise keep the caller for minutes, and nobody could call it off.
bool connectWithin(int fd, const sockaddr_in &address, int cancel, int seconds)
{
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
        return true;
    if (errno != EINPROGRESS || !waitReady(fd, POLLOUT, cancel, seconds))
        return false;
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return false;
    errno = error;
    return error == 0;
}

// Receives exactly n greeting bytes from a non-blocking socket, each wait bounded by the
// receive time-out and ended by the cancel descriptor; 1, or 0 with errno set.
int receiveGreeting(int fd, unsigned char *buf, int n, int cancel)
{
    int got = 0;
    while (got < n) {
        const ssize_t r = ::recv(fd, buf + got, size_t(n - got), 0);
        if (r > 0) {
            got += int(r);
            continue;
        }
        if (r == 0) {
            errno = ECONNRESET;
            return 0;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return 0;
        if (!waitReady(fd, POLLIN, cancel, VEXADB_RECEIVE_TIMEOUT))
            return 0;
    }
    return 1;
}

int readGreeting(int fd, int cancel, int *version, int *num1, int *num2, int *num3, int *syserr)
{
    unsigned char first = 0;
    if (!receiveGreeting(fd, &first, 1, cancel))
        return fail(syserr, VEXADB_ESYSTEM);
    *version = first;
    // The version is judged before the numbers are read: another version may
    // not even send them.
    if (first != VEXADB_PROTOCOL_VERSION)
        return VEXADB_EVERSION;
    unsigned char numbers[6];
    if (!receiveGreeting(fd, numbers, sizeof numbers, cancel))
        return fail(syserr, VEXADB_ESYSTEM);
    *num1 = numbers[0] << 8 | numbers[1];
    *num2 = numbers[2] << 8 | numbers[3];
    *num3 = numbers[4] << 8 | numbers[5];
    return VEXADB_OK;
}

// Connects and reads the greeting without blocking, so that the cancel descriptor can end
// either wait; the socket blocks again (bounded by its time-outs) once it is handed on.
int connectAndGreet(int fd, const sockaddr_in &address, int cancel, int *version, int *num1,
                    int *num2, int *num3, int *syserr)
{
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0)
        return fail(syserr, VEXADB_ESYSTEM);
    if (!connectWithin(fd, address, cancel, VEXADB_CONNECT_TIMEOUT))
        return fail(syserr, VEXADB_ESYSTEM);
    const int result = readGreeting(fd, cancel, version, num1, num2, num3, syserr);
    if (result == VEXADB_OK && fcntl(fd, F_SETFL, flags) < 0)
        return fail(syserr, VEXADB_ESYSTEM);
    return result;
}

// The session key comes from the system's cryptographic generator: a key
// made from the time, addresses and rand() could be guessed.
bool makeSessionKey(unsigned char *key)
{
    std::size_t filled = 0;
    while (filled < SessionKeyLength) {
        const ssize_t got = getrandom(key + filled, SessionKeyLength - filled, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        filled += std::size_t(got);
    }
    return true;
}

int readKeyAnnouncement(vexadb_sock *sock, R_RSA_PUBLIC_KEY *key, int *syserr)
{
    unsigned char bits[KeyAnnouncementBits];
    if (!vexadb_sock_read(sock, bits, sizeof bits)
        || !vexadb_sock_read(sock, key->modulus, MAX_RSA_MODULUS_LEN)
        || !vexadb_sock_read(sock, key->exponent, MAX_RSA_MODULUS_LEN))
        return fail(syserr, VEXADB_ESYSTEM);
    // A size beyond what the RSA layer handles is refused there (code 2).
    key->bits = vexadb_load_be32(bits);
    return VEXADB_OK;
}

// Sends the session key under the server's key, then switches the stream on.
int sendSessionKey(vexadb_sock *sock, const R_RSA_PUBLIC_KEY *key, int *syserr)
{
    unsigned char sessionKey[SessionKeyLength];
    WipeOnExit wipeKey(sessionKey, sizeof sessionKey);
    if (!makeSessionKey(sessionKey))
        return fail(syserr, VEXADB_ESYSTEM);

    R_RANDOM_STRUCT random;
    WipeOnExit wipeRandom(&random, sizeof random);
    unsigned char block[MAX_RSA_MODULUS_LEN];
    unsigned int blockLength = 0;
    int rsa = RSAFeedRandomStruct(&random);
    if (rsa == 0)
        rsa = RSAPublicEncrypt(block, &blockLength, sessionKey, SessionKeyLength, key, &random);
    if (rsa != 0) {
        *syserr = rsa;
        return VEXADB_ELIBRARY;
    }

    unsigned char length[4];
    vexadb_store_be32(length, blockLength);
    if (!vexadb_sock_write(sock, length, sizeof length)
        || !vexadb_sock_write(sock, block, int(blockLength)))
        return fail(syserr, VEXADB_ESYSTEM);
    vexadb_cipher_init(sock, sessionKey, SessionKeyLength);
    return VEXADB_OK;
}

int identify(vexadb_conn *conn, const char *clientName, int *syserr)
{
    char identification[IdentificationLength] = {};
    if (clientName)
        strncpy(identification, clientName, IdentificationLength - 1);
    unsigned char id[4];
    // The read flushes: the key block and the identification leave together.
    if (!vexadb_sock_writes(&conn->sock, identification, sizeof identification)
        || !vexadb_sock_reads(&conn->sock, id, sizeof id))
        return fail(syserr, VEXADB_ESYSTEM);
    conn->session = vexadb_load_be32(id);
    return VEXADB_OK;
}

int openUpdateChannel(vexadb_conn *conn, int *syserr)
{
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return fail(syserr, VEXADB_ESYSTEM);
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    sockaddr_in server = {};
    socklen_t serverLength = sizeof server;
    if (bind(fd, reinterpret_cast<const sockaddr *>(&local), sizeof local) < 0
        || getpeername(conn->sock.fd, reinterpret_cast<sockaddr *>(&server), &serverLength) < 0) {
        const int code = fail(syserr, VEXADB_ESYSTEM);
        close(fd);
        return code;
    }
    conn->udp = fd;
    unsigned char registration[4];
    vexadb_store_be32(registration, conn->session);
    // Best effort, as datagrams are: a lost registration only costs updates.
    sendto(fd, registration, sizeof registration, MSG_NOSIGNAL,
           reinterpret_cast<const sockaddr *>(&server), serverLength);
    return VEXADB_OK;
}

int setUpSession(vexadb_conn *conn, const char *clientName, int udp, int *syserr)
{
    R_RSA_PUBLIC_KEY key;
    if (const int failed = readKeyAnnouncement(&conn->sock, &key, syserr))
        return failed;
    if (const int failed = sendSessionKey(&conn->sock, &key, syserr))
        return failed;
    if (const int failed = identify(conn, clientName, syserr))
        return failed;
    return udp ? openUpdateChannel(conn, syserr) : VEXADB_OK;
}

void releaseRecord(vexadb_conn *conn)
{
    if (conn->sock.fd >= 0)
        close(conn->sock.fd);
    if (conn->udp >= 0)
        close(conn->udp);
    // The record holds the stream's key schedule.
    R_wipe(conn, sizeof *conn);
    free(conn);
}

} // namespace

int vexadb_connect(const char *host, const char *port, int *sock, int *syserr, int *version,
                   int *num1, int *num2, int *num3)
{
    return vexadb_connect_cancellable(host, port, -1, sock, syserr, version, num1, num2, num3);
}

int vexadb_connect_cancellable(const char *host, const char *port, int cancel, int *sock,
                               int *syserr, int *version, int *num1, int *num2, int *num3)
{
    if (!host || !port || !sock || !syserr || !version || !num1 || !num2 || !num3)
        return VEXADB_EPARAM;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    uint16_t portNumber = 0;
    if (!parsePort(port, &portNumber)) {
        *syserr = EINVAL;
        return VEXADB_ESYSTEM;
    }
    address.sin_port = htons(portNumber);
    if (!resolveHost(host, &address.sin_addr))
        return fail(syserr, VEXADB_ESYSTEM);

    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return fail(syserr, VEXADB_ESYSTEM);
    setsocktimeout(fd, SO_RCVTIMEO, VEXADB_RECEIVE_TIMEOUT);
    const int result = connectAndGreet(fd, address, cancel, version, num1, num2, num3, syserr);
    if (result != VEXADB_OK) {
        close(fd);
        return result;
    }
    *sock = fd;
    return VEXADB_OK;
}

int vexadb_initsession(vexadb_handle *h, int sock, const char *clientName, int udp, int *syserr)
{
    int ignored = 0;
    if (!syserr)
        syserr = &ignored;
    if (!h)
        return VEXADB_EPARAM;
    *h = nullptr;
    auto *conn = static_cast<vexadb_conn *>(calloc(1, sizeof(vexadb_conn)));
    if (!conn) {
        close(sock);
        *syserr = ENOMEM;
        return VEXADB_ENOMEM;
    }
    conn->udp = -1;
    conn->version = VEXADB_PROTOCOL_VERSION;
    vexadb_socket_init(&conn->sock, sock);
    if (const int failed = setUpSession(conn, clientName, udp, syserr)) {
        releaseRecord(conn);
        return failed;
    }
    *h = conn;
    return VEXADB_OK;
}

int vexadb_open(vexadb_handle *h, const char *host, const char *port, const char *clientName,
                int udp, int *syserr, int *version, int *num1, int *num2, int *num3)
{
    int sock = -1;
    const int connected = vexadb_connect(host, port, &sock, syserr, version, num1, num2, num3);
    if (connected != VEXADB_OK)
        return connected;
    return vexadb_initsession(h, sock, clientName, udp, syserr);
}

int vexadb_authenticate(vexadb_handle h, const char *user, const char *password,
                        unsigned *authResult)
{
    vexadb_conn *conn = cl_get(h);
    if (!conn || !user || !password)
        return VEXADB_EPARAM;
    const std::size_t userLength = strlen(user);
    const std::size_t passwordLength = strlen(password);
    if (userLength > MaxLoginText || passwordLength > MaxLoginText)
        return VEXADB_EPARAM;
    if (conn->lost) {
        conn->lasterror = ENOTCONN;
        return VEXADB_ESYSTEM;
    }

    unsigned char message[1 + 2 * (1 + MaxLoginText + 1)];
    WipeOnExit wipeMessage(message, sizeof message);
    std::size_t at = 0;
    message[at++] = AuthenticateCommand;
    message[at++] = static_cast<unsigned char>(userLength + 1);
    memcpy(message + at, user, userLength + 1);
    at += userLength + 1;
    message[at++] = static_cast<unsigned char>(passwordLength + 1);
    memcpy(message + at, password, passwordLength + 1);
    at += passwordLength + 1;

    if (!vexadb_sock_writes(&conn->sock, message, int(at)))
        return vexadb_lose_session(conn, errno, VEXADB_ESYSTEM);
    unsigned char answer[4];
    // A refused login is answered by closing the connection.
    if (!vexadb_sock_reads(&conn->sock, answer, sizeof answer))
        return vexadb_lose_session(conn, errno, VEXADB_EAUTH);
    if (authResult)
        *authResult = vexadb_load_be32(answer);
    return VEXADB_OK;
}

int vexadb_close(vexadb_handle h)
{
    if (vexadb_conn *conn = cl_get(h))
        releaseRecord(conn);
    return VEXADB_OK;
}

int vexadb_get_error(vexadb_handle h)
{
    const vexadb_conn *conn = cl_get(h);
    return conn ? conn->lasterror : 1;
}

int vexadb_set_receive_timeout(vexadb_handle h, int seconds)
{
    vexadb_conn *conn = cl_get(h);
    if (!conn)
        return VEXADB_EPARAM;
    if (vexadb_socket_set_timeout(&conn->sock, seconds) < 0) {
        conn->lasterror = errno;
        return VEXADB_ESYSTEM;
    }
    return VEXADB_OK;
}

int vexadb_lose_session(vexadb_conn *conn, int error, int code)
{
    conn->lasterror = error;
    if (!conn->lost) {
        conn->lost = true;
        // Tell the server at once; the descriptor itself goes with vexadb_close.
        shutdown(conn->sock.fd, SHUT_RDWR);
        conn->sock.fill = 0;
    }
    return code;
}

int vexadb_getupdatedata(vexadb_handle h, void *buf, int *len)
{
    if (!len)
        return VEXADB_OK;
    const int capacity = *len;
    *len = 0;
    const vexadb_conn *conn = cl_get(h);
    if (!conn || conn->udp < 0)
        return VEXADB_OK;
    pollfd waiting = {conn->udp, POLLIN, 0};
    if (poll(&waiting, 1, 0) <= 0 || !(waiting.revents & POLLIN))
        return VEXADB_OK;
    unsigned char datagram[VEXADB_DATAGRAM_MAX];
    // MSG_TRUNC gives the length the datagram had, so one that did not fit is
    // recognised and dropped rather than delivered cut.
    const ssize_t length = recv(conn->udp, datagram, sizeof datagram, MSG_TRUNC | MSG_DONTWAIT);
    if (length <= 0)
        return VEXADB_OK;
    *len = capacity;
    vexadb_take_datagram(conn->version, datagram, long(length), buf, len);
    return VEXADB_OK;
}
