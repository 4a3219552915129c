#include "twndtimeint.h"

#include "listform.h"
#include "notimplemented.h"

TWndTimeInt::TWndTimeInt(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndTimeInt"));
    ListForm::buildEditedList(this, tr("Time Ranges"));
}

TWndTimeInt::~TWndTimeInt() = default;

bool TWndTimeInt::eventFilter(QObject* watched, QEvent* event)
{
    if (ListForm::answerEditKey(m_list, m_btnEdit, watched, event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TWndTimeInt::slotAdd()
{
    notImplemented("TWndTimeInt::slotAdd()");
}

void TWndTimeInt::slotCols()
{
    notImplemented("TWndTimeInt::slotCols()");
}

void TWndTimeInt::slotEdit()
{
    notImplemented("TWndTimeInt::slotEdit()");
}

void TWndTimeInt::slotRemove()
{
    notImplemented("TWndTimeInt::slotRemove()");
}

void TWndTimeInt::slotSelectionChanged()
{
    notImplemented("TWndTimeInt::slotSelectionChanged()");
}
