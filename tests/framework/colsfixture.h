#pragma once

// Column models declared the way the list pages declare theirs, and the settings file their
// layouts are kept in, for the framework's tests.

#include "adminfile.h"
#include "cols.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QtTest>

using IntList = QList<int>;

// One letter per column: S shown by default, H hidden by default. Titles "C<id>", widths
// automatic.
inline Cols declaredModel(const QString& shownHidden)
{
    Cols model;
    for (const QChar letter : shownHidden)
        model.add(QStringLiteral("C%1").arg(model.titles.size()), letter == QLatin1Char('S'), -1, false);
    return model;
}

// Runs operations such as "show 0", "hide 1", "up 2", "down 0", "reset" and "add S".
inline void edit(Cols* model, const QStringList& operations)
{
    for (const QString& operation : operations) {
        const QString verb = operation.section(QLatin1Char(' '), 0, 0);
        const int arg = operation.section(QLatin1Char(' '), 1, 1).toInt();
        if (verb == QLatin1String("show"))
            model->show(arg);
        else if (verb == QLatin1String("hide"))
            model->hide(arg);
        else if (verb == QLatin1String("up"))
            model->up(arg);
        else if (verb == QLatin1String("down"))
            model->down(arg);
        else if (verb == QLatin1String("reset"))
            model->reset();
        else if (operation == QLatin1String("add S"))
            model->add(QStringLiteral("C%1").arg(model->titles.size()), true, -1, false);
        else
            QFAIL(qPrintable(QStringLiteral("unknown operation ") + operation));
    }
}

// Every field but the view.
inline void compareLayout(const Cols& actual, const Cols& expected)
{
    QCOMPARE(actual.cols, expected.cols);
    QCOMPARE(actual.disp, expected.disp);
    QCOMPARE(actual.dispinv, expected.dispinv);
    QCOMPARE(actual.hid, expected.hid);
    QCOMPARE(actual.titles, expected.titles);
    QCOMPARE(actual.showFlags, expected.showFlags);
    QCOMPARE(actual.width, expected.width);
    QCOMPARE(actual.defTitles, expected.defTitles);
    QCOMPARE(actual.defShow, expected.defShow);
    QCOMPARE(actual.defWidth, expected.defWidth);
}
