#include "twndsched.h"

#include "listform.h"
#include "notimplemented.h"

TWndSched::TWndSched(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndSched"));
    ListForm::buildEditedList(this, tr("Scheduling"), false);
    // A frame of its own around the list, unlike the other pages.
    m_list->setContentsMargins(0, 0, 0, 0);
    m_list->setMidLineWidth(10);
    resize(457, 254);
}

TWndSched::~TWndSched() = default;

bool TWndSched::eventFilter(QObject* watched, QEvent* event)
{
    if (ListForm::answerEditKey(m_list, m_btnEdit, watched, event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TWndSched::slotAdd()
{
    notImplemented("TWndSched::slotAdd()");
}

void TWndSched::slotCols()
{
    notImplemented("TWndSched::slotCols()");
}

void TWndSched::slotEdit()
{
    notImplemented("TWndSched::slotEdit()");
}

void TWndSched::slotRemove()
{
    notImplemented("TWndSched::slotRemove()");
}

void TWndSched::slotSelectionChanged()
{
    notImplemented("TWndSched::slotSelectionChanged()");
}
