#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// The value of one cell of a client-side row. Pages, row copies and the
// statement generator see every cell as text: they read it with text() and
// write it with set(). The row that holds a value owns it.
//
// A table of a hundred thousand rows is copied and compared cell by cell, so
// the copy (setTextOf) and the comparison (sameText) skip the text form where
// both values are of one kind; they mean exactly what the text forms say.
class DBVal
{
public:
    DBVal() = default;
    DBVal(const DBVal &) = default;
    DBVal &operator=(const DBVal &) = default;

    virtual QString text() const = 0;
    virtual void set(const QString &text) = 0;
    virtual ~DBVal();

    // Does what set(other.text()) does.
    virtual void setTextOf(const DBVal &other);
    // Whether text() and other.text() are equal.
    virtual bool sameText(const DBVal &other) const;

    // A value made with new has memory of its own; a row places its values together in
    // one block (DBRow::allocEmptyValues). delete frees either.
    static void *operator new(std::size_t size);
    static void *operator new(std::size_t size, void *place) noexcept;
    static void operator delete(void *value);
    static void operator delete(void *value, void *place) noexcept;

    bool isNull() const { return null; }

    // True when the cell has no value. Public: a row restoring a copy marks a
    // value null and leaves its stored content as it was.
    bool null = true;
};

// STRING and PWD cells, and the kind for codes that carry no readable value.
// An empty text is a value, not null.
class DBStr : public DBVal
{
public:
    DBStr() = default;
    ~DBStr() override;

    QString text() const override;
    void set(const QString &text) override;
    bool sameText(const DBVal &other) const override;

private:
    QString m_value;
};

// The number kinds (and the list) take an empty text as null.
class DBInt : public DBVal
{
public:
    DBInt() = default;
    explicit DBInt(int value);

    QString text() const override;
    void set(const QString &text) override;
    void setTextOf(const DBVal &other) override;
    bool sameText(const DBVal &other) const override;

    int value() const { return m_value; }

private:
    int m_value = 0;
};

class DBInt64 : public DBVal
{
public:
    DBInt64() = default;
    explicit DBInt64(long long value);

    // Unsigned decimal digits: -1 reads back as 18446744073709551615.
    QString text() const override;
    void set(const QString &text) override;
    void setTextOf(const DBVal &other) override;
    bool sameText(const DBVal &other) const override;

    long long value() const { return m_value; }

private:
    long long m_value = 0;
};

class DBIpAddr : public DBVal
{
public:
    DBIpAddr() = default;
    // The address in network byte order, stored as given.
    explicit DBIpAddr(unsigned int address);

    QString text() const override;
    // A text that is not an address stores 255.255.255.255.
    void set(const QString &text) override;
    void setTextOf(const DBVal &other) override;
    bool sameText(const DBVal &other) const override;

    // In network byte order.
    unsigned int address() const { return m_address; }

private:
    unsigned int m_address = 0;
};

class DBPort : public DBVal
{
public:
    DBPort() = default;
    // The port in network byte order, stored as given (low 16 bits).
    explicit DBPort(int port);

    QString text() const override;
    // Keeps the number as given, also one no port can have ("70000"): such a number was
    // typed, and goes to the server as typed for it to answer, never cut to another port.
    void set(const QString &text) override;
    void setTextOf(const DBVal &other) override;
    bool sameText(const DBVal &other) const override;

    // In network byte order; the low 16 bits of a number beyond them.
    uint16_t port() const;

private:
    long m_number = 0; // in host order
};

// Bytes held as their hexadecimal text; an empty text is a value, not null.
class DBBinary : public DBVal
{
public:
    DBBinary() = default;
    // The text in the local 8-bit encoding.
    explicit DBBinary(const char *text);
    ~DBBinary() override;

    QString text() const override;
    void set(const QString &text) override;
    bool sameText(const DBVal &other) const override;

private:
    QString m_hex;
};

// A list of names held in the list form of the protocol, at most BufferSize bytes of
// it. A text whose list form would not fit keeps its leading items, each whole. Only
// the bytes the list needs are stored: a table of many rows holds many lists.
class DBIDList : public DBVal
{
public:
    enum { BufferSize = 4096 };

    DBIDList() = default;
    // The text in the local 8-bit encoding.
    explicit DBIDList(const char *text);
    ~DBIDList() override;

    QString text() const override;
    void set(const QString &text) override;
    bool sameText(const DBVal &other) const override;

    // The list form, closing zero word included; empty before the first set().
    const QByteArray &listForm() const { return m_list; }

private:
    QByteArray m_list;
};
