#include "tdlgcols.h"

#include "formwidgets.h"
#include "notimplemented.h"
#include "tdlgcols.xpm"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

namespace {

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

QListWidget* makeColumnList(QWidget* parent, const char* objectName)
{
    auto* list = makeChild<QListWidget>(parent, objectName);
    list->setMinimumWidth(150);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return list;
}

} // namespace

TDlgCols::TDlgCols(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgCols"));
    setModal(modal);
    createWidgets();
    createLayout();
    setTexts();
    connectSignals();
    orderTabs();
    resize(500, 274);
    setWindowIcon(QPixmap(tdlgcols_xpm));
}

TDlgCols::~TDlgCols() = default;

void TDlgCols::createWidgets()
{
    TextLabel1_2 = makeChild<QLabel>(this, "TextLabel1_2");
    TextLabel2 = makeChild<QLabel>(this, "TextLabel2");
    m_listHidden = makeColumnList(this, "m_listHidden");
    m_listDisplayed = makeColumnList(this, "m_listDisplayed");
    m_btnAdd = makeChild<QPushButton>(this, "m_btnAdd");
    m_btnRemove = makeChild<QPushButton>(this, "m_btnRemove");
    m_btnReset = makeChild<QPushButton>(this, "m_btnReset");
    m_btnUp = makeChild<QPushButton>(this, "m_btnUp");
    m_btnDown = makeChild<QPushButton>(this, "m_btnDown");
    TextLabel3 = makeChild<QLabel>(this, "TextLabel3");
    TextLabel3->setMinimumHeight(25);
    Line4 = makeChild<QFrame>(this, "Line4");
    Line4->setFrameShape(QFrame::HLine);
    Line4->setFrameShadow(QFrame::Sunken);
    m_btnOK = makeChild<QPushButton>(this, "m_btnOK");
    m_btnOK->setAutoDefault(true);
    m_btnOK->setDefault(true);
    m_btnCancel = makeChild<QPushButton>(this, "m_btnCancel");
}

void TDlgCols::createLayout()
{
    TDlgColsLayout = new QGridLayout(this);
    TDlgColsLayout->setObjectName(QStringLiteral("TDlgColsLayout"));
    TDlgColsLayout->setContentsMargins(11, 11, 11, 11);
    TDlgColsLayout->setSpacing(6);

    TDlgColsLayout->addWidget(TextLabel1_2, 0, 0);
    TDlgColsLayout->addWidget(TextLabel2, 0, 2);
    TDlgColsLayout->addWidget(m_listHidden, 1, 0, 5, 1);
    TDlgColsLayout->addWidget(m_listDisplayed, 1, 2, 5, 1);

    // The spacers keep the buttons beside a list at the list's middle or bottom.
    TDlgColsLayout->addItem(verticalSpacer(), 1, 1);
    TDlgColsLayout->addWidget(m_btnAdd, 2, 1);
    TDlgColsLayout->addWidget(m_btnRemove, 3, 1);
    TDlgColsLayout->addItem(verticalSpacer(), 4, 1);
    TDlgColsLayout->addWidget(m_btnReset, 5, 1);

    TDlgColsLayout->addItem(verticalSpacer(), 1, 3);
    TDlgColsLayout->addWidget(m_btnUp, 2, 3);
    TDlgColsLayout->addWidget(m_btnDown, 3, 3);
    TDlgColsLayout->addItem(verticalSpacer(), 4, 3);
    TDlgColsLayout->addWidget(TextLabel3, 5, 3);

    TDlgColsLayout->addWidget(Line4, 6, 0, 1, 4);

    Layout8 = new QHBoxLayout;
    Layout8->setObjectName(QStringLiteral("Layout8"));
    Layout8->setContentsMargins(0, 0, 0, 0);
    Layout8->setSpacing(6);
    Layout8->addItem(horizontalSpacer());
    Layout8->addWidget(m_btnOK);
    Layout8->addWidget(m_btnCancel);
    TDlgColsLayout->addLayout(Layout8, 7, 0, 1, 4);
}

void TDlgCols::setTexts()
{
    setWindowTitle(tr("Modify Columns"));
    TextLabel1_2->setText(tr("Hidden columns:"));
    TextLabel2->setText(tr("Displayed columns:"));
    m_btnAdd->setText(tr("A&dd ->"));
    m_btnRemove->setText(tr("<- &Remove"));
    m_btnReset->setText(tr("Re&set"));
    m_btnUp->setText(tr("Move &Up"));
    m_btnDown->setText(tr("Move &Down"));
    TextLabel3->setText(QString());
    m_btnOK->setText(tr("OK"));
    m_btnCancel->setText(tr("Cancel"));
}

void TDlgCols::connectSignals()
{
    connect(m_btnCancel, &QPushButton::clicked, this, &TDlgCols::reject);
    connect(m_btnAdd, &QPushButton::clicked, this, &TDlgCols::slotAdd);
    connect(m_btnRemove, &QPushButton::clicked, this, &TDlgCols::slotRemove);
    connect(m_btnReset, &QPushButton::clicked, this, &TDlgCols::slotReset);
    connect(m_btnUp, &QPushButton::clicked, this, &TDlgCols::slotUp);
    connect(m_btnDown, &QPushButton::clicked, this, &TDlgCols::slotDown);
    connect(m_btnOK, &QPushButton::clicked, this, &TDlgCols::slotOK);
    // A double click or Return on an entry moves the selected entries to the other list.
    // Return is taken by eventFilter(): an item view passes it on after activating, and
    // the dialog would then press OK as well.
    connect(m_listHidden, &QListWidget::itemDoubleClicked, this, &TDlgCols::slotAdd);
    connect(m_listDisplayed, &QListWidget::itemDoubleClicked, this, &TDlgCols::slotRemove);
    m_listHidden->installEventFilter(this);
    m_listDisplayed->installEventFilter(this);
}

bool TDlgCols::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_listHidden || watched == m_listDisplayed)
        && FormWidgets::isReturnPress(event)) {
        if (watched == m_listHidden)
            slotAdd();
        else
            slotRemove();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TDlgCols::orderTabs()
{
    QWidget::setTabOrder(m_listHidden, m_btnAdd);
    QWidget::setTabOrder(m_btnAdd, m_btnRemove);
    QWidget::setTabOrder(m_btnRemove, m_btnReset);
    QWidget::setTabOrder(m_btnReset, m_listDisplayed);
    QWidget::setTabOrder(m_listDisplayed, m_btnUp);
    QWidget::setTabOrder(m_btnUp, m_btnDown);
    QWidget::setTabOrder(m_btnDown, m_btnOK);
    QWidget::setTabOrder(m_btnOK, m_btnCancel);
}

void TDlgCols::slotAdd()
{
    notImplemented("TDlgCols::slotAdd()");
}

void TDlgCols::slotDown()
{
    notImplemented("TDlgCols::slotDown()");
}

void TDlgCols::slotOK()
{
    notImplemented("TDlgCols::slotOK()");
}

void TDlgCols::slotRemove()
{
    notImplemented("TDlgCols::slotRemove()");
}

void TDlgCols::slotReset()
{
    notImplemented("TDlgCols::slotReset()");
}

void TDlgCols::slotUp()
{
    notImplemented("TDlgCols::slotUp()");
}
