#include "tdlgpicker.h"

#include "formwidgets.h"
#include "notimplemented.h"

#include "images/ornelcon16.xpm"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using FormWidgets::makeChild;

TDlgPicker::TDlgPicker(const Texts& texts, QWidget* parent, const char* name, bool modal,
                       Qt::WindowFlags fl)
    : QDialog(parent, fl)
    , m_className(texts.className)
{
    setObjectName(QLatin1String(name ? name : texts.className));
    setModal(modal);
    setWindowTitle(texts.caption);
    setWindowIcon(QPixmap(ornelcon16_xpm));

    m_list = makeChild<QTreeWidget>(this, texts.listName);
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels(texts.columns);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setSortIndicatorShown(true);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(0, Qt::AscendingOrder);
    m_btnOK = makeChild<QPushButton>(this, "m_btnOK");
    m_btnOK->setText(tr("OK"));
    m_btnOK->setEnabled(false);
    m_btnCancel = makeChild<QPushButton>(this, "m_btnCancel");
    m_btnCancel->setText(tr("Cancel"));

    TDlgPickerLayout = new QHBoxLayout(this);
    TDlgPickerLayout->setContentsMargins(11, 11, 11, 11);
    TDlgPickerLayout->setSpacing(6);
    TDlgPickerLayout->addWidget(m_list);
    Layout1 = new QVBoxLayout;
    Layout1->setSpacing(6);
    Layout1->addWidget(m_btnOK);
    Layout1->addWidget(m_btnCancel);
    Layout1->addItem(FormWidgets::verticalSpacer());
    TDlgPickerLayout->addLayout(Layout1);

    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &TDlgPicker::slotSelect);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
}

TDlgPicker::~TDlgPicker() = default;

void TDlgPicker::slotSelect()
{
    notImplemented(qPrintable(QLatin1String(m_className) + QLatin1String("::slotSelect()")));
}
