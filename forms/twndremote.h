#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QPushButton;

// The form of the "Remote Administration" page: whether consoles may administer the server
// from the network, and whether only from the hosts of one address group, chosen in a box
// beside its "&Edit" button. The slots only complain; WndRemote implements them. The
// widgets are children of the form.
class TWndRemote : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndRemote".
    explicit TWndRemote(QWidget* parent = nullptr, const char* name = nullptr,
                        Qt::WindowFlags fl = {});
    ~TWndRemote() override;

    QCheckBox* m_chkEnable;
    QCheckBox* m_chkOnly;
    QComboBox* m_combo;
    QPushButton* m_btnEdit;

public slots:
    virtual void slotChange();
    virtual void slotEdit();

protected:
    QGridLayout* TWndRemoteLayout;
};
