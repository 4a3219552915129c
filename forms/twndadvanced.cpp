#include "twndadvanced.h"

#include "choicebox.h"
#include "formwidgets.h"
#include "notimplemented.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

namespace {

QVBoxLayout* tabLayout(QWidget* tab)
{
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(6);
    return layout;
}

QTreeWidget* makeList(QWidget* parent, const char* objectName)
{
    auto* list = makeChild<QTreeWidget>(parent, objectName);
    list->setRootIsDecorated(false);
    list->setAllColumnsShowFocus(true);
    list->setSortingEnabled(false); // the rows keep the order they come in
    return list;
}

} // namespace

TWndAdvanced::TWndAdvanced(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndAdvanced"));
    TWndAdvancedLayout = new QGridLayout(this);
    TWndAdvancedLayout->setObjectName(QStringLiteral("TWndAdvancedLayout"));
    TWndAdvancedLayout->setContentsMargins(11, 11, 11, 11);
    TWndAdvancedLayout->setSpacing(6);
    TabWidget3 = makeChild<QTabWidget>(this, "TabWidget3");
    TWndAdvancedLayout->addWidget(TabWidget3, 0, 0);
    createMiscTab();
    createSecurityTab();
    createCertificateTab();
    setTexts();
    connectSignals();
    FormWidgets::setTabOrder({TabWidget3, m_chkReverse, m_chkShowName, m_chkHide, m_chkInsert,
                              m_editAdmin, m_btnBrowse, m_comboSec, m_chkInsecure, m_comboInsecure,
                              m_btnEditInsecure, m_chkUnenc, m_comboUnenc, m_btnEditUnenc,
                              m_listAuth, m_combo, m_list, m_btnGen});
    resize(530, 342);
}

TWndAdvanced::~TWndAdvanced() = default;

void TWndAdvanced::createMiscTab()
{
    tab = makeChild<QWidget>(TabWidget3, "tab");
    QVBoxLayout* layout = tabLayout(tab);
    m_chkReverse = makeChild<QCheckBox>(tab, "m_chkReverse");
    m_chkShowName = makeChild<QCheckBox>(tab, "m_chkShowName");
    m_chkHide = makeChild<QCheckBox>(tab, "m_chkHide");
    m_chkInsert = makeChild<QCheckBox>(tab, "m_chkInsert");
    for (QCheckBox* box : {m_chkReverse, m_chkShowName, m_chkHide, m_chkInsert})
        layout->addWidget(box);

    TextLabel33 = makeChild<QLabel>(tab, "TextLabel33");
    m_editAdmin = makeChild<QLineEdit>(tab, "m_editAdmin");
    m_btnBrowse = makeChild<QPushButton>(tab, "m_btnBrowse");
    auto* admin = new QHBoxLayout;
    admin->setObjectName(QStringLiteral("Layout4"));
    admin->setSpacing(6);
    admin->addWidget(TextLabel33);
    admin->addWidget(m_editAdmin);
    admin->addWidget(m_btnBrowse);
    admin->addItem(horizontalSpacer());
    layout->addLayout(admin);
    layout->addItem(verticalSpacer());
    TabWidget3->addTab(tab, QString());
}

void TWndAdvanced::createSecurityTab()
{
    tab_2 = makeChild<QWidget>(TabWidget3, "tab_2");
    QVBoxLayout* layout = tabLayout(tab_2);

    GroupBox1 = makeChild<QGroupBox>(tab_2, "GroupBox1");
    auto* policy = new QGridLayout(GroupBox1);
    policy->setSpacing(6);
    m_comboSec = makeChild<ChoiceBox>(GroupBox1, "m_comboSec");
    m_comboSec->setEditable(false);
    m_comboSec->addItems({QString(), QString(), QString()});
    TextLabel1 = makeChild<QLabel>(GroupBox1, "TextLabel1");
    m_chkInsecure = makeChild<QCheckBox>(GroupBox1, "m_chkInsecure");
    m_comboInsecure = makeChild<ChoiceBox>(GroupBox1, "m_comboInsecure");
    m_btnEditInsecure = makeChild<QPushButton>(GroupBox1, "m_btnEditInsecure");
    m_chkUnenc = makeChild<QCheckBox>(GroupBox1, "m_chkUnenc");
    m_comboUnenc = makeChild<ChoiceBox>(GroupBox1, "m_comboUnenc");
    m_btnEditUnenc = makeChild<QPushButton>(GroupBox1, "m_btnEditUnenc");
    for (QComboBox* box : {m_comboInsecure, m_comboUnenc}) {
        box->setEditable(false);
        box->setMinimumWidth(130);
    }
    policy->addWidget(m_comboSec, 0, 0, 1, 2);
    policy->addItem(horizontalSpacer(), 0, 2, 1, 2);
    policy->addWidget(TextLabel1, 1, 0, 1, 4);
    policy->addWidget(m_chkInsecure, 2, 0);
    policy->addWidget(m_comboInsecure, 2, 1);
    policy->addWidget(m_btnEditInsecure, 2, 2);
    policy->addWidget(m_chkUnenc, 3, 0);
    policy->addWidget(m_comboUnenc, 3, 1);
    policy->addWidget(m_btnEditUnenc, 3, 2);
    policy->addItem(horizontalSpacer(), 2, 3);
    layout->addWidget(GroupBox1);

    GroupBox2 = makeChild<QGroupBox>(tab_2, "GroupBox2");
    auto* methods = new QVBoxLayout(GroupBox2);
    methods->setSpacing(6);
    m_listAuth = makeList(GroupBox2, "m_listAuth");
    m_listAuth->setColumnCount(1);
    m_listAuth->setHeaderLabels({QString()});
    methods->addWidget(m_listAuth);
    layout->addWidget(GroupBox2);
    TabWidget3->addTab(tab_2, QString());
}

void TWndAdvanced::createCertificateTab()
{
    tab_3 = makeChild<QWidget>(TabWidget3, "tab_3");
    QVBoxLayout* layout = tabLayout(tab_3);
    TextLabel12 = makeChild<QLabel>(tab_3, "TextLabel12");
    m_combo = makeChild<ChoiceBox>(tab_3, "m_combo");
    m_combo->setEditable(false);
    m_combo->addItems({QString(), QString()});
    auto* field = new QHBoxLayout;
    field->setSpacing(6);
    field->addWidget(TextLabel12);
    field->addWidget(m_combo);
    field->addItem(horizontalSpacer());
    layout->addLayout(field);

    m_list = makeList(tab_3, "m_list");
    m_list->setColumnCount(2);
    layout->addWidget(m_list);

    m_btnGen = makeChild<QPushButton>(tab_3, "m_btnGen");
    auto* generate = new QHBoxLayout;
    generate->setSpacing(6);
    generate->addWidget(m_btnGen);
    generate->addItem(horizontalSpacer());
    layout->addLayout(generate);

    TextLabel2 = makeChild<QLabel>(tab_3, "TextLabel2");
    TextLabel2->setWordWrap(true);
    layout->addWidget(TextLabel2);
    TabWidget3->addTab(tab_3, QString());
}

void TWndAdvanced::setTexts()
{
    setWindowTitle(tr("Advanced Options"));
    TabWidget3->setTabText(0, tr("Miscellaneous"));
    TabWidget3->setTabText(1, tr("Security Policy"));
    TabWidget3->setTabText(2, tr("Server SSL Certificate"));

    m_chkReverse->setText(tr("Do &reverse DNS lookup for incoming connections"));
    m_chkShowName->setText(tr("Show &program name and version in network communication"));
    m_chkHide->setText(tr("&Hide local IP (from address group set in antispam) in Received headers"));
    m_chkInsert->setText(tr("&Insert X-Envelope-To header to locally delivered messages"));
    TextLabel33->setText(tr("Public folders administrator:"));
    m_btnBrowse->setText(tr("&Select..."));

    GroupBox1->setTitle(tr("Security policy"));
    m_comboSec->setItemText(0, tr("No restrictions"));
    m_comboSec->setItemText(1, tr("Require secure authentication"));
    m_comboSec->setItemText(2, tr("Require encrypted connection"));
    TextLabel1->setText(tr("Exceptions:"));
    m_chkInsecure->setText(tr("Allow insecure authentication from IP address group:"));
    m_btnEditInsecure->setText(tr("&Edit..."));
    m_chkUnenc->setText(tr("Allow unencrypted connections from IP address group:"));
    m_btnEditUnenc->setText(tr("&Edit..."));
    GroupBox2->setTitle(tr("Enabled authentication methods"));

    TextLabel12->setText(tr("Field:"));
    m_combo->setItemText(0, tr("Issuer"));
    m_combo->setItemText(1, tr("Subject"));
    m_list->setHeaderLabels({tr("Field"), tr("Value")});
    m_btnGen->setText(tr("&Generate Certificate..."));
    TextLabel2->setText(tr("Note: Only self-signed certificate can be generated."));
}

void TWndAdvanced::connectSignals()
{
    for (QCheckBox* box : {m_chkReverse, m_chkHide, m_chkInsert})
        connect(box, &QCheckBox::clicked, this, &TWndAdvanced::slotChanged);
    connect(m_chkShowName, &QCheckBox::toggled, this, &TWndAdvanced::slotChanged);
    connect(m_editAdmin, &QLineEdit::textChanged, this, &TWndAdvanced::slotChanged);
    for (QComboBox* box : {m_comboInsecure, m_comboUnenc})
        connect(box, &QComboBox::activated, this, &TWndAdvanced::slotChanged);
    for (QCheckBox* box : {m_chkInsecure, m_chkUnenc})
        connect(box, &QCheckBox::clicked, this, &TWndAdvanced::slotUpdateView);
    for (QComboBox* box : {m_comboSec, m_combo})
        connect(box, &QComboBox::activated, this, &TWndAdvanced::slotUpdateView);
    connect(m_btnBrowse, &QPushButton::clicked, this, &TWndAdvanced::slotSelect);
    connect(m_btnGen, &QPushButton::clicked, this, &TWndAdvanced::slotGen);
    connect(m_btnEditInsecure, &QPushButton::clicked, this, &TWndAdvanced::slotEditInsecure);
    connect(m_btnEditUnenc, &QPushButton::clicked, this, &TWndAdvanced::slotEditUnenc);
}

void TWndAdvanced::slotChanged()
{
    notImplemented("TWndAdvanced::slotChanged()");
}

void TWndAdvanced::slotEditInsecure()
{
    notImplemented("TWndAdvanced::slotEditInsecure()");
}

void TWndAdvanced::slotEditUnenc()
{
    notImplemented("TWndAdvanced::slotEditUnenc()");
}

void TWndAdvanced::slotGen()
{
    notImplemented("TWndAdvanced::slotGen()");
}

void TWndAdvanced::slotSelect()
{
    notImplemented("TWndAdvanced::slotSelect()");
}

void TWndAdvanced::slotUpdateView()
{
    notImplemented("TWndAdvanced::slotUpdateView()");
}
