#pragma once

#include "configpage.h"
#include "dbtable.h"
#include "twndbackup.h"

#include <QDate>

#include <functional>

// "Backup": whether the server backs up mail, all of it or only outgoing mail, to a remote
// address and or into local folders named by a format, and who may access those folders.
// Edits the single row of "backup" and previews the folder name the format gives today.
class WndBackup : public TWndBackup, public ConfigPage
{
    Q_OBJECT

public:
    WndBackup(QWidget* parent, DBConn* conn, DBCtrl* ctrl, const char* name, Qt::WindowFlags f);
    ~WndBackup() override;

    void updateData() override;
    void updateObject() override;

    // Where the preview takes today's date from; the local date unless replaced.
    void setClock(std::function<QDate()> today);
    // Shows the folder name the format field gives today.
    void updatePreview();

public slots:
    void slotBeforeApply() override;
    void slotChanged() override;
    void slotSelect() override;

protected:
    void writeRows() override;

private:
    DBTable m_backup;
    std::function<QDate()> m_today;
};
