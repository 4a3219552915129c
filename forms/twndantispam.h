#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QPoint;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

// The form of the "Antispam" page: relay control, the block lists ("MAPS") and the header
// filter rules, on three tabs. The slots only complain; WndAntispam implements them. The
// widgets are children of the form.
class TWndAntispam : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndAntispam".
    explicit TWndAntispam(QWidget* parent = nullptr, const char* name = nullptr,
                          Qt::WindowFlags fl = {});
    ~TWndAntispam() override;

    QTabWidget* m_tabs;
    QCheckBox* m_chkEnabled;
    QCheckBox* m_chkAddrGroup;
    QComboBox* m_addressGroup;
    QPushButton* m_btnEdit1;
    QCheckBox* m_chkAuth;
    QCheckBox* m_chkLogRBL;
    QCheckBox* m_chkBlockRBL;
    QCheckBox* m_chkLogRSS;
    QCheckBox* m_chkBlockRSS;
    QCheckBox* m_chkLogDUL;
    QCheckBox* m_chkBlockDUL;
    QCheckBox* m_chkAddrGroup2;
    QComboBox* m_addressGroup2;
    QPushButton* m_btnEdit2;
    QTreeWidget* m_list;
    QPushButton* m_btnAdd;
    QPushButton* m_btnEdit;
    QPushButton* m_btnRemove;

public slots:
    virtual void slotRightButtonPressed(QTreeWidgetItem* item, const QPoint& pos, int column);
    virtual void slotAdd();
    virtual void slotChange();
    virtual void slotCols();
    virtual void slotEdit();
    virtual void slotEdit1();
    virtual void slotEdit2();
    virtual void slotRemove();
    virtual void slotSelectionChanged();

protected:
    // Return on the list is Edit.
    bool eventFilter(QObject* watched, QEvent* event) override;

    QGridLayout* TWndAntispamLayout;

private:
    QWidget* buildRelayTab();
    QWidget* buildBlockListTab();
    QWidget* buildFilterTab();
    void setTexts();
    void connectSignals();
};
