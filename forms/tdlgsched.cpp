#include "tdlgsched.h"

#include "choicebox.h"
#include "formwidgets.h"
#include "notimplemented.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace FormWidgets;

TDlgSched::TDlgSched(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgSched"));
    setModal(modal);

    TextLabel1 = makeChild<QLabel>(this, "TextLabel1");
    m_editDesc = makeChild<QLineEdit>(this, "m_editDesc");
    ButtonGroup15 = makeChild<QGroupBox>(this, "ButtonGroup15");
    m_comboEveryAt = makeChild<ChoiceBox>(ButtonGroup15, "m_comboEveryAt");
    m_edit = makeChild<QLineEdit>(ButtonGroup15, "m_edit");
    m_edit->setMaximumWidth(50);
    m_comboMin = makeChild<ChoiceBox>(ButtonGroup15, "m_comboMin");
    m_label = makeChild<QLabel>(ButtonGroup15, "m_label");
    m_chkValid = makeChild<QCheckBox>(ButtonGroup15, "m_chkValid");
    m_combo = makeChild<ChoiceBox>(ButtonGroup15, "m_combo");
    m_btnEdit = makeChild<QPushButton>(ButtonGroup15, "m_btnEdit");
    GroupBox2 = makeChild<QGroupBox>(this, "GroupBox2");
    m_chkSend = makeChild<QCheckBox>(GroupBox2, "m_chkSend");
    m_chkReceive = makeChild<QCheckBox>(GroupBox2, "m_chkReceive");
    m_chkOdmr = makeChild<QCheckBox>(GroupBox2, "m_chkOdmr");
    GroupBox1 = makeChild<QGroupBox>(this, "GroupBox1");
    m_chkDialRAS = makeChild<QCheckBox>(GroupBox1, "m_chkDialRAS");
    m_rbtnOK = makeChild<QPushButton>(this, "m_rbtnOK");
    m_rbtnOK->setDefault(true);
    m_rbtnCancel = makeChild<QPushButton>(this, "m_rbtnCancel");

    TDlgSchedLayout = new QVBoxLayout(this);
    TDlgSchedLayout->setObjectName(QStringLiteral("TDlgSchedLayout"));
    TDlgSchedLayout->setContentsMargins(11, 11, 11, 11);
    TDlgSchedLayout->setSpacing(6);
    auto* descRow = new QHBoxLayout;
    descRow->setSpacing(6);
    descRow->addWidget(TextLabel1);
    descRow->addWidget(m_editDesc);
    TDlgSchedLayout->addLayout(descRow);

    auto* timeLayout = new QVBoxLayout(ButtonGroup15);
    timeLayout->setContentsMargins(11, 11, 11, 11);
    timeLayout->setSpacing(6);
    auto* whenRow = new QHBoxLayout;
    whenRow->setSpacing(6);
    whenRow->addWidget(m_comboEveryAt);
    whenRow->addWidget(m_edit);
    whenRow->addWidget(m_comboMin);
    whenRow->addWidget(m_label);
    whenRow->addItem(horizontalSpacer());
    timeLayout->addLayout(whenRow);
    auto* rangeRow = new QHBoxLayout;
    rangeRow->setSpacing(6);
    rangeRow->addWidget(m_chkValid);
    rangeRow->addWidget(m_combo);
    rangeRow->addWidget(m_btnEdit);
    rangeRow->addItem(horizontalSpacer());
    timeLayout->addLayout(rangeRow);
    TDlgSchedLayout->addWidget(ButtonGroup15);

    auto* actionLayout = new QVBoxLayout(GroupBox2);
    actionLayout->setContentsMargins(11, 11, 11, 11);
    actionLayout->setSpacing(6);
    actionLayout->addWidget(m_chkSend);
    actionLayout->addWidget(m_chkReceive);
    actionLayout->addWidget(m_chkOdmr);
    TDlgSchedLayout->addWidget(GroupBox2);

    auto* optionLayout = new QVBoxLayout(GroupBox1);
    optionLayout->setContentsMargins(11, 11, 11, 11);
    optionLayout->setSpacing(6);
    optionLayout->addWidget(m_chkDialRAS);
    TDlgSchedLayout->addWidget(GroupBox1);
    TDlgSchedLayout->addLayout(centredButtons({m_rbtnOK, m_rbtnCancel}));

    setWindowTitle(tr("Scheduled Action"));
    TextLabel1->setText(tr("Description"));
    ButtonGroup15->setTitle(tr("Time condition"));
    m_comboEveryAt->addItems({tr("Every"), tr("At")});
    m_comboMin->addItems({tr("Minutes"), tr("Hours")});
    m_label->setText(tr("(hh:mm)"));
    m_chkValid->setText(tr("Valid only at time"));
    m_btnEdit->setText(tr("&Edit..."));
    GroupBox2->setTitle(tr("Action"));
    m_chkSend->setText(tr("&Send mail in outgoing queue"));
    m_chkReceive->setText(tr("Download messages from &POP3 mailboxes"));
    m_chkOdmr->setText(tr("&Invoke mail transfer by sending ETRN command to configured SMTP servers"));
    GroupBox1->setTitle(tr("Action optional parameters"));
    m_chkDialRAS->setText(tr("Allow to establish Dial-Up &connection if needed"));
    m_rbtnOK->setText(tr("OK"));
    m_rbtnCancel->setText(tr("Cancel"));

    FormWidgets::setTabOrder({m_editDesc, m_comboEveryAt, m_edit, m_comboMin, m_chkValid, m_combo, m_btnEdit,
                 m_chkSend, m_chkReceive, m_chkOdmr, m_chkDialRAS, m_rbtnOK, m_rbtnCancel});

    connect(m_rbtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnEdit, &QPushButton::clicked, this, &TDlgSched::slotEdit);
    connect(m_rbtnOK, &QPushButton::clicked, this, &TDlgSched::slotOK);
    connect(m_chkValid, &QCheckBox::toggled, m_combo, &QWidget::setEnabled);
    connect(m_chkValid, &QCheckBox::toggled, m_btnEdit, &QWidget::setEnabled);
    connect(m_chkValid, &QCheckBox::clicked, this, &TDlgSched::slotValidChecked);
    connect(m_comboEveryAt, qOverload<int>(&QComboBox::activated), this,
            &TDlgSched::slotEveryAtActivated);
    resize(433, 317);
}

TDlgSched::~TDlgSched() = default;

void TDlgSched::slotAlwaysToggled(bool)
{
    notImplemented("TDlgSched::slotAlwaysToggled(bool)");
}

void TDlgSched::slotDaysToggled(bool)
{
    notImplemented("TDlgSched::slotDaysToggled(bool)");
}

void TDlgSched::slotEdit()
{
    notImplemented("TDlgSched::slotEdit()");
}

void TDlgSched::slotEveryAtActivated(int)
{
    notImplemented("TDlgSched::slotEveryAtActivated(int)");
}

void TDlgSched::slotOK()
{
    notImplemented("TDlgSched::slotOK()");
}

void TDlgSched::slotTimeIntToggled(bool)
{
    notImplemented("TDlgSched::slotTimeIntToggled(bool)");
}

void TDlgSched::slotValidChecked()
{
    notImplemented("TDlgSched::slotValidChecked()");
}
