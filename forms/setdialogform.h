#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

class QLabel;
class QLayout;

// What the forms of the two definition dialogs build alike: the box naming the set
// (address group or time range) with its rename and remove buttons, the list of the set's
// entries, the buttons that add, change and remove an entry, and OK and Cancel. Each form
// adds the fields of one entry.
namespace SetDialogForm {

struct Parts
{
    QLabel* setLabel;
    QComboBox* sets; // editable
    QPushButton* renameSet;
    QPushButton* removeSet;
    QTreeWidget* list;
    QPushButton* add;
    QPushButton* edit;
    QPushButton* remove;
    QPushButton* ok; // the default button
    QPushButton* cancel;
};

// The parts, children of dialog, named after the set's word: "m_comboGroup",
// "m_btnRenameGroup", "m_btnRemoveGroup" for "Group"; the rest "m_list", "m_btnAdd",
// "m_btnEdit", "m_btnRemove", "m_btnOK", "m_btnCancel".
Parts makeParts(QDialog* dialog, const QString& setWord, int listColumns);
// The set's row, the list, the entry's fields, the entry buttons, a line, OK and Cancel.
void layOut(QDialog* dialog, const Parts& parts, QLayout* fields);
// The texts of the buttons both dialogs have.
void setButtonTexts(const Parts& parts);
// Tab goes through the set's box and its buttons, the list, the entry's fields (in the order
// given), the entry buttons, then OK and Cancel.
void orderTabs(const Parts& parts, const QList<QWidget*>& entryFields);

// The form's members of the set's row, named after the set in each form.
template<class Form>
struct SetMembers
{
    QLabel* Form::*label;
    QComboBox* Form::*sets;
    QPushButton* Form::*rename;
    QPushButton* Form::*remove;
};

// The parts made and kept in the form's members: the set's row in those named, the rest in
// m_list, m_btnAdd, m_btnEdit, m_btnRemove, m_btnOK and m_btnCancel.
template<class Form>
Parts makeParts(Form* form, const SetMembers<Form>& members, const QString& setWord,
                int listColumns)
{
    const Parts parts = makeParts(static_cast<QDialog*>(form), setWord, listColumns);
    form->*members.label = parts.setLabel;
    form->*members.sets = parts.sets;
    form->*members.rename = parts.renameSet;
    form->*members.remove = parts.removeSet;
    form->m_list = parts.list;
    form->m_btnAdd = parts.add;
    form->m_btnEdit = parts.edit;
    form->m_btnRemove = parts.remove;
    form->m_btnOK = parts.ok;
    form->m_btnCancel = parts.cancel;
    return parts;
}

// Cancel rejects; every other part goes to the form's slot of the same role. The slots
// for the set's box, rename and removal are named after the set in each form.
template<class Form>
void connectParts(Form* form, const Parts& parts, void (Form::*setChanged)(const QString&),
                  void (Form::*renameSet)(), void (Form::*removeSet)())
{
    QObject::connect(parts.cancel, &QPushButton::clicked, form, &Form::reject);
    QObject::connect(parts.ok, &QPushButton::clicked, form, &Form::slotOK);
    QObject::connect(parts.sets, &QComboBox::currentTextChanged, form, setChanged);
    QObject::connect(parts.list, &QTreeWidget::itemSelectionChanged, form, &Form::slotSelected);
    QObject::connect(parts.add, &QPushButton::clicked, form, &Form::slotAdd);
    QObject::connect(parts.edit, &QPushButton::clicked, form, &Form::slotEdit);
    QObject::connect(parts.remove, &QPushButton::clicked, form, &Form::slotRemove);
    QObject::connect(parts.renameSet, &QPushButton::clicked, form, renameSet);
    QObject::connect(parts.removeSet, &QPushButton::clicked, form, removeSet);
}

// The parts laid out around the entry's fields (layOut), with their texts, their tab order
// (the form's entryFields() among them) and their connections.
template<class Form>
void finishParts(Form* form, const Parts& parts, QLayout* fields,
                 void (Form::*setChanged)(const QString&), void (Form::*renameSet)(),
                 void (Form::*removeSet)())
{
    layOut(form, parts, fields);
    setButtonTexts(parts);
    orderTabs(parts, form->entryFields());
    connectParts(form, parts, setChanged, renameSet, removeSet);
}

} // namespace SetDialogForm
