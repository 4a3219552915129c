#include "twndservice.h"

#include "formwidgets.h"
#include "listform.h"
#include "notimplemented.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TWndService::TWndService(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndService"));
    m_list = ListForm::makeList(this, false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    // The services keep their order whatever the header says, so it shows no arrow.
    m_list->header()->setSortIndicatorShown(false);
    m_list->header()->setStretchLastSection(false);
    m_btnStart = ListForm::makeButton(this, "m_btnStart");
    m_btnStop = ListForm::makeButton(this, "m_btnStop");
    m_btnProp = ListForm::makeButton(this, "m_btnProp");

    TWndServiceLayout = new QVBoxLayout(this);
    TWndServiceLayout->setObjectName(QStringLiteral("TWndServiceLayout"));
    TWndServiceLayout->setContentsMargins(11, 11, 11, 11);
    TWndServiceLayout->setSpacing(6);
    TWndServiceLayout->addWidget(m_list);
    Layout42 = new QHBoxLayout;
    Layout42->setObjectName(QStringLiteral("Layout42"));
    Layout42->setContentsMargins(0, 0, 0, 0);
    Layout42->setSpacing(6);
    Layout42->addWidget(m_btnStart);
    Layout42->addWidget(m_btnStop);
    Layout42->addWidget(m_btnProp);
    Layout42->addItem(FormWidgets::horizontalSpacer());
    TWndServiceLayout->addLayout(Layout42);

    setWindowTitle(tr("Services"));
    m_btnStart->setText(tr("Start"));
    m_btnStop->setText(tr("Stop"));
    m_btnProp->setText(tr("Edit..."));

    connect(m_btnStop, &QPushButton::clicked, this, &TWndService::slotStop);
    connect(m_btnProp, &QPushButton::clicked, this, &TWndService::slotProp);
    connect(m_btnStart, &QPushButton::clicked, this, &TWndService::slotStart);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &TWndService::slotSelectionChanged);
    // Not itemActivated: some styles activate on a single click, which must only choose a
    // service here. Return is taken by the event filter.
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &TWndService::slotProp);
    m_list->installEventFilter(this);
    FormWidgets::setTabOrder({m_list, m_btnStart, m_btnStop, m_btnProp});
    resize(412, 262);
}

TWndService::~TWndService() = default;

bool TWndService::eventFilter(QObject* watched, QEvent* event)
{
    if (ListForm::answerEditKey(m_list, m_btnProp, watched, event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TWndService::slotContextMenuRequested(QTreeWidgetItem*, const QPoint&, int)
{
    notImplemented("TWndService::slotContextMenuRequested(QListViewItem *, const QPoint &, int)");
}

void TWndService::slotCols()
{
    notImplemented("TWndService::slotCols()");
}

void TWndService::slotProp()
{
    notImplemented("TWndService::slotProp()");
}

void TWndService::slotRightButtonPressed(QTreeWidgetItem*, const QPoint&, int)
{
    notImplemented("TWndService::slotRightButtonPressed(QListViewItem *, const QPoint &, int)");
}

void TWndService::slotSelectionChanged()
{
    notImplemented("TWndService::slotSelectionChanged()");
}

void TWndService::slotStart()
{
    notImplemented("TWndService::slotStart()");
}

void TWndService::slotStop()
{
    notImplemented("TWndService::slotStop()");
}
