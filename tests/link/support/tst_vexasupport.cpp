#include "vexasupport.h"
#include "vexasupport_p.h"
#include "guardedbuffer.h"

#include <QElapsedTimer>
#include <QTest>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <future>
#include <thread>
#include <vector>

namespace {

// Holds threads until released.
struct Gate
{
    std::promise<void> opener;
    std::shared_future<void> opened = opener.get_future().share();
    void release() { opener.set_value(); }
};

void passGate(void *gate) { static_cast<Gate *>(gate)->opened.wait(); }
void sleepForever(void *) { for (;;) msleep(10); }
int refuseThread(pthread_t *, const pthread_attr_t *, void *(*)(void *), void *) { return EAGAIN; }

struct LiveThread
{
    QByteArray name;
    unsigned int number;
    int pid, index;
};

std::vector<LiveThread> liveThreads()
{
    std::vector<LiveThread> threads;
    int cursor = 0, pid = 0;
    char name[32];
    unsigned int number = 0;
    while (enumthread(&cursor, name, sizeof name, &number, &pid))
        threads.push_back({QByteArray(name), number, pid, cursor});
    return threads;
}

bool isLive(unsigned int number)
{
    const std::vector<LiveThread> threads = liveThreads();
    return std::any_of(threads.begin(), threads.end(), [number](const LiveThread &t) { return t.number == number; });
}

int callVsnprintfx(char *text, int size, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const int placed = vsnprintfx(text, size, format, args);
    va_end(args);
    return placed;
}

} // namespace

class TestVexaSupport : public QObject
{
    Q_OBJECT

private slots:
    // Runs first: numbering starts with this process, and goes on after a cleanup.
    void threadNumbersStartAtOne()
    {
        static std::atomic<int> done{0};
        for (unsigned int expected = 1; expected <= 3; ++expected) {
            if (expected == 3) {
                vexa_cleanup();
                vexa_cleanup();
            }
            const unsigned int number = createthread([](void *) { msleep(20); ++done; }, nullptr, 0, "counted");
            QCOMPARE(number, expected);
            waitforthread(number, 0);
            QCOMPARE(done.load(), int(expected));  // the wait returns after the function
        }
    }

    void enumerationListsLiveThreads()
    {
        Gate gate;
        const unsigned int first = createthread(passGate, &gate, 0, "dbtread");
        const unsigned int second = createthread(passGate, &gate, 0, "other");
        QVERIFY(first != 0 && second == first + 1);
        const std::vector<LiveThread> threads = liveThreads();
        QCOMPARE(threads.size(), size_t(2));
        QCOMPARE(threads[0].name + threads[1].name, QByteArray("dbtreadother"));
        QCOMPARE(threads[1].number, second);
        QTRY_COMPARE(liveThreads()[1].pid, int(getpid()));
        int cursor = -3;
        QCOMPARE(enumthread(&cursor, nullptr, 0, nullptr, nullptr), 0);
        // A thread nobody waits for frees its record when it ends; a wait for its number
        // then returns at once.
        gate.release();
        QTRY_VERIFY(liveThreads().empty());
        QElapsedTimer timer;
        timer.start();
        waitforthread(first, 0);
        QVERIFY(timer.elapsed() < 1000);
    }

    // A full table or a refused thread leaves no record; the numbers wrap past 0 and live ones.
    void refusalsAndNumbering()
    {
        Gate gate;
        std::vector<unsigned int> numbers;
        for (unsigned int number; numbers.size() < VEXA_MAX_THREADS
                                  && (number = createthread(passGate, &gate, 0, "many")) != 0;)
            numbers.push_back(number);
        gate.release();
        for (unsigned int number : numbers)
            waitforthread(number, 0);
        QCOMPARE(numbers.size(), size_t(VEXA_MAX_THREADS - 1));  // the table full, the next refused
        vexa_set_thread_create(refuseThread);
        const unsigned int refused = createthread(passGate, &gate, 0, "refused");
        vexa_set_thread_create(nullptr);
        QCOMPARE(refused, 0u);
        QVERIFY(liveThreads().empty());
        const unsigned int after = createthread(passGate, &gate, 0, "after");
        waitforthread(after, 0);
        QCOMPARE(after, numbers.back() + 1);

        Gate held;
        vexa_set_next_thread_number(UINT_MAX);
        const unsigned int last = createthread(passGate, &held, 0, "last");
        const unsigned int wrapped = createthread(passGate, &held, 0, "wrapped");
        vexa_set_next_thread_number(wrapped);
        const unsigned int next = createthread(passGate, &held, 0, "next");
        held.release();
        for (unsigned int number : {last, wrapped, next})
            waitforthread(number, 0);
        QCOMPARE(QList<unsigned int>({last, wrapped, next}), QList<unsigned int>({UINT_MAX, 1u, 2u}));
    }

    void cancelledThreadsFreeTheirRecords()
    {
        // A timed wait cancels the thread before it joins it.
        const unsigned int waited = createthread(sleepForever, nullptr, 0, "endless");
        QVERIFY(waited != 0);
        waitforthread(waited, 1000);
        QVERIFY(!isLive(waited));
        // Cancelled with nobody waiting, the thread still frees its record.
        const unsigned int number = createthread(sleepForever, nullptr, 0, "endless");
        pthread_t handle = pthread_t();
        QVERIFY(pthread_equal(handle, get_thread_sys_handle(liveThreads().at(0).index, &handle)));
        QCOMPARE(pthread_cancel(handle), 0);
        QTRY_VERIFY(!isLive(number));
    }

    void severalWaitersShareOneJoin()
    {
        Gate gate;
        const unsigned int number = createthread(passGate, &gate, 0, "awaited");
        std::atomic<int> returned{0};
        auto wait = [&] { waitforthread(number, 0); ++returned; };
        std::thread first(wait), second(wait);
        msleep(50);
        QCOMPARE(returned.load(), 0);
        gate.release();
        first.join();
        second.join();
        QCOMPARE(returned.load(), 2);
        QVERIFY(!isLive(number));
    }

    void threadWaitingForItselfKeepsItsRecord()
    {
        struct Self
        {
            std::atomic<unsigned int> number{0};
            std::atomic<bool> waited{false};
            Gate end;
        } self;
        auto body = [](void *argument) {
            auto *self = static_cast<Self *>(argument);
            while (self->number == 0)
                msleep(1);
            waitforthread(self->number, 0);
            self->waited = true;
            self->end.opened.wait();
        };
        self.number = createthread(body, &self, 0, "self");
        QTRY_VERIFY(self.waited);
        QVERIFY(isLive(self.number));
        self.end.release();
        QTRY_VERIFY(!isLive(self.number));
    }

    void mutexIsRecursive()
    {
        pthread_mutex_t mutex;
        mutex_initializer(&mutex);
        QCOMPARE(pthread_mutex_trylock(&mutex) + pthread_mutex_trylock(&mutex), 0);
        int fromOtherThread = -1;
        std::thread([&] { fromOtherThread = pthread_mutex_trylock(&mutex); }).join();
        QCOMPARE(fromOtherThread, EBUSY);
        pthread_mutex_unlock(&mutex);
        pthread_mutex_unlock(&mutex);
        pthread_mutex_destroy(&mutex);
        // Code that initialises its mutexes from the attribute directly gets the same kind.
        int kind = 0;
        pthread_mutexattr_gettype(&__vexa_def_mutex, &kind);
        QCOMPARE(kind, int(PTHREAD_MUTEX_RECURSIVE));
    }

    void eventTimedWait()
    {
        vexa_event event;
        QCOMPARE(event_initializer(&event).signalled, 0);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(event_timedwait(&event, 120), 0);
        QVERIFY2(timer.elapsed() >= 119, qPrintable(QString::number(timer.elapsed())));
        event.signalled = 1;
        QCOMPARE(event_timedwait(&event, 5000), 1);
        QCOMPARE(event.signalled, 1);  // a signal found set stays set
        event.signalled = 0;
        std::thread signaller([&] {
            msleep(50);
            pthread_mutex_lock(&event.mutex);
            event.signalled = 1;
            pthread_cond_broadcast(&event.cond);
            pthread_mutex_unlock(&event.mutex);
        });
        QCOMPARE(event_timedwait(&event, 5000), 1);
        signaller.join();
        QCOMPARE(event.signalled, 0);  // a signal waited for is taken
        pthread_cond_destroy(&event.cond);
        pthread_mutex_destroy(&event.mutex);
    }

    void clocksAndSleep()
    {
        const uint32_t first = milisec();
        const uint64_t first64 = milisec64();
        QVERIFY(first < 20 && first64 < 20);
        QElapsedTimer timer;
        timer.start();
        // Whole seconds and the rest both count.
        QCOMPARE(msleep(1010), 0);
        QVERIFY2(timer.elapsed() >= 1010, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(milisec() >= first + 1010 && milisec64() >= first64 + 1010);
    }

    // Each thread formats into a buffer of its own, rewritten in place.
    void formatErrorBufferPerThread()
    {
        set_syserror(12345, ENOENT);
        QCOMPARE(syserror(), ENOENT);
        const char *mine = format_error();
        std::atomic<int> correct{0};
        std::vector<std::thread> threads;
        for (int code : {EPERM, EINTR, EIO, EBADF, EAGAIN, ENOMEM, EACCES}) {
            threads.emplace_back([&correct, code] {
                const QByteArray expected = "(" + QByteArray::number(code) + ") " + strerror(code);
                for (int round = 0; round < 200; ++round) {
                    errno = code;
                    correct += expected == format_error() ? 1 : 0;
                }
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        QCOMPARE(correct.load(), 7 * 200);
        QCOMPARE(QByteArray(mine), QByteArray("(2) No such file or directory"));
        set_syserror(0, EACCES);
        QCOMPARE(pointer(format_error()), pointer(mine));
        QCOMPARE(QByteArray(mine), QByteArray("(13) Permission denied"));
    }

    void socketOptions()
    {
        const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
        QCOMPARE(setsocktimeout(socket, SO_SNDTIMEO, 7), 0);
        timeval send {};
        socklen_t length = sizeof send;
        getsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &send, &length);
        QCOMPARE(send.tv_sec, 7);
        QCOMPARE(sock_blockmode(socket), 0);
        QVERIFY(fcntl(socket, F_GETFL) & O_NONBLOCK);
        ::close(socket);
    }

    void osInfo()
    {
        utsname system;
        uname(&system);
        const QByteArray expected = QByteArray(system.sysname) + ' ' + system.release + ' ' + system.machine;
        int version = 0;
        auto info = [&version](int size) {
            return [&version, size](char *b) -> long long { return get_os_info(&version, b, size); };
        };
        QCOMPARE(written(info(100), 100), QByteArray::number(expected.size()) + '|' + expected);
        QCOMPARE(version, 65536);
        QCOMPARE(written(info(4), 4), QByteArray::number(expected.size()) + '|' + expected.left(3));
        QCOMPARE(written(info(0), 0), QByteArray("0|untouched"));
    }

    void atoi64()
    {
        QCOMPARE(::atoi64(" \t-42"), -42LL);
        QCOMPARE(::atoi64("+12abc"), 12LL);
        QCOMPARE(::atoi64("- 5"), 0LL);
        QCOMPARE(::atoi64("18446744073709551615"), -1LL);  // wraps instead of overflowing
    }

    void i64toaAndRoundTrip_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<int>("base");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("255 hex") << qint64(255) << 16 << QByteArray("ff");
        QTest::newRow("zero") << qint64(0) << 10 << QByteArray("0");
        QTest::newRow("-1 decimal") << qint64(-1) << 10 << QByteArray("18446744073709551615");
        QTest::newRow("maximum") << qint64(LLONG_MAX) << 10 << QByteArray("9223372036854775807");
        QTest::newRow("minimum") << qint64(LLONG_MIN) << 10 << QByteArray("9223372036854775808");
        QTest::newRow("-1 binary, the longest") << qint64(-1) << 2 << QByteArray(64, '1');
        QTest::newRow("base 37 refused") << qint64(0x0102030405060708LL) << 37 << QByteArray("");
    }

    void i64toaAndRoundTrip()
    {
        QFETCH(qint64, value);
        QFETCH(int, base);
        QFETCH(QByteArray, text);
        GuardedBuffer out;
        QCOMPARE(pointer(::i64toa(value, out.bytes, base)), pointer(out.bytes));
        QCOMPARE(out.text(), text);
        QVERIFY(out.untouchedFrom(text.size() + 1));
        if (base == 10)
            QCOMPARE(qint64(::atoi64(out.bytes)), value);
        // On the wire, most significant byte first.
        const uint64_t network = hton64(uint64_t(value));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(&network), 8).toHex(),
                 QByteArray::number(quint64(value), 16).rightJustified(16, '0'));
        QCOMPARE(qint64(ntoh64(network)), value);
    }

    void snprintfx_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("argument");
        QTest::addColumn<QByteArray>("text");   // null: nothing may be written
        QTest::addColumn<QByteArray>("vText");  // what vsnprintfx leaves
        QTest::addColumn<int>("placed");
        QTest::newRow("size 64 keeps 62") << 64 << QByteArray(100, 'a') << QByteArray(62, 'a') << QByteArray(62, 'a') << 62;
        QTest::newRow("size - 1 is cut") << 8 << QByteArray("abcdefg") << QByteArray("abcdef") << QByteArray("abcdef") << 6;
        QTest::newRow("size 2") << 2 << QByteArray("abc") << QByteArray("") << QByteArray("") << 0;
        QTest::newRow("size 1") << 1 << QByteArray("abc") << QByteArray() << QByteArray("") << 0;
        QTest::newRow("negative size") << -5 << QByteArray("abc") << QByteArray() << QByteArray() << 0;
    }

    void snprintfx()
    {
        QFETCH(int, size);
        QFETCH(QByteArray, argument);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, vText);
        QFETCH(int, placed);
        GuardedBuffer out, vOut;
        QCOMPARE(::snprintfx(out.bytes, size, "%s", argument.constData()), placed);
        QCOMPARE(callVsnprintfx(vOut.bytes, size, "%s", argument.constData()), placed);
        for (const auto &[buffer, expected] : {std::pair(&out, text), std::pair(&vOut, vText)}) {
            QVERIFY(buffer->untouchedFrom(expected.isNull() ? 0 : size));
            if (!expected.isNull())
                QCOMPARE(buffer->text(), expected);
        }
        QCOMPARE(::snprintfx(nullptr, size, "%s", argument.constData()), 0);
    }

    void snprintfadd()
    {
        auto add = [](int size) { return [size](char *b) -> long long { return ::snprintfadd(b, size, "-%s", "def"); }; };
        QCOMPARE(written(add(64), 64, "abc"), QByteArray("7|abc-def"));
        QCOMPARE(written(add(8), 8, "abc"), QByteArray("6|abc-de"));  // the whole text bounded
        QCOMPARE(written(add(8), 8, "abcdef"), QByteArray("6|abcdef"));  // already full
    }
};

QTEST_GUILESS_MAIN(TestVexaSupport)
#include "tst_vexasupport.moc"
