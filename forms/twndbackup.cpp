#include "twndbackup.h"

#include "formwidgets.h"
#include "notimplemented.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

TWndBackup::TWndBackup(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndBackup"));
    createWidgets();
    createLayout();
    setTexts();
    connectSignals();
    FormWidgets::setTabOrder({m_chkEnable, m_rbtnBackup, m_rbtnOnly, m_chkRemote,
                                m_editRemote, m_chkLocal, m_editFormat});
    resize(525, 304);
}

TWndBackup::~TWndBackup() = default;

void TWndBackup::createWidgets()
{
    m_chkEnable = makeChild<QCheckBox>(this, "m_chkEnable");
    ButtonGroup1 = makeChild<QGroupBox>(this, "ButtonGroup1");
    m_rbtnBackup = makeChild<QRadioButton>(ButtonGroup1, "m_rbtnBackup");
    m_rbtnOnly = makeChild<QRadioButton>(ButtonGroup1, "m_rbtnOnly");
    m_modeGroup = new QButtonGroup(this);
    m_modeGroup->addButton(m_rbtnBackup);
    m_modeGroup->addButton(m_rbtnOnly);

    GroupBox1 = makeChild<QGroupBox>(this, "GroupBox1");
    m_chkRemote = makeChild<QCheckBox>(GroupBox1, "m_chkRemote");
    m_editRemote = makeChild<QLineEdit>(GroupBox1, "m_editRemote");
    m_chkLocal = makeChild<QCheckBox>(GroupBox1, "m_chkLocal");
    TextLabel8_2 = makeChild<QLabel>(GroupBox1, "TextLabel8_2");
    TextLabel8_2->setFixedWidth(20);
    TextLabel18 = makeChild<QLabel>(GroupBox1, "TextLabel18");
    m_editFormat = makeChild<QLineEdit>(GroupBox1, "m_editFormat");
    Frame12 = makeChild<QFrame>(GroupBox1, "Frame12");
    Frame12->setFrameShape(QFrame::Box);
    Frame12->setFrameShadow(QFrame::Sunken);
    TextLabel10_5_2 = makeChild<QLabel>(Frame12, "TextLabel10_5_2");
    TextLabel10_2_2_2 = makeChild<QLabel>(Frame12, "TextLabel10_2_2_2");
    TextLabel10_3_4_2 = makeChild<QLabel>(Frame12, "TextLabel10_3_4_2");
    TextLabel10_3_2_2_2 = makeChild<QLabel>(Frame12, "TextLabel10_3_2_2_2");
    TextLabel10_4_2_2 = makeChild<QLabel>(Frame12, "TextLabel10_4_2_2");
    TextLabel10_3_3_2_2 = makeChild<QLabel>(Frame12, "TextLabel10_3_3_2_2");
    m_editView = makeChild<QLineEdit>(GroupBox1, "m_editView");
    m_editView->setEnabled(false);
    TextLabel39 = makeChild<QLabel>(GroupBox1, "TextLabel39");
    m_editFolder = makeChild<QLineEdit>(GroupBox1, "m_editFolder");
    m_btnBrowse = makeChild<QPushButton>(GroupBox1, "m_btnBrowse");
    TextLabel40 = makeChild<QLabel>(GroupBox1, "TextLabel40");
}

void TWndBackup::createLayout()
{
    TWndBackupLayout = new QVBoxLayout(this);
    TWndBackupLayout->setObjectName(QStringLiteral("TWndBackupLayout"));
    TWndBackupLayout->setContentsMargins(11, 11, 11, 11);
    TWndBackupLayout->setSpacing(6);
    TWndBackupLayout->addWidget(m_chkEnable);

    ButtonGroup1Layout = new QVBoxLayout(ButtonGroup1);
    ButtonGroup1Layout->setContentsMargins(11, 11, 11, 11);
    ButtonGroup1Layout->setSpacing(6);
    ButtonGroup1Layout->addWidget(m_rbtnBackup);
    ButtonGroup1Layout->addWidget(m_rbtnOnly);
    TWndBackupLayout->addWidget(ButtonGroup1);

    GroupBox1Layout = new QGridLayout(GroupBox1);
    GroupBox1Layout->setContentsMargins(11, 11, 11, 11);
    GroupBox1Layout->setSpacing(6);
    GroupBox1Layout->addWidget(m_chkRemote, 0, 0, 1, 2);
    GroupBox1Layout->addWidget(m_editRemote, 0, 2, 1, 3);
    GroupBox1Layout->addWidget(m_chkLocal, 1, 0, 1, 3);
    GroupBox1Layout->addWidget(TextLabel8_2, 2, 0);
    GroupBox1Layout->addWidget(TextLabel18, 2, 1);
    GroupBox1Layout->addWidget(m_editFormat, 2, 2);
    GroupBox1Layout->addWidget(Frame12, 2, 3, 2, 2);
    GroupBox1Layout->addWidget(m_editView, 3, 2);
    GroupBox1Layout->addWidget(TextLabel39, 4, 1);
    GroupBox1Layout->addWidget(m_editFolder, 4, 2);
    GroupBox1Layout->addWidget(m_btnBrowse, 4, 3);
    GroupBox1Layout->addWidget(TextLabel40, 5, 1, 1, 2);

    Frame12Layout = new QGridLayout(Frame12);
    Frame12Layout->setContentsMargins(11, 11, 11, 11);
    Frame12Layout->setSpacing(6);
    Frame12Layout->addWidget(TextLabel10_5_2, 0, 0);
    Frame12Layout->addWidget(TextLabel10_2_2_2, 0, 1);
    Frame12Layout->addWidget(TextLabel10_3_4_2, 1, 0);
    Frame12Layout->addWidget(TextLabel10_3_2_2_2, 1, 1);
    Frame12Layout->addWidget(TextLabel10_4_2_2, 2, 0);
    Frame12Layout->addWidget(TextLabel10_3_3_2_2, 2, 1);

    TWndBackupLayout->addWidget(GroupBox1);
    TWndBackupLayout->addItem(verticalSpacer());
}

void TWndBackup::setTexts()
{
    setWindowTitle(tr("Backup"));
    m_chkEnable->setText(tr("&Enable mail backup"));
    ButtonGroup1->setTitle(tr("Backup"));
    m_rbtnBackup->setText(tr("&Backup everything"));
    m_rbtnOnly->setText(tr("&Only outgoing mail"));
    GroupBox1->setTitle(tr("Options"));
    m_chkRemote->setText(tr("Backup to &remote address"));
    m_chkLocal->setText(tr("Backup to &local folder"));
    TextLabel18->setText(tr("Folder name format: #backup/"));
    TextLabel10_5_2->setText(tr("%Y year"));
    TextLabel10_2_2_2->setText(tr("%W week (01-53)"));
    TextLabel10_3_4_2->setText(tr("%M month number"));
    TextLabel10_3_2_2_2->setText(tr("%m month name"));
    TextLabel10_4_2_2->setText(tr("%D day (01-31)"));
    TextLabel10_3_3_2_2->setText(tr("%d day name"));
    TextLabel39->setText(tr("Backup folder administrator:"));
    m_btnBrowse->setText(tr("&Select..."));
    TextLabel40->setText(tr("(user or group that has access to backup folders)"));
}

void TWndBackup::connectSignals()
{
    for (QAbstractButton* button : {static_cast<QAbstractButton*>(m_chkEnable),
                                    static_cast<QAbstractButton*>(m_rbtnBackup),
                                    static_cast<QAbstractButton*>(m_rbtnOnly),
                                    static_cast<QAbstractButton*>(m_chkRemote),
                                    static_cast<QAbstractButton*>(m_chkLocal)})
        connect(button, &QAbstractButton::clicked, this, &TWndBackup::slotChanged);
    for (QLineEdit* field : {m_editRemote, m_editFormat, m_editFolder})
        connect(field, &QLineEdit::textChanged, this, &TWndBackup::slotChanged);
    connect(m_btnBrowse, &QPushButton::clicked, this, &TWndBackup::slotSelect);
}

void TWndBackup::slotChanged()
{
    notImplemented("TWndBackup::slotChanged()");
}

void TWndBackup::slotSelect()
{
    notImplemented("TWndBackup::slotSelect()");
}
