// The canvas unit: colours, TFont, TPen, TBrush and TCanvas over the drawing interface.
// A canvas draws on its HDC and selects its font, pen and brush into it when a drawing needs
// them; the pictures (TBitmap, TIcon, TPicture...) are in GraphicsImages.h.
#pragma once

#include <mutex>
#include <vector>

#include "platform/vcl/Classes.h"
#include "platform/vcl/GdiTypes.h"
#include "platform/vcl/SysUtils.h"
#include "platform/vcl/TypInfo.h"
#include "platform/vcl/Types.h"

QUILLORA_EXCEPTION_CLASS(EInvalidGraphic, Exception);
QUILLORA_EXCEPTION_CLASS(EInvalidGraphicOperation, Exception);
// A system object (handle, context, bitmap) could not be made.
QUILLORA_EXCEPTION_CLASS(EOutOfResources, Exception);

// ---- colours

inline constexpr TColor SystemColor(int index) { return static_cast<TColor>(0xFF000000u | static_cast<unsigned>(index)); }
inline constexpr bool IsSystemColor(TColor c) { return (static_cast<unsigned>(c) & 0xFF000000u) == 0xFF000000u; }
inline constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                        clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                        clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                        clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                        clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0,
                        clNone = 0x1FFFFFFF, clDefault = 0x20000000;
inline constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR), clBackground = SystemColor(COLOR_BACKGROUND),
                        clActiveCaption = SystemColor(COLOR_ACTIVECAPTION),
                        clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION), clMenu = SystemColor(COLOR_MENU),
                        clWindow = SystemColor(COLOR_WINDOW), clWindowFrame = SystemColor(COLOR_WINDOWFRAME),
                        clMenuText = SystemColor(COLOR_MENUTEXT), clWindowText = SystemColor(COLOR_WINDOWTEXT),
                        clCaptionText = SystemColor(COLOR_CAPTIONTEXT),
                        clActiveBorder = SystemColor(COLOR_ACTIVEBORDER),
                        clInactiveBorder = SystemColor(COLOR_INACTIVEBORDER),
                        clAppWorkSpace = SystemColor(COLOR_APPWORKSPACE), clHighlight = SystemColor(COLOR_HIGHLIGHT),
                        clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT), clBtnFace = SystemColor(COLOR_BTNFACE),
                        clBtnShadow = SystemColor(COLOR_BTNSHADOW), clGrayText = SystemColor(COLOR_GRAYTEXT),
                        clBtnText = SystemColor(COLOR_BTNTEXT),
                        clInactiveCaptionText = SystemColor(COLOR_INACTIVECAPTIONTEXT),
                        clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT), cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW),
                        cl3DLight = SystemColor(COLOR_3DLIGHT), clInfoText = SystemColor(COLOR_INFOTEXT),
                        clInfoBk = SystemColor(COLOR_INFOBK), clHotLight = SystemColor(COLOR_HOTLIGHT),
                        clGradientActiveCaption = SystemColor(COLOR_GRADIENTACTIVECAPTION),
                        clGradientInactiveCaption = SystemColor(COLOR_GRADIENTINACTIVECAPTION),
                        clMenuHighlight = SystemColor(COLOR_MENUHILIGHT), clMenuBar = SystemColor(COLOR_MENUBAR);

// The RGB value of a colour: system colours through the colour scheme; clNone and clDefault
// give black.
COLORREF ColorToRGB(TColor color);

// ---- font, pen, brush

// A drawing object with a handle made on demand; a change tells the owner (OnChange) before the
// old handle goes, so that a canvas can take it out of its context first.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;
    ~TGraphicsObject() override;

protected:
    TGraphicsObject() = default;
    TGraphicsObject(const TGraphicsObject&) = delete;
    TGraphicsObject& operator=(const TGraphicsObject&) = delete;
    void Changed();
    HGDIOBJ CachedHandle() const { return handle_; }
    void SetCachedHandle(HGDIOBJ h) { handle_ = h; }
    void FreeHandle();

private:
    HGDIOBJ handle_ = nullptr;
    std::vector<HGDIOBJ> retired_;  // handles still selected somewhere when they went
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
QUILLORA_ENUM_TYPEINFO(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
QUILLORA_ENUM_TYPEINFO(TFontPitch, "fpDefault", "fpVariable", "fpFixed")

class TFont : public TGraphicsObject {
    QUILLORA_PERSISTENT(TFont)
public:
    TFont();
    void Assign(const TPersistent* source) override;

    // "MS Sans Serif", 8 points (height -11 at 96 pixels per inch), the window-text colour.
    const WideString& Name() const { return name_; }
    void SetName(const WideString& name);
    int Height() const { return height_; }
    void SetHeight(int height);
    int Size() const;  // points
    void SetSize(int points);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);
    BYTE Charset() const { return charset_; }
    void SetCharset(BYTE charset);
    // Tenths of a degree, counter-clockwise: rotated text.
    int Orientation() const { return orientation_; }
    void SetOrientation(int tenths);
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int ppi) { pixelsPerInch_ = ppi; }

    LOGFONTW LogFont() const;
    void SetLogFont(const LOGFONTW& font);
    HFONT Handle();
    // Takes the font record of a handle (the handle stays the caller's).
    void SetHandle(HFONT font);

private:
    WideString name_ = u"MS Sans Serif";
    int height_ = -11;
    TColor color_ = clWindowText;
    TFontStyles style_;
    TFontPitch pitch_ = fpDefault;
    BYTE charset_ = DEFAULT_CHARSET;
    int orientation_ = 0;
    int pixelsPerInch_ = 96;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
    pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
QUILLORA_ENUM_TYPEINFO(TPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame")
QUILLORA_ENUM_TYPEINFO(TPenMode, "pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
                       "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask",
                       "pmNotMask", "pmXor", "pmNotXor")

class TPen : public TGraphicsObject {
    QUILLORA_PERSISTENT(TPen)
public:
    TPen() = default;
    void Assign(const TPersistent* source) override;
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode mode);
    // The binary raster operation of the mode (R2_*).
    int Rop2() const;
    HPEN Handle();

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
QUILLORA_ENUM_TYPEINFO(TBrushStyle, "bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal",
                       "bsCross", "bsDiagCross")

class TBitmap;

class TBrush : public TGraphicsObject {
    QUILLORA_PERSISTENT(TBrush)
public:
    TBrush() = default;
    void Assign(const TPersistent* source) override;
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    // A pattern (usually 8x8) the brush paints with; the bitmap stays the caller's and must
    // outlive its use here.
    TBitmap* Bitmap() const { return bitmap_; }
    void SetBitmap(TBitmap* bitmap);
    HBRUSH Handle();

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    TBitmap* bitmap_ = nullptr;
};

// ---- canvas

enum TCanvasStates { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStates>;
enum TCanvasOrientation { coLeftToRight, coRightToLeft };
enum TTextFormats {
    tfBottom, tfCalcRect, tfCenter, tfEditControl, tfEndEllipsis, tfPathEllipsis, tfExpandTabs,
    tfExternalLeading, tfLeft, tfModifyString, tfNoClip, tfNoPrefix, tfRight, tfRtlReading, tfSingleLine,
    tfTop, tfVerticalCenter, tfWordBreak, tfHidePrefix, tfNoFullWidthCharBreak, tfPrefixOnly, tfTabStop,
    tfWordEllipsis
};
using TTextFormat = TSet<TTextFormats>;
// The DrawText format of a text format.
UINT TextFormatFlags(TTextFormat format);

using TCopyMode = DWORD;
inline constexpr TCopyMode cmBlackness = BLACKNESS, cmDstInvert = DSTINVERT, cmMergeCopy = MERGECOPY,
                           cmMergePaint = MERGEPAINT, cmNotSrcCopy = NOTSRCCOPY, cmNotSrcErase = NOTSRCERASE,
                           cmPatCopy = PATCOPY, cmPatInvert = PATINVERT, cmPatPaint = PATPAINT, cmSrcAnd = SRCAND,
                           cmSrcCopy = SRCCOPY, cmSrcErase = SRCERASE, cmSrcInvert = SRCINVERT,
                           cmSrcPaint = SRCPAINT, cmWhiteness = WHITENESS;

class TGraphic;

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    std::string_view ClassName() const override { return "TCanvas"; }

    // The context drawn on; a canvas without one asks CreateHandle when it must draw.
    HDC Handle();
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return handle_ != nullptr; }

    TFont* Font() const { return font_.get(); }
    void SetFont(const TFont* font) { font_->Assign(font); }
    TPen* Pen() const { return pen_.get(); }
    void SetPen(const TPen* pen) { pen_->Assign(pen); }
    TBrush* Brush() const { return brush_.get(); }
    void SetBrush(const TBrush* brush) { brush_->Assign(brush); }

    TPoint PenPos();
    void SetPenPos(TPoint p);
    TCopyMode CopyMode() const { return copyMode_; }
    void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }
    int TextFlags = 0;  // ETO_* options of TextOut and TextRect
    TCanvasOrientation CanvasOrientation() const { return coLeftToRight; }
    // The part of the canvas drawing reaches, in logical units.
    TRect ClipRect();

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.left, r.top, r.right, r.bottom); }
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Polygon(const std::vector<TPoint>& points);
    void Polyline(const std::vector<TPoint>& points);
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void DrawFocusRect(const TRect& r);

    void TextOut(int x, int y, const WideString& text);
    // Text at (x, y) clipped to r; the brush fills r unless it is clear.
    void TextRect(const TRect& r, int x, int y, const WideString& text);
    // DrawText into r; with tfCalcRect only measures, and r receives the text's bounds.
    void TextRect(TRect& r, const WideString& text, TTextFormat format);
    TSize TextExtent(const WideString& text);
    int TextWidth(const WideString& text) { return TextExtent(text).cx; }
    int TextHeight(const WideString& text) { return TextExtent(text).cy; }

    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& r, TGraphic* graphic);
    // Copies src of another canvas into dest with CopyMode.
    void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& src);
    // Copies src of a bitmap into dest, the pixels of colour replaced by the brush.
    void BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& src, TColor color);

    // Serialises drawing from several threads.
    void Lock();
    void Unlock();
    bool TryLock();
    int LockCount() const { return lockCount_; }

    // Takes the font, pen and brush out of the context (before it goes).
    void Refresh();

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void CreateHandle() {}
    virtual void Changing();
    virtual void Changed();
    // Makes sure the handle exists and the objects in state are selected; raises
    // EInvalidGraphicOperation "Canvas does not allow drawing" without a handle.
    void RequiredState(TCanvasState state);
    void DeselectHandles();

private:
    void FontChanged();
    void PenChanged();
    void BrushChanged();

    HDC handle_ = nullptr;
    TCanvasState state_;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TPen> pen_;
    std::unique_ptr<TBrush> brush_;
    TCopyMode copyMode_ = cmSrcCopy;
    std::recursive_mutex lock_;
    int lockCount_ = 0;
    // The objects the context held before ours were selected.
    HGDIOBJ stockPen_ = nullptr, stockBrush_ = nullptr, stockFont_ = nullptr;
};
