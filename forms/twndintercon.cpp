#include "twndintercon.h"

#include "choicebox.h"
#include "formwidgets.h"
#include "notimplemented.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

TWndInterCon::TWndInterCon(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndInterCon"));
    createWidgets();
    createLayout();
    setTexts();
    connectSignals();
    FormWidgets::setTabOrder({m_rbtnOnline, m_rbtnOffline, m_chkUseRAS,
                                m_rasLine, m_editUser, m_editPass});
    resize(335, 197);
}

TWndInterCon::~TWndInterCon() = default;

void TWndInterCon::createWidgets()
{
    ButtonGroup1 = makeChild<QGroupBox>(this, "ButtonGroup1");
    ButtonGroup1->setFlat(true);
    m_rbtnOnline = makeChild<QRadioButton>(ButtonGroup1, "m_rbtnOnline");
    m_rbtnOffline = makeChild<QRadioButton>(ButtonGroup1, "m_rbtnOffline");
    m_modeGroup = new QButtonGroup(this);
    m_modeGroup->addButton(m_rbtnOnline);
    m_modeGroup->addButton(m_rbtnOffline);
    TextLabel4 = makeChild<QLabel>(ButtonGroup1, "TextLabel4");
    TextLabel4->setFixedWidth(20);
    m_chkUseRAS = makeChild<QCheckBox>(ButtonGroup1, "m_chkUseRAS");
    TextLabel1_2 = makeChild<QLabel>(ButtonGroup1, "TextLabel1_2");
    TextLabel1 = makeChild<QLabel>(ButtonGroup1, "TextLabel1");
    m_rasLine = makeChild<ChoiceBox>(ButtonGroup1, "m_rasLine");
    m_rasLine->setEditable(false);
    TextLabel1_2_2 = makeChild<QLabel>(ButtonGroup1, "TextLabel1_2_2");
    TextLabel2 = makeChild<QLabel>(ButtonGroup1, "TextLabel2");
    m_editUser = makeChild<QLineEdit>(ButtonGroup1, "m_editUser");
    TextLabel1_2_3 = makeChild<QLabel>(ButtonGroup1, "TextLabel1_2_3");
    TextLabel3 = makeChild<QLabel>(ButtonGroup1, "TextLabel3");
    m_editPass = makeChild<QLineEdit>(ButtonGroup1, "m_editPass");
    m_editPass->setEchoMode(QLineEdit::Password);
    // The indents of the line rows stand under the check box's text.
    for (QLabel* indent : {TextLabel1_2, TextLabel1_2_2, TextLabel1_2_3})
        indent->setFixedWidth(46);
}

void TWndInterCon::createLayout()
{
    TWndInterConLayout = new QVBoxLayout(this);
    TWndInterConLayout->setObjectName(QStringLiteral("TWndInterConLayout"));
    TWndInterConLayout->setContentsMargins(11, 11, 11, 11);
    TWndInterConLayout->setSpacing(6);

    ButtonGroup1Layout = new QGridLayout(ButtonGroup1);
    ButtonGroup1Layout->setContentsMargins(11, 11, 11, 11);
    ButtonGroup1Layout->setSpacing(6);
    ButtonGroup1Layout->setAlignment(Qt::AlignTop);
    ButtonGroup1Layout->addWidget(m_rbtnOnline, 0, 0, 1, 2);
    ButtonGroup1Layout->addWidget(m_rbtnOffline, 1, 0, 1, 2);

    Layout19 = new QHBoxLayout;
    Layout19->setSpacing(6);
    Layout19->addWidget(TextLabel4);
    Layout19->addWidget(m_chkUseRAS);
    Layout19->addItem(horizontalSpacer());
    ButtonGroup1Layout->addLayout(Layout19, 2, 0, 1, 2);

    Layout7 = new QGridLayout;
    Layout7->setSpacing(6);
    Layout7->addWidget(TextLabel1_2, 0, 0);
    Layout7->addWidget(TextLabel1, 0, 1);
    Layout7->addWidget(m_rasLine, 0, 2);
    Layout7->addWidget(TextLabel1_2_2, 1, 0);
    Layout7->addWidget(TextLabel2, 1, 1);
    Layout7->addWidget(m_editUser, 1, 2);
    Layout7->addWidget(TextLabel1_2_3, 2, 0);
    Layout7->addWidget(TextLabel3, 2, 1);
    Layout7->addWidget(m_editPass, 2, 2);
    ButtonGroup1Layout->addLayout(Layout7, 3, 0);
    ButtonGroup1Layout->addItem(horizontalSpacer(), 3, 1);

    TWndInterConLayout->addWidget(ButtonGroup1);
    TWndInterConLayout->addItem(verticalSpacer());
}

void TWndInterCon::setTexts()
{
    setWindowTitle(tr("Internet Connection"));
    m_rbtnOnline->setText(tr("O&nline - server is permanently connected to Internet"));
    m_rbtnOffline->setText(tr("O&ffline - Internet communication is triggered by scheduler"));
    m_chkUseRAS->setText(tr("Us&e RAS to connect to Internet"));
    TextLabel1->setText(tr("Select RAS line"));
    TextLabel2->setText(tr("RAS user"));
    TextLabel3->setText(tr("RAS password"));
}

void TWndInterCon::connectSignals()
{
    connect(m_rasLine, &QComboBox::activated, this, &TWndInterCon::slotChanged);
    connect(m_editUser, &QLineEdit::textChanged, this, &TWndInterCon::slotChanged);
    connect(m_rbtnOnline, &QRadioButton::toggled, this, &TWndInterCon::slotToogleOnline);
    connect(m_chkUseRAS, &QCheckBox::toggled, this, &TWndInterCon::slotToogleUseRas);
    connect(m_editPass, &QLineEdit::textChanged, this, &TWndInterCon::slotChanged);
    connect(m_rbtnOffline, &QRadioButton::toggled, this, &TWndInterCon::slotToogleOffline);
}

void TWndInterCon::slotChanged()
{
    notImplemented("TWndInterCon::slotChanged()");
}

void TWndInterCon::slotToogleOffline(bool)
{
    notImplemented("TWndInterCon::slotToogleOffline( bool )");
}

void TWndInterCon::slotToogleOnline(bool)
{
    notImplemented("TWndInterCon::slotToogleOnline( bool )");
}

void TWndInterCon::slotToogleUseRas(bool)
{
    notImplemented("TWndInterCon::slotToogleUseRas( bool )");
}
