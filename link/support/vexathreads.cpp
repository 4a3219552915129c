#include "vexasupport.h"
#include "vexasupport_p.h"

#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstring>

namespace {

struct ThreadRecord
{
    pthread_t handle;
    const char *name;  // the caller's text, kept by reference
    int pid;
    unsigned int number;  // 0 marks a free record
    vexa_thread_proc function;
    void *argument;
    std::atomic<int> finished;  // polled by a waiter without the table mutex
    int waiters;
    // Only one waiter may join a thread; the others wait until it has.
    bool joining;
    bool joined;
};

ThreadRecord thtab[VEXA_MAX_THREADS];
unsigned int nextNumber = 1;
std::atomic<vexa_thread_create_fn> createHook{nullptr};

// The table mutex is made on first use and unmade by vexa_cleanup; the guard
// keeps two first users, or a user and vexa_cleanup, from racing on that.
pthread_mutex_t tableMutex;
bool tableMutexMade = false;
pthread_mutex_t tableMutexGuard = PTHREAD_MUTEX_INITIALIZER;

void lockTable()
{
    pthread_mutex_lock(&tableMutexGuard);
    if (!tableMutexMade) {
        pthread_mutex_init(&tableMutex, vexa_default_mutex_attr());
        tableMutexMade = true;
    }
    pthread_mutex_unlock(&tableMutexGuard);
    pthread_mutex_lock(&tableMutex);
}

void unlockTable()
{
    pthread_mutex_unlock(&tableMutex);
}

void clearRecord(ThreadRecord &record)
{
    record.handle = pthread_t();
    record.name = nullptr;
    record.pid = 0;
    record.number = 0;
    record.function = nullptr;
    record.argument = nullptr;
    record.finished.store(0, std::memory_order_relaxed);
    record.waiters = 0;
    record.joining = false;
    record.joined = false;
}

int findFreeRecord()
{
    for (int index = 1; index < VEXA_MAX_THREADS; ++index) {
        if (thtab[index].number == 0)
            return index;
    }
    return -1;
}

int findRecord(unsigned int number)
{
    for (int index = 1; index < VEXA_MAX_THREADS; ++index) {
        if (thtab[index].number == number)
            return index;
    }
    return -1;
}

// The counter simply grows; once it wraps, 0 (the free mark) and numbers of
// threads still alive are passed over so that no two records share a number.
unsigned int upcomingNumber()
{
    unsigned int number = nextNumber;
    while (number == 0 || findRecord(number) >= 0)
        ++number;
    return number;
}

void *indexToArgument(int index)
{
    return reinterpret_cast<void *>(static_cast<intptr_t>(index));
}

int argumentToIndex(void *argument)
{
    return static_cast<int>(reinterpret_cast<intptr_t>(argument));
}

// Runs when the start function returns and also when the thread is cancelled,
// so a cancelled thread nobody waits for still frees its record.
void finishRecord(void *argument)
{
    ThreadRecord &record = thtab[argumentToIndex(argument)];
    lockTable();
    if (record.waiters == 0) {
        pthread_detach(pthread_self());
        record.number = 0;
    }
    record.finished.store(1, std::memory_order_release);
    unlockTable();
}

void *startRoutine(void *argument)
{
    ThreadRecord &record = thtab[argumentToIndex(argument)];
    // createthread holds the table mutex until the record is complete.
    lockTable();
    record.pid = getpid();
    const vexa_thread_proc function = record.function;
    void *const functionArgument = record.argument;
    unlockTable();

    pthread_cleanup_push(finishRecord, argument);
    function(functionArgument);
    pthread_cleanup_pop(1);
    return nullptr;
}

void waitUntilJoined(const ThreadRecord &record)
{
    for (;;) {
        lockTable();
        const bool joined = record.joined;
        unlockTable();
        if (joined)
            return;
        msleep(10);
    }
}

} // namespace

unsigned int createthread(vexa_thread_proc function, void *argument, int /*reserved*/,
                          const char *name)
{
    if (!function)
        return 0;
    lockTable();
    const int index = findFreeRecord();
    if (index < 0) {
        unlockTable();
        return 0;
    }
    ThreadRecord &record = thtab[index];
    clearRecord(record);
    record.function = function;
    record.argument = argument;
    record.name = name;
    record.number = upcomingNumber();

    const vexa_thread_create_fn hook = createHook.load();
    const vexa_thread_create_fn create = hook ? hook : pthread_create;
    if (create(&record.handle, nullptr, startRoutine, indexToArgument(index)) != 0) {
        clearRecord(record);
        unlockTable();
        return 0;
    }
    const unsigned int number = record.number;
    nextNumber = number + 1;
    unlockTable();
    return number;
}

void waitforthread(unsigned int number, int timeout)
{
    if (number == 0)
        return;
    lockTable();
    const int index = findRecord(number);
    // Joining itself would fail and free the record under the running thread.
    if (index < 0 || pthread_equal(thtab[index].handle, pthread_self())) {
        unlockTable();
        return;
    }
    ThreadRecord &record = thtab[index];
    ++record.waiters;
    const bool joiner = !record.joining;
    if (joiner) {
        record.joining = true;
        if (timeout != 0)
            pthread_cancel(record.handle);
    }
    const pthread_t handle = record.handle;
    unlockTable();

    if (joiner) {
        for (int step = 0; step < timeout / 10; ++step) {
            if (record.finished.load(std::memory_order_acquire))
                break;
            msleep(10);
        }
        pthread_join(handle, nullptr);
        lockTable();
        record.joined = true;
        unlockTable();
    } else {
        waitUntilJoined(record);
    }

    lockTable();
    if (--record.waiters == 0)
        clearRecord(record);
    unlockTable();
}

int enumthread(int *cursor, char *name, int size, unsigned int *number, int *pid)
{
    if (!cursor || *cursor < 0)
        return 0;
    ++*cursor;
    lockTable();
    for (int index = *cursor; index < VEXA_MAX_THREADS; ++index) {
        const ThreadRecord &record = thtab[index];
        if (record.number == 0)
            continue;
        if (name && size > 0)
            strncpys(name, record.name ? record.name : "", size);
        if (number)
            *number = record.number;
        if (pid)
            *pid = record.pid;
        *cursor = index;
        unlockTable();
        return 1;
    }
    unlockTable();
    return 0;
}

pthread_t get_thread_sys_handle(int index, pthread_t *handle)
{
    if (index < 0 || index >= VEXA_MAX_THREADS)
        return pthread_t();
    lockTable();
    const pthread_t found = thtab[index].handle;
    unlockTable();
    if (handle)
        *handle = found;
    return found;
}

void vexa_cleanup()
{
    pthread_mutex_lock(&tableMutexGuard);
    if (tableMutexMade) {
        pthread_mutex_destroy(&tableMutex);
        tableMutexMade = false;
    }
    pthread_mutex_unlock(&tableMutexGuard);
}

void vexa_set_thread_create(vexa_thread_create_fn create)
{
    createHook.store(create);
}

void vexa_set_next_thread_number(unsigned int number)
{
    lockTable();
    nextNumber = number;
    unlockTable();
}
