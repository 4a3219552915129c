#pragma once

// The stand-in mail server: the far end of the administration protocol, run in
// process by tests or as the ornel-testserver program for the demo. It shares no
// code with the module, so every end-to-end test checks the module against an
// independent peer.

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>

namespace StandIn {

// Value type codes of the columns, as they travel in the column descriptors.
enum TypeCode : int {
    TypeVoid = 0,
    TypeString = 1,
    TypeInt = 2,
    TypeInt64 = 3,
    TypeIpAddr = 4,
    TypePwd = 5,
    TypeBinary = 6,
    TypePort = 7,
    TypeIdList = 8,
};

struct Column
{
    QString name;
    int type = TypeString;
    bool key = false;

    bool operator==(const Column &other) const
    {
        return name == other.name && type == other.type && key == other.key;
    }
};

struct SessionInfo
{
    quint32 id = 0;
    QString identification;   // the client's 32-byte name, up to its first zero byte
    QString user;             // set once authenticated
    bool authenticated = false;
    bool connected = false;
    bool registered = false;  // a UDP registration named this session
    QString updateAddress;    // "a.b.c.d:port" of the registration's sender
};

struct JournalEntry
{
    quint32 session = 0;
    QString statement;
};

struct LogExtent
{
    int id = -1;
    quint32 first = 0;
    quint32 end = 0;          // one past the last line
};

// What the server sends before the key announcement. The default is the
// version byte 17 and the numbers 2, 5 and 0, which make the client call
// itself "Ornel Admin 5.0 (Linux)".
struct GreetingPlan
{
    QByteArray bytes = QByteArray::fromHex("11" "0002" "0005" "0000");
    QList<int> pauseAt;       // byte offsets at which sending pauses for pauseMs (0: before the first)
    int pauseMs = 0;
    bool closeAfter = false;  // close the connection once the greeting is out
};

// Ways to spoil the answer a statement gets, for tests of a client's defences.
enum class Malformed {
    RowCountBeyondBlock, // a row set sent whole, declaring one row more than it holds
    CutShort,            // the first half of the answer, then the connection closes
};

struct ServerOptions
{
    quint16 port = 44337;     // 0: any free port; port() tells which
    QString fixture;          // JSON data set; empty: the built-in demo server
    QString stateFile;        // keeps every change; loaded instead of the fixture when present
    QString keyFile;          // PEM RSA private key; empty: a 1024-bit key made at start
    QString journalFile;      // every statement received, one JSON object a line
    QMap<QString, QString> accounts; // user -> password; empty: admin/admin
};

class TestServerPrivate;

class TestServer
{
public:
    explicit TestServer(const ServerOptions &options = ServerOptions());
    ~TestServer();                     // stops the server

    TestServer(const TestServer &) = delete;
    TestServer &operator=(const TestServer &) = delete;

    // Loads the data, makes or reads the key and opens TCP and UDP on the same
    // port of 127.0.0.1. Returns false with a reason on failure.
    bool start(QString *error = nullptr);
    // Closes every connection and joins every thread; the data stays.
    void stop();
    bool isRunning() const;
    quint16 port() const;

    static QString demoFixture();      // the built-in fixture (a resource path)

    // Data. Table names are matched without regard to case.
    void setTable(const QString &name, const QList<Column> &columns,
                  const QList<QStringList> &rows = {});
    bool removeTable(const QString &name);
    QStringList tableNames() const;
    QList<Column> columns(const QString &table) const;
    QList<QStringList> rows(const QString &table) const; // stored text forms
    void setAccount(const QString &user, const QString &password);

    // What the account functions answer. get_auth_types() gives one row per pair of ID
    // and name, in this order (none at all too); get_languages() the texts as given.
    void setAuthTypes(const QList<QPair<int, QString>> &types);
    void setLanguages(const QStringList &languages);
    // ImportNtUsers("name", ...) answers these users (username, fullname, description);
    // with a refusal status it refuses instead. An NT domain never set is refused (111).
    void setNtDomain(const QString &name, const QList<QStringList> &users, quint32 refusal = 0);
    // With true, start_service("NAME") answers as usual and leaves the service stopped.
    void setServiceStartsIgnored(bool ignored);

    // The mail queue that show_queue() lists (Id, Create, NextTry, Size, From, To) and that
    // queue_rejuvenate("id") and queue_remove("id") act on; an Id not queued is refused
    // (111). generateQueue() makes up that many messages instead, for large queues.
    void setQueue(const QList<QStringList> &messages);
    void generateQueue(int count);
    QList<QStringList> queue() const;
    // The connections that show_connections() lists (protocol, secure, time, from, user,
    // info), given or made up.
    void setConnections(const QList<QStringList> &connections);
    void generateConnections(int count);
    // What run_queue(), run_pop3() or run_odmr() answers: one "result" row per entry of
    // results (none at all too), or with a refusal status a refusal. By default one row, 1.
    void setRunResult(const QString &function, const QList<int> &results, quint32 refusal = 0);

    // Controls. A pattern is a regular expression searched for in the statement
    // text; times < 0 keeps a rule for ever, otherwise it acts that many times.
    // A delay is applied first, then a hold; then a drop, a silence, a raw answer or a
    // refusal replaces the normal answer, in that order of precedence.
    // Each returns false, adding nothing, when the pattern is not a valid expression.
    bool refuse(const QString &pattern, quint32 status, int times = -1, quint32 detail = 0);
    bool delay(const QString &pattern, int msecs, int times = -1);
    // Sends whatever answer the statement gets (its own, a refusal, a raw or a spoiled
    // one) bytesPerStep bytes at a time, stepMs apart, after any delay: a stalling link
    // that never goes quite silent, or a slow one. Both numbers must be positive.
    bool trickle(const QString &pattern, int bytesPerStep, int stepMs, int times = -1);
    bool dropAt(const QString &pattern, int times = -1);
    bool silence(const QString &pattern, int times = -1);
    // A gate: the answer a matching statement gets (whatever it is: its own, a refusal, a
    // drop, a silence) waits, after any delay, until releaseHeld() lets it go, so that a
    // test knows its client is still waiting for as long as it needs. stop() lets every
    // held answer go as a drop.
    bool hold(const QString &pattern, int times = -1);
    // Lets every answer waiting at the gate go on, in the order they came; statements that
    // match later are held again while their rule lasts.
    void releaseHeld();
    // How many answers wait at the gate now.
    int heldAnswers() const;
    // Sends these bytes, enciphered, in place of the answer header and data block.
    bool answerRaw(const QString &pattern, const QByteArray &bytes, int times = -1);
    // Carries the statement out as usual and spoils its answer; an answer that is
    // not a row set goes out whole with RowCountBeyondBlock. Ranks with a raw answer.
    bool malformAnswer(const QString &pattern, Malformed how, int times = -1);
    // Carries the statement out as usual and answers only the first maxRows rows of its
    // row set: a well-formed answer holding fewer rows than the statement asked for (as
    // a server that caps its answers sends). Ranks below a spoiled answer.
    bool shortenAnswer(const QString &pattern, int maxRows, int times = -1);
    // Carries the statement out as usual and answers its row set without some of the
    // columns the statement asked for, descriptors and cells alike: a well-formed answer
    // holding fewer columns (as a server of another version sends). Either the named
    // columns, letter case ignored, or the last count columns; false, adding nothing, for
    // no names or a count below 1. Ranks below a shortened answer.
    bool omitColumns(const QString &pattern, const QStringList &names, int times = -1);
    bool omitColumns(const QString &pattern, int count, int times = -1);
    void clearControls();
    void setGreeting(const GreetingPlan &plan);

    // What the server has seen.
    QList<SessionInfo> sessions() const;
    QList<JournalEntry> journal() const;
    QStringList journal(quint32 session) const;
    bool waitForRegistration(quint32 session, int msecs) const;

    // Update channel: a datagram goes to every registered session, or to one.
    // Returns how many sessions it was sent to.
    int pushDatagram(const QByteArray &datagram, quint32 session = 0);
    int pushLogUpdate(const QString &log, quint32 session = 0);
    static QByteArray logUpdateRecord(int logId, quint32 first, quint32 end);

    // Logs. Changes push the log's update record to every registered session.
    void addLog(const QString &name, const QStringList &lines = {}, quint32 first = 0);
    // Lines 0 .. lineCount-1 are computed from their number, never stored.
    void addSyntheticLog(const QString &name, quint32 lineCount);
    bool appendLogLines(const QString &name, const QStringList &lines);
    bool trimLog(const QString &name, quint32 count);   // drops lines from the head
    bool rotateLog(const QString &name);                 // empty, numbering restarts at 0
    bool removeLog(const QString &name);
    bool logExtent(const QString &name, LogExtent *extent) const;
    QStringList logNames() const;
    static QString syntheticLine(const QString &log, quint64 number);

private:
    std::unique_ptr<TestServerPrivate> d;
};

} // namespace StandIn
