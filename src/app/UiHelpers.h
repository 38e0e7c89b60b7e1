// Small helpers the program's windows share: a progress bar drawn in a status-bar panel, the
// system's text for an error code, a folder picker, the executable name of a process, and a
// rich-text control's content printed page by page.
#pragma once

#include <optional>
#include <vector>

#include "platform/vcl/GdiTypes.h"
#include "platform/vcl/Types.h"
#include "platform/win/WinTypes.h"

class TCanvas;
class TCustomStatusBar;
class TStatusPanel;

// The rectangle of panel index of a status bar whose client rectangle and panel widths are
// given; nothing when the index is out of range.
std::optional<TRect> StatusPanelRect(const TRect& client, const std::vector<int>& widths, unsigned index);
// Repaints that panel later (the background is not erased); an index out of range is ignored.
void InvalidateStatusPanel(TCustomStatusBar* bar, unsigned index);

// Draws percent (capped at 100) as a blue bar inset 3 pixels left and right and 2 at top and
// bottom, button face from its end to the panel's right edge. The panel argument is not used.
void DrawStatusProgress(TCustomStatusBar* bar, TStatusPanel* panel, const TRect& rect, unsigned percent);
void DrawStatusProgress(TCanvas* canvas, const TRect& rect, unsigned percent);

// The system's text for an error code in an error box (the number when it has no text).
void ShowSystemError(int code);
// A folder chosen by the user; empty when cancelled.
WideString BrowseForFolder(HWND owner);

// The base name of a process's executable; empty when the process is gone or not readable.
WideString GetProcessNameById(DWORD pid);
WideString GetProcessNameByHandle(HANDLE process);

// Prints the whole text of a rich-edit control onto dc, width by height pixels a page (0: the
// screen's size). On a paged device (a printer, a PDF) every page starts at the top of a new
// page; on a continuous surface (a metafile) pages follow each other downwards. 1 when the whole
// text was laid out (or there was nothing to print), 0 otherwise.
int printRTF(HWND richEdit, HDC dc, int width, int height);
