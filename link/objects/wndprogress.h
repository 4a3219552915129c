#pragma once

#include <QFrame>

#include <memory>

class InputBlocker;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTimer;
class QVBoxLayout;

// The busy panel shown while the GUI thread waits for the server: a message, an
// animated picture and "&Abort".
//
// Made on its own, it is the whole indicator: it appears only once it has existed for
// about 450 ms, centred on its parent (or on the primary screen when it has none), so
// short waits show nothing; once shown it stays up until about one second after it was
// made, so that it can be read. While it exists, user input reaches only the panel
// itself; painting, timers and queued calls go on everywhere (see InputBlocker).
//
// The waits of the module do not make it up front: a ProgressWait stands for the
// indicator from the start and makes the panel only when the moment to show it comes,
// so that a short wait costs no widget.
class WndProgress : public QFrame
{
    Q_OBJECT

public:
    // text is shown as given (plain or rich text), so the caller translates it. A null
    // parent means the default parent; when that is null too, the panel becomes a
    // top-level window. Its owner starts it from a window that takes input, so that no
    // modal dialog lies over it.
    WndProgress(QWidget *parent, const QString &text);
    ~WndProgress() override;

    bool aborted() const { return m_aborted; }

    // The module's main window, the parent of panels whose waits name none. Held
    // weakly: it reverts to null when that window goes.
    static void setDefaultParent(QWidget *parent);
    static QWidget *defaultParent();

    // Where the panel of a wait over given is seen: given (for none, the default
    // parent) when it is on screen, else its nearest ancestor that is (a page or a
    // dialog loading while it is built is not shown yet), else the default parent when
    // that is on screen; when nothing is, given or the default parent all the same.
    // When modalDialog, the modal dialog that was in front as the wait began, is still up
    // (or, once it went, the modal window it was opened over) and that place lies below
    // it, the panel shows on that dialog instead: the toolkit gives it every click, so a
    // panel behind it could be neither seen nor clicked. A place within the dialog, its
    // own dialogs included, stays as it is.
    static QWidget *placementFor(QWidget *given, QWidget *modalDialog);

public slots:
    void slotTimer();
    void slotAbort();

protected:
    // Refused: the wait goes on, and only "&Abort" may end it.
    void closeEvent(QCloseEvent *event) override;

private:
    friend class ProgressWait;

    // For a wait that has lasted until the moment of showing: shown at once over
    // parent, the animation where it would be by then, and waitBlock, the wait's own
    // input block, lets the panel's input through.
    WndProgress(QWidget *parent, const QString &text, InputBlocker &waitBlock);
    // How long a wait lasts before its panel shows.
    static int showingDelayMs();

    void buildPanel(const QString &text);
    void startTicking();
    void showFrame(int frame);
    void centreAndShow();
    void lingerUntilRead();

    QLabel *m_label;
    QPushButton *m_abortButton;
    QHBoxLayout *m_outerLayout;
    QVBoxLayout *m_textLayout;
    QHBoxLayout *m_buttonLayout;
    QTimer *m_timer;
    int m_ticks = 0;
    int m_frames = 0;
    bool m_aborted = false;
    QLabel *m_picture;
    std::unique_ptr<InputBlocker> m_inputBlock;
};
