#pragma once

#include <QtGlobal>

// What a form's slot does until the class derived from the form overrides it: it says so,
// naming the slot as "TDlgCols::slotAdd()".
inline void notImplemented(const char* slotSignature)
{
    qWarning("%s: Not implemented yet!", slotSignature);
}
