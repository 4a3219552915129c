#include "tdlggencert.h"

#include "choicebox.h"
#include "formwidgets.h"
#include "keyedpixmap.h"
#include "notimplemented.h"

#include "images/ornelcon16.xpm"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

TDlgGenCert::TDlgGenCert(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgGenCert"));
    setModal(modal);
    setWindowIcon(keyedPixmap(QPixmap(ornelcon16_xpm)));

    TDlgGenCertLayout = new QVBoxLayout(this);
    TDlgGenCertLayout->setObjectName(QStringLiteral("TDlgGenCertLayout"));
    TDlgGenCertLayout->setContentsMargins(11, 11, 11, 11);
    TDlgGenCertLayout->setSpacing(6);

    GroupBox1 = makeChild<QGroupBox>(this, "GroupBox1");
    GroupBox1Layout = new QGridLayout(GroupBox1);
    GroupBox1Layout->setSpacing(6);
    int row = 0;
    auto addField = [this, &row](QLabel*& label, const char* labelName, QWidget* field) {
        label = makeChild<QLabel>(GroupBox1, labelName);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        GroupBox1Layout->addWidget(label, row, 0);
        GroupBox1Layout->addWidget(field, row, 1);
        ++row;
    };
    m_editHostname = makeChild<QLineEdit>(GroupBox1, "m_editHostname");
    m_editOrgName = makeChild<QLineEdit>(GroupBox1, "m_editOrgName");
    m_editOrgUnit = makeChild<QLineEdit>(GroupBox1, "m_editOrgUnit");
    m_editCity = makeChild<QLineEdit>(GroupBox1, "m_editCity");
    m_editState = makeChild<QLineEdit>(GroupBox1, "m_editState");
    m_comboCountry = makeChild<ChoiceBox>(GroupBox1, "m_comboCountry");
    m_comboCountry->setEditable(false);
    addField(TextLabel2, "TextLabel2", m_editHostname);
    addField(TextLabel2_2, "TextLabel2_2", m_editOrgName);
    addField(TextLabel2_3, "TextLabel2_3", m_editOrgUnit);
    addField(TextLabel2_4, "TextLabel2_4", m_editCity);
    addField(TextLabel2_5, "TextLabel2_5", m_editState);
    addField(TextLabel2_6, "TextLabel2_6", m_comboCountry);
    TextLabel3 = makeChild<QLabel>(GroupBox1, "TextLabel3");
    GroupBox1Layout->addWidget(TextLabel3, row++, 1);
    GroupBox1Layout->addItem(verticalSpacer(), row, 1);
    TDlgGenCertLayout->addWidget(GroupBox1);

    Layout13 = new QHBoxLayout;
    Layout13->setObjectName(QStringLiteral("Layout13"));
    Layout13->setSpacing(6);
    m_btnOK = makeChild<QPushButton>(this, "m_btnOK");
    m_btnOK->setAutoDefault(true);
    m_btnOK->setDefault(true);
    m_btnCancel = makeChild<QPushButton>(this, "m_btnCancel");
    Layout13->addItem(horizontalSpacer());
    Layout13->addWidget(m_btnOK);
    Layout13->addWidget(m_btnCancel);
    TDlgGenCertLayout->addLayout(Layout13);

    setTexts();
    connect(m_btnCancel, &QPushButton::clicked, this, &TDlgGenCert::reject);
    connect(m_btnOK, &QPushButton::clicked, this, &TDlgGenCert::slotOK);
    connect(m_editHostname, &QLineEdit::textChanged, this, &TDlgGenCert::slotChange);
    FormWidgets::setTabOrder({m_editHostname, m_editOrgName, m_editOrgUnit, m_editCity,
                              m_editState, m_comboCountry, m_btnOK, m_btnCancel});
    resize(384, 254);
}

TDlgGenCert::~TDlgGenCert() = default;

void TDlgGenCert::setTexts()
{
    setWindowTitle(tr("Generate Certificate"));
    GroupBox1->setTitle(tr("Attributes"));
    TextLabel2->setText(tr("Hostname* :"));
    TextLabel2_2->setText(tr("Organization Name:"));
    TextLabel2_3->setText(tr("Organization Unit:"));
    TextLabel2_4->setText(tr("City:"));
    TextLabel2_5->setText(tr("State or Province:"));
    TextLabel2_6->setText(tr("Country* :"));
    TextLabel3->setText(tr("The required fields are marked with an asterisk (*)."));
    m_btnOK->setText(tr("OK"));
    m_btnCancel->setText(tr("Cancel"));
}

void TDlgGenCert::slotChange()
{
    notImplemented("TDlgGenCert::slotChange()");
}

void TDlgGenCert::slotOK()
{
    notImplemented("TDlgGenCert::slotOK()");
}
