#include "platform/vcl/GdiRegion.h"

#include <algorithm>
#include <cmath>
#include <set>

GdiRegion::GdiRegion(const RECT& r) {
    if (r.right > r.left && r.bottom > r.top) rects_.push_back(r);
}

int GdiRegion::Kind() const {
    if (rects_.empty()) return NULLREGION;
    return rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

RECT GdiRegion::Bounds() const {
    if (rects_.empty()) return RECT{};
    RECT b = rects_.front();
    for (const RECT& r : rects_) {
        b.left = std::min(b.left, r.left);
        b.top = std::min(b.top, r.top);
        b.right = std::max(b.right, r.right);
        b.bottom = std::max(b.bottom, r.bottom);
    }
    return b;
}

bool GdiRegion::Contains(int x, int y) const {
    for (const RECT& r : rects_)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    return false;
}

bool GdiRegion::IntersectsRect(const RECT& q) const {
    for (const RECT& r : rects_)
        if (std::max(r.left, q.left) < std::min(r.right, q.right) &&
            std::max(r.top, q.top) < std::min(r.bottom, q.bottom))
            return true;
    return false;
}

void GdiRegion::Offset(int dx, int dy) {
    for (RECT& r : rects_) {
        r.left += dx;
        r.right += dx;
        r.top += dy;
        r.bottom += dy;
    }
}

bool GdiRegion::operator==(const GdiRegion& other) const {
    if (rects_.size() != other.rects_.size()) return false;
    for (size_t i = 0; i < rects_.size(); ++i) {
        const RECT &a = rects_[i], &b = other.rects_[i];
        if (a.left != b.left || a.top != b.top || a.right != b.right || a.bottom != b.bottom) return false;
    }
    return true;
}

std::vector<GdiRegion::Band> GdiRegion::ToBands() const {
    // rects_ is kept in band order: rectangles of one band share top and bottom.
    std::vector<Band> bands;
    for (const RECT& r : rects_) {
        if (bands.empty() || bands.back().top != r.top || bands.back().bottom != r.bottom)
            bands.push_back(Band{r.top, r.bottom, {}});
        bands.back().xs.push_back(r.left);
        bands.back().xs.push_back(r.right);
    }
    return bands;
}

GdiRegion GdiRegion::FromBands(std::vector<Band> bands) {
    // Drop empty bands and merge touching bands with equal spans.
    std::vector<Band> merged;
    for (Band& b : bands) {
        if (b.xs.empty() || b.bottom <= b.top) continue;
        if (!merged.empty() && merged.back().bottom == b.top && merged.back().xs == b.xs)
            merged.back().bottom = b.bottom;
        else
            merged.push_back(std::move(b));
    }
    GdiRegion out;
    for (const Band& b : merged)
        for (size_t i = 0; i + 1 < b.xs.size(); i += 2) out.rects_.push_back(RECT{b.xs[i], b.top, b.xs[i + 1], b.bottom});
    return out;
}

namespace {

std::vector<LONG> CombineSpans(const std::vector<LONG>& a, const std::vector<LONG>& b, int mode) {
    std::vector<LONG> edges;
    edges.insert(edges.end(), a.begin(), a.end());
    edges.insert(edges.end(), b.begin(), b.end());
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    auto inside = [](const std::vector<LONG>& s, LONG x) {
        for (size_t i = 0; i + 1 < s.size(); i += 2)
            if (x >= s[i] && x < s[i + 1]) return true;
        return false;
    };
    std::vector<LONG> out;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        const bool ia = inside(a, edges[i]), ib = inside(b, edges[i]);
        bool in = false;
        switch (mode) {
            case RGN_AND: in = ia && ib; break;
            case RGN_OR: in = ia || ib; break;
            case RGN_XOR: in = ia != ib; break;
            case RGN_DIFF: in = ia && !ib; break;
            default: in = ia; break;
        }
        if (!in) continue;
        if (!out.empty() && out.back() == edges[i])
            out.back() = edges[i + 1];
        else {
            out.push_back(edges[i]);
            out.push_back(edges[i + 1]);
        }
    }
    return out;
}

// The spans of the band that covers row y, else none.
const std::vector<LONG>* SpansAt(const std::vector<GdiRegion::Band>& bands, LONG y) {
    for (const auto& b : bands)
        if (y >= b.top && y < b.bottom) return &b.xs;
    return nullptr;
}
}  // namespace

GdiRegion GdiRegion::Combine(const GdiRegion& other, int mode) const {
    if (mode == RGN_COPY) return *this;
    const std::vector<Band> a = ToBands(), b = other.ToBands();
    std::set<LONG> ys;
    for (const Band& x : a) ys.insert({x.top, x.bottom});
    for (const Band& x : b) ys.insert({x.top, x.bottom});
    const std::vector<LONG> empty;
    std::vector<Band> out;
    for (auto it = ys.begin(); it != ys.end() && std::next(it) != ys.end(); ++it) {
        const LONG y0 = *it, y1 = *std::next(it);
        const auto* sa = SpansAt(a, y0);
        const auto* sb = SpansAt(b, y0);
        out.push_back(Band{y0, y1, CombineSpans(sa ? *sa : empty, sb ? *sb : empty, mode)});
    }
    return FromBands(std::move(out));
}

GdiRegion GdiRegion::FromPolygons(const std::vector<std::vector<POINT>>& polygons, int fillMode) {
    struct Edge {
        double x0, y0, x1, y1;
        int dir;
    };
    std::vector<Edge> edges;
    LONG minY = 0, maxY = 0;
    bool first = true;
    for (const auto& poly : polygons) {
        const size_t n = poly.size();
        if (n < 3) continue;
        for (size_t i = 0; i < n; ++i) {
            const POINT& p = poly[i];
            const POINT& q = poly[(i + 1) % n];
            if (first) {
                minY = maxY = p.y;
                first = false;
            }
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
            if (p.y == q.y) continue;
            edges.push_back(Edge{double(p.x), double(p.y), double(q.x), double(q.y), q.y > p.y ? 1 : -1});
        }
    }
    std::vector<Band> bands;
    for (LONG y = minY; y < maxY; ++y) {
        const double cy = y + 0.5;
        std::vector<std::pair<double, int>> xs;
        for (const Edge& e : edges) {
            const double lo = std::min(e.y0, e.y1), hi = std::max(e.y0, e.y1);
            if (cy < lo || cy >= hi) continue;
            xs.emplace_back(e.x0 + (cy - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0), e.dir);
        }
        std::sort(xs.begin(), xs.end());
        std::vector<LONG> spans;
        int winding = 0;
        for (size_t i = 0; i + 1 < xs.size(); ++i) {
            winding += fillMode == WINDING ? xs[i].second : 1;
            const bool in = fillMode == WINDING ? winding != 0 : (winding % 2) != 0;
            if (!in) continue;
            // Pixel x is inside when its centre x + 0.5 lies in [xa, xb).
            const LONG left = static_cast<LONG>(std::ceil(xs[i].first - 0.5));
            const LONG right = static_cast<LONG>(std::ceil(xs[i + 1].first - 0.5));
            if (right <= left) continue;
            if (!spans.empty() && spans.back() >= left)
                spans.back() = std::max(spans.back(), right);
            else {
                spans.push_back(left);
                spans.push_back(right);
            }
        }
        bands.push_back(Band{y, y + 1, std::move(spans)});
    }
    return FromBands(std::move(bands));
}

GdiRegion GdiRegion::FromEllipse(const RECT& box) {
    return FromRoundRect(box, box.right - box.left, box.bottom - box.top);
}

GdiRegion GdiRegion::FromRoundRect(const RECT& box, int cornerW, int cornerH) {
    const LONG w = box.right - box.left, h = box.bottom - box.top;
    if (w <= 0 || h <= 0) return GdiRegion();
    const double rx = std::min<double>(std::abs(cornerW), w) / 2.0;
    const double ry = std::min<double>(std::abs(cornerH), h) / 2.0;
    if (rx < 0.5 || ry < 0.5) return GdiRegion(box);
    std::vector<Band> bands;
    for (LONG y = box.top; y < box.bottom; ++y) {
        const double cy = y + 0.5;
        double inset = 0;
        // Distance into the top or bottom rounded zone.
        double dy = 0;
        if (cy < box.top + ry)
            dy = box.top + ry - cy;
        else if (cy > box.bottom - ry)
            dy = cy - (box.bottom - ry);
        if (dy > 0) {
            const double t = std::max(0.0, 1.0 - (dy * dy) / (ry * ry));
            inset = rx - rx * std::sqrt(t);
        }
        const LONG left = static_cast<LONG>(std::ceil(box.left + inset - 0.5));
        const LONG right = static_cast<LONG>(std::ceil(box.right - inset - 0.5));
        if (right > left) bands.push_back(Band{y, y + 1, {left, right}});
    }
    return FromBands(std::move(bands));
}
