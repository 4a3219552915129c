#pragma once

#include <QTreeWidgetItem>

class WndLogConf;

// One switchable event in the "Logging Messages" tree: a check box whose every change of
// state, by the mouse or the space bar, is written into the dialog's copy of the row.
class CheckItem : public QTreeWidgetItem
{
public:
    // conf is not owned; it owns the tree the item lives in.
    CheckItem(QTreeWidgetItem* parent, const QString& text, int row, WndLogConf* conf);

    void setData(int column, int role, const QVariant& value) override;
    bool isOn() const { return checkState(0) == Qt::Checked; }

    int m_row;
    WndLogConf* m_conf;
};
