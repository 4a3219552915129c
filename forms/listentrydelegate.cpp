#include "listentrydelegate.h"

#include "drawntext.h"
#include "shortenedtext.h"
#include "wholetexttip.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QIdentityProxyModel>
#include <QScreen>

#include <algorithm>

namespace {

// The part of the view's viewport the screens show, from left to right in the viewport's
// coordinates.
QRectF shownPart(const QAbstractItemView* view)
{
    const QWidget* viewport = view->viewport();
    QRect shown = viewport->rect();
    if (const QScreen* screen = viewport->screen()) {
        const QRect screens = screen->virtualGeometry();
        shown &= QRect(viewport->mapFromGlobal(screens.topLeft()), screens.size());
    }
    return shown;
}

// Whether a character shows as a glyph of its own; a style draws no line break, control or
// format character as text, and may well break a line at one.
bool showsAsGlyph(QChar c)
{
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return false;
    default:
        return true;
    }
}

// Whether every character of `text` that shows as a glyph is among those drawn, as often: a
// style's ellipsis takes some away. Runs come in the order they are drawn, right-to-left
// ones reordered, hence the counting.
bool holdsEveryCharacter(const QList<DrawnText::Run>& runs, const QString& text)
{
    QString drawn;
    for (const DrawnText::Run& run : runs)
        drawn += run.text;
    QString wanted = text;
    wanted.removeIf([](QChar c) { return !showsAsGlyph(c); });
    std::sort(drawn.begin(), drawn.end());
    std::sort(wanted.begin(), wanted.end());
    return std::includes(drawn.cbegin(), drawn.cend(), wanted.cbegin(), wanted.cend());
}

// Entries as a single line shows them; every other role, and every change, as the entries
// have them.
class OneLineEntries : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        const QVariant value = QIdentityProxyModel::data(index, role);
        if (role != Qt::DisplayRole || value.typeId() != QMetaType::QString)
            return value;
        return ShortenedText::oneLine(value.toString());
    }
};

} // namespace

ListEntryDelegate::ListEntryDelegate(const QAbstractItemView* list, QAbstractItemDelegate* wrapped, QObject* parent)
    : QAbstractItemDelegate(parent), m_list(list), m_wrapped(wrapped), m_oneLineEntries(new OneLineEntries(this))
{
    connect(wrapped, &QAbstractItemDelegate::sizeHintChanged, this, &QAbstractItemDelegate::sizeHintChanged);
}

// Only what the list draws comes from the one line; whatever the list does with an entry
// (picks it, searches for it, edits it) it does with the entry as stored.
QModelIndex ListEntryDelegate::shownAsOneLine(const QModelIndex& index) const
{
    QAbstractItemModel* entries = m_list->model();
    if (!index.isValid() || index.model() != entries)
        return index;
    if (m_oneLineEntries->sourceModel() != entries)
        m_oneLineEntries->setSourceModel(entries);
    return m_oneLineEntries->mapFromSource(index);
}

void ListEntryDelegate::remember(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // More than a list shows at once; past it, the entries the list no longer shows go.
    constexpr qsizetype Remembered = 256;
    if (m_drawnWith.size() >= Remembered) {
        const QRect shown = m_list->viewport()->rect();
        m_drawnWith.removeIf([this, &shown](const auto& entry) {
            return !shown.intersects(m_list->visualRect(entry.key()));
        });
    }
    m_drawnWith.insert(index, option);
}

void ListEntryDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (option.widget == m_list)
        remember(option, index);
    if (m_wrapped)
        m_wrapped->paint(painter, option, shownAsOneLine(index));
}

QSize ListEntryDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return m_wrapped ? m_wrapped->sizeHint(option, shownAsOneLine(index)) : QSize();
}

bool ListEntryDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                    const QModelIndex& index)
{
    return m_wrapped && m_wrapped->editorEvent(event, model, option, index);
}

QList<int> ListEntryDelegate::paintingRoles() const
{
    return m_wrapped ? m_wrapped->paintingRoles() : QList<int>();
}

bool ListEntryDelegate::drawnWhole(const QModelIndex& index) const
{
    const auto drawn = m_drawnWith.constFind(index);
    if (!m_wrapped || drawn == m_drawnWith.cend())
        return true;
    const QModelIndex oneLine = shownAsOneLine(index);
    const QList<DrawnText::Run> runs = DrawnText::ofEntry(m_wrapped, *drawn, oneLine, m_list->viewport());
    const QRectF shown = shownPart(m_list);
    const bool cut = std::any_of(runs.cbegin(), runs.cend(), [&shown](const DrawnText::Run& run) {
        const bool beyond = !run.ink.isEmpty() && (run.ink.left() < shown.left() || run.ink.right() > shown.right());
        return run.clipped || beyond;
    });
    return !cut && holdsEveryCharacter(runs, oneLine.data(Qt::DisplayRole).toString());
}

bool ListEntryDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                  const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid() || view != m_list || drawnWhole(index))
        return m_wrapped && m_wrapped->helpEvent(event, view, option, index);
    WholeTextTip::show(event->globalPos(), index.data(Qt::DisplayRole).toString(), view->viewport(), option.rect);
    return true;
}
