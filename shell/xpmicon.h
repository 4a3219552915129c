#pragma once

#include <QPixmap>

// A pixmap from a compiled-in XPM picture whose key colour is made transparent: the colour
// of its corners, and every pixel of that colour connected to the edge, is masked away
// (QPixmap::createHeuristicMask with tight clipping). A picture that already carries
// transparency (key colour "None") is returned as it is: its transparent pixels read as
// black, and a heuristic mask would eat a black outline with them.
//
// Every icon of the module is loaded through here. Call it only once the application
// object exists.
QPixmap xpmIcon(const char* const* xpm);
