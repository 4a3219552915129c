#include "xpmicon.h"

#include "keyedpixmap.h"

QPixmap xpmIcon(const char* const* xpm)
{
    return keyedPixmap(QPixmap(xpm));
}
