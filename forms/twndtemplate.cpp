#include "twndtemplate.h"

#include "formwidgets.h"
#include "notimplemented.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;

QPushButton* makeButton(QWidget* parent, const char* objectName, const QString& text)
{
    auto* button = makeChild<QPushButton>(parent, objectName);
    button->setMinimumSize(80, 25);
    button->setText(text);
    return button;
}

} // namespace

TWndTemplate::TWndTemplate(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndTemplate"));
    setWindowTitle(tr("User Templates"));
    createWidgets();
    createLayout();
    connectSignals();
    setTabOrder(m_list, m_btnAdd);
    setTabOrder(m_btnAdd, m_btnEdit);
    setTabOrder(m_btnEdit, m_btnRemove);
}

TWndTemplate::~TWndTemplate() = default;

void TWndTemplate::createWidgets()
{
    m_list = makeChild<QTreeWidget>(this, "m_list");
    m_list->setColumnCount(0);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setSortIndicatorShown(true);
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(0, Qt::AscendingOrder);
    m_btnAdd = makeButton(this, "m_btnAdd", tr("&Add..."));
    m_btnEdit = makeButton(this, "m_btnEdit", tr("&Edit..."));
    m_btnRemove = makeButton(this, "m_btnRemove", tr("&Remove"));
}

void TWndTemplate::createLayout()
{
    TWndTemplateLayout = new QVBoxLayout(this);
    TWndTemplateLayout->setObjectName(QStringLiteral("TWndTemplateLayout"));
    TWndTemplateLayout->setContentsMargins(11, 11, 11, 11);
    TWndTemplateLayout->setSpacing(6);
    TWndTemplateLayout->addWidget(m_list);

    Layout1 = new QHBoxLayout;
    Layout1->setObjectName(QStringLiteral("Layout1"));
    Layout1->setSpacing(6);
    Layout1->addWidget(m_btnAdd);
    Layout1->addWidget(m_btnEdit);
    Layout1->addWidget(m_btnRemove);
    Layout1->addItem(horizontalSpacer());
    TWndTemplateLayout->addLayout(Layout1);
}

void TWndTemplate::connectSignals()
{
    connect(m_btnEdit, &QPushButton::clicked, this, &TWndTemplate::slotEdit);
    connect(m_btnRemove, &QPushButton::clicked, this, &TWndTemplate::slotRemove);
    connect(m_btnAdd, &QPushButton::clicked, this, &TWndTemplate::slotAdd);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this,
            &TWndTemplate::slotSelectionChanged);
    // Not itemActivated: some styles activate on a single click, which must only choose a
    // row here. Return is taken by eventFilter().
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &TWndTemplate::slotEdit);
    m_list->installEventFilter(this);
}

bool TWndTemplate::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && FormWidgets::isReturnPress(event)) {
        slotEdit();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TWndTemplate::slotAdd()
{
    notImplemented("TWndTemplate::slotAdd()");
}

void TWndTemplate::slotCols()
{
    notImplemented("TWndTemplate::slotCols()");
}

void TWndTemplate::slotDomainChanged(const QString&)
{
    notImplemented("TWndTemplate::slotDomainChanged(const QString&)");
}

void TWndTemplate::slotEdit()
{
    notImplemented("TWndTemplate::slotEdit()");
}

void TWndTemplate::slotImport()
{
    notImplemented("TWndTemplate::slotImport()");
}

void TWndTemplate::slotRemove()
{
    notImplemented("TWndTemplate::slotRemove()");
}

void TWndTemplate::slotSelectionChanged()
{
    notImplemented("TWndTemplate::slotSelectionChanged()");
}
