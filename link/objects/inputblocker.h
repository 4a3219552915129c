#pragma once

#include <QPointer>
#include <QWidget>

// Keeps the user from acting on the interface while the GUI thread waits for the
// server: while an InputBlocker exists, mouse buttons, dragging, wheel, keys, shortcuts,
// context menus, drag and drop, tablet and touch input and close requests are swallowed
// for every widget except the allowed one and its descendants. Everything else goes on:
// painting, timers (the connection's update timer among them), queued calls, socket
// notifiers and deferred deletes. A waiting function may therefore process events
// without a click destroying a window whose code is still on the stack.
//
// The allowed widget being the only one that takes input, the keys of its buttons
// (mnemonics, shortcuts) are theirs wherever the key is typed: "&Abort" is pressed by
// Alt+A even when the page behind holds an "&Add..." of its own, which would otherwise
// make the key ambiguous to the toolkit and press neither.
//
// Blockers nest like the waits they guard: the most recent one decides, so the input
// of an inner wait's indicator passes while an outer wait's indicator is blocked until
// the inner wait ends.
//
// A modal window that opens while a blocker exists (a message box raised from a timer
// during the wait, say) receives its input, or the wait could never end.
//
// Close requests are not lost: a window whose close was swallowed is asked to close
// again once the outermost blocker has gone and the code that waited has returned to the
// event loop it waited in (a box it opens after the wait runs first, and so does a
// further wait), and may then accept or refuse as usual. So a window is never closed,
// nor destroyed with its close, while code of its own that waited is on the stack.
//
// GUI thread only; needs a QApplication. Not copyable.
class InputBlocker
{
public:
    // allowed may be null: then no widget receives input. It is not owned.
    explicit InputBlocker(QWidget *allowed = nullptr);
    ~InputBlocker();

    InputBlocker(const InputBlocker &) = delete;
    InputBlocker &operator=(const InputBlocker &) = delete;

    QWidget *allowed() const { return m_allowed; }
    // Lets another widget's input through from now on; the blocker keeps its place
    // among the nested ones (a wait's indicator made late stays behind inner waits).
    void setAllowed(QWidget *allowed) { m_allowed = allowed; }
    QWidget *modalAtStart() const { return m_modalAtStart; }

    // Whether any blocker exists at present.
    static bool isBlocking();

private:
    QPointer<QWidget> m_allowed;
    QPointer<QWidget> m_modalAtStart;
};
