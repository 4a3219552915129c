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
// Whoever waits creates it, polls aborted() between its sleeps and event processing,
// and destroys it when the wait ends. It appears only once the wait has lasted about
// 450 ms, centred on its parent (or on the primary screen when it has none), so short
// requests show nothing; once shown it stays up until about one second after it was
// made, so that it can be read. While it exists, user input reaches only the panel
// itself; painting, timers and queued calls go on everywhere (see InputBlocker).
class WndProgress : public QFrame
{
    Q_OBJECT

public:
    // text is shown as given (plain or rich text), so the caller translates it. A null
    // parent means the default parent; when that is null too, the panel becomes a
    // top-level window.
    WndProgress(QWidget *parent, const QString &text);
    ~WndProgress() override;

    bool aborted() const { return m_aborted; }

    // The module's main window, the parent of panels whose waits name none. Held
    // weakly: it reverts to null when that window goes.
    static void setDefaultParent(QWidget *parent);
    static QWidget *defaultParent();

public slots:
    void slotTimer();
    void slotAbort();

protected:
    // Refused: the wait goes on, and only "&Abort" may end it.
    void closeEvent(QCloseEvent *event) override;

private:
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
