#include "tconflog.h"

#include "formwidgets.h"
#include "notimplemented.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;

TConfLog::TConfLog(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TConfLog"));
    setModal(modal);

    m_lvConfLog = makeChild<QTreeWidget>(this, "m_lvConfLog");
    m_lvConfLog->setFrameShape(QFrame::StyledPanel);
    m_lvConfLog->setRootIsDecorated(true);
    btnOk = makeChild<QPushButton>(this, "btnOk");
    btnCancel = makeChild<QPushButton>(this, "btnCancel");

    TConfLogLayout = new QVBoxLayout(this);
    TConfLogLayout->setObjectName(QStringLiteral("TConfLogLayout"));
    TConfLogLayout->setContentsMargins(11, 11, 11, 11);
    TConfLogLayout->setSpacing(6);
    TConfLogLayout->addWidget(m_lvConfLog);
    Layout1 = new QHBoxLayout;
    Layout1->setObjectName(QStringLiteral("Layout1"));
    Layout1->setSpacing(6);
    Layout1->addItem(horizontalSpacer());
    Layout1->addWidget(btnOk);
    Layout1->addWidget(btnCancel);
    TConfLogLayout->addLayout(Layout1);

    setWindowTitle(tr("Logging Messages"));
    btnOk->setText(tr("&Ok"));
    btnCancel->setText(tr("&Cancel"));
    connect(btnOk, &QPushButton::clicked, this, &TConfLog::slotOk);
    connect(btnCancel, &QPushButton::clicked, this, &TConfLog::slotCancel);
    resize(394, 359);
}

TConfLog::~TConfLog() = default;

void TConfLog::slotOk()
{
    notImplemented("TConfLog::slotOk()");
}

void TConfLog::slotCancel()
{
    notImplemented("TConfLog::slotCancel()");
}
