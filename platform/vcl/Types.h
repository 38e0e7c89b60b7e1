// Geometry of the class library: TPoint, TSize and TRect over the Windows records, with the
// Windows rule that a rectangle holds its left and top edges but not its right and bottom.
#pragma once

#include <algorithm>

#include "platform/win/WinTypes.h"

struct TPoint : POINT {
    constexpr TPoint() : POINT{0, 0} {}
    constexpr TPoint(LONG x_, LONG y_) : POINT{x_, y_} {}
    constexpr TPoint(const POINT& p) : POINT(p) {}
    friend constexpr bool operator==(const TPoint& a, const TPoint& b) { return a.x == b.x && a.y == b.y; }
    friend constexpr TPoint operator+(const TPoint& a, const TPoint& b) { return {a.x + b.x, a.y + b.y}; }
    friend constexpr TPoint operator-(const TPoint& a, const TPoint& b) { return {a.x - b.x, a.y - b.y}; }
};

struct TSize : SIZE {
    constexpr TSize() : SIZE{0, 0} {}
    constexpr TSize(LONG cx_, LONG cy_) : SIZE{cx_, cy_} {}
    constexpr TSize(const SIZE& s) : SIZE(s) {}
    friend constexpr bool operator==(const TSize& a, const TSize& b) { return a.cx == b.cx && a.cy == b.cy; }
};

struct TRect : RECT {
    constexpr TRect() : RECT{0, 0, 0, 0} {}
    constexpr TRect(LONG l, LONG t, LONG r, LONG b) : RECT{l, t, r, b} {}
    constexpr TRect(const RECT& r) : RECT(r) {}
    constexpr TRect(const TPoint& topLeft, const TPoint& bottomRight)
        : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

    constexpr LONG Left() const { return left; }
    constexpr LONG Top() const { return top; }
    constexpr LONG Right() const { return right; }
    constexpr LONG Bottom() const { return bottom; }
    constexpr LONG Width() const { return right - left; }
    constexpr LONG Height() const { return bottom - top; }
    constexpr TPoint TopLeft() const { return {left, top}; }
    constexpr TPoint BottomRight() const { return {right, bottom}; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    // The right and bottom edges lie outside the rectangle.
    constexpr bool Contains(const TPoint& p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    constexpr void Offset(LONG dx, LONG dy) { left += dx; right += dx; top += dy; bottom += dy; }
    constexpr void Inflate(LONG dx, LONG dy) { left -= dx; right += dx; top -= dy; bottom += dy; }
    friend constexpr bool operator==(const TRect& a, const TRect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
};

inline constexpr TPoint Point(LONG x, LONG y) { return {x, y}; }
inline constexpr TRect Rect(LONG left, LONG top, LONG right, LONG bottom) { return {left, top, right, bottom}; }
// A rectangle from its top-left corner and its size.
inline constexpr TRect Bounds(LONG left, LONG top, LONG width, LONG height) {
    return {left, top, left + width, top + height};
}
// The common part of two rectangles, empty (all zero) when they do not meet.
inline constexpr TRect IntersectRectOf(const TRect& a, const TRect& b) {
    TRect r(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom));
    return r.IsEmpty() ? TRect() : r;
}

// A colour: 0x00BBGGRR, a system colour 0xFF0000nn, or clNone / clDefault. The named colour
// constants live with the canvas (Graphics.h).
using TColor = std::int32_t;
