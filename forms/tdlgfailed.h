#pragma once

#include <QDialog>

class QGroupBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;

// The form of the connection-failure dialog: a warning picture beside "Failed to connect to
// the server application.", the cause below it, the possible reasons in a panel and an OK
// button. The cause and the reasons are left empty for the caller to fill. The widgets are
// children of the dialog.
class TDlgFailed : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgFailed".
    explicit TDlgFailed(QWidget* parent = nullptr, const char* name = nullptr,
                        bool modal = false, Qt::WindowFlags fl = {});
    ~TDlgFailed() override;

    QLabel* PixmapLabel1;
    QLabel* m_lbError;
    QLabel* m_lbDesc;
    QGroupBox* GroupBox1;
    QLabel* m_lbReasons;
    QPushButton* PushButton5;

protected:
    QVBoxLayout* TDlgFailedLayout;
    QHBoxLayout* Layout4;
    QHBoxLayout* Layout5;
    QVBoxLayout* GroupBox1Layout;

private:
    void createWidgets();
    void createLayout();
    void setTexts();
};
