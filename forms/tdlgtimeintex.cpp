#include "tdlgtimeintex.h"

#include "formwidgets.h"
#include "notimplemented.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <limits>

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;

TDlgTimeIntEx::TDlgTimeIntEx(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgTimeIntEx"));
    setModal(modal);
    createWidgets();
    createLayout();
    setTexts();
    connectSignals();
    resize(520, 400);
}

TDlgTimeIntEx::~TDlgTimeIntEx() = default;

void TDlgTimeIntEx::createWidgets()
{
    m_labelRange = makeChild<QLabel>(this, "m_labelRange");
    m_comboRange = makeChild<QComboBox>(this, "m_comboRange");
    m_comboRange->setEditable(true);
    m_comboRange->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_btnRenameRange = makeChild<QPushButton>(this, "m_btnRenameRange");
    m_btnRemoveRange = makeChild<QPushButton>(this, "m_btnRemoveRange");
    m_list = makeChild<QTreeWidget>(this, "m_list");
    m_list->setColumnCount(5);
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_labelDesc = makeChild<QLabel>(this, "m_labelDesc");
    m_editDesc = makeChild<QLineEdit>(this, "m_editDesc");
    m_labelType = makeChild<QLabel>(this, "m_labelType");
    m_comboType = makeChild<QComboBox>(this, "m_comboType");
    m_labelDays = makeChild<QLabel>(this, "m_labelDays");
    m_editDays = makeChild<QLineEdit>(this, "m_editDays");
    // The digits of the days, 1 for Monday to 7 for Sunday.
    m_editDays->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[1-7]{0,7}")), m_editDays));
    m_labelStart = makeChild<QLabel>(this, "m_labelStart");
    m_spinStart = makeChild<QSpinBox>(this, "m_spinStart");
    m_spinStart->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    m_labelEnd = makeChild<QLabel>(this, "m_labelEnd");
    m_spinEnd = makeChild<QSpinBox>(this, "m_spinEnd");
    m_spinEnd->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    m_btnAdd = makeChild<QPushButton>(this, "m_btnAdd");
    m_btnEdit = makeChild<QPushButton>(this, "m_btnEdit");
    m_btnRemove = makeChild<QPushButton>(this, "m_btnRemove");
    m_line = makeChild<QFrame>(this, "m_line");
    m_line->setFrameShape(QFrame::HLine);
    m_line->setFrameShadow(QFrame::Sunken);
    m_btnOK = makeChild<QPushButton>(this, "m_btnOK");
    m_btnOK->setDefault(true);
    m_btnCancel = makeChild<QPushButton>(this, "m_btnCancel");
}

void TDlgTimeIntEx::createLayout()
{
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(11, 11, 11, 11);
    top->setSpacing(6);

    auto* groupRow = new QHBoxLayout;
    groupRow->addWidget(m_labelRange);
    groupRow->addWidget(m_comboRange);
    groupRow->addWidget(m_btnRenameRange);
    groupRow->addWidget(m_btnRemoveRange);
    top->addLayout(groupRow);
    top->addWidget(m_list);

    auto* fields = new QGridLayout;
    fields->addWidget(m_labelDesc, 0, 0);
    fields->addWidget(m_editDesc, 0, 1, 1, 3);
    fields->addWidget(m_labelType, 1, 0);
    fields->addWidget(m_comboType, 1, 1);
    fields->addWidget(m_labelDays, 1, 2);
    fields->addWidget(m_editDays, 1, 3);
    fields->addWidget(m_labelStart, 2, 0);
    fields->addWidget(m_spinStart, 2, 1);
    fields->addWidget(m_labelEnd, 2, 2);
    fields->addWidget(m_spinEnd, 2, 3);
    top->addLayout(fields);

    auto* entryButtons = new QHBoxLayout;
    entryButtons->addItem(horizontalSpacer());
    entryButtons->addWidget(m_btnAdd);
    entryButtons->addWidget(m_btnEdit);
    entryButtons->addWidget(m_btnRemove);
    top->addLayout(entryButtons);

    top->addWidget(m_line);
    auto* closeButtons = new QHBoxLayout;
    closeButtons->addItem(horizontalSpacer());
    closeButtons->addWidget(m_btnOK);
    closeButtons->addWidget(m_btnCancel);
    top->addLayout(closeButtons);
}

void TDlgTimeIntEx::setTexts()
{
    setWindowTitle(tr("Time Range"));
    m_labelRange->setText(tr("Range:"));
    m_btnRenameRange->setText(tr("Re&name..."));
    m_btnRemoveRange->setText(tr("Remove Ran&ge"));
    m_list->setHeaderLabels({tr("Description"), tr("Type"), tr("Days"), tr("Start"), tr("End")});
    m_labelDesc->setText(tr("Description:"));
    m_labelType->setText(tr("Type:"));
    m_comboType->addItems({tr("Daily"), tr("Weekly"), tr("Absolute")});
    m_labelDays->setText(tr("Days:"));
    m_labelStart->setText(tr("Start:"));
    m_labelEnd->setText(tr("End:"));
    m_btnAdd->setText(tr("&Add"));
    m_btnEdit->setText(tr("&Edit"));
    m_btnRemove->setText(tr("&Remove"));
    m_btnOK->setText(tr("OK"));
    m_btnCancel->setText(tr("Cancel"));
}

void TDlgTimeIntEx::connectSignals()
{
    connect(m_btnCancel, &QPushButton::clicked, this, &TDlgTimeIntEx::reject);
    connect(m_btnOK, &QPushButton::clicked, this, &TDlgTimeIntEx::slotOK);
    connect(m_comboRange, &QComboBox::currentTextChanged, this, &TDlgTimeIntEx::slotRangeChanged);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &TDlgTimeIntEx::slotSelected);
    connect(m_editDesc, &QLineEdit::textChanged, this, &TDlgTimeIntEx::slotFieldsChanged);
    connect(m_btnAdd, &QPushButton::clicked, this, &TDlgTimeIntEx::slotAdd);
    connect(m_btnEdit, &QPushButton::clicked, this, &TDlgTimeIntEx::slotEdit);
    connect(m_btnRemove, &QPushButton::clicked, this, &TDlgTimeIntEx::slotRemove);
    connect(m_btnRenameRange, &QPushButton::clicked, this, &TDlgTimeIntEx::slotRenameRange);
    connect(m_btnRemoveRange, &QPushButton::clicked, this, &TDlgTimeIntEx::slotRemoveRange);
}

void TDlgTimeIntEx::slotRangeChanged(const QString&)
{
    notImplemented("TDlgTimeIntEx::slotRangeChanged(const QString&)");
}

void TDlgTimeIntEx::slotSelected()
{
    notImplemented("TDlgTimeIntEx::slotSelected()");
}

void TDlgTimeIntEx::slotFieldsChanged()
{
    notImplemented("TDlgTimeIntEx::slotFieldsChanged()");
}

void TDlgTimeIntEx::slotAdd()
{
    notImplemented("TDlgTimeIntEx::slotAdd()");
}

void TDlgTimeIntEx::slotEdit()
{
    notImplemented("TDlgTimeIntEx::slotEdit()");
}

void TDlgTimeIntEx::slotRemove()
{
    notImplemented("TDlgTimeIntEx::slotRemove()");
}

void TDlgTimeIntEx::slotRenameRange()
{
    notImplemented("TDlgTimeIntEx::slotRenameRange()");
}

void TDlgTimeIntEx::slotRemoveRange()
{
    notImplemented("TDlgTimeIntEx::slotRemoveRange()");
}

void TDlgTimeIntEx::slotOK()
{
    notImplemented("TDlgTimeIntEx::slotOK()");
}
