// A toolkit application for the drawing tests and an off-screen bitmap to draw on.
#pragma once

#include <cstdlib>

#include <QGuiApplication>

#include "platform/vcl/Gdi.h"
#include "platform/vcl/qt/GdiQt.h"

namespace gditest {

inline void EnsureApp() {
    if (!QGuiApplication::instance()) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "vcl_gdi_tests";
        static char* argv[] = {name, nullptr};
        static QGuiApplication* app = new QGuiApplication(argc, argv);  // lives until exit
        (void)app;
    }
    InstallQtGdi();
}

// A memory context with a 32-bit bitmap filled white.
class Surface {
public:
    Surface(int width, int height, int bitsPerPixel = 32) : width_(width), height_(height) {
        EnsureApp();
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateBitmap(width, height, 1, static_cast<UINT>(bitsPerPixel), nullptr);
        old_ = SelectObject(dc_, bitmap_);
        const RECT all{0, 0, width, height};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Surface() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    int width() const { return width_; }
    int height() const { return height_; }
    // The pixels that are not white, as rows of '#' and '.', for readable failures.
    std::string Picture(int x0, int y0, int x1, int y1) const {
        std::string s;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) s += At(x, y) == RGB(255, 255, 255) ? '.' : '#';
            s += '\n';
        }
        return s;
    }
    bool SameAs(const Surface& other) const {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (At(x, y) != other.At(x, y)) return false;
        return true;
    }
    int CountNot(COLORREF c) const {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) n += At(x, y) != c;
        return n;
    }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// Selects an object for the lifetime of the guard and deletes it afterwards.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ obj) : dc_(dc), obj_(obj), old_(SelectObject(dc, obj)) {}
    ~Selected() {
        SelectObject(dc_, old_);
        DeleteObject(obj_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ obj_, old_;
};

}  // namespace gditest

// Font configuration keeps its caches until the process ends; the leak checker is told.
extern "C" __attribute__((used)) inline const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
