// Enhanced metafiles as recorded drawings: a metafile context records what is drawn on it in
// the pixels of its reference device, and playing the picture scales it into any rectangle of
// any device (screen, bitmap, printer, PDF page, another metafile).
#pragma once

#include "platform/vcl/GdiTypes.h"

// frame: the picture's size in .01 millimetres (right and bottom exclusive), or null to take
// the bounds of what is drawn. ref: the device whose text metrics the recording uses (null:
// the screen). Only pictures in memory are made: a file name fails with ERROR_NOT_SUPPORTED.
HDC CreateEnhMetaFileW(HDC ref, LPCWSTR fileName, const RECT* frame, LPCWSTR description);
// Ends the recording, deletes the context and gives the picture.
HENHMETAFILE CloseEnhMetaFile(HDC dc);
// Draws the picture with its frame mapped onto r (logical units of dc).
BOOL PlayEnhMetaFile(HDC dc, HENHMETAFILE picture, const RECT* r);
BOOL DeleteEnhMetaFile(HENHMETAFILE picture);
HENHMETAFILE CopyEnhMetaFileW(HENHMETAFILE picture, LPCWSTR fileName);
// The header's size when header is null, else the bytes written (0 on failure).
UINT GetEnhMetaFileHeader(HENHMETAFILE picture, UINT size, ENHMETAHEADER* header);
// Where a page may end at or above y (picture pixels) without cutting a line of text or a
// picture in two: the top of the highest one reaching across y, and so on upwards. y when none
// reaches across, and y as well when the break would not lie below `above` (a line or picture
// taller than the page is cut).
LONG GetEnhMetaFileBreak(HENHMETAFILE picture, LONG y, LONG above);
