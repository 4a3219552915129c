#pragma once

#include <QDialog>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTreeWidget;
class QVBoxLayout;

// The form of the "Find User" dialog: a domain field, the list of a domain's users and
// groups, a name field, OK and Cancel. The slots only complain; DlgBrowse implements them.
// The widgets are children of the dialog.
class TDlgBrowse : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgBrowse".
    explicit TDlgBrowse(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                        Qt::WindowFlags fl = {});
    ~TDlgBrowse() override;

    QLabel* TextLabel1_2;
    QComboBox* m_comboDomain;
    QTreeWidget* m_list;
    QLabel* TextLabel1;
    QComboBox* m_comboName;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;

public slots:
    virtual void slotDomainChanged(const QString& text);
    virtual void slotOK();
    virtual void slotSelected();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    QVBoxLayout* TDlgBrowseLayout;
    QHBoxLayout* Layout1;
    QHBoxLayout* Layout2;
    QHBoxLayout* Layout3;

private:
    void createWidgets();
    void createLayout();
    void setTexts();
    void connectSignals();
};
