#include "platform/outside/HtmlPainter.h"

#include <algorithm>
#include <cctype>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/mime/MimeEncoding.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/GraphicsImages.h"
#include "platform/vcl/Streams.h"
#include "platform/win/WinString.h"

struct HtmlPainter::Font {
    HFONT handle = nullptr;
    ~Font() {
        if (handle) DeleteObject(handle);
    }
};

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

COLORREF ColorOf(const litehtml::web_color& c) { return RGB(c.red, c.green, c.blue); }

// The first family of a CSS font list, unquoted.

WideString FirstFamily(const char* list) {
    std::string s = list ? list : "";
    const std::size_t comma = s.find(',');
    if (comma != std::string::npos) s.resize(comma);
    const auto notSpace = [](unsigned char c) { return !std::isspace(c) && c != '"' && c != '\''; };
    s.erase(s.begin(), std::find_if(s.begin(), s.end(), notSpace));
    s.erase(std::find_if(s.rbegin(), s.rend(), notSpace).base(), s.end());
    const std::string generic = Lower(s);
    if (generic.empty() || generic == "sans-serif" || generic == "system-ui") return u"Arial";
    if (generic == "serif") return u"Times New Roman";
    if (generic == "monospace") return u"Courier New";
    return Utf8ToUtf16(s);
}

// A picture from bytes, by what the bytes say they are; null when none of ours reads them.
std::unique_ptr<TGraphic> DecodePicture(const std::string& bytes) {
    std::unique_ptr<TGraphic> picture;
    if (bytes.rfind("\x89PNG", 0) == 0) picture = std::make_unique<TPngImage>();
    else if (bytes.rfind("\xFF\xD8", 0) == 0) picture = std::make_unique<TJPEGImage>();
    else if (bytes.rfind("GIF8", 0) == 0) picture = std::make_unique<TGIFImage>();
    else if (bytes.rfind("BM", 0) == 0) picture = std::make_unique<TBitmap>();
    else return nullptr;
    try {
        TMemoryStream stream;
        stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        stream.Seek(0, TSeekOrigin::soBeginning);
        picture->LoadFromStream(stream);
    } catch (const std::exception&) {
        return nullptr;
    }
    if (picture->Empty()) return nullptr;
    return picture;
}

std::string PercentDecoded(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

}  // namespace

HtmlPainter::HtmlPainter(HDC dc, const THtmlSource& source, int width, std::chrono::steady_clock::time_point deadline)
    : dc_(dc), source_(source), width_(width), deadline_(deadline) {
    SetBkMode(dc_, TRANSPARENT);
}

HtmlPainter::~HtmlPainter() {
    while (clipDepth_ > 0) del_clip();
}

void HtmlPainter::CheckBudget() const {
    if (std::chrono::steady_clock::now() > deadline_) throw HtmlLayoutBudgetExceeded();
}

litehtml::uint_ptr HtmlPainter::create_font(const litehtml::tchar_t* faceName, int size, int weight, litehtml::font_style italic,
                                            unsigned int decoration, litehtml::font_metrics* fm) {
    CheckBudget();
    LOGFONTW lf;
    lf.lfHeight = -std::max(size, 1);
    lf.lfWeight = weight;
    lf.lfItalic = italic == litehtml::fontStyleItalic;
    lf.lfUnderline = (decoration & litehtml::font_decoration_underline) != 0;
    lf.lfStrikeOut = (decoration & litehtml::font_decoration_linethrough) != 0;
    const WideString face = FirstFamily(faceName);
    std::copy_n(face.begin(), std::min<std::size_t>(face.size(), LF_FACESIZE - 1), lf.lfFaceName);
    auto font = std::make_unique<Font>();
    font->handle = CreateFontIndirectW(&lf);
    if (!font->handle) return 0;
    if (fm) {
        const HGDIOBJ old = SelectObject(dc_, font->handle);
        TEXTMETRICW tm{};
        GetTextMetricsW(dc_, &tm);
        SIZE x{};
        GetTextExtentPoint32W(dc_, u"x", 1, &x);
        SelectObject(dc_, old);
        fm->ascent = tm.tmAscent;
        fm->descent = tm.tmDescent;
        fm->height = tm.tmHeight;
        fm->x_height = std::max<int>(1, tm.tmAscent / 2);
        fm->draw_spaces = lf.lfUnderline || lf.lfStrikeOut;
    }
    return reinterpret_cast<litehtml::uint_ptr>(font.release());
}

void HtmlPainter::delete_font(litehtml::uint_ptr font) { delete reinterpret_cast<Font*>(font); }

int HtmlPainter::text_width(const litehtml::tchar_t* text, litehtml::uint_ptr font) {
    CheckBudget();
    const auto* f = reinterpret_cast<Font*>(font);
    if (!f || !text) return 0;
    const WideString wide = Utf8ToUtf16(text);
    const HGDIOBJ old = SelectObject(dc_, f->handle);
    SIZE size{};
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc_, old);
    return size.cx;
}

void HtmlPainter::draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr font, litehtml::web_color color,
                            const litehtml::position& pos) {
    CheckBudget();
    const auto* f = reinterpret_cast<Font*>(font);
    if (!f || !text || color.alpha == 0) return;
    HDC dc = DcOf(hdc);
    const WideString wide = Utf8ToUtf16(text);
    const HGDIOBJ old = SelectObject(dc, f->handle);
    SetTextColor(dc, ColorOf(color));
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, pos.x, pos.y, wide.c_str(), static_cast<int>(wide.size()));
    SelectObject(dc, old);
}

int HtmlPainter::pt_to_px(int pt) const { return MulDiv(pt, 96, 72); }
int HtmlPainter::get_default_font_size() const { return 16; }
const litehtml::tchar_t* HtmlPainter::get_default_font_name() const { return "Arial"; }

void HtmlPainter::FillBox(HDC dc, int x, int y, int w, int h, const litehtml::web_color& color) {
    if (w <= 0 || h <= 0 || color.alpha == 0) return;
    HBRUSH brush = CreateSolidBrush(ColorOf(color));
    const RECT r{x, y, x + w, y + h};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void HtmlPainter::DrawPicture(HDC dc, TGraphic& picture, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return;
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.StretchDraw(TRect(x, y, x + w, y + h), &picture);
    canvas.SetHandle(nullptr);
}

void HtmlPainter::draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) {
    CheckBudget();
    HDC dc = DcOf(hdc);
    if (!marker.image.empty()) {
        if (TGraphic* p = Picture(marker.image)) DrawPicture(dc, *p, marker.pos.x, marker.pos.y, marker.pos.width, marker.pos.height);
        return;
    }
    const litehtml::position& p = marker.pos;
    switch (marker.marker_type) {
    case litehtml::list_style_type_square: FillBox(dc, p.x, p.y, p.width, p.height, marker.color); break;
    case litehtml::list_style_type_circle:
    case litehtml::list_style_type_disc: {
        HPEN pen = CreatePen(PS_SOLID, 1, ColorOf(marker.color));
        HBRUSH brush = marker.marker_type == litehtml::list_style_type_disc ? CreateSolidBrush(ColorOf(marker.color))
                                                                           : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        const HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, brush);
        Ellipse(dc, p.x, p.y, p.x + p.width, p.y + p.height);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(pen);
        if (marker.marker_type == litehtml::list_style_type_disc) DeleteObject(brush);
        break;
    }
    default: break;  // numbered markers come as text from the layout
    }
}

TGraphic* HtmlPainter::Picture(const std::string& src) {
    const auto found = pictures_.find(src);
    if (found != pictures_.end()) return found->second.get();
    std::unique_ptr<TGraphic> picture;
    const std::string lower = Lower(src);
    if (lower.rfind("cid:", 0) == 0) {
        const auto part = source_.parts.find(Lower(PercentDecoded(src.substr(4))));
        if (part != source_.parts.end()) picture = DecodePicture(part->second);
    } else if (lower.rfind("data:", 0) == 0) {
        const std::size_t comma = src.find(',');
        if (comma != std::string::npos && lower.substr(0, comma).find(";base64") != std::string::npos)
            picture = DecodePicture(DecodeBase64Bytes(std::string_view(src).substr(comma + 1)));
    } else if (lower.find("://") != std::string::npos && lower.rfind("file://", 0) != 0) {
        refused_.push_back(src);  // remote: never fetched
    } else if (const auto part = source_.parts.find(lower); part != source_.parts.end()) {
        picture = DecodePicture(part->second);
    } else if (!source_.baseFolder.empty()) {
        // A local file, only below the page's own folder.
        std::string rel = PercentDecoded(lower.rfind("file://", 0) == 0 ? src.substr(7) : src);
        namespace fs = std::filesystem;
        std::error_code ec;
        const fs::path base = fs::weakly_canonical(source_.baseFolder, ec);
        const fs::path file = fs::weakly_canonical(rel.rfind('/', 0) == 0 ? fs::path(rel) : base / rel, ec);
        const std::string b = base.string(), f = file.string();
        if (!ec && f.size() > b.size() && f.compare(0, b.size(), b) == 0 && f[b.size()] == '/') {
            std::ifstream in(f, std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            if (in) picture = DecodePicture(bytes.str());
        }
    }
    TGraphic* result = picture.get();
    pictures_[src] = std::move(picture);
    return result;
}

void HtmlPainter::load_image(const litehtml::tchar_t* src, const litehtml::tchar_t*, bool) {
    CheckBudget();
    if (src) Picture(src);
}

void HtmlPainter::get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t*, litehtml::size& sz) {
    TGraphic* p = src ? Picture(src) : nullptr;
    sz.width = p ? p->Width() : 0;
    sz.height = p ? p->Height() : 0;
}

void HtmlPainter::draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) {
    CheckBudget();
    HDC dc = DcOf(hdc);
    litehtml::position c = bg.clip_box;
    if (docHeight_ > 0) {
        const int right = std::min(c.x + c.width, std::max(docWidth_, width_)), bottom = std::min(c.y + c.height, docHeight_);
        c.width = std::max(0, right - c.x);
        c.height = std::max(0, bottom - c.y);
    }
    FillBox(dc, c.x, c.y, c.width, c.height, bg.color);
    if (bg.image.empty()) return;
    TGraphic* p = Picture(bg.image);
    if (!p || bg.image_size.width <= 0 || bg.image_size.height <= 0) return;
    SaveDC(dc);
    IntersectClipRect(dc, c.x, c.y, c.x + c.width, c.y + c.height);
    const int w = bg.image_size.width, h = bg.image_size.height;
    int x0 = bg.position_x, y0 = bg.position_y;
    const bool repeatX = bg.repeat == litehtml::background_repeat_repeat || bg.repeat == litehtml::background_repeat_repeat_x;
    const bool repeatY = bg.repeat == litehtml::background_repeat_repeat || bg.repeat == litehtml::background_repeat_repeat_y;
    if (repeatX) x0 -= ((x0 - c.x) / w + 1) * w;
    if (repeatY) y0 -= ((y0 - c.y) / h + 1) * h;
    for (int y = y0; y < c.y + c.height; y += h) {
        for (int x = x0; x < c.x + c.width; x += w) {
            CheckBudget();
            DrawPicture(dc, *p, x, y, w, h);
            if (!repeatX) break;
        }
        if (!repeatY) break;
    }
    RestoreDC(dc, -1);
}

void HtmlPainter::draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& b, const litehtml::position& pos, bool) {
    CheckBudget();
    HDC dc = DcOf(hdc);
    const auto visible = [](const litehtml::border& side) {
        return side.width > 0 && side.style != litehtml::border_style_none && side.style != litehtml::border_style_hidden;
    };
    if (visible(b.top)) FillBox(dc, pos.x, pos.y, pos.width, b.top.width, b.top.color);
    if (visible(b.bottom)) FillBox(dc, pos.x, pos.y + pos.height - b.bottom.width, pos.width, b.bottom.width, b.bottom.color);
    if (visible(b.left)) FillBox(dc, pos.x, pos.y, b.left.width, pos.height, b.left.color);
    if (visible(b.right)) FillBox(dc, pos.x + pos.width - b.right.width, pos.y, b.right.width, pos.height, b.right.color);
}

void HtmlPainter::transform_text(litehtml::tstring& text, litehtml::text_transform tt) {
    if (tt == litehtml::text_transform_none) return;
    WideString wide = Utf8ToUtf16(text);
    bool wordStart = true;
    for (char16_t& c : wide) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const auto w = static_cast<wint_t>(c);
        if (tt == litehtml::text_transform_uppercase || (tt == litehtml::text_transform_capitalize && wordStart))
            c = static_cast<char16_t>(std::towupper(w));
        else if (tt == litehtml::text_transform_lowercase)
            c = static_cast<char16_t>(std::towlower(w));
        wordStart = std::iswspace(w) != 0;
    }
    text = Utf16ToUtf8(wide);
}

void HtmlPainter::import_css(litehtml::tstring& text, const litehtml::tstring&, litehtml::tstring&) {
    text.clear();  // imported sheets live elsewhere: nothing is fetched
}

void HtmlPainter::set_clip(const litehtml::position& pos, const litehtml::border_radiuses&, bool validX, bool validY) {
    SaveDC(dc_);
    ++clipDepth_;
    const int left = validX ? pos.x : -0x3FFFFFFF, right = validX ? pos.x + pos.width : 0x3FFFFFFF;
    const int top = validY ? pos.y : -0x3FFFFFFF, bottom = validY ? pos.y + pos.height : 0x3FFFFFFF;
    IntersectClipRect(dc_, left, top, right, bottom);
}

void HtmlPainter::del_clip() {
    if (clipDepth_ == 0) return;
    --clipDepth_;
    RestoreDC(dc_, -1);
}

void HtmlPainter::get_client_rect(litehtml::position& client) const {
    client.x = 0;
    client.y = 0;
    client.width = width_;
    client.height = 0x3FFFFFF;
}

void HtmlPainter::get_media_features(litehtml::media_features& media) const {
    media.type = litehtml::media_type_screen;
    media.width = width_;
    media.height = 1000;
    media.device_width = width_;
    media.device_height = 1000;
    media.color = 8;
    media.color_index = 256;
    media.monochrome = 0;
    media.resolution = 96;
}

void HtmlPainter::get_language(litehtml::tstring& language, litehtml::tstring& culture) const {
    language = "en";
    culture.clear();
}

namespace {

bool WrapsAlone(char32_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x3FFFF);
}

}  // namespace

void HtmlPainter::split_text(const char* text, const std::function<void(const litehtml::tchar_t*)>& onWord,
                             const std::function<void(const litehtml::tchar_t*)>& onSpace) {
    std::string word;
    int units = 0;  // characters in word
    const auto flush = [&] {
        if (units > kLongWord) {
            // Pieces laid side by side read as the word, and a line may end between them.
            std::size_t start = 0;
            for (int n = 0; n < units; n += kLongWordPiece) {
                std::size_t end = start;
                for (int k = 0; k < kLongWordPiece && end < word.size(); ++k)
                    do ++end; while (end < word.size() && (static_cast<unsigned char>(word[end]) & 0xC0) == 0x80);
                onWord(word.substr(start, end - start).c_str());
                start = end;
            }
        } else if (!word.empty()) {
            onWord(word.c_str());
        }
        word.clear();
        units = 0;
    };
    for (const char* p = text; *p;) {
        const auto lead = static_cast<unsigned char>(*p);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 1;
        std::string unit(p, 1);
        char32_t code = lead;
        for (int k = 1; k < length && p[k]; ++k) unit += p[k];
        if (length > 1 && static_cast<int>(unit.size()) == length) {
            code = lead & (0x7F >> length);
            for (int k = 1; k < length; ++k) code = (code << 6) | (static_cast<unsigned char>(unit[k]) & 0x3F);
        }
        p += unit.size();
        if (code == ' ' || code == '\t' || code == '\n' || code == '\r' || code == '\f') {
            flush();
            onSpace(unit.c_str());
        } else if (WrapsAlone(code)) {
            flush();
            onWord(unit.c_str());
        } else {
            word += unit;
            ++units;
        }
    }
    flush();
}
