#pragma once

#include <QWidget>

class QHBoxLayout;
class QPushButton;
class QTreeWidget;
class QVBoxLayout;

// The form of the "Connections" page: the list of the server's open connections above
// "&Refresh". The list has no columns of its own; the page's column model gives them. The
// slots only complain; WndConnection implements those it needs. The widgets are children
// of the form.
class TWndConnection : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndConnection".
    explicit TWndConnection(QWidget* parent = nullptr, const char* name = nullptr,
                            Qt::WindowFlags fl = {});
    ~TWndConnection() override;

    QTreeWidget* m_list;
    QPushButton* m_btnRefresh;

public slots:
    virtual void slotAdd();
    virtual void slotCheck();
    virtual void slotCols();
    virtual void slotEdit();
    virtual void slotRefresh();
    virtual void slotRemove();
    virtual void slotSelectionChanged();

protected:
    // Return on the list acts as a double click does.
    bool eventFilter(QObject* watched, QEvent* event) override;

    QVBoxLayout* TWndConnectionLayout;
    QHBoxLayout* Layout1;
};
