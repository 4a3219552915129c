#pragma once

#include <QDialog>

class QGroupBox;
class QHBoxLayout;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

// The form of the "User Templates" chooser: the templates in a titled box, OK and Cancel
// centred below. OK, Return on a row and a double click run slotOK(), which only complains
// until DlgChooseTemp implements it. The widgets are children of the dialog.
class TDlgChooseTemp : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgChooseTemp".
    explicit TDlgChooseTemp(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                            Qt::WindowFlags fl = {});
    ~TDlgChooseTemp() override;

    QGroupBox* GroupBox6;
    QTreeWidget* m_list;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;

public slots:
    virtual void slotOK();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
