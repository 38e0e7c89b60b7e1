#include "platform/vcl/Graphics.h"

#include <algorithm>

#include "platform/vcl/Gdi.h"
#include "platform/vcl/GraphicsImages.h"

COLORREF ColorToRGB(TColor color) {
    const auto c = static_cast<std::uint32_t>(color);
    if ((c & 0xFF000000u) == 0xFF000000u) return GetSysColor(static_cast<int>(c & 0xFF));
    if (color == clNone || color == clDefault) return 0;
    return c & 0x00FFFFFFu;
}

// ---- graphics objects

TGraphicsObject::~TGraphicsObject() {
    FreeHandle();
    for (HGDIOBJ h : retired_) DeleteObject(h);
}

void TGraphicsObject::FreeHandle() {
    if (!handle_) return;
    if (!DeleteObject(handle_)) retired_.push_back(handle_);
    handle_ = nullptr;
}

void TGraphicsObject::Changed() {
    // The owner takes the handle out of its context first, then the handle can go.
    if (OnChange) OnChange(this);
    FreeHandle();
    std::erase_if(retired_, [](HGDIOBJ h) { return DeleteObject(h) != FALSE; });
}

// ---- font

const TMetaClass& TFont::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TFont>("TFont", nullptr, [](TClassBuilder<TFont>& b) {
        b.Property("Charset", &TFont::Charset, &TFont::SetCharset).Default(BYTE{DEFAULT_CHARSET});
        b.Property("Color", &TFont::Color, &TFont::SetColor).Default(clWindowText);
        b.Property("Height", &TFont::Height, &TFont::SetHeight).NoDefault();
        b.Property("Name", &TFont::Name, &TFont::SetName).NoDefault();
        b.Property("Orientation", &TFont::Orientation, &TFont::SetOrientation).Default(0);
        b.Property("Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault);
        b.Property("Size", &TFont::Size, &TFont::SetSize).Stored([](const TObject&) { return false; });
        b.Property("Style", &TFont::Style, &TFont::SetStyle).Default(TFontStyles{});
    });
    return meta;
}

TFont::TFont() = default;

void TFont::Assign(const TPersistent* source) {
    if (const auto* f = dynamic_cast<const TFont*>(source)) {
        name_ = f->name_;
        height_ = f->height_;
        color_ = f->color_;
        style_ = f->style_;
        pitch_ = f->pitch_;
        charset_ = f->charset_;
        orientation_ = f->orientation_;
        pixelsPerInch_ = f->pixelsPerInch_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

#define FONT_SETTER(Name, Type, field) \
    void TFont::Set##Name(Type value) { \
        if (field == value) return;      \
        field = value;                   \
        Changed();                       \
    }
FONT_SETTER(Name, const WideString&, name_)
FONT_SETTER(Height, int, height_)
FONT_SETTER(Color, TColor, color_)
FONT_SETTER(Style, TFontStyles, style_)
FONT_SETTER(Pitch, TFontPitch, pitch_)
FONT_SETTER(Charset, BYTE, charset_)
FONT_SETTER(Orientation, int, orientation_)
#undef FONT_SETTER

int TFont::Size() const { return -MulDiv(height_, 72, pixelsPerInch_); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, pixelsPerInch_, 72)); }

LOGFONTW TFont::LogFont() const {
    LOGFONTW lf;
    lf.lfHeight = height_;
    lf.lfEscapement = orientation_;
    lf.lfOrientation = orientation_;
    lf.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = style_.Contains(fsItalic);
    lf.lfUnderline = style_.Contains(fsUnderline);
    lf.lfStrikeOut = style_.Contains(fsStrikeOut);
    lf.lfCharSet = charset_;
    lf.lfPitchAndFamily = pitch_ == fpFixed ? FIXED_PITCH : pitch_ == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    std::u16string_view(name_).substr(0, LF_FACESIZE - 1).copy(lf.lfFaceName, LF_FACESIZE - 1);
    return lf;
}

void TFont::SetLogFont(const LOGFONTW& lf) {
    name_ = WideString(std::u16string_view(lf.lfFaceName, std::char_traits<char16_t>::length(lf.lfFaceName)));
    height_ = lf.lfHeight;
    TFontStyles style;
    if (lf.lfWeight >= FW_SEMIBOLD) style << fsBold;
    if (lf.lfItalic) style << fsItalic;
    if (lf.lfUnderline) style << fsUnderline;
    if (lf.lfStrikeOut) style << fsStrikeOut;
    style_ = style;
    charset_ = lf.lfCharSet;
    orientation_ = lf.lfEscapement;
    const BYTE pitch = lf.lfPitchAndFamily & 0x03;
    pitch_ = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
    Changed();
}

HFONT TFont::Handle() {
    if (!CachedHandle()) {
        const LOGFONTW lf = LogFont();
        SetCachedHandle(CreateFontIndirectW(&lf));
    }
    return static_cast<HFONT>(CachedHandle());
}

void TFont::SetHandle(HFONT font) {
    LOGFONTW lf;
    if (GetObjectW(font, sizeof(lf), &lf)) SetLogFont(lf);
}

// ---- pen

const TMetaClass& TPen::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TPen>("TPen", nullptr, [](TClassBuilder<TPen>& b) {
        b.Property("Color", &TPen::Color, &TPen::SetColor).Default(clBlack);
        b.Property("Mode", &TPen::Mode, &TPen::SetMode).Default(pmCopy);
        b.Property("Style", &TPen::Style, &TPen::SetStyle).Default(psSolid);
        b.Property("Width", &TPen::Width, &TPen::SetWidth).Default(1);
    });
    return meta;
}

void TPen::Assign(const TPersistent* source) {
    if (const auto* p = dynamic_cast<const TPen*>(source)) {
        color_ = p->color_;
        width_ = p->width_;
        style_ = p->style_;
        mode_ = p->mode_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TPen::SetColor(TColor color) {
    if (color_ == color) return;
    color_ = color;
    Changed();
}
void TPen::SetWidth(int width) {
    if (width_ == width || width < 0) return;
    width_ = width;
    Changed();
}
void TPen::SetStyle(TPenStyle style) {
    if (style_ == style) return;
    style_ = style;
    Changed();
}
void TPen::SetMode(TPenMode mode) {
    if (mode_ == mode) return;
    mode_ = mode;
    Changed();
}

int TPen::Rop2() const {
    static constexpr int kRops[] = {R2_BLACK,      R2_WHITE,     R2_NOP,        R2_NOT,         R2_COPYPEN,  R2_NOTCOPYPEN,
                                    R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
                                    R2_MASKPEN,    R2_NOTMASKPEN, R2_XORPEN,     R2_NOTXORPEN};
    return kRops[mode_];
}

HPEN TPen::Handle() {
    if (!CachedHandle()) {
        static constexpr int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        SetCachedHandle(CreatePen(kStyles[style_], width_, ColorToRGB(color_)));
    }
    return static_cast<HPEN>(CachedHandle());
}

// ---- brush

const TMetaClass& TBrush::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TBrush>("TBrush", nullptr, [](TClassBuilder<TBrush>& b) {
        b.Property("Color", &TBrush::Color, &TBrush::SetColor).Default(clWhite);
        b.Property("Style", &TBrush::Style, &TBrush::SetStyle).Default(bsSolid);
    });
    return meta;
}

void TBrush::Assign(const TPersistent* source) {
    if (const auto* b = dynamic_cast<const TBrush*>(source)) {
        color_ = b->color_;
        style_ = b->style_;
        bitmap_ = b->bitmap_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TBrush::SetColor(TColor color) {
    if (color_ == color && !bitmap_) return;
    color_ = color;
    bitmap_ = nullptr;
    if (style_ == bsClear) style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style_ == style) return;
    style_ = style;
    if (style == bsClear) bitmap_ = nullptr;
    Changed();
}

void TBrush::SetBitmap(TBitmap* bitmap) {
    bitmap_ = bitmap;
    Changed();
}

HBRUSH TBrush::Handle() {
    if (!CachedHandle()) {
        HBRUSH h = nullptr;
        if (bitmap_ && !bitmap_->Empty()) {
            h = CreatePatternBrush(bitmap_->Handle());
        } else if (style_ == bsClear) {
            LOGBRUSH lb;
            lb.lbStyle = BS_NULL;
            h = CreateBrushIndirect(&lb);
        } else if (style_ == bsSolid) {
            h = CreateSolidBrush(ColorToRGB(color_));
        } else {
            h = CreateHatchBrush(static_cast<int>(style_) - bsHorizontal, ColorToRGB(color_));
        }
        SetCachedHandle(h);
    }
    return static_cast<HBRUSH>(CachedHandle());
}

// ---- text formats

UINT TextFormatFlags(TTextFormat format) {
    static constexpr UINT kFlags[] = {
        DT_BOTTOM,      DT_CALCRECT,    DT_CENTER,     DT_EDITCONTROL, DT_END_ELLIPSIS,      DT_PATH_ELLIPSIS,
        DT_EXPANDTABS,  DT_EXTERNALLEADING, DT_LEFT,   DT_MODIFYSTRING, DT_NOCLIP,           DT_NOPREFIX,
        DT_RIGHT,       DT_RTLREADING,  DT_SINGLELINE, DT_TOP,         DT_VCENTER,           DT_WORDBREAK,
        DT_HIDEPREFIX,  DT_NOFULLWIDTHCHARBREAK, DT_PREFIXONLY, DT_TABSTOP, DT_WORD_ELLIPSIS};
    UINT flags = 0;
    for (int i = 0; i <= tfWordEllipsis; ++i)
        if (format.Contains(static_cast<TTextFormats>(i))) flags |= kFlags[i];
    return flags;
}

// ---- canvas

TCanvas::TCanvas() : font_(std::make_unique<TFont>()), pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>()) {
    font_->OnChange = [this](TObject*) { FontChanged(); };
    pen_->OnChange = [this](TObject*) { PenChanged(); };
    brush_->OnChange = [this](TObject*) { BrushChanged(); };
}

TCanvas::~TCanvas() {
    // The handle stays with whoever made it; only our objects leave it.
    DeselectHandles();
    font_->OnChange = nullptr;
    pen_->OnChange = nullptr;
    brush_->OnChange = nullptr;
}

HDC TCanvas::Handle() {
    if (!handle_) CreateHandle();
    // Code that draws on the handle itself finds the canvas's font, pen and brush selected.
    if (handle_) RequiredState({csHandleValid, csFontValid, csPenValid, csBrushValid});
    return handle_;
}

void TCanvas::SetHandle(HDC dc) {
    if (handle_ == dc) return;
    if (handle_) DeselectHandles();
    handle_ = dc;
    state_ = dc ? TCanvasState{csHandleValid} : TCanvasState{};
}

void TCanvas::DeselectHandles() {
    if (!handle_) return;
    if (state_.Contains(csPenValid) && stockPen_) SelectObject(handle_, stockPen_);
    if (state_.Contains(csBrushValid) && stockBrush_) SelectObject(handle_, stockBrush_);
    if (state_.Contains(csFontValid) && stockFont_) SelectObject(handle_, stockFont_);
    state_ = state_ - TCanvasState{csPenValid, csBrushValid, csFontValid};
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::FontChanged() {
    if (handle_ && state_.Contains(csFontValid)) {
        SelectObject(handle_, stockFont_);
        state_ >> csFontValid;
    }
}

void TCanvas::PenChanged() {
    if (handle_ && state_.Contains(csPenValid)) {
        SelectObject(handle_, stockPen_);
        state_ >> csPenValid;
    }
}

void TCanvas::BrushChanged() {
    if (handle_ && state_.Contains(csBrushValid)) {
        SelectObject(handle_, stockBrush_);
        state_ >> csBrushValid;
    }
}

void TCanvas::RequiredState(TCanvasState required) {
    if (!handle_) {
        CreateHandle();
        if (!handle_) throw EInvalidGraphicOperation(u"Canvas does not allow drawing");
        state_ << csHandleValid;
    }
    if (required.Contains(csFontValid) && !state_.Contains(csFontValid)) {
        HGDIOBJ old = SelectObject(handle_, font_->Handle());
        if (!stockFont_) stockFont_ = old;
        SetTextColor(handle_, ColorToRGB(font_->Color()));
        state_ << csFontValid;
    }
    if (required.Contains(csPenValid) && !state_.Contains(csPenValid)) {
        HGDIOBJ old = SelectObject(handle_, pen_->Handle());
        if (!stockPen_) stockPen_ = old;
        SetROP2(handle_, pen_->Rop2());
        state_ << csPenValid;
    }
    if (required.Contains(csBrushValid) && !state_.Contains(csBrushValid)) {
        HGDIOBJ old = SelectObject(handle_, brush_->Handle());
        if (!stockBrush_) stockBrush_ = old;
        SetBkColor(handle_, ColorToRGB(brush_->Color()));
        SetBkMode(handle_, brush_->Style() == bsSolid ? OPAQUE : TRANSPARENT);
        state_ << csBrushValid;
    }
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

TPoint TCanvas::PenPos() {
    RequiredState({csHandleValid});
    POINT p{};
    GetCurrentPositionEx(handle_, &p);
    return p;
}

void TCanvas::SetPenPos(TPoint p) { MoveTo(p.x, p.y); }

TRect TCanvas::ClipRect() {
    RequiredState({csHandleValid});
    RECT r{};
    GetClipBox(handle_, &r);
    return r;
}

void TCanvas::MoveTo(int x, int y) {
    RequiredState({csHandleValid});
    MoveToEx(handle_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::LineTo(handle_, x, y);
    Changed();
}

#define CANVAS_SHAPE(Call)                                              \
    Changing();                                                         \
    RequiredState({csHandleValid, csPenValid, csBrushValid});           \
    Call;                                                               \
    Changed();

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) { CANVAS_SHAPE(::Rectangle(handle_, x1, y1, x2, y2)) }
void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
    CANVAS_SHAPE(::RoundRect(handle_, x1, y1, x2, y2, x3, y3))
}
void TCanvas::Ellipse(int x1, int y1, int x2, int y2) { CANVAS_SHAPE(::Ellipse(handle_, x1, y1, x2, y2)) }
void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    CANVAS_SHAPE(::Arc(handle_, x1, y1, x2, y2, x3, y3, x4, y4))
}
void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    CANVAS_SHAPE(::Pie(handle_, x1, y1, x2, y2, x3, y3, x4, y4))
}
void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    CANVAS_SHAPE(::Chord(handle_, x1, y1, x2, y2, x3, y3, x4, y4))
}

namespace {
std::vector<POINT> ToPoints(const std::vector<TPoint>& points) {
    return std::vector<POINT>(points.begin(), points.end());
}
}  // namespace

void TCanvas::Polygon(const std::vector<TPoint>& points) {
    const auto pts = ToPoints(points);
    CANVAS_SHAPE(::Polygon(handle_, pts.data(), static_cast<int>(pts.size())))
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
    const auto pts = ToPoints(points);
    CANVAS_SHAPE(::Polyline(handle_, pts.data(), static_cast<int>(pts.size())))
}
#undef CANVAS_SHAPE

void TCanvas::FillRect(const TRect& r) {
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ::FillRect(handle_, &r, brush_->Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& r) {
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ::FrameRect(handle_, &r, brush_->Handle());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ::DrawFocusRect(handle_, &r);
    Changed();
}

void TCanvas::TextOut(int x, int y, const WideString& text) {
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    ExtTextOutW(handle_, x, y, static_cast<UINT>(TextFlags), nullptr, text.c_str(), static_cast<UINT>(text.size()),
                nullptr);
    MoveToEx(handle_, x + TextWidth(text), y, nullptr);
    Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const WideString& text) {
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    UINT options = ETO_CLIPPED | static_cast<UINT>(TextFlags);
    if (brush_->Style() != bsClear) options |= ETO_OPAQUE;
    ExtTextOutW(handle_, x, y, options, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    Changed();
}

void TCanvas::TextRect(TRect& r, const WideString& text, TTextFormat format) {
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    // A clear brush (or measuring) draws no background.
    if (brush_->Style() == bsClear || format.Contains(tfCalcRect)) SetBkMode(handle_, TRANSPARENT);
    DrawTextW(handle_, text.c_str(), static_cast<int>(text.size()), &r, TextFormatFlags(format) & ~DT_MODIFYSTRING);
    SetBkMode(handle_, brush_->Style() == bsSolid ? OPAQUE : TRANSPARENT);
    Changed();
}

TSize TCanvas::TextExtent(const WideString& text) {
    RequiredState({csHandleValid, csFontValid});
    SIZE s{};
    GetTextExtentPoint32W(handle_, text.c_str(), static_cast<int>(text.size()), &s);
    return s;
}

TColor TCanvas::Pixel(int x, int y) {
    RequiredState({csHandleValid});
    return static_cast<TColor>(GetPixel(handle_, x, y));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    Changing();
    RequiredState({csHandleValid, csPenValid});
    ::SetPixel(handle_, x, y, ColorToRGB(color));
    Changed();
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    StretchDraw(Bounds(x, y, graphic->Width(), graphic->Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    Changing();
    RequiredState({csHandleValid});
    graphic->DrawOn(*this, r);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& src) {
    if (!canvas) return;
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    canvas->RequiredState({csHandleValid, csBrushValid});
    StretchBlt(handle_, dest.left, dest.top, dest.Width(), dest.Height(), canvas->Handle(), src.left, src.top,
               src.Width(), src.Height(), copyMode_);
    Changed();
}

void TCanvas::BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& src, TColor color) {
    if (!bitmap || bitmap->Empty()) return;
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    // The brush shows where the bitmap has the colour: fill, then copy the rest over it.
    ::FillRect(handle_, &dest, brush_->Handle());
    TransparentBlt(handle_, dest.left, dest.top, dest.Width(), dest.Height(), bitmap->Canvas()->Handle(), src.left,
                   src.top, src.Width(), src.Height(), ColorToRGB(color));
    Changed();
}

void TCanvas::Lock() {
    lock_.lock();
    ++lockCount_;
}

void TCanvas::Unlock() {
    --lockCount_;
    lock_.unlock();
}

bool TCanvas::TryLock() {
    if (!lock_.try_lock()) return false;
    ++lockCount_;
    return true;
}
