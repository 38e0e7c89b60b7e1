#include "platform/vcl/ControlGraphics.h"

#include "platform/vcl/Controls.h"
#include "platform/vcl/Gdi.h"

TFontPtr NewControlFont() { return std::make_unique<TFont>(); }

void SetFontChangeHandler(TFont* font, TNotifyEvent onChange) {
    if (font) font->OnChange = std::move(onChange);
}

void AssignFont(TFont* dest, const TFont* source) {
    if (dest && source) dest->Assign(source);
}

void PushFontToPeer(TWidgetPeer& peer, const TFont* font) {
    if (font) peer.SetFont(font->LogFont(), ColorToRGB(font->Color()));
}

TCanvasPtr NewControlCanvas(TControl&) { return std::make_unique<TCanvas>(); }

void BeginCanvasPaint(TCanvas* canvas, HDC dc, const TFont* font, TColor color) {
    canvas->SetHandle(dc);
    if (font) canvas->SetFont(font);
    canvas->Brush()->SetColor(color);
}

void EndCanvasPaint(TCanvas* canvas) { canvas->SetHandle(nullptr); }

namespace {
TPopupMenuHandler& PopupHandler() {
    static TPopupMenuHandler handler;
    return handler;
}
}  // namespace

void SetPopupMenuHandler(TPopupMenuHandler handler) { PopupHandler() = std::move(handler); }

void PopupContextMenu(TControl& control, TComponent* menu, TPoint screenPos) {
    if (PopupHandler()) PopupHandler()(control, menu, screenPos);
}

const TTypeInfo* ColorTypeInfo() {
    static const TTypeInfo info{"TColor", TTypeKind::tkInteger, {}, nullptr,
        {{"clBlack", 0x000000}, {"clMaroon", 0x000080}, {"clGreen", 0x008000}, {"clOlive", 0x008080},
         {"clNavy", 0x800000}, {"clPurple", 0x800080}, {"clTeal", 0x808000}, {"clGray", 0x808080},
         {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF}, {"clLime", 0x00FF00}, {"clYellow", 0x00FFFF},
         {"clBlue", 0xFF0000}, {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00}, {"clWhite", 0xFFFFFF},
         {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6}, {"clCream", 0xF0FBFF}, {"clMedGray", 0xA4A0A0},
         {"clScrollBar", -16777216 + 0}, {"clBackground", -16777216 + 1}, {"clActiveCaption", -16777216 + 2},
         {"clInactiveCaption", -16777216 + 3}, {"clMenu", -16777216 + 4}, {"clWindow", -16777216 + 5},
         {"clWindowFrame", -16777216 + 6}, {"clMenuText", -16777216 + 7}, {"clWindowText", -16777216 + 8},
         {"clCaptionText", -16777216 + 9}, {"clActiveBorder", -16777216 + 10}, {"clInactiveBorder", -16777216 + 11},
         {"clAppWorkSpace", -16777216 + 12}, {"clHighlight", -16777216 + 13}, {"clHighlightText", -16777216 + 14},
         {"clBtnFace", -16777216 + 15}, {"clBtnShadow", -16777216 + 16}, {"clGrayText", -16777216 + 17},
         {"clBtnText", -16777216 + 18}, {"clInactiveCaptionText", -16777216 + 19}, {"clBtnHighlight", -16777216 + 20},
         {"cl3DDkShadow", -16777216 + 21}, {"cl3DLight", -16777216 + 22}, {"clInfoText", -16777216 + 23},
         {"clInfoBk", -16777216 + 24}, {"clHotLight", -16777216 + 26}, {"clGradientActiveCaption", -16777216 + 27},
         {"clGradientInactiveCaption", -16777216 + 28}, {"clMenuHighlight", -16777216 + 29}, {"clMenuBar", -16777216 + 30},
         {"clNone", 0x1FFFFFFF}, {"clDefault", 0x20000000}}};
    static const bool registered = (RegisterIntegerIdents(&info), true);
    (void)registered;
    return &info;
}
