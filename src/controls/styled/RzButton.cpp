// The styled push buttons.
#include "controls/styled/RzButton.h"

#include "controls/styled/DrawHelpers.h"
#include "controls/styled/OldPropReader.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/GraphicsThemes.h"
#include "platform/vcl/ShortCuts.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"

// ---------------------------------------------------------------------------------------------
// TRzCustomButton

const TMetaClass& TRzCustomButton::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzCustomButton>("TRzCustomButton", &TCustomControl::StaticClass());
    return meta;
}

const TMessageTable& TRzCustomButton::ClassMessages() {
    static const TMessageTable table(&TCustomControl::ClassMessages(), {
        MESSAGE_HANDLER(CM_MOUSEENTER, TRzCustomButton::CMMouseEnter),
        MESSAGE_HANDLER(CM_MOUSELEAVE, TRzCustomButton::CMMouseLeave),
        MESSAGE_HANDLER(CM_ENABLEDCHANGED, TRzCustomButton::CMEnabledChanged),
        MESSAGE_HANDLER(CM_TEXTCHANGED, TRzCustomButton::CMTextChanged),
        MESSAGE_HANDLER(WM_ERASEBKGND, TRzCustomButton::WMEraseBkgnd),
        MESSAGE_HANDLER(WM_SETFOCUS, TRzCustomButton::WMSetFocus),
        MESSAGE_HANDLER(WM_KILLFOCUS, TRzCustomButton::WMKillFocus),
    });
    return table;
}

TRzCustomButton::TRzCustomButton(TComponent* owner) : TCustomControl(owner) {
    controlStyle_ = TControlStyle{csCaptureMouse, csSetCaption, csOpaque, csDoubleClicks, csReplicatable, csReflector};
    SetBounds(0, 0, 115, 17);
    SetTabStop(true);
}

bool TRzCustomButton::UseThemes() const { return themeAware_ && ThemeServices()->ThemesEnabled(); }

void TRzCustomButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled()) return;
    if (CanFocus()) SetFocus();
    if (!Focused()) return;
    pressedLook_ = true;
    tracking_ = true;
    RepaintButton();
}

void TRzCustomButton::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    if (!tracking_) return;
    const bool inside = ClientRect().Contains(TPoint(x, y));
    if (inside == pressedLook_) return;
    pressedLook_ = inside;
    RepaintButton();
}

void TRzCustomButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (!tracking_) return;
    tracking_ = false;
    pressedLook_ = false;
    if (ClientRect().Contains(TPoint(x, y))) ChangeState();
    RepaintButton();
}

void TRzCustomButton::CMMouseEnter(TMessage& m) {
    if (ComponentState().Contains(csDesigning)) return;
    pointerInside_ = true;
    InheritedMessage(TCustomControl::ClassMessages(), m);
    if (hotTrack_ || UseThemes()) Invalidate();
}

void TRzCustomButton::CMMouseLeave(TMessage& m) {
    pointerInside_ = false;
    InheritedMessage(TCustomControl::ClassMessages(), m);
    if (hotTrack_ || UseThemes()) Invalidate();
}

void TRzCustomButton::CMEnabledChanged(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    if (!Enabled() && Parent())
        if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, false);
    Invalidate();
}

void TRzCustomButton::CMTextChanged(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    Repaint();
}

void TRzCustomButton::WMEraseBkgnd(TMessage& m) {
    if (transparent_) {
        DrawTransparentBackground(reinterpret_cast<HDC>(m.WParam));
        m.Result = 1;
        return;
    }
    InheritedMessage(TCustomControl::ClassMessages(), m);
}

void TRzCustomButton::WMSetFocus(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    RepaintFocused();
}

void TRzCustomButton::WMKillFocus(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    RepaintFocused();
}

void TRzCustomButton::DrawCaption(TCanvas& canvas, TRect r, UINT flags) {
    canvas.Brush()->SetStyle(bsClear);
    canvas.Font()->SetName(u"System");
    canvas.SetFont(Font());
    const WideString caption = Caption();
    TRect measured = r;
    CanvasDrawText(canvas, caption, measured, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
    const int h = measured.Height();
    switch (alignmentVertical_) {
        case avTop: r.bottom = r.top + h; break;
        case avCenter:
            r.top = (r.top + r.bottom - h) / 2;
            r.bottom = r.top + h;
            break;
        case avBottom: r.top = r.bottom - h - 1; break;
    }
    if (UseRightToLeftAlignment()) flags |= DT_RTLREADING;
    const auto drawAt = [&](TColor color, int dx, int dy) {
        TRect t = r;
        t.Offset(dx, dy);
        canvas.Font()->SetColor(color);
        CanvasDrawText(canvas, caption, t, flags);
    };
    if (Enabled()) {
        switch (textStyle_) {
            case tsRaised:
                if (!lightTextStyle_) drawAt(textShadowColor_, 1, 1);
                drawAt(textHighlightColor_, -1, -1);
                break;
            case tsRecessed:
                drawAt(textHighlightColor_, 1, 1);
                if (!lightTextStyle_) drawAt(textShadowColor_, -1, -1);
                break;
            case tsShadow: drawAt(textShadowColor_, (flags & DT_RIGHT) ? 0 : textShadowDepth_, textShadowDepth_); break;
            case tsNormal: break;
        }
        canvas.Font()->SetColor(Font()->Color());
        if (flags & DT_RIGHT) r.Offset(-textShadowDepth_, 0);
    } else {
        canvas.Font()->SetColor(ColorsAreClose(Color(), clGrayText) ? cl3DDkShadow : clGrayText);
    }
    CanvasDrawText(canvas, caption, r, flags);
    canvas.Brush()->SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------------------------
// TRzButton

const TMetaClass& TRzButton::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzButton>("TRzButton", &TRzCustomButton::StaticClass(), [](TClassBuilder<TRzButton>& b) {
        const auto roleStored = [](const TObject& o) { return static_cast<const TRzButton&>(o).IsRoleStored(); };
        b.Property("AlignmentVertical", &TRzButton::AlignmentVertical, &TRzButton::SetAlignmentVertical).Default(avCenter);
        b.Property("HotTrack", &TRzButton::HotTrack, &TRzButton::SetHotTrack).Default(false);
        b.Property("HighlightColor", &TRzButton::HighlightColor, &TRzButton::SetHighlightColor).Default(clHighlight).Type(ColorTypeInfo());
        b.Property("HotTrackColor", &TRzButton::HotTrackColor, &TRzButton::SetHotTrackColor).Default(TColor(0x00149BF0)).Type(ColorTypeInfo());
        b.Property("HotTrackColorType", &TRzButton::HotTrackColorType, &TRzButton::SetHotTrackColorType).Default(htctActual);
        b.Property("LightTextStyle", &TRzButton::LightTextStyle, &TRzButton::SetLightTextStyle).Default(false);
        b.Property("TextStyle", &TRzButton::TextStyle, &TRzButton::SetTextStyle).Default(tsNormal);
        b.Property("TextHighlightColor", &TRzButton::TextHighlightColor, &TRzButton::SetTextHighlightColor).Default(clBtnHighlight).Type(ColorTypeInfo());
        b.Property("TextShadowColor", &TRzButton::TextShadowColor, &TRzButton::SetTextShadowColor).Default(clBtnShadow).Type(ColorTypeInfo());
        b.Property("TextShadowDepth", &TRzButton::TextShadowDepth, &TRzButton::SetTextShadowDepth).Default(2);
        b.Property("ThemeAware", &TRzButton::ThemeAware, &TRzButton::SetThemeAware).Default(true);
        b.Property("Alignment", &TRzButton::Alignment, &TRzButton::SetAlignment).Default(taCenter);
        b.Property("AllowAllUp", &TRzButton::AllowAllUp, &TRzButton::SetAllowAllUp).Default(false);
        b.Property("Cancel", &TRzButton::Cancel, &TRzButton::SetCancel).Default(false).Stored(roleStored);
        b.Property("Default", &TRzButton::Default, &TRzButton::SetDefault).Default(false).Stored(roleStored);
        b.Property("DropDownOnEnter", &TRzButton::DropDownOnEnter, &TRzButton::SetDropDownOnEnter).Default(true);
        b.Property("GroupIndex", &TRzButton::GroupIndex, &TRzButton::SetGroupIndex).Default(0);
        b.Property("Down", &TRzButton::Down, &TRzButton::SetDown).Default(false);
        b.Property("FrameColor", &TRzButton::FrameColor, &TRzButton::SetFrameColor).Default(cl3DDkShadow).Type(ColorTypeInfo());
        b.Property("ModalResult", &TRzButton::ModalResult, &TRzButton::SetModalResult).Default(0).Stored(roleStored);
        b.Property("ShowDownPattern", &TRzButton::ShowDownPattern, &TRzButton::SetShowDownPattern).Default(true);
        b.Property("ShowFocusRect", &TRzButton::ShowFocusRect, &TRzButton::SetShowFocusRect).Default(true);
    });
    return meta;
}

const TMessageTable& TRzButton::ClassMessages() {
    static const TMessageTable table(&TRzCustomButton::ClassMessages(), {
        MESSAGE_HANDLER(CM_DIALOGKEY, TRzButton::CMDialogKey),
        MESSAGE_HANDLER(CM_DIALOGCHAR, TRzButton::CMDialogChar),
        MESSAGE_HANDLER(CM_FOCUSCHANGED, TRzButton::CMFocusChanged),
        MESSAGE_HANDLER(CM_GROUPBUTTONPRESSED, TRzButton::CMGroupButtonPressed),
        MESSAGE_HANDLER(WM_KILLFOCUS, TRzButton::WMKillFocusButton),
    });
    return table;
}

TRzButton::TRzButton(TComponent* owner) : TRzCustomButton(owner) {
    SetBounds(0, 0, 75, 25);
    SetColor(clBtnFace);
}

void TRzButton::DefineProperties(TFiler* filer) {
    TRzCustomButton::DefineProperties(filer);
    filer->DefineProperty("FrameFlat", [this](TReader& reader) { SetHotTrack(reader.ReadBoolean()); }, nullptr, false);
}

void TRzButton::SetHotTrack(bool v) {
    TRzCustomButton::SetHotTrack(v);
    SetTransparent(v);
    Invalidate();
}

void TRzButton::Click() {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TRzCustomButton::Click();
}

void TRzButton::ChangeState() {
    if (groupIndex_ != 0) SetDown(!down_);
    else RepaintButton();
    inClick_ = true;
    try {
        Click();
    } catch (...) {
        inClick_ = false;
        throw;
    }
    inClick_ = false;
}

void TRzButton::CreateWnd() {
    TRzCustomButton::CreateWnd();
    showsDefault_ = default_;
}

void TRzButton::KeyDown(WORD& key, TShiftState shift) {
    if (key == VK_SPACE && !shift.Contains(ssAlt)) {
        spaceArmed_ = true;
        SetPressedLook(true);
        RepaintButton();
    }
    TRzCustomButton::KeyDown(key, shift);
}

void TRzButton::KeyUp(WORD& key, TShiftState shift) {
    if (key == VK_SPACE) {
        SetPressedLook(false);
        if (spaceArmed_) ChangeState();
        RepaintButton();
    }
    TRzCustomButton::KeyUp(key, shift);
}

void TRzButton::WMKillFocusButton(TMessage& m) {
    InheritedMessage(TRzCustomButton::ClassMessages(), m);
    spaceArmed_ = false;
    SetPressedLook(false);
    RepaintButton();
}

void TRzButton::CMDialogKey(TMessage& m) {
    const WORD key = static_cast<WORD>(m.WParam);
    const TShiftState shift = KeyDataToShiftState(static_cast<LONG>(m.LParam));
    const bool answers = (key == VK_RETURN && showsDefault_) || (key == VK_ESCAPE && cancel_);
    if (answers && shift.Empty() && CanFocus()) {
        Click();
        m.Result = 1;
        return;
    }
    InheritedMessage(TRzCustomButton::ClassMessages(), m);
}

void TRzButton::CMDialogChar(TMessage& m) {
    if (IsAccel(static_cast<WORD>(m.WParam), Caption()) && CanFocus()) {
        Click();
        m.Result = 1;
        return;
    }
    InheritedMessage(TRzCustomButton::ClassMessages(), m);
}

void TRzButton::CMFocusChanged(TMessage& m) {
    auto* const focused = reinterpret_cast<TWinControl*>(m.LParam);
    const bool isButton = dynamic_cast<TRzButton*>(focused) || dynamic_cast<TButton*>(focused);
    const bool shows = isButton ? focused == this : default_;
    if (shows == showsDefault_) return;
    showsDefault_ = shows;
    Repaint();
}

void TRzButton::SetDefault(bool v) {
    default_ = v;
    if (!HandleAllocated()) return;
    // Every button of the form works out again which one Enter clicks.
    if (TCustomForm* form = GetParentForm(this)) {
        TMessage m{CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()), 0};
        form->Broadcast(m);
    }
}

void TRzButton::BroadcastGroup() {
    if (groupIndex_ == 0 || !Parent()) return;
    TMessage m{CM_GROUPBUTTONPRESSED, static_cast<WPARAM>(groupIndex_), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(m);
}

void TRzButton::SetDown(bool v) {
    if (groupIndex_ == 0) v = false;
    if (v == down_) return;
    if (down_ && groupIndex_ != 0 && !allowAllUp_) return;
    down_ = v;
    buttonState_ = v ? bsExclusive : bsUp;
    Invalidate();
    if (v) BroadcastGroup();
}

void TRzButton::SetAllowAllUp(bool v) {
    if (v == allowAllUp_) return;
    allowAllUp_ = v;
    BroadcastGroup();
}

void TRzButton::SetGroupIndex(int v) {
    if (v == groupIndex_) return;
    groupIndex_ = v;
    BroadcastGroup();
}

void TRzButton::CMGroupButtonPressed(TMessage& m) {
    if (!ReleasedByGroupPress(*this, m, down_, allowAllUp_)) return;
    buttonState_ = bsUp;
    Invalidate();
}

void TRzButton::GetCaptionRect(TRect& r) {
    r = ClientRect();
    r.Inflate(-5, -5);
    const bool pressed = groupIndex_ != 0 ? ShowsPressed() : PressedLook();
    if (!HotTrack() && !UseThemes() && pressed) r.Offset(1, 1);
}

void TRzButton::DrawContents() {
    TAlignment alignment = alignment_;
    if (UseRightToLeftAlignment() && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    UINT flags = alignment == taLeftJustify ? DT_LEFT : alignment == taRightJustify ? DT_RIGHT : DT_CENTER;
    flags |= DT_WORDBREAK | DT_EXPANDTABS;
    TRect r;
    GetCaptionRect(r);
    DrawCaption(*Canvas(), r, flags);
}

void TRzButton::BuildDownPattern(TBitmap& bitmap) const {
    BuildCheckerPattern(bitmap, Color(), ColorToRGB(Color()) == clSilver ? clGray : clSilver);
}

void TRzButton::PaintHotTrackFace(TCanvas& canvas, TRect& r) {
    const TColor parentColor = Parent() ? Parent()->Color() : clBtnFace;
    const TColor dark = DarkerColor(parentColor, 20), light = LighterColor(parentColor, 20);
    const auto line = [&](TColor c, int x1, int y1, int x2, int y2) {
        canvas.Pen()->SetColor(c);
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    line(dark, r.left, r.top + 2, r.left, r.bottom - 2);
    line(dark, r.left + 2, r.top, r.right - 2, r.top);
    canvas.SetPixel(r.left + 1, r.top + 1, dark);
    canvas.SetPixel(r.right - 2, r.top + 1, dark);
    canvas.SetPixel(r.left + 1, r.bottom - 2, dark);
    line(light, r.right - 1, r.top + 2, r.right - 1, r.bottom - 2);
    line(light, r.left + 2, r.bottom - 1, r.right - 2, r.bottom - 1);
    canvas.SetPixel(r.right - 2, r.bottom - 2, light);

    r.Inflate(-1, -1);
    line(frameColor_, r.left, r.top + 1, r.left, r.bottom - 1);
    line(frameColor_, r.left + 1, r.top, r.right - 1, r.top);
    line(frameColor_, r.right - 1, r.top + 1, r.right - 1, r.bottom - 1);
    line(frameColor_, r.left + 1, r.bottom - 1, r.right - 1, r.bottom - 1);
    r.Inflate(-1, -1);

    const auto face = [&] {
        line(DarkerColor(Color(), 20), r.left, r.bottom - 2, r.right, r.bottom - 2);
        line(DarkerColor(Color(), 30), r.left, r.bottom - 1, r.right, r.bottom - 1);
        TRect fill = r;
        fill.bottom -= 2;
        if (IsFullColorDisplay()) {
            PaintGradient(canvas, fill, gdHorizontalEnd, 0, DarkerColor(Color(), 10), LighterColor(Color(), 30));
        } else {
            canvas.Brush()->SetColor(Color());
            canvas.FillRect(fill);
        }
    };
    if (ShowsPressed()) {
        canvas.Brush()->SetColor(DarkerColor(Color(), 10));
        canvas.FillRect(r);
    } else if (PointerInside()) {
        face();
        TColor a = HotTrackColor(), b = BlendColors(clWhite, HotTrackColor(), 190);
        if (HotTrackColorType() == htctComplement) {
            b = ComplementColor(HotTrackColor(), 180);
            a = DarkerColor(b, 30);
        }
        PaintGradientFrameHighlight(canvas, r, gdHorizontalEnd, a, b);
    } else if (groupIndex_ != 0 || !(showsDefault_ || Focused())) {
        face();
    } else {
        face();
        const TColor l = LighterColor(Color(), 30);
        const TColor h = ColorsAreClose(HighlightColor(), clBtnFace) ? DarkerColor(HighlightColor(), 30) : HighlightColor();
        PaintGradientFrameHighlight(canvas, r, gdHorizontalEnd, BlendColors(h, l, 160), BlendColors(h, l, 60));
    }
}

void TRzButton::PaintClassicFace(TCanvas& canvas, TRect& r) {
    const bool ungrouped = groupIndex_ == 0;
    if ((ungrouped && (showsDefault_ || Focused()) && !PressedLook()) || inClick_)
        r = PaintRectSides(canvas, r, clWindowFrame, clWindowFrame, sdAllSides);
    if (Color() == clBtnFace) {
        r = ungrouped ? PaintButtonBorder(canvas, r, PressedLook()) : PaintFrameBorder(canvas, r, ShowsPressed() ? fsLowered : fsButtonUp);
    } else if (ungrouped) {
        r = PaintColoredButtonBorder(canvas, r, Color(), PressedLook());
    } else {
        r = ShowsPressed() ? PaintColoredBorder(canvas, r, Color(), fsLowered) : PaintColoredButtonBorder(canvas, r, Color(), false);
    }
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(r);
}

void TRzButton::Paint() {
    TCanvas& canvas = *Canvas();
    TRect r = ClientRect();
    TRect focus = r;
    focus.Inflate(HotTrack() || UseThemes() ? -3 : -4, HotTrack() || UseThemes() ? -3 : -4);
    if (groupIndex_ != 0 && ShowsPressed()) focus.Offset(1, 1);

    // Themes are drawn by the platform when it has them; without, the classic face stands in.
    if (HotTrack() && Enabled()) {
        PaintHotTrackFace(canvas, r);
    } else if (HotTrack()) {
        r.Inflate(-1, -1);
        const TColor frame = Color() == clBtnFace ? LighterColor(clBtnShadow, 30) : DarkerColor(Color(), 80);
        canvas.Brush()->SetColor(frame);
        canvas.FrameRect(r);
        r.Inflate(-1, -1);
        canvas.Brush()->SetColor(Color());
        canvas.FillRect(r);
    } else {
        PaintClassicFace(canvas, r);
    }
    if (groupIndex_ != 0 && buttonState_ == bsExclusive && showDownPattern_) {
        TBitmap pattern;
        BuildDownPattern(pattern);
        canvas.Brush()->SetBitmap(&pattern);
        canvas.FillRect(r);
        canvas.Brush()->SetBitmap(nullptr);
        canvas.Brush()->SetColor(Color());
    }
    canvas.SetFont(Font());
    canvas.Brush()->SetColor(Color());
    DrawContents();
    if (Focused() && showFocusRect_) PaintFocusBorder(canvas, focus);
}

void TRzButton::DrawTransparentBackground(HDC dc) {
    TRect c = ClientRect();
    const int saved = SaveDC(dc);
    c.Inflate(Enabled() ? -1 : -2, Enabled() ? -1 : -2);
    ExcludeClipRect(dc, c.left, c.top, c.right, c.bottom);
    c.Inflate(1, -1);
    ExcludeClipRect(dc, c.left, c.top, c.right, c.bottom);
    c.Inflate(-2, 2);
    ExcludeClipRect(dc, c.left, c.top, c.right, c.bottom);
    DrawParentBackground(this, dc, false);
    RestoreDC(dc, saved);
}

void RegisterStyledButtons() { RegisterClasses({&TRzButton::StaticClass()}); }
