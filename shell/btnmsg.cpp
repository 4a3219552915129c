#include "btnmsg.h"

BtnMsg::BtnMsg(QWidget* parent, int id)
    : QPushButton(parent)
    , m_id(id)
{
    connect(this, &QPushButton::clicked, this, &BtnMsg::slotClicked);
}

void BtnMsg::slotClicked()
{
    emit signalClicked(m_id);
}
