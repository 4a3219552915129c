#include "twndconnection.h"

#include "formwidgets.h"
#include "listform.h"
#include "notimplemented.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace FormWidgets;

TWndConnection::TWndConnection(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndConnection"));
    m_list = ListForm::makeStatusList(this);
    m_btnRefresh = ListForm::makeButton(this, "m_btnRefresh");

    TWndConnectionLayout = new QVBoxLayout(this);
    TWndConnectionLayout->setObjectName(QStringLiteral("TWndConnectionLayout"));
    TWndConnectionLayout->setContentsMargins(11, 11, 11, 11);
    TWndConnectionLayout->setSpacing(6);
    TWndConnectionLayout->addWidget(m_list);
    Layout1 = new QHBoxLayout;
    Layout1->setObjectName(QStringLiteral("Layout1"));
    Layout1->setSpacing(6);
    Layout1->addWidget(m_btnRefresh);
    Layout1->addItem(horizontalSpacer());
    TWndConnectionLayout->addLayout(Layout1);

    setWindowTitle(tr("Connections"));
    m_btnRefresh->setText(tr("&Refresh"));

    connect(m_btnRefresh, &QPushButton::clicked, this, &TWndConnection::slotRefresh);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this,
            &TWndConnection::slotSelectionChanged);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &TWndConnection::slotEdit);
    m_list->installEventFilter(this);
    resize(402, 247);
}

TWndConnection::~TWndConnection() = default;

bool TWndConnection::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && isReturnPress(event)) {
        slotEdit();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TWndConnection::slotAdd()
{
    notImplemented("TWndConnection::slotAdd()");
}

void TWndConnection::slotCheck()
{
    notImplemented("TWndConnection::slotCheck()");
}

void TWndConnection::slotCols()
{
    notImplemented("TWndConnection::slotCols()");
}

void TWndConnection::slotEdit()
{
    notImplemented("TWndConnection::slotEdit()");
}

void TWndConnection::slotRefresh()
{
    notImplemented("TWndConnection::slotRefresh()");
}

void TWndConnection::slotRemove()
{
    notImplemented("TWndConnection::slotRemove()");
}

void TWndConnection::slotSelectionChanged()
{
    notImplemented("TWndConnection::slotSelectionChanged()");
}
