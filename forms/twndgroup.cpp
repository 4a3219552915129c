#include "twndgroup.h"

#include "formwidgets.h"
#include "notimplemented.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;

QPushButton* makeButton(QWidget* parent, const char* objectName)
{
    auto* button = makeChild<QPushButton>(parent, objectName);
    button->setMinimumSize(80, 25);
    return button;
}

} // namespace

TWndGroup::TWndGroup(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndGroup"));
    createWidgets();
    createLayout();
    setTexts();
    connectSignals();
    setTabOrder(m_comboDomain, m_list);
    setTabOrder(m_list, m_btnAdd);
    setTabOrder(m_btnAdd, m_btnEdit);
    setTabOrder(m_btnEdit, m_btnRemove);
    resize(465, 242);
}

TWndGroup::~TWndGroup() = default;

void TWndGroup::createWidgets()
{
    TextLabel1 = makeChild<QLabel>(this, "TextLabel1");
    m_comboDomain = makeChild<QComboBox>(this, "m_comboDomain");
    m_comboDomain->setEditable(false);
    m_comboDomain->setMinimumWidth(150);
    m_comboDomain->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_list = makeChild<QTreeWidget>(this, "m_list");
    m_list->setColumnCount(0);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setAllColumnsShowFocus(true);
    m_list->setUniformRowHeights(true);
    m_list->header()->setSortIndicatorShown(true);
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(0, Qt::AscendingOrder);
    m_btnAdd = makeButton(this, "m_btnAdd");
    m_btnEdit = makeButton(this, "m_btnEdit");
    m_btnRemove = makeButton(this, "m_btnRemove");
}

void TWndGroup::createLayout()
{
    TWndGroupLayout = new QVBoxLayout(this);
    TWndGroupLayout->setObjectName(QStringLiteral("TWndGroupLayout"));
    TWndGroupLayout->setContentsMargins(11, 11, 11, 11);
    TWndGroupLayout->setSpacing(6);

    Layout2 = new QHBoxLayout;
    Layout2->setObjectName(QStringLiteral("Layout2"));
    Layout2->setSpacing(6);
    Layout2->addWidget(TextLabel1);
    Layout2->addWidget(m_comboDomain);
    Layout2->addItem(horizontalSpacer());
    TWndGroupLayout->addLayout(Layout2);

    TWndGroupLayout->addWidget(m_list);

    Layout58 = new QHBoxLayout;
    Layout58->setObjectName(QStringLiteral("Layout58"));
    Layout58->setSpacing(6);
    Layout58->addWidget(m_btnAdd);
    Layout58->addWidget(m_btnEdit);
    Layout58->addWidget(m_btnRemove);
    Layout58->addItem(horizontalSpacer());
    TWndGroupLayout->addLayout(Layout58);
}

void TWndGroup::setTexts()
{
    setWindowTitle(tr("Groups"));
    TextLabel1->setText(tr("Domain:"));
    m_btnAdd->setText(tr("&Add..."));
    m_btnEdit->setText(tr("&Edit..."));
    m_btnRemove->setText(tr("&Remove"));
}

void TWndGroup::connectSignals()
{
    connect(m_btnAdd, &QPushButton::clicked, this, &TWndGroup::slotAdd);
    connect(m_btnEdit, &QPushButton::clicked, this, &TWndGroup::slotEdit);
    connect(m_btnRemove, &QPushButton::clicked, this, &TWndGroup::slotRemove);
    connect(m_comboDomain, &QComboBox::textActivated, this, &TWndGroup::slotDomainChanged);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &TWndGroup::slotSelectionChanged);
    // Not itemActivated: some styles activate on a single click, which must only choose a
    // row here. Return is taken by eventFilter().
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &TWndGroup::slotEdit);
    m_list->installEventFilter(this);
}

bool TWndGroup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && FormWidgets::isReturnPress(event)) {
        slotEdit();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TWndGroup::slotAdd()
{
    notImplemented("TWndGroup::slotAdd()");
}

void TWndGroup::slotCols()
{
    notImplemented("TWndGroup::slotCols()");
}

void TWndGroup::slotDomainChanged(const QString&)
{
    notImplemented("TWndGroup::slotDomainChanged(const QString&)");
}

void TWndGroup::slotEdit()
{
    notImplemented("TWndGroup::slotEdit()");
}

void TWndGroup::slotRemove()
{
    notImplemented("TWndGroup::slotRemove()");
}

void TWndGroup::slotSelectionChanged()
{
    notImplemented("TWndGroup::slotSelectionChanged()");
}
