#include "tdlgimport2.h"

#include "choicebox.h"
#include "formwidgets.h"

#include "images/user.xpm"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>

using FormWidgets::makeChild;

TDlgImport2::TDlgImport2(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgImport2"));
    setModal(modal);
    setWindowTitle(tr("Import Users"));
    setWindowIcon(QPixmap(user_xpm));

    TextLabel13 = makeChild<QLabel>(this, "TextLabel13");
    TextLabel13->setText(tr("Template:"));
    m_combo = makeChild<ChoiceBox>(this, "m_combo");
    m_combo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_list = makeChild<QTreeWidget>(this, "m_list");
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({tr("Name"), tr("Fullname"), tr("Description")});
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(0, Qt::AscendingOrder);
    m_btnOK = makeChild<QPushButton>(this, "m_btnOK");
    m_btnOK->setText(tr("OK"));
    m_btnOK->setDefault(true);
    m__btnCancel = makeChild<QPushButton>(this, "m__btnCancel");
    m__btnCancel->setText(tr("Cancel"));

    TDlgImport2Layout = new QGridLayout(this);
    TDlgImport2Layout->setObjectName(QStringLiteral("TDlgImport2Layout"));
    TDlgImport2Layout->setContentsMargins(11, 11, 11, 11);
    TDlgImport2Layout->setSpacing(6);
    Layout84 = new QHBoxLayout;
    Layout84->setObjectName(QStringLiteral("Layout84"));
    Layout84->setSpacing(6);
    Layout84->addWidget(TextLabel13);
    Layout84->addWidget(m_combo);
    TDlgImport2Layout->addLayout(Layout84, 0, 0);
    TDlgImport2Layout->addWidget(m_list, 1, 0);
    Layout5 = FormWidgets::centredButtons({m_btnOK, m__btnCancel});
    Layout5->setObjectName(QStringLiteral("Layout5"));
    TDlgImport2Layout->addLayout(Layout5, 2, 0);

    connect(m_btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m__btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(m_combo, m_list);
    setTabOrder(m_list, m_btnOK);
    setTabOrder(m_btnOK, m__btnCancel);
    resize(406, 236);
}

TDlgImport2::~TDlgImport2() = default;
