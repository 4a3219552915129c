#pragma once

// Stands in for the administrator before the message boxes, dialogs and context menus of a
// module that was loaded as the console host loads it. The module's dialog seams lie behind its hidden
// symbols, out of a test's reach, so its real boxes and dialogs open; this answers them as
// a person would, through their buttons, fields and entries, from queues the test fills
// beforehand. Every box is recorded with its caption, text and icon; a box, dialog or menu
// nobody expected is recorded too and closed with its escape button, so that the run goes
// on and the test can fail on it.

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class QAbstractButton;
class QDialog;
class QMenu;

class Administrator : public QObject
{
    Q_OBJECT

public:
    struct Box
    {
        QString caption;
        QString text;
        QMessageBox::Icon icon;
    };

    // Works an open dialog and ends it, usually with a click on its OK button; a further
    // box the dialog opens is answered from the queues like any other.
    using DialogWork = std::function<void(QDialog*)>;

    Administrator();
    ~Administrator() override;

    // The next message box is answered with the button that shows this text ("&Yes",
    // "OK"), or with this standard button.
    void answerBox(const QString& buttonText);
    void answerBox(QMessageBox::StandardButton button);
    // The next dialog that is no message box must be of this class; work handles it.
    void workDialog(const QString& className, DialogWork work);
    // The next context menu gets the entry that shows this text chosen.
    void chooseFromMenu(const QString& entryText);

    // Whether every answer queued has been given.
    bool answeredAll() const
    {
        return m_boxAnswers.isEmpty() && m_dialogWork.isEmpty() && m_menuChoices.isEmpty();
    }
    // Forgets what was seen so far, not what is queued.
    void clearSeen();

    QList<Box> boxes;
    QStringList dialogs;    // class names of the dialogs worked
    QStringList unexpected; // what came without an answer queued, or not as queued

private:
    struct BoxAnswer
    {
        QString text;
        QMessageBox::StandardButton button;
    };

    void lookForWindows();
    void later(QWidget* window);
    void handle(QWidget* window);
    void answer(QMessageBox* box);
    void work(QDialog* dialog);
    void choose(QMenu* menu);

    QTimer m_poll;
    QList<QPointer<QWidget>> m_handled;
    QQueue<BoxAnswer> m_boxAnswers;
    QQueue<std::pair<QString, DialogWork>> m_dialogWork;
    QQueue<QString> m_menuChoices;
};

// The class of an object as its own meta-object names it: the module's classes are not
// visible to a test that loads it, their names are.
QString classOf(const QObject* object);

// The button within that shows text or, failing that, has it as object name; null when
// there is none.
QAbstractButton* findButton(const QWidget* within, const QString& textOrName);
// Clicks that button. False when there is none, or it is hidden or disabled.
bool clickButton(const QWidget* within, const QString& textOrName);
