#include "tdlgservice.h"

#include "choicebox.h"
#include "formwidgets.h"
#include "notimplemented.h"
#include "shortenedlabel.h"

#include "images/lampgreen.xpm"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "keyedpixmap.h"

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

TDlgService::TDlgService(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgService"));
    setModal(modal);
    setWindowIcon(keyedPixmap(QPixmap(lampgreen_xpm)));

    m_tabs = makeChild<QTabWidget>(this, "m_tabs");
    buildPropertiesTab();
    buildAccessTab();
    m_btnOK = makeChild<QPushButton>(this, "m_btnOK");
    m_btnOK->setDefault(true);
    m_btnOK->setAutoDefault(true);
    m_btnCancel = makeChild<QPushButton>(this, "m_btnCancel");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(6);
    layout->addWidget(m_tabs);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addItem(horizontalSpacer());
    buttons->addWidget(m_btnOK);
    buttons->addWidget(m_btnCancel);
    layout->addLayout(buttons);

    setWindowTitle(tr("Service"));
    m_tabs->addTab(tab, tr("Properties"));
    m_tabs->addTab(tab_2, tr("Access"));
    TextLabel1->setText(tr("Name:"));
    TextLabel2->setText(tr("Port:"));
    m_btnDefault->setText(tr("&Default"));
    TextLabel3->setText(tr("Startup:"));
    m_chkOnlyAddressGroup->setText(tr("Allow access only from selected IP address group"));
    m_btnEdit->setText(tr("&Edit..."));
    m_label->setText(tr("Access policy for SMTP service can be set in the Antispam section."));
    m_btnOK->setText(tr("OK"));
    m_btnCancel->setText(tr("Cancel"));

    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_chkOnlyAddressGroup, &QCheckBox::toggled, this, &TDlgService::slotOnlyAddressGroup);
    connect(m_btnDefault, &QPushButton::clicked, this, &TDlgService::slotDefault);
    connect(m_btnOK, &QPushButton::clicked, this, &TDlgService::slotOK);
    connect(m_btnEdit, &QPushButton::clicked, this, &TDlgService::slotEdit);
    FormWidgets::setTabOrder({m_tabs, m_editPort, m_btnDefault, m_comboStartup,
                              m_chkOnlyAddressGroup, m_comboAddressGroup, m_btnEdit, m_btnOK,
                              m_btnCancel});
    resize(307, 193);
}

TDlgService::~TDlgService() = default;

void TDlgService::buildPropertiesTab()
{
    tab = makeChild<QWidget>(m_tabs, "tab");
    TextLabel1 = makeChild<QLabel>(tab, "TextLabel1");
    m_labelName = makeChild<ShortenedLabel>(tab, "m_labelName");
    TextLabel2 = makeChild<QLabel>(tab, "TextLabel2");
    m_editPort = makeChild<QLineEdit>(tab, "m_editPort");
    m_editPort->setMaximumWidth(60);
    m_btnDefault = makeChild<QPushButton>(tab, "m_btnDefault");
    TextLabel3 = makeChild<QLabel>(tab, "TextLabel3");
    m_comboStartup = makeChild<ChoiceBox>(tab, "m_comboStartup");
    m_comboStartup->setEditable(false);

    auto* grid = new QGridLayout(tab);
    grid->setContentsMargins(11, 11, 11, 11);
    grid->setSpacing(6);
    for (QLabel* label : {TextLabel1, TextLabel2, TextLabel3})
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(TextLabel1, 0, 0);
    grid->addWidget(m_labelName, 0, 1, 1, 3);
    grid->addWidget(TextLabel2, 1, 0);
    grid->addWidget(m_editPort, 1, 1);
    grid->addWidget(m_btnDefault, 1, 2);
    grid->addItem(horizontalSpacer(), 1, 3);
    grid->addWidget(TextLabel3, 2, 0);
    grid->addWidget(m_comboStartup, 2, 1, 1, 2);
    grid->addItem(verticalSpacer(), 3, 0);
}

void TDlgService::buildAccessTab()
{
    tab_2 = makeChild<QWidget>(m_tabs, "tab_2");
    m_chkOnlyAddressGroup = makeChild<QCheckBox>(tab_2, "m_chkOnlyAddressGroup");
    m_comboAddressGroup = makeChild<ChoiceBox>(tab_2, "m_comboAddressGroup");
    m_comboAddressGroup->setEditable(false);
    m_btnEdit = makeChild<QPushButton>(tab_2, "m_btnEdit");
    m_label = makeChild<QLabel>(tab_2, "m_label");
    m_label->setWordWrap(true);

    auto* column = new QVBoxLayout(tab_2);
    column->setContentsMargins(11, 11, 11, 11);
    column->setSpacing(6);
    column->addWidget(m_chkOnlyAddressGroup);
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    row->addWidget(m_comboAddressGroup, 1);
    row->addWidget(m_btnEdit);
    column->addLayout(row);
    column->addWidget(m_label);
    column->addItem(verticalSpacer());
}

void TDlgService::slotDefault()
{
    notImplemented("TDlgService::slotDefault()");
}

void TDlgService::slotEdit()
{
    notImplemented("TDlgService::slotEdit()");
}

void TDlgService::slotOK()
{
    notImplemented("TDlgService::slotOK()");
}

void TDlgService::slotOnlyAddressGroup(bool)
{
    notImplemented("TDlgService::slotOnlyAddressGroup(bool)");
}
