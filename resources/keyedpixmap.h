#pragma once

#include <QBitmap>
#include <QPixmap>

// The module's pictures are drawn on a key colour rather than with transparency. This
// masks the key colour away: the colour of the corners, and every pixel of it connected
// to the edge (QPixmap::createHeuristicMask with tight clipping). A picture that already
// carries transparency (an XPM with key colour "None") is returned as it is: its
// transparent pixels read as black, and a heuristic mask would eat a black outline with
// them. Call it only once the application object exists.
inline QPixmap keyedPixmap(QPixmap pixmap)
{
    if (!pixmap.isNull() && !pixmap.hasAlphaChannel())
        pixmap.setMask(pixmap.createHeuristicMask(true));
    return pixmap;
}
