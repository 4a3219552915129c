#include "administrator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QTest>


namespace {

// Often enough that a walk through every page stays quick, seldom enough to cost nothing.
constexpr int PollMs = 10;

} // namespace

QString classOf(const QObject* object)
{
    return object ? QString::fromLatin1(object->metaObject()->className()) : QString();
}

QAbstractButton* findButton(const QWidget* within, const QString& textOrName)
{
    const QList<QAbstractButton*> buttons = within->findChildren<QAbstractButton*>();
    for (bool byText : {true, false}) {
        for (QAbstractButton* button : buttons) {
            if ((byText ? button->text() : button->objectName()) == textOrName)
                return button;
        }
    }
    return nullptr;
}

bool clickButton(const QWidget* within, const QString& textOrName)
{
    QAbstractButton* button = findButton(within, textOrName);
    if (!button || !button->isVisible() || !button->isEnabled())
        return false;
    button->click();
    return true;
}

Administrator::Administrator()
{
    m_poll.setInterval(PollMs);
    connect(&m_poll, &QTimer::timeout, this, &Administrator::lookForWindows);
    m_poll.start();
}

Administrator::~Administrator() = default;

void Administrator::answerBox(const QString& buttonText)
{
    m_boxAnswers.enqueue({buttonText, QMessageBox::NoButton});
}

void Administrator::answerBox(QMessageBox::StandardButton button)
{
    m_boxAnswers.enqueue({QString(), button});
}

void Administrator::workDialog(const QString& className, DialogWork work)
{
    m_dialogWork.enqueue({className, std::move(work)});
}

void Administrator::chooseFromMenu(const QString& entryText)
{
    m_menuChoices.enqueue(entryText);
}

void Administrator::clearSeen()
{
    boxes.clear();
    dialogs.clear();
    unexpected.clear();
}

void Administrator::lookForWindows()
{
    for (QWidget* window : {QApplication::activePopupWidget(), QApplication::activeModalWidget()}) {
        // The wait indicator asks nothing: it goes once the wait is over.
        if (window && window->isVisible() && classOf(window) != QLatin1String("WndProgress")) {
            later(window);
            return;
        }
    }
}

// Not from inside the timer: the answer may open a further box, whose own event loop must
// find this timer free to answer that one too.
void Administrator::later(QWidget* window)
{
    m_handled.removeAll(nullptr);
    if (m_handled.contains(window))
        return;
    m_handled.append(window);
    const QPointer<QWidget> guarded(window);
    QTimer::singleShot(0, this, [this, guarded] {
        if (guarded)
            handle(guarded);
    });
}

void Administrator::handle(QWidget* window)
{
    if (auto* box = qobject_cast<QMessageBox*>(window)) {
        answer(box);
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(window)) {
        work(dialog);
        return;
    }
    if (auto* menu = qobject_cast<QMenu*>(window)) {
        choose(menu);
        return;
    }
    unexpected.append(QStringLiteral("window %1 \"%2\"").arg(classOf(window), window->windowTitle()));
    window->close();
}

void Administrator::answer(QMessageBox* box)
{
    boxes.append({box->windowTitle(), box->text(), box->icon()});
    if (m_boxAnswers.isEmpty()) {
        unexpected.append(QStringLiteral("box \"%1\": %2").arg(box->windowTitle(), box->text()));
        if (QAbstractButton* escape = box->escapeButton())
            escape->click();
        else
            box->reject();
        return;
    }
    const BoxAnswer given = m_boxAnswers.dequeue();
    const QList<QAbstractButton*> buttons = box->buttons();
    for (QAbstractButton* button : buttons) {
        const bool chosen = given.text.isEmpty() ? box->standardButton(button) == given.button
                                                 : button->text() == given.text;
        if (chosen) {
            button->click();
            return;
        }
    }
    unexpected.append(QStringLiteral("box \"%1\" has no button \"%2\"").arg(box->text(), given.text));
    box->reject();
}

void Administrator::work(QDialog* dialog)
{
    const QString className = classOf(dialog);
    dialogs.append(className);
    if (m_dialogWork.isEmpty() || m_dialogWork.head().first != className) {
        unexpected.append(QStringLiteral("dialog %1 \"%2\"").arg(className, dialog->windowTitle()));
        dialog->reject();
        return;
    }
    const DialogWork handler = m_dialogWork.dequeue().second;
    const QPointer<QDialog> guarded(dialog);
    handler(dialog);
    // A handler that failed may have left the dialog open: the run goes on without it.
    if (guarded && QTest::currentTestFailed())
        guarded->reject();
}

void Administrator::choose(QMenu* menu)
{
    const QString text = m_menuChoices.isEmpty() ? QString() : m_menuChoices.dequeue();
    const QList<QAction*> actions = menu->actions();
    for (QAction* action : actions) {
        if (!text.isEmpty() && action->text() == text && action->isEnabled()) {
            // As the keyboard chooses it: the menu's own loop learns which entry it was.
            menu->setActiveAction(action);
            QTest::keyClick(menu, Qt::Key_Return);
            return;
        }
    }
    unexpected.append(QStringLiteral("menu without a choice of \"%1\"").arg(text));
    menu->close();
}
