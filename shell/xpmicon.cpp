#include "xpmicon.h"

#include <QBitmap>

QPixmap xpmIcon(const char* const* xpm)
{
    QPixmap pixmap(xpm);
    if (!pixmap.isNull() && !pixmap.hasAlphaChannel())
        pixmap.setMask(pixmap.createHeuristicMask(true));
    return pixmap;
}
