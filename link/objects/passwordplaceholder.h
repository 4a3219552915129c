#pragma once

#include <QString>

// A stored password is never read back: its field shows this text instead, and a field
// still holding it when the form is applied means the password is left as it was.
inline QString passwordPlaceholder()
{
    return QStringLiteral("PlainFillText");
}
