#include "tdlgipgroup.h"

#include "formwidgets.h"
#include "notimplemented.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;

TDlgIPGroup::TDlgIPGroup(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgIPGroup"));
    setModal(modal);
    createWidgets();
    createLayout();
    setTexts();
    connectSignals();
    resize(440, 360);
}

TDlgIPGroup::~TDlgIPGroup() = default;

void TDlgIPGroup::createWidgets()
{
    m_labelGroup = makeChild<QLabel>(this, "m_labelGroup");
    m_comboGroup = makeChild<QComboBox>(this, "m_comboGroup");
    m_comboGroup->setEditable(true);
    m_comboGroup->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_btnRenameGroup = makeChild<QPushButton>(this, "m_btnRenameGroup");
    m_btnRemoveGroup = makeChild<QPushButton>(this, "m_btnRemoveGroup");
    m_list = makeChild<QTreeWidget>(this, "m_list");
    m_list->setColumnCount(2);
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_labelValue = makeChild<QLabel>(this, "m_labelValue");
    m_editValue = makeChild<QLineEdit>(this, "m_editValue");
    m_labelDesc = makeChild<QLabel>(this, "m_labelDesc");
    m_editDesc = makeChild<QLineEdit>(this, "m_editDesc");
    m_btnAdd = makeChild<QPushButton>(this, "m_btnAdd");
    m_btnEdit = makeChild<QPushButton>(this, "m_btnEdit");
    m_btnRemove = makeChild<QPushButton>(this, "m_btnRemove");
    m_line = makeChild<QFrame>(this, "m_line");
    m_line->setFrameShape(QFrame::HLine);
    m_line->setFrameShadow(QFrame::Sunken);
    m_btnOK = makeChild<QPushButton>(this, "m_btnOK");
    m_btnOK->setDefault(true);
    m_btnCancel = makeChild<QPushButton>(this, "m_btnCancel");
}

void TDlgIPGroup::createLayout()
{
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(11, 11, 11, 11);
    top->setSpacing(6);

    auto* groupRow = new QHBoxLayout;
    groupRow->addWidget(m_labelGroup);
    groupRow->addWidget(m_comboGroup);
    groupRow->addWidget(m_btnRenameGroup);
    groupRow->addWidget(m_btnRemoveGroup);
    top->addLayout(groupRow);
    top->addWidget(m_list);

    auto* fields = new QGridLayout;
    fields->addWidget(m_labelValue, 0, 0);
    fields->addWidget(m_editValue, 0, 1);
    fields->addWidget(m_labelDesc, 1, 0);
    fields->addWidget(m_editDesc, 1, 1);
    top->addLayout(fields);

    auto* entryButtons = new QHBoxLayout;
    entryButtons->addItem(horizontalSpacer());
    entryButtons->addWidget(m_btnAdd);
    entryButtons->addWidget(m_btnEdit);
    entryButtons->addWidget(m_btnRemove);
    top->addLayout(entryButtons);

    top->addWidget(m_line);
    auto* closeButtons = new QHBoxLayout;
    closeButtons->addItem(horizontalSpacer());
    closeButtons->addWidget(m_btnOK);
    closeButtons->addWidget(m_btnCancel);
    top->addLayout(closeButtons);
}

void TDlgIPGroup::setTexts()
{
    setWindowTitle(tr("Address Group"));
    m_labelGroup->setText(tr("Group:"));
    m_btnRenameGroup->setText(tr("Re&name..."));
    m_btnRemoveGroup->setText(tr("Remove &Group"));
    m_list->setHeaderLabels({tr("Value"), tr("Description")});
    m_labelValue->setText(tr("Value:"));
    m_labelDesc->setText(tr("Description:"));
    m_btnAdd->setText(tr("&Add"));
    m_btnEdit->setText(tr("&Edit"));
    m_btnRemove->setText(tr("&Remove"));
    m_btnOK->setText(tr("OK"));
    m_btnCancel->setText(tr("Cancel"));
}

void TDlgIPGroup::connectSignals()
{
    connect(m_btnCancel, &QPushButton::clicked, this, &TDlgIPGroup::reject);
    connect(m_btnOK, &QPushButton::clicked, this, &TDlgIPGroup::slotOK);
    connect(m_comboGroup, &QComboBox::currentTextChanged, this, &TDlgIPGroup::slotGroupChanged);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &TDlgIPGroup::slotSelected);
    connect(m_editValue, &QLineEdit::textChanged, this, &TDlgIPGroup::slotFieldsChanged);
    connect(m_editDesc, &QLineEdit::textChanged, this, &TDlgIPGroup::slotFieldsChanged);
    connect(m_btnAdd, &QPushButton::clicked, this, &TDlgIPGroup::slotAdd);
    connect(m_btnEdit, &QPushButton::clicked, this, &TDlgIPGroup::slotEdit);
    connect(m_btnRemove, &QPushButton::clicked, this, &TDlgIPGroup::slotRemove);
    connect(m_btnRenameGroup, &QPushButton::clicked, this, &TDlgIPGroup::slotRenameGroup);
    connect(m_btnRemoveGroup, &QPushButton::clicked, this, &TDlgIPGroup::slotRemoveGroup);
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
