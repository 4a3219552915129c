#pragma once

// What the administrator does to one widget of a dialog or page, as data: a row of a
// data-driven test names the widget and what is done to it, and perform() does it the way a
// person does (keys and clicks, never a setter), so that the signals a person's action sends
// reach the dialog as they would.

#include "columnsdialog.h"
#include "dialogrecorder.h"
#include "typing.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTreeWidget>

#include <memory>

struct WidgetAction
{
    enum Kind {
        Click,   // a button, check box or radio button, by the space bar
        Choose,  // the entry of a choice box with this text, by the arrow keys
        Type,    // this text over a line edit, an editable choice box or a spin box
        Step,    // a spin box this many steps up (down when negative), by the arrow keys
        Toggle,  // the check box of the list entry with this text (none: the first), by the space bar
        Columns, // "Modify Columns..." of a list page, this column taken out: the list rebuilt
        Select,  // the list entry with this text made the current one, as a click on it does
    };

    Kind kind = Click;
    QString widget;   // object name; for Columns, the page's slot that opens the dialog
    QString argument; // the entry, the text, the number of steps or the column title
};

Q_DECLARE_METATYPE(WidgetAction)

using WidgetActions = QList<WidgetAction>;

namespace Admin {

inline WidgetAction click(const QString& widget)
{
    return {WidgetAction::Click, widget, {}};
}
inline WidgetAction choose(const QString& widget, const QString& entry)
{
    return {WidgetAction::Choose, widget, entry};
}
inline WidgetAction type(const QString& widget, const QString& text)
{
    return {WidgetAction::Type, widget, text};
}
inline WidgetAction step(const QString& widget, int steps)
{
    return {WidgetAction::Step, widget, QString::number(steps)};
}
inline WidgetAction toggle(const QString& list, const QString& entry)
{
    return {WidgetAction::Toggle, list, entry};
}
inline WidgetAction columns(const QString& slot, const QString& hidden)
{
    return {WidgetAction::Columns, slot, hidden};
}
inline WidgetAction select(const QString& list, const QString& entry)
{
    return {WidgetAction::Select, list, entry};
}

} // namespace Admin

// The action in words, for a row's name: "click m_chkAuth", "choose m_comboType 'Daily'".
inline QString describe(const WidgetAction& action)
{
    if (action.kind == WidgetAction::Columns)
        return QStringLiteral("columns without '") + action.argument + QLatin1Char('\'');
    static const char* const verbs[] = {"click", "choose", "type", "step", "toggle", "", "select"};
    QString text = QString::fromLatin1(verbs[action.kind]) + QLatin1Char(' ') + action.widget;
    if (action.kind != WidgetAction::Click)
        text += QStringLiteral(" '") + action.argument + QLatin1Char('\'');
    return text;
}

inline QString describe(const WidgetActions& actions)
{
    QStringList texts;
    for (const WidgetAction& action : actions)
        texts.append(describe(action));
    return texts.join(QStringLiteral(", "));
}

namespace WidgetActionsDetail {

inline bool chooseEntry(QComboBox* box, const QString& entry)
{
    const int wanted = box->findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (wanted < 0)
        return false;
    // An editable box may show another text over the entry it stands on: a person steps off
    // the entry and back onto it.
    if (box->currentIndex() == wanted && box->currentText() != entry) {
        const bool last = wanted + 1 >= box->count();
        if (box->count() < 2)
            return false;
        QTest::keyClick(box, last ? Qt::Key_Up : Qt::Key_Down);
    }
    // One arrow key per entry passed over, as a person steps through a closed box.
    while (box->currentIndex() != wanted) {
        const int before = box->currentIndex();
        QTest::keyClick(box, wanted > before ? Qt::Key_Down : Qt::Key_Up);
        if (box->currentIndex() == before)
            return false;
    }
    return true;
}

inline bool typeInto(QWidget* widget, const QString& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        typeOver(edit, text);
        return true;
    }
    if (auto* box = qobject_cast<QComboBox*>(widget)) {
        if (!box->lineEdit())
            return false;
        typeOver(box->lineEdit(), text);
        return true;
    }
    if (qobject_cast<QAbstractSpinBox*>(widget)) {
        auto* edit = widget->findChild<QLineEdit*>();
        if (!edit)
            return false;
        typeOver(edit, text);
        return true;
    }
    return false;
}

// The entry with this text in its first column; the list's first entry for an empty text.
inline QTreeWidgetItem* entryNamed(QTreeWidget* list, const QString& entry)
{
    if (entry.isEmpty())
        return list->topLevelItem(0);
    const QList<QTreeWidgetItem*> found = list->findItems(entry, Qt::MatchExactly | Qt::MatchRecursive);
    return found.size() == 1 ? found.first() : nullptr;
}

inline bool toggleEntry(QTreeWidget* list, const QString& entry)
{
    QTreeWidgetItem* item = entryNamed(list, entry);
    if (!item)
        return false;
    const Qt::CheckState before = item->checkState(0);
    list->setCurrentItem(item, 0);
    QTest::keyClick(list, Qt::Key_Space);
    return item->checkState(0) != before;
}

} // namespace WidgetActionsDetail

// Does `action` to the widget of that name under `root`; false when there is no such widget
// or the action could not be done (no such entry, a key that changed nothing). Columns needs
// the recorder that answers the page's dialogs.
inline bool perform(QWidget* root, const WidgetAction& action, DialogRecorder* recorder = nullptr)
{
    using namespace WidgetActionsDetail;
    if (action.kind == WidgetAction::Columns) {
        if (!recorder)
            return false;
        // Held by value: the answer stays queued should the page open no dialog.
        const auto accepted = std::make_shared<bool>(false);
        recorder->answerDialog([accepted, hide = hideColumnNamed(action.argument)](QDialog* dialog) {
            const int result = hide(dialog);
            *accepted = result == QDialog::Accepted;
            return result;
        });
        return QMetaObject::invokeMethod(root, action.widget.toLatin1().constData()) && *accepted;
    }
    QWidget* widget = root->findChild<QWidget*>(action.widget);
    if (!widget)
        return false;
    switch (action.kind) {
    case WidgetAction::Click: {
        auto* button = qobject_cast<QAbstractButton*>(widget);
        if (!button)
            return false;
        QTest::keyClick(button, Qt::Key_Space);
        return true;
    }
    case WidgetAction::Choose: {
        auto* box = qobject_cast<QComboBox*>(widget);
        return box && chooseEntry(box, action.argument);
    }
    case WidgetAction::Type:
        return typeInto(widget, action.argument);
    case WidgetAction::Step: {
        auto* spin = qobject_cast<QAbstractSpinBox*>(widget);
        const int steps = action.argument.toInt();
        if (!spin || steps == 0)
            return false;
        for (int i = 0; i < qAbs(steps); ++i)
            QTest::keyClick(spin, steps > 0 ? Qt::Key_Up : Qt::Key_Down);
        return true;
    }
    case WidgetAction::Toggle: {
        auto* list = qobject_cast<QTreeWidget*>(widget);
        return list && toggleEntry(list, action.argument);
    }
    case WidgetAction::Select: {
        auto* list = qobject_cast<QTreeWidget*>(widget);
        QTreeWidgetItem* item = list ? entryNamed(list, action.argument) : nullptr;
        if (!item)
            return false;
        list->setCurrentItem(item, 0);
        return item->isSelected();
    }
    case WidgetAction::Columns:
        break;
    }
    return false;
}

// Every action in order; false at the first that could not be done.
inline bool performAll(QWidget* root, const WidgetActions& actions, DialogRecorder* recorder = nullptr)
{
    for (const WidgetAction& action : actions) {
        if (!perform(root, action, recorder))
            return false;
    }
    return true;
}
