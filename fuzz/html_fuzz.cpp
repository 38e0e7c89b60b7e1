// Lays out arbitrary bytes as a mail page (or a MIME message) with the HTML converter and plays
// the picture: nothing may crash, and the time budget must end any layout that runs long.
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <QGuiApplication>

#include "platform/outside/HtmlConverter.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/Metafile.h"
#include "platform/vcl/qt/GdiQt.h"
#include "platform/win/WinString.h"

// Font configuration keeps its caches until the process ends; only our own leaks count.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QGuiApplication* app = [] {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "fuzz_html";
        static char* argv[] = {name, nullptr};
        auto* a = new QGuiApplication(argc, argv);  // lives until exit
        InstallQtGdi();
        return a;
    }();
    (void)app;
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("fuzz_html_" + std::to_string(::getpid()) + ".html");
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    THtmlConverterLimits limits;
    limits.layoutBudget = std::chrono::milliseconds(2000);
    static const auto converter = CreateHtmlConverter(limits);
    HENHMETAFILE picture = nullptr;
    long dpiX = 0, dpiY = 0;
    if (SUCCEEDED(converter->ConvertToEMF(u"file:///" + Utf8ToUtf16(file.string()), u"", picture, 400, 0, dpiX, dpiY)) && picture) {
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateBitmap(64, 64, 1, 32, nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        const RECT r{0, 0, 64, 64};
        PlayEnhMetaFile(dc, picture, &r);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        DeleteEnhMetaFile(picture);
    }
    return 0;
}
