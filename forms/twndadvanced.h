#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;

// The form of the "Advanced Options" page, in three tabs: miscellaneous switches and the
// public folders administrator; the security mode with its two address-group exceptions
// and the enabled authentication methods; the server's certificate, shown field by field,
// with the button that generates a new one. The slots only complain; WndAdvanced
// implements them. The widgets are children of the form.
class TWndAdvanced : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndAdvanced".
    explicit TWndAdvanced(QWidget* parent = nullptr, const char* name = nullptr,
                          Qt::WindowFlags fl = {});
    ~TWndAdvanced() override;

    QTabWidget* TabWidget3;
    QWidget* tab;
    QCheckBox* m_chkReverse;
    QCheckBox* m_chkShowName;
    QCheckBox* m_chkHide;
    QCheckBox* m_chkInsert;
    QLabel* TextLabel33;
    QLineEdit* m_editAdmin;
    QPushButton* m_btnBrowse;
    QWidget* tab_2;
    QGroupBox* GroupBox1;
    QComboBox* m_comboSec;
    QLabel* TextLabel1;
    QCheckBox* m_chkInsecure;
    QComboBox* m_comboInsecure;
    QPushButton* m_btnEditInsecure;
    QCheckBox* m_chkUnenc;
    QComboBox* m_comboUnenc;
    QPushButton* m_btnEditUnenc;
    QGroupBox* GroupBox2;
    QTreeWidget* m_listAuth;
    QWidget* tab_3;
    QLabel* TextLabel12;
    QComboBox* m_combo;
    QTreeWidget* m_list;
    QPushButton* m_btnGen;
    QLabel* TextLabel2;

public slots:
    virtual void slotChanged();
    virtual void slotEditInsecure();
    virtual void slotEditUnenc();
    virtual void slotGen();
    virtual void slotSelect();
    virtual void slotUpdateView();

protected:
    QGridLayout* TWndAdvancedLayout;

private:
    void createMiscTab();
    void createSecurityTab();
    void createCertificateTab();
    void setTexts();
    void connectSignals();
};
