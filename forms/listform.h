#pragma once

#include "choicebox.h"
#include "formwidgets.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
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

// The form's outer column: margin 11, spacing 6.
inline QVBoxLayout* makeFormColumn(QWidget* form)
{
    auto* layout = new QVBoxLayout(form);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(6);
    return layout;
}

// A form that only shows its list: m_list fills the form.
template<class Form>
void buildShownList(Form* form, const QString& caption)
{
    form->m_list = makeList(form, false);
    makeFormColumn(form)->addWidget(form->m_list);
    form->setWindowTitle(caption);
    form->resize(484, 242);
}

// The form's list m_list, edited through m_btnAdd ("&Add..."), m_btnEdit ("&Edit...") and
// m_btnRemove ("&Remove"), all children of parent (the form or one of its tabs), with the
// Add, Edit and Remove slots and the selection slot connected. A double click on a row is
// Edit; Return on the list is taken by the form's event filter (see answerEditKey). Tab goes
// from the list to the buttons. Returns the buttons' row (the three, then a stretch), for
// the form to place under the list.
template<class Form>
QHBoxLayout* makeEditedList(Form* form, QWidget* parent, bool tree)
{
    form->m_list = makeList(parent, tree);
    form->m_btnAdd = makeButton(parent, "m_btnAdd");
    form->m_btnEdit = makeButton(parent, "m_btnEdit");
    form->m_btnRemove = makeButton(parent, "m_btnRemove");

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(form->m_btnAdd);
    buttons->addWidget(form->m_btnEdit);
    buttons->addWidget(form->m_btnRemove);
    buttons->addItem(FormWidgets::horizontalSpacer());

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
    FormWidgets::setTabOrder({form->m_list, form->m_btnAdd, form->m_btnEdit, form->m_btnRemove});
    return buttons;
}

// A form whose list is edited through m_btnAdd, m_btnEdit and m_btnRemove below it
// (makeEditedList): a list of named sets (headings with their entries) as a tree, or a
// flat list.
template<class Form>
void buildEditedList(Form* form, const QString& caption, bool tree = true)
{
    QHBoxLayout* buttons = makeEditedList(form, form, tree);
    QVBoxLayout* layout = makeFormColumn(form);
    layout->addWidget(form->m_list);
    layout->addLayout(buttons);
    form->setWindowTitle(caption);
    form->resize(484, 242);
}

// The layouts of a form that lists one domain's entries, for the form to name and keep.
struct DomainListLayouts
{
    QVBoxLayout* form;
    QHBoxLayout* domainRow;
    QHBoxLayout* buttonRow;
};

// A form that lists one domain's entries: the label TextLabel1 "Domain:" and the domain
// choice box m_comboDomain (at least 150 wide) above the list, which is edited as
// makeEditedList makes it; every row of the list has the same height. Choosing a domain
// goes to the form's slotDomainChanged; Tab goes from the box to the list.
template<class Form>
DomainListLayouts buildDomainList(Form* form, const QString& caption)
{
    form->TextLabel1 = FormWidgets::makeChild<QLabel>(form, "TextLabel1");
    form->m_comboDomain = FormWidgets::makeChild<ChoiceBox>(form, "m_comboDomain");
    form->m_comboDomain->setEditable(false);
    form->m_comboDomain->setMinimumWidth(150);
    form->m_comboDomain->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    QHBoxLayout* buttonRow = makeEditedList(form, form, false);
    form->m_list->setUniformRowHeights(true);

    DomainListLayouts layouts{makeFormColumn(form), new QHBoxLayout, buttonRow};
    layouts.domainRow->setSpacing(6);
    layouts.domainRow->addWidget(form->TextLabel1);
    layouts.domainRow->addWidget(form->m_comboDomain);
    layouts.domainRow->addItem(FormWidgets::horizontalSpacer());
    layouts.form->addLayout(layouts.domainRow);
    layouts.form->addWidget(form->m_list);
    layouts.form->addLayout(layouts.buttonRow);

    form->setWindowTitle(caption);
    form->TextLabel1->setText(Form::tr("Domain:"));
    QObject::connect(form->m_comboDomain, &QComboBox::textActivated, form,
                     &Form::slotDomainChanged);
    QWidget::setTabOrder(form->m_comboDomain, form->m_list);
    return layouts;
}

// Return on the list: the form's event filter answers it with a click of the list's Edit
// button, since an item view passes the key on after activating. Return then opens exactly
// what the button would, and nothing while the button is grey (rows of several sets, or
// several rows, selected).
inline bool answerEditKey(const QObject* list, QAbstractButton* edit, const QObject* watched,
                          const QEvent* event)
{
    if (watched != list || !FormWidgets::isReturnPress(event))
        return false;
    edit->click();
    return true;
}

} // namespace ListForm
