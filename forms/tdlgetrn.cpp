#include "tdlgetrn.h"

#include "formwidgets.h"
#include "notimplemented.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace FormWidgets;

TDlgEtrn::TDlgEtrn(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgEtrn"));
    setModal(modal);

    GroupBox10 = makeChild<QGroupBox>(this, "GroupBox10");
    TextLabel1 = makeChild<QLabel>(GroupBox10, "TextLabel1");
    m_editServer = makeChild<QLineEdit>(GroupBox10, "m_editServer");
    TextLabel2 = makeChild<QLabel>(GroupBox10, "TextLabel2");
    m_editDomain = makeChild<QLineEdit>(GroupBox10, "m_editDomain");
    TextLabel3 = makeChild<QLabel>(GroupBox10, "TextLabel3");
    m_chkAuth = makeChild<QCheckBox>(GroupBox10, "m_chkAuth");
    TextLabel4 = makeChild<QLabel>(GroupBox10, "TextLabel4");
    m_editUser = makeChild<QLineEdit>(GroupBox10, "m_editUser");
    TextLabel5 = makeChild<QLabel>(GroupBox10, "TextLabel5");
    m_editPass = makeChild<QLineEdit>(GroupBox10, "m_editPass");
    m_editPass->setEchoMode(QLineEdit::Password);
    m_btnOK = makeChild<QPushButton>(this, "m_btnOK");
    m_btnOK->setDefault(true);
    m_btnCancel = makeChild<QPushButton>(this, "m_btnCancel");

    TDlgEtrnLayout = new QVBoxLayout(this);
    TDlgEtrnLayout->setObjectName(QStringLiteral("TDlgEtrnLayout"));
    TDlgEtrnLayout->setContentsMargins(11, 11, 11, 11);
    TDlgEtrnLayout->setSpacing(6);
    GroupBox10Layout = new QVBoxLayout(GroupBox10);
    GroupBox10Layout->setContentsMargins(11, 11, 11, 11);
    GroupBox10Layout->setSpacing(6);
    Layout10 = new QGridLayout;
    Layout10->setObjectName(QStringLiteral("Layout10"));
    Layout10->setSpacing(6);
    Layout10->setAlignment(Qt::AlignTop);
    Layout10->addWidget(TextLabel1, 0, 0);
    Layout10->addWidget(m_editServer, 0, 1);
    Layout10->addWidget(TextLabel2, 1, 0);
    Layout10->addWidget(m_editDomain, 1, 1);
    Layout10->addWidget(TextLabel3, 2, 1);
    Layout10->addWidget(m_chkAuth, 3, 1);
    Layout10->addWidget(TextLabel4, 4, 0);
    Layout10->addWidget(m_editUser, 4, 1);
    Layout10->addWidget(TextLabel5, 5, 0);
    Layout10->addWidget(m_editPass, 5, 1);
    GroupBox10Layout->addLayout(Layout10);
    GroupBox10Layout->addItem(verticalSpacer());
    TDlgEtrnLayout->addWidget(GroupBox10);
    Layout11 = new QHBoxLayout;
    Layout11->setObjectName(QStringLiteral("Layout11"));
    Layout11->setSpacing(6);
    Layout11->addItem(horizontalSpacer());
    Layout11->addWidget(m_btnOK);
    Layout11->addWidget(m_btnCancel);
    Layout11->addItem(horizontalSpacer());
    TDlgEtrnLayout->addLayout(Layout11);

    setWindowTitle(tr("ETRN Download"));
    GroupBox10->setTitle(tr("Send ETRN to specified server:"));
    TextLabel1->setText(tr("Server:"));
    TextLabel2->setText(tr("Domain(s):"));
    TextLabel3->setText(tr("You can enter multiple domains\nseparated by semicolon (;)."));
    m_chkAuth->setText(tr("&Authentication is required"));
    TextLabel4->setText(tr("User:"));
    TextLabel5->setText(tr("Password:"));
    m_btnOK->setText(tr("OK"));
    m_btnCancel->setText(tr("Cancel"));

    setTabOrder(m_editServer, m_editDomain);
    setTabOrder(m_editDomain, m_chkAuth);
    setTabOrder(m_chkAuth, m_editUser);
    setTabOrder(m_editUser, m_editPass);
    setTabOrder(m_editPass, m_btnCancel);
    setTabOrder(m_btnCancel, m_btnOK);

    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnOK, &QPushButton::clicked, this, &TDlgEtrn::slotOK);
    connect(m_chkAuth, &QCheckBox::toggled, this, &TDlgEtrn::slotAuthToggled);
    resize(253, 233);
}

TDlgEtrn::~TDlgEtrn() = default;

void TDlgEtrn::slotAuthToggled(bool)
{
    notImplemented("TDlgEtrn::slotAuthToggled(bool)");
}

void TDlgEtrn::slotOK()
{
    notImplemented("TDlgEtrn::slotOK()");
}
