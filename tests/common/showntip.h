#pragma once

// The tool tip a rest of the mouse brings, read back as the administrator reads it on the
// screen: line by line as the tip lays its text out, markup the tip took for markup showing
// as its effect (a tag's text gone), not as what was given to it.

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolTip>
#include <QWidget>

namespace ShownTip {

// The tool tip on the screen; none when no tip shows.
inline QLabel* label()
{
    if (!QToolTip::isVisible())
        return nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->inherits("QTipLabel") && window->isVisible())
            return qobject_cast<QLabel*>(window);
    }
    return nullptr;
}

// The lines the tip on the screen shows, each as it is laid out; none without a tip.
inline QStringList lines()
{
    const QLabel* tip = label();
    if (!tip)
        return {};
    const auto* document = tip->findChild<QTextDocument*>();
    if (!document) // shown as plain text, broken only where the text breaks itself
        return tip->text().split(QLatin1Char('\n'));
    QStringList shown;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            QString text = block.text().mid(line.textStart(), line.textLength());
            if (text.endsWith(QChar::LineSeparator))
                text.chop(1);
            shown.append(text);
        }
    }
    return shown;
}

// What shows a field's text, where the mouse rests to read it: a choice box's line edit when
// it is editable, else the field itself.
inline QWidget* textHolder(QWidget* field)
{
    const auto* box = qobject_cast<QComboBox*>(field);
    return box && box->lineEdit() ? static_cast<QWidget*>(box->lineEdit()) : field;
}

// The lines of the tip a rest of the mouse over `at` in `widget` shows; none when it shows
// none.
inline QStringList at(QWidget* widget, const QPoint& at)
{
    // Gone at once: a tool tip told to go lingers a while first.
    if (QLabel* shown = label())
        shown->hide();
    QHelpEvent event(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QCoreApplication::sendEvent(widget, &event);
    return lines();
}

} // namespace ShownTip
