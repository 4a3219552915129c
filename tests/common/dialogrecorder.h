#pragma once

// Stands in for the administrator before every message box, modal dialog and font dialog
// of the module while it exists: nothing is shown, each request is recorded and answered
// from a queue the test fills beforehand. Recorders nest; each restores the hooks it found.

#include "dialogseam.h"

#include <QDialog>
#include <QFont>
#include <QList>
#include <QPointer>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <utility>

class DialogRecorder
{
public:
    struct Message
    {
        QMessageBox::Icon icon;
        QPointer<QWidget> parent;
        QString caption, text;
        Dialogs::Buttons buttons;  // standard-button form
        QStringList buttonTexts;   // text form
        int defaultButton, escapeButton;
    };

    struct Dialog
    {
        QString className, objectName, caption;
    };

    DialogRecorder()
    {
        m_previousMessageHook = Dialogs::setMessageHook([this](const auto &request) { return onMessage(request); });
        m_previousExecHook = Dialogs::setExecHook([this](QDialog *dialog) { return onExec(dialog); });
        m_previousFontHook = Dialogs::setFontHook(
            [this](bool *ok, const QFont &font, QWidget *, const QString &caption) { return onFont(ok, font, caption); });
    }

    ~DialogRecorder()
    {
        Dialogs::setMessageHook(std::move(m_previousMessageHook));
        Dialogs::setExecHook(std::move(m_previousExecHook));
        Dialogs::setFontHook(std::move(m_previousFontHook));
    }

    Q_DISABLE_COPY(DialogRecorder)

    // The next message box's answer: a StandardButton, or a button index for the text
    // form. Unanswered, a box takes its default, else its escape, else its first button.
    void answer(int button) { m_answers.enqueue(button); }

    // The next dialog's result, or a handler that works the dialog and answers; without
    // one a dialog is rejected.
    void answerDialog(int result) { m_dialogHandlers.enqueue([result](QDialog *) { return result; }); }
    void answerDialog(std::function<int(QDialog *)> handler) { m_dialogHandlers.enqueue(std::move(handler)); }

    // The next font dialog's choice; without one it is cancelled.
    void answerFont(const QFont &font, bool ok = true) { m_fonts.enqueue({font, ok}); }

    QList<Message> messages;
    QList<Dialog> dialogs;
    QStringList fontCaptions;

    QStringList messageTexts() const
    {
        QStringList texts;
        for (const Message &message : messages)
            texts.append(message.text);
        return texts;
    }

private:
    int onMessage(const Dialogs::MessageRequest &request)
    {
        messages.append({request.icon, request.parent, request.caption, request.text, request.buttons,
                         request.buttonTexts, request.defaultButton, request.escapeButton});
        return m_answers.isEmpty() ? unansweredChoice(request) : m_answers.dequeue();
    }

    static int unansweredChoice(const Dialogs::MessageRequest &request)
    {
        const bool texts = request.hasTextButtons();
        for (int given : {request.defaultButton, request.escapeButton}) {
            if (texts ? given >= 0 && given < request.buttonTexts.size() : given != QMessageBox::NoButton)
                return given;
        }
        const int buttons = int(request.buttons.toInt());
        return texts ? 0 : buttons & -buttons;  // the first button: the lowest standard one
    }

    int onExec(QDialog *dialog)
    {
        dialogs.append({QString::fromLatin1(dialog->metaObject()->className()), dialog->objectName(),
                        dialog->windowTitle()});
        return m_dialogHandlers.isEmpty() ? int(QDialog::Rejected) : m_dialogHandlers.dequeue()(dialog);
    }

    QFont onFont(bool *ok, const QFont &initial, const QString &caption)
    {
        fontCaptions.append(caption);
        const std::pair<QFont, bool> choice = m_fonts.isEmpty() ? std::make_pair(initial, false) : m_fonts.dequeue();
        if (ok)
            *ok = choice.second;
        return choice.second ? choice.first : initial;
    }

    QQueue<int> m_answers;
    QQueue<std::function<int(QDialog *)>> m_dialogHandlers;
    QQueue<std::pair<QFont, bool>> m_fonts;
    Dialogs::MessageHook m_previousMessageHook;
    Dialogs::ExecHook m_previousExecHook;
    Dialogs::FontHook m_previousFontHook;
};
