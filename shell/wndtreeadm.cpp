#include "wndtreeadm.h"

#include "dbconn.h"
#include "desktop.h"
#include "pagearea.h"
#include "shortenedlabel.h"
#include "workspaceframe.h"

#include "images/headerright.xpm"
#include "images/headertile.xpm"

#include <QBoxLayout>
#include <QByteArray>
#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPalette>
#include <QPushButton>
#include <QSpacerItem>
#include <QSplitter>
#include <QTreeWidget>

#include <algorithm>
#include <iterator>
#include <new>
#include <vector>

namespace {

// A pane that takes the keys itself (a log view) takes them from Tab, a click and the wheel. A
// pane that holds a page, or nothing, takes them from a click only: as a Tab stop it would show
// no focus between the tree and the page's first widget, and the toolkit gives the wheel's
// focus only with Tab's.
Qt::FocusPolicy paneFocusPolicy(const QWidget* pane)
{
    return (pane->focusPolicy() & Qt::TabFocus) ? Qt::WheelFocus : Qt::ClickFocus;
}

constexpr int InitialTreeWidth = 210;
constexpr int TreeMinimumWidth = 210;
constexpr int TreeMinimumHeight = 300;
constexpr int LogSplitUpperHeight = 400;
constexpr int HeaderHeight = 48;
constexpr int HeaderLeftWidth = 55;
constexpr int HeaderRightWidth = 64;
// The most room the caption asks for, in average characters of its large font; a longer one
// (a server's product name) shows shortened.
constexpr int CaptionWidestText = 32;
constexpr int ButtonRowSpacing = 6;
constexpr int ButtonRowMargin = 12;

enum HeaderPicture { HeaderLeft, HeaderTile, HeaderRight };

// The classic layouts used the margin as spacing when none was given; with margin 0 the
// tree, the pages and the bars of the window sit edge to edge.
void removeGaps(QBoxLayout* layout)
{
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

QString colourText(const QColor& colour)
{
    return QString::asprintf("#%02X%02X%02X", colour.red(), colour.green(), colour.blue());
}

// The XPM picture's lines with its colour "Magenta" turned into colour: the eight bytes
// from the name on are overwritten with the colour text and its zero byte.
std::vector<QByteArray> recolouredXpm(const char* const* xpm, int lineCount,
                                      const QByteArray& colour)
{
    std::vector<QByteArray> lines;
    lines.reserve(size_t(lineCount));
    for (int i = 0; i < lineCount; ++i) {
        QByteArray line(xpm[i]);
        const int at = line.indexOf("Magenta");
        if (at >= 0)
            line = line.left(at) + colour;
        lines.push_back(line);
    }
    return lines;
}

QPixmap pixmapFromLines(const std::vector<QByteArray>& lines)
{
    std::vector<const char*> table;
    table.reserve(lines.size());
    for (const QByteArray& line : lines)
        table.push_back(line.constData());
    return QPixmap(table.data());
}

// The label, its background the picture, tiled.
QLabel* withPicture(QLabel* label, const QPixmap& picture)
{
    QPalette palette = label->palette();
    palette.setBrush(QPalette::Window, QBrush(picture));
    label->setPalette(palette);
    label->setAutoFillBackground(true);
    return label;
}

} // namespace

WndTreeAdm::WndTreeAdm(DBConn* connection, int mode, Desktop* desktop)
    : QWidget(nullptr)
    , m_conn(connection)
    , m_desktop(desktop)
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_desktop->addSubWindow(this);
    m_desktop->addWindow(this, nullptr);
    // The room the window may have goes with the workspace's size.
    m_desktop->viewport()->installEventFilter(this);

    if (mode != 0)
        buildLogList();
    else
        buildSplitLayout();
    if (m_conn)
        m_conn->m_logview = m_logList;
    buildTree();
    buildRightSide();

    connect(m_tree, &QTreeWidget::currentItemChanged, this, &WndTreeAdm::select);
}

WndTreeAdm::~WndTreeAdm()
{
    // The tree outlives this part of the window; its last signals must not reach it, nor
    // the workspace's.
    disconnect(m_tree, nullptr, this, nullptr);
    m_desktop->viewport()->removeEventFilter(this);
    m_desktop->removeWindow(this, true);
    // Pages may still talk to the connection while they go.
    destroyPanes();
    if (m_conn) {
        m_conn->m_logview = nullptr;
        m_conn->stop();
    }
}

void WndTreeAdm::buildSplitLayout()
{
    m_hsplit = new QSplitter(Qt::Horizontal, this);
    auto* layout = new QHBoxLayout(this);
    removeGaps(layout);
    layout->addWidget(m_hsplit);
}

void WndTreeAdm::buildLogList()
{
    m_vsplit = new QSplitter(Qt::Vertical, this);
    m_hsplit = new QSplitter(Qt::Horizontal, m_vsplit);
    auto* layout = new QVBoxLayout(this);
    removeGaps(layout);
    layout->addWidget(m_vsplit);

    m_logList = new QTreeWidget(m_vsplit);
    m_logList->setHeaderHidden(true);
    m_logList->setColumnCount(1);
    m_logList->setHeaderLabels({QString()});
    m_logList->setRootIsDecorated(false);
    m_logList->setSortingEnabled(false);
    m_logList->setContextMenuPolicy(Qt::CustomContextMenu);
    // The log keeps its height; the tree and the page take what the window gains.
    m_vsplit->setStretchFactor(0, 1);
    m_vsplit->setStretchFactor(1, 0);
    m_vsplit->setCollapsible(1, false);

    m_logMenu = new QMenu(this);
    m_logMenu->addAction(tr("Clear log"), this, &WndTreeAdm::slotMenuSelected);
    connect(m_logList, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QTreeWidgetItem* item = m_logList->itemAt(pos);
        slotButtonPressed(item, m_logList->viewport()->mapToGlobal(pos),
                          item ? m_logList->columnAt(pos.x()) : -1);
    });
}

void WndTreeAdm::buildTree()
{
    m_tree = new QTreeWidget(m_hsplit);
    m_tree->setMinimumSize(TreeMinimumWidth, TreeMinimumHeight);
    m_tree->setHeaderHidden(true);
    m_tree->setSortingEnabled(false);
    m_tree->setColumnCount(1);
    m_tree->setHeaderLabels({QString()});
    m_tree->setRootIsDecorated(true);
    m_hsplit->setCollapsible(0, false);
    setTreeWidth(InitialTreeWidth);
}

void WndTreeAdm::buildRightSide()
{
    auto* rightSide = new QWidget(m_hsplit);
    auto* rightSideLayout = new QVBoxLayout(rightSide);
    removeGaps(rightSideLayout);
    // Widening the window widens the page; the tree keeps its width.
    m_hsplit->setStretchFactor(0, 0);
    m_hsplit->setStretchFactor(1, 1);
    m_hsplit->setCollapsible(1, false);

    m_pageArea = new PageArea(rightSide);
    m_right = new QWidget;
    m_rightLayout = new QVBoxLayout(m_right);
    removeGaps(m_rightLayout);
    m_pageArea->setWidget(m_right);
    rightSideLayout->addWidget(m_pageArea, 1);

    m_buttonBar = new QWidget(rightSide);
    auto* barLayout = new QVBoxLayout(m_buttonBar);
    removeGaps(barLayout);
    auto* line = new QFrame(m_buttonBar);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    barLayout->addWidget(line);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(ButtonRowSpacing);
    buttonRow->setContentsMargins(ButtonRowMargin, ButtonRowMargin, ButtonRowMargin,
                                  ButtonRowMargin);
    buttonRow->addItem(new QSpacerItem(20, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_btnApply = new QPushButton(tr("A&pply"), m_buttonBar);
    m_btnReset = new QPushButton(tr("Re&set"), m_buttonBar);
    buttonRow->addWidget(m_btnApply);
    buttonRow->addWidget(m_btnReset);
    barLayout->addLayout(buttonRow);

    rightSideLayout->addWidget(m_buttonBar);
}

DBConn* WndTreeAdm::getConnection() const
{
    return m_conn;
}

QList<QWidget*> WndTreeAdm::getPendingCloseQueue() const
{
    QList<QWidget*> panes;
    for (const QPointer<QWidget>& pane : m_closeQueue) {
        if (pane)
            panes.append(pane);
    }
    return panes;
}

void WndTreeAdm::setTreeWidth(int width)
{
    // The right side takes the rest: only the tree's size is given.
    m_hsplit->setSizes({width});
}

bool WndTreeAdm::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    // Something inside changed its size rules; the layout has just taken them in.
    if (event->type() == QEvent::LayoutRequest)
        keepPageMinimum();
    return handled;
}

bool WndTreeAdm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_desktop->viewport() && event->type() == QEvent::Resize)
        keepPageMinimum();
    return QWidget::eventFilter(watched, event);
}

void WndTreeAdm::fitToPage()
{
    // The layouts and splitters above the page hear of its change only through posted
    // events; asked now, none of them may answer from what it knew before.
    for (QWidget* widget = m_pageArea; widget && widget != this; widget = widget->parentWidget())
        widget->updateGeometry();
    if (QLayout* own = layout())
        own->invalidate();
    keepPageMinimum();
}

void WndTreeAdm::keepPageMinimum()
{
    keepMinimumSize(this, minimumSizeHint().boundedTo(roomInWorkspace(this)));
}

void WndTreeAdm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    fitToPage();
    if (m_vsplit && !m_logSplitPlaced) {
        m_logSplitPlaced = true;
        const int rest = m_vsplit->height() - m_vsplit->handleWidth() - LogSplitUpperHeight;
        m_vsplit->setSizes({LogSplitUpperHeight, qMax(rest, 0)});
    }
}

bool WndTreeAdm::createTop(const char* const* xpm, int xpmBytes, QVBoxLayout** layoutOut,
                           QWidget** containerOut)
{
    if (!m_havePictures && !buildHeaderPictures(xpm, xpmBytes / int(sizeof(const char*))))
        return false;

    auto* container = new QWidget(m_right);
    auto* layout = new QVBoxLayout(container);
    removeGaps(layout);
    layout->addWidget(createHeaderRow(container));

    if (layoutOut)
        *layoutOut = layout;
    if (containerOut)
        *containerOut = container;
    return true;
}

bool WndTreeAdm::buildHeaderPictures(const char* const* xpm, int lineCount)
{
    if (!xpm || lineCount <= 0)
        return false;
    const QByteArray colour = colourText(palette().color(QPalette::Base)).toLatin1();
    try {
        const std::vector<QByteArray> lines[] = {
            recolouredXpm(xpm, lineCount, colour),
            recolouredXpm(headertile_xpm, int(std::size(headertile_xpm)), colour),
            recolouredXpm(headerright_xpm, int(std::size(headerright_xpm)), colour),
        };
        QPixmap pixmaps[3];
        for (int i = 0; i < 3; ++i) {
            pixmaps[i] = pixmapFromLines(lines[i]);
            if (pixmaps[i].isNull())
                return false;
        }
        std::copy(std::begin(pixmaps), std::end(pixmaps), m_headerPixmaps);
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_havePictures = true;
    return true;
}

QWidget* WndTreeAdm::createHeaderRow(QWidget* container)
{
    const QColor background = palette().color(QPalette::Base);

    auto* header = new QWidget(container);
    QPalette headerPalette = header->palette();
    headerPalette.setColor(QPalette::Window, background);
    header->setPalette(headerPalette);
    header->setAutoFillBackground(true);
    header->setFixedHeight(HeaderHeight);
    auto* row = new QHBoxLayout(header);
    removeGaps(row);

    QLabel* left = withPicture(new QLabel(header), m_headerPixmaps[HeaderLeft]);
    left->setFixedSize(HeaderLeftWidth, HeaderHeight);

    QLabel* caption = withPicture(new ShortenedLabel(header, CaptionWidestText), m_headerPixmaps[HeaderTile]);
    caption->setFixedHeight(HeaderHeight);
    QFont font(QStringLiteral("Arial"), 16, QFont::Bold);
    font.setItalic(false);
    caption->setFont(font);

    QLabel* right = withPicture(new QLabel(header), m_headerPixmaps[HeaderRight]);
    right->setFixedSize(HeaderRightWidth, HeaderHeight);

    row->addWidget(left);
    row->addWidget(caption, 1);
    row->addWidget(right);
    m_caption = caption;
    return header;
}

QLabel* WndTreeAdm::getTopCaption() const
{
    return m_caption;
}

void WndTreeAdm::setTopCaption(const QString& text)
{
    if (m_caption)
        m_caption->setText(text);
}

bool WndTreeAdm::closePane(QWidget* pane)
{
    // Closing a pane deletes it, whatever flags it was made with.
    pane->setAttribute(Qt::WA_DeleteOnClose);
    return pane->close();
}

void WndTreeAdm::setRightPaneWindow(QWidget* pane, bool showBar)
{
    if (m_currentPane) {
        QWidget* previous = m_currentPane;
        m_currentPane = nullptr;
        if (!closePane(previous))
            m_closeQueue.enqueue(previous);
        while (!m_closeQueue.isEmpty()) {
            const QPointer<QWidget> waiting = m_closeQueue.dequeue();
            if (waiting && !closePane(waiting)) {
                m_closeQueue.enqueue(waiting);
                break;
            }
        }
    }

    m_currentPane = pane;
    if (pane) {
        m_rightLayout->insertWidget(0, pane, 1);
        pane->setFocusPolicy(paneFocusPolicy(pane));
        pane->show();
    }

    // A page may hand changes over while it is built, and the bar's buttons follow the
    // pending list only as it turns empty or not: what they show now is read from it.
    const bool pending = hasPendingChanges();
    m_btnApply->setEnabled(pending);
    m_btnReset->setEnabled(pending);
    m_buttonBar->setVisible(showBar);
    fitToPage();
}

void WndTreeAdm::destroyPanes()
{
    delete m_currentPane.data();
    while (!m_closeQueue.isEmpty())
        delete m_closeQueue.dequeue().data();
}

QMdiSubWindow* WndTreeAdm::workspaceFrame() const
{
    return ::workspaceFrame(this);
}

bool WndTreeAdm::isMaximizedInWorkspace() const
{
    return ::isMaximizedInWorkspace(this);
}

void WndTreeAdm::resizeInWorkspace(const QSize& size)
{
    ::resizeInWorkspace(this, size);
}

void WndTreeAdm::setWindowActive()
{
    setFocus();
}

void WndTreeAdm::slotButtonPressed(QTreeWidgetItem* /*item*/, const QPoint& globalPos,
                                   int /*column*/)
{
    if (m_logMenu)
        m_logMenu->popup(globalPos);
}

void WndTreeAdm::slotMenuSelected()
{
    if (m_logList)
        m_logList->clear();
}

void WndTreeAdm::select(QTreeWidgetItem* /*item*/)
{
}

void WndTreeAdm::apply()
{
}

void WndTreeAdm::reset()
{
}
