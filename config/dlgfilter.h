#pragma once

#include "tdlgfilter.h"
#include "untouchedfields.h"

class DBRow;

// The dialog of one header filter rule. OK and Cancel close it at once: whether the rule
// clashes with another is the page's question.
class DlgFilter : public TDlgFilter
{
    Q_OBJECT

public:
    DlgFilter(QWidget* parent, const char* name, bool modal, Qt::WindowFlags f);

    // The rule's values into the fields: the five usual headers offered, the stored one in
    // the edit field whatever it is; the stored test chosen (an unknown number as an entry
    // of its own, so OK keeps it); the content, shown only for tests that look for a text.
    // `newRow`: a rule the server does not hold yet.
    void showRow(const DBRow* row, bool newRow);
    // The fields into the rule: the header as typed, the test's number, and the content
    // also when the field is hidden. A test left alone keeps the text it was stored with
    // (empty, or a number in another form such as "04").
    void writeRow(DBRow* row) const;

public slots:
    // The content label and field only for tests that look for a text.
    void slotTypeActivated(int index) override;

private:
    UntouchedFields m_untouched;
};
