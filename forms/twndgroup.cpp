#include "twndgroup.h"

#include "listform.h"
#include "notimplemented.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TWndGroup::TWndGroup(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndGroup"));
    const ListForm::DomainListLayouts layouts = ListForm::buildDomainList(this, tr("Groups"));
    TWndGroupLayout = layouts.form;
    TWndGroupLayout->setObjectName(QStringLiteral("TWndGroupLayout"));
    Layout2 = layouts.domainRow;
    Layout2->setObjectName(QStringLiteral("Layout2"));
    Layout58 = layouts.buttonRow;
    Layout58->setObjectName(QStringLiteral("Layout58"));
    resize(465, 242);
}

TWndGroup::~TWndGroup() = default;

bool TWndGroup::eventFilter(QObject* watched, QEvent* event)
{
    if (ListForm::answerEditKey(m_list, m_btnEdit, watched, event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TWndGroup::slotAdd()
{
    notImplemented("TWndGroup::slotAdd()");
}

void TWndGroup::slotCols()
{
    notImplemented("TWndGroup::slotCols()");
}

void TWndGroup::slotDomainChanged(const QString&)
{
    notImplemented("TWndGroup::slotDomainChanged(const QString&)");
}

void TWndGroup::slotEdit()
{
    notImplemented("TWndGroup::slotEdit()");
}

void TWndGroup::slotRemove()
{
    notImplemented("TWndGroup::slotRemove()");
}

void TWndGroup::slotSelectionChanged()
{
    notImplemented("TWndGroup::slotSelectionChanged()");
}
