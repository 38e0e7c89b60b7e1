// The common-controls library's services that are no control: the version it reports, and
// the shared system image lists (small and large) with their two overlays.
#pragma once

#include "platform/vcl/GraphicsImageList.h"
#include "platform/vcl/Messages.h"

// The version this platform's common controls behave as: 6.0. The packed form is the most
// significant file-version word, major in the high 16 bits (0x00060000).
inline constexpr DWORD COMCTL32_VERSION_MAJOR = 6;
inline constexpr DWORD COMCTL32_VERSION_MINOR = 0;
inline constexpr DWORD ComCtl32PackedVersion() { return (COMCTL32_VERSION_MAJOR << 16) | COMCTL32_VERSION_MINOR; }
// Fills a DllGetVersion record; E_INVALIDARG for a null record or a wrong cbSize.
HRESULT ComCtl32GetVersion(DLLVERSIONINFO* info);

// The overlays every system image list carries, as TCustomImageList overlay numbers (the
// platform's overlays 1 and 2): a shared item and a link.
inline constexpr int SHARE_OVERLAY = 0;
inline constexpr int LINK_OVERLAY = 1;

// The shared system image lists: index 0 the small (16 x 16), 1 the large (32 x 32). They live
// for the whole process; pictures added to them are seen by every control that shows them.
TCustomImageList* SystemImageList(int sizeIndex);

// Registers the common controls for form files (tree view, status bar, page control, tab
// control, tool bar, image list, date controls).
void RegisterCommonControlClasses();
