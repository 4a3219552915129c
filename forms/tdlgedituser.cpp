#include "tdlgedituser.h"

#include "accountformparts.h"
#include "formwidgets.h"
#include "notimplemented.h"

#include "images/ornelcon16.xpm"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;
using AccountFormParts::makeEdit;
using AccountFormParts::makeLabel;

QWidget* makePage(QTabWidget* tabs, const char* objectName, const QString& title)
{
    auto* page = makeChild<QWidget>(tabs, objectName);
    tabs->addTab(page, title);
    return page;
}

} // namespace

TDlgEditUser::TDlgEditUser(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgEditUser"));
    setModal(modal);
    setWindowTitle(tr("Edit User"));
    setWindowIcon(QPixmap(ornelcon16_xpm));

    m_tab = makeChild<QTabWidget>(this, "m_tab");
    createGeneralTab();
    createGroupsTab();
    createRightsTab();
    createQuotaTab();
    createWebTab();

    m_btnOK = makeChild<QPushButton>(this, "m_btnOK");
    m_btnOK->setText(tr("OK"));
    m_btnOK->setAutoDefault(true);
    m_btnOK->setDefault(true);
    m_btnCancel = makeChild<QPushButton>(this, "m_btnCancel");
    m_btnCancel->setText(tr("Cancel"));
    m_btnCancel->setShortcut(QKeySequence(Qt::Key_Escape));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(6);
    layout->addWidget(m_tab);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addItem(horizontalSpacer());
    buttons->addWidget(m_btnOK);
    buttons->addWidget(m_btnCancel);
    layout->addLayout(buttons);

    connectSignals();
    orderTabs();
    resize(387, 293);
}

TDlgEditUser::~TDlgEditUser() = default;

void TDlgEditUser::createGeneralTab()
{
    general = makePage(m_tab, "general", tr("General"));
    QVBoxLayout* column = AccountFormParts::build(static_cast<AccountFormParts::General&>(*this), general);
    m_editName->setEnabled(false); // a user keeps the name it was added with
    column->addItem(verticalSpacer());
}

void TDlgEditUser::createGroupsTab()
{
    groups = makePage(m_tab, "groups", tr("Groups"));
    AccountFormParts::build(static_cast<AccountFormParts::Groups&>(*this), groups);
}

void TDlgEditUser::createRightsTab()
{
    rights = makePage(m_tab, "rights", tr("Rights"));
    AccountFormParts::build(static_cast<AccountFormParts::Rights&>(*this), rights);
}

void TDlgEditUser::createQuotaTab()
{
    tab = makePage(m_tab, "tab", tr("Quota"));
    AccountFormParts::build(static_cast<AccountFormParts::Quota&>(*this), tab);
}

void TDlgEditUser::createWebTab()
{
    tab_2 = makePage(m_tab, "tab_2", tr("Vazazuz"));
    TextLabel2_2_2_2 = makeLabel(tab_2, "TextLabel2_2_2_2", tr("Number of messages on one page:"));
    m_editNumMsg = makeEdit(tab_2, "m_editNumMsg");
    TextLabel2_2_2_3 = makeLabel(tab_2, "TextLabel2_2_2_3",
                                 tr("Save a copy of outgoing messages to folder:"));
    m_editSentFolder = makeEdit(tab_2, "m_editSentFolder");
    TextLabel2_2_2_4 = makeLabel(tab_2, "TextLabel2_2_2_4", tr("Store draft messages into folder:"));
    m_editDraftFolder = makeEdit(tab_2, "m_editDraftFolder");
    TextLabel1_2 = makeLabel(tab_2, "TextLabel1_2", tr("Preferred language:"));
    m_comboLang = makeChild<QComboBox>(tab_2, "m_comboLang");
    m_comboLang->setEditable(false);
    TextLabel1_3 = makeLabel(tab_2, "TextLabel1_3", tr("PIN for web access:"));
    m_editPIN = makeEdit(tab_2, "m_editPIN", true);
    for (QLineEdit* edit : {m_editNumMsg, m_editSentFolder, m_editDraftFolder, m_editPIN})
        edit->setMaximumWidth(100);
    m_chkShowFldList = makeChild<QCheckBox>(tab_2, "m_chkShowFldList");
    m_chkShowFldList->setText(tr("Show &folder list on each page"));
    m_chkShowSub = makeChild<QCheckBox>(tab_2, "m_chkShowSub");
    m_chkShowSub->setText(tr("Show only &subscribed folders"));
    Line1 = makeChild<QFrame>(tab_2, "Line1");
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);

    auto* grid = new QGridLayout(tab_2);
    grid->setContentsMargins(11, 11, 11, 11);
    grid->setSpacing(6);
    const std::pair<QLabel*, QWidget*> rows[] = {
        {TextLabel2_2_2_2, m_editNumMsg}, {TextLabel2_2_2_3, m_editSentFolder},
        {TextLabel2_2_2_4, m_editDraftFolder}, {TextLabel1_2, m_comboLang},
        {TextLabel1_3, m_editPIN},
    };
    int row = 0;
    for (const auto& [label, field] : rows) {
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    }
    grid->addWidget(m_chkShowFldList, 5, 1);
    grid->addWidget(m_chkShowSub, 6, 1);
    grid->addWidget(Line1, 7, 0, 1, 2);
    grid->setRowStretch(8, 1);
}

void TDlgEditUser::connectSignals()
{
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnOK, &QPushButton::clicked, this, &TDlgEditUser::slotOK);
    connect(m_btnAdd, &QPushButton::clicked, this, &TDlgEditUser::slotAdd);
    connect(m_btnRemove, &QPushButton::clicked, this, &TDlgEditUser::slotRemove);
    connect(m_editPass, &QLineEdit::textChanged, this, &TDlgEditUser::slotTextChanged);
    connect(m_editConfPass, &QLineEdit::textChanged, this, &TDlgEditUser::slotTextChanged);
    connect(m_listGroups, &QTreeWidget::itemSelectionChanged, this, &TDlgEditUser::slotChanged);
    connect(m_auth, &QComboBox::activated, this, &TDlgEditUser::slotTextChanged);
}

void TDlgEditUser::orderTabs()
{
    const QList<QWidget*> order{
        m_tab, m_editName, m_editFull, m_editDesk, m_auth, m_editPass, m_editConfPass,
        m_chkDisabled, m_listGroups, m_btnAdd, m_btnRemove, m_rbtnNoAcc, m_rbtnViewLogs,
        m_rbtnFullAcc, m_editDiskSpace, m_comboKB, m_editNumMess, m_editNumMsg,
        m_editSentFolder, m_editDraftFolder, m_comboLang, m_editPIN, m_chkShowFldList,
        m_chkShowSub, m_btnOK, m_btnCancel};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void TDlgEditUser::slotTextChanged()
{
    notImplemented("TDlgEditUser::slotTextChanged()");
}

void TDlgEditUser::slotAdd()
{
    notImplemented("TDlgEditUser::slotAdd()");
}

void TDlgEditUser::slotChanged()
{
    notImplemented("TDlgEditUser::slotChanged()");
}

void TDlgEditUser::slotOK()
{
    notImplemented("TDlgEditUser::slotOK()");
}

void TDlgEditUser::slotRemove()
{
    notImplemented("TDlgEditUser::slotRemove()");
}
