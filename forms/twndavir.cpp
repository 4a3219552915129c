#include "twndavir.h"

#include "choicebox.h"
#include "formwidgets.h"
#include "listform.h"
#include "notimplemented.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

namespace {

const char* const upArrow[] = {
    "15 15 2 1",
    ". c None",
    "a c #000000",
    "...............",
    "...............",
    "...............",
    "...............",
    ".......a.......",
    "......aaa......",
    ".....aaaaa.....",
    "....aaaaaaa....",
    "...aaaaaaaaa...",
    "..aaaaaaaaaaa..",
    "...............",
    "...............",
    "...............",
    "...............",
    "...............",
};

const char* const downArrow[] = {
    "15 15 2 1",
    ". c None",
    "a c #000000",
    "...............",
    "...............",
    "...............",
    "...............",
    "..aaaaaaaaaaa..",
    "...aaaaaaaaa...",
    "....aaaaaaa....",
    ".....aaaaa.....",
    "......aaa......",
    ".......a.......",
    "...............",
    "...............",
    "...............",
    "...............",
    "...............",
};

} // namespace

TWndAvir::TWndAvir(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndAvir"));
    TWndAvirLayout = new QGridLayout(this);
    TWndAvirLayout->setObjectName(QStringLiteral("TWndAvirLayout"));
    TWndAvirLayout->setContentsMargins(11, 11, 11, 11);
    TWndAvirLayout->setSpacing(6);
    TabWidget4 = makeChild<QTabWidget>(this, "TabWidget4");
    TWndAvirLayout->addWidget(TabWidget4, 0, 0);
    TabWidget4->addTab(buildCheckTab(), tr("Antivirus"));
    TabWidget4->addTab(buildFilterTab(), tr("Attachment Filter"));
    TabWidget4->addTab(buildActionTab(), tr("Action"));
    setWindowTitle(tr("Antivirus"));
    connectSignals();
    resize(468, 284);
}

TWndAvir::~TWndAvir() = default;

QWidget* TWndAvir::buildCheckTab()
{
    auto* tab = makeChild<QWidget>(TabWidget4, "tab");
    m_chkCheckEnable = makeChild<QCheckBox>(tab, "m_chkCheckEnable");
    m_chkCheckEnable->setText(tr("Enable &antivirus check"));

    auto* pluginBox = makeChild<QGroupBox>(tab, "GroupBox5");
    auto* pluginLabel = makeChild<QLabel>(pluginBox, "TextLabel1");
    pluginLabel->setText(tr("Use plugin:"));
    m_plugin = makeChild<ChoiceBox>(pluginBox, "m_plugin");
    m_plugin->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* pluginRow = new QHBoxLayout(pluginBox);
    pluginRow->setContentsMargins(11, 11, 11, 11);
    pluginRow->setSpacing(6);
    pluginRow->addWidget(pluginLabel);
    pluginRow->addWidget(m_plugin);

    auto* failBox = makeChild<QGroupBox>(tab, "ButtonGroup2");
    auto* failLabel = makeChild<QLabel>(failBox, "TextLabel2_2");
    failLabel->setText(tr("If the antivirus fails to check the message:"));
    m_rbtnLeave = makeChild<QRadioButton>(failBox, "m_rbtnLeave");
    m_rbtnLeave->setText(tr("Leave the message in queue"));
    m_rbtnSend = makeChild<QRadioButton>(failBox, "m_rbtnSend");
    m_rbtnSend->setText(tr("Send the message unchecked"));
    auto* exclusive = new QButtonGroup(failBox);
    exclusive->addButton(m_rbtnLeave);
    exclusive->addButton(m_rbtnSend);
    auto* failColumn = new QVBoxLayout(failBox);
    failColumn->setContentsMargins(11, 11, 11, 11);
    failColumn->setSpacing(6);
    failColumn->addWidget(failLabel);
    failColumn->addWidget(m_rbtnLeave);
    failColumn->addWidget(m_rbtnSend);

    auto* layout = new QVBoxLayout(tab);
    layout->setObjectName(QStringLiteral("tabLayout"));
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(6);
    layout->addWidget(m_chkCheckEnable);
    layout->addWidget(pluginBox);
    layout->addWidget(failBox);
    layout->addItem(verticalSpacer());
    return tab;
}

QWidget* TWndAvir::buildFilterTab()
{
    auto* tab = makeChild<QWidget>(TabWidget4, "tab_2");
    m_chkFilterEnable = makeChild<QCheckBox>(tab, "m_chkFilterEnable");
    m_chkFilterEnable->setText(tr("&Enable attachment filter"));
    QHBoxLayout* buttons = ListForm::makeEditedList(this, tab, false);
    buttons->setObjectName(QStringLiteral("Layout4"));
    m_btnUp = makeChild<QToolButton>(tab, "m_btnUp");
    m_btnUp->setIcon(QPixmap(upArrow));
    m_btnDown = makeChild<QToolButton>(tab, "m_btnDown");
    m_btnDown->setIcon(QPixmap(downArrow));
    // The order buttons stand beside the list, and come between it and the others.
    FormWidgets::setTabOrder({m_list, m_btnUp, m_btnDown, m_btnAdd});

    auto* arrows = new QVBoxLayout;
    arrows->setObjectName(QStringLiteral("Layout3"));
    arrows->setSpacing(6);
    arrows->addItem(verticalSpacer());
    arrows->addWidget(m_btnUp);
    arrows->addWidget(m_btnDown);
    arrows->addItem(verticalSpacer());

    auto* grid = new QGridLayout(tab);
    grid->setObjectName(QStringLiteral("tabLayout_2"));
    grid->setContentsMargins(11, 11, 11, 11);
    grid->setSpacing(6);
    grid->addWidget(m_chkFilterEnable, 0, 0, 1, 2);
    grid->addWidget(m_list, 1, 0);
    grid->addLayout(arrows, 1, 1);
    grid->addLayout(buttons, 2, 0, 1, 2);
    return tab;
}

QWidget* TWndAvir::buildActionTab()
{
    auto* tab = makeChild<QWidget>(TabWidget4, "tab_3");
    auto* box = makeChild<QGroupBox>(tab, "ButtonGroup3");
    box->setFlat(true);
    auto* label = makeChild<QLabel>(box, "TextLabel2");
    label->setText(tr("Specify what to do with attachments that are rejected by antivirus or "
                      "attachment filter:"));
    label->setWordWrap(true);
    m_chkForward = makeChild<QCheckBox>(box, "m_chkForward");
    m_chkForward->setText(tr("&Forward the message to administrator address:"));
    m_editAdminNotify = makeChild<QLineEdit>(box, "m_editAdminNotify");
    m_rbtnDeliver = makeChild<QRadioButton>(box, "m_rbtnDeliver");
    m_rbtnDeliver->setText(tr("&Deliver the message with the attachment removed"));
    auto* indent = makeChild<QLabel>(box, "TextLabel1_2_2");
    indent->setFixedWidth(20);
    m_chkSendWarning = makeChild<QCheckBox>(box, "m_chkSendWarning");
    m_chkSendWarning->setText(tr("Also &send warning to sender"));
    m_chOnlyLocal = makeChild<QCheckBox>(box, "m_chOnlyLocal");
    m_chOnlyLocal->setText(tr("&only if sender is local"));
    m_rbtnBounce = makeChild<QRadioButton>(box, "m_rbtnBounce");
    m_rbtnBounce->setText(tr("&Bounce the message to sender"));
    auto* exclusive = new QButtonGroup(box);
    exclusive->addButton(m_rbtnDeliver);
    exclusive->addButton(m_rbtnBounce);

    auto* warning = new QHBoxLayout;
    warning->setObjectName(QStringLiteral("Layout1"));
    warning->setSpacing(6);
    warning->addWidget(indent);
    warning->addWidget(m_chkSendWarning);
    warning->addWidget(m_chOnlyLocal);
    warning->addItem(horizontalSpacer());

    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(11, 11, 11, 11);
    grid->setSpacing(6);
    grid->addWidget(label, 0, 0, 1, 2);
    grid->addWidget(m_chkForward, 1, 0);
    grid->addWidget(m_editAdminNotify, 1, 1);
    grid->addWidget(m_rbtnDeliver, 2, 0, 1, 2);
    grid->addLayout(warning, 3, 0, 1, 2);
    grid->addWidget(m_rbtnBounce, 4, 0, 1, 2);
    grid->addItem(verticalSpacer(), 5, 0);

    auto* layout = new QGridLayout(tab);
    layout->setObjectName(QStringLiteral("tabLayout_3"));
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(box, 0, 0);
    return tab;
}

void TWndAvir::connectSignals()
{
    connect(m_chkCheckEnable, &QCheckBox::toggled, this, &TWndAvir::slotChange);
    connect(m_plugin, &QComboBox::activated, this, &TWndAvir::slotChange);
    for (QCheckBox* box : {m_chkFilterEnable, m_chkForward, m_chkSendWarning, m_chOnlyLocal})
        connect(box, &QCheckBox::toggled, this, &TWndAvir::slotChange);
    for (QRadioButton* button : {m_rbtnDeliver, m_rbtnBounce})
        connect(button, &QRadioButton::clicked, this, &TWndAvir::slotChange);
    connect(m_editAdminNotify, &QLineEdit::textChanged, this, &TWndAvir::slotChange);
    connect(m_btnUp, &QToolButton::clicked, this, &TWndAvir::slotUp);
    connect(m_btnDown, &QToolButton::clicked, this, &TWndAvir::slotDown);
    for (QRadioButton* button : {m_rbtnLeave, m_rbtnSend})
        connect(button, &QRadioButton::clicked, this, &TWndAvir::slotChange);
}

bool TWndAvir::eventFilter(QObject* watched, QEvent* event)
{
    if (ListForm::answerEditKey(m_list, m_btnEdit, watched, event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TWndAvir::slotChange() { notImplemented("TWndAvir::slotChange()"); }
void TWndAvir::slotRemove() { notImplemented("TWndAvir::slotRemove()"); }
void TWndAvir::slotAdd() { notImplemented("TWndAvir::slotAdd()"); }
void TWndAvir::slotEdit() { notImplemented("TWndAvir::slotEdit()"); }
void TWndAvir::slotSelectionChanged() { notImplemented("TWndAvir::slotSelectionChanged()"); }
void TWndAvir::slotCols() { notImplemented("TWndAvir::slotCols()"); }
void TWndAvir::slotDown() { notImplemented("TWndAvir::slotDown()"); }
void TWndAvir::slotUp() { notImplemented("TWndAvir::slotUp()"); }

void TWndAvir::slotRightButtonPressed(QTreeWidgetItem*, const QPoint&, int)
{
    notImplemented("TWndAvir::slotRightButtonPressed(QListViewItem *, const QPoint &, int)");
}
