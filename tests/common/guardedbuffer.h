#pragma once

// A buffer for the tests of functions that write into caller-owned memory: every byte
// starts as '#', so a test can see that nothing was written past what a call may write.

#include <QByteArray>

#include <cstring>

struct GuardedBuffer
{
    char bytes[256];

    GuardedBuffer() { std::memset(bytes, '#', sizeof bytes); }
    explicit GuardedBuffer(const QByteArray &text) : GuardedBuffer()
    {
        std::memcpy(bytes, text.constData(), size_t(text.size()) + 1);
    }

    QByteArray text() const { return QByteArray(bytes); }

    bool untouchedFrom(int from) const
    {
        for (int i = from < 0 ? 0 : from; i < int(sizeof bytes); ++i) {
            if (bytes[i] != '#')
                return false;
        }
        return true;
    }
};

// QCOMPARE reads char pointers as texts; this compares where they point.
inline const void *pointer(const void *p)
{
    return p;
}
