#pragma once

#include <QDialog>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// The form of the "Log expression" dialog: one line of text above "&OK" and "&Cancel".
// The widgets are children of the dialog.
class TDlgLogExpr : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgLogExpr".
    explicit TDlgLogExpr(QWidget* parent = nullptr, const char* name = nullptr,
                         bool modal = false, Qt::WindowFlags fl = {});
    ~TDlgLogExpr() override;

    QLabel* TextLabel4;
    QLineEdit* m_edtLog;
    QPushButton* PushButton16;
    QPushButton* PushButton17;

public slots:
    virtual void slotOk();
    virtual void slotCancel();

protected:
    QVBoxLayout* TDlgLogExprLayout;
    QHBoxLayout* Layout1;
};
