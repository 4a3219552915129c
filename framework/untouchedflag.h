#pragma once

#include <QString>

#include <optional>

// A check box of a list entry standing for a number cell of its row ("enabled", say), which
// the box shows as on or off only: "2", "-1", a word the server keeps in the column, or an
// empty cell are all shown as one of the two. Showing the row writes nothing, so a row
// nobody touched stays as the server holds it.
//
// A toggle is judged against the text the server holds, never against what the entry showed
// at its last refill: a refill (a column change rebuilds every entry) shows the row as
// edited, and a rule switched off, redrawn and switched on again would otherwise write "1"
// where the server holds "2". So a box that shows what the stored text shows writes that text
// back, which makes an entry switched off and on again no change at all; a box that shows
// the other state writes "1" or "0". A cell the server does not hold (a row added since the
// last load or apply) has no such text: the box writes what it shows.
class UntouchedFlag
{
public:
    // A cell the server does not hold.
    UntouchedFlag() = default;
    // The server holds `stored`, which the box shows on when `storedOn`.
    UntouchedFlag(const QString& stored, bool storedOn);

    // The text to write when the box is set to `on`.
    QString textFor(bool on) const;

private:
    std::optional<QString> m_stored;
    bool m_storedOn = false;
};
