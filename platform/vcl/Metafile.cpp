#include "platform/vcl/Metafile.h"

#include <algorithm>
#include <cmath>
#include <variant>

#include "platform/vcl/Gdi.h"
#include "platform/vcl/GdiInternal.h"
#include "platform/win/WinError.h"

namespace {

struct ClipRecord {
    std::optional<GdiRegion> clip;
};
struct FillRectsRecord {
    std::vector<RECT> rects;
    GdiPaint paint;
    int rop2;
};
struct FillPathRecord {
    GdiPath path;
    int fillMode;
    GdiPaint paint;
    int rop2;
};
struct StrokePathRecord {
    GdiPath path;
    GdiStroke stroke;
    int rop2;
};
struct TextRecord {
    GdiTextRun run;
};
struct BlitRecord {
    RECT dst;
    std::optional<GdiImage> src;
    RECT srcRect;
    std::optional<GdiPaint> pattern;
    DWORD rop;
    COLORREF transparent;
    bool blend;
    int stretchMode;
};
using Record = std::variant<ClipRecord, FillRectsRecord, FillPathRecord, StrokePathRecord, TextRecord, BlitRecord>;

// Where a drawing record paints, in the picture's pixels; a clip record has none.
struct Box {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool any = false;
};

struct Picture {
    std::vector<Record> records;
    std::vector<Box> boxes;  // one a record
    ENHMETAHEADER header;
    // The frame in reference pixels, right and bottom exclusive.
    double frameLeft = 0, frameTop = 0, frameRight = 0, frameBottom = 0;
};

class MetafileHandle : public WinHandleObject {
public:
    std::shared_ptr<const Picture> picture;
};

// Records what is drawn, in the reference device's pixels, and measures text on that device.
class Recorder : public GdiSurface {
public:
    Recorder(std::unique_ptr<GdiSurface> reference, SIZE size) : reference_(std::move(reference)), size_(size) {}

    SIZE Size() const override { return size_; }
    SIZE Resolution() const override { return reference_->Resolution(); }
    int Technology() const override { return DT_METAFILE; }

    void FillRects(const std::vector<RECT>& rects, const GdiPaint& paint, int rop2) override {
        for (const RECT& r : rects) Grow(r.left, r.top, r.right, r.bottom);
        Add(FillRectsRecord{rects, paint, rop2});
    }
    void FillPath(const GdiPath& path, int fillMode, const GdiPaint& paint, int rop2) override {
        GrowPath(path, 0);
        Add(FillPathRecord{path, fillMode, paint, rop2});
    }
    void StrokePath(const GdiPath& path, const GdiStroke& stroke, int rop2) override {
        GrowPath(path, std::max(1.0, stroke.width));
        Add(StrokePathRecord{path, stroke, rop2});
    }
    TEXTMETRICW Metrics(const LOGFONTW& font) override { return reference_->Metrics(font); }
    double Advance(const LOGFONTW& font, std::u16string_view text) override {
        return reference_->Advance(font, text);
    }
    void DrawTextRun(const GdiTextRun& run) override {
        const TEXTMETRICW m = reference_->Metrics(run.font);
        double width = 0;
        if (!run.advances.empty())
            for (double a : run.advances) width += a;
        else
            width = reference_->Advance(run.font, run.text);
        const double reach = std::max(width, double(m.tmHeight));
        if (run.angle == 0)
            Grow(run.origin.x, run.origin.y - m.tmAscent, run.origin.x + width, run.origin.y + m.tmDescent);
        else
            Grow(run.origin.x - reach, run.origin.y - reach, run.origin.x + reach, run.origin.y + reach);
        Add(TextRecord{run});
    }
    bool Blit(const RECT& dst, const GdiImage* src, const RECT& srcRect, const GdiPaint* pattern, DWORD rop,
              COLORREF transparent, bool blend, int stretchMode) override {
        Grow(std::min(dst.left, dst.right), std::min(dst.top, dst.bottom), std::max(dst.left, dst.right),
             std::max(dst.top, dst.bottom));
        BlitRecord r{dst, std::nullopt, srcRect, std::nullopt, rop, transparent, blend, stretchMode};
        if (src) r.src = *src;
        if (pattern) r.pattern = *pattern;
        Add(std::move(r));
        return true;
    }

    std::vector<Record> TakeRecords() { return std::move(records_); }
    std::vector<Box> TakeBoxes() { return std::move(boxes_); }
    bool HasBounds() const { return hasBounds_; }
    RECT Bounds() const {
        return RECT{static_cast<LONG>(std::floor(minX_)), static_cast<LONG>(std::floor(minY_)),
                    static_cast<LONG>(std::ceil(maxX_)), static_cast<LONG>(std::ceil(maxY_))};
    }

protected:
    void ApplyClip(const GdiRegion* clip) override {
        ClipRecord r;
        if (clip) {
            r.clip = *clip;
            clipBounds_ = clip->Bounds();
        } else {
            clipBounds_.reset();
        }
        current_ = Box();
        Add(std::move(r));
    }

private:
    // Records a drawing with the box its Grow calls gathered.
    void Add(Record record) {
        records_.push_back(std::move(record));
        boxes_.push_back(current_);
        current_ = Box();
    }
    // What is clipped away is not drawn and so does not widen the picture.
    void Grow(double l, double t, double r, double b) {
        if (clipBounds_) {
            l = std::max(l, double(clipBounds_->left));
            t = std::max(t, double(clipBounds_->top));
            r = std::min(r, double(clipBounds_->right));
            b = std::min(b, double(clipBounds_->bottom));
        }
        if (r <= l || b <= t) return;
        if (!current_.any) {
            current_ = Box{l, t, r, b, true};
        } else {
            current_.left = std::min(current_.left, l);
            current_.top = std::min(current_.top, t);
            current_.right = std::max(current_.right, r);
            current_.bottom = std::max(current_.bottom, b);
        }
        if (!hasBounds_) {
            minX_ = l, minY_ = t, maxX_ = r, maxY_ = b;
            hasBounds_ = true;
            return;
        }
        minX_ = std::min(minX_, l);
        minY_ = std::min(minY_, t);
        maxX_ = std::max(maxX_, r);
        maxY_ = std::max(maxY_, b);
    }
    void GrowPath(const GdiPath& path, double pad) {
        for (const auto& e : path) {
            if (e.kind == GdiPathElement::Arc)
                Grow(e.left - pad, e.top - pad, e.right + pad, e.bottom + pad);
            else if (e.kind != GdiPathElement::Close)
                Grow(e.point.x - pad, e.point.y - pad, e.point.x + pad + 1e-9, e.point.y + pad + 1e-9);
        }
    }

    std::unique_ptr<GdiSurface> reference_;
    SIZE size_;
    std::vector<Record> records_;
    std::vector<Box> boxes_;
    Box current_;
    std::optional<RECT> clipBounds_;
    bool hasBounds_ = false;
    double minX_ = 0, minY_ = 0, maxX_ = 0, maxY_ = 0;
};

// Scale and offset from the picture's pixels to the target's.
struct Placement {
    double sx = 1, sy = 1, dx = 0, dy = 0;
    double X(double x) const { return x * sx + dx; }
    double Y(double y) const { return y * sy + dy; }
    LONG RX(double x) const { return static_cast<LONG>(std::lround(X(x))); }
    LONG RY(double y) const { return static_cast<LONG>(std::lround(Y(y))); }
    // A rectangle that is not empty stays at least one pixel: a thin rule (a table's grid)
    // played smaller must not vanish.
    RECT Rect(const RECT& r) const {
        RECT out{RX(r.left), RY(r.top), RX(r.right), RY(r.bottom)};
        if (r.right != r.left && out.right == out.left) out.right += r.right > r.left ? 1 : -1;
        if (r.bottom != r.top && out.bottom == out.top) out.bottom += r.bottom > r.top ? 1 : -1;
        return out;
    }
    GdiPaint Paint(GdiPaint p) const {
        p.origin = POINT{RX(p.origin.x), RY(p.origin.y)};
        return p;
    }
    GdiPath Path(GdiPath path) const {
        for (auto& e : path) {
            e.point = GdiPointF{X(e.point.x), Y(e.point.y)};
            e.left = X(e.left);
            e.right = X(e.right);
            e.top = Y(e.top);
            e.bottom = Y(e.bottom);
            if ((sx < 0) != (sy < 0)) {
                e.start = -e.start;
                e.sweep = -e.sweep;
            }
        }
        return path;
    }
};

void Play(const Picture& picture, GdiSurface& target, const Placement& at, const std::optional<GdiRegion>& base,
          bool pages) {
    const double scale = (std::abs(at.sx) + std::abs(at.sy)) / 2;
    // Drawings wholly outside the target's clip are left out: a page of a long picture then
    // holds only what meets it, not the whole picture clipped away.
    std::optional<RECT> visible;
    if (base) visible = base->Bounds();
    const auto outside = [&](const Box& b) {
        if (!visible || !b.any) return false;
        const double l = std::min(at.X(b.left), at.X(b.right)), r = std::max(at.X(b.left), at.X(b.right));
        const double t = std::min(at.Y(b.top), at.Y(b.bottom)), bo = std::max(at.Y(b.top), at.Y(b.bottom));
        // One pixel of slack for anti-aliased edges.
        return r < visible->left - 1 || l > visible->right + 1 || bo < visible->top - 1 || t > visible->bottom + 1;
    };
    // On pages a line of text belongs to the page that shows most of it: the sliver of the next
    // line at a page's edge is left out, so no line's text is on two pages. (A window repaints
    // strips of itself, so there every line that meets the strip is drawn.)
    const auto mostlyHidden = [&](const Box& b) {
        if (!pages || !visible || !b.any) return false;
        const double t = std::min(at.Y(b.top), at.Y(b.bottom)), bo = std::max(at.Y(b.top), at.Y(b.bottom));
        const double shown = std::min<double>(bo, visible->bottom) - std::max<double>(t, visible->top);
        return shown < (bo - t) / 2;
    };
    for (std::size_t i = 0; i < picture.records.size(); ++i) {
        const Record& record = picture.records[i];
        if (i < picture.boxes.size() && outside(picture.boxes[i])) continue;
        if (i < picture.boxes.size() && std::holds_alternative<TextRecord>(record) && mostlyHidden(picture.boxes[i]))
            continue;
        if (auto* c = std::get_if<ClipRecord>(&record)) {
            if (!c->clip) {
                target.SetClip(base ? &*base : nullptr);
                continue;
            }
            GdiRegion scaled;
            for (const RECT& r : c->clip->Rects()) scaled = scaled.Combine(GdiRegion(at.Rect(r)), RGN_OR);
            if (base) scaled = scaled.Combine(*base, RGN_AND);
            target.SetClip(&scaled);
        } else if (auto* f = std::get_if<FillRectsRecord>(&record)) {
            std::vector<RECT> rects;
            for (const RECT& r : f->rects) rects.push_back(at.Rect(r));
            target.FillRects(rects, at.Paint(f->paint), f->rop2);
        } else if (auto* p = std::get_if<FillPathRecord>(&record)) {
            target.FillPath(at.Path(p->path), p->fillMode, at.Paint(p->paint), p->rop2);
        } else if (auto* s = std::get_if<StrokePathRecord>(&record)) {
            GdiStroke stroke = s->stroke;
            if (stroke.width > 0) stroke.width *= scale;
            target.StrokePath(at.Path(s->path), stroke, s->rop2);
        } else if (auto* t = std::get_if<TextRecord>(&record)) {
            GdiTextRun run = t->run;
            const double h = run.font.lfHeight * std::abs(at.sy);
            run.font.lfHeight = static_cast<LONG>(std::lround(h));
            if (run.font.lfHeight == 0) run.font.lfHeight = h < 0 ? -1 : 1;
            run.font.lfWidth = static_cast<LONG>(std::lround(run.font.lfWidth * std::abs(at.sx)));
            run.origin = GdiPointF{at.X(run.origin.x), at.Y(run.origin.y)};
            for (double& a : run.advances) a *= std::abs(at.sx);
            target.DrawTextRun(run);
        } else if (auto* b = std::get_if<BlitRecord>(&record)) {
            target.Blit(at.Rect(b->dst), b->src ? &*b->src : nullptr, b->srcRect,
                        b->pattern ? &*b->pattern : nullptr, b->rop, b->transparent, b->blend, b->stretchMode);
        }
    }
    target.SetClip(base ? &*base : nullptr);
}


struct Recording {
    RECT frameHimetric{};
    bool hasFrame = false;
    WideString description;
};

}  // namespace

bool GdiIsMetafileHandle(HGDIOBJ h) { return HandleAs<MetafileHandle>(static_cast<HANDLE>(h)) != nullptr; }

namespace {

// What a recording context keeps besides its recorder.
class MetafileDc : public GdiDeviceContext {
public:
    MetafileDc(std::unique_ptr<GdiSurface> recorder, Recording recording)
        : GdiDeviceContext(Kind::Metafile, std::move(recorder)), recording(std::move(recording)) {}
    Recording recording;
};

constexpr double kHimetricPerInch = 2540.0;

}  // namespace

HDC CreateEnhMetaFileW(HDC ref, LPCWSTR fileName, const RECT* frame, LPCWSTR description) {
    if (fileName && *fileName) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    GdiBackend* backend = CurrentGdiBackend();
    if (!backend) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    if (ref && !DcFromHandle(ref)) return nullptr;
    // Text is measured on the screen: recorded pictures play back the same everywhere.
    std::unique_ptr<GdiSurface> reference = backend->CreateScreenSurface();
    const SIZE dpi = reference->Resolution();
    SIZE size = reference->Size();
    Recording rec;
    if (frame) {
        rec.frameHimetric = *frame;
        rec.hasFrame = true;
        size = SIZE{static_cast<LONG>(std::ceil(std::max(frame->right, 0) * dpi.cx / kHimetricPerInch)),
                    static_cast<LONG>(std::ceil(std::max(frame->bottom, 0) * dpi.cy / kHimetricPerInch))};
    }
    if (description) rec.description = description;
    auto recorder = std::make_unique<Recorder>(std::move(reference), size);
    return RegisterDc(std::make_unique<MetafileDc>(std::move(recorder), std::move(rec)));
}

HENHMETAFILE CloseEnhMetaFile(HDC dc) {
    auto* d = dynamic_cast<MetafileDc*>(DcFromHandle(dc));
    if (!d) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    auto* recorder = static_cast<Recorder*>(d->Surface());
    auto picture = std::make_shared<Picture>();
    picture->records = recorder->TakeRecords();
    picture->boxes = recorder->TakeBoxes();
    const SIZE dpi = recorder->Resolution();
    const SIZE device = recorder->Size();
    ENHMETAHEADER& h = picture->header;
    const RECT bounds = recorder->HasBounds() ? recorder->Bounds() : RECT{};
    // rclBounds is inclusive.
    h.rclBounds = recorder->HasBounds() ? RECT{bounds.left, bounds.top, bounds.right - 1, bounds.bottom - 1} : RECT{};
    if (d->recording.hasFrame) {
        h.rclFrame = d->recording.frameHimetric;
        picture->frameLeft = h.rclFrame.left * dpi.cx / kHimetricPerInch;
        picture->frameTop = h.rclFrame.top * dpi.cy / kHimetricPerInch;
        picture->frameRight = h.rclFrame.right * dpi.cx / kHimetricPerInch;
        picture->frameBottom = h.rclFrame.bottom * dpi.cy / kHimetricPerInch;
    } else {
        picture->frameLeft = bounds.left;
        picture->frameTop = bounds.top;
        picture->frameRight = bounds.right;
        picture->frameBottom = bounds.bottom;
        auto him = [&](double px, LONG perInch) { return static_cast<LONG>(std::lround(px * kHimetricPerInch / perInch)); };
        h.rclFrame = RECT{him(bounds.left, dpi.cx), him(bounds.top, dpi.cy), him(bounds.right, dpi.cx),
                          him(bounds.bottom, dpi.cy)};
    }
    h.szlDevice = device;
    h.szlMillimeters = SIZE{static_cast<LONG>(std::lround(device.cx * 25.4 / dpi.cx)),
                            static_cast<LONG>(std::lround(device.cy * 25.4 / dpi.cy))};
    h.szlMicrometers = SIZE{h.szlMillimeters.cx * 1000, h.szlMillimeters.cy * 1000};
    h.nRecords = static_cast<DWORD>(picture->records.size()) + 2;  // with the header and end records
    h.nDescription = static_cast<DWORD>(d->recording.description.size());
    h.nBytes = h.nSize + h.nRecords * 8 + h.nDescription * 2;
    DeleteDC(dc);
    auto handle = std::make_unique<MetafileHandle>();
    handle->picture = std::move(picture);
    return static_cast<HENHMETAFILE>(RegisterHandle(std::move(handle)));
}

BOOL PlayEnhMetaFile(HDC dc, HENHMETAFILE picture, const RECT* r) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    auto* m = HandleAs<MetafileHandle>(static_cast<HANDLE>(picture));
    if (!m || !r) {
        SetLastError(m ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!d->Surface()) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    const Picture& p = *m->picture;
    const RECT target = d->ToDeviceRect(*r);
    const double fw = p.frameRight - p.frameLeft, fh = p.frameBottom - p.frameTop;
    if (fw <= 0 || fh <= 0) return TRUE;  // an empty picture
    Placement at;
    at.sx = (target.right - target.left) / fw;
    at.sy = (target.bottom - target.top) / fh;
    at.dx = target.left - p.frameLeft * at.sx;
    at.dy = target.top - p.frameTop * at.sy;
    Play(p, *d->Surface(), at, d->Surface()->Clip(), d->Surface()->Technology() == DT_RASPRINTER);
    d->ApplyClip();
    return TRUE;
}

BOOL DeleteEnhMetaFile(HENHMETAFILE picture) {
    if (!HandleAs<MetafileHandle>(static_cast<HANDLE>(picture))) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    ReleaseHandle(static_cast<HANDLE>(picture));
    return TRUE;
}

HENHMETAFILE CopyEnhMetaFileW(HENHMETAFILE picture, LPCWSTR fileName) {
    auto* m = HandleAs<MetafileHandle>(static_cast<HANDLE>(picture));
    if (!m) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (fileName && *fileName) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    auto copy = std::make_unique<MetafileHandle>();
    copy->picture = m->picture;
    return static_cast<HENHMETAFILE>(RegisterHandle(std::move(copy)));
}

UINT GetEnhMetaFileHeader(HENHMETAFILE picture, UINT size, ENHMETAHEADER* header) {
    auto* m = HandleAs<MetafileHandle>(static_cast<HANDLE>(picture));
    if (!m) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (!header) return sizeof(ENHMETAHEADER);
    if (size < sizeof(ENHMETAHEADER)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    *header = m->picture->header;
    return sizeof(ENHMETAHEADER);
}

LONG GetEnhMetaFileBreak(HENHMETAFILE picture, LONG y, LONG above) {
    auto* m = HandleAs<MetafileHandle>(static_cast<HANDLE>(picture));
    if (!m) {
        SetLastError(ERROR_INVALID_HANDLE);
        return y;
    }
    const Picture& p = *m->picture;
    double cut = y;
    for (bool moved = true; moved;) {
        moved = false;
        for (std::size_t i = 0; i < p.records.size() && i < p.boxes.size(); ++i) {
            const Box& b = p.boxes[i];
            const bool unbreakable = std::holds_alternative<TextRecord>(p.records[i]) ||
                                     (std::holds_alternative<BlitRecord>(p.records[i]) &&
                                      std::get<BlitRecord>(p.records[i]).src.has_value());
            if (unbreakable && b.any && b.top < cut && b.bottom > cut) {
                cut = b.top;
                moved = true;
            }
        }
        if (cut <= above) return y;
    }
    return static_cast<LONG>(std::floor(cut));
}
