#include "groupformparts.h"

#include "formwidgets.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace GroupFormParts {

namespace {

using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

QString text(const char* source)
{
    return QCoreApplication::translate("GroupFormParts", source);
}

template<typename Widget>
Widget* makeWithText(QWidget* parent, const char* objectName, const char* source)
{
    auto* widget = makeChild<Widget>(parent, objectName);
    widget->setText(text(source));
    return widget;
}

} // namespace

NameFields makeNameFields(QWidget* page)
{
    NameFields fields;
    fields.TextLabel1 = makeWithText<QLabel>(page, "TextLabel1", QT_TRANSLATE_NOOP("GroupFormParts", "Name:"));
    fields.m_editName = makeChild<QLineEdit>(page, "m_editName");
    fields.TextLabel3 = makeWithText<QLabel>(page, "TextLabel3", QT_TRANSLATE_NOOP("GroupFormParts", "Description:"));
    fields.m_editDesk = makeChild<QLineEdit>(page, "m_editDesk");

    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(11, 11, 11, 11);
    grid->setSpacing(6);
    grid->addWidget(fields.TextLabel1, 0, 0);
    grid->addWidget(fields.m_editName, 0, 1);
    grid->addWidget(fields.TextLabel3, 1, 0);
    grid->addWidget(fields.m_editDesk, 1, 1);
    grid->addItem(verticalSpacer(), 2, 0, 1, 2);
    return fields;
}

MemberPane makeMemberPane(QWidget* page)
{
    MemberPane pane;
    pane.m_listUsers = makeChild<QTreeWidget>(page, "m_listUsers");
    pane.m_listUsers->setRootIsDecorated(false);
    pane.m_listUsers->setHeaderLabels({text(QT_TRANSLATE_NOOP("GroupFormParts", "Name")),
                                       text(QT_TRANSLATE_NOOP("GroupFormParts", "Full Name")),
                                       text(QT_TRANSLATE_NOOP("GroupFormParts", "Description"))});
    pane.m_listUsers->setSelectionMode(QAbstractItemView::ExtendedSelection);
    pane.m_listUsers->setAllColumnsShowFocus(true);
    // A group may have thousands of members.
    pane.m_listUsers->setUniformRowHeights(true);
    pane.m_listUsers->header()->setSortIndicatorShown(true);
    pane.m_listUsers->setSortingEnabled(true);
    pane.m_listUsers->sortByColumn(0, Qt::AscendingOrder);
    pane.m_btnAdd = makeWithText<QPushButton>(page, "m_btnAdd", QT_TRANSLATE_NOOP("GroupFormParts", "Add..."));
    pane.m_btnRemove = makeWithText<QPushButton>(page, "m_btnRemove", QT_TRANSLATE_NOOP("GroupFormParts", "Remove"));

    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(11, 11, 11, 11);
    row->setSpacing(6);
    row->addWidget(pane.m_listUsers);
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(pane.m_btnAdd);
    buttons->addWidget(pane.m_btnRemove);
    buttons->addItem(verticalSpacer());
    row->addLayout(buttons);
    return pane;
}

RightsBox makeRightsBox(QWidget* page)
{
    RightsBox rights;
    rights.ButtonGroup1 = makeChild<QGroupBox>(page, "ButtonGroup1");
    rights.ButtonGroup1->setTitle(text(QT_TRANSLATE_NOOP("GroupFormParts", "User Rights")));
    rights.ButtonGroup1Buttons = new QButtonGroup(rights.ButtonGroup1);
    rights.m_rbtnNoAcc = makeWithText<QRadioButton>(rights.ButtonGroup1, "m_rbtnNoAcc",
                                                    QT_TRANSLATE_NOOP("GroupFormParts", "&No access to administration"));
    rights.m_rbtnNoAcc->setChecked(true);
    rights.m_rbtnViewLogs = makeWithText<QRadioButton>(rights.ButtonGroup1, "m_rbtnViewLogs",
                                                       QT_TRANSLATE_NOOP("GroupFormParts", "&Read only access"));
    rights.m_rbtnFullAcc = makeWithText<QRadioButton>(rights.ButtonGroup1, "m_rbtnFullAcc",
                                                      QT_TRANSLATE_NOOP("GroupFormParts", "Read/&write access"));
    auto* buttons = new QVBoxLayout(rights.ButtonGroup1);
    buttons->setSpacing(6);
    for (QRadioButton* button : {rights.m_rbtnNoAcc, rights.m_rbtnViewLogs, rights.m_rbtnFullAcc}) {
        rights.ButtonGroup1Buttons->addButton(button);
        buttons->addWidget(button);
    }

    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(11, 11, 11, 11);
    column->addWidget(rights.ButtonGroup1);
    column->addItem(verticalSpacer());
    return rights;
}

} // namespace GroupFormParts
