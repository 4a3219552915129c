#pragma once

// The portability layer under the protocol client: a thread table, mutex and
// event set-up, millisecond clocks, error texts, socket options, 64-bit
// conversions, bounded formatting and small string utilities. Plain functions
// over caller-owned buffers; nothing here depends on Qt.

#include <pthread.h>

#include <cstdarg>
#include <cstdint>

#define VEXA_PRINTF(formatIndex, firstArg) __attribute__((format(printf, formatIndex, firstArg)))

// ---------------------------------------------------------------------------
// Threads

// A start function receives the one pointer-sized argument given to createthread.
typedef void (*vexa_thread_proc)(void *argument);

// At most VEXA_MAX_THREADS - 1 threads live at once: record 0 is never used.
enum { VEXA_MAX_THREADS = 650 };

// Starts function(argument) on a new thread and returns its number (1, 2, ...
// never reused within a run), or 0 when the table is full or the system refuses
// the thread. `reserved` is not read. `name` is kept by reference: it must
// outlive the thread.
unsigned int createthread(vexa_thread_proc function, void *argument, int reserved,
                          const char *name);

// Waits for the thread with that number to end. timeout 0 waits without limit;
// otherwise the thread is cancelled first and given up to timeout ms to unwind
// before it is joined. Returns at once for a number no live thread has, and for
// the calling thread's own number.
void waitforthread(unsigned int number, int timeout);

// Iterates over the live threads: set *cursor to 0 before the first call. Each
// call copies the next thread's name (cut to size - 1 characters; name may be
// null), number and process id and returns 1, or returns 0 when none is left.
int enumthread(int *cursor, char *name, int size, unsigned int *number, int *pid);

// Stores the system handle of the record at that table index into *handle and
// returns it; an index outside the table gives a zeroed handle and leaves
// *handle alone.
pthread_t get_thread_sys_handle(int index, pthread_t *handle);

// ---------------------------------------------------------------------------
// Synchronisation

// The library's mutex attribute: recursive (a thread may lock a mutex it holds
// and must unlock it as often).
extern pthread_mutexattr_t __vexa_def_mutex;

// Initialises *mutex as a recursive mutex and returns a copy of it, so that it
// can serve as the initial value of a mutex variable.
pthread_mutex_t mutex_initializer(pthread_mutex_t *mutex);

struct vexa_event
{
    pthread_mutex_t mutex;
    pthread_cond_t cond;
    int signalled;  // set (under mutex) and broadcast on cond by whoever signals
};

vexa_event event_initializer(vexa_event *event);

// 1 if the event is or becomes signalled (a wait that ends consumes the signal;
// a signal already present when called stays set), 0 if ms pass first.
int event_timedwait(vexa_event *event, int ms);

// Destroys the thread table's mutex; a later createthread makes a new one.
void vexa_cleanup();

// ---------------------------------------------------------------------------
// Time

// Milliseconds since the first call of each clock (the first call gives 0).
uint32_t milisec();
uint64_t milisec64();

// Sleeps ms milliseconds (a signal may end it early); returns what select returns.
int msleep(int ms);

// ---------------------------------------------------------------------------
// Errors, sockets, system

int syserror();
void set_syserror(int ignored, int code);

// "(%d) %s" of the current system error in a buffer owned by the calling
// thread (rewritten by its next call); null if the buffer cannot be allocated.
char *format_error();

int init_sockets();
int close_sockets();

// option is SO_RCVTIMEO or SO_SNDTIMEO.
int setsocktimeout(int socket, int option, int seconds);

// Makes the socket non-blocking; the status flags are replaced as a whole.
int sock_blockmode(int socket);

// *version = 65536; text = "<system> <release> <machine>" within size bytes.
int get_os_info(int *version, char *text, int size);

// ---------------------------------------------------------------------------
// Conversions and formatting

// Decimal text to a signed 64-bit value: leading white space, one optional
// sign, digits up to the first other character, modulo 2^64; 0 without digits.
long long atoi64(const char *text);

// The digits of value read as unsigned, in base 2 to 36 (lowercase letters),
// and a NUL; returns text. Another base gives an empty text. The caller provides
// room (65 bytes cover every case).
char *i64toa(long long value, char *text, int base);

uint64_t hton64(uint64_t value);
uint64_t ntoh64(uint64_t value);

// Formats at most size - 2 characters and a NUL and returns the number of
// characters placed; with no text or size below 2 it writes nothing and returns 0.
int snprintfx(char *text, int size, const char *format, ...) VEXA_PRINTF(3, 4);

// As snprintfx, except that a size of 1 leaves an empty text.
int vsnprintfx(char *text, int size, const char *format, va_list args) VEXA_PRINTF(3, 0);

// Appends to the text in the buffer, the whole staying within snprintfx's
// bound; returns the resulting length.
int snprintfadd(char *text, int size, const char *format, ...) VEXA_PRINTF(3, 4);

// ---------------------------------------------------------------------------
// String utilities: NUL-terminated 8-bit texts; null pointers and sizes that
// leave no room are refused without writing.

// "a.b.c.d" of an IPv4 address in network order; text needs 16 bytes.
char *strip(char *text, uint32_t address);
// "a.b.c.d:port" with the port in network order; text needs 22 bytes.
char *stripport(char *text, uint32_t address, uint16_t port);
// strip into one static buffer shared by every caller (not thread-safe).
char *ip_string(uint32_t address);

// Replaces every `from` by `to`; returns how many were replaced.
int strreplchr(char *text, char from, char to);

// Copies what lies between the first `open` and the next `close` into out when
// it has at most size - 2 characters and returns out; otherwise out is left
// empty and null is returned.
char *strextr(char *out, const char *text, int size, char open, char close);
// The same test and copy, returning 1 or 0.
int strgetstr(const char *text, char open, char close, char *out, int size);
// Replaces the text by what lies between the first `open` and the next `close`;
// 1, or 0 with the text unchanged.
int strstrip(char *text, char open, char close);
// Removes every part from an `open` to the next `close`, both included.
void strremovestr(char *text, char open, char close);
// Removes every character that occurs in set.
void strremovechr(char *text, const char *set);
// Replaces every occurrence of needle, left to right, without rescanning
// inserted text; stops before a replacement that would not fit in size bytes.
// Returns the number of replacements.
int strreplstr(char *text, int size, const char *needle, const char *replacement);
// Inserts at position 0 to strlen(text), cutting the result to size - 1
// characters; 0 (text unchanged) for a position past the end or a size below
// strlen(text) + 1, else 1.
int strinsertstr(char *text, int size, const char *insert, int position);
// Removes one trailing line feed, then one trailing carriage return.
void strrmln(char *text);
char *strlwr(char *text);
// Copies at most n - 1 characters and always terminates out[n - 1].
char *strncpys(char *out, const char *text, int n);
// -1 if text is shorter than prefix, else the sign of comparing prefix's length
// of bytes: 0 means text begins with prefix.
int strbeginstr(const char *text, const char *prefix);
// The same ignoring ASCII case, with strncasecmp's result.
int stribeginstr(const char *text, const char *prefix);

// "1024 B", "1.50 kB", "1.00 MB", "2.00 GB"; text needs 32 bytes.
char *strsize(char *text, long long count);
// "01:01:01" below a day, "1 day 01:01:01", "2 days 02:00:00"; text needs 40 bytes.
char *strsecond(unsigned long seconds, char *text);
// "%02x" per byte with the separator between bytes (none for NUL); the text
// stays empty unless size is at least 3 x len.
char *strhex(char *text, int size, char separator, const unsigned char *data, int len);

// Unsigned conversion; base 0 picks 16 for "0x" followed by a hexadecimal
// digit, 8 for a leading 0, else 10. *end (when given) gets the stop position.
unsigned long simple_strtoul(const char *text, char **end, unsigned int base);

// 1 if c (not NUL) occurs in set, else 0.
int charinstr(char c, const char *set);

// A tokeniser over one text.
struct vexa_list
{
    const char *position;
    char separators[20];  // up to 19 separator characters
    int maxlen;           // a token needs fewer characters than this
};

void list_init(vexa_list *list, const char *text, const char *separators, int maxlen);
// Skips separators and copies the next token into token (maxlen bytes); 1, or 0
// at the end or for a token of maxlen characters or more (left empty).
int list_next(vexa_list *list, char *token);
// The same with a caller-held position, which moves past a token even when it
// is too long for size bytes (then 0 and an empty token).
int strenum(const char **position, const char *separators, char *token, int size);
// As strenum, but separators between `open` and `close` do not end the token.
int strenum2(const char **position, const char *separators, char open, char close,
             char *token, int size);

// Case-insensitive Knuth-Morris-Pratt search. The failure table has
// strlen(pattern) + 1 entries; free it with kmp_free_retarget.
int *kmp_compute_retarget(const char *pattern);
void kmp_free_retarget(int *table);
// The first match, or null; a non-zero limit gives up (null) once a partial
// match reaches limit characters without completing.
const char *kmp_match(const char *text, const char *pattern, int limit, const int *table);
const char *stristr(const char *text, const char *pattern);
const char *strinstr(const char *text, const char *pattern, int limit);

// 0 if the parts of pattern between '*' occur in text in that order, ignoring
// case; else 1. Not anchored at either end.
int strwildcmp(const char *text, const char *pattern);

// index[i] = i for i below n.
void bubleinit(int *index, int n);
// Sorts index so that compare(key(a), key(b)) is never negative for neighbours
// a, b: greatest first.
void bublesort(int *index, int n, const void *(*key)(int), int (*compare)(const void *, const void *));
// A new index array 0 .. n - 1 sorted least first by compare(a, b); free() it.
// Null when n is below 1 or memory runs out.
int *bublesort2(int n, int (*compare)(int, int));
