#include "tdlgedituser.h"

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

QLabel* makeLabel(QWidget* parent, const char* objectName, const QString& text)
{
    auto* label = makeChild<QLabel>(parent, objectName);
    label->setText(text);
    return label;
}

QLineEdit* makeEdit(QWidget* parent, const char* objectName, bool secret = false)
{
    auto* edit = makeChild<QLineEdit>(parent, objectName);
    if (secret)
        edit->setEchoMode(QLineEdit::Password);
    return edit;
}

// A label of at least 120 pixels and its field, in a row of the general tab.
void addRow(QVBoxLayout* column, QLabel* label, QWidget* field)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    label->setMinimumWidth(120);
    row->addWidget(label);
    row->addWidget(field);
    column->addLayout(row);
}

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
    TextLabel1 = makeLabel(general, "TextLabel1", tr("Name:"));
    m_editName = makeEdit(general, "m_editName");
    m_editName->setEnabled(false);
    TextLabel2 = makeLabel(general, "TextLabel2", tr("Full Name:"));
    m_editFull = makeEdit(general, "m_editFull");
    TextLabel3 = makeLabel(general, "TextLabel3", tr("Description:"));
    m_editDesk = makeEdit(general, "m_editDesk");
    TextLabel6 = makeLabel(general, "TextLabel6", tr("Authentication:"));
    m_auth = makeChild<QComboBox>(general, "m_auth");
    m_auth->setEditable(false);
    m_lblPass = makeLabel(general, "m_lblPass", tr("Password"));
    m_editPass = makeEdit(general, "m_editPass", true);
    m_lblPass2 = makeLabel(general, "m_lblPass2", tr("Confirm password:"));
    m_editConfPass = makeEdit(general, "m_editConfPass", true);
    m_chkDisabled = makeChild<QCheckBox>(general, "m_chkDisabled");
    m_chkDisabled->setText(tr("&Account is disabled"));

    auto* column = new QVBoxLayout(general);
    column->setContentsMargins(11, 11, 11, 11);
    column->setSpacing(6);
    addRow(column, TextLabel1, m_editName);
    addRow(column, TextLabel2, m_editFull);
    addRow(column, TextLabel3, m_editDesk);
    addRow(column, TextLabel6, m_auth);
    addRow(column, m_lblPass, m_editPass);
    addRow(column, m_lblPass2, m_editConfPass);
    column->addWidget(m_chkDisabled);
    column->addItem(verticalSpacer());
}

void TDlgEditUser::createGroupsTab()
{
    groups = makePage(m_tab, "groups", tr("Groups"));
    m_listGroups = makeChild<QTreeWidget>(groups, "m_listGroups");
    m_listGroups->setRootIsDecorated(false);
    m_listGroups->setHeaderLabels({tr("Name"), tr("Description")});
    m_listGroups->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_listGroups->setAllColumnsShowFocus(true);
    m_listGroups->header()->setSortIndicatorShown(true);
    m_btnAdd = makeChild<QPushButton>(groups, "m_btnAdd");
    m_btnAdd->setText(tr("Add..."));
    m_btnRemove = makeChild<QPushButton>(groups, "m_btnRemove");
    m_btnRemove->setText(tr("Remove"));

    auto* row = new QHBoxLayout(groups);
    row->setContentsMargins(11, 11, 11, 11);
    row->setSpacing(6);
    row->addWidget(m_listGroups);
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(m_btnAdd);
    buttons->addWidget(m_btnRemove);
    buttons->addItem(verticalSpacer());
    row->addLayout(buttons);
}

void TDlgEditUser::createRightsTab()
{
    rights = makePage(m_tab, "rights", tr("Rights"));
    ButtonGroup1 = makeChild<QGroupBox>(rights, "ButtonGroup1");
    ButtonGroup1->setTitle(tr("User Rights"));
    ButtonGroup1Buttons = new QButtonGroup(ButtonGroup1);
    m_rbtnNoAcc = makeChild<QRadioButton>(ButtonGroup1, "m_rbtnNoAcc");
    m_rbtnNoAcc->setText(tr("&No access to administration"));
    m_rbtnNoAcc->setChecked(true);
    m_rbtnViewLogs = makeChild<QRadioButton>(ButtonGroup1, "m_rbtnViewLogs");
    m_rbtnViewLogs->setText(tr("&Read only access"));
    m_rbtnFullAcc = makeChild<QRadioButton>(ButtonGroup1, "m_rbtnFullAcc");
    m_rbtnFullAcc->setText(tr("Read/&write access"));
    auto* buttons = new QVBoxLayout(ButtonGroup1);
    buttons->setSpacing(6);
    for (QRadioButton* button : {m_rbtnNoAcc, m_rbtnViewLogs, m_rbtnFullAcc}) {
        ButtonGroup1Buttons->addButton(button);
        buttons->addWidget(button);
    }

    auto* column = new QVBoxLayout(rights);
    column->setContentsMargins(11, 11, 11, 11);
    column->addWidget(ButtonGroup1);
    column->addItem(verticalSpacer());
}

void TDlgEditUser::createQuotaTab()
{
    tab = makePage(m_tab, "tab", tr("Quota"));
    GroupBox1 = makeChild<QGroupBox>(tab, "GroupBox1");
    GroupBox1->setTitle(tr("User quota"));
    TextLabel7_2 = makeLabel(GroupBox1, "TextLabel7_2", tr("Disk space (bytes):"));
    m_editDiskSpace = makeEdit(GroupBox1, "m_editDiskSpace");
    m_comboKB = makeChild<QComboBox>(GroupBox1, "m_comboKB");
    m_comboKB->addItems({tr("KB"), tr("MB"), tr("GB")});
    TextLabel8_2 = makeLabel(GroupBox1, "TextLabel8_2", tr("Number of messages:"));
    m_editNumMess = makeEdit(GroupBox1, "m_editNumMess");
    TextLabel9_2 = makeLabel(GroupBox1, "TextLabel9_2",
                             tr("                                   Tip: (0 means unlimited)"));

    auto* grid = new QGridLayout(GroupBox1);
    grid->setSpacing(6);
    grid->addWidget(TextLabel7_2, 0, 0);
    grid->addWidget(m_editDiskSpace, 0, 1);
    grid->addWidget(m_comboKB, 0, 2);
    grid->addWidget(TextLabel8_2, 1, 0);
    grid->addWidget(m_editNumMess, 1, 1);
    grid->addWidget(TextLabel9_2, 2, 0, 1, 3);

    auto* column = new QVBoxLayout(tab);
    column->setContentsMargins(11, 11, 11, 11);
    column->addWidget(GroupBox1);
    column->addItem(verticalSpacer());
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
