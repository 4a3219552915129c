#pragma once

#include <QWidget>

class QPushButton;
class QTreeWidget;

// The form of the Time Ranges page: the time ranges, each with its intervals below it, and
// the row of "&Add...", "&Edit..." and "&Remove". The list has no columns of its own; the
// page's column model gives them. The slots only complain; WndTimeInt implements them. The
// widgets are children of the form.
class TWndTimeInt : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndTimeInt".
    explicit TWndTimeInt(QWidget* parent = nullptr, const char* name = nullptr, Qt::WindowFlags fl = {});
    ~TWndTimeInt() override;

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
