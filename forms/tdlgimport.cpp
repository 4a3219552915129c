#include "tdlgimport.h"

#include "choicebox.h"
#include "formwidgets.h"

#include "images/user.xpm"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

TDlgImport::TDlgImport(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgImport"));
    setModal(modal);
    setWindowTitle(tr("Import Users"));
    setWindowIcon(QPixmap(user_xpm));

    TextLabel1 = makeChild<QLabel>(this, "TextLabel1");
    TextLabel1->setText(tr("Import users from"));
    m_comboFrom = makeChild<ChoiceBox>(this, "m_comboFrom");
    m_comboFrom->addItem(tr("NT Domain"));
    m_editDomain = makeChild<QLineEdit>(this, "m_editDomain");
    m_btnOK = makeChild<QPushButton>(this, "m_btnOK");
    m_btnOK->setText(tr("OK"));
    m_btnOK->setDefault(true);
    m__btnCancel = makeChild<QPushButton>(this, "m__btnCancel");
    m__btnCancel->setText(tr("Cancel"));

    TDlgImportLayout = new QGridLayout(this);
    TDlgImportLayout->setObjectName(QStringLiteral("TDlgImportLayout"));
    TDlgImportLayout->setContentsMargins(11, 11, 11, 11);
    TDlgImportLayout->setSpacing(6);
    TDlgImportLayout->addWidget(TextLabel1, 0, 0);
    TDlgImportLayout->addWidget(m_comboFrom, 0, 1);
    TDlgImportLayout->addWidget(m_editDomain, 0, 2);
    TDlgImportLayout->addItem(verticalSpacer(), 1, 0);
    Layout5 = FormWidgets::centredButtons({m_btnOK, m__btnCancel});
    Layout5->setObjectName(QStringLiteral("Layout5"));
    TDlgImportLayout->addLayout(Layout5, 2, 0, 1, 3);

    connect(m_btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m__btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(m_editDomain, m_btnOK);
    setTabOrder(m_btnOK, m__btnCancel);
    setTabOrder(m__btnCancel, m_comboFrom);
    resize(317, 88);
}

TDlgImport::~TDlgImport() = default;
