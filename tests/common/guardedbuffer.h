#pragma once

// A buffer for the tests of functions that write into caller-owned memory: every byte
// starts as '#', so a test can see that nothing was written past what a call may write.

#include <QByteArray>

#include <algorithm>
#include <cstring>
#include <functional>

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
        const char *start = bytes + std::clamp(from, 0, int(sizeof bytes));
        return std::all_of(start, std::end(bytes), [](char c) { return c == '#'; });
    }
};

// Runs a call on a guarded buffer (holding text first, when given) and tells what it left:
// "<returned>|<text>" or "<returned>|untouched", then "|overrun" if a byte from limit on changed.
inline QByteArray written(const std::function<long long(char *)> &call, int limit, const QByteArray &text = {})
{
    GuardedBuffer buffer;
    if (!text.isNull())
        buffer = GuardedBuffer(text);
    const long long returned = call(buffer.bytes);
    const QByteArray left = buffer.untouchedFrom(0) ? QByteArray("untouched") : buffer.text();
    return QByteArray::number(returned) + '|' + left + (buffer.untouchedFrom(limit) ? "" : "|overrun");
}

// QCOMPARE reads char pointers as texts; this compares where they point.
inline const void *pointer(const void *p) { return p; }
