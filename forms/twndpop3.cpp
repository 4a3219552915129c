#include "twndpop3.h"

#include "formwidgets.h"
#include "listform.h"
#include "notimplemented.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

TWndPop3::TWndPop3(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndPop3"));
    m_tabs = FormWidgets::makeChild<QTabWidget>(this, "m_tabs");
    tab = buildTab(m_list, m_btnAdd, m_btnEdit, m_btnRemove, tabLayout, Layout9, "");
    tab_2 = buildTab(m_list_2, m_btnAdd_2, m_btnEdit_2, m_btnRemove_2, tabLayout_2, Layout10, "_2");
    m_tabs->addTab(tab, tr("Accounts"));
    m_tabs->addTab(tab_2, tr("Sorting Rules"));
    Layout9->setObjectName(QStringLiteral("Layout9"));
    Layout10->setObjectName(QStringLiteral("Layout10"));

    TWndPop3Layout = new QGridLayout(this);
    TWndPop3Layout->setObjectName(QStringLiteral("TWndPop3Layout"));
    TWndPop3Layout->setContentsMargins(11, 11, 11, 11);
    TWndPop3Layout->setSpacing(6);
    TWndPop3Layout->addWidget(m_tabs, 0, 0);

    setWindowTitle(tr("TWndPop3"));
    FormWidgets::setTabOrder({m_tabs, m_list, m_btnAdd, m_btnEdit, m_btnRemove, m_list_2, m_btnAdd_2, m_btnEdit_2,
                              m_btnRemove_2});

    connect(m_btnAdd, &QPushButton::clicked, this, &TWndPop3::slotAdd);
    connect(m_btnEdit, &QPushButton::clicked, this, &TWndPop3::slotEdit);
    connect(m_btnRemove, &QPushButton::clicked, this, &TWndPop3::slotRemove);
    connect(m_btnAdd_2, &QPushButton::clicked, this, &TWndPop3::slotAdd2);
    connect(m_btnEdit_2, &QPushButton::clicked, this, &TWndPop3::slotEdit2);
    connect(m_btnRemove_2, &QPushButton::clicked, this, &TWndPop3::slotRemove2);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &TWndPop3::slotSelectionChanged);
    connect(m_list_2, &QTreeWidget::itemSelectionChanged, this, &TWndPop3::slotSelectionChanged2);
    // Not itemActivated: some styles activate on a single click, which must only choose a
    // row here.
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &TWndPop3::slotEdit);
    connect(m_list_2, &QTreeWidget::itemDoubleClicked, this, &TWndPop3::slotEdit2);
    m_list->installEventFilter(this);
    m_list_2->installEventFilter(this);
    resize(436, 293);
}

TWndPop3::~TWndPop3() = default;

QWidget* TWndPop3::buildTab(QTreeWidget*& list, QPushButton*& add, QPushButton*& edit, QPushButton*& remove,
                            QVBoxLayout*& layout, QHBoxLayout*& buttons, const char* suffix)
{
    auto* page = new QWidget(m_tabs);
    page->setObjectName(QLatin1String("tab") + QLatin1String(suffix));
    list = ListForm::makeList(page, false);
    list->setObjectName(QLatin1String("m_list") + QLatin1String(suffix));
    add = ListForm::makeButton(page, "m_btnAdd");
    edit = ListForm::makeButton(page, "m_btnEdit");
    remove = ListForm::makeButton(page, "m_btnRemove");
    for (QPushButton* button : {add, edit, remove}) {
        button->setObjectName(button->objectName() + QLatin1String(suffix));
        button->setMinimumSize(80, 25);
    }
    add->setText(tr("&Add..."));
    edit->setText(tr("&Edit..."));
    remove->setText(tr("&Remove"));

    layout = new QVBoxLayout(page);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(6);
    layout->addWidget(list);
    buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(add);
    buttons->addWidget(edit);
    buttons->addWidget(remove);
    buttons->addItem(FormWidgets::horizontalSpacer());
    layout->addLayout(buttons);
    return page;
}

bool TWndPop3::eventFilter(QObject* watched, QEvent* event)
{
    if (ListForm::answerEditKey(m_list, m_btnEdit, watched, event))
        return true;
    if (ListForm::answerEditKey(m_list_2, m_btnEdit_2, watched, event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TWndPop3::slotAdd()
{
    notImplemented("TWndPop3::slotAdd()");
}

void TWndPop3::slotAdd2()
{
    notImplemented("TWndPop3::slotAdd2()");
}

void TWndPop3::slotCols()
{
    notImplemented("TWndPop3::slotCols()");
}

void TWndPop3::slotCols2()
{
    notImplemented("TWndPop3::slotCols2()");
}

void TWndPop3::slotEdit()
{
    notImplemented("TWndPop3::slotEdit()");
}

void TWndPop3::slotEdit2()
{
    notImplemented("TWndPop3::slotEdit2()");
}

void TWndPop3::slotRemove()
{
    notImplemented("TWndPop3::slotRemove()");
}

void TWndPop3::slotRemove2()
{
    notImplemented("TWndPop3::slotRemove2()");
}

void TWndPop3::slotSelectionChanged()
{
    notImplemented("TWndPop3::slotSelectionChanged()");
}

void TWndPop3::slotSelectionChanged2()
{
    notImplemented("TWndPop3::slotSelectionChanged2()");
}
