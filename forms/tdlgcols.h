#pragma once

#include <QDialog>

class QFrame;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QListWidget;
class QPushButton;

// The form of the "Modify Columns" dialog: two lists (hidden and displayed columns) with
// the buttons that move columns between them and within the displayed one. The slots only
// complain; DlgCols implements them. The widgets are children of the dialog.
class TDlgCols : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgCols".
    explicit TDlgCols(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                      Qt::WindowFlags fl = {});
    ~TDlgCols() override;

    QLabel* TextLabel1_2;
    QLabel* TextLabel2;
    QListWidget* m_listHidden;
    QListWidget* m_listDisplayed;
    QPushButton* m_btnAdd;
    QPushButton* m_btnRemove;
    QPushButton* m_btnReset;
    QPushButton* m_btnUp;
    QPushButton* m_btnDown;
    QLabel* TextLabel3;
    QFrame* Line4;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;

public slots:
    virtual void slotAdd();
    virtual void slotDown();
    virtual void slotOK();
    virtual void slotRemove();
    virtual void slotReset();
    virtual void slotUp();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    QGridLayout* TDlgColsLayout;
    QHBoxLayout* Layout8;

private:
    void createWidgets();
    void createLayout();
    void setTexts();
    void connectSignals();
    void orderTabs();
};
