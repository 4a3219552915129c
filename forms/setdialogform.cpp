#include "setdialogform.h"

#include "choicebox.h"
#include "formwidgets.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

namespace SetDialogForm {

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;

Parts makeParts(QDialog* dialog, const QString& setWord, int listColumns)
{
    auto named = [&setWord](const char* prefix) { return (prefix + setWord).toLatin1(); };
    Parts parts;
    parts.setLabel = makeChild<QLabel>(dialog, named("m_label").constData());
    auto* sets = makeChild<ChoiceBox>(dialog, named("m_combo").constData());
    sets->makeEditable(ChoiceBox::Entries::Names);
    parts.sets = sets;
    parts.sets->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    parts.renameSet = makeChild<QPushButton>(dialog, named("m_btnRename").constData());
    parts.removeSet = makeChild<QPushButton>(dialog, named("m_btnRemove").constData());
    parts.list = makeChild<QTreeWidget>(dialog, "m_list");
    parts.list->setColumnCount(listColumns);
    parts.list->setRootIsDecorated(false);
    parts.list->setAllColumnsShowFocus(true);
    // Addresses and descriptions are short; each column is as wide as its longest entry.
    parts.list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    parts.add = makeChild<QPushButton>(dialog, "m_btnAdd");
    parts.edit = makeChild<QPushButton>(dialog, "m_btnEdit");
    parts.remove = makeChild<QPushButton>(dialog, "m_btnRemove");
    parts.ok = makeChild<QPushButton>(dialog, "m_btnOK");
    parts.ok->setDefault(true);
    parts.cancel = makeChild<QPushButton>(dialog, "m_btnCancel");
    return parts;
}

void layOut(QDialog* dialog, const Parts& parts, QLayout* fields)
{
    auto* top = new QVBoxLayout(dialog);
    top->setContentsMargins(11, 11, 11, 11);
    top->setSpacing(6);

    auto* setRow = new QHBoxLayout;
    setRow->addWidget(parts.setLabel);
    setRow->addWidget(parts.sets);
    setRow->addWidget(parts.renameSet);
    setRow->addWidget(parts.removeSet);
    top->addLayout(setRow);
    top->addWidget(parts.list);
    top->addLayout(fields);

    auto* entryButtons = new QHBoxLayout;
    entryButtons->addItem(horizontalSpacer());
    entryButtons->addWidget(parts.add);
    entryButtons->addWidget(parts.edit);
    entryButtons->addWidget(parts.remove);
    top->addLayout(entryButtons);

    auto* line = makeChild<QFrame>(dialog, "m_line");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    top->addWidget(line);
    auto* closeButtons = new QHBoxLayout;
    closeButtons->addItem(horizontalSpacer());
    closeButtons->addWidget(parts.ok);
    closeButtons->addWidget(parts.cancel);
    top->addLayout(closeButtons);
}

void setButtonTexts(const Parts& parts)
{
    parts.renameSet->setText(QDialog::tr("Re&name..."));
    parts.add->setText(QDialog::tr("&Add"));
    parts.edit->setText(QDialog::tr("&Edit"));
    parts.remove->setText(QDialog::tr("&Remove"));
    parts.ok->setText(QDialog::tr("OK"));
    parts.cancel->setText(QDialog::tr("Cancel"));
}

void orderTabs(const Parts& parts, const QList<QWidget*>& entryFields)
{
    FormWidgets::setTabOrder(QList<QWidget*>{parts.sets, parts.renameSet, parts.removeSet, parts.list}
                             + entryFields
                             + QList<QWidget*>{parts.add, parts.edit, parts.remove, parts.ok, parts.cancel});
}

} // namespace SetDialogForm
