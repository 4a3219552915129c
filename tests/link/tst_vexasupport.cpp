#include "vexasupport.h"
#include "vexasupport_p.h"

#include <QElapsedTimer>
#include <QTest>

#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// QCOMPARE reads char pointers as texts; these compare where they point.
const void *pointer(const void *p)
{
    return p;
}

// Holds threads until opened.
struct Gate
{
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;

    void pass()
    {
        std::unique_lock<std::mutex> lock(mutex);
        opened.wait(lock, [this] { return open; });
    }
    void release()
    {
        std::lock_guard<std::mutex> lock(mutex);
        open = true;
        opened.notify_all();
    }
};

void passGate(void *gate)
{
    static_cast<Gate *>(gate)->pass();
}

void sleepForever(void *)
{
    for (;;)
        msleep(10);
}

struct LiveThread
{
    QByteArray name;
    unsigned int number;
    int pid;
    int index;
};

std::vector<LiveThread> liveThreads()
{
    std::vector<LiveThread> threads;
    int cursor = 0;
    char name[32];
    unsigned int number = 0;
    int pid = 0;
    while (enumthread(&cursor, name, sizeof name, &number, &pid))
        threads.push_back({QByteArray(name), number, pid, cursor});
    return threads;
}

bool isLive(unsigned int number)
{
    for (const LiveThread &thread : liveThreads()) {
        if (thread.number == number)
            return true;
    }
    return false;
}

int refuseThread(pthread_t *, const pthread_attr_t *, void *(*)(void *), void *)
{
    return EAGAIN;
}

// A buffer whose bytes past what a call may write are checked afterwards.
struct Guarded
{
    char bytes[128];
    Guarded() { memset(bytes, '#', sizeof bytes); }
    Guarded(const char *text) : Guarded() { strcpy(bytes, text); }
    bool untouchedFrom(int from) const
    {
        for (int i = qMax(from, 0); i < int(sizeof bytes); ++i) {
            if (bytes[i] != '#')
                return false;
        }
        return true;
    }
};

} // namespace

class TestVexaSupport : public QObject
{
    Q_OBJECT

private slots:
    // Runs first: numbering starts with this process.
    void threadNumbersStartAtOne();
    void waitReturnsAfterTheFunction();
    void enumerationListsLiveThreads();
    void finishedThreadFreesItsRecord();
    void tableHolds649Threads();
    void refusedThreadLeavesNoRecord();
    void timedWaitCancelsTheThread();
    void cancelledThreadWithoutWaiterFreesItsRecord();
    void severalWaitersShareOneJoin();
    void threadWaitingForItselfKeepsItsRecord();
    void numberingSkipsZeroAndLiveNumbers();
    void cleanupLeavesThreadsUsable();

    void mutexIsRecursive();
    void eventTimedWait_data();
    void eventTimedWait();
    void clocksStartAtZero();
    void msleepSleepsAtLeast_data();
    void msleepSleepsAtLeast();

    void systemErrorRoundTrip();
    void formatError_data();
    void formatError();
    void formatErrorBufferPerThread();
    void socketOptions();
    void osInfo();

    void atoi64_data();
    void atoi64();
    void i64toa_data();
    void i64toa();
    void roundTrip64_data();
    void roundTrip64();
    void byteOrder64();

    void snprintfx_data();
    void snprintfx();
    void vsnprintfxSmallSizes_data();
    void vsnprintfxSmallSizes();
    void snprintfadd_data();
    void snprintfadd();
};

void TestVexaSupport::threadNumbersStartAtOne()
{
    Gate gate;
    gate.open = true;
    for (unsigned int expected = 1; expected <= 3; ++expected) {
        const unsigned int number = createthread(passGate, &gate, 0, "counted");
        QCOMPARE(number, expected);
        waitforthread(number, 0);
    }
}

void TestVexaSupport::waitReturnsAfterTheFunction()
{
    static std::atomic<bool> done{false};
    const unsigned int number = createthread(
        [](void *) {
            msleep(50);
            done = true;
        },
        nullptr, 0, "slow");
    QVERIFY(number != 0);
    waitforthread(number, 0);
    QVERIFY(done);
    QVERIFY(!isLive(number));
}

void TestVexaSupport::enumerationListsLiveThreads()
{
    Gate gate;
    const unsigned int first = createthread(passGate, &gate, 0, "dbtread");
    const unsigned int second = createthread(passGate, &gate, 0, "other");
    QVERIFY(first != 0 && second == first + 1);

    const std::vector<LiveThread> threads = liveThreads();
    QCOMPARE(threads.size(), size_t(2));
    QCOMPARE(threads[0].name, QByteArray("dbtread"));
    QCOMPARE(threads[0].number, first);
    QCOMPARE(threads[1].name, QByteArray("other"));
    QCOMPARE(threads[1].number, second);
    QTRY_COMPARE(liveThreads()[1].pid, int(getpid()));

    int cursor = -3;
    unsigned int number = 0;
    QCOMPARE(enumthread(&cursor, nullptr, 0, &number, nullptr), 0);

    gate.release();
    waitforthread(first, 0);
    waitforthread(second, 0);
    QVERIFY(liveThreads().empty());
}

void TestVexaSupport::finishedThreadFreesItsRecord()
{
    Gate gate;
    const unsigned int number = createthread(passGate, &gate, 0, "detached");
    QVERIFY(isLive(number));
    gate.release();
    QTRY_VERIFY(!isLive(number));

    QElapsedTimer timer;
    timer.start();
    waitforthread(number, 0);  // nobody has that number any more
    QVERIFY(timer.elapsed() < 1000);
}

void TestVexaSupport::tableHolds649Threads()
{
    Gate gate;
    std::vector<unsigned int> numbers;
    for (int i = 1; i < VEXA_MAX_THREADS; ++i) {
        const unsigned int number = createthread(passGate, &gate, 0, "many");
        if (number == 0)
            break;
        numbers.push_back(number);
    }
    const unsigned int refused = createthread(passGate, &gate, 0, "one too many");
    gate.release();
    for (unsigned int number : numbers)
        waitforthread(number, 0);

    QCOMPARE(numbers.size(), size_t(VEXA_MAX_THREADS - 1));
    QCOMPARE(refused, 0u);
    QVERIFY(liveThreads().empty());
}

void TestVexaSupport::refusedThreadLeavesNoRecord()
{
    Gate gate;
    gate.open = true;
    const unsigned int before = createthread(passGate, &gate, 0, "before");
    waitforthread(before, 0);

    vexa_set_thread_create(refuseThread);
    const unsigned int refused = createthread(passGate, &gate, 0, "refused");
    vexa_set_thread_create(nullptr);
    QCOMPARE(refused, 0u);
    QVERIFY(liveThreads().empty());

    const unsigned int after = createthread(passGate, &gate, 0, "after");
    waitforthread(after, 0);
    QCOMPARE(after, before + 1);
}

void TestVexaSupport::timedWaitCancelsTheThread()
{
    const unsigned int number = createthread(sleepForever, nullptr, 0, "endless");
    QVERIFY(number != 0);
    waitforthread(number, 1000);
    QVERIFY(!isLive(number));
}

void TestVexaSupport::cancelledThreadWithoutWaiterFreesItsRecord()
{
    const unsigned int number = createthread(sleepForever, nullptr, 0, "endless");
    const std::vector<LiveThread> threads = liveThreads();
    QCOMPARE(threads.size(), size_t(1));
    pthread_t handle = pthread_t();
    const pthread_t returned = get_thread_sys_handle(threads[0].index, &handle);
    QVERIFY(pthread_equal(handle, returned));
    QCOMPARE(pthread_cancel(handle), 0);
    QTRY_VERIFY(!isLive(number));
}

void TestVexaSupport::severalWaitersShareOneJoin()
{
    Gate gate;
    const unsigned int number = createthread(passGate, &gate, 0, "awaited");
    std::atomic<int> returned{0};
    std::thread first([&] { waitforthread(number, 0); ++returned; });
    std::thread second([&] { waitforthread(number, 0); ++returned; });
    msleep(50);
    QCOMPARE(returned.load(), 0);
    gate.release();
    first.join();
    second.join();
    QCOMPARE(returned.load(), 2);
    QVERIFY(!isLive(number));
}

void TestVexaSupport::threadWaitingForItselfKeepsItsRecord()
{
    struct Self
    {
        std::atomic<unsigned int> number{0};
        std::atomic<bool> waited{false};
        Gate end;
    } self;
    const unsigned int number = createthread(
        [](void *argument) {
            auto *self = static_cast<Self *>(argument);
            while (self->number == 0)
                msleep(1);
            waitforthread(self->number, 0);
            self->waited = true;
            self->end.pass();
        },
        &self, 0, "self");
    self.number = number;
    QTRY_VERIFY(self.waited);
    QVERIFY(isLive(number));
    self.end.release();
    QTRY_VERIFY(!isLive(number));
}

void TestVexaSupport::numberingSkipsZeroAndLiveNumbers()
{
    Gate gate;
    vexa_set_next_thread_number(UINT_MAX);
    const unsigned int last = createthread(passGate, &gate, 0, "last");
    const unsigned int wrapped = createthread(passGate, &gate, 0, "wrapped");
    vexa_set_next_thread_number(wrapped);
    const unsigned int next = createthread(passGate, &gate, 0, "next");
    gate.release();
    waitforthread(last, 0);
    waitforthread(wrapped, 0);
    waitforthread(next, 0);

    QCOMPARE(last, UINT_MAX);
    QCOMPARE(wrapped, 1u);
    QCOMPARE(next, 2u);
}

void TestVexaSupport::cleanupLeavesThreadsUsable()
{
    vexa_cleanup();
    vexa_cleanup();
    static std::atomic<bool> ran{false};
    const unsigned int number = createthread([](void *) { ran = true; }, nullptr, 0, "after cleanup");
    QVERIFY(number != 0);
    waitforthread(number, 0);
    QVERIFY(ran);
}

void TestVexaSupport::mutexIsRecursive()
{
    pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
    const pthread_mutex_t copy = mutex_initializer(&mutex);
    Q_UNUSED(copy);
    QCOMPARE(pthread_mutex_trylock(&mutex), 0);
    QCOMPARE(pthread_mutex_trylock(&mutex), 0);
    int fromOtherThread = -1;
    std::thread([&] { fromOtherThread = pthread_mutex_trylock(&mutex); }).join();
    QCOMPARE(fromOtherThread, EBUSY);
    QCOMPARE(pthread_mutex_unlock(&mutex), 0);
    QCOMPARE(pthread_mutex_unlock(&mutex), 0);
    pthread_mutex_destroy(&mutex);

    int kind = 0;
    pthread_mutexattr_gettype(&__vexa_def_mutex, &kind);
    QCOMPARE(kind, int(PTHREAD_MUTEX_RECURSIVE));
}

void TestVexaSupport::eventTimedWait_data()
{
    QTest::addColumn<bool>("signalledBefore");
    QTest::addColumn<int>("signalAfterMs");  // -1: nobody signals
    QTest::addColumn<int>("waitMs");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("flagAfter");

    QTest::newRow("already signalled stays set") << true << -1 << 5000 << 1 << 1;
    QTest::newRow("signalled while waiting") << false << 50 << 5000 << 1 << 0;
    QTest::newRow("times out") << false << -1 << 120 << 0 << 0;
}

void TestVexaSupport::eventTimedWait()
{
    QFETCH(bool, signalledBefore);
    QFETCH(int, signalAfterMs);
    QFETCH(int, waitMs);
    QFETCH(int, result);
    QFETCH(int, flagAfter);

    vexa_event event;
    const vexa_event copy = event_initializer(&event);
    QCOMPARE(copy.signalled, 0);
    event.signalled = signalledBefore ? 1 : 0;
    std::thread signaller;
    if (signalAfterMs >= 0) {
        signaller = std::thread([&] {
            msleep(signalAfterMs);
            pthread_mutex_lock(&event.mutex);
            event.signalled = 1;
            pthread_cond_broadcast(&event.cond);
            pthread_mutex_unlock(&event.mutex);
        });
    }
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(event_timedwait(&event, waitMs), result);
    const qint64 elapsed = timer.elapsed();
    if (signaller.joinable())
        signaller.join();
    QCOMPARE(event.signalled, flagAfter);
    if (result == 0)
        QVERIFY2(elapsed >= waitMs - 1, qPrintable(QString::number(elapsed)));
    pthread_cond_destroy(&event.cond);
    pthread_mutex_destroy(&event.mutex);
}

void TestVexaSupport::clocksStartAtZero()
{
    const uint32_t first = milisec();
    const uint64_t first64 = milisec64();
    QVERIFY(first < 20);
    QVERIFY(first64 < 20);
    msleep(200);
    QVERIFY(milisec() >= first + 200);
    QVERIFY(milisec64() >= first64 + 200);
}

void TestVexaSupport::msleepSleepsAtLeast_data()
{
    QTest::addColumn<int>("ms");
    QTest::newRow("nothing") << 0;
    QTest::newRow("below a second") << 30;
    QTest::newRow("seconds and microseconds") << 1500;
}

void TestVexaSupport::msleepSleepsAtLeast()
{
    QFETCH(int, ms);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(msleep(ms), 0);
    QVERIFY2(timer.elapsed() >= ms, qPrintable(QString::number(timer.elapsed())));
}

void TestVexaSupport::systemErrorRoundTrip()
{
    set_syserror(12345, EACCES);
    QCOMPARE(syserror(), EACCES);
    QCOMPARE(errno, EACCES);
    set_syserror(0, 0);
    QCOMPARE(syserror(), 0);
}

void TestVexaSupport::formatError_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("ENOENT") << int(ENOENT) << QByteArray("(2) No such file or directory");
    QTest::newRow("EACCES") << int(EACCES) << QByteArray("(13) Permission denied");
    QTest::newRow("none") << 0 << QByteArray("(0) Success");
}

void TestVexaSupport::formatError()
{
    QFETCH(int, code);
    QFETCH(QByteArray, text);
    set_syserror(0, code);
    const char *formatted = format_error();
    QVERIFY(formatted);
    QCOMPARE(QByteArray(formatted), text);
    QCOMPARE(syserror(), code);
}

void TestVexaSupport::formatErrorBufferPerThread()
{
    set_syserror(0, ENOENT);
    const char *mine = format_error();
    set_syserror(0, EACCES);
    QCOMPARE(pointer(format_error()), pointer(mine));  // rewritten in place

    const int codes[] = {EPERM, ENOENT, EINTR, EIO, EBADF, EAGAIN, ENOMEM, EACCES};
    std::vector<std::thread> threads;
    std::atomic<int> correct{0};
    std::vector<const char *> buffers(8);
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([&, i] {
            char expected[64];
            snprintf(expected, sizeof expected, "(%d) %s", codes[i], strerror(codes[i]));
            for (int round = 0; round < 200; ++round) {
                errno = codes[i];
                const char *text = format_error();
                if (text && strcmp(text, expected) == 0 && (round == 0 || buffers[i] == text))
                    ++correct;
                buffers[i] = text;
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    QCOMPARE(correct.load(), 8 * 200);
    QCOMPARE(QByteArray(mine), QByteArray("(13) Permission denied"));
}

void TestVexaSupport::socketOptions()
{
    QCOMPARE(init_sockets(), 0);
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    QVERIFY(socket >= 0);

    QCOMPARE(setsocktimeout(socket, SO_RCVTIMEO, 3), 0);
    QCOMPARE(setsocktimeout(socket, SO_SNDTIMEO, 7), 0);
    timeval receive {}, send {};
    socklen_t length = sizeof receive;
    getsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &receive, &length);
    getsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &send, &length);
    QCOMPARE(receive.tv_sec, 3);
    QCOMPARE(receive.tv_usec, 0);
    QCOMPARE(send.tv_sec, 7);

    QVERIFY(!(fcntl(socket, F_GETFL) & O_NONBLOCK));
    QCOMPARE(sock_blockmode(socket), 0);
    QVERIFY(fcntl(socket, F_GETFL) & O_NONBLOCK);
    ::close(socket);
    QCOMPARE(close_sockets(), 0);
}

void TestVexaSupport::osInfo()
{
    utsname system;
    QCOMPARE(uname(&system), 0);
    const QByteArray expected = QByteArray(system.sysname) + ' ' + system.release + ' ' + system.machine;

    int version = 0;
    Guarded text;
    QCOMPARE(get_os_info(&version, text.bytes, 100), int(expected.size()));
    QCOMPARE(version, 65536);
    QCOMPARE(QByteArray(text.bytes), expected);

    Guarded small;
    get_os_info(&version, small.bytes, 4);
    QCOMPARE(QByteArray(small.bytes), expected.left(3));
    QVERIFY(small.untouchedFrom(4));

    Guarded none;
    version = 0;
    QCOMPARE(get_os_info(&version, none.bytes, 0), 0);
    QCOMPARE(version, 65536);
    QVERIFY(none.untouchedFrom(0));
}

void TestVexaSupport::atoi64_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint64>("value");
    QTest::newRow("blanks and sign") << QByteArray("  -42") << qint64(-42);
    QTest::newRow("digits then letters") << QByteArray("12abc") << qint64(12);
    QTest::newRow("no digits") << QByteArray("abc") << qint64(0);
    QTest::newRow("empty") << QByteArray("") << qint64(0);
    QTest::newRow("plus") << QByteArray("\t\n+7") << qint64(7);
    QTest::newRow("sign then blank") << QByteArray("- 5") << qint64(0);
    QTest::newRow("maximum") << QByteArray("9223372036854775807") << qint64(LLONG_MAX);
    QTest::newRow("minimum") << QByteArray("-9223372036854775808") << qint64(LLONG_MIN);
    QTest::newRow("unsigned maximum wraps") << QByteArray("18446744073709551615") << qint64(-1);
    QTest::newRow("quota") << QByteArray("10737418240") << qint64(10737418240LL);
}

void TestVexaSupport::atoi64()
{
    QFETCH(QByteArray, text);
    QFETCH(qint64, value);
    QCOMPARE(qint64(::atoi64(text.constData())), value);
}

void TestVexaSupport::i64toa_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<int>("base");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("255 hex") << qint64(255) << 16 << QByteArray("ff");
    QTest::newRow("-1 decimal") << qint64(-1) << 10 << QByteArray("18446744073709551615");
    QTest::newRow("zero") << qint64(0) << 10 << QByteArray("0");
    QTest::newRow("binary") << qint64(5) << 2 << QByteArray("101");
    QTest::newRow("base 36") << qint64(35) << 36 << QByteArray("z");
    QTest::newRow("minimum") << qint64(LLONG_MIN) << 10 << QByteArray("9223372036854775808");
    QTest::newRow("-1 binary") << qint64(-1) << 2 << QByteArray(64, '1');
    QTest::newRow("base 1 refused") << qint64(7) << 1 << QByteArray("");
    QTest::newRow("base 37 refused") << qint64(7) << 37 << QByteArray("");
}

void TestVexaSupport::i64toa()
{
    QFETCH(qint64, value);
    QFETCH(int, base);
    QFETCH(QByteArray, text);
    Guarded out;
    QCOMPARE(pointer(::i64toa(value, out.bytes, base)), pointer(out.bytes));
    QCOMPARE(QByteArray(out.bytes), text);
    QVERIFY(out.untouchedFrom(text.size() + 1));
}

void TestVexaSupport::roundTrip64_data()
{
    QTest::addColumn<qint64>("value");
    QTest::newRow("zero") << qint64(0);
    QTest::newRow("one") << qint64(1);
    QTest::newRow("minus one") << qint64(-1);
    QTest::newRow("maximum") << qint64(LLONG_MAX);
    QTest::newRow("minimum") << qint64(LLONG_MIN);
    QTest::newRow("quota") << qint64(5LL << 30);
    QTest::newRow("negative") << qint64(-1234567890123LL);
}

void TestVexaSupport::roundTrip64()
{
    QFETCH(qint64, value);
    char text[72];
    QCOMPARE(qint64(::atoi64(::i64toa(value, text, 10))), value);
    QCOMPARE(qint64(ntoh64(hton64(uint64_t(value)))), value);
}

void TestVexaSupport::byteOrder64()
{
    const uint64_t network = hton64(0x0102030405060708ULL);
    unsigned char bytes[8];
    memcpy(bytes, &network, sizeof bytes);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(bytes), 8), QByteArray::fromHex("0102030405060708"));
    QCOMPARE(ntoh64(network), 0x0102030405060708ULL);
}

void TestVexaSupport::snprintfx_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("argument");
    QTest::addColumn<QByteArray>("text");  // null: nothing may be written
    QTest::addColumn<int>("placed");

    QTest::newRow("fits") << 64 << QByteArray("hello") << QByteArray("hello") << 5;
    QTest::newRow("size 64 keeps 62") << 64 << QByteArray(100, 'a') << QByteArray(62, 'a') << 62;
    QTest::newRow("exactly size - 2") << 8 << QByteArray("abcdef") << QByteArray("abcdef") << 6;
    QTest::newRow("size - 1 is cut") << 8 << QByteArray("abcdefg") << QByteArray("abcdef") << 6;
    QTest::newRow("size 2") << 2 << QByteArray("abc") << QByteArray("") << 0;
    QTest::newRow("size 1") << 1 << QByteArray("abc") << QByteArray() << 0;
    QTest::newRow("size 0") << 0 << QByteArray("abc") << QByteArray() << 0;
    QTest::newRow("negative size") << -5 << QByteArray("abc") << QByteArray() << 0;
}

void TestVexaSupport::snprintfx()
{
    QFETCH(int, size);
    QFETCH(QByteArray, argument);
    QFETCH(QByteArray, text);
    QFETCH(int, placed);

    Guarded out;
    QCOMPARE(::snprintfx(out.bytes, size, "%s", argument.constData()), placed);
    if (text.isNull()) {
        QVERIFY(out.untouchedFrom(0));
    } else {
        QCOMPARE(QByteArray(out.bytes), text);
        QVERIFY(out.untouchedFrom(size));
    }
    QCOMPARE(::snprintfx(nullptr, size, "%s", argument.constData()), 0);
}

void TestVexaSupport::vsnprintfxSmallSizes_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("written");
    QTest::newRow("size 1 empties") << 1 << true;
    QTest::newRow("size 0") << 0 << false;
    QTest::newRow("negative") << -1 << false;
}

static int callVsnprintfx(char *text, int size, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const int placed = vsnprintfx(text, size, format, args);
    va_end(args);
    return placed;
}

void TestVexaSupport::vsnprintfxSmallSizes()
{
    QFETCH(int, size);
    QFETCH(bool, written);
    Guarded out("previous");
    QCOMPARE(callVsnprintfx(out.bytes, size, "%d", 12345), 0);
    QCOMPARE(QByteArray(out.bytes), written ? QByteArray("") : QByteArray("previous"));
    Guarded wide;
    QCOMPARE(callVsnprintfx(wide.bytes, 6, "%d", 12345), 4);
    QCOMPARE(QByteArray(wide.bytes), QByteArray("1234"));
}

void TestVexaSupport::snprintfadd_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<int>("length");
    QTest::newRow("appends") << QByteArray("abc") << 64 << QByteArray("abc-def") << 7;
    QTest::newRow("whole text bounded") << QByteArray("abc") << 8 << QByteArray("abc-de") << 6;
    QTest::newRow("already full") << QByteArray("abcdef") << 8 << QByteArray("abcdef") << 6;
    QTest::newRow("empty start") << QByteArray("") << 64 << QByteArray("-def") << 4;
}

void TestVexaSupport::snprintfadd()
{
    QFETCH(QByteArray, before);
    QFETCH(int, size);
    QFETCH(QByteArray, after);
    QFETCH(int, length);
    Guarded out(before.constData());
    QCOMPARE(::snprintfadd(out.bytes, size, "-%s", "def"), length);
    QCOMPARE(QByteArray(out.bytes), after);
    QVERIFY(out.untouchedFrom(qMax(size, before.size() + 1)));
}

QTEST_GUILESS_MAIN(TestVexaSupport)
#include "tst_vexasupport.moc"
