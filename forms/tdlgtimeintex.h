#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

// The form of the "Time Range" dialog: the range's name in an editable box, the range's
// intervals (description, type, days, start, end), the fields of one interval with the
// buttons that add, change and remove intervals, and the buttons that rename or remove
// the whole range.
// The slots only complain; DlgTimeIntEx implements them. The widgets are the dialog's
// children.
class TDlgTimeIntEx : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgTimeIntEx".
    explicit TDlgTimeIntEx(QWidget* parent = nullptr, const char* name = nullptr,
                         bool modal = false, Qt::WindowFlags fl = {});
    ~TDlgTimeIntEx() override;

    // The fields of one interval, in the order Tab goes through them.
    QList<QWidget*> entryFields() const;

    QLabel* m_labelRange;
    QComboBox* m_comboRange;
    QPushButton* m_btnRenameRange;
    QPushButton* m_btnRemoveRange;
    QTreeWidget* m_list;
    QLabel* m_labelDesc;
    QLineEdit* m_editDesc;
    QLabel* m_labelType;
    QComboBox* m_comboType;
    QLabel* m_labelDays;
    QLineEdit* m_editDays;
    QLabel* m_labelStart;
    QSpinBox* m_spinStart;
    QLabel* m_labelEnd;
    QSpinBox* m_spinEnd;
    QPushButton* m_btnAdd;
    QPushButton* m_btnEdit;
    QPushButton* m_btnRemove;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;

public slots:
    virtual void slotRangeChanged(const QString& range);
    virtual void slotSelected();
    virtual void slotFieldsChanged();
    virtual void slotAdd();
    virtual void slotEdit();
    virtual void slotRemove();
    virtual void slotRenameRange();
    virtual void slotRemoveRange();
    virtual void slotOK();

private:
    void createWidgets();
    void setTexts();
};
