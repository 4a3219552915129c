#include "twndtimeint.h"

#include "formwidgets.h"
#include "listform.h"
#include "notimplemented.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TWndTimeInt::TWndTimeInt(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndTimeInt"));
    m_list = ListForm::makeList(this, true);
    m_btnAdd = ListForm::makeButton(this, "m_btnAdd");
    m_btnEdit = ListForm::makeButton(this, "m_btnEdit");
    m_btnRemove = ListForm::makeButton(this, "m_btnRemove");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(6);
    layout->addWidget(m_list);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(m_btnAdd);
    buttons->addWidget(m_btnEdit);
    buttons->addWidget(m_btnRemove);
    buttons->addItem(FormWidgets::horizontalSpacer());
    layout->addLayout(buttons);

    setWindowTitle(tr("Time Ranges"));
    m_btnAdd->setText(tr("&Add..."));
    m_btnEdit->setText(tr("&Edit..."));
    m_btnRemove->setText(tr("&Remove"));

    connect(m_btnAdd, &QPushButton::clicked, this, &TWndTimeInt::slotAdd);
    connect(m_btnEdit, &QPushButton::clicked, this, &TWndTimeInt::slotEdit);
    connect(m_btnRemove, &QPushButton::clicked, this, &TWndTimeInt::slotRemove);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &TWndTimeInt::slotSelectionChanged);
    // Not itemActivated: some styles activate on a single click, which must only choose a
    // row here. Return is taken by eventFilter().
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &TWndTimeInt::slotEdit);
    m_list->installEventFilter(this);
    setTabOrder(m_list, m_btnAdd);
    setTabOrder(m_btnAdd, m_btnEdit);
    setTabOrder(m_btnEdit, m_btnRemove);
    resize(484, 242);
}

TWndTimeInt::~TWndTimeInt() = default;

bool TWndTimeInt::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && FormWidgets::isReturnPress(event)) {
        slotEdit();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TWndTimeInt::slotAdd()
{
    notImplemented("TWndTimeInt::slotAdd()");
}

void TWndTimeInt::slotCols()
{
    notImplemented("TWndTimeInt::slotCols()");
}

void TWndTimeInt::slotEdit()
{
    notImplemented("TWndTimeInt::slotEdit()");
}

void TWndTimeInt::slotRemove()
{
    notImplemented("TWndTimeInt::slotRemove()");
}

void TWndTimeInt::slotSelectionChanged()
{
    notImplemented("TWndTimeInt::slotSelectionChanged()");
}
