#include "vexasupport.h"
#include "vexasupport_p.h"
#include "guardedbuffer.h"

#include <QElapsedTimer>
#include <QTest>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace {

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
    // Runs first: numbering starts with this process.
    // Runs first: numbering starts with this process, and goes on after a cleanup.
    void threadNumbersStartAtOne()
    {
        static std::atomic<int> done{0};
        for (unsigned int expected = 1; expected <= 3; ++expected) {
            if (expected == 3) {
                vexa_cleanup();
                vexa_cleanup();
            }
            const unsigned int number = createthread(
                [](void *) {
                    msleep(20);
                    ++done;
                },
                nullptr, 0, "counted");
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
        QCOMPARE(threads[0].name, QByteArray("dbtread"));
        QCOMPARE(threads[0].number, first);
        QCOMPARE(threads[1].name, QByteArray("other"));
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

    void refusalsLeaveNoRecord()
    {
        Gate gate;
        std::vector<unsigned int> numbers;
        for (int i = 1; i < VEXA_MAX_THREADS; ++i) {
            const unsigned int number = createthread(passGate, &gate, 0, "many");
            if (number == 0)
                break;
            numbers.push_back(number);
        }
        const unsigned int tableFull = createthread(passGate, &gate, 0, "one too many");
        gate.release();
        for (unsigned int number : numbers)
            waitforthread(number, 0);
        QCOMPARE(numbers.size(), size_t(VEXA_MAX_THREADS - 1));
        QCOMPARE(tableFull, 0u);

        vexa_set_thread_create(refuseThread);
        const unsigned int refused = createthread(passGate, &gate, 0, "refused");
        vexa_set_thread_create(nullptr);
        QCOMPARE(refused, 0u);
        QVERIFY(liveThreads().empty());
        const unsigned int after = createthread(passGate, &gate, 0, "after");
        waitforthread(after, 0);
        QCOMPARE(after, numbers.back() + 1);
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
        const std::vector<LiveThread> threads = liveThreads();
        QCOMPARE(threads.size(), size_t(1));
        pthread_t handle = pthread_t();
        const pthread_t returned = get_thread_sys_handle(threads[0].index, &handle);
        QVERIFY(pthread_equal(handle, returned));
        QCOMPARE(pthread_cancel(handle), 0);
        QTRY_VERIFY(!isLive(number));
    }

    void severalWaitersShareOneJoin()
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

    void threadWaitingForItselfKeepsItsRecord()
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

    void numberingSkipsZeroAndLiveNumbers()
    {
        Gate gate;
        vexa_set_next_thread_number(UINT_MAX);
        const unsigned int last = createthread(passGate, &gate, 0, "last");
        const unsigned int wrapped = createthread(passGate, &gate, 0, "wrapped");
        vexa_set_next_thread_number(wrapped);
        const unsigned int next = createthread(passGate, &gate, 0, "next");
        gate.release();
        for (unsigned int number : {last, wrapped, next})
            waitforthread(number, 0);

        QCOMPARE(last, UINT_MAX);
        QCOMPARE(wrapped, 1u);
        QCOMPARE(next, 2u);
    }

    void mutexIsRecursive()
    {
        pthread_mutex_t mutex;
        mutex_initializer(&mutex);
        QCOMPARE(pthread_mutex_trylock(&mutex), 0);
        QCOMPARE(pthread_mutex_trylock(&mutex), 0);
        int fromOtherThread = -1;
        std::thread([&] { fromOtherThread = pthread_mutex_trylock(&mutex); }).join();
        QCOMPARE(fromOtherThread, EBUSY);
        QCOMPARE(pthread_mutex_unlock(&mutex), 0);
        QCOMPARE(pthread_mutex_unlock(&mutex), 0);
        pthread_mutex_destroy(&mutex);

        // Code that initialises its mutexes from the attribute directly gets the same kind.
        int kind = 0;
        pthread_mutexattr_gettype(&__vexa_def_mutex, &kind);
        QCOMPARE(kind, int(PTHREAD_MUTEX_RECURSIVE));
    }

    void eventTimedWait_data()
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

    void eventTimedWait()
    {
        QFETCH(bool, signalledBefore);
        QFETCH(int, signalAfterMs);
        QFETCH(int, waitMs);
        QFETCH(int, result);
        QFETCH(int, flagAfter);

        vexa_event event;
        QCOMPARE(event_initializer(&event).signalled, 0);
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

    void clocksAndSleep()
    {
        const uint32_t first = milisec();
        const uint64_t first64 = milisec64();
        QVERIFY(first < 20);
        QVERIFY(first64 < 20);
        QElapsedTimer timer;
        timer.start();
        // Whole seconds and the rest both count.
        QCOMPARE(msleep(1010), 0);
        QVERIFY2(timer.elapsed() >= 1010, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(milisec() >= first + 1010);
        QVERIFY(milisec64() >= first64 + 1010);
        QCOMPARE(msleep(0), 0);
    }

    void formatErrorBufferPerThread()
    {
        set_syserror(12345, ENOENT);
        QCOMPARE(errno, ENOENT);
        const char *mine = format_error();
        QCOMPARE(QByteArray(mine), QByteArray("(2) No such file or directory"));
        QCOMPARE(syserror(), ENOENT);
        set_syserror(0, EACCES);
        QCOMPARE(pointer(format_error()), pointer(mine));  // rewritten in place

        const int codes[] = {EPERM, ENOENT, EINTR, EIO, EBADF, EAGAIN, ENOMEM, EACCES};
        std::vector<std::thread> threads;
        std::atomic<int> correct{0};
        for (int code : codes) {
            threads.emplace_back([&, code] {
                const QByteArray expected = "(" + QByteArray::number(code) + ") " + strerror(code);
                const char *buffer = nullptr;
                for (int round = 0; round < 200; ++round) {
                    errno = code;
                    const char *text = format_error();
                    if (text && expected == text && (round == 0 || buffer == text))
                        ++correct;
                    buffer = text;
                }
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        QCOMPARE(correct.load(), 8 * 200);
        QCOMPARE(QByteArray(mine), QByteArray("(13) Permission denied"));
    }

    void socketOptions()
    {
        const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
        QVERIFY(socket >= 0);
        QCOMPARE(setsocktimeout(socket, SO_SNDTIMEO, 7), 0);
        timeval send {};
        socklen_t length = sizeof send;
        getsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &send, &length);
        QCOMPARE(send.tv_sec, 7);
        QVERIFY(!(fcntl(socket, F_GETFL) & O_NONBLOCK));
        QCOMPARE(sock_blockmode(socket), 0);
        QVERIFY(fcntl(socket, F_GETFL) & O_NONBLOCK);
        ::close(socket);
    }

    void osInfo()
    {
        utsname system;
        QCOMPARE(uname(&system), 0);
        const QByteArray expected = QByteArray(system.sysname) + ' ' + system.release + ' ' + system.machine;
        int version = 0;
        GuardedBuffer text, small, none;
        QCOMPARE(get_os_info(&version, text.bytes, 100), int(expected.size()));
        QCOMPARE(version, 65536);
        QCOMPARE(text.text(), expected);
        get_os_info(&version, small.bytes, 4);
        QCOMPARE(small.text(), expected.left(3));
        QVERIFY(small.untouchedFrom(4));
        QCOMPARE(get_os_info(&version, none.bytes, 0), 0);
        QVERIFY(none.untouchedFrom(0));
    }

    void atoi64_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qint64>("value");
        QTest::newRow("blanks and sign") << QByteArray(" \t-42") << qint64(-42);
        QTest::newRow("digits then letters") << QByteArray("+12abc") << qint64(12);
        QTest::newRow("sign then blank") << QByteArray("- 5") << qint64(0);
        QTest::newRow("maximum") << QByteArray("9223372036854775807") << qint64(LLONG_MAX);
        QTest::newRow("minimum") << QByteArray("-9223372036854775808") << qint64(LLONG_MIN);
        QTest::newRow("unsigned maximum wraps") << QByteArray("18446744073709551615") << qint64(-1);
    }

    void atoi64()
    {
        QFETCH(QByteArray, text);
        QFETCH(qint64, value);
        QCOMPARE(qint64(::atoi64(text.constData())), value);
    }

    void i64toaAndRoundTrip_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<int>("base");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("255 hex") << qint64(255) << 16 << QByteArray("ff");
        QTest::newRow("zero") << qint64(0) << 10 << QByteArray("0");
        QTest::newRow("base 36") << qint64(35) << 36 << QByteArray("z");
        QTest::newRow("-1 decimal") << qint64(-1) << 10 << QByteArray("18446744073709551615");
        QTest::newRow("maximum") << qint64(LLONG_MAX) << 10 << QByteArray("9223372036854775807");
        QTest::newRow("minimum") << qint64(LLONG_MIN) << 10 << QByteArray("9223372036854775808");
        QTest::newRow("-1 binary, the longest") << qint64(-1) << 2 << QByteArray(64, '1');
        QTest::newRow("base 1 refused") << qint64(0x0102030405060708LL) << 1 << QByteArray("");
        QTest::newRow("base 37 refused") << qint64(7) << 37 << QByteArray("");
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
        QTest::newRow("exactly size - 2") << 8 << QByteArray("abcdef") << QByteArray("abcdef") << QByteArray("abcdef") << 6;
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
            if (expected.isNull()) {
                QVERIFY(buffer->untouchedFrom(0));
            } else {
                QCOMPARE(buffer->text(), expected);
                QVERIFY(buffer->untouchedFrom(size));
            }
        }
        QCOMPARE(::snprintfx(nullptr, size, "%s", argument.constData()), 0);
    }

    void snprintfadd_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<int>("length");
        QTest::newRow("appends") << QByteArray("abc") << 64 << QByteArray("abc-def") << 7;
        QTest::newRow("whole text bounded") << QByteArray("abc") << 8 << QByteArray("abc-de") << 6;
        QTest::newRow("already full") << QByteArray("abcdef") << 8 << QByteArray("abcdef") << 6;
    }

    void snprintfadd()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, size);
        QFETCH(QByteArray, after);
        QFETCH(int, length);
        GuardedBuffer out(before);
        QCOMPARE(::snprintfadd(out.bytes, size, "-%s", "def"), length);
        QCOMPARE(out.text(), after);
        QVERIFY(out.untouchedFrom(qMax(size, before.size() + 1)));
    }
};

QTEST_GUILESS_MAIN(TestVexaSupport)
#include "tst_vexasupport.moc"
