#include "tdlgbrowse.h"

#include "choicebox.h"
#include "formwidgets.h"
#include "keyedpixmap.h"
#include "notimplemented.h"

#include "images/user.xpm"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;

QComboBox* makeNameField(QWidget* parent, const char* objectName)
{
    auto* combo = makeChild<ChoiceBox>(parent, objectName);
    // An editable box completes what is typed from its entries; domain, user and group
    // names are the same name in any letters.
    combo->makeEditable(ChoiceBox::Entries::Names);
    combo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return combo;
}

// The field labels are at least this wide, so that the two fields start alike.
constexpr int FieldLabelWidth = 50;

// At least FieldLabelWidth wide and never narrower than its text, however little room the
// field beside it leaves.
void keepFieldLabelWidth(QLabel* label)
{
    label->setMinimumWidth(qMax(FieldLabelWidth, label->minimumSizeHint().width()));
}

} // namespace

TDlgBrowse::TDlgBrowse(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgBrowse"));
    setModal(modal);
    createWidgets();
    createLayout();
    setTexts();
    connectSignals();
    resize(380, 278);
    setWindowIcon(keyedPixmap(QPixmap(user_xpm)));
}

TDlgBrowse::~TDlgBrowse()
{
    FormWidgets::quietenBoxes(this);
}

void TDlgBrowse::createWidgets()
{
    TextLabel1_2 = makeChild<QLabel>(this, "TextLabel1_2");
    m_comboDomain = makeNameField(this, "m_comboDomain");
    m_list = makeChild<QTreeWidget>(this, "m_list");
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setSortIndicatorShown(true);
    m_list->header()->setStretchLastSection(false);
    // The old list sorted by its first column until a header was clicked.
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(0, Qt::AscendingOrder);
    TextLabel1 = makeChild<QLabel>(this, "TextLabel1");
    m_comboName = makeNameField(this, "m_comboName");
    m_btnOK = makeChild<QPushButton>(this, "m_btnOK");
    m_btnOK->setAutoDefault(true);
    m_btnOK->setDefault(true);
    m_btnCancel = makeChild<QPushButton>(this, "m_btnCancel");
}

void TDlgBrowse::createLayout()
{
    TDlgBrowseLayout = new QVBoxLayout(this);
    TDlgBrowseLayout->setObjectName(QStringLiteral("TDlgBrowseLayout"));
    TDlgBrowseLayout->setContentsMargins(11, 11, 11, 11);
    TDlgBrowseLayout->setSpacing(6);

    Layout1 = new QHBoxLayout;
    Layout1->setObjectName(QStringLiteral("Layout1"));
    Layout1->setSpacing(6);
    Layout1->addWidget(TextLabel1_2);
    Layout1->addWidget(m_comboDomain);
    TDlgBrowseLayout->addLayout(Layout1);

    TDlgBrowseLayout->addWidget(m_list);

    Layout2 = new QHBoxLayout;
    Layout2->setObjectName(QStringLiteral("Layout2"));
    Layout2->setSpacing(6);
    Layout2->addWidget(TextLabel1);
    Layout2->addWidget(m_comboName);
    TDlgBrowseLayout->addLayout(Layout2);

    Layout3 = new QHBoxLayout;
    Layout3->setObjectName(QStringLiteral("Layout3"));
    Layout3->setSpacing(6);
    Layout3->addItem(horizontalSpacer());
    Layout3->addWidget(m_btnOK);
    Layout3->addWidget(m_btnCancel);
    TDlgBrowseLayout->addLayout(Layout3);
}

void TDlgBrowse::setTexts()
{
    setWindowTitle(tr("Find User"));
    TextLabel1_2->setText(tr("Domain:"));
    m_list->setHeaderLabels({tr("Name"), tr("Fullname"), tr("Description")});
    TextLabel1->setText(tr("Name:"));
    m_btnOK->setText(tr("OK"));
    m_btnCancel->setText(tr("Cancel"));
    keepFieldLabelWidth(TextLabel1_2);
    keepFieldLabelWidth(TextLabel1);
}

void TDlgBrowse::connectSignals()
{
    connect(m_btnCancel, &QPushButton::clicked, this, &TDlgBrowse::reject);
    connect(m_btnOK, &QPushButton::clicked, this, &TDlgBrowse::slotOK);
    connect(m_comboDomain, &QComboBox::textActivated, this, &TDlgBrowse::slotDomainChanged);
    connect(m_list, &QTreeWidget::itemClicked, this, &TDlgBrowse::slotSelected);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &TDlgBrowse::slotSelected);
    // Return on an entry only picks it, and Return that confirms a typed domain only
    // changes the domain: the list and the box pass the key on when done with it, and the
    // dialog would then press OK as well.
    m_list->installEventFilter(this);
    m_comboDomain->installEventFilter(this);
}

bool TDlgBrowse::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && FormWidgets::isReturnPress(event)) {
        slotSelected();
        return true;
    }
    if (watched == m_comboDomain && FormWidgets::isReturnPress(event)) {
        // The box confirms another domain typed as it handles the key, and passes it on:
        // taken as handled here, it goes no further. The domain shown, confirmed again, is
        // no choice: the list and a name typed stay, and the field shows the domain's name.
        const int domain = ChoiceBox::entryEqualTo(m_comboDomain, m_comboDomain->currentText());
        if (domain != m_comboDomain->currentIndex())
            static_cast<QObject*>(m_comboDomain)->event(event);
        else if (domain >= 0)
            m_comboDomain->setEditText(m_comboDomain->itemText(domain));
        event->accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TDlgBrowse::slotDomainChanged(const QString&)
{
    notImplemented("TDlgBrowse::slotDomainChanged(const QString &)");
}

void TDlgBrowse::slotOK()
{
    notImplemented("TDlgBrowse::slotOK()");
}

void TDlgBrowse::slotSelected()
{
    notImplemented("TDlgBrowse::slotSelected()");
}
