#include "tdlgattach.h"

#include "choicebox.h"
#include "formwidgets.h"
#include "notimplemented.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

namespace {

// A paper clip: the window's icon.
const char* const attachIcon[] = {
    "16 16 2 1",
    ". c None",
    "a c #404040",
    "................",
    "......aaaa......",
    ".....a....a.....",
    ".....a.aa.a.....",
    ".....a.aa.a.....",
    ".....a.aa.a.....",
    ".....a.aa.a.....",
    ".....a.aa.a.....",
    ".....a.aa.a.....",
    ".....a.aa.a.....",
    ".....a.aa.a.....",
    ".....a....a.....",
    ".....a....a.....",
    "......aaaa......",
    "................",
    "................",
};

QGridLayout* boxGrid(QGroupBox* box)
{
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(11, 11, 11, 11);
    grid->setSpacing(6);
    grid->setAlignment(Qt::AlignTop);
    return grid;
}

} // namespace

TDlgAttach::TDlgAttach(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgAttach"));
    setModal(modal);
    setWindowIcon(QPixmap(attachIcon));

    GroupBox1 = makeChild<QGroupBox>(this, "GroupBox1");
    m_comboType = makeChild<ChoiceBox>(GroupBox1, "m_comboType");
    auto* content = makeChild<ChoiceBox>(GroupBox1, "m_comboContent");
    content->makeEditable(ChoiceBox::Entries::Values);
    m_comboContent = content;
    m_comboContent->setInsertPolicy(QComboBox::NoInsert);
    m_comboContent->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    QGridLayout* typeGrid = boxGrid(GroupBox1);
    typeGrid->addWidget(m_comboType, 0, 0);
    typeGrid->addWidget(m_comboContent, 0, 1);

    ButtonGroup1 = makeChild<QGroupBox>(this, "ButtonGroup1");
    m_rbtnBlock = makeChild<QRadioButton>(ButtonGroup1, "m_rbtnBlock");
    m_rbtnAccept = makeChild<QRadioButton>(ButtonGroup1, "m_rbtnAccept");
    auto* exclusive = new QButtonGroup(ButtonGroup1);
    exclusive->addButton(m_rbtnBlock);
    exclusive->addButton(m_rbtnAccept);
    QGridLayout* actionGrid = boxGrid(ButtonGroup1);
    actionGrid->addWidget(m_rbtnBlock, 0, 0);
    actionGrid->addWidget(m_rbtnAccept, 1, 0);
    actionGrid->addItem(verticalSpacer(), 2, 0);

    m_btnOK = makeChild<QPushButton>(this, "m_btnOK");
    m_btnCancel = makeChild<QPushButton>(this, "m_btnCancel");
    auto* buttons = new QHBoxLayout;
    buttons->setObjectName(QStringLiteral("Layout26"));
    buttons->setSpacing(6);
    buttons->addItem(horizontalSpacer());
    buttons->addWidget(m_btnOK);
    buttons->addWidget(m_btnCancel);
    buttons->addItem(horizontalSpacer());

    TDlgAttachLayout = new QVBoxLayout(this);
    TDlgAttachLayout->setObjectName(QStringLiteral("TDlgAttachLayout"));
    TDlgAttachLayout->setContentsMargins(11, 11, 11, 11);
    TDlgAttachLayout->setSpacing(6);
    TDlgAttachLayout->addWidget(GroupBox1);
    TDlgAttachLayout->addWidget(ButtonGroup1);
    TDlgAttachLayout->addLayout(buttons);

    setWindowTitle(tr("Attachment Filter"));
    GroupBox1->setTitle(tr("If a mail message contains an attachement of"));
    m_comboType->addItem(tr("File name"));
    m_comboType->addItem(tr("MIME type"));
    ButtonGroup1->setTitle(tr("Then"));
    m_rbtnBlock->setText(tr("Block the attachement as defined on Action tab dialog"));
    m_rbtnAccept->setText(tr("Accept the attachement"));
    m_btnOK->setText(tr("OK"));
    m_btnCancel->setText(tr("Cancel"));

    connect(m_comboType, &QComboBox::activated, this, &TDlgAttach::slotTypeActivated);
    connect(m_btnOK, &QPushButton::clicked, this, &TDlgAttach::slotOK);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(325, 186);
}

TDlgAttach::~TDlgAttach() = default;

void TDlgAttach::slotOK()
{
    notImplemented("TDlgAttach::slotOK()");
}

void TDlgAttach::slotTypeActivated(int)
{
    notImplemented("TDlgAttach::slotTypeActivated(int)");
}
