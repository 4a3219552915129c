#pragma once

#include "keyeditem.h"

class DBRow;
class DlgImport2;
class QTreeWidget;

// One account found in the NT domain, with the check box that says whether to take it
// over; it starts ticked. The row belongs to the import's table.
class QImport2Item : public KeyedItem
{
public:
    enum { Type = QTreeWidgetItem::UserType + 0x410 };

    // With a null list the owner adds the items itself, all at once.
    QImport2Item(QTreeWidget* list, DBRow* row, DlgImport2* dialog);
    ~QImport2Item() override;

    DBRow* row() const { return m_row; }
    bool isOn() const { return m_checked; }

    // The check box as the flag says, then the account's name, full name and description.
    void show();
    void setOn(bool on);

    // The check box, ticked by the administrator or by setOn(), is followed by the flag.
    void setData(int column, int role, const QVariant& value) override;

private:
    DBRow* m_row;
    bool m_checked = true;
};
