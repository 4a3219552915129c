#pragma once

#include <QString>

// A check box of a list entry standing for a number cell of its row ("enabled", say), which
// the box shows as on or off only: "2", "-1", a word the server keeps in the column, or an
// empty cell are all shown as one of the two. Showing the row writes nothing, so a row
// nobody touched stays as the server holds it; a toggle writes "1" or "0", and toggling back
// to the state the row was shown in writes back the text it held, so that an entry switched
// off and on again is no change either.
class UntouchedFlag
{
public:
    // Remembers the cell's text as shown, and whether the box shows it on.
    void show(const QString& stored, bool shownOn);
    // The text to write when the box is set to `on`.
    QString textFor(bool on) const;

private:
    QString m_stored;
    bool m_shownOn = false;
};
