#pragma once

#include "setlistpage.h"
#include "twndtimeint.h"

// The time ranges page: each range with its intervals (type, days, start and end). Add and
// Edit open the "Time Range" dialog; Remove takes whole ranges out on Apply.
class WndTimeInt : public TWndTimeInt, public SetListPage
{
    Q_OBJECT

public:
    WndTimeInt(QWidget* parent, DBConn* conn, DBCtrl* ctrl, const char* name, Qt::WindowFlags f,
               Desktop* desktop);
    ~WndTimeInt() override;

public slots:
    void slotAdd() override;
    void slotCols() override;
    void slotEdit() override;
    void slotRemove() override;
    void slotSelectionChanged() override;

protected:
    QStringList headingTexts(const QString& range) const override;
    QStringList entryTexts(const DBRow* row) const override;
    bool runSetDialog(const QString& range) override;
};
