#include "tdlgipgroup.h"

#include "formwidgets.h"
#include "notimplemented.h"
#include "setdialogform.h"

#include <QGridLayout>
#include <QLabel>

using FormWidgets::makeChild;

TDlgIPGroup::TDlgIPGroup(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgIPGroup"));
    setModal(modal);
    createWidgets();
    setTexts();
    resize(440, 360);
}

TDlgIPGroup::~TDlgIPGroup()
{
    FormWidgets::quietenBoxes(this);
}

QList<QWidget*> TDlgIPGroup::entryFields() const
{
    return {m_editValue, m_editDesc};
}

void TDlgIPGroup::createWidgets()
{
    const SetDialogForm::SetMembers<TDlgIPGroup> group{
        &TDlgIPGroup::m_labelGroup, &TDlgIPGroup::m_comboGroup, &TDlgIPGroup::m_btnRenameGroup,
        &TDlgIPGroup::m_btnRemoveGroup};
    const SetDialogForm::Parts parts = SetDialogForm::makeParts(this, group, QStringLiteral("Group"), 2);

    m_labelValue = makeChild<QLabel>(this, "m_labelValue");
    m_editValue = makeChild<QLineEdit>(this, "m_editValue");
    m_labelDesc = makeChild<QLabel>(this, "m_labelDesc");
    m_editDesc = makeChild<QLineEdit>(this, "m_editDesc");
    auto* fields = new QGridLayout;
    fields->addWidget(m_labelValue, 0, 0);
    fields->addWidget(m_editValue, 0, 1);
    fields->addWidget(m_labelDesc, 1, 0);
    fields->addWidget(m_editDesc, 1, 1);

    SetDialogForm::finishParts(this, parts, fields, &TDlgIPGroup::slotGroupChanged,
                               &TDlgIPGroup::slotRenameGroup, &TDlgIPGroup::slotRemoveGroup);
    connect(m_editValue, &QLineEdit::textChanged, this, &TDlgIPGroup::slotFieldsChanged);
    connect(m_editDesc, &QLineEdit::textChanged, this, &TDlgIPGroup::slotFieldsChanged);
}

void TDlgIPGroup::setTexts()
{
    setWindowTitle(tr("Address Group"));
    m_labelGroup->setText(tr("Group:"));
    m_btnRemoveGroup->setText(tr("Remove &Group"));
    m_list->setHeaderLabels({tr("Value"), tr("Description")});
    m_labelValue->setText(tr("Value:"));
    m_labelDesc->setText(tr("Description:"));
}

void TDlgIPGroup::slotGroupChanged(const QString&)
{
    notImplemented("TDlgIPGroup::slotGroupChanged(const QString&)");
}

void TDlgIPGroup::slotSelected()
{
    notImplemented("TDlgIPGroup::slotSelected()");
}

void TDlgIPGroup::slotFieldsChanged()
{
    notImplemented("TDlgIPGroup::slotFieldsChanged()");
}

void TDlgIPGroup::slotAdd()
{
    notImplemented("TDlgIPGroup::slotAdd()");
}

void TDlgIPGroup::slotEdit()
{
    notImplemented("TDlgIPGroup::slotEdit()");
}

void TDlgIPGroup::slotRemove()
{
    notImplemented("TDlgIPGroup::slotRemove()");
}

void TDlgIPGroup::slotRenameGroup()
{
    notImplemented("TDlgIPGroup::slotRenameGroup()");
}

void TDlgIPGroup::slotRemoveGroup()
{
    notImplemented("TDlgIPGroup::slotRemoveGroup()");
}

void TDlgIPGroup::slotOK()
{
    notImplemented("TDlgIPGroup::slotOK()");
}
