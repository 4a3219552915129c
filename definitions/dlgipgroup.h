#pragma once

#include "groupedtable.h"
#include "tdlgipgroup.h"

class DBConn;
class Desktop;
class GroupEditor;

// The "Address Group" dialog: edits the server's address groups on a copy of its own, opened on one group.
// OK sends the changes at once and closes with Accepted, so the caller reloads its own
// copy then; Cancel sends nothing. When the server refuses part of the changes the dialog
// stays open on the entries as edited, and closes Accepted however it is closed once the
// server holds any of them (GroupEditor).
class DlgIPGroup : public TDlgIPGroup
{
    Q_OBJECT

public:
    DlgIPGroup(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags,
               DBConn* conn, Desktop* desktop, QString group);
    ~DlgIPGroup() override;

    // Whether the groups were read; a dialog without them is not shown (Rejected).
    bool isLoaded() const { return m_groups.isLoaded(); }
    int exec() override;
    void done(int result) override;

public slots:
    void slotGroupChanged(const QString& group) override;
    void slotSelected() override;
    void slotFieldsChanged() override;
    void slotAdd() override;
    void slotEdit() override;
    void slotRemove() override;
    void slotRenameGroup() override;
    void slotRemoveGroup() override;
    void slotOK() override;

private:
    GroupedTable m_groups;
    GroupEditor* m_editor; // a child of the dialog
};
