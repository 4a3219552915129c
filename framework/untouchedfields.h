#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <initializer_list>

class QWidget;

// Keeps what the server stored for the fields of a dialog that the administrator leaves
// alone.
//
// A field shows a stored value as well as its widgets can: a check box is on or off, one of
// a set of radio buttons is checked, one entry of a choice box is current, a number stands
// in a unit. A value outside that (an INT cell of 77 behind a check box, a type ID the box
// does not list, bits no button stands for, bytes that are no whole number of the units)
// would be replaced by what the widgets show as soon as the dialog writes its fields back,
// although nobody touched them.
//
// The rule, for every dialog or page that fills widgets from a stored value and writes them
// back: right after filling a field, remember() the stored text with the widgets that show
// it; when writing, pass the field's own value through value(). While every one of those
// widgets still shows what it showed when remembered, the stored text is written back
// unchanged; once the administrator has changed one of them (and not changed it back), the
// field's own value is. An empty stored text is kept like any other: a number the server
// holds as a null cell shows as 0 or off, and a "0" written for it would be a value nobody
// entered. Only on a new row (setNewRow), which the server does not hold yet and whose
// every cell goes into its insert, does an untouched field whose stored text is empty give
// its own value, so that the insert carries what the dialog shows, in the form the server
// expects.
//
// What counts as a widget's state is what the administrator can change of it: the check
// state of a button, the current entry and text of a choice box, the text of a line edit or
// a spin box, the check states of a list's entries. The widgets must outlive the object's
// last value() call; the dialog or page that shows them normally holds it.
class UntouchedFields
{
public:
    // Call once the widgets show the stored value; a second call for a name replaces the first.
    void remember(const QString& name, const QString& stored,
                  std::initializer_list<const QWidget*> widgets);
    void remember(const QString& name, const QString& stored, const QList<const QWidget*>& widgets);
    // The server now holds what the field's widgets show (an apply carried it out): their
    // present states become the untouched ones, and `stored` the text kept while they stay so.
    void settle(const QString& name, const QString& stored);
    // The text to write for the field `name`: the stored one while the field is untouched,
    // else `edited`. A name never remembered gives `edited`.
    QString value(const QString& name, const QString& edited) const;
    bool isTouched(const QString& name) const;
    // Whether the widget, one of some field's, shows other than it did when remembered.
    bool isChanged(const QWidget* widget) const;
    // The widget was filled again from what the server holds (a choice box refilled after
    // its entries were edited): what it shows now becomes its untouched state in every field
    // it shows. The field's other widgets keep theirs, so a change made to them stays one.
    void refilled(const QWidget* widget);
    // Whether the fields show a row the server does not hold yet; false by default.
    void setNewRow(bool newRow) { m_newRow = newRow; }

private:
    struct Field
    {
        QString stored;
        QList<const QWidget*> widgets;
        QStringList shown; // the widgets' states when remembered
    };
    static QStringList statesOf(const QList<const QWidget*>& widgets);

    QHash<QString, Field> m_fields;
    bool m_newRow = false;
};
