#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// The form of the "Address Group" dialog: the group's name in an editable box, the
// group's entries (value and description), the fields of one entry with the buttons that
// add, change and remove entries, and the buttons that rename or remove the whole group.
// The slots only complain; DlgIPGroup implements them. The widgets are the dialog's
// children.
class TDlgIPGroup : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgIPGroup".
    explicit TDlgIPGroup(QWidget* parent = nullptr, const char* name = nullptr,
                         bool modal = false, Qt::WindowFlags fl = {});
    ~TDlgIPGroup() override;

    // The fields of one entry, in the order Tab goes through them.
    QList<QWidget*> entryFields() const;

    QLabel* m_labelGroup;
    QComboBox* m_comboGroup;
    QPushButton* m_btnRenameGroup;
    QPushButton* m_btnRemoveGroup;
    QTreeWidget* m_list;
    QLabel* m_labelValue;
    QLineEdit* m_editValue;
    QLabel* m_labelDesc;
    QLineEdit* m_editDesc;
    QPushButton* m_btnAdd;
    QPushButton* m_btnEdit;
    QPushButton* m_btnRemove;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;

public slots:
    virtual void slotGroupChanged(const QString& group);
    virtual void slotSelected();
    virtual void slotFieldsChanged();
    virtual void slotAdd();
    virtual void slotEdit();
    virtual void slotRemove();
    virtual void slotRenameGroup();
    virtual void slotRemoveGroup();
    virtual void slotOK();

private:
    void createWidgets();
    void setTexts();
};
