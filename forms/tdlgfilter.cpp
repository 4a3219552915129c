#include "tdlgfilter.h"

#include "choicebox.h"
#include "formwidgets.h"
#include "notimplemented.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

namespace {

// A funnel over a sheet: the window's icon.
const char* const filterIcon[] = {
    "16 16 3 1",
    ". c None",
    "a c #000080",
    "b c #ffffff",
    "................",
    ".aaaaaaaaaaaaaa.",
    ".abbbbbbbbbbbba.",
    "..abbbbbbbbbba..",
    "...abbbbbbbba...",
    "....abbbbbba....",
    ".....abbbba.....",
    "......abba......",
    "......abba......",
    "......abba......",
    "......abba......",
    "......abba......",
    "......abba......",
    "......aaaa......",
    "................",
    "................",
};

} // namespace

TDlgFilter::TDlgFilter(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgFilter"));
    setModal(modal);
    setWindowIcon(QPixmap(filterIcon));

    ButtonGroup15 = makeChild<QGroupBox>(this, "ButtonGroup15");
    TextLabel1 = makeChild<QLabel>(ButtonGroup15, "TextLabel1");
    auto* header = makeChild<ChoiceBox>(ButtonGroup15, "m_comboHeader");
    header->makeEditable(ChoiceBox::Entries::Values);
    m_comboHeader = header;
    // Typed text stays in the field; it is never made an entry of the list.
    m_comboHeader->setInsertPolicy(QComboBox::NoInsert);
    TextLabel2 = makeChild<QLabel>(ButtonGroup15, "TextLabel2");
    m_comboType = makeChild<ChoiceBox>(ButtonGroup15, "m_comboType");
    m_lblContent = makeChild<QLabel>(ButtonGroup15, "m_lblContent");
    m_editContent = makeChild<QLineEdit>(ButtonGroup15, "m_editContent");
    m_rbtnOK = makeChild<QPushButton>(this, "m_rbtnOK");
    m_rbtnOK->setDefault(true);
    m_rbtnCancel = makeChild<QPushButton>(this, "m_rbtnCancel");

    auto* grid = new QGridLayout(ButtonGroup15);
    grid->setContentsMargins(11, 11, 11, 11);
    grid->setSpacing(6);
    grid->addWidget(TextLabel1, 0, 0);
    grid->addWidget(m_comboHeader, 0, 1);
    grid->addWidget(TextLabel2, 1, 0);
    grid->addWidget(m_comboType, 1, 1);
    grid->addWidget(m_lblContent, 2, 0);
    grid->addWidget(m_editContent, 2, 1);
    grid->addItem(verticalSpacer(), 3, 0);

    auto* buttons = new QHBoxLayout;
    buttons->setObjectName(QStringLiteral("Layout209"));
    buttons->setSpacing(6);
    buttons->addItem(horizontalSpacer());
    buttons->addWidget(m_rbtnOK);
    buttons->addWidget(m_rbtnCancel);
    buttons->addItem(horizontalSpacer());

    TDlgFilterLayout = new QVBoxLayout(this);
    TDlgFilterLayout->setObjectName(QStringLiteral("TDlgFilterLayout"));
    TDlgFilterLayout->setContentsMargins(11, 11, 11, 11);
    TDlgFilterLayout->setSpacing(6);
    TDlgFilterLayout->addWidget(ButtonGroup15);
    TDlgFilterLayout->addLayout(buttons);

    setWindowTitle(tr("Header Filter"));
    ButtonGroup15->setTitle(tr("Settings"));
    TextLabel1->setText(tr("Header:"));
    TextLabel2->setText(tr("Type:"));
    m_lblContent->setText(tr("Content:"));
    m_rbtnOK->setText(tr("OK"));
    m_rbtnCancel->setText(tr("Cancel"));

    connect(m_rbtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_rbtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_comboType, &QComboBox::activated, this, &TDlgFilter::slotTypeActivated);
    FormWidgets::setTabOrder({m_comboHeader, m_comboType, m_editContent, m_rbtnOK, m_rbtnCancel});
    resize(233, 176);
}

TDlgFilter::~TDlgFilter() = default;

void TDlgFilter::slotTypeActivated(int)
{
    notImplemented("TDlgFilter::slotTypeActivated(int)");
}
