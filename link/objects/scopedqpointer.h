#pragma once

#include <QPointer>

// Owns a QObject that someone else may delete first: a wait indicator or a dialog whose
// parent can go while an event loop runs under it. The object is deleted when the scope
// ends unless it is gone already; a plain owning pointer would delete it a second time.
template<typename T>
class ScopedQPointer
{
public:
    explicit ScopedQPointer(T *object = nullptr)
        : m_object(object)
    {
    }
    ~ScopedQPointer() { delete m_object.data(); }

    ScopedQPointer(const ScopedQPointer &) = delete;
    ScopedQPointer &operator=(const ScopedQPointer &) = delete;

    // Null once the object is gone.
    T *get() const { return m_object.data(); }
    T *operator->() const { return m_object.data(); }
    explicit operator bool() const { return !m_object.isNull(); }

    // Deletes the object now, when it is still there, and owns object instead.
    void reset(T *object = nullptr)
    {
        delete m_object.data();
        m_object = object;
    }

private:
    QPointer<T> m_object;
};
