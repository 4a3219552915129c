#pragma once

// The protocol client: plain functions that speak the mail server's
// administration protocol over one TCP session (enciphered after the key
// exchange) and drain its UDP update channel.
//
// Results are 0 for success or a code of the error table (vexadb_error_desc);
// lookups return an index or -1. The caller owns every buffer and passes its
// size. One thread at a time may use a session's TCP side; the update poll may
// run on another thread at the same time.
//
// Every length an answer carries is checked against the data that arrived
// before it is used. A block that was read whole but does not hold what it
// declares is refused with 2: the stream is still in step, so the session goes
// on. Whenever the stream may have left step with the server (a failed read or
// write, a block too large to read), the result is 1 and the session is lost:
// every later statement or login on it fails at once with 1.

#include "vexadbtypes.h"

#include <cstdint>

// Result codes the client produces itself; the server's refusals (106 to 114)
// arrive as the status word of an answer.
enum vexadb_code {
    VEXADB_OK = 0,
    VEXADB_ESYSTEM = 1,     // socket or system failure; the error number is kept
    VEXADB_ELIBRARY = 2,    // RSA failure or a malformed answer
    VEXADB_EPARAM = 3,
    VEXADB_ELIMIT = 4,
    VEXADB_ENOMEM = 5,
    VEXADB_EAUTH = 102,
    VEXADB_EVERSION = 103,
    VEXADB_ECONNECTED = 104,
    VEXADB_EPARSE = 106,
    VEXADB_EWRONGQUERY = 107,
    VEXADB_EINTERNAL = 108,
    VEXADB_ENOTABLE = 109,
    VEXADB_ENOFUNCTION = 110,
    VEXADB_ENOTPOSSIBLE = 111,
    VEXADB_EBUFFER = 112,
    VEXADB_EACCESS = 113,
    VEXADB_ENOCOLUMN = 114,
    VEXADB_EKEYFILE = 201,
};

// The version byte the greeting and every update datagram begin with.
constexpr int VEXADB_PROTOCOL_VERSION = 17;

// The answer kind of a row set (the letter "s"); other kinds carry no rows.
constexpr int VEXADB_KIND_ROWSET = 115;

// The UDP receive buffer: a longer datagram is dropped whole.
constexpr int VEXADB_DATAGRAM_MAX = 1500;

// Seconds a session waits for the server before a read fails with 1, and
// seconds a connect may take.
constexpr int VEXADB_RECEIVE_TIMEOUT = 60;
constexpr int VEXADB_CONNECT_TIMEOUT = 30;

// The least an answer must bring within each receive time-out: a server that sends
// fewer bytes in that span (a byte now and then, which resets no time-out of the
// system's) has stalled as surely as a silent one, and the read fails with 1 and
// EAGAIN as for a silent server. A large answer over a slow link brings far more.
constexpr int VEXADB_PROGRESS_FLOOR = 4096;

// One session. Opaque: made by vexadb_initsession, released by vexadb_close.
struct vexadb_conn;
typedef vexadb_conn *vexadb_handle;

// An answer, converted in place inside its data block. Cleared and filled by
// vexadb_send_query; must be released with vexadb_free_result before it is
// reused or dropped.
struct vexadb_result
{
    int kind;                // the answer kind byte
    uint16_t ncols;          // NC
    uint32_t nrows;          // NR (the accessors see 0 rows unless kind is a row set)
    uint32_t spare1;         // taken from the answer, not interpreted
    uint32_t spare2;
    unsigned char *desc;     // the first column descriptor, inside data
    int valid;               // 1 once an answer was read and parsed
    unsigned char **rows;    // nrows pointers, each at the first cell of a row
    unsigned char **cols;    // ncols pointers, each at a column descriptor
    unsigned char *data;     // the whole data block (owned)
    void *tables;            // one allocation: rows, then cols (owned)
};

struct vexadb_coldesc
{
    unsigned char type;      // a vexadb_type code
    unsigned char flags;     // passed through uninterpreted
    uint32_t reserved;       // not filled
    const char *name;        // inside the result's data; valid as long as the result
};

// --- Connection and session ---------------------------------------------

// Resolves host (dotted address, else the first IPv4 address of a name
// lookup), connects to the decimal port and reads the greeting. 0 with the
// socket and greeting fields stored; 1 with the error number in *syserr; 103
// when the version byte is not 17. On failure the socket is closed.
int vexadb_connect(const char *host, const char *port, int *sock, int *syserr, int *version,
                   int *num1, int *num2, int *num3);

// vexadb_connect that another thread can call off: once the descriptor cancel is
// readable (an eventfd or pipe written to), the connect or greeting read in progress
// ends with 1 and ECANCELED in *syserr. A negative cancel waits as vexadb_connect.
// The name lookup cannot be called off.
int vexadb_connect_cancellable(const char *host, const char *port, int cancel, int *sock,
                               int *syserr, int *version, int *num1, int *num2, int *num3);

// Runs the session set-up on a connected socket: key announcement, session key
// under the server's RSA key, identification (clientName cut to 31 bytes),
// session id and, with udp non-zero, the update channel's registration.
// 0 with *h set. On failure the socket is closed, *h is left null and the
// result is 5 (no memory), 2 (RSA failure, e.g. a key above 1024 bits; its
// code in *syserr) or 1 (socket failure; the error number in *syserr). A null
// h is refused with 3 and leaves the socket alone.
int vexadb_initsession(vexadb_handle *h, int sock, const char *clientName, int udp, int *syserr);

// vexadb_connect, then vexadb_initsession; the first failing result.
int vexadb_open(vexadb_handle *h, const char *host, const char *port, const char *clientName,
                int udp, int *syserr, int *version, int *num1, int *num2, int *num3);

// Sends the login and reads its 4-byte answer into *authResult (not
// interpreted here). 3 when a name or password is longer than 254 bytes (their
// lengths travel in one byte); 1 when the write fails; 102 when no answer
// arrives (a refused login closes the connection).
int vexadb_authenticate(vexadb_handle h, const char *user, const char *password,
                        unsigned *authResult);

// Closes both sockets and releases the record; 0.
int vexadb_close(vexadb_handle h);

// The system error number of the session's most recent failure; 1 for null.
int vexadb_get_error(vexadb_handle h);

// How long reads on the session wait for the server, and the span in which an
// answer must bring VEXADB_PROGRESS_FLOOR bytes (or all it still lacks); 0 or less
// waits for ever. 0, or 3 for a null handle, or 1 when the system refuses.
int vexadb_set_receive_timeout(vexadb_handle h, int seconds);

// --- Statements and results ---------------------------------------------

// Sends one statement and reads its answer into res (cleared first). 0 with
// res valid; the server's status with its detail kept as the last error; 1 on
// a socket failure or a block too large to read (the session is lost); 2 for a
// block read whole that is malformed (the session goes on).
int vexadb_send_query(vexadb_handle h, const char *text, vexadb_result *res);

// Copies the value of a cell into buf, *len being its capacity; *len gets the
// value's length. 3 for an invalid result or index; 112 with the needed length
// in *len when the value does not fit (a negative capacity holds nothing). The copy is not zero-terminated here:
// text values carry their own zero byte.
int vexadb_read_result(const vexadb_result *res, int row, int col, void *buf, int *len);

// Where the value of a cell lies inside the result, without copying it: *value and *size
// stay valid as long as the result does. 3 for an invalid result or index.
int vexadb_peek_result(const vexadb_result *res, int row, int col, const void **value,
                       uint32_t *size);

int vexadb_get_desc(const vexadb_result *res, int col, vexadb_coldesc *d);

// The first column whose name equals name ignoring case, or -1.
int vexadb_get_col_idx(const vexadb_result *res, const char *name);

// Reorders the row table (not the data) by the cells of one column: STRING
// ignoring case, INT by its signed value, IPADDR and PORT by address and port
// number, null cells first, other types equal. 3 for an invalid result or
// column. Reentrant: the column travels with the call.
int vexadb_sort_result(vexadb_result *res, int col);

// The first row whose STRING cell in col equals text exactly, or -1.
int vexadb_result_find(const vexadb_result *res, int col, const char *text);

// Releases what a valid result owns and marks it not valid; 0.
int vexadb_free_result(vexadb_result *res);

// The text of an error code; "UNKNOWN" for codes outside the table.
const char *vexadb_error_desc(int code);

// Clears dst (size bytes) and copies src into it, escaping tab, newline and
// carriage return as \t, \n and \r and putting a backslash before ', " and \.
// Stops once size - 2 bytes are written, so the result always fits with its
// zero byte. Returns the number of bytes written.
int vexadb_escape_string(const char *src, char *dst, int size);

// --- Update channel -------------------------------------------------------

// Delivers at most one waiting datagram without its version byte; on entry
// *len is buf's capacity, on return the bytes delivered (0: nothing). A
// datagram that is longer than the capacity or than VEXADB_DATAGRAM_MAX, that
// has only the version byte or that begins with another version is consumed
// and dropped. Returns 0.
int vexadb_getupdatedata(vexadb_handle h, void *buf, int *len);
