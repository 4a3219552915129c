#pragma once

#include "tdlgattach.h"
#include "untouchedfields.h"

class DBRow;

// The dialog of one attachment filter rule. The pattern box offers the usual patterns of
// the chosen kind; switching the kind changes what is offered, never what was typed.
class DlgAttach : public TDlgAttach
{
    Q_OBJECT

public:
    DlgAttach(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags);

    // The rule into the fields: the kind (any type but 0 is a MIME type), its presets, the
    // pattern and the action (0 accept, anything else block). `newRow`: a rule the server
    // does not hold yet.
    void showRow(const DBRow* row, bool newRow);
    // The fields into the rule. A kind or an action left alone keeps the text it was stored
    // with, also one the fields show only as well as they can (a type 5, an empty action).
    void writeRow(DBRow* row) const;

public slots:
    // An empty pattern asks first; No takes it as it is.
    void slotOK() override;
    // The presets of the kind, with the text in the field kept. A kind other than the two
    // changes nothing.
    void slotTypeActivated(int type) override;

private:
    UntouchedFields m_untouched;
};
