#pragma once

// Stored texts far wider than any screen, for the tests that look at how wide pages and
// dialogs grow: every text of every text column of the stand-in server's tables, and the
// names its account functions answer, made 300 characters long without a blank, so that no
// line break can shorten them either. An empty text stays empty: it means something of its
// own (the primary domain, no group).

#include "testserver.h"

#include <QString>
#include <QStringList>

namespace LongTexts {

constexpr int Length = 300;

// The text followed by a filler up to Length characters: texts that differed still differ,
// and equal ones, such as a group's name and a reference to it, are still equal.
inline QString lengthened(const QString& text)
{
    QString longer = text + QLatin1Char('_');
    while (longer.size() < Length)
        longer += QLatin1String("abcdefghij");
    return longer.left(qMax(Length, int(text.size()) + 1));
}

inline void lengthenEveryText(StandIn::TestServer& server)
{
    for (const QString& table : server.tableNames()) {
        const QList<StandIn::Column> columns = server.columns(table);
        QList<QStringList> rows = server.rows(table);
        for (QStringList& row : rows) {
            for (int c = 0; c < columns.size() && c < row.size(); ++c) {
                if (columns.at(c).type == StandIn::TypeString && !row.at(c).isEmpty())
                    row[c] = lengthened(row.at(c));
            }
        }
        server.setTable(table, columns, rows);
    }
    // Past the console's own five, the boxes show the server's names.
    server.setAuthTypes({{0, lengthened(QStringLiteral("Internal"))},
                         {1, lengthened(QStringLiteral("NT domain"))},
                         {2, lengthened(QStringLiteral("PAM"))},
                         {3, lengthened(QStringLiteral("Kerberos"))},
                         {4, lengthened(QStringLiteral("Reserved"))},
                         {5, lengthened(QStringLiteral("Directory"))}});
    server.setLanguages({lengthened(QStringLiteral("en")), lengthened(QStringLiteral("de"))});
}

} // namespace LongTexts
