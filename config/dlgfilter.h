#pragma once

#include "tdlgfilter.h"

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
    void showRow(const DBRow* row);
    // The fields into the rule: the header as typed, the test's number, and the content
    // also when the field is hidden.
    void writeRow(DBRow* row) const;

public slots:
    // The content label and field only for tests that look for a text.
    void slotTypeActivated(int index) override;
};
