// The pictures of the main window: the list's type, attachment and check-box header icons at
// their fixed indexes, and the toolbar's icons in the order of its buttons. They come from the
// desktop's icon theme, with plain drawn stand-ins where the theme has none.
#pragma once

class TCustomImageList;

// Indexes in the list's image list.
inline constexpr int kImageAttachment = 0;
inline constexpr int kImageHeaderUnchecked = 12;
inline constexpr int kImageHeaderChecked = 13;

void FillListImages(TCustomImageList& images);

// The toolbar's buttons, in order; their image indexes.
enum ToolbarImage : int {
    tiOpen, tiExit, tiReply, tiForward, tiSaveMsg, tiSaveHeader, tiPrint, tiPrintHeader,
    tiSearch, tiExport, tiCopyTo, tiDelete, tiRefresh, tiStop, tiCount
};
void FillToolbarImages(TCustomImageList& images);
