#include "platform/vcl/HeaderControl.h"

#include <algorithm>
#include <cstring>

#include "platform/vcl/GraphicsImageList.h"

// ---- layout

TRect THeaderLayout::ItemRect(int index) const {
    int left = -offset_;
    for (int i = 0; i < index; ++i) left += widths_[static_cast<std::size_t>(i)];
    return TRect(left, 0, left + widths_[static_cast<std::size_t>(index)], height_);
}

int THeaderLayout::HitTest(HDHITTESTINFO& info) const {
    const POINT p = info.pt;
    info.iItem = -1;
    info.flags = 0;
    if (p.y < 0) info.flags |= HHT_ABOVE;
    if (p.y >= height_) info.flags |= HHT_BELOW;
    if (p.x < -offset_) info.flags |= HHT_TOLEFT;
    int right = -offset_;
    for (int w : widths_) right += w;
    if (p.x >= right + DividerSlop) info.flags |= HHT_TORIGHT;
    if (info.flags) return -1;
    // A divider wins over the section under the point, the rightmost one first (a section of
    // width zero still has its divider).
    int left = -offset_;
    for (int i = 0; i < Count(); ++i) {
        const int edge = left + widths_[static_cast<std::size_t>(i)];
        if (p.x >= edge - DividerSlop && p.x < edge + DividerSlop) {
            int last = i;
            for (int j = i + 1; j < Count() && widths_[static_cast<std::size_t>(j)] == 0; ++j) last = j;
            info.iItem = last;
            info.flags = HHT_ONDIVIDER;
            return last;
        }
        left = edge;
    }
    left = -offset_;
    for (int i = 0; i < Count(); ++i) {
        const int edge = left + widths_[static_cast<std::size_t>(i)];
        if (p.x >= left && p.x < edge) {
            info.iItem = i;
            info.flags = HHT_ONHEADER;
            return i;
        }
        left = edge;
    }
    info.flags = HHT_NOWHERE;
    return -1;
}

bool AnswerHeaderMessage(const THeaderLayout& layout, TMessage& m) {
    switch (m.Msg) {
    case HDM_GETITEMCOUNT: m.Result = layout.Count(); return true;
    case HDM_HITTEST: {
        auto* info = reinterpret_cast<HDHITTESTINFO*>(m.LParam);
        m.Result = info ? layout.HitTest(*info) : -1;
        return true;
    }
    case HDM_GETITEMRECT: {
        const int index = static_cast<int>(m.WParam);
        auto* r = reinterpret_cast<RECT*>(m.LParam);
        if (!r || index < 0 || index >= layout.Count()) {
            m.Result = FALSE;
        } else {
            *r = layout.ItemRect(index);
            m.Result = TRUE;
        }
        return true;
    }
    default: return false;
    }
}

LRESULT SendHeaderNotify(TControl& target, UINT message, HWND from, bool unicode, UINT wideCode, int item, int width,
                         int button) {
    NMHEADER nm;
    nm.hdr.hwndFrom = from;
    nm.hdr.code = unicode ? wideCode : HeaderAnsiCode(wideCode);
    nm.iItem = item;
    nm.iButton = button;
    HDITEMW wide;
    HDITEMA narrow;
    if (width >= 0) {
        wide.mask = narrow.mask = HDI_WIDTH;
        wide.cxy = narrow.cxy = width;
        nm.pitem = unicode ? static_cast<void*>(&wide) : static_cast<void*>(&narrow);
    }
    return target.Perform(message, 0, reinterpret_cast<LPARAM>(&nm));
}

std::optional<int> NotifiedWidth(const NMHEADER& header) {
    if (!header.pitem) return std::nullopt;
    // Both forms start with mask and cxy.
    const auto* item = static_cast<const HDITEMW*>(header.pitem);
    if (!(item->mask & HDI_WIDTH)) return std::nullopt;
    return item->cxy;
}

UINT WideHeaderCode(UINT code) {
    const int c = static_cast<int>(code);
    if (c <= -300 && c > -320) return code - 20;
    return code;
}

// ---- sections

const TMetaClass& THeaderSection::StaticClass() {
    static const TMetaClass& meta = DescribeClass<THeaderSection>("THeaderSection", nullptr, [](TClassBuilder<THeaderSection>& b) {
        b.Property("Alignment", &THeaderSection::Alignment, &THeaderSection::SetAlignment).Default(taLeftJustify);
        b.Property("AllowClick", &THeaderSection::AllowClick, &THeaderSection::SetAllowClick).Default(true);
        b.Property("ImageIndex", &THeaderSection::ImageIndex, &THeaderSection::SetImageIndex).Default(-1);
        b.Property("MaxWidth", &THeaderSection::MaxWidth, &THeaderSection::SetMaxWidth).Default(10000);
        b.Property("MinWidth", &THeaderSection::MinWidth, &THeaderSection::SetMinWidth).Default(0);
        b.Property("Style", &THeaderSection::Style, &THeaderSection::SetStyle).Default(hsText);
        b.Property("Text", &THeaderSection::Text, &THeaderSection::SetText);
        b.Property("Width", &THeaderSection::Width, &THeaderSection::SetWidth).NoDefault();
    });
    return meta;
}

void THeaderSection::SetText(const WideString& text) {
    text_ = text;
    Changed(false);
}
void THeaderSection::SetWidth(int width) {
    width_ = Clamped(std::max(width, 0));
    Changed(false);
}
void THeaderSection::SetMinWidth(int v) {
    minWidth_ = std::max(v, 0);
    SetWidth(width_);
}
void THeaderSection::SetMaxWidth(int v) {
    maxWidth_ = std::max(v, 0);
    SetWidth(width_);
}
void THeaderSection::SetAlignment(TAlignment a) {
    alignment_ = a;
    Changed(false);
}
void THeaderSection::SetStyle(THeaderSectionStyle s) {
    style_ = s;
    Changed(false);
}
void THeaderSection::SetImageIndex(int v) {
    imageIndex_ = v;
    Changed(false);
}

int THeaderSection::Left() const {
    int left = 0;
    for (int i = 0; i < Index(); ++i) left += static_cast<THeaderSections*>(Collection())->Items(i)->Width();
    return left;
}

int THeaderSection::Clamped(int width) const {
    if (maxWidth_ > 0) width = std::min(width, std::max(maxWidth_, minWidth_));
    return std::max(width, minWidth_);
}

AnsiString THeaderSection::DisplayName() const { return text_.empty() ? AnsiString("THeaderSection") : Utf16ToUtf8(text_); }

const TMetaClass& THeaderSections::StaticClass() {
    static const TMetaClass& meta = DescribeClass<THeaderSections>("THeaderSections", nullptr);
    return meta;
}

THeaderSections::THeaderSections(THeaderControl* header)
    : TCollection([](TCollection* c) { return std::make_unique<THeaderSection>(c); }, header), header_(header) {
    THeaderSection::StaticClass();  // form files find the items' properties by their class
}

void THeaderSections::Update(TCollectionItem*) {
    if (header_) header_->SectionsChanged();
}

// ---- the control

const TMetaClass& THeaderControl::StaticClass() {
    static const TMetaClass& meta = DescribeClass<THeaderControl>("THeaderControl", &TWinControl::StaticClass(), [](TClassBuilder<THeaderControl>& b) {
        b.ReadOnly("Sections", &THeaderControl::Sections);
        b.Property("Images", &THeaderControl::Images, &THeaderControl::SetImages);
        b.Property("HotTrack", &THeaderControl::HotTrack, &THeaderControl::SetHotTrack).Default(false);
        b.Event("OnSectionClick", &THeaderControl::OnSectionClick);
        b.Event("OnSectionResize", &THeaderControl::OnSectionResize);
        b.Event("OnSectionTrack", &THeaderControl::OnSectionTrack);
        b.Event("OnDrawSection", &THeaderControl::OnDrawSection);
    });
    return meta;
}

const TMessageTable& THeaderControl::ClassMessages() {
    static const TMessageTable table(&TWinControl::ClassMessages(), {
        MESSAGE_HANDLER(CN_NOTIFY, THeaderControl::CNNotify),
    });
    return table;
}

THeaderControl::THeaderControl(TComponent* owner)
    : TWinControl(owner), sections_(std::make_unique<THeaderSections>(this)), canvas_(NewControlCanvas(*this)) {
    SetBounds(0, 0, 250, 17);
    SetAlign(alTop);
}

THeaderControl::~THeaderControl() {
    DestroyHandle();  // the peer reads the sections while it goes
}

void THeaderControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = u"SysHeader32";
    params.OwnerPainted = false;
}

void THeaderControl::SetImages(TCustomImageList* images) {
    if (images_) images_->RemoveFreeNotification(this);
    images_ = images;
    if (images_) images_->FreeNotification(this);
    SectionsChanged();
}

void THeaderControl::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) {
        images_ = nullptr;
        SectionsChanged();
    }
}

void THeaderControl::SectionsChanged() {
    if (auto* p = dynamic_cast<THeaderControlPeer*>(Peer())) p->SectionsChanged();
}

THeaderLayout THeaderControl::Layout() const {
    std::vector<int> widths;
    for (int i = 0; i < sections_->Count(); ++i) widths.push_back(sections_->Items(i)->Width());
    return THeaderLayout(std::move(widths), ClientHeight());
}

void THeaderControl::DefWndProc(TMessage& m) {
    if (AnswerHeaderMessage(Layout(), m)) return;
    switch (m.Msg) {
    case CCM_SETUNICODEFORMAT:
        m.Result = unicode_;
        unicode_ = m.WParam != 0;
        return;
    case CCM_GETUNICODEFORMAT: m.Result = unicode_; return;
    case HDM_SETITEMW:
    case HDM_SETITEMA: {
        const int index = static_cast<int>(m.WParam);
        const auto* item = reinterpret_cast<const HDITEMW*>(m.LParam);
        m.Result = FALSE;
        if (!item || index < 0 || index >= sections_->Count()) return;
        THeaderSection* s = sections_->Items(index);
        if (item->mask & HDI_WIDTH) s->SetWidth(item->cxy);
        if ((item->mask & HDI_TEXT) && item->pszText) {
            if (m.Msg == HDM_SETITEMW) s->SetText(item->pszText);
            else s->SetText(Utf8ToUtf16(reinterpret_cast<const HDITEMA*>(item)->pszText));
        }
        if (item->mask & HDI_FORMAT) {
            s->SetAlignment((item->fmt & HDF_JUSTIFYMASK) == HDF_RIGHT ? taRightJustify
                            : (item->fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? taCenter : taLeftJustify);
            s->SetStyle(item->fmt & HDF_OWNERDRAW ? hsOwnerDraw : hsText);
        }
        m.Result = TRUE;
        return;
    }
    case HDM_GETITEMW: {
        const int index = static_cast<int>(m.WParam);
        auto* item = reinterpret_cast<HDITEMW*>(m.LParam);
        m.Result = FALSE;
        if (!item || index < 0 || index >= sections_->Count()) return;
        const THeaderSection* s = sections_->Items(index);
        if (item->mask & HDI_WIDTH) item->cxy = s->Width();
        if ((item->mask & HDI_TEXT) && item->pszText && item->cchTextMax > 0) {
            const std::size_t n = std::min<std::size_t>(s->Text().size(), static_cast<std::size_t>(item->cchTextMax - 1));
            std::memcpy(item->pszText, s->Text().data(), n * sizeof(char16_t));
            item->pszText[n] = 0;
        }
        if (item->mask & HDI_FORMAT)
            item->fmt = (s->Alignment() == taRightJustify ? HDF_RIGHT : s->Alignment() == taCenter ? HDF_CENTER : HDF_LEFT) |
                        (s->Style() == hsOwnerDraw ? HDF_OWNERDRAW : HDF_STRING);
        m.Result = TRUE;
        return;
    }
    default: TWinControl::DefWndProc(m);
    }
}

// The widget's notifications: tracking keeps the width within the section's limits, and the
// handler may change the width it is given.
void THeaderControl::CNNotify(TWMNotify& m) {
    auto* nm = reinterpret_cast<NMHEADER*>(m.NMHdr);
    if (!nm || nm->iItem < 0 || nm->iItem >= sections_->Count()) return;
    THeaderSection* section = sections_->Items(nm->iItem);
    const std::optional<int> width = NotifiedWidth(*nm);
    auto track = [&](TSectionTrackState state) {
        int w = section->Clamped(width.value_or(section->Width()));
        if (OnSectionTrack) OnSectionTrack(this, section, w, state);
        if (state != tsTrackBegin) section->SetWidth(w);
        if (nm->pitem) static_cast<HDITEMW*>(nm->pitem)->cxy = section->Width();
    };
    switch (WideHeaderCode(nm->hdr.code)) {
    case HDN_ITEMCLICKW:
        if (section->AllowClick() && OnSectionClick) OnSectionClick(this, section);
        break;
    case HDN_BEGINTRACKW: track(tsTrackBegin); break;
    case HDN_TRACKW: track(tsTrackMove); break;
    case HDN_ENDTRACKW:
        track(tsTrackEnd);
        if (OnSectionResize) OnSectionResize(this, section);
        break;
    case HDN_DIVIDERDBLCLICKW:
        if (OnDividerDblClick) OnDividerDblClick(this, section);
        break;
    default: break;
    }
}

void THeaderControl::DrawSection(HDC dc, int index, const TRect& rect, bool pressed) {
    if (index < 0 || index >= sections_->Count() || !OnDrawSection) return;
    BeginCanvasPaint(canvas_.get(), dc, Font(), Color());
    try {
        OnDrawSection(this, sections_->Items(index), rect, pressed);
    } catch (...) {
        EndCanvasPaint(canvas_.get());
        throw;
    }
    EndCanvasPaint(canvas_.get());
}
