#pragma once

#include "setlistpage.h"
#include "twndips.h"

// The address groups page: each group with its entries (value and description). Add and
// Edit open the "Address Group" dialog; Remove takes whole groups out on Apply.
class WndIPGroup : public TWndIPs, public SetListPage
{
    Q_OBJECT

public:
    WndIPGroup(QWidget* parent, DBConn* conn, DBCtrl* ctrl, const char* name, Qt::WindowFlags f,
               Desktop* desktop);
    ~WndIPGroup() override;

public slots:
    void slotAdd() override;
    void slotCols() override;
    void slotEdit() override;
    void slotRemove() override;
    void slotSelectionChanged() override;

protected:
    QStringList headingTexts(const QString& group) const override;
    QStringList entryTexts(const DBRow* row) const override;
    bool runSetDialog(const QString& group) override;
};
