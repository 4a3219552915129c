#pragma once

#include <QWidget>

class QHBoxLayout;
class QPoint;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

// The form of the services page: the list of the server's services above the row "Start",
// "Stop", "Edit...". The list has no columns of its own; the page's column model gives them.
// A double click or Return on a service is "Edit...". The slots only complain; WndService
// implements them. The widgets are children of the form.
class TWndService : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndService".
    explicit TWndService(QWidget* parent = nullptr, const char* name = nullptr,
                         Qt::WindowFlags fl = {});
    ~TWndService() override;

    QTreeWidget* m_list;
    QPushButton* m_btnStart;
    QPushButton* m_btnStop;
    QPushButton* m_btnProp;

public slots:
    virtual void slotContextMenuRequested(QTreeWidgetItem* item, const QPoint& pos, int column);
    virtual void slotCols();
    virtual void slotProp();
    virtual void slotRightButtonPressed(QTreeWidgetItem* item, const QPoint& pos, int column);
    virtual void slotSelectionChanged();
    virtual void slotStart();
    virtual void slotStop();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    QVBoxLayout* TWndServiceLayout;
    QHBoxLayout* Layout42;
};
