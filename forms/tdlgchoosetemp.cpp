#include "tdlgchoosetemp.h"

#include "formwidgets.h"
#include "notimplemented.h"

#include "images/template.xpm"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;

TDlgChooseTemp::TDlgChooseTemp(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgChooseTemp"));
    setModal(modal);
    setWindowTitle(tr("User Templates"));
    setWindowIcon(QPixmap(template_xpm));

    GroupBox6 = makeChild<QGroupBox>(this, "GroupBox6");
    GroupBox6->setTitle(tr("Select User Template: "));
    m_list = makeChild<QTreeWidget>(GroupBox6, "m_list");
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({tr("Template Name"), tr("Description")});
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setAllColumnsShowFocus(true);
    m_list->installEventFilter(this);
    auto* inBox = new QVBoxLayout(GroupBox6);
    inBox->setContentsMargins(11, 11, 11, 11);
    inBox->addWidget(m_list);

    m_btnOK = makeChild<QPushButton>(this, "m_btnOK");
    m_btnOK->setText(tr("OK"));
    m_btnOK->setMinimumWidth(80);
    m_btnOK->setDefault(true);
    m_btnCancel = makeChild<QPushButton>(this, "m_btnCancel");
    m_btnCancel->setText(tr("Cancel"));
    m_btnCancel->setMinimumWidth(80);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addItem(horizontalSpacer());
    buttons->addWidget(m_btnOK);
    buttons->addWidget(m_btnCancel);
    buttons->addItem(horizontalSpacer());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(6);
    layout->addWidget(GroupBox6);
    layout->addLayout(buttons);

    connect(m_btnOK, &QPushButton::clicked, this, &TDlgChooseTemp::slotOK);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { slotOK(); });
    resize(340, 260);
}

TDlgChooseTemp::~TDlgChooseTemp() = default;

bool TDlgChooseTemp::eventFilter(QObject* watched, QEvent* event)
{
    // Return on a row chooses it, as a double click does.
    if (watched == m_list && FormWidgets::isReturnPress(event) && m_list->currentItem()) {
        slotOK();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TDlgChooseTemp::slotOK()
{
    notImplemented("TDlgChooseTemp::slotOK()");
}
