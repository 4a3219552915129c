#pragma once

#include <QFont>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

class QDialog;
class QWidget;

// Every message box, every modal dialog's exec() and the font dialog of the module go
// through these functions, so that a test can stand in for the administrator: it
// installs a hook that records what would have been shown and returns a chosen answer
// (tests/common/dialogrecorder.h does so). Without hooks they show the real dialogs,
// with captions, texts, icons and buttons exactly as the caller gives them.
//
// A window that goes away while one of its boxes or dialogs runs (its parent, or an
// ancestor of it, is destroyed) ends that box first: the box is closed and let go of by
// the window, so that it is destroyed once only, by whoever made it, and the call
// returns its escape answer (the escape button, or NoButton or -1 without one; Rejected
// for exec(), not accepted for getFont()). The caller must still find out whether its
// own window survived before touching it.
namespace Dialogs {

using Button = QMessageBox::StandardButton;
using Buttons = QMessageBox::StandardButtons;

// One message box as the caller describes it. Either buttons (the standard-button
// form; the answer is the chosen QMessageBox::StandardButton) or buttonTexts (the
// text form; the answer is the chosen button's index) is set.
struct MessageRequest
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget *parent = nullptr;
    QString caption;
    QString text;
    Buttons buttons;
    QStringList buttonTexts;
    // A StandardButton value or a button index, after the form; NoButton or -1: none.
    int defaultButton = -1;
    int escapeButton = -1;

    bool hasTextButtons() const { return !buttonTexts.isEmpty(); }
};

// Standard buttons. The answer is the button chosen; closing the box answers its
// escape button (or, when none is given, the one the toolkit picks as such).
Button message(QMessageBox::Icon icon, QWidget *parent, const QString &caption,
               const QString &text, Buttons buttons,
               Button defaultButton = QMessageBox::NoButton,
               Button escapeButton = QMessageBox::NoButton);

Button information(QWidget *parent, const QString &caption, const QString &text,
                   Buttons buttons = QMessageBox::Ok,
                   Button defaultButton = QMessageBox::NoButton,
                   Button escapeButton = QMessageBox::NoButton);
Button question(QWidget *parent, const QString &caption, const QString &text,
                Buttons buttons = QMessageBox::Yes | QMessageBox::No,
                Button defaultButton = QMessageBox::NoButton,
                Button escapeButton = QMessageBox::NoButton);
Button warning(QWidget *parent, const QString &caption, const QString &text,
               Buttons buttons = QMessageBox::Ok,
               Button defaultButton = QMessageBox::NoButton,
               Button escapeButton = QMessageBox::NoButton);
Button critical(QWidget *parent, const QString &caption, const QString &text,
                Buttons buttons = QMessageBox::Ok,
                Button defaultButton = QMessageBox::NoButton,
                Button escapeButton = QMessageBox::NoButton);

// Up to three buttons with the caller's texts, shown left to right in the order given.
// The answer is the chosen button's index (0, 1 or 2). escapeButtonNumber -1: Escape
// and the window's close button do nothing.
int message(QMessageBox::Icon icon, QWidget *parent, const QString &caption,
            const QString &text, const QStringList &buttonTexts,
            int defaultButtonNumber = 0, int escapeButtonNumber = -1);

int information(QWidget *parent, const QString &caption, const QString &text,
                const QString &button0Text, const QString &button1Text = QString(),
                const QString &button2Text = QString(), int defaultButtonNumber = 0,
                int escapeButtonNumber = -1);
int question(QWidget *parent, const QString &caption, const QString &text,
             const QString &button0Text, const QString &button1Text = QString(),
             const QString &button2Text = QString(), int defaultButtonNumber = 0,
             int escapeButtonNumber = -1);
int warning(QWidget *parent, const QString &caption, const QString &text,
            const QString &button0Text, const QString &button1Text = QString(),
            const QString &button2Text = QString(), int defaultButtonNumber = 0,
            int escapeButtonNumber = -1);
int critical(QWidget *parent, const QString &caption, const QString &text,
             const QString &button0Text, const QString &button1Text = QString(),
             const QString &button2Text = QString(), int defaultButtonNumber = 0,
             int escapeButtonNumber = -1);

// dialog->exec(): QDialog::Accepted, QDialog::Rejected or the value given to done().
// First, whoever answers, the dialog is fitted to what it shows (fitToContents).
int exec(QDialog *dialog);

// Every dialog opens showing its whole text, within the screen: its lists show every entry
// whole (showListsWhole), and then it is kept within the screen (keepWithinScreen). Labels
// and buttons need nothing more: the dialog's layouts give them their size hints.
void fitToContents(QDialog *dialog);

// Every column of every list of the dialog is at least as wide as its widest entry and
// its title, and each list at least as wide as its columns side by side, so that nothing
// is cut and no list scrolls sideways when it opens. A column wider than the screen (a
// stored text of a megabyte) gets the screen's width and shows the start of its entries.
void showListsWhole(QDialog *dialog);

// A dialog never grows past the screen. While it would be wider than the screen, its
// widest choice box, label or list that asks for more than a third of the screen (a
// stored name of a megabyte) gets no more than that: a box or label shows the start of
// its text, an editable box scrolls its text as a line edit does, a list scrolls
// sideways. Everything else, and everything in a dialog that fits, keeps the size it
// asks for however wide: a dialog's own texts are never cut to save room it has.
void keepWithinScreen(QDialog *dialog);

// QFontDialog::getFont.
QFont getFont(bool *ok, const QFont &initial, QWidget *parent = nullptr,
              const QString &caption = QString());

// The hooks, for tests. An empty function restores the real dialog. Each setter
// returns the hook it replaces, so that helpers can nest.
using MessageHook = std::function<int(const MessageRequest &)>;
using ExecHook = std::function<int(QDialog *)>;
using FontHook = std::function<QFont(bool *ok, const QFont &initial, QWidget *parent,
                                     const QString &caption)>;

MessageHook setMessageHook(MessageHook hook);
ExecHook setExecHook(ExecHook hook);
FontHook setFontHook(FontHook hook);

} // namespace Dialogs
