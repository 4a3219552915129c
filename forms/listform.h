#pragma once

#include "formwidgets.h"

#include <QHBoxLayout>
#include <QObject>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

// What the list pages' forms build alike.
namespace ListForm {

// The page's list: no columns of its own (the page's column model gives them), several
// rows selectable, sorted by the first column until a header is clicked.
QTreeWidget* makeList(QWidget* form, bool tree);
// The list of a status page: one row chosen at a time, out of a list that may hold a
// hundred thousand: every row has the icon's height, and a column of automatic width is
// fitted to its first few hundred rows, not to every row.
QTreeWidget* makeStatusList(QWidget* form);
// A button of the row under the list.
QPushButton* makeButton(QWidget* form, const char* objectName);

// A form that only shows its list: m_list fills the form.
template<class Form>
void buildShownList(Form* form, const QString& caption)
{
    form->m_list = makeList(form, false);
    auto* layout = new QVBoxLayout(form);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(6);
    layout->addWidget(form->m_list);
    form->setWindowTitle(caption);
    form->resize(484, 242);
}

// A form whose list is edited through m_btnAdd, m_btnEdit and m_btnRemove below it: a
// list of named sets (headings with their entries) as a tree, or a flat list. A double
// click on a row is Edit; Return on the list is taken by the form's event filter (see
// isEditKey).
template<class Form>
void buildEditedList(Form* form, const QString& caption, bool tree = true)
{
    form->m_list = makeList(form, tree);
    form->m_btnAdd = makeButton(form, "m_btnAdd");
    form->m_btnEdit = makeButton(form, "m_btnEdit");
    form->m_btnRemove = makeButton(form, "m_btnRemove");

    auto* layout = new QVBoxLayout(form);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(6);
    layout->addWidget(form->m_list);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(form->m_btnAdd);
    buttons->addWidget(form->m_btnEdit);
    buttons->addWidget(form->m_btnRemove);
    buttons->addItem(FormWidgets::horizontalSpacer());
    layout->addLayout(buttons);

    form->setWindowTitle(caption);
    form->m_btnAdd->setText(Form::tr("&Add..."));
    form->m_btnEdit->setText(Form::tr("&Edit..."));
    form->m_btnRemove->setText(Form::tr("&Remove"));

    QObject::connect(form->m_btnAdd, &QPushButton::clicked, form, &Form::slotAdd);
    QObject::connect(form->m_btnEdit, &QPushButton::clicked, form, &Form::slotEdit);
    QObject::connect(form->m_btnRemove, &QPushButton::clicked, form, &Form::slotRemove);
    QObject::connect(form->m_list, &QTreeWidget::itemSelectionChanged, form,
                     &Form::slotSelectionChanged);
    // Not itemActivated: some styles activate on a single click, which must only choose a
    // row here.
    QObject::connect(form->m_list, &QTreeWidget::itemDoubleClicked, form, &Form::slotEdit);
    form->m_list->installEventFilter(form);
    QWidget::setTabOrder(form->m_list, form->m_btnAdd);
    QWidget::setTabOrder(form->m_btnAdd, form->m_btnEdit);
    QWidget::setTabOrder(form->m_btnEdit, form->m_btnRemove);
    form->resize(484, 242);
}

// Return on the list: the form's event filter answers it with Edit, since an item view
// passes the key on after activating.
inline bool isEditKey(const QObject* list, const QObject* watched, const QEvent* event)
{
    return watched == list && FormWidgets::isReturnPress(event);
}

} // namespace ListForm
