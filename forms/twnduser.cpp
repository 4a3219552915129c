#include "twnduser.h"

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

TWndUser::TWndUser(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndUser"));
    createWidgets();
    createLayout();
    setTexts();
    connectSignals();
    setTabOrder(m_comboDomain, m_list);
    setTabOrder(m_list, m_btnAdd);
    setTabOrder(m_btnAdd, m_btnEdit);
    setTabOrder(m_btnEdit, m_btnRemove);
    resize(484, 242);
}

TWndUser::~TWndUser() = default;

void TWndUser::createWidgets()
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
    m_list->header()->setSortIndicatorShown(true);
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(0, Qt::AscendingOrder);
    m_btnAdd = makeButton(this, "m_btnAdd");
    m_btnEdit = makeButton(this, "m_btnEdit");
    m_btnRemove = makeButton(this, "m_btnRemove");
    m_btnImport = makeButton(this, "m_btnImport");
}

void TWndUser::createLayout()
{
    TWndUserLayout = new QVBoxLayout(this);
    TWndUserLayout->setObjectName(QStringLiteral("TWndUserLayout"));
    TWndUserLayout->setContentsMargins(11, 11, 11, 11);
    TWndUserLayout->setSpacing(6);

    Layout1 = new QHBoxLayout;
    Layout1->setObjectName(QStringLiteral("Layout1"));
    Layout1->setSpacing(6);
    Layout1->addWidget(TextLabel1);
    Layout1->addWidget(m_comboDomain);
    Layout1->addItem(horizontalSpacer());
    TWndUserLayout->addLayout(Layout1);

    TWndUserLayout->addWidget(m_list);

    Layout2 = new QHBoxLayout;
    Layout2->setObjectName(QStringLiteral("Layout2"));
    Layout2->setSpacing(6);
    Layout2->addWidget(m_btnAdd);
    Layout2->addWidget(m_btnEdit);
    Layout2->addWidget(m_btnRemove);
    Layout2->addItem(horizontalSpacer());
    Layout2->addWidget(m_btnImport);
    TWndUserLayout->addLayout(Layout2);
}

void TWndUser::setTexts()
{
    setWindowTitle(tr("Users"));
    TextLabel1->setText(tr("Domain:"));
    m_btnAdd->setText(tr("&Add..."));
    m_btnEdit->setText(tr("&Edit..."));
    m_btnRemove->setText(tr("&Remove"));
    m_btnImport->setText(tr("&Import..."));
}

void TWndUser::connectSignals()
{
    connect(m_btnEdit, &QPushButton::clicked, this, &TWndUser::slotEdit);
    connect(m_btnRemove, &QPushButton::clicked, this, &TWndUser::slotRemove);
    connect(m_btnAdd, &QPushButton::clicked, this, &TWndUser::slotAdd);
    connect(m_btnImport, &QPushButton::clicked, this, &TWndUser::slotImport);
    connect(m_comboDomain, &QComboBox::textActivated, this, &TWndUser::slotDomainChanged);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &TWndUser::slotSelectionChanged);
    // Not itemActivated: some styles activate on a single click, which must only choose a
    // row here. Return is taken by eventFilter().
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &TWndUser::slotEdit);
    m_list->installEventFilter(this);
}

bool TWndUser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && FormWidgets::isReturnPress(event)) {
        slotEdit();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TWndUser::slotAdd()
{
    notImplemented("TWndUser::slotAdd()");
}

void TWndUser::slotCols()
{
    notImplemented("TWndUser::slotCols()");
}

void TWndUser::slotDomainChanged(const QString&)
{
    notImplemented("TWndUser::slotDomainChanged(const QString&)");
}

void TWndUser::slotEdit()
{
    notImplemented("TWndUser::slotEdit()");
}

void TWndUser::slotImport()
{
    notImplemented("TWndUser::slotImport()");
}

void TWndUser::slotRemove()
{
    notImplemented("TWndUser::slotRemove()");
}

void TWndUser::slotSelectionChanged()
{
    notImplemented("TWndUser::slotSelectionChanged()");
}
