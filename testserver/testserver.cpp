#include "testserver.h"
#include "testserver_p.h"

#include "answer_p.h"
#include "executioncontext_p.h"
#include "serverkey_p.h"
#include "statefile_p.h"
#include "statementexecutor_p.h"
#include "wire_p.h"

#include <QFileInfo>

#include <chrono>
#include <utility>
#include <cstdio>

#include <sys/socket.h>
#include <unistd.h>

namespace StandIn {

namespace {

constexpr quint8 ProtocolVersion = 17;
constexpr quint8 LogRecordPayload = 8;
constexpr int FreePortAttempts = 20;
constexpr int AnswerHeaderLength = 16;
constexpr int RowCountAt = AnswerHeaderLength + 4;
constexpr int StatusAt = 8;
constexpr int KindAt = AnswerHeaderLength + 1;

SessionHost::Reply spoiled(QByteArray encoded, Malformed how)
{
    using Reply = SessionHost::Reply;
    if (how == Malformed::CutShort)
        return Reply{Reply::SendThenDrop, encoded.left(encoded.size() / 2)};
    const bool rowSet = encoded.size() >= RowCountAt + 4 && Wire::readU32(encoded, StatusAt) == StatusOk
                        && quint8(encoded.at(KindAt)) == Answer::RowSetKind;
    if (rowSet) {
        QByteArray rowCount;
        Wire::appendU32(rowCount, Wire::readU32(encoded, RowCountAt) + 1);
        encoded.replace(RowCountAt, rowCount.size(), rowCount);
    }
    return Reply{Reply::Send, encoded};
}

} // namespace

// ---------------------------------------------------------------------------
// TestServerPrivate

TestServerPrivate::TestServerPrivate(const ServerOptions &options)
    : m_options(options)
    , m_accounts(options.accounts)
{
    if (m_accounts.isEmpty())
        m_accounts.insert(QStringLiteral("admin"), QStringLiteral("admin"));
}

TestServerPrivate::~TestServerPrivate()
{
    stop();
}

bool TestServerPrivate::ensureDataLocked(QString *error)
{
    if (m_dataLoaded)
        return true;
    const bool haveState = !m_options.stateFile.isEmpty() && QFileInfo::exists(m_options.stateFile);
    const QString source = haveState ? m_options.stateFile
                           : m_options.fixture.isEmpty() ? TestServer::demoFixture()
                                                         : m_options.fixture;
    QString reason;
    const bool read = haveState ? StateFile::readState(source, &m_catalogue, &m_logs, &reason)
                                : StateFile::read(source, &m_catalogue, &m_logs, &reason);
    if (!read) {
        if (error)
            *error = reason;
        return false;
    }
    m_dataLoaded = true;
    return true;
}

void TestServerPrivate::dataChangedLocked()
{
    if (m_options.stateFile.isEmpty())
        return;
    QString error;
    if (!StateFile::write(m_options.stateFile, m_catalogue, m_logs, &error))
        std::fprintf(stderr, "ornel-testserver: %s\n", qPrintable(error));
}

bool TestServerPrivate::openSockets(QString *error)
{
    for (int attempt = 0; attempt < FreePortAttempts; ++attempt) {
        if (!m_listener.open(m_options.port, error))
            return false;
        // TCP chose the port; UDP must get the same one, which another
        // program may hold: then try another free port.
        if (m_udp.open(m_listener.port(), error)) {
            m_port = m_listener.port();
            return true;
        }
        m_listener.stop();
        if (m_options.port != 0)
            return false;
    }
    return false;
}

bool TestServerPrivate::prepareLocked(QString *error)
{
    if (!ensureDataLocked(error))
        return false;
    if (!m_key) {
        m_key = m_options.keyFile.isEmpty() ? ServerKey::sharedDefault(error)
                                            : ServerKey::fromPemFile(m_options.keyFile, error);
        if (!m_key)
            return false;
    }
    return m_options.journalFile.isEmpty() || m_journal.isFileOpen()
           || m_journal.openFile(m_options.journalFile, error);
}

bool TestServerPrivate::start(QString *error)
{
    QString reason;
    bool prepared = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_running)
            return true;
        prepared = prepareLocked(&reason);
    }
    if (!prepared || !openSockets(&reason)) {
        if (error)
            *error = reason;
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_running = true;
        m_stopping = false;
        m_datagramsOpen = true;
    }
    m_listener.start([this](int socket) { accepted(socket); });
    m_udp.start([this](quint32 session, const sockaddr_in &sender) { registered(session, sender); });
    return true;
}

void TestServerPrivate::stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_running)
            return;
        m_stopping = true;
        m_datagramsOpen = false;
        for (auto &entry : m_sessions) {
            if (entry.second.socket >= 0)
                ::shutdown(entry.second.socket, SHUT_RDWR);
        }
    }
    m_changed.notify_all();
    m_listener.stop();
    m_udp.stop();

    std::vector<std::thread> threads;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (auto &entry : m_sessions) {
            if (entry.second.thread.joinable())
                threads.push_back(std::move(entry.second.thread));
        }
    }
    for (std::thread &thread : threads)
        thread.join();

    std::lock_guard<std::mutex> lock(m_mutex);
    m_running = false;
    m_stopping = false;
}

void TestServerPrivate::reapFinishedLocked()
{
    for (auto &entry : m_sessions) {
        if (entry.second.finished && entry.second.thread.joinable())
            entry.second.thread.join(); // it has left its last locked section
    }
}

void TestServerPrivate::accepted(int socket)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_stopping || !m_running) {
        ::close(socket);
        return;
    }
    reapFinishedLocked();
    const quint32 id = m_nextSessionId++;
    SessionRecord &record = m_sessions[id];
    record.info.id = id;
    record.info.connected = true;
    record.socket = socket;
    record.thread = std::thread([this, id, socket] { runSession(id, socket); });
}

void TestServerPrivate::runSession(quint32 id, int socket)
{
    Session session(*this, socket, id);
    session.run();

    std::lock_guard<std::mutex> lock(m_mutex);
    // Closed under the lock, so that stop() never shuts down a number the
    // system has already given to another socket.
    ::close(socket);
    SessionRecord &record = m_sessions[id];
    record.socket = -1;
    record.info.connected = false;
    record.finished = true;
}

void TestServerPrivate::registered(quint32 session, const sockaddr_in &sender)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto it = m_sessions.find(session);
        if (it == m_sessions.end())
            return;
        it->second.updateAddress = sender;
        it->second.info.registered = true;
        it->second.info.updateAddress = UdpChannel::addressText(sender);
    }
    m_changed.notify_all();
}

GreetingPlan TestServerPrivate::greeting() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_greeting;
}

std::shared_ptr<const ServerKey> TestServerPrivate::key() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_key;
}

bool TestServerPrivate::pause(int msecs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return !m_changed.wait_for(lock, std::chrono::milliseconds(msecs), [this] { return m_stopping; });
}

bool TestServerPrivate::waitAtGate()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const quint64 releasesBefore = m_gateReleases;
    ++m_heldAnswers;
    m_changed.wait(lock, [&] { return m_stopping || m_gateReleases != releasesBefore; });
    --m_heldAnswers;
    return !m_stopping;
}

void TestServerPrivate::identified(quint32 session, const QString &identification)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_sessions[session].info.identification = identification;
}

bool TestServerPrivate::authenticate(quint32 session, const QString &user, const QString &password)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto account = m_accounts.constFind(user);
    if (account == m_accounts.constEnd() || account.value() != password)
        return false;
    SessionInfo &info = m_sessions[session].info;
    info.user = user;
    info.authenticated = true;
    return true;
}

SessionHost::Reply TestServerPrivate::answer(quint32 session, const QString &statement)
{
    Controls::Decision decision;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_journal.record(session, statement);
        decision = m_controls.decide(statement);
    }
    if (decision.delayMsecs > 0 && !pause(decision.delayMsecs))
        return Reply{Reply::Drop, {}};
    if (decision.held && !waitAtGate())
        return Reply{Reply::Drop, {}};
    Reply reply = replyAsDecided(statement, decision);
    reply.stepBytes = decision.stepBytes;
    reply.stepMsecs = decision.stepMsecs;
    return reply;
}

SessionHost::Reply TestServerPrivate::replyAsDecided(const QString &statement,
                                                     const Controls::Decision &decision)
{
    switch (decision.reply) {
    case Controls::Decision::Drop:
        return Reply{Reply::Drop, {}};
    case Controls::Decision::Silence:
        return Reply{Reply::Silence, {}};
    case Controls::Decision::RawAnswer:
        return Reply{Reply::Send, decision.bytes};
    case Controls::Decision::Refuse:
        return Reply{Reply::Send, Answer::refusal(decision.status, decision.detail).encode()};
    case Controls::Decision::Malform:
    case Controls::Decision::Shorten:
    case Controls::Decision::Omit:
    case Controls::Decision::Execute:
        break;
    }

    Answer answer;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ExecutionContext context{m_catalogue, m_logs};
        answer = StatementExecutor::execute(statement, context);
        if (context.dataChanged || !context.changedLogs.isEmpty())
            dataChangedLocked();
        for (const QString &log : std::as_const(context.changedLogs))
            pushLogUpdateLocked(log, 0);
    }
    // Encoded outside the lock: answers can be large.
    if (decision.reply == Controls::Decision::Malform)
        return spoiled(answer.encode(), decision.malformed);
    if (decision.reply == Controls::Decision::Shorten)
        answer = answer.firstRows(decision.maxRows);
    if (decision.reply == Controls::Decision::Omit)
        answer = answer.withoutColumns(decision.omitNames, decision.omitCount);
    return Reply{Reply::Send, answer.encode()};
}

int TestServerPrivate::pushDatagramLocked(const QByteArray &datagram, quint32 session)
{
    if (!m_datagramsOpen)
        return 0;
    int sent = 0;
    for (const auto &entry : m_sessions) {
        const SessionRecord &record = entry.second;
        if ((session == 0 || entry.first == session) && record.info.registered
            && record.info.connected && m_udp.send(record.updateAddress, datagram))
            ++sent;
    }
    return sent;
}

int TestServerPrivate::pushLogUpdateLocked(const QString &log, quint32 session)
{
    LogExtent extent;
    if (!m_logs.extent(log, &extent))
        return 0;
    QByteArray datagram;
    Wire::appendU8(datagram, ProtocolVersion);
    datagram.append(TestServer::logUpdateRecord(extent.id, extent.first, extent.end));
    return pushDatagramLocked(datagram, session);
}

bool TestServerPrivate::addRule(Controls::Rule rule, const QString &pattern)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_controls.add(std::move(rule), pattern);
}

// ---------------------------------------------------------------------------
// TestServer

TestServer::TestServer(const ServerOptions &options)
    : d(std::make_unique<TestServerPrivate>(options))
{
}

TestServer::~TestServer() = default;

bool TestServer::start(QString *error)
{
    return d->start(error);
}

void TestServer::stop()
{
    d->stop();
}

bool TestServer::isRunning() const
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    return d->m_running;
}

quint16 TestServer::port() const
{
    return d->m_port;
}

QString TestServer::demoFixture()
{
    return QStringLiteral(":/standin/demo.json");
}

void TestServer::setTable(const QString &name, const QList<Column> &columns,
                          const QList<QStringList> &rows)
{
    Table table(name, columns);
    for (const QStringList &row : rows) {
        if (!table.appendRow(row))
            qWarning("StandIn::TestServer::setTable: a row of %s is not in text form; left out",
                     qPrintable(name));
    }
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    d->m_catalogue.setTable(table);
    d->dataChangedLocked();
}

bool TestServer::removeTable(const QString &name)
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    const bool removed = d->m_catalogue.removeTable(name);
    if (removed)
        d->dataChangedLocked();
    return removed;
}

QStringList TestServer::tableNames() const
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    return d->m_catalogue.tableNames();
}

QList<Column> TestServer::columns(const QString &table) const
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    const Table *found = d->m_catalogue.table(table);
    return found ? found->columns() : QList<Column>();
}

QList<QStringList> TestServer::rows(const QString &table) const
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    const Table *found = d->m_catalogue.table(table);
    return found ? found->rows() : QList<QStringList>();
}

void TestServer::setAuthTypes(const QList<QPair<int, QString>> &types)
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    QList<FunctionData::AuthType> authTypes;
    for (const auto &type : types)
        authTypes.append({type.first, type.second});
    d->m_catalogue.functions().authTypes = authTypes;
    d->dataChangedLocked();
}

void TestServer::setLanguages(const QStringList &languages)
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    d->m_catalogue.functions().languages = languages;
    d->dataChangedLocked();
}

void TestServer::setNtDomain(const QString &name, const QList<QStringList> &users, quint32 refusal)
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    d->m_catalogue.functions().setNtDomain({name, refusal, users});
    d->dataChangedLocked();
}

void TestServer::setQueue(const QList<QStringList> &messages)
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    d->m_catalogue.functions().queue = messages;
    d->dataChangedLocked();
}

void TestServer::generateQueue(int count)
{
    setQueue(FunctionData::generatedQueue(count));
}

QList<QStringList> TestServer::queue() const
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    return d->m_catalogue.functions().queue;
}

void TestServer::setConnections(const QList<QStringList> &connections)
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    d->m_catalogue.functions().connections = connections;
    d->dataChangedLocked();
}

void TestServer::generateConnections(int count)
{
    setConnections(FunctionData::generatedConnections(count));
}

void TestServer::setRunResult(const QString &function, const QList<int> &results, quint32 refusal)
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    d->m_catalogue.functions().runs.insert(function.toLower(), {results, refusal});
    d->dataChangedLocked();
}

void TestServer::setServiceStartsIgnored(bool ignored)
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    d->m_catalogue.functions().serviceStartsIgnored = ignored;
    d->dataChangedLocked();
}

void TestServer::setAccount(const QString &user, const QString &password)
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->m_accounts.insert(user, password);
}

namespace {

Controls::Rule ruleOf(Controls::Action action, int times)
{
    Controls::Rule rule;
    rule.action = action;
    rule.remaining = times;
    return rule;
}

} // namespace

bool TestServer::refuse(const QString &pattern, quint32 status, int times, quint32 detail)
{
    Controls::Rule rule = ruleOf(Controls::Action::Refuse, times);
    rule.status = status;
    rule.detail = detail;
    return d->addRule(std::move(rule), pattern);
}

bool TestServer::delay(const QString &pattern, int msecs, int times)
{
    Controls::Rule rule = ruleOf(Controls::Action::Delay, times);
    rule.msecs = msecs;
    return d->addRule(std::move(rule), pattern);
}

bool TestServer::trickle(const QString &pattern, int bytesPerStep, int stepMs, int times)
{
    if (bytesPerStep <= 0 || stepMs <= 0)
        return false;
    Controls::Rule rule = ruleOf(Controls::Action::Trickle, times);
    rule.stepBytes = bytesPerStep;
    rule.stepMsecs = stepMs;
    return d->addRule(std::move(rule), pattern);
}

bool TestServer::dropAt(const QString &pattern, int times)
{
    return d->addRule(ruleOf(Controls::Action::Drop, times), pattern);
}

bool TestServer::silence(const QString &pattern, int times)
{
    return d->addRule(ruleOf(Controls::Action::Silence, times), pattern);
}

bool TestServer::hold(const QString &pattern, int times)
{
    return d->addRule(ruleOf(Controls::Action::Hold, times), pattern);
}

void TestServer::releaseHeld()
{
    {
        std::lock_guard<std::mutex> lock(d->m_mutex);
        ++d->m_gateReleases;
    }
    d->m_changed.notify_all();
}

int TestServer::heldAnswers() const
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    return d->m_heldAnswers;
}

bool TestServer::malformAnswer(const QString &pattern, Malformed how, int times)
{
    Controls::Rule rule = ruleOf(Controls::Action::Malform, times);
    rule.malformed = how;
    return d->addRule(std::move(rule), pattern);
}

bool TestServer::shortenAnswer(const QString &pattern, int maxRows, int times)
{
    Controls::Rule rule = ruleOf(Controls::Action::Shorten, times);
    rule.maxRows = maxRows;
    return d->addRule(std::move(rule), pattern);
}

bool TestServer::omitColumns(const QString &pattern, const QStringList &names, int times)
{
    Controls::Rule rule = ruleOf(Controls::Action::Omit, times);
    rule.omitNames = names;
    return !names.isEmpty() && d->addRule(std::move(rule), pattern);
}

bool TestServer::omitColumns(const QString &pattern, int count, int times)
{
    Controls::Rule rule = ruleOf(Controls::Action::Omit, times);
    rule.omitCount = count;
    return count > 0 && d->addRule(std::move(rule), pattern);
}

bool TestServer::answerRaw(const QString &pattern, const QByteArray &bytes, int times)
{
    Controls::Rule rule = ruleOf(Controls::Action::RawAnswer, times);
    rule.bytes = bytes;
    return d->addRule(std::move(rule), pattern);
}

void TestServer::clearControls()
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->m_controls.clear();
}

void TestServer::setGreeting(const GreetingPlan &plan)
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->m_greeting = plan;
}

QList<SessionInfo> TestServer::sessions() const
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    QList<SessionInfo> sessions;
    for (const auto &entry : d->m_sessions)
        sessions.append(entry.second.info);
    return sessions;
}

QList<JournalEntry> TestServer::journal() const
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    return d->m_journal.entries();
}

QStringList TestServer::journal(quint32 session) const
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    return d->m_journal.statements(session);
}

bool TestServer::waitForRegistration(quint32 session, int msecs) const
{
    std::unique_lock<std::mutex> lock(d->m_mutex);
    return d->m_changed.wait_for(lock, std::chrono::milliseconds(msecs), [&] {
        const auto it = d->m_sessions.find(session);
        return it != d->m_sessions.end() && it->second.info.registered;
    });
}

int TestServer::pushDatagram(const QByteArray &datagram, quint32 session)
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    return d->pushDatagramLocked(datagram, session);
}

int TestServer::pushLogUpdate(const QString &log, quint32 session)
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    return d->pushLogUpdateLocked(log, session);
}

QByteArray TestServer::logUpdateRecord(int logId, quint32 first, quint32 end)
{
    QByteArray record;
    Wire::appendU8(record, quint8(logId));
    Wire::appendU8(record, LogRecordPayload);
    Wire::appendU32(record, first);
    Wire::appendU32(record, end);
    return record;
}

void TestServer::addLog(const QString &name, const QStringList &lines, quint32 first)
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    d->m_logs.add(name, lines, first);
    d->dataChangedLocked();
    d->pushLogUpdateLocked(name, 0);
}

void TestServer::addSyntheticLog(const QString &name, quint32 lineCount)
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    d->m_logs.addSynthetic(name, lineCount);
    d->dataChangedLocked();
    d->pushLogUpdateLocked(name, 0);
}

bool TestServer::appendLogLines(const QString &name, const QStringList &lines)
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    if (!d->m_logs.append(name, lines))
        return false;
    d->dataChangedLocked();
    d->pushLogUpdateLocked(name, 0);
    return true;
}

bool TestServer::trimLog(const QString &name, quint32 count)
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    if (!d->m_logs.trim(name, count))
        return false;
    d->dataChangedLocked();
    d->pushLogUpdateLocked(name, 0);
    return true;
}

bool TestServer::rotateLog(const QString &name)
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    if (!d->m_logs.rotate(name))
        return false;
    d->dataChangedLocked();
    d->pushLogUpdateLocked(name, 0);
    return true;
}

bool TestServer::removeLog(const QString &name)
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    const bool removed = d->m_logs.remove(name);
    if (removed)
        d->dataChangedLocked();
    return removed;
}

bool TestServer::logExtent(const QString &name, LogExtent *extent) const
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    return d->m_logs.extent(name, extent);
}

QStringList TestServer::logNames() const
{
    std::lock_guard<std::mutex> lock(d->m_mutex);
    d->ensureDataLocked(nullptr);
    return d->m_logs.names();
}

QString TestServer::syntheticLine(const QString &log, quint64 number)
{
    return LogStore::syntheticLine(log, number);
}

} // namespace StandIn
