#include "journal_p.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace StandIn {

Journal::~Journal()
{
    if (m_file)
        std::fclose(m_file);
}

bool Journal::openFile(const QString &path, QString *error)
{
    if (m_file)
        std::fclose(m_file);
    m_file = std::fopen(path.toLocal8Bit().constData(), "a");
    if (!m_file)
        *error = QStringLiteral("cannot open the journal file %1").arg(path);
    return m_file != nullptr;
}

void Journal::record(quint32 session, const QString &statement)
{
    m_entries.append(JournalEntry{session, statement});
    if (!m_file)
        return;
    const QJsonObject line{{QLatin1String("session"), qint64(session)},
                           {QLatin1String("statement"), statement}};
    const QByteArray text = QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(text.constData(), 1, std::size_t(text.size()), m_file);
    std::fflush(m_file); // a test or a person may read it while the server runs
}

QStringList Journal::statements(quint32 session) const
{
    QStringList statements;
    for (const JournalEntry &entry : m_entries) {
        if (entry.session == session)
            statements.append(entry.statement);
    }
    return statements;
}

} // namespace StandIn
