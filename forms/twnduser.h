#pragma once

#include <QWidget>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTreeWidget;
class QVBoxLayout;

// The form of the users page: a domain choice box above the list of users, and the row of
// "&Add...", "&Edit...", "&Remove" and, at the far right, "&Import...". The list has no
// columns of its own; the page's column model gives them. The slots only complain; WndUser
// implements them. The widgets are children of the form.
class TWndUser : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndUser".
    explicit TWndUser(QWidget* parent = nullptr, const char* name = nullptr,
                      Qt::WindowFlags fl = {});
    ~TWndUser() override;

    QLabel* TextLabel1;
    QComboBox* m_comboDomain;
    QTreeWidget* m_list;
    QPushButton* m_btnAdd;
    QPushButton* m_btnEdit;
    QPushButton* m_btnRemove;
    QPushButton* m_btnImport;

public slots:
    virtual void slotAdd();
    virtual void slotCols();
    virtual void slotDomainChanged(const QString& text);
    virtual void slotEdit();
    virtual void slotImport();
    virtual void slotRemove();
    virtual void slotSelectionChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    QVBoxLayout* TWndUserLayout;
    QHBoxLayout* Layout1;
    QHBoxLayout* Layout2;

};
