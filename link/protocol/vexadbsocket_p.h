#pragma once

// Internals of the protocol client: the buffered socket layer and the session
// record. Private to link/ (and to the client's own tests and fuzz targets).

#include "blowfish.h"
#include "vexadb.h"

#include <chrono>
#include <cstdint>

constexpr int VEXADB_SEND_BUFFER = 4096;

// Enciphered writes pass through a fixed scratch buffer in chunks of this size.
constexpr int VEXADB_CIPHER_CHUNK = 1500;

// The TCP side of a session. Output gathers in the send buffer and leaves only
// when the buffer fills or a read begins, so a request and its text, or the
// key block and the identification, go out in one send.
//
// Reads hold the server to a floor of progress: from the moment something was last
// sent, every span of `timeout` seconds must bring VEXADB_PROGRESS_FLOOR bytes or
// complete the read, else the read fails as a time-out.
struct vexadb_sock
{
    int fd;
    BLF2W_CFB_CTX cipher;
    unsigned char sendbuf[VEXADB_SEND_BUFFER];
    int fill;  // 0 to VEXADB_SEND_BUFFER
    int timeout; // seconds; 0: reads wait for ever
    std::chrono::steady_clock::time_point spanStart; // of the current span of progress
    int spanBytes; // received since spanStart
};

struct vexadb_conn
{
    int lasterror;         // system error number of the most recent failure
    vexadb_sock sock;
    int udp;               // -1: no update channel
    unsigned char version; // datagrams must begin with it
    uint32_t session;      // the id the server assigned, host order
    // Set when a read or write of the stream failed or an answer's block was
    // left unread: the stream and the cipher states may be out of step with
    // the server, so nothing more is sent or read on this session.
    bool lost;
};

inline vexadb_conn *cl_get(vexadb_handle h)
{
    return h;
}

// After a failure that may have left the stream out of step: keeps error as
// the last error, marks the session lost, shuts the connection down so the
// server knows at once, and returns code.
int vexadb_lose_session(vexadb_conn *conn, int error, int code);

// Stores fd, switches on keep-alive and no-delay (results ignored), bounds
// reads and writes by the default time-out and empties the send buffer.
void vexadb_socket_init(vexadb_sock *s, int fd);

// Reads wait seconds (0 or less: for ever) for the server from now on; the result of
// setting the system's receive time-out.
int vexadb_socket_set_timeout(vexadb_sock *s, int seconds);

// Keys both directions of the stream; every byte after this is enciphered.
void vexadb_cipher_init(vexadb_sock *s, const unsigned char *key, int len);

// BLF_DIR_SEND for bytes sent, BLF_DIR_RECV for bytes received; in place.
void vexadb_encrypt(BLF2W_CFB_CTX *ctx, int direction, unsigned char *buf, int len);
void vexadb_decrypt(BLF2W_CFB_CTX *ctx, int direction, unsigned char *buf, int len);

// 1 for success, 0 for failure with errno set (ECONNRESET for a closed peer,
// EAGAIN when the time-out passed or the server stalled). The caller's data is never
// modified.
int vexadb_sock_write(vexadb_sock *s, const void *data, int n);    // plain, buffered
int vexadb_sock_flush(vexadb_sock *s);
int vexadb_sock_read(vexadb_sock *s, void *buf, int n);            // plain, exact; flushes first
int vexadb_sock_writes(vexadb_sock *s, const void *data, int n);   // enciphered, buffered
int vexadb_sock_reads(vexadb_sock *s, void *buf, int n);           // enciphered, exact
