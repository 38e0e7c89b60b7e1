// TCustomLabel: a caption drawn on its parent, with accelerators that focus FocusControl.
#include "platform/vcl/Gdi.h"
#include "platform/vcl/StdCtrls.h"

WideChar GetHotkey(const WideString& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&') continue;
        if (caption[i + 1] != u'&') return caption[i + 1];
        ++i;  // "&&" is a literal ampersand
    }
    return 0;
}

bool IsAccel(WORD charCode, const WideString& caption) {
    const WideChar key = GetHotkey(caption);
    // Compared as text: letters outside ASCII (Cyrillic, Greek) match without case too.
    return key != 0 && WideSameText(WideString(1, key), WideString(1, static_cast<WideChar>(charCode)));
}

const TMetaClass& TCustomLabel::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomLabel>("TCustomLabel", &TGraphicControl::StaticClass());
    return meta;
}

const TMetaClass& TLabel::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TLabel>("TLabel", &TCustomLabel::StaticClass(), [](TClassBuilder<TLabel>& b) {
        b.Property("Alignment", &TLabel::Alignment, &TLabel::SetAlignment).Default(taLeftJustify);
        b.Property("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(true);
        b.Property("EllipsisPosition", &TLabel::EllipsisPosition, &TLabel::SetEllipsisPosition).Default(epNone);
        b.Property("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl);
        b.Property("Layout", &TLabel::Layout, &TLabel::SetLayout).Default(tlTop);
        b.Property("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar).Default(true);
        b.Property("Transparent", &TLabel::Transparent, &TLabel::SetTransparent).Default(false);
        b.Property("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap).Default(false);
    });
    return meta;
}

const TMessageTable& TCustomLabel::ClassMessages() {
    static const TMessageTable table(&TGraphicControl::ClassMessages(), {
        MESSAGE_HANDLER(CM_TEXTCHANGED, TCustomLabel::CMTextChanged),
        MESSAGE_HANDLER(CM_FONTCHANGED, TCustomLabel::CMFontChanged),
        MESSAGE_HANDLER(CM_PARENTFONTCHANGED, TCustomLabel::CMFontChanged),
        MESSAGE_HANDLER(CM_DIALOGCHAR, TCustomLabel::CMDialogChar),
    });
    return table;
}

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    controlStyle_ = controlStyle_ + TControlStyle{csOpaque, csReplicatable};
    SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetAlignment(TAlignment v) {
    if (v == alignment_) return;
    alignment_ = v;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout v) {
    if (v == layout_) return;
    layout_ = v;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool v) {
    if (v == autoSize_) return;
    autoSize_ = v;
    AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool v) {
    if (v == wordWrap_) return;
    wordWrap_ = v;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool v) {
    if (v == showAccelChar_) return;
    showAccelChar_ = v;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* control) {
    focusControl_ = control;
    if (control) control->FreeNotification(this);
}

void TCustomLabel::SetEllipsisPosition(TEllipsisPosition v) {
    if (v == ellipsis_) return;
    ellipsis_ = v;
    Invalidate();
}

void TCustomLabel::SetTransparent(bool v) {
    if (v == transparent_) return;
    transparent_ = v;
    if (v) controlStyle_ >> csOpaque;
    else controlStyle_ << csOpaque;
    Invalidate();
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::DoDrawText(TRect& rect, UINT flags) {
    WideString text = Caption();
    if (flags & DT_CALCRECT) {
        if (text.empty() || (showAccelChar_ && text == u"&")) text += u' ';
    }
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    if (UseRightToLeftReading()) flags |= DT_RTLREADING;
    if (ellipsis_ != epNone && !autoSize_) {
        flags &= ~(DT_CALCRECT | DT_EXPANDTABS);
        flags |= ellipsis_ == epPathEllipsis ? DT_PATH_ELLIPSIS : ellipsis_ == epEndEllipsis ? DT_END_ELLIPSIS : DT_WORD_ELLIPSIS;
    }
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    HDC dc = canvas->Handle();
    bool enabled = Enabled();
    for (const TControl* p = Parent(); p && enabled; p = p->Parent()) enabled = p->Enabled();
    SetBkMode(dc, TRANSPARENT);
    if (enabled || (flags & DT_CALCRECT)) {
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        DrawTextW(dc, text.c_str(), -1, &rect, flags);
        return;
    }
    // Disabled, as the desktop greys text: one pass in the grey-text colour.
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, text.c_str(), -1, &rect, flags);
}

namespace {
UINT AlignmentFlags(TAlignment a) { return a == taCenter ? DT_CENTER : a == taRightJustify ? DT_RIGHT : DT_LEFT; }
}  // namespace

void TCustomLabel::Paint() {
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    if (!transparent_) {
        canvas->Brush()->SetColor(Color());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(r);
    }
    canvas->Brush()->SetStyle(bsClear);
    const UINT flags = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | AlignmentFlags(alignment_);
    if (layout_ != tlTop) {
        TRect calc = r;
        DoDrawText(calc, flags | DT_CALCRECT);
        const int offset = r.Height() - calc.Height();
        r.top += layout_ == tlBottom ? offset : offset / 2;
    }
    DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds() {
    if (!autoSize_ || ComponentState().Contains(csLoading)) return;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return;  // nothing measures text without a drawing backend
    Canvas()->SetHandle(dc);
    TRect r = ClientRect();
    DoDrawText(r, DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0));
    Canvas()->SetHandle(nullptr);
    DeleteDC(dc);
    int x = Left();
    if (alignment_ == taRightJustify) x += Width() - r.Width();
    else if (alignment_ == taCenter) x += (Width() - r.Width()) / 2;
    SetBounds(x, Top(), r.Width(), r.Height());
}

void TCustomLabel::CMTextChanged(TMessage&) {
    Invalidate();
    AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage& m) {
    InheritedMessage(TGraphicControl::ClassMessages(), m);
    AdjustBounds();
}

void TCustomLabel::CMDialogChar(TMessage& m) {
    if (focusControl_ && Enabled() && showAccelChar_ && IsAccel(static_cast<WORD>(m.WParam), Caption()) &&
        focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        m.Result = 1;
    }
}
