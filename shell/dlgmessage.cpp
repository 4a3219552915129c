#include "dlgmessage.h"

#include "btnmsg.h"
#include "dialogseam.h"
#include "dialogutils_p.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScopedValueRollback>
#include <QSpacerItem>
#include <QVBoxLayout>

#include <cstdarg>

DlgMessage::DlgMessage(QWidget* parent)
    : QDialog(parent)
{
    setModal(true);
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(12, 12, 12, 12);
    m_message = new QLabel(this);
    m_layout->addWidget(m_message);
    // Stays empty; it keeps a line's room between the message and the buttons.
    m_detail = new QLabel(this);
    m_layout->addWidget(m_detail);
    m_buttons = new QHBoxLayout;
    m_buttons->setSpacing(6);
    m_buttons->addItem(new QSpacerItem(20, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_layout->addLayout(m_buttons);
}

DlgMessage::~DlgMessage() = default;

void DlgMessage::setText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    m_message->setText(formatMessage(format, args));
    va_end(args);
}

void DlgMessage::addButton(const char* text, int id, bool isDefault)
{
    auto* button = new BtnMsg(this, id);
    button->setText(QString::fromLatin1(text));
    button->setDefault(isDefault);
    connect(button, &BtnMsg::signalClicked, this, &QDialog::done);
    m_buttons->addWidget(button);
}

int DlgMessage::exec()
{
    // The seam runs the real dialog by calling exec() again: that inner call is the
    // one that shows it.
    if (m_running)
        return QDialog::exec();
    const QScopedValueRollback<bool> running(m_running, true);
    return Dialogs::exec(this);
}
