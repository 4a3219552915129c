#include "twndips.h"

#include "listform.h"
#include "notimplemented.h"

TWndIPs::TWndIPs(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndIPs"));
    ListForm::buildEditedList(this, tr("IP Address Groups"));
}

TWndIPs::~TWndIPs() = default;

bool TWndIPs::eventFilter(QObject* watched, QEvent* event)
{
    if (ListForm::answerEditKey(m_list, m_btnEdit, watched, event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TWndIPs::slotAdd()
{
    notImplemented("TWndIPs::slotAdd()");
}

void TWndIPs::slotCols()
{
    notImplemented("TWndIPs::slotCols()");
}

void TWndIPs::slotEdit()
{
    notImplemented("TWndIPs::slotEdit()");
}

void TWndIPs::slotRemove()
{
    notImplemented("TWndIPs::slotRemove()");
}

void TWndIPs::slotSelectionChanged()
{
    notImplemented("TWndIPs::slotSelectionChanged()");
}
