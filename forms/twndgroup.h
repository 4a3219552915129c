#pragma once

#include <QWidget>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTreeWidget;
class QVBoxLayout;

// The form of the groups page: a domain choice box above the list of groups, and the row
// of "&Add...", "&Edit..." and "&Remove". The list has no columns of its own; the page's
// column model gives them. The slots only complain; WndGroup implements them. The widgets
// are children of the form.
class TWndGroup : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndGroup".
    explicit TWndGroup(QWidget* parent = nullptr, const char* name = nullptr,
                       Qt::WindowFlags fl = {});
    ~TWndGroup() override;

    QLabel* TextLabel1;
    QComboBox* m_comboDomain;
    QTreeWidget* m_list;
    QPushButton* m_btnAdd;
    QPushButton* m_btnEdit;
    QPushButton* m_btnRemove;

public slots:
    virtual void slotAdd();
    virtual void slotCols();
    virtual void slotDomainChanged(const QString& text);
    virtual void slotEdit();
    virtual void slotRemove();
    virtual void slotSelectionChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    QVBoxLayout* TWndGroupLayout;
    QHBoxLayout* Layout2;
    QHBoxLayout* Layout58;

};
