#pragma once

#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace StandIn {

// What the account functions answer from, kept with the tables (and in the state file):
//
//   "functions": {
//     "authTypes": [{"ID": 0, "Name": "Internal"}, ...],        get_auth_types(), in order
//     "languages": ["en", "de", ...],                             get_languages(), in order
//     "ntDomains": [{"name": "CORVANE", "users": [{"username": "...", "fullname": "...",
//                    "description": "..."}, ...]},
//                   {"name": "LOCKED", "refuse": 113}, ...]      ImportNtUsers(nt, domain)
//     "queue": {"messages": [{"Id": "...", "Create": "...", "NextTry": "...", "Size": 1234,
//                             "From": "...", "To": "..."}, ...],
//               "generate": 40},        show_queue(): the messages, then 40 made up
//     "connections": {"list": [{"protocol": "SMTP", "secure": 0, "time": 61, "from": "...",
//                               "user": "...", "info": "..."}, ...],
//                     "generate": 10},  show_connections(), the same way
//     "runs": {"run_queue": {"results": [1]}, "run_odmr": {"refuse": 111}, ...}
//                                       run_queue(), run_pop3(), run_odmr(): one row per
//                                       result (none at all too); by default one row, 1
//     "serviceStartsIgnored": true     start_service() starts nothing
//   }
// A part left out keeps its built-in default; an NT domain not listed is refused.
struct FunctionData
{
    struct AuthType
    {
        int id = 0;
        QString name;
    };
    struct NtDomain
    {
        QString name;
        quint32 refusal = 0;       // non-zero: ImportNtUsers answers with this status
        QList<QStringList> users;  // username, fullname, description
    };

    // What one of the run functions answers.
    struct RunResult
    {
        QList<int> results = {1}; // one row each, in order
        quint32 refusal = 0;      // non-zero: refused with this status instead
    };

    QList<AuthType> authTypes = defaultAuthTypes();
    QStringList languages = defaultLanguages();
    QList<NtDomain> ntDomains;
    // Id, Create, NextTry, Size, From, To: the messages waiting, in the order shown.
    QList<QStringList> queue;
    // protocol, secure, time, from, user, info: the connections open, in order.
    QList<QStringList> connections;
    QMap<QString, RunResult> runs; // by function name in lower case

    static QStringList queueColumns();
    static QStringList connectionColumns();
    // Made-up messages and connections, number `first` on, computed from their number:
    // ids, times, sizes, senders and addresses vary and are not in order.
    static QList<QStringList> generatedQueue(int count, int first = 0);
    static QList<QStringList> generatedConnections(int count, int first = 0);
    RunResult runResult(const QString &function) const;
    // start_service() answers without starting anything (a service that fails to start).
    bool serviceStartsIgnored = false;

    static QList<AuthType> defaultAuthTypes();
    static QStringList defaultLanguages();

    // The NT domain of that name, ignoring case (as NT does); null if none.
    const NtDomain *ntDomain(const QString &name) const;
    void setNtDomain(const NtDomain &domain);

    // Merges a "functions" object in: the parts it names replace ours, its NT domains
    // join ours (replacing those of the same name).
    bool mergeJson(const QJsonObject &json, QString *error);
    QJsonObject toJson() const;
};

} // namespace StandIn
