// What the output tests look for in a written picture or PDF: the header's and the body's ink,
// the body below the header, and text a person can still read; with the three messages that
// used to defeat them (a plain body, one 600-character word, a 40-cell table with a border).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/vcl/GraphicsImages.h"
#include "tests/support/TestSupport.h"

namespace outputchecks {

inline std::string Headers(const std::string& subject, const std::string& type)
{
    return "From: Ann Example <ann@example.com>\r\nTo: Bob <bob@example.com>\r\nSubject: " + subject +
           "\r\nDate: Tue, 15 Nov 2022 08:12:31 +0000\r\nMIME-Version: 1.0\r\nContent-Type: " + type + "\r\n\r\n";
}

inline std::string LongWord()
{
    std::string word;
    for (int i = 0; i < 60; ++i) word += "abcdefghij";
    return word;
}

inline std::string PlainMessage()
{
    return Headers("Plain body", "text/plain; charset=utf-8") + "Hello Bob,\r\nall is well here.\r\n";
}

inline std::string LongWordMessage()
{
    return Headers("Long word", "text/plain; charset=utf-8") + "Start of the body.\r\n" + LongWord() +
           "\r\nEnd of the body.\r\n";
}

inline std::string TableMessage()
{
    std::string cells;
    for (int i = 0; i < 40; ++i) cells += "<td bgcolor=\"#ffe0a0\">cell " + std::to_string(i) + "</td>";
    return Headers("Grid body", "text/html; charset=utf-8") +
           "<html><body><p>Table below:</p><table border=1><tr>" + cells + "</tr></table><p>After it.</p></body></html>\r\n";
}

struct Kind {
    const char* name;
    std::string (*text)();
    const char* firstBodyWord;
};
inline const Kind kMessages[] = {
    {"plain", PlainMessage, "Hello"}, {"longword", LongWordMessage, "Start"}, {"table", TableMessage, "Table"}};

// ---- pictures

// A picture's pixels as rows of ink: a dark pixel is one whose three channels average below 128.
class Picture {
public:
    explicit Picture(const std::filesystem::path& file)
    {
        std::string ext = file.extension().string();
        for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::unique_ptr<TRasterImage> image;
        if (ext == ".bmp") {
            TBitmap bitmap;
            bitmap.LoadFromFile(file.string());
            image = std::make_unique<TPngImage>();
            image->Assign(&bitmap);
        } else {
            image = ext == ".png" ? std::unique_ptr<TRasterImage>(std::make_unique<TPngImage>())
                                  : std::unique_ptr<TRasterImage>(std::make_unique<TJPEGImage>());
            image->LoadFromFile(file.string());
        }
        width = image->Width();
        height = image->Height();
        pixels = image->Pixels();
        for (int y = 0; y < height; ++y) {
            int dark = 0;
            for (int x = 0; x < width; ++x) dark += Dark(At(x, y)) ? 1 : 0;
            darkInRow.push_back(dark);
        }
        // Lines of text: runs of rows with ink.
        for (int y = 0, start = -1; y <= height; ++y) {
            const bool ink = y < height && darkInRow[static_cast<size_t>(y)] > 0;
            if (ink && start < 0) start = y;
            if (!ink && start >= 0) {
                lines.push_back({start, y});
                start = -1;
            }
        }
        // The header ends at the widest gap between lines: the page's margins lie between it and the body.
        size_t split = lines.size();
        int widest = 0;
        for (size_t i = 1; i < lines.size(); ++i)
            if (lines[i].first - lines[i - 1].second > widest) {
                widest = lines[i].first - lines[i - 1].second;
                split = i;
            }
        header.assign(lines.begin(), lines.begin() + static_cast<long>(split));
        body.assign(lines.begin() + static_cast<long>(split), lines.end());
    }

    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
    static bool Dark(std::uint32_t p) { return ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) < 3 * 128; }

    long Ink(const std::vector<std::pair<int, int>>& part) const
    {
        long ink = 0;
        for (const auto& [top, bottom] : part)
            for (int y = top; y < bottom; ++y) ink += darkInRow[static_cast<size_t>(y)];
        return ink;
    }
    // The tallest line of the part: about the height of its letters.
    static int TextHeight(const std::vector<std::pair<int, int>>& part)
    {
        int tallest = 0;
        for (const auto& [top, bottom] : part) tallest = std::max(tallest, bottom - top);
        return tallest;
    }
    // Colours in the body's rows, and whether one of them is near rgb.
    std::set<std::uint32_t> BodyColours() const
    {
        std::set<std::uint32_t> colours;
        if (body.empty()) return colours;
        for (int y = body.front().first; y < body.back().second; ++y)
            for (int x = 0; x < width; ++x) colours.insert(At(x, y) & 0xFFFFFF);
        return colours;
    }
    bool BodyHasColourNear(std::uint32_t rgb) const
    {
        const auto near = [&](std::uint32_t c) {
            for (int shift : {0, 8, 16})
                if (std::abs(static_cast<int>(c >> shift & 0xFF) - static_cast<int>(rgb >> shift & 0xFF)) > 12) return false;
            return true;
        };
        const std::set<std::uint32_t> colours = BodyColours();
        return std::any_of(colours.begin(), colours.end(), near);
    }
    // The rightmost column with ink in the body.
    int BodyRight() const
    {
        int right = 0;
        if (body.empty()) return right;
        for (int y = body.front().first; y < body.back().second; ++y)
            for (int x = width - 1; x > right; --x)
                if (Dark(At(x, y))) right = x;
        return right;
    }

    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::vector<int> darkInRow;
    std::vector<std::pair<int, int>> lines, header, body;
};

// The header and the body both show, the body below the header, at a size a person reads.
inline void ExpectReadablePicture(const std::filesystem::path& file, const Kind& kind)
{
    SCOPED_TRACE(file.string());
    ASSERT_TRUE(std::filesystem::exists(file));
    const Picture p(file);
    // Twice the screen's resolution: an 800-pixel page with its margins, doubled.
    EXPECT_GE(p.width, 1400);
    EXPECT_LE(p.width, 2000);
    ASSERT_GE(p.header.size(), 4u) << "From, To, date, subject";
    ASSERT_FALSE(p.body.empty());
    EXPECT_GT(p.Ink(p.header), 2000);
    EXPECT_GT(p.Ink(p.body), 500);
    const int headerText = Picture::TextHeight(p.header), bodyText = Picture::TextHeight(p.body);
    EXPECT_GE(bodyText * 2, headerText) << "body text no less than half the header's";
    const std::string name = kind.name;
    if (name == "longword") {
        // 600 letters wrap into lines of the page's width at the normal size.
        EXPECT_GE(p.body.size(), 8u);
        EXPECT_GE(bodyText * 5, headerText * 4);
    }
    if (name == "table") {
        EXPECT_GT(p.BodyColours().size(), 20u) << "text, grid and cell backgrounds";
        EXPECT_TRUE(p.BodyHasColourNear(0xFFE0A0)) << "the cells' background";
        EXPECT_GT(p.BodyRight(), p.width * 3 / 5) << "the table spans the page, none of it cut";
    }
}

// ---- PDF documents

// The header's lines (From: to Attachments:) come first; the body's first word lies below the
// last of them, in letters close to the header's size; the body's text is all there.
inline void ExpectReadablePdf(const std::filesystem::path& file, const Kind& kind)
{
    SCOPED_TRACE(file.string());
    const std::vector<testsupport::PdfWord> words = testsupport::PdfWords(file);
    const auto find = [&](const std::string& text) {
        return std::find_if(words.begin(), words.end(), [&](const testsupport::PdfWord& w) { return w.text == text; });
    };
    const auto from = find("From:"), last = find("Attachments:"), first = find(kind.firstBodyWord);
    ASSERT_NE(from, words.end());
    ASSERT_NE(last, words.end());
    ASSERT_NE(first, words.end()) << kind.firstBodyWord;
    EXPECT_EQ(first->page, last->page);
    EXPECT_GT(first->top, last->bottom) << "the body starts below the header's last line";
    const double ratio = kind.name == std::string("table") ? 0.5 : 0.8;
    EXPECT_GE(first->Height(), ratio * from->Height()) << first->Height() << " against " << from->Height();
    EXPECT_LE(first->Height(), 1.5 * from->Height());
    const std::string name = kind.name;
    if (name == "longword") {
        std::string letters;
        for (const auto& w : words)
            if (!w.text.empty() && w.text.find_first_not_of("abcdefghij") == std::string::npos) {
                letters += w.text;
                EXPECT_GE(w.Height(), 0.8 * from->Height());
            }
        EXPECT_EQ(letters, LongWord());
    }
    if (name == "table") {
        int cells = 0;
        std::set<std::string> numbers;
        for (const auto& w : words) {
            if (w.text == "cell") ++cells;
            if (!w.text.empty() && w.text.find_first_not_of("0123456789") == std::string::npos) numbers.insert(w.text);
        }
        EXPECT_EQ(cells, 40);
        for (int i = 0; i < 40; ++i) EXPECT_TRUE(numbers.count(std::to_string(i))) << i;
    }
}

}  // namespace outputchecks
