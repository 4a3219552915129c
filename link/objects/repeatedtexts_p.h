#pragma once

#include <QString>

#include <string>
#include <vector>

// The text of the cell read last in each column of an answer. A long answer repeats a
// column's text from row to row (the domain of a domain's users, a folder, a language),
// and a row that repeats it shares that text instead of holding a copy of its own: with a
// hundred thousand rows the copies would weigh more than the answer itself. Sharing is
// what a copy of a value does anyway (QString is shared until written).
class RepeatedTexts
{
public:
    // The text of `length` UTF-8 bytes at `data` read in `column`: the last one's, when
    // the bytes are the same, else a new one, kept as the column's last.
    QString text(int column, const char *data, qsizetype length);

private:
    struct Last
    {
        std::string bytes; // reused: comparing costs no allocation
        QString text;
        bool read = false;
    };

    std::vector<Last> m_columns;
};
