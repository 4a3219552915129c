#include "twnduser.h"

#include "listform.h"
#include "notimplemented.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TWndUser::TWndUser(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndUser"));
    const ListForm::DomainListLayouts layouts = ListForm::buildDomainList(this, tr("Users"));
    TWndUserLayout = layouts.form;
    TWndUserLayout->setObjectName(QStringLiteral("TWndUserLayout"));
    Layout1 = layouts.domainRow;
    Layout1->setObjectName(QStringLiteral("Layout1"));
    Layout2 = layouts.buttonRow;
    Layout2->setObjectName(QStringLiteral("Layout2"));
    // A domain may hold tens of thousands of users: a column of automatic width is fitted
    // to its first few hundred rows, not to every row.
    m_list->header()->setResizeContentsPrecision(250);

    // At the far right of the buttons' row.
    m_btnImport = ListForm::makeButton(this, "m_btnImport");
    m_btnImport->setText(tr("&Import..."));
    Layout2->addWidget(m_btnImport);
    connect(m_btnImport, &QPushButton::clicked, this, &TWndUser::slotImport);
    resize(484, 242);
}

TWndUser::~TWndUser() = default;

bool TWndUser::eventFilter(QObject* watched, QEvent* event)
{
    if (ListForm::answerEditKey(m_list, m_btnEdit, watched, event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TWndUser::slotAdd()
{
    notImplemented("TWndUser::slotAdd()");
}

void TWndUser::slotCols()
{
    notImplemented("TWndUser::slotCols()");
}

void TWndUser::slotDomainChanged(const QString&)
{
    notImplemented("TWndUser::slotDomainChanged(const QString&)");
}

void TWndUser::slotEdit()
{
    notImplemented("TWndUser::slotEdit()");
}

void TWndUser::slotImport()
{
    notImplemented("TWndUser::slotImport()");
}

void TWndUser::slotRemove()
{
    notImplemented("TWndUser::slotRemove()");
}

void TWndUser::slotSelectionChanged()
{
    notImplemented("TWndUser::slotSelectionChanged()");
}
