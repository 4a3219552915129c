#include "twndempty.h"

#include "choicebox.h"
#include "formwidgets.h"
#include "notimplemented.h"

#include <QComboBox>
#include <QGridLayout>
#include <QPalette>
#include <QPushButton>

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

TWndEmpty::TWndEmpty(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndEmpty"));
    createWidgets();
    createLayout();
    setTexts();
    connect(m_btnNavigate, &QPushButton::clicked, this, &TWndEmpty::slotService);
    QWidget::setTabOrder(m_combo, m_btnNavigate);
    resize(318, 121);
}

TWndEmpty::~TWndEmpty() = default;

void TWndEmpty::createWidgets()
{
    m_combo = makeChild<ChoiceBox>(this, "m_combo");
    m_combo->setEditable(false);

    m_btnNavigate = makeChild<QPushButton>(this, "m_btnNavigate");
    m_btnNavigate->setMinimumSize(80, 0);
    m_btnNavigate->setFlat(false);
    QPalette palette = m_btnNavigate->palette();
    palette.setColor(QPalette::Button, QColor(212, 208, 200));
    m_btnNavigate->setPalette(palette);
}

void TWndEmpty::createLayout()
{
    TWndEmptyLayout = new QGridLayout(this);
    TWndEmptyLayout->setObjectName(QStringLiteral("TWndEmptyLayout"));
    TWndEmptyLayout->setContentsMargins(11, 11, 11, 11);
    TWndEmptyLayout->setSpacing(6);
    TWndEmptyLayout->addWidget(m_combo, 0, 0);
    TWndEmptyLayout->addWidget(m_btnNavigate, 0, 1);
    TWndEmptyLayout->addItem(horizontalSpacer(), 0, 2);
    TWndEmptyLayout->addItem(verticalSpacer(), 1, 0);
}

void TWndEmpty::setTexts()
{
    setWindowTitle(tr("Form1"));
    m_btnNavigate->setText(tr("&Navigate"));
}

void TWndEmpty::slotService()
{
    notImplemented("TWndEmpty::slotService()");
}
