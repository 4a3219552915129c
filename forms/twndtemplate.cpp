#include "twndtemplate.h"

#include "listform.h"
#include "notimplemented.h"

TWndTemplate::TWndTemplate(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndTemplate"));
    ListForm::buildEditedList(this, tr("User Templates"), false);
}

TWndTemplate::~TWndTemplate() = default;

bool TWndTemplate::eventFilter(QObject* watched, QEvent* event)
{
    if (ListForm::answerEditKey(m_list, m_btnEdit, watched, event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TWndTemplate::slotAdd()
{
    notImplemented("TWndTemplate::slotAdd()");
}

void TWndTemplate::slotCols()
{
    notImplemented("TWndTemplate::slotCols()");
}

void TWndTemplate::slotDomainChanged(const QString&)
{
    notImplemented("TWndTemplate::slotDomainChanged(const QString&)");
}

void TWndTemplate::slotEdit()
{
    notImplemented("TWndTemplate::slotEdit()");
}

void TWndTemplate::slotImport()
{
    notImplemented("TWndTemplate::slotImport()");
}

void TWndTemplate::slotRemove()
{
    notImplemented("TWndTemplate::slotRemove()");
}

void TWndTemplate::slotSelectionChanged()
{
    notImplemented("TWndTemplate::slotSelectionChanged()");
}
