// Renders one page of an RTF file to a PNG image, so a person can look at what the rich-text
// engine makes of it:  rtf_to_png FILE.rtf OUT.png [PAGE] [DPI]
// The page is US letter with 0.75-inch margins; PAGE counts from 1, DPI defaults to 120.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "platform/vcl/qt/richtext/RichTextQt.h"
#include "platform/vcl/richtext/RichTextDocument.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FILE.rtf OUT.png [PAGE] [DPI]\n", argv[0]);
        return 2;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    const int wanted = argc > 3 ? std::max(1, std::atoi(argv[3])) : 1;
    const int dpi = argc > 4 ? std::clamp(std::atoi(argv[4]), 24, 600) : 120;

    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    const std::string rtf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    richtext::RichTextDocument doc;
    if (!doc.LoadRtf(rtf)) {
        std::fprintf(stderr, "%s is not RTF\n", argv[1]);
        return 1;
    }

    constexpr LONG kPageW = 12240, kPageH = 15840, kMargin = 1080;  // twips
    QImage image(kPageW * dpi / 1440, kPageH * dpi / 1440, QImage::Format_RGB32);
    richtext::RichTextFormatRange range;
    range.rcPage = {0, 0, kPageW, kPageH};
    range.rc = {kMargin, kMargin, kPageW - kMargin, kPageH - kMargin};
    doc.SetSel(0, -1);
    range.chrg = doc.GetSel();
    int page = 0;
    while (true) {
        ++page;
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        richtext::RichTextCanvas canvas(painter, dpi, dpi);
        range.canvas = &canvas;
        const LONG next = doc.FormatRange(&range, page == wanted);
        painter.end();
        const bool last = next <= range.chrg.cpMin || next >= range.chrg.cpMax - 1;
        if (page == wanted || last) {
            if (page != wanted) {
                std::fprintf(stderr, "the document has %d page(s)\n", page);
                return 1;
            }
            if (!image.save(argv[2], "PNG")) {
                std::fprintf(stderr, "cannot write %s\n", argv[2]);
                return 1;
            }
            std::printf("page %d of %s%d written to %s\n", page, last ? "" : "at least ", page, argv[2]);
            return 0;
        }
        range.chrg.cpMin = next;
    }
}
