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
        QString caption;
        QString text;
        Dialogs::Buttons buttons;  // standard-button form
        QStringList buttonTexts;   // text form
        int defaultButton;
        int escapeButton;
    };

    struct Dialog
    {
        QString className;
        QString objectName;
        QString caption;
    };

    DialogRecorder()
    {
        m_previousMessageHook = Dialogs::setMessageHook(
            [this](const Dialogs::MessageRequest &request) { return onMessage(request); });
        m_previousExecHook
            = Dialogs::setExecHook([this](QDialog *dialog) { return onExec(dialog); });
        m_previousFontHook = Dialogs::setFontHook(
            [this](bool *ok, const QFont &initial, QWidget *, const QString &caption) {
                return onFont(ok, initial, caption);
            });
    }

    ~DialogRecorder()
    {
        Dialogs::setMessageHook(std::move(m_previousMessageHook));
        Dialogs::setExecHook(std::move(m_previousExecHook));
        Dialogs::setFontHook(std::move(m_previousFontHook));
    }

    DialogRecorder(const DialogRecorder &) = delete;
    DialogRecorder &operator=(const DialogRecorder &) = delete;

    // The next message box's answer: a StandardButton, or a button index for the text
    // form. Unanswered, a box takes its default, else its escape, else its first button.
    void answer(int button) { m_answers.enqueue(button); }

    // The next dialog's result, or a handler that works the dialog and answers; without
    // one a dialog is rejected.
    void answerDialog(int result)
    {
        m_dialogHandlers.enqueue([result](QDialog *) { return result; });
    }
    void answerDialog(std::function<int(QDialog *)> handler)
    {
        m_dialogHandlers.enqueue(std::move(handler));
    }

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
        messages.append({request.icon, request.parent, request.caption, request.text,
                         request.buttons, request.buttonTexts, request.defaultButton,
                         request.escapeButton});
        if (!m_answers.isEmpty())
            return m_answers.dequeue();
        return unansweredChoice(request);
    }

    static int unansweredChoice(const Dialogs::MessageRequest &request)
    {
        if (request.hasTextButtons()) {
            for (int given : {request.defaultButton, request.escapeButton}) {
                if (given >= 0 && given < request.buttonTexts.size())
                    return given;
            }
            return 0;
        }
        for (int given : {request.defaultButton, request.escapeButton}) {
            if (given != QMessageBox::NoButton)
                return given;
        }
        for (int bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1) {
            if (request.buttons.testFlag(static_cast<QMessageBox::StandardButton>(bit)))
                return bit;
        }
        return QMessageBox::NoButton;
    }

    int onExec(QDialog *dialog)
    {
        dialogs.append({QString::fromLatin1(dialog->metaObject()->className()),
                        dialog->objectName(), dialog->windowTitle()});
        if (!m_dialogHandlers.isEmpty())
            return m_dialogHandlers.dequeue()(dialog);
        return QDialog::Rejected;
    }

    QFont onFont(bool *ok, const QFont &initial, const QString &caption)
    {
        fontCaptions.append(caption);
        const std::pair<QFont, bool> choice
            = m_fonts.isEmpty() ? std::make_pair(initial, false) : m_fonts.dequeue();
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
