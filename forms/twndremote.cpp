#include "twndremote.h"

#include "choicebox.h"
#include "formwidgets.h"
#include "notimplemented.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QPushButton>

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

TWndRemote::TWndRemote(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndRemote"));
    m_chkEnable = makeChild<QCheckBox>(this, "m_chkEnable");
    m_chkOnly = makeChild<QCheckBox>(this, "m_chkOnly");
    m_combo = makeChild<ChoiceBox>(this, "m_combo");
    m_combo->setEditable(false);
    m_combo->setMinimumWidth(150);
    m_btnEdit = makeChild<QPushButton>(this, "m_btnEdit");

    TWndRemoteLayout = new QGridLayout(this);
    TWndRemoteLayout->setObjectName(QStringLiteral("TWndRemoteLayout"));
    TWndRemoteLayout->setContentsMargins(11, 11, 11, 11);
    TWndRemoteLayout->setSpacing(6);
    TWndRemoteLayout->addWidget(m_chkEnable, 1, 0, 1, 3);
    TWndRemoteLayout->addWidget(m_chkOnly, 2, 0);
    TWndRemoteLayout->addWidget(m_combo, 2, 1);
    TWndRemoteLayout->addWidget(m_btnEdit, 2, 2);
    TWndRemoteLayout->addItem(horizontalSpacer(), 2, 3);
    TWndRemoteLayout->addItem(verticalSpacer(), 3, 0);

    setWindowTitle(tr("Remote Administration"));
    m_chkEnable->setText(tr("&Enable administration from network"));
    m_chkOnly->setText(tr("&Only from this IP address group:"));
    m_btnEdit->setText(tr("&Edit"));

    connect(m_btnEdit, &QPushButton::clicked, this, &TWndRemote::slotEdit);
    connect(m_chkEnable, &QCheckBox::clicked, this, &TWndRemote::slotChange);
    connect(m_chkOnly, &QCheckBox::clicked, this, &TWndRemote::slotChange);
    connect(m_combo, &QComboBox::activated, this, &TWndRemote::slotChange);
    QWidget::setTabOrder(m_chkEnable, m_chkOnly);
    QWidget::setTabOrder(m_chkOnly, m_combo);
    QWidget::setTabOrder(m_combo, m_btnEdit);
    resize(448, 80);
}

TWndRemote::~TWndRemote() = default;

void TWndRemote::slotChange()
{
    notImplemented("TWndRemote::slotChange()");
}

void TWndRemote::slotEdit()
{
    notImplemented("TWndRemote::slotEdit()");
}
