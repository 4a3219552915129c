#include "twndnavigation.h"

#include "formwidgets.h"
#include "notimplemented.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTreeWidget>

namespace {

// Keeps a blank margin of the given width around every cell's contents, so that rows
// do not touch each other.
class ItemMarginDelegate : public QStyledItemDelegate
{
public:
    ItemMarginDelegate(int margin, QObject* parent)
        : QStyledItemDelegate(parent)
        , m_margin(margin)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index)
            + QSize(2 * m_margin, 2 * m_margin);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem inner(option);
        inner.rect.adjust(m_margin, m_margin, -m_margin, -m_margin);
        QStyledItemDelegate::paint(painter, inner, index);
    }

private:
    int m_margin;
};

} // namespace

TWndNavigation::TWndNavigation(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndNavigation"));
    createWidgets();
    createLayout();
    setTexts();
    connectSignals();
    resize(410, 239);
}

TWndNavigation::~TWndNavigation() = default;

void TWndNavigation::createWidgets()
{
    m_list = FormWidgets::makeChild<QTreeWidget>(this, "m_list");
    m_list->setColumnCount(2);
    m_list->setRootIsDecorated(false);
    m_list->setFrameShape(QFrame::StyledPanel);
    m_list->setFrameShadow(QFrame::Sunken);
    m_list->setItemDelegate(new ItemMarginDelegate(1, m_list));
    // Each column follows its widest entry.
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // A list sorts its rows by the first column unless told otherwise.
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(0, Qt::AscendingOrder);
}

void TWndNavigation::createLayout()
{
    TWndNavigationLayout = new QGridLayout(this);
    TWndNavigationLayout->setObjectName(QStringLiteral("TWndNavigationLayout"));
    TWndNavigationLayout->setContentsMargins(11, 11, 11, 11);
    TWndNavigationLayout->setSpacing(11);
    TWndNavigationLayout->addWidget(m_list, 0, 0);
}

void TWndNavigation::setTexts()
{
    setWindowTitle(tr("Form1"));
    m_list->setHeaderLabels({tr("Section"), tr("Description")});
}

void TWndNavigation::connectSignals()
{
    // Not itemActivated: some styles activate on a single click, which must only move
    // the current row here. Return is taken by eventFilter().
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &TWndNavigation::slotNavigate);
    m_list->installEventFilter(this);
}

bool TWndNavigation::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && FormWidgets::isReturnPress(event)) {
        slotNavigate(m_list->currentItem());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TWndNavigation::slotNavigate(QTreeWidgetItem*)
{
    notImplemented("TWndNavigation::slotNavigate(QListViewItem *)");
}
