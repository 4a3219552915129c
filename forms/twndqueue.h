#pragma once

#include <QWidget>

class QHBoxLayout;
class QPushButton;
class QTreeWidget;
class QVBoxLayout;

// The form of the "Mail Queue" page: the list of queued messages; below it "&Refresh"
// with the two actions on the chosen message, and a second row with the three runs the
// server can be asked to start. The list has no columns of its own; the page's column
// model gives them. The slots only complain; WndQueue implements them. The widgets are
// children of the form.
class TWndQueue : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndQueue".
    explicit TWndQueue(QWidget* parent = nullptr, const char* name = nullptr,
                       Qt::WindowFlags fl = {});
    ~TWndQueue() override;

    QTreeWidget* m_list;
    QPushButton* m_btnRefresh;
    QPushButton* m_btnRemove;
    QPushButton* m_btnRejuvenate;
    QPushButton* m_btnQueue;
    QPushButton* m_btnPop3;
    QPushButton* m_btnETRN;

public slots:
    virtual void slotRejuvenate();
    virtual void slotCheck();
    virtual void slotCols();
    virtual void slotEdit();
    virtual void slotETRN();
    virtual void slotPOP3();
    virtual void slotQueue();
    virtual void slotRefresh();
    virtual void slotRemove();
    virtual void slotSelectionChanged();

protected:
    // Return on the list acts as a double click does.
    bool eventFilter(QObject* watched, QEvent* event) override;

    QVBoxLayout* TWndQueueLayout;
    QHBoxLayout* Layout1;
    QHBoxLayout* Layout2;
};
