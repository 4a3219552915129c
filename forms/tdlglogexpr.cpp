#include "tdlglogexpr.h"

#include "formwidgets.h"
#include "notimplemented.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;

TDlgLogExpr::TDlgLogExpr(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgLogExpr"));
    setModal(modal);

    TextLabel4 = makeChild<QLabel>(this, "TextLabel4");
    m_edtLog = makeChild<QLineEdit>(this, "m_edtLog");
    PushButton16 = makeChild<QPushButton>(this, "PushButton16");
    PushButton17 = makeChild<QPushButton>(this, "PushButton17");

    TDlgLogExprLayout = new QVBoxLayout(this);
    TDlgLogExprLayout->setObjectName(QStringLiteral("TDlgLogExprLayout"));
    TDlgLogExprLayout->setContentsMargins(11, 11, 11, 11);
    TDlgLogExprLayout->setSpacing(6);
    TDlgLogExprLayout->addWidget(TextLabel4);
    TDlgLogExprLayout->addWidget(m_edtLog);
    Layout1 = new QHBoxLayout;
    Layout1->setObjectName(QStringLiteral("Layout1"));
    Layout1->setSpacing(6);
    Layout1->addItem(horizontalSpacer());
    Layout1->addWidget(PushButton16);
    Layout1->addWidget(PushButton17);
    TDlgLogExprLayout->addLayout(Layout1);

    setWindowTitle(tr("Log expression"));
    TextLabel4->setText(tr("Log expression:"));
    PushButton16->setText(tr("&OK"));
    PushButton17->setText(tr("&Cancel"));
    connect(PushButton16, &QPushButton::clicked, this, &TDlgLogExpr::slotOk);
    connect(PushButton17, &QPushButton::clicked, this, &TDlgLogExpr::slotCancel);
    resize(284, 93);
}

TDlgLogExpr::~TDlgLogExpr() = default;

void TDlgLogExpr::slotOk()
{
    notImplemented("TDlgLogExpr::slotOk()");
}

void TDlgLogExpr::slotCancel()
{
    notImplemented("TDlgLogExpr::slotCancel()");
}
