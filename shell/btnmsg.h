#pragma once

#include <QPushButton>

// A push button that names itself when clicked: DlgMessage ends with the identifier of
// the button that was pressed.
class BtnMsg : public QPushButton
{
    Q_OBJECT

public:
    BtnMsg(QWidget* parent, int id);

    int m_id;

signals:
    void signalClicked(int id);

public slots:
    void slotClicked();
};
