#pragma once

#include <QDialog>
#include <QStringList>

class QHBoxLayout;
class QPushButton;
class QTreeWidget;
class QVBoxLayout;

// What the two pickers' forms share: a list filling the dialog at the left, with several
// rows selectable, and "OK" (disabled at first) above "Cancel" at the right. A double click
// on a row accepts. The widgets are children of the dialog.
class TDlgPicker : public QDialog
{
    Q_OBJECT

public:
    ~TDlgPicker() override;

    QTreeWidget* list() const { return m_list; }

    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;

public slots:
    // Counts the selected rows; only complains here.
    virtual void slotSelect();

protected:
    struct Texts
    {
        const char* className;  // "TDlgAddUser": the default object name and the complaint
        QString caption;
        const char* listName;   // the list's object name
        QStringList columns;
    };

    TDlgPicker(const Texts& texts, QWidget* parent, const char* name, bool modal,
               Qt::WindowFlags fl);

    QTreeWidget* m_list;
    QHBoxLayout* TDlgPickerLayout;
    QVBoxLayout* Layout1;

private:
    const char* m_className;
};
