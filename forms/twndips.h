#pragma once

#include <QWidget>

class QPushButton;
class QTreeWidget;

// The form of the IP Address Groups page: the address groups, each with its entries below
// it, and the row of "&Add...", "&Edit..." and "&Remove". The list has no columns of its
// own; the page's column model gives them. The slots only complain; WndIPGroup implements
// them. The widgets are children of the form.
class TWndIPs : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndIPs".
    explicit TWndIPs(QWidget* parent = nullptr, const char* name = nullptr, Qt::WindowFlags fl = {});
    ~TWndIPs() override;

    QTreeWidget* m_list;
    QPushButton* m_btnAdd;
    QPushButton* m_btnEdit;
    QPushButton* m_btnRemove;

public slots:
    virtual void slotAdd();
    virtual void slotCols();
    virtual void slotEdit();
    virtual void slotRemove();
    virtual void slotSelectionChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
