// Pictures of an image list as Qt pixmaps, for the Qt widgets that show them (trees, tabs).
#pragma once

#include <QPixmap>

class TCustomImageList;

// The picture index of list with overlay (a TCustomImageList overlay number, -1 for none) on
// top; disabled pictures come greyed the way the style greys icons, ghosted ones half clear
// (a cut item). A null pixmap for an index outside the list.
QPixmap ImageListPixmap(const TCustomImageList& list, int index, int overlay = -1, bool enabled = true, bool ghosted = false);
