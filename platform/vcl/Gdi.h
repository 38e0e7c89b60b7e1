// The Windows drawing functions the program calls, with their Windows signatures and rules:
// right and bottom edges are exclusive, a line leaves out its end point, coordinates are
// logical units mapped by the context's map mode. Failures return what Windows returns
// (0, FALSE, nullptr, CLR_INVALID, GDI_ERROR) with the last error set.
//
// Drawing needs the toolkit side installed (platform/vcl/qt/GdiQt.h, InstallQtGdi): without it
// contexts cannot be created and the calls fail with ERROR_NOT_SUPPORTED.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/vcl/GdiTypes.h"

// a * b / c rounded to the nearest, -1 when c is 0.
int MulDiv(int a, int b, int c);

// ---- objects
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
HFONT CreateFontIndirectW(const LOGFONTW* font);
HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCWSTR face);
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HGDIOBJ GetStockObject(int which);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
BOOL DeleteObject(HGDIOBJ obj);
DWORD GetObjectType(HGDIOBJ obj);
// Fills a BITMAP, LOGPEN, LOGBRUSH or LOGFONTW; returns the bytes written (the size needed
// when buffer is null), 0 on failure.
int GetObjectW(HGDIOBJ obj, int size, void* buffer);
// Pixel rows of a bitmap as a device-independent bitmap: bottom-up unless biHeight < 0.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage);
int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);

// ---- regions
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* r);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int w, int h);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const RECT* r);
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
HRGN CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode);
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
int OffsetRgn(HRGN rgn, int dx, int dy);
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL RectInRegion(HRGN rgn, const RECT* r);
BOOL EqualRgn(HRGN a, HRGN b);
int GetRgnBox(HRGN rgn, RECT* box);
BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush);
BOOL PaintRgn(HDC dc, HRGN rgn);
BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int w, int h);
BOOL InvertRgn(HDC dc, HRGN rgn);

// ---- clipping (regions in device units, rectangles in logical units)
int SelectClipRgn(HDC dc, HRGN rgn);
int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
int GetClipBox(HDC dc, RECT* box);
// 1 with the clip region copied into rgn, 0 when the context has none, -1 on failure.
int GetClipRgn(HDC dc, HRGN rgn);
BOOL PtVisible(HDC dc, int x, int y);
BOOL RectVisible(HDC dc, const RECT* r);

// ---- device contexts
HDC CreateCompatibleDC(HDC dc);
// "DISPLAY" gives a screen context; "WINSPOOL" (or no driver) with a printer's name (empty: the
// default printer) a printer context.
HDC CreateDCW(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const void* devMode);
HDC CreateICW(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const void* devMode);
BOOL DeleteDC(HDC dc);
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int saved);
int GetDeviceCaps(HDC dc, int index);
// GetDC(nullptr) is a context of the screen. Contexts of windows come from the window side
// (SetWindowDcProvider); ReleaseDC gives either back.
HDC GetDC(HWND window);
HDC GetWindowDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
// The window side answers GetDC (client area) and GetWindowDC (whole window) for a handle.
using WindowDcProvider = std::function<HDC(HWND window, bool wholeWindow)>;
void SetWindowDcProvider(WindowDcProvider provider);

// ---- attributes
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
int SetROP2(HDC dc, int rop2);
int GetROP2(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetBrushOrgEx(HDC dc, POINT* org);
int SetArcDirection(HDC dc, int direction);
int GetArcDirection(HDC dc);
int SetTextCharacterExtra(HDC dc, int extra);
COLORREF SetDCBrushColor(HDC dc, COLORREF color);
COLORREF SetDCPenColor(HDC dc, COLORREF color);

// ---- coordinate mapping
int SetMapMode(HDC dc, int mode);
int GetMapMode(HDC dc);
BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetWindowOrgEx(HDC dc, POINT* org);
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetViewportOrgEx(HDC dc, POINT* org);
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* old);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* old);
BOOL SetWindowExtEx(HDC dc, int x, int y, SIZE* old);
BOOL GetWindowExtEx(HDC dc, SIZE* ext);
BOOL SetViewportExtEx(HDC dc, int x, int y, SIZE* old);
BOOL GetViewportExtEx(HDC dc, SIZE* ext);
BOOL LPtoDP(HDC dc, POINT* points, int count);
BOOL DPtoLP(HDC dc, POINT* points, int count);

// ---- lines and shapes
BOOL MoveToEx(HDC dc, int x, int y, POINT* old);
BOOL LineTo(HDC dc, int x, int y);
BOOL GetCurrentPositionEx(HDC dc, POINT* pos);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL PolylineTo(HDC dc, const POINT* points, DWORD count);
BOOL PolyPolyline(HDC dc, const POINT* points, const DWORD* counts, DWORD polylines);
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL PolyPolygon(HDC dc, const POINT* points, const INT* counts, int polygons);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int w, int h);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL Pie(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL Chord(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);

// A brush handle may be a system colour index + 1, as window classes give it.
int FillRect(HDC dc, const RECT* r, HBRUSH brush);
int FrameRect(HDC dc, const RECT* r, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* r);
BOOL DrawFocusRect(HDC dc, const RECT* r);
BOOL DrawEdge(HDC dc, RECT* r, UINT edge, UINT flags);
BOOL DrawFrameControl(HDC dc, RECT* r, UINT type, UINT state);
BOOL GradientFill(HDC dc, const TRIVERTEX* vertices, ULONG vertexCount, const void* mesh, ULONG meshCount, ULONG mode);

// ---- pixels and blits
COLORREF GetPixel(HDC dc, int x, int y);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
BOOL SetPixelV(HDC dc, int x, int y, COLORREF color);
BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop);
BOOL BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop);
BOOL StretchBlt(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop);
// Copies the source leaving out the pixels of the transparent colour.
BOOL TransparentBlt(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, UINT transparent);
int StretchDIBits(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh, const void* bits,
                  const BITMAPINFO* info, UINT usage, DWORD rop);

// ---- text
BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int length);
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* r, LPCWSTR text, UINT length, const INT* dx);
// length -1: up to the terminating zero. Returns the text's height (with DT_VCENTER or
// DT_BOTTOM, the offset from the top of r to the bottom of the text), 0 on failure.
// DT_MODIFYSTRING is not honoured: the text is never written to.
int DrawTextW(HDC dc, LPCWSTR text, int length, RECT* r, UINT format);
// The same for UTF-8 text (the 8-bit code page is UTF-8).
int DrawTextA(HDC dc, LPCSTR text, int length, RECT* r, UINT format);
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int length, SIZE* size);
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, SIZE* size);
// How many characters fit in maxExtent, and the extent of every prefix.
BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int length, int maxExtent, INT* fit, INT* dx, SIZE* size);
BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics);
int GetTextFaceW(HDC dc, int count, LPWSTR face);

// ---- system colours (the classic scheme)
DWORD GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);
BOOL SetSysColors(int count, const INT* indices, const COLORREF* colors);

// ---- icons: pictures with transparency
HICON CreateIconFromPixels(int width, int height, const std::uint32_t* argb);
BOOL DestroyIcon(HICON icon);
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int w, int h, UINT step, HBRUSH flicker, UINT flags);
inline constexpr UINT DI_MASK = 1;
inline constexpr UINT DI_IMAGE = 2;
inline constexpr UINT DI_NORMAL = 3;
// The icon's size and pixels (0xAARRGGBB); false for a bad handle.
bool GetIconPixels(HICON icon, int* width, int* height, std::vector<std::uint32_t>* argb);
