#pragma once

#include <QPixmap>

// A pixmap from a compiled-in XPM picture with its key colour made transparent, as
// keyedPixmap() does (resources/keyedpixmap.h).
//
// Every icon of the shell is loaded through here. Call it only once the application
// object exists.
QPixmap xpmIcon(const char* const* xpm);
