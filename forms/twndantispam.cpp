#include "twndantispam.h"

#include "choicebox.h"
#include "formwidgets.h"
#include "listform.h"
#include "notimplemented.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

namespace {

QFrame* sunkenLine(QWidget* parent, const char* objectName)
{
    auto* line = makeChild<QFrame>(parent, objectName);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QLabel* label(QWidget* parent, const char* objectName, const QString& text, bool wrapped = false)
{
    auto* widget = makeChild<QLabel>(parent, objectName);
    widget->setText(text);
    widget->setWordWrap(wrapped);
    return widget;
}

} // namespace

TWndAntispam::TWndAntispam(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndAntispam"));
    TWndAntispamLayout = new QGridLayout(this);
    TWndAntispamLayout->setObjectName(QStringLiteral("TWndAntispamLayout"));
    TWndAntispamLayout->setContentsMargins(11, 11, 11, 11);
    TWndAntispamLayout->setSpacing(6);
    m_tabs = makeChild<QTabWidget>(this, "m_tabs");
    TWndAntispamLayout->addWidget(m_tabs, 0, 0);

    m_tabs->addTab(buildRelayTab(), tr("Relay Control"));
    m_tabs->addTab(buildBlockListTab(), tr("MAPS"));
    m_tabs->addTab(buildFilterTab(), tr("Message Filter"));
    setTexts();
    connectSignals();
    FormWidgets::setTabOrder({m_tabs, m_chkEnabled, m_chkAddrGroup, m_addressGroup, m_btnEdit1,
                              m_chkAuth, m_chkLogRBL, m_chkBlockRBL, m_chkLogRSS, m_chkBlockRSS,
                              m_chkLogDUL, m_chkBlockDUL, m_chkAddrGroup2, m_addressGroup2,
                              m_btnEdit2, m_list, m_btnAdd, m_btnEdit, m_btnRemove});
    resize(395, 266);
}

TWndAntispam::~TWndAntispam() = default;

QWidget* TWndAntispam::buildRelayTab()
{
    auto* tab = makeChild<QWidget>(m_tabs, "tab");
    m_chkEnabled = makeChild<QCheckBox>(tab, "m_chkEnabled");
    m_chkAddrGroup = makeChild<QCheckBox>(tab, "m_chkAddrGroup");
    m_addressGroup = makeChild<ChoiceBox>(tab, "m_addressGroup");
    m_addressGroup->setMinimumWidth(150);
    m_btnEdit1 = makeChild<QPushButton>(tab, "m_btnEdit1");
    m_chkAuth = makeChild<QCheckBox>(tab, "m_chkAuth");

    auto* groupRow = new QHBoxLayout;
    groupRow->setObjectName(QStringLiteral("Layout3"));
    groupRow->setSpacing(6);
    groupRow->addWidget(label(tab, "TextLabel3", tr("            Address group:")));
    groupRow->addWidget(m_addressGroup);
    groupRow->addWidget(m_btnEdit1);
    groupRow->addItem(horizontalSpacer());

    auto* layout = new QVBoxLayout(tab);
    layout->setObjectName(QStringLiteral("tabLayout"));
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(6);
    layout->addWidget(m_chkEnabled);
    layout->addWidget(label(tab, "TextLabel1",
                            tr("This feature protects mail server form being exploited to send "
                               "spam through, it does not protect local users from receiving "
                               "spam."),
                            true));
    layout->addWidget(sunkenLine(tab, "Line1"));
    layout->addWidget(
        label(tab, "TextLabel2", tr("Users who can use this server as relay SMTP server:")));
    layout->addWidget(m_chkAddrGroup);
    layout->addLayout(groupRow);
    layout->addWidget(m_chkAuth);
    layout->addWidget(label(tab, "TextLabel4",
                            tr("Other users are allowed to send mail only to local domains.")));
    layout->addWidget(sunkenLine(tab, "Line1_3"));
    layout->addItem(verticalSpacer());
    return tab;
}

QWidget* TWndAntispam::buildBlockListTab()
{
    auto* tab = makeChild<QWidget>(m_tabs, "tab_2");
    m_chkLogRBL = makeChild<QCheckBox>(tab, "m_chkLogRBL");
    m_chkBlockRBL = makeChild<QCheckBox>(tab, "m_chkBlockRBL");
    m_chkLogRSS = makeChild<QCheckBox>(tab, "m_chkLogRSS");
    m_chkBlockRSS = makeChild<QCheckBox>(tab, "m_chkBlockRSS");
    m_chkLogDUL = makeChild<QCheckBox>(tab, "m_chkLogDUL");
    m_chkBlockDUL = makeChild<QCheckBox>(tab, "m_chkBlockDUL");
    m_chkAddrGroup2 = makeChild<QCheckBox>(tab, "m_chkAddrGroup2");
    m_addressGroup2 = makeChild<ChoiceBox>(tab, "m_addressGroup2");
    m_addressGroup2->setMinimumWidth(150);
    m_btnEdit2 = makeChild<QPushButton>(tab, "m_btnEdit2");

    auto* grid = new QGridLayout(tab);
    grid->setObjectName(QStringLiteral("tabLayout_2"));
    grid->setContentsMargins(11, 11, 11, 11);
    grid->setSpacing(6);
    grid->addWidget(label(tab, "TextLabel1_3",
                          tr("Mail Abuse Prevention Systems (http://www.mail-abuse.org)")),
                    0, 0, 1, 4);
    grid->addWidget(sunkenLine(tab, "Line1_2"), 1, 0, 1, 4);
    grid->addWidget(label(tab, "TextLabel1_2", tr("Realtime Blackhole List")), 2, 0);
    grid->addWidget(m_chkLogRBL, 2, 1);
    grid->addWidget(m_chkBlockRBL, 2, 2);
    grid->addWidget(label(tab, "TextLabel2_2_2", tr("Relay Spam Stopper")), 3, 0);
    grid->addWidget(m_chkLogRSS, 3, 1);
    grid->addWidget(m_chkBlockRSS, 3, 2);
    grid->addItem(horizontalSpacer(), 3, 3);
    grid->addWidget(label(tab, "TextLabel3_2", tr("Dialup Users List")), 4, 0);
    grid->addWidget(m_chkLogDUL, 4, 1);
    grid->addWidget(m_chkBlockDUL, 4, 2);
    grid->addWidget(sunkenLine(tab, "Line3"), 5, 0, 1, 4);
    grid->addWidget(m_chkAddrGroup2, 6, 0, 1, 4);
    auto* groupRow = new QHBoxLayout;
    groupRow->setObjectName(QStringLiteral("Layout3_2"));
    groupRow->setSpacing(6);
    groupRow->addWidget(m_addressGroup2);
    groupRow->addWidget(m_btnEdit2);
    groupRow->addItem(horizontalSpacer());
    grid->addLayout(groupRow, 7, 0, 1, 4);
    grid->addItem(verticalSpacer(), 8, 0);
    return tab;
}

QWidget* TWndAntispam::buildFilterTab()
{
    auto* tab = makeChild<QWidget>(m_tabs, "tab_3");
    QHBoxLayout* buttons = ListForm::makeEditedList(this, tab, false);
    buttons->setObjectName(QStringLiteral("Layout38"));

    auto* grid = new QGridLayout(tab);
    grid->setObjectName(QStringLiteral("tabLayout_3"));
    grid->setContentsMargins(11, 11, 11, 11);
    grid->setSpacing(6);
    grid->addWidget(label(tab, "TextLabel2_2",
                          tr("Mail messages with headers matching these rules will be rejected "
                             "and returned to sender."),
                          true),
                    0, 0);
    grid->addWidget(m_list, 1, 0);
    grid->addLayout(buttons, 2, 0);
    return tab;
}

void TWndAntispam::setTexts()
{
    setWindowTitle(tr("Antispam"));
    m_chkEnabled->setText(tr("Antispam &Check Enabled"));
    m_chkAddrGroup->setText(tr("Users from &IP addresses specified by address group"));
    m_btnEdit1->setText(tr("&Edit..."));
    m_chkAuth->setText(tr("Users authenticated in &SMTP session"));
    for (QCheckBox* log : {m_chkLogRBL, m_chkLogRSS, m_chkLogDUL})
        log->setText(tr("Log"));
    for (QCheckBox* block : {m_chkBlockRBL, m_chkBlockRSS, m_chkBlockDUL})
        block->setText(tr("Block"));
    m_chkAddrGroup2->setText(tr("Also block IP addresses from this group:"));
    m_btnEdit2->setText(tr("&Edit..."));
}

void TWndAntispam::connectSignals()
{
    for (QCheckBox* box : {m_chkEnabled, m_chkAddrGroup})
        connect(box, &QCheckBox::clicked, this, &TWndAntispam::slotChange);
    connect(m_addressGroup, &QComboBox::activated, this, &TWndAntispam::slotChange);
    for (QCheckBox* box : {m_chkLogRBL, m_chkBlockRBL, m_chkLogRSS, m_chkBlockRSS, m_chkLogDUL,
                           m_chkBlockDUL, m_chkAuth})
        connect(box, &QCheckBox::clicked, this, &TWndAntispam::slotChange);
    connect(m_addressGroup2, &QComboBox::activated, this, &TWndAntispam::slotChange);
    connect(m_chkAddrGroup2, &QCheckBox::clicked, this, &TWndAntispam::slotChange);
    connect(m_btnEdit2, &QPushButton::clicked, this, &TWndAntispam::slotEdit2);
    connect(m_btnEdit1, &QPushButton::clicked, this, &TWndAntispam::slotEdit1);
}

bool TWndAntispam::eventFilter(QObject* watched, QEvent* event)
{
    if (ListForm::answerEditKey(m_list, m_btnEdit, watched, event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TWndAntispam::slotRightButtonPressed(QTreeWidgetItem*, const QPoint&, int)
{
    notImplemented("TWndAntispam::slotRightButtonPressed(QListViewItem *, const QPoint &, int)");
}

void TWndAntispam::slotAdd() { notImplemented("TWndAntispam::slotAdd()"); }
void TWndAntispam::slotChange() { notImplemented("TWndAntispam::slotChange()"); }
void TWndAntispam::slotCols() { notImplemented("TWndAntispam::slotCols()"); }
void TWndAntispam::slotEdit() { notImplemented("TWndAntispam::slotEdit()"); }
void TWndAntispam::slotEdit1() { notImplemented("TWndAntispam::slotEdit1()"); }
void TWndAntispam::slotEdit2() { notImplemented("TWndAntispam::slotEdit2()"); }
void TWndAntispam::slotRemove() { notImplemented("TWndAntispam::slotRemove()"); }
void TWndAntispam::slotSelectionChanged() { notImplemented("TWndAntispam::slotSelectionChanged()"); }
