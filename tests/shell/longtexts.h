#pragma once

// Stored texts far wider than any screen, for the tests that look at how wide pages and
// dialogs grow: every text of every text column of the stand-in server's tables, and the
// names its account functions answer, made 300 characters long without a blank, so that no
// line break can shorten them either; or as long, with a line break of their own after
// their first line. An empty text stays empty: it means something of its own (the primary
// domain, no group).

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

// The lengthened text with a line break of one of the kinds a text may hold where the filler
// begins, the kind following from the text so that equal texts stay equal.
inline QString brokenAndLengthened(const QString& text)
{
    static const QStringList breaks{"\n", "\r\n", "\r", QString(QChar::LineSeparator),
                                    QString(QChar::ParagraphSeparator)};
    QString broken = lengthened(text);
    return broken.replace(text.size(), 1, breaks.at(text.size() % breaks.size()));
}

// Every stored text lengthened by `lengthen`.
inline void lengthenEveryText(StandIn::TestServer& server, QString (*lengthen)(const QString&) = lengthened)
{
    for (const QString& table : server.tableNames()) {
        const QList<StandIn::Column> columns = server.columns(table);
        QList<QStringList> rows = server.rows(table);
        for (QStringList& row : rows) {
            for (int c = 0; c < columns.size() && c < row.size(); ++c) {
                if (columns.at(c).type == StandIn::TypeString && !row.at(c).isEmpty())
                    row[c] = lengthen(row.at(c));
            }
        }
        server.setTable(table, columns, rows);
    }
    // Past the console's own five, the boxes show the server's names.
    server.setAuthTypes({{0, lengthen(QStringLiteral("Internal"))},
                         {1, lengthen(QStringLiteral("NT domain"))},
                         {2, lengthen(QStringLiteral("PAM"))},
                         {3, lengthen(QStringLiteral("Kerberos"))},
                         {4, lengthen(QStringLiteral("Reserved"))},
                         {5, lengthen(QStringLiteral("Directory"))}});
    server.setLanguages({lengthen(QStringLiteral("en")), lengthen(QStringLiteral("de"))});
}

} // namespace LongTexts
