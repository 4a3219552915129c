#include "statefile_p.h"

#include "catalogue_p.h"
#include "logstore_p.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace StandIn {

namespace {

// What a state file says of its writer.
const QLatin1String WriterKey("writer");
const char Writer[] = "ornel-testserver";

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    std::size_t left = std::size_t(bytes.size());
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= std::size_t(written);
    }
    return true;
}

// A fixture may name further files (beside it) whose tables and logs join its own, so
// that each area's data keeps a file of its own. One level only: included files include
// nothing. A state file never has includes: it is written whole.
bool readIncludes(const QJsonObject &root, const QString &folder, QJsonArray *tables,
                  QJsonArray *logs, QList<QJsonObject> *functions, QString *error)
{
    const QJsonArray includes = root.value(QLatin1String("include")).toArray();
    for (const QJsonValue &name : includes) {
        const QString path = folder + QLatin1Char('/') + name.toString();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("cannot read included %1").arg(path);
            return false;
        }
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
        if (!document.isObject()) {
            *error = QStringLiteral("%1 is not a JSON object: %2").arg(path, parseError.errorString());
            return false;
        }
        for (const QJsonValue &table : document.object().value(QLatin1String("tables")).toArray())
            tables->append(table);
        for (const QJsonValue &log : document.object().value(QLatin1String("logs")).toArray())
            logs->append(log);
        functions->append(document.object().value(QLatin1String("functions")).toObject());
    }
    return true;
}

// Whether root has the shape of what this server wrote before its state files named their
// writer: the tables (at least one, each with its name, columns and rows), the logs (each
// with its name, first line number and lines) and, later, the functions' data, nothing else.
// A file written by hand or a fixture (which has includes, or lacks the logs) does not.
bool writtenBeforeTheWriterMark(const QJsonObject &root)
{
    QStringList keys = root.keys();
    keys.removeOne(QLatin1String("functions"));
    if (keys != QStringList{QLatin1String("logs"), QLatin1String("tables")})
        return false;
    if (root.contains(QLatin1String("functions")) && !root.value(QLatin1String("functions")).isObject())
        return false;
    const QJsonValue tables = root.value(QLatin1String("tables"));
    const QJsonValue logs = root.value(QLatin1String("logs"));
    if (!tables.isArray() || tables.toArray().isEmpty() || !logs.isArray())
        return false;
    for (const QJsonValue &table : tables.toArray()) {
        const QJsonObject object = table.toObject();
        if (object.keys() != QStringList{QLatin1String("columns"), QLatin1String("name"), QLatin1String("rows")}
            || !object.value(QLatin1String("name")).isString())
            return false;
    }
    for (const QJsonValue &log : logs.toArray()) {
        const QJsonObject object = log.toObject();
        if (!object.value(QLatin1String("name")).isString() || !object.value(QLatin1String("first")).isDouble()
            || !object.value(QLatin1String("lines")).isArray())
            return false;
    }
    return true;
}

// The JSON object the file holds.
bool readObject(const QString &path, QJsonObject *root, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1").arg(path);
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        *error = QStringLiteral("%1 is not a JSON object: %2").arg(path, parseError.errorString());
        return false;
    }
    *root = document.object();
    return true;
}

// The tables, logs and functions of a data set read from path, with those of the files it
// includes.
bool readData(const QString &path, const QJsonObject &root, Catalogue *catalogue, LogStore *logs,
              QString *error)
{
    QJsonArray tables = root.value(QLatin1String("tables")).toArray();
    QJsonArray logList = root.value(QLatin1String("logs")).toArray();
    QList<QJsonObject> functions{root.value(QLatin1String("functions")).toObject()};
    QString reason;
    bool ok = readIncludes(root, QFileInfo(path).path(), &tables, &logList, &functions, &reason)
              && Catalogue::fromJson(tables, catalogue, &reason)
              && LogStore::fromJson(logList, logs, &reason);
    for (int i = 0; ok && i < functions.size(); ++i)
        ok = catalogue->functions().mergeJson(functions.at(i), &reason);
    if (!ok) {
        *error = QStringLiteral("%1: %2").arg(path, reason);
        return false;
    }
    return true;
}

} // namespace

bool StateFile::read(const QString &path, Catalogue *catalogue, LogStore *logs, QString *error)
{
    QJsonObject root;
    return readObject(path, &root, error) && readData(path, root, catalogue, logs, error);
}

bool StateFile::readState(const QString &path, Catalogue *catalogue, LogStore *logs, QString *error)
{
    QJsonObject root;
    if (!readObject(path, &root, error))
        return false;
    const bool ownFile = root.value(WriterKey).toString() == QLatin1String(Writer)
                         || writtenBeforeTheWriterMark(root);
    if (!ownFile) {
        *error = QStringLiteral("%1 is not a state file this server wrote; remove it to start again "
                                "from the fixture's data")
                     .arg(path);
        return false;
    }
    return readData(path, root, catalogue, logs, error);
}

bool StateFile::write(const QString &path, const Catalogue &catalogue, const LogStore &logs,
                      QString *error)
{
    const QJsonObject root{{WriterKey, QLatin1String(Writer)},
                           {QLatin1String("tables"), catalogue.toJson()},
                           {QLatin1String("logs"), logs.toJson()},
                           {QLatin1String("functions"), catalogue.functions().toJson()}};
    const QByteArray text = QJsonDocument(root).toJson(QJsonDocument::Indented);

    // Plain POSIX calls: this runs on connection threads, which are no Qt threads.
    const QByteArray target = path.toLocal8Bit();
    const QByteArray temporary = target + ".tmp";
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = fd >= 0 && writeAll(fd, text);
    if (fd >= 0)
        ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(temporary.constData(), target.constData()) == 0;
    if (!ok) {
        *error = QStringLiteral("cannot write %1: %2")
                     .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        ::unlink(temporary.constData());
    }
    return ok;
}

} // namespace StandIn
