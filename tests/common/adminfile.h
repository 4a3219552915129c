#pragma once

// The settings file in which the console keeps its window and column layouts, as text:
// what the administrator's next console would read.

#include <QDir>
#include <QFile>
#include <QString>

inline QString adminFileText()
{
    QFile file(QDir::homePath() + QStringLiteral("/.Ornel/adminrc"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("<missing>");
}
