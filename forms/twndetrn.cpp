#include "twndetrn.h"

#include "formwidgets.h"
#include "notimplemented.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace FormWidgets;

TWndEtrn::TWndEtrn(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndEtrn"));
    m_list = makeListView(this, "m_list", QAbstractItemView::ExtendedSelection);
    m_btnAdd = makeListButton(this, "m_btnAdd");
    m_btnEdit = makeListButton(this, "m_btnEdit");
    m_btnRemove = makeListButton(this, "m_btnRemove");

    TWndEtrnLayout = new QVBoxLayout(this);
    TWndEtrnLayout->setObjectName(QStringLiteral("TWndEtrnLayout"));
    TWndEtrnLayout->setContentsMargins(11, 11, 11, 11);
    TWndEtrnLayout->setSpacing(6);
    TWndEtrnLayout->addWidget(m_list);
    Layout32 = new QHBoxLayout;
    Layout32->setObjectName(QStringLiteral("Layout32"));
    Layout32->setSpacing(6);
    Layout32->addWidget(m_btnAdd);
    Layout32->addWidget(m_btnEdit);
    Layout32->addWidget(m_btnRemove);
    Layout32->addItem(horizontalSpacer());
    TWndEtrnLayout->addLayout(Layout32);

    setWindowTitle(tr("ETRN Download"));
    m_btnAdd->setText(tr("&Add..."));
    m_btnEdit->setText(tr("&Edit..."));
    m_btnRemove->setText(tr("&Remove"));

    connect(m_btnAdd, &QPushButton::clicked, this, &TWndEtrn::slotAdd);
    connect(m_btnEdit, &QPushButton::clicked, this, &TWndEtrn::slotEdit);
    connect(m_btnRemove, &QPushButton::clicked, this, &TWndEtrn::slotRemove);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &TWndEtrn::slotSelectionChanged);
    // Not itemActivated: some styles activate on a single click, which must only choose a
    // row here. Return is taken by eventFilter().
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &TWndEtrn::slotEdit);
    m_list->installEventFilter(this);
    resize(441, 283);
}

TWndEtrn::~TWndEtrn() = default;

bool TWndEtrn::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && isReturnPress(event)) {
        slotEdit();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TWndEtrn::slotAdd()
{
    notImplemented("TWndEtrn::slotAdd()");
}

void TWndEtrn::slotCols()
{
    notImplemented("TWndEtrn::slotCols()");
}

void TWndEtrn::slotEdit()
{
    notImplemented("TWndEtrn::slotEdit()");
}

void TWndEtrn::slotRemove()
{
    notImplemented("TWndEtrn::slotRemove()");
}

void TWndEtrn::slotSelectionChanged()
{
    notImplemented("TWndEtrn::slotSelectionChanged()");
}
