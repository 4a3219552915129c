#pragma once

#include "groupedtable.h"
#include "tdlgtimeintex.h"

class DBConn;
class GroupEditor;
class QSpinBox;
class UntouchedFields;

// The "Time Range" dialog: edits the server's time ranges on a copy of its own, opened on one range.
// OK sends the changes at once and closes with Accepted, so the caller reloads its own
// copy then; Cancel sends nothing. When the server refuses part of the changes the dialog
// stays open on the entries as edited, and closes Accepted however it is closed once the
// server holds any of them (GroupEditor).
class DlgTimeIntEx : public TDlgTimeIntEx
{
    Q_OBJECT

public:
    DlgTimeIntEx(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags,
                 DBConn* conn, QString range);
    ~DlgTimeIntEx() override;

    // Whether the ranges were read; a dialog without them is not shown (Rejected).
    bool isLoaded() const { return m_ranges.isLoaded(); }
    int exec() override;
    void done(int result) override;

public slots:
    void slotRangeChanged(const QString& range) override;
    void slotSelected() override;
    void slotFieldsChanged() override;
    void slotAdd() override;
    void slotEdit() override;
    void slotRemove() override;
    void slotRenameRange() override;
    void slotRemoveRange() override;
    void slotOK() override;

private:
    void showType(const QString& storedType);
    // A start or end into its spin box, which shows what it cannot hold as 0.
    static void showNumber(QSpinBox* box, const QString& stored, const QString& name,
                           UntouchedFields& shown);
    QString chosenType() const;

    GroupedTable m_ranges;
    GroupEditor* m_editor; // a child of the dialog
};
