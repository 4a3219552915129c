#include "listform.h"

#include "formwidgets.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

namespace ListForm {

QTreeWidget* makeList(QWidget* form, bool tree)
{
    auto* list = FormWidgets::makeChild<QTreeWidget>(form, "m_list");
    list->setColumnCount(0);
    list->setRootIsDecorated(tree);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setAllColumnsShowFocus(true);
    list->header()->setSortIndicatorShown(true);
    list->setSortingEnabled(true);
    list->sortByColumn(0, Qt::AscendingOrder);
    return list;
}

QTreeWidget* makeStatusList(QWidget* form)
{
    QTreeWidget* list = makeList(form, false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformRowHeights(true);
    list->header()->setResizeContentsPrecision(250);
    return list;
}

QPushButton* makeButton(QWidget* form, const char* objectName)
{
    auto* button = FormWidgets::makeChild<QPushButton>(form, objectName);
    button->setMinimumSize(80, 25);
    return button;
}

} // namespace ListForm
