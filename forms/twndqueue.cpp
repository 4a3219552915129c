#include "twndqueue.h"

#include "formwidgets.h"
#include "listform.h"
#include "notimplemented.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace FormWidgets;

TWndQueue::TWndQueue(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndQueue"));
    m_list = ListForm::makeStatusList(this);
    m_btnRefresh = ListForm::makeButton(this, "m_btnRefresh");
    m_btnRemove = makeChild<QPushButton>(this, "m_btnRemove");
    m_btnRejuvenate = makeChild<QPushButton>(this, "m_btnRejuvenate");
    m_btnQueue = ListForm::makeButton(this, "m_btnQueue");
    m_btnPop3 = ListForm::makeButton(this, "m_btnPop3");
    m_btnETRN = ListForm::makeButton(this, "m_btnETRN");

    TWndQueueLayout = new QVBoxLayout(this);
    TWndQueueLayout->setObjectName(QStringLiteral("TWndQueueLayout"));
    TWndQueueLayout->setContentsMargins(11, 11, 11, 11);
    TWndQueueLayout->setSpacing(6);
    TWndQueueLayout->addWidget(m_list);
    Layout1 = new QHBoxLayout;
    Layout1->setObjectName(QStringLiteral("Layout1"));
    Layout1->setSpacing(6);
    Layout1->addWidget(m_btnRefresh);
    Layout1->addWidget(m_btnRemove);
    Layout1->addWidget(m_btnRejuvenate);
    Layout1->addItem(horizontalSpacer());
    TWndQueueLayout->addLayout(Layout1);
    Layout2 = new QHBoxLayout;
    Layout2->setObjectName(QStringLiteral("Layout2"));
    Layout2->setSpacing(6);
    Layout2->addWidget(m_btnQueue);
    Layout2->addWidget(m_btnPop3);
    Layout2->addWidget(m_btnETRN);
    Layout2->addItem(horizontalSpacer());
    TWndQueueLayout->addLayout(Layout2);

    setWindowTitle(tr("Mail Queue"));
    m_btnRefresh->setText(tr("&Refresh"));
    m_btnRemove->setText(tr("Remove &from queue"));
    m_btnRejuvenate->setText(tr("&Try to send now"));
    m_btnQueue->setText(tr("Run &queue"));
    m_btnPop3->setText(tr("Download &POP3"));
    m_btnETRN->setText(tr("Download &ETRN"));

    connect(m_btnRefresh, &QPushButton::clicked, this, &TWndQueue::slotRefresh);
    connect(m_btnQueue, &QPushButton::clicked, this, &TWndQueue::slotQueue);
    connect(m_btnPop3, &QPushButton::clicked, this, &TWndQueue::slotPOP3);
    connect(m_btnETRN, &QPushButton::clicked, this, &TWndQueue::slotETRN);
    connect(m_btnRemove, &QPushButton::clicked, this, &TWndQueue::slotRemove);
    connect(m_btnRejuvenate, &QPushButton::clicked, this, &TWndQueue::slotRejuvenate);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &TWndQueue::slotSelectionChanged);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &TWndQueue::slotEdit);
    m_list->installEventFilter(this);
    resize(451, 241);
}

TWndQueue::~TWndQueue() = default;

bool TWndQueue::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && isReturnPress(event)) {
        slotEdit();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TWndQueue::slotRejuvenate()
{
    notImplemented("TWndQueue::slotRejuvenate()");
}

void TWndQueue::slotCheck()
{
    notImplemented("TWndQueue::slotCheck()");
}

void TWndQueue::slotCols()
{
    notImplemented("TWndQueue::slotCols()");
}

void TWndQueue::slotEdit()
{
    notImplemented("TWndQueue::slotEdit()");
}

void TWndQueue::slotETRN()
{
    notImplemented("TWndQueue::slotETRN()");
}

void TWndQueue::slotPOP3()
{
    notImplemented("TWndQueue::slotPOP3()");
}

void TWndQueue::slotQueue()
{
    notImplemented("TWndQueue::slotQueue()");
}

void TWndQueue::slotRefresh()
{
    notImplemented("TWndQueue::slotRefresh()");
}

void TWndQueue::slotRemove()
{
    notImplemented("TWndQueue::slotRemove()");
}

void TWndQueue::slotSelectionChanged()
{
    notImplemented("TWndQueue::slotSelectionChanged()");
}
