#pragma once

#include <QDialog>

class QHBoxLayout;
class QPushButton;
class QTreeWidget;
class QVBoxLayout;

// The form of the "Logging Messages" dialog: a tree of the server's log events above "&Ok"
// and "&Cancel". The widgets are children of the dialog.
class TConfLog : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TConfLog".
    explicit TConfLog(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                      Qt::WindowFlags fl = {});
    ~TConfLog() override;

    QTreeWidget* m_lvConfLog;
    QPushButton* btnOk;
    QPushButton* btnCancel;

public slots:
    virtual void slotOk();
    virtual void slotCancel();

protected:
    QVBoxLayout* TConfLogLayout;
    QHBoxLayout* Layout1;
};
