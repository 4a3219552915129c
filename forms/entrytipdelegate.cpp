#include "entrytipdelegate.h"

#include "drawntext.h"
#include "shortenedtext.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QScreen>
#include <QToolTip>

#include <algorithm>

namespace {

// The part of the view's viewport the screen shows, from left to right in the viewport's
// coordinates.
QRectF shownPart(const QAbstractItemView* view)
{
    const QWidget* viewport = view->viewport();
    QRect shown = viewport->rect();
    if (const QScreen* screen = viewport->screen())
        shown &= QRect(viewport->mapFromGlobal(screen->geometry().topLeft()), screen->geometry().size());
    return shown;
}

// Whether every character of `text` is among those drawn, as often: a style's ellipsis
// takes some away. Runs come in the order they are drawn, right-to-left ones reordered.
bool holdsEveryCharacter(const QList<DrawnText::Run>& runs, const QString& text)
{
    QString drawn;
    for (const DrawnText::Run& run : runs)
        drawn += run.text;
    QString wanted = text;
    std::sort(drawn.begin(), drawn.end());
    std::sort(wanted.begin(), wanted.end());
    return std::includes(drawn.cbegin(), drawn.cend(), wanted.cbegin(), wanted.cend());
}

} // namespace

EntryTipDelegate::EntryTipDelegate(const QAbstractItemView* list, QAbstractItemDelegate* drawing, QObject* parent)
    : QAbstractItemDelegate(parent), m_list(list), m_drawing(drawing)
{
    connect(drawing, &QAbstractItemDelegate::sizeHintChanged, this, &QAbstractItemDelegate::sizeHintChanged);
}

void EntryTipDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // Enough for the entries a list shows at once, which are painted anew as they show.
    constexpr qsizetype Remembered = 256;
    if (option.widget == m_list) {
        if (m_drawnWith.size() >= Remembered)
            m_drawnWith.clear();
        m_drawnWith.insert(index, option);
    }
    if (m_drawing)
        m_drawing->paint(painter, option, index);
}

QSize EntryTipDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return m_drawing ? m_drawing->sizeHint(option, index) : QSize();
}

bool EntryTipDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                   const QModelIndex& index)
{
    return m_drawing && m_drawing->editorEvent(event, model, option, index);
}

QList<int> EntryTipDelegate::paintingRoles() const
{
    return m_drawing ? m_drawing->paintingRoles() : QList<int>();
}

bool EntryTipDelegate::drawnWhole(const QModelIndex& index) const
{
    const auto drawn = m_drawnWith.constFind(index);
    if (!m_drawing || drawn == m_drawnWith.cend())
        return true;
    const QList<DrawnText::Run> runs = DrawnText::ofEntry(m_drawing, *drawn, index, m_list->viewport());
    const QRectF shown = shownPart(m_list);
    const bool cut = std::any_of(runs.cbegin(), runs.cend(), [&shown](const DrawnText::Run& run) {
        return run.clipped || run.extent.left() < shown.left() || run.extent.right() > shown.right();
    });
    return !cut && holdsEveryCharacter(runs, index.data(Qt::DisplayRole).toString());
}

bool EntryTipDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                 const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid() || view != m_list || drawnWhole(index))
        return m_drawing && m_drawing->helpEvent(event, view, option, index);
    ShortenedText::showWholeText(event->globalPos(), index.data(Qt::DisplayRole).toString(), view->viewport(),
                                 option.rect);
    return true;
}
