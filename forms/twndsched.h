#pragma once

#include <QWidget>

class QPushButton;
class QTreeWidget;

// The form of the "Scheduling" page: the list of scheduled actions above "&Add...",
// "&Edit..." and "&Remove" at the left. The list has no columns of its own; the page's
// column model gives them. The slots only complain; WndSched implements them. The widgets
// are children of the form.
class TWndSched : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndSched".
    explicit TWndSched(QWidget* parent = nullptr, const char* name = nullptr,
                      Qt::WindowFlags fl = {});
    ~TWndSched() override;

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
    // Return on the list edits, as a double click does.
    bool eventFilter(QObject* watched, QEvent* event) override;
};
