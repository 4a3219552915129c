#pragma once

// Column models declared the way the list pages declare theirs, and the settings file their
// layouts are kept in, for the framework's tests.

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
        const QString arg = operation.section(QLatin1Char(' '), 1, 1);
        if (verb == QLatin1String("show"))
            model->show(arg.toInt());
        else if (verb == QLatin1String("hide"))
            model->hide(arg.toInt());
        else if (verb == QLatin1String("up"))
            model->up(arg.toInt());
        else if (verb == QLatin1String("down"))
            model->down(arg.toInt());
        else if (verb == QLatin1String("reset"))
            model->reset();
        else if (verb == QLatin1String("add"))
            model->add(QStringLiteral("C%1").arg(model->titles.size()), arg == QLatin1String("S"), -1, false);
        else
            QFAIL(qPrintable(QStringLiteral("unknown operation ") + operation));
    }
}

inline QString adminFileText()
{
    QFile file(QDir::homePath() + QStringLiteral("/.Ornel/adminrc"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("<missing>");
}
