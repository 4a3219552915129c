#include "twndetrn.h"

#include "listform.h"
#include "notimplemented.h"

TWndEtrn::TWndEtrn(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndEtrn"));
    ListForm::buildEditedList(this, tr("ETRN Download"), false);
    resize(441, 283);
}

TWndEtrn::~TWndEtrn() = default;

bool TWndEtrn::eventFilter(QObject* watched, QEvent* event)
{
    if (ListForm::answerEditKey(m_list, m_btnEdit, watched, event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TWndEtrn::slotAdd()
{
    notImplemented("TWndEtrn::slotAdd()");
}

void TWndEtrn::slotCols()
{
    notImplemented("TWndEtrn::slotCols()");
}

void TWndEtrn::slotEdit()
{
    notImplemented("TWndEtrn::slotEdit()");
}

void TWndEtrn::slotRemove()
{
    notImplemented("TWndEtrn::slotRemove()");
}

void TWndEtrn::slotSelectionChanged()
{
    notImplemented("TWndEtrn::slotSelectionChanged()");
}
