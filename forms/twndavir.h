#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPoint;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// The form of the "Antivirus" page: the virus check with its plug-in, the ordered
// attachment filter rules, and what happens to a rejected message, on three tabs. The
// slots only complain; WndAvir implements them. The widgets are children of the form.
class TWndAvir : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndAvir".
    explicit TWndAvir(QWidget* parent = nullptr, const char* name = nullptr,
                      Qt::WindowFlags fl = {});
    ~TWndAvir() override;

    QTabWidget* TabWidget4;
    QCheckBox* m_chkCheckEnable;
    QComboBox* m_plugin;
    QRadioButton* m_rbtnLeave;
    QRadioButton* m_rbtnSend;
    QCheckBox* m_chkFilterEnable;
    QTreeWidget* m_list;
    QToolButton* m_btnUp;
    QToolButton* m_btnDown;
    QPushButton* m_btnAdd;
    QPushButton* m_btnEdit;
    QPushButton* m_btnRemove;
    QCheckBox* m_chkForward;
    QLineEdit* m_editAdminNotify;
    QRadioButton* m_rbtnDeliver;
    QCheckBox* m_chkSendWarning;
    QCheckBox* m_chOnlyLocal;
    QRadioButton* m_rbtnBounce;

public slots:
    virtual void slotChange();
    virtual void slotRemove();
    virtual void slotAdd();
    virtual void slotEdit();
    virtual void slotSelectionChanged();
    virtual void slotCols();
    virtual void slotDown();
    virtual void slotUp();
    virtual void slotRightButtonPressed(QTreeWidgetItem* item, const QPoint& pos, int column);

protected:
    // Return on the list is Edit.
    bool eventFilter(QObject* watched, QEvent* event) override;

    QGridLayout* TWndAvirLayout;

private:
    QWidget* buildCheckTab();
    QWidget* buildFilterTab();
    QWidget* buildActionTab();
    void connectSignals();
};
