#include "dialogseam.h"

#include <QDialog>
#include <QFontDialog>
#include <QList>
#include <QPushButton>

#include <utility>

namespace Dialogs {

namespace {

MessageHook &messageHook()
{
    static MessageHook hook;
    return hook;
}

ExecHook &execHook()
{
    static ExecHook hook;
    return hook;
}

FontHook &fontHook()
{
    static FontHook hook;
    return hook;
}

// Runs the dialog's modal loop. Should the widget it stands over go meanwhile, the
// dialog is ended first and then taken out of that widget, whose destruction would
// otherwise destroy it under its own loop and under whoever owns it (the caller's
// stack, a scoped pointer). The answer is then QDialog::Rejected, and *parentWent says
// so.
int runModal(QDialog &dialog, bool *parentWent = nullptr)
{
    bool went = false;
    QMetaObject::Connection watch;
    if (QWidget *parent = dialog.parentWidget()) {
        // The widget's children are still there when it announces its end.
        watch = QObject::connect(parent, &QObject::destroyed, &dialog, [&dialog, &went] {
            went = true;
            dialog.setResult(QDialog::Rejected);
            dialog.hide();
            dialog.setParent(nullptr, dialog.windowFlags());
        });
    }
    const int result = dialog.exec();
    QObject::disconnect(watch);
    if (parentWent)
        *parentWent = went;
    return went ? int(QDialog::Rejected) : result;
}

Button showStandardBox(const MessageRequest &request)
{
    QMessageBox box(request.icon, request.caption, request.text, request.buttons,
                    request.parent);
    if (request.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(static_cast<Button>(request.defaultButton));
    if (request.escapeButton != QMessageBox::NoButton)
        box.setEscapeButton(static_cast<Button>(request.escapeButton));
    bool parentWent = false;
    runModal(box, &parentWent);
    if (parentWent)
        return static_cast<Button>(request.escapeButton);
    QAbstractButton *clicked = box.clickedButton();
    return clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
}

int showTextBox(const MessageRequest &request)
{
    QMessageBox box(request.icon, request.caption, request.text, QMessageBox::NoButton,
                    request.parent);
    // One role for all keeps them in the caller's order.
    QList<QPushButton *> buttons;
    for (const QString &text : request.buttonTexts)
        buttons.append(box.addButton(text, QMessageBox::ActionRole));
    if (QPushButton *button = buttons.value(request.defaultButton))
        box.setDefaultButton(button);
    if (QPushButton *button = buttons.value(request.escapeButton))
        box.setEscapeButton(button);
    bool parentWent = false;
    runModal(box, &parentWent);
    if (parentWent)
        return buttons.value(request.escapeButton) ? request.escapeButton : -1;
    return buttons.indexOf(static_cast<QPushButton *>(box.clickedButton()));
}

int ask(const MessageRequest &request)
{
    // A copy: the hook may replace itself while it answers.
    if (const MessageHook hook = messageHook())
        return hook(request);
    return request.hasTextButtons() ? showTextBox(request) : int(showStandardBox(request));
}

QStringList givenTexts(const QString &button0Text, const QString &button1Text,
                       const QString &button2Text)
{
    QStringList texts;
    for (const QString *text : {&button0Text, &button1Text, &button2Text}) {
        if (!text->isEmpty())
            texts.append(*text);
    }
    if (texts.isEmpty())
        texts.append(QMessageBox::tr("OK"));
    return texts;
}

} // namespace

Button message(QMessageBox::Icon icon, QWidget *parent, const QString &caption,
               const QString &text, Buttons buttons, Button defaultButton,
               Button escapeButton)
{
    MessageRequest request;
    request.icon = icon;
    request.parent = parent;
    request.caption = caption;
    request.text = text;
    request.buttons = buttons ? buttons : Buttons(QMessageBox::Ok);
    request.defaultButton = defaultButton;
    request.escapeButton = escapeButton;
    return static_cast<Button>(ask(request));
}

Button information(QWidget *parent, const QString &caption, const QString &text,
                   Buttons buttons, Button defaultButton, Button escapeButton)
{
    return message(QMessageBox::Information, parent, caption, text, buttons, defaultButton,
                   escapeButton);
}

Button question(QWidget *parent, const QString &caption, const QString &text,
                Buttons buttons, Button defaultButton, Button escapeButton)
{
    return message(QMessageBox::Question, parent, caption, text, buttons, defaultButton,
                   escapeButton);
}

Button warning(QWidget *parent, const QString &caption, const QString &text,
               Buttons buttons, Button defaultButton, Button escapeButton)
{
    return message(QMessageBox::Warning, parent, caption, text, buttons, defaultButton,
                   escapeButton);
}

Button critical(QWidget *parent, const QString &caption, const QString &text,
                Buttons buttons, Button defaultButton, Button escapeButton)
{
    return message(QMessageBox::Critical, parent, caption, text, buttons, defaultButton,
                   escapeButton);
}

int message(QMessageBox::Icon icon, QWidget *parent, const QString &caption,
            const QString &text, const QStringList &buttonTexts, int defaultButtonNumber,
            int escapeButtonNumber)
{
    MessageRequest request;
    request.icon = icon;
    request.parent = parent;
    request.caption = caption;
    request.text = text;
    request.buttonTexts = buttonTexts.isEmpty() ? QStringList(QMessageBox::tr("OK")) : buttonTexts;
    request.defaultButton = defaultButtonNumber;
    request.escapeButton = escapeButtonNumber;
    return ask(request);
}

int information(QWidget *parent, const QString &caption, const QString &text,
                const QString &button0Text, const QString &button1Text,
                const QString &button2Text, int defaultButtonNumber, int escapeButtonNumber)
{
    return message(QMessageBox::Information, parent, caption, text,
                   givenTexts(button0Text, button1Text, button2Text), defaultButtonNumber,
                   escapeButtonNumber);
}

int question(QWidget *parent, const QString &caption, const QString &text,
             const QString &button0Text, const QString &button1Text,
             const QString &button2Text, int defaultButtonNumber, int escapeButtonNumber)
{
    return message(QMessageBox::Question, parent, caption, text,
                   givenTexts(button0Text, button1Text, button2Text), defaultButtonNumber,
                   escapeButtonNumber);
}

int warning(QWidget *parent, const QString &caption, const QString &text,
            const QString &button0Text, const QString &button1Text,
            const QString &button2Text, int defaultButtonNumber, int escapeButtonNumber)
{
    return message(QMessageBox::Warning, parent, caption, text,
                   givenTexts(button0Text, button1Text, button2Text), defaultButtonNumber,
                   escapeButtonNumber);
}

int critical(QWidget *parent, const QString &caption, const QString &text,
             const QString &button0Text, const QString &button1Text,
             const QString &button2Text, int defaultButtonNumber, int escapeButtonNumber)
{
    return message(QMessageBox::Critical, parent, caption, text,
                   givenTexts(button0Text, button1Text, button2Text), defaultButtonNumber,
                   escapeButtonNumber);
}

int exec(QDialog *dialog)
{
    fitToContents(dialog);
    if (const ExecHook hook = execHook())
        return hook(dialog);
    return runModal(*dialog);
}

QFont getFont(bool *ok, const QFont &initial, QWidget *parent, const QString &caption)
{
    if (const FontHook hook = fontHook())
        return hook(ok, initial, parent, caption);
    // As QFontDialog::getFont, whose dialog lives where no guard can reach it.
    QFontDialog dialog(initial, parent);
    if (!caption.isEmpty())
        dialog.setWindowTitle(caption);
    const bool chosen = runModal(dialog) == QDialog::Accepted;
    if (ok)
        *ok = chosen;
    return chosen ? dialog.selectedFont() : initial;
}

MessageHook setMessageHook(MessageHook hook)
{
    return std::exchange(messageHook(), std::move(hook));
}

ExecHook setExecHook(ExecHook hook)
{
    return std::exchange(execHook(), std::move(hook));
}

FontHook setFontHook(FontHook hook)
{
    return std::exchange(fontHook(), std::move(hook));
}

} // namespace Dialogs
