#pragma once

#include <QWidget>

class QGridLayout;
class QHBoxLayout;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QVBoxLayout;

// The form of the "POP3 Download" page: the accounts on one tab and the sorting rules on
// the other, each list above its own "&Add...", "&Edit..." and "&Remove". The lists have
// no columns of their own; the page's column models give them. The slots only complain;
// WndPop3 implements them. The widgets are children of the form.
class TWndPop3 : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndPop3".
    explicit TWndPop3(QWidget* parent = nullptr, const char* name = nullptr, Qt::WindowFlags fl = {});
    ~TWndPop3() override;

    QTabWidget* m_tabs;
    QWidget* tab;
    QTreeWidget* m_list;
    QPushButton* m_btnAdd;
    QPushButton* m_btnEdit;
    QPushButton* m_btnRemove;
    QWidget* tab_2;
    QTreeWidget* m_list_2;
    QPushButton* m_btnAdd_2;
    QPushButton* m_btnEdit_2;
    QPushButton* m_btnRemove_2;

public slots:
    virtual void slotAdd();
    virtual void slotAdd2();
    virtual void slotCols();
    virtual void slotCols2();
    virtual void slotEdit();
    virtual void slotEdit2();
    virtual void slotRemove();
    virtual void slotRemove2();
    virtual void slotSelectionChanged();
    virtual void slotSelectionChanged2();

protected:
    // Return on a list edits, as a double click does.
    bool eventFilter(QObject* watched, QEvent* event) override;

    QGridLayout* TWndPop3Layout;
    QVBoxLayout* tabLayout;
    QHBoxLayout* Layout9;
    QVBoxLayout* tabLayout_2;
    QHBoxLayout* Layout10;

private:
    QWidget* buildTab(QTreeWidget*& list, QPushButton*& add, QPushButton*& edit, QPushButton*& remove,
                      QVBoxLayout*& layout, QHBoxLayout*& buttons, const char* suffix);
};
