#include "platform/vcl/StatusBar.h"

#include <algorithm>

#include "platform/vcl/Gdi.h"

namespace {
constexpr int kPanelGap = 2;   // between two panels
constexpr int kTopGap = 2;     // above every panel
constexpr int kTextMargin = 3; // between the bevel and the text
}  // namespace

// ---- TStatusPanel

const TMetaClass& TStatusPanel::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TStatusPanel>("TStatusPanel", nullptr, [](TClassBuilder<TStatusPanel>& b) {
        b.Property("Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment).Default(taLeftJustify);
        b.Property("Bevel", &TStatusPanel::Bevel, &TStatusPanel::SetBevel).Default(pbLowered);
        b.Property("Style", &TStatusPanel::Style, &TStatusPanel::SetStyle).Default(psText);
        b.Property("Text", &TStatusPanel::Text, &TStatusPanel::SetText);
        b.Property("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth).Default(50);
    });
    return meta;
}

void TStatusPanel::SetText(const WideString& text) {
    if (text == text_) return;
    text_ = text;
    Changed(false);
}

void TStatusPanel::SetWidth(int width) {
    if (width == width_) return;
    width_ = width;
    Changed(true);
}

void TStatusPanel::SetStyle(TStatusPanelStyle style) {
    if (style == style_) return;
    style_ = style;
    Changed(false);
}

void TStatusPanel::SetAlignment(TAlignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel bevel) {
    if (bevel == bevel_) return;
    bevel_ = bevel;
    Changed(false);
}

AnsiString TStatusPanel::DisplayName() const { return text_.empty() ? TCollectionItem::DisplayName() : Utf16ToUtf8(text_); }

void TStatusPanel::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TStatusPanel*>(source);
    if (!other) return TCollectionItem::Assign(source);
    text_ = other->text_;
    width_ = other->width_;
    style_ = other->style_;
    alignment_ = other->alignment_;
    bevel_ = other->bevel_;
    Changed(true);
}

// ---- TStatusPanels

TStatusPanels::TStatusPanels(TCustomStatusBar* owner)
    : TStatusPanels(owner, [](TCollection* c) { return std::make_unique<TStatusPanel>(c); }) {}

TStatusPanels::TStatusPanels(TCustomStatusBar* owner, ItemFactory factory)
    : TCollection(std::move(factory)), bar_(owner) {
    (void)TStatusPanel::StaticClass();
}

void TStatusPanels::Update(TCollectionItem*) { bar_->PanelsChanged(); }

// ---- TCustomStatusBar

const TMetaClass& TCustomStatusBar::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomStatusBar>("TCustomStatusBar", &TWinControl::StaticClass(), [](TClassBuilder<TCustomStatusBar>& b) {
        b.ReadOnly("Panels", [](const TCustomStatusBar& s) { return static_cast<TCollection*>(s.Panels()); });
        b.Property("SimplePanel", &TCustomStatusBar::SimplePanel, &TCustomStatusBar::SetSimplePanel).Default(false);
        b.Property("SimpleText", &TCustomStatusBar::SimpleText, &TCustomStatusBar::SetSimpleText);
        b.Property("SizeGrip", &TCustomStatusBar::SizeGrip, &TCustomStatusBar::SetSizeGrip).Default(true);
        b.Event("OnDrawPanel", &TCustomStatusBar::OnDrawPanel);
    });
    return meta;
}

const TMetaClass& TStatusBar::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TStatusBar>("TStatusBar", &TCustomStatusBar::StaticClass());
    return meta;
}

const TMessageTable& TCustomStatusBar::ClassMessages() {
    static const TMessageTable table(&TWinControl::ClassMessages(), {
        MESSAGE_HANDLER(CN_DRAWITEM, TCustomStatusBar::CNDrawItem),
    });
    return table;
}

TCustomStatusBar::TCustomStatusBar(TComponent* owner)
    : TWinControl(owner), panels_(std::make_unique<TStatusPanels>(this)), canvas_(NewControlCanvas(*this)) {
    controlStyle_ = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
    SetColor(clBtnFace);
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
}

TCustomStatusBar::~TCustomStatusBar() { panels_->OnUpdate = nullptr; }

void TCustomStatusBar::SetPanelsCollection(std::unique_ptr<TStatusPanels> panels) {
    panels_ = std::move(panels);
    PanelsChanged();
}

void TCustomStatusBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = u"msctls_statusbar32";
}

void TCustomStatusBar::PanelsChanged() { Invalidate(); }

void TCustomStatusBar::SetSimplePanel(bool v) {
    if (v == simplePanel_) return;
    simplePanel_ = v;
    Invalidate();
}

void TCustomStatusBar::SetSimpleText(const WideString& text) {
    if (text == simpleText_) return;
    simpleText_ = text;
    if (simplePanel_) Invalidate();
}

void TCustomStatusBar::SetSizeGrip(bool v) {
    if (v == sizeGrip_) return;
    sizeGrip_ = v;
    Invalidate();
}

TRect TCustomStatusBar::GripRect() const {
    const int size = std::max(0, ClientHeight() - kTopGap);
    return TRect(ClientWidth() - size, ClientHeight() - size, ClientWidth(), ClientHeight());
}

TRect TCustomStatusBar::PanelRect(int index) const {
    const int right = ClientWidth() - (sizeGrip_ ? GripRect().Width() : 0);
    TRect outer;
    if (simplePanel_ || index < 0 || index == static_cast<int>(SB_SIMPLEID)) {
        outer = TRect(0, kTopGap, std::max(0, right), ClientHeight());
    } else {
        if (index >= panels_->Count()) return TRect();
        int left = 0;
        for (int i = 0; i < index; ++i) left += std::max(0, panels_->Items(i)->Width());
        // The last panel takes what is left of the bar.
        const bool last = index == panels_->Count() - 1;
        int r = last ? std::max(right, left) : left + std::max(0, panels_->Items(index)->Width());
        outer = TRect(left, kTopGap, std::max(left, r - kPanelGap), ClientHeight());
    }
    outer.Inflate(-1, -1);  // inside the bevel
    return outer;
}

void TCustomStatusBar::InvalidatePanel(int index) {
    if (!HandleAllocated()) return;
    TRect r = PanelRect(index);
    r.Inflate(1, 1);
    if (TWidgetPeer* peer = Peer()) peer->Invalidate(&r);
}

void TCustomStatusBar::PaintWindow(HDC dc) {
    BeginCanvasPaint(canvas_.get(), dc, Font(), Color());
    try {
        if (simplePanel_) {
            PaintPanel(dc, SB_SIMPLEID, nullptr, simpleText_, taLeftJustify, pbNone);
        } else {
            for (int i = 0; i < panels_->Count(); ++i) {
                TStatusPanel* p = panels_->Items(i);
                PaintPanel(dc, i, p, p->Text(), p->Alignment(), p->Bevel());
            }
        }
        if (sizeGrip_) {
            RECT grip = GripRect();
            DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
        }
    } catch (...) {
        EndCanvasPaint(canvas_.get());
        throw;
    }
    EndCanvasPaint(canvas_.get());
}

void TCustomStatusBar::PaintPanel(HDC dc, int index, TStatusPanel* panel, const WideString& text, TAlignment alignment,
                                  TStatusPanelBevel bevel) {
    const TRect inner = PanelRect(index);
    if (bevel != pbNone) {
        TRect outer = inner;
        outer.Inflate(1, 1);
        RECT frame = outer;
        DrawEdge(dc, &frame, bevel == pbLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    if (panel && panel->Style() == psOwnerDraw) {
        // The owner draws through the reflected WM_DRAWITEM, as the platform's bar asks it.
        DRAWITEMSTRUCT draw;
        draw.CtlType = 0;
        draw.itemID = static_cast<UINT>(index);
        draw.itemAction = ODA_DRAWENTIRE;
        draw.hwndItem = WindowHandle();
        draw.hDC = dc;
        draw.rcItem = inner;
        draw.itemData = reinterpret_cast<DWORD_PTR>(panel);
        const int saved = SaveDC(dc);
        Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
        RestoreDC(dc, saved);
        return;
    }
    // Leading tabs align the text as the bar's text messages do: one centres, two right-align.
    std::size_t tabs = 0;
    while (tabs < text.size() && tabs < 2 && text[tabs] == u'\t') ++tabs;
    if (tabs > 0) alignment = tabs == 1 ? taCenter : taRightJustify;
    const WideString shown = text.substr(tabs);
    if (shown.empty()) return;
    TCanvas* c = canvas_.get();
    c->Brush()->SetStyle(bsClear);
    const int w = c->TextWidth(shown), h = c->TextHeight(shown);
    int x = inner.left + kTextMargin;
    if (alignment == taCenter) x = inner.left + (inner.Width() - w) / 2;
    else if (alignment == taRightJustify) x = inner.right - kTextMargin - w;
    const int y = inner.top + (inner.Height() - h) / 2;
    c->TextRect(inner, std::max<int>(x, inner.left + 1), y, shown);
    c->Brush()->SetStyle(bsSolid);
}

void TCustomStatusBar::CNDrawItem(TMessage& m) {
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
    if (!draw || draw->itemID >= static_cast<UINT>(panels_->Count())) return;
    // The canvas draws on the context of the request with the bar's font and colour.
    TCanvas* c = canvas_.get();
    const HDC saved = c->HandleAllocated() ? c->Handle() : nullptr;
    BeginCanvasPaint(c, draw->hDC, Font(), Color());
    try {
        DrawPanel(panels_->Items(static_cast<int>(draw->itemID)), TRect(draw->rcItem.left, draw->rcItem.top, draw->rcItem.right, draw->rcItem.bottom));
    } catch (...) {
        c->SetHandle(saved);
        throw;
    }
    c->SetHandle(saved);
    m.Result = 1;
}

void TCustomStatusBar::DrawPanel(TStatusPanel* panel, const TRect& rect) {
    if (OnDrawPanel) OnDrawPanel(this, panel, rect);
    else canvas_->FillRect(rect);
}

void TCustomStatusBar::WndProc(TMessage& m) {
    switch (m.Msg) {
    case SB_SETTEXTA:
    case SB_SETTEXTW: {
        const int index = static_cast<int>(m.WParam & 0xFF);
        WideString text;
        if (!(m.WParam & SBT_OWNERDRAW) && m.LParam) {
            text = m.Msg == SB_SETTEXTW ? WideString(reinterpret_cast<LPCWSTR>(m.LParam))
                                        : Utf8ToUtf16(reinterpret_cast<const char*>(m.LParam));
        }
        m.Result = 1;
        if (index == static_cast<int>(SB_SIMPLEID)) {
            SetSimpleText(text);
        } else if (index < panels_->Count()) {
            TStatusPanel* p = panels_->Items(index);
            p->SetStyle((m.WParam & SBT_OWNERDRAW) ? psOwnerDraw : psText);
            p->SetBevel((m.WParam & SBT_NOBORDERS) ? pbNone : (m.WParam & SBT_POPOUT) ? pbRaised : pbLowered);
            p->SetText(text);
        } else {
            m.Result = 0;
        }
        return;
    }
    case SB_GETTEXTLENGTHA:
    case SB_GETTEXTLENGTHW:
    case SB_GETTEXTA:
    case SB_GETTEXTW: {
        const int index = static_cast<int>(m.WParam & 0xFF);
        const WideString text = index == static_cast<int>(SB_SIMPLEID) || simplePanel_ ? simpleText_
                                : index < panels_->Count() ? panels_->Items(index)->Text() : WideString();
        const bool wide = m.Msg == SB_GETTEXTW || m.Msg == SB_GETTEXTLENGTHW;
        const AnsiString narrow = wide ? AnsiString() : Utf16ToUtf8(text);
        const std::size_t length = wide ? text.size() : narrow.size();
        if (m.LParam && m.Msg == SB_GETTEXTW) {
            std::copy(text.begin(), text.end(), reinterpret_cast<LPWSTR>(m.LParam));
            reinterpret_cast<LPWSTR>(m.LParam)[text.size()] = 0;
        } else if (m.LParam && m.Msg == SB_GETTEXTA) {
            std::copy(narrow.begin(), narrow.end(), reinterpret_cast<char*>(m.LParam));
            reinterpret_cast<char*>(m.LParam)[narrow.size()] = 0;
        }
        m.Result = static_cast<LRESULT>(MAKELONG(static_cast<WORD>(length), 0));
        return;
    }
    case SB_SIMPLE: SetSimplePanel(m.WParam != 0); return;
    case SB_ISSIMPLE: m.Result = simplePanel_ ? 1 : 0; return;
    case SB_GETPARTS: {
        const int count = simplePanel_ ? 1 : panels_->Count();
        if (auto* edges = reinterpret_cast<int*>(m.LParam)) {
            for (int i = 0; i < std::min<int>(count, static_cast<int>(m.WParam)); ++i) {
                const bool last = i == count - 1;
                edges[i] = last ? -1 : PanelRect(i).right + 1 + kPanelGap;
            }
        }
        m.Result = count;
        return;
    }
    case SB_GETRECT: {
        auto* r = reinterpret_cast<RECT*>(m.LParam);
        const int index = static_cast<int>(m.WParam);
        if (!r || (!simplePanel_ && index >= panels_->Count())) { m.Result = 0; return; }
        TRect outer = PanelRect(index);
        outer.Inflate(1, 1);
        *r = outer;
        m.Result = 1;
        return;
    }
    case WM_GETTEXTLENGTH:
        if (simplePanel_) { m.Result = static_cast<LRESULT>(simpleText_.size()); return; }
        break;
    default: break;
    }
    TWinControl::WndProc(m);
}
