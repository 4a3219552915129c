#pragma once

#include <QDir>
#include <QString>

#include <cstdio>
#include <optional>

// The one argument of the picture generators: the existing folder their files go to.
// Says what is wrong on stderr and gives nothing when the command line is not that.
inline std::optional<QDir> outputFolder(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return std::nullopt;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists()) {
        std::fprintf(stderr, "%s: no such folder\n", argv[1]);
        return std::nullopt;
    }
    return out;
}
