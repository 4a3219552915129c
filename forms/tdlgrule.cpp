#include "tdlgrule.h"

#include "formwidgets.h"
#include "notimplemented.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace FormWidgets;

TDlgRule::TDlgRule(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgRule"));
    setModal(modal);

    // Created in the order the focus moves through them: no order of their own is set.
    GroupBox9 = makeChild<QGroupBox>(this, "GroupBox9");
    m_btnBrowse = makeChild<QPushButton>(GroupBox9, "m_btnBrowse");
    TextLabel1 = makeChild<QLabel>(GroupBox9, "TextLabel1");
    m_editContent = makeChild<QLineEdit>(GroupBox9, "m_editContent");
    TextLabel2 = makeChild<QLabel>(GroupBox9, "TextLabel2");
    m_editDeliver = makeChild<QLineEdit>(GroupBox9, "m_editDeliver");
    m_btnOK = makeChild<QPushButton>(this, "m_btnOK");
    m_btnOK->setDefault(true);
    m_btnCancel = makeChild<QPushButton>(this, "m_btnCancel");

    TDlgRuleLayout = new QVBoxLayout(this);
    TDlgRuleLayout->setObjectName(QStringLiteral("TDlgRuleLayout"));
    TDlgRuleLayout->setContentsMargins(11, 11, 11, 11);
    TDlgRuleLayout->setSpacing(6);
    GroupBox9Layout = new QVBoxLayout(GroupBox9);
    GroupBox9Layout->setContentsMargins(11, 11, 11, 11);
    GroupBox9Layout->setSpacing(6);
    Layout9 = new QGridLayout;
    Layout9->setSpacing(6);
    Layout9->setAlignment(Qt::AlignTop);
    Layout9->addWidget(TextLabel1, 0, 0);
    Layout9->addWidget(m_editContent, 0, 1);
    Layout9->addItem(horizontalSpacer(), 0, 2);
    Layout9->addWidget(TextLabel2, 1, 0);
    Layout9->addWidget(m_editDeliver, 1, 1);
    Layout9->addWidget(m_btnBrowse, 1, 2);
    Layout9->addItem(horizontalSpacer(), 1, 3);
    GroupBox9Layout->addLayout(Layout9);
    TDlgRuleLayout->addWidget(GroupBox9);
    Layout10 = centredButtons({m_btnOK, m_btnCancel});
    Layout10->setObjectName(QStringLiteral("Layout10"));
    TDlgRuleLayout->addLayout(Layout10);

    setWindowTitle(tr("Sorting Rule"));
    GroupBox9->setTitle(tr("Properties"));
    TextLabel1->setText(tr("Sort address:"));
    TextLabel2->setText(tr("Deliver To:"));
    m_btnBrowse->setText(tr("&Select..."));
    m_btnOK->setText(tr("OK"));
    m_btnCancel->setText(tr("Cancel"));

    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnOK, &QPushButton::clicked, this, &TDlgRule::slotOK);
    connect(m_btnBrowse, &QPushButton::clicked, this, &TDlgRule::slotSelect);
    resize(325, 134);
}

TDlgRule::~TDlgRule() = default;

void TDlgRule::slotOK()
{
    notImplemented("TDlgRule::slotOK()");
}

void TDlgRule::slotSelect()
{
    notImplemented("TDlgRule::slotSelect()");
}
