#include "vexasupport.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/utsname.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

enum { ErrorTextSize = 256 };

pthread_key_t errorTextKey;
pthread_once_t errorTextKeyOnce = PTHREAD_ONCE_INIT;

void makeErrorTextKey()
{
    pthread_key_create(&errorTextKey, free);
}

char *threadErrorText()
{
    pthread_once(&errorTextKeyOnce, makeErrorTextKey);
    auto *text = static_cast<char *>(pthread_getspecific(errorTextKey));
    if (!text) {
        text = static_cast<char *>(malloc(ErrorTextSize));
        if (text && pthread_setspecific(errorTextKey, text) != 0) {
            free(text);
            text = nullptr;
        }
    }
    return text;
}

} // namespace

int syserror()
{
    return errno;
}

void set_syserror(int /*ignored*/, int code)
{
    errno = code;
}

char *format_error()
{
    // Read first: allocating the buffer may change errno.
    const int code = errno;
    char *text = threadErrorText();
    if (!text)
        return nullptr;
    char message[ErrorTextSize];
    const char *description = strerror_r(code, message, sizeof message);
    snprintf(text, ErrorTextSize, "(%d) %s", code, description);
    errno = code;
    return text;
}

int init_sockets()
{
    return 0;
}

int close_sockets()
{
    return 0;
}

int setsocktimeout(int socket, int option, int seconds)
{
    timeval timeout;
    timeout.tv_sec = seconds;
    timeout.tv_usec = 0;
    return setsockopt(socket, SOL_SOCKET, option, &timeout, sizeof timeout);
}

int sock_blockmode(int socket)
{
    return fcntl(socket, F_SETFL, O_NONBLOCK);
}

int get_os_info(int *version, char *text, int size)
{
    if (version)
        *version = 65536;
    if (!text || size < 1)
        return 0;
    utsname system;
    if (uname(&system) != 0) {
        text[0] = '\0';
        return 0;
    }
    return snprintf(text, size_t(size), "%s %s %s", system.sysname, system.release, system.machine);
}
