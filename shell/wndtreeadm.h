#pragma once

#include "desktopwindow.h"

#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QQueue>
#include <QWidget>

class DBConn;
class Desktop;
class PageArea;
class QLabel;
class QMdiSubWindow;
class QMenu;
class QPoint;
class QPushButton;
class QShowEvent;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

// The frame of a console window in the workspace: a navigation tree on the left, one page
// at a time on the right with the Apply/Reset bar below it, and, in layout mode 1, the
// connection's request log along the bottom (its newest DBConn::RequestLogLines lines).
// What the tree holds, which page an item opens and what Apply and Reset do belong to the
// subclass.
//
// A page is never squeezed below its minimum size: the window's minimum size follows the
// page it shows (that of the tree, the bar and the page, as far as the workspace has room
// for it, now and whenever the workspace is resized), and the window and its workspace
// frame grow when a larger page comes. A page larger than that room scrolls in the right
// side instead.
//
// The window lives in a frame of its own in the workspace (addSubWindow) and is deleted
// when it closes. It is registered in the workspace's window list for its whole life, and
// it owns the end of its server connection: the destructor gives the connection up (the
// connection then ends its worker and destroys itself on the GUI thread).
class WndTreeAdm : public QWidget, public DesktopWindow
{
    Q_OBJECT

public:
    // desktop is the workspace and must not be null. mode 0: no request log.
    WndTreeAdm(DBConn* connection, int mode, Desktop* desktop);
    ~WndTreeAdm() override;

    QTreeWidget* getTree() const { return m_tree; }
    // The connection's request log; null in layout mode 0.
    QTreeWidget* getLogList() const { return m_logList; }
    // Where pages live: the parent of every pane and page container. It scrolls in the
    // right side when the page is larger than the window can be.
    QWidget* getRightPane() const { return m_right; }
    QWidget* getCurrentPane() const { return m_currentPane; }
    QPushButton* getApplyButton() const { return m_btnApply; }
    QPushButton* getResetButton() const { return m_btnReset; }
    QWidget* getButtonBar() const { return m_buttonBar; }
    DBConn* getConnection() const;
    Desktop* getDesktop() const { return m_desktop; }
    // The panes that refused to close, oldest first.
    QList<QWidget*> getPendingCloseQueue() const;

    // The tree gets width pixels; widening the window widens the right side only.
    void setTreeWidth(int width);

    // A fresh page container in the right pane, its header row first in its layout: the
    // picture xpm at the left (xpmBytes: the size of its table of line pointers), the
    // caption in the middle, the right picture. The pictures' "Magenta" shows in the
    // window's base colour. The first call builds the three pictures; later calls reuse
    // them and ignore xpm. False, building nothing, when the pictures cannot be built.
    bool createTop(const char* const* xpm, int xpmBytes, QVBoxLayout** layoutOut,
                   QWidget** containerOut);
    // The caption of the header row built last; nothing before the first createTop.
    void setTopCaption(const QString& text);
    QLabel* getTopCaption() const;

    // Closes the current pane (it is deleted) and puts pane in its place. A pane that
    // refuses to close waits in a queue and is asked again at each later switch. showBar:
    // show the Apply/Reset bar; otherwise hide it. Either way both buttons are enabled
    // exactly while changes are pending (hasPendingChanges()), those a page handed over
    // while it was built included.
    void setRightPaneWindow(QWidget* pane, bool showBar);

    // The workspace's frame around this window; null outside a workspace.
    QMdiSubWindow* workspaceFrame() const;
    // Maximised, whether the window itself or its frame was asked to be.
    bool isMaximizedInWorkspace() const;
    // Sizes the frame so that this window gets size.
    void resizeInWorkspace(const QSize& size);

    // Gives the window the keyboard focus; the workspace calls it on activation.
    void setWindowActive() override;

    // Whether the window may close without asking.
    virtual bool can_close() = 0;

public slots:
    // The request log's context menu: "Clear log" at globalPos.
    void slotButtonPressed(QTreeWidgetItem* item, const QPoint& globalPos, int column);
    void slotMenuSelected();
    virtual void select(QTreeWidgetItem* item);
    virtual void apply();
    virtual void reset();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

    // Destroys the current pane and the queued ones at once, without asking them. The
    // subclass calls it first in its destructor, while everything its pages use exists.
    void destroyPanes();

    // Whether Apply and Reset have something to act on; none here.
    virtual bool hasPendingChanges() const { return false; }

private:
    void buildSplitLayout();
    void buildLogList();
    void buildTree();
    void buildRightSide();
    bool buildHeaderPictures(const char* const* xpm, int lineCount);
    QWidget* createHeaderRow(QWidget* container);
    bool closePane(QWidget* pane);
    // The window's minimum size from what it shows now (see the class comment). fitToPage
    // first tells the layouts that the page changed; keepPageMinimum trusts them.
    void fitToPage();
    void keepPageMinimum();

    // Guarded: a connection given up elsewhere is not touched again.
    QPointer<DBConn> m_conn;
    QTreeWidget* m_tree = nullptr;
    QTreeWidget* m_logList = nullptr;
    PageArea* m_pageArea = nullptr;
    QWidget* m_right = nullptr;
    QSplitter* m_hsplit = nullptr;
    QSplitter* m_vsplit = nullptr;
    QWidget* m_buttonBar = nullptr;
    QPointer<QWidget> m_currentPane;
    QVBoxLayout* m_rightLayout = nullptr;
    QPushButton* m_btnApply = nullptr;
    QPushButton* m_btnReset = nullptr;
    QQueue<QPointer<QWidget>> m_closeQueue;
    // Left picture, caption tile, right picture; built by the first createTop.
    QPixmap m_headerPixmaps[3];
    bool m_havePictures = false;
    bool m_logSplitPlaced = false;
    QPointer<QLabel> m_caption;
    QMenu* m_logMenu = nullptr;
    Desktop* m_desktop;
};
