#pragma once

#include <QString>
#include <QTreeWidgetItem>

class WndAdvanced;

// One authentication method in the advanced options page's list, ticked while it is
// enabled. A change of its tick, by the administrator or by show(), is stored and shown,
// then reported to the page, which rebuilds the disabled methods from the ticks.
class QMethodItem : public QTreeWidgetItem
{
public:
    // The item is appended to list with an empty text; page may be null.
    QMethodItem(QTreeWidget* list, const QString& name, bool on, WndAdvanced* page);

    // Sets the tick from the stored state and shows the name.
    void show();
    void setOn(bool on);
    bool isOn() const { return m_on; }
    const QString& name() const { return m_name; }

    void setData(int column, int role, const QVariant& value) override;

private:
    QString m_name;
    bool m_on;
    WndAdvanced* m_page;
};
