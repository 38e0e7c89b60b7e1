// The design's font faces mapped to the families the install script provides, so that text
// measures and looks the same on every machine.
#include <algorithm>
#include <array>

#include "platform/vcl/GdiDevice.h"

namespace {

bool SameFace(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    return std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
        auto up = [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; };
        return up(x) == up(y);
    });
}

struct Substitute {
    const char16_t* face;
    const char16_t* family;
};

constexpr char16_t kSans[] = u"DejaVu Sans";
constexpr char16_t kArial[] = u"Liberation Sans";
constexpr char16_t kMono[] = u"Liberation Mono";
constexpr char16_t kSansMono[] = u"DejaVu Sans Mono";
constexpr char16_t kSerif[] = u"Liberation Serif";

constexpr std::array<Substitute, 27> kSubstitutes{{
    {u"MS Sans Serif", kSans},     {u"Microsoft Sans Serif", kSans}, {u"MS Shell Dlg", kSans},
    {u"MS Shell Dlg 2", kSans},    {u"Tahoma", kSans},               {u"Verdana", kSans},
    {u"Segoe UI", kSans},          {u"System", kSans},               {u"Small Fonts", kSans},
    {u"MS UI Gothic", kSans},      {u"Marlett", kSans},              {u"Wingdings", kSans},
    {u"Symbol", kSans},            {u"Arial", kArial},               {u"Helvetica", kArial},
    {u"Arial Unicode MS", kArial}, {u"Courier New", kMono},          {u"Courier", kMono},
    {u"Lucida Console", kSansMono}, {u"Consolas", kSansMono},        {u"Fixedsys", kSansMono},
    {u"Terminal", kSansMono},      {u"Times New Roman", kSerif},     {u"Times", kSerif},
    {u"Georgia", kSerif},          {u"MS Serif", kSerif},            {u"Calibri", kSans},
}};

}  // namespace

WideString SubstituteFontFamily(std::u16string_view face, BYTE pitchAndFamily) {
    for (const auto& s : kSubstitutes)
        if (SameFace(face, s.face)) return s.family;
    if (!face.empty()) return WideString(face);
    // No face: the family bits choose.
    if ((pitchAndFamily & 0xF0) == FF_ROMAN) return kSerif;
    if ((pitchAndFamily & 0xF0) == FF_MODERN || (pitchAndFamily & 0x03) == FIXED_PITCH) return kMono;
    return kSans;
}

bool IsSymbolFace(std::u16string_view face) { return SameFace(face, u"Marlett"); }

// The letters of the window-glyph font and the symbols they show.
WideString MapSymbolText(std::u16string_view text) {
    WideString out;
    for (char16_t c : text) {
        switch (c) {
            case u'0': out += u'\u2581'; break;  // minimise
            case u'1': out += u'\u25A1'; break;  // maximise
            case u'2': out += u'\u2750'; break;  // restore
            case u'3': out += u'\u25C0'; break;  // left
            case u'4': out += u'\u25B6'; break;  // right
            case u'5': out += u'\u25B2'; break;  // up
            case u'6': out += u'\u25BC'; break;  // down
            case u'7': out += u'\u25C2'; break;  // small left
            case u'8': out += u'\u25B8'; break;  // small right
            case u'a': out += u'\u2713'; break;  // check
            case u'h': out += u'\u2022'; break;  // bullet
            case u'i': out += u'\u00B7'; break;  // small bullet
            case u'n': out += u'\u25CF'; break;  // radio dot
            case u'o': out += u'\u25CB'; break;  // circle
            case u'r': out += u'\u2715'; break;  // close
            case u's': out += u'?'; break;       // help
            case u'u': out += u'\u25BC'; break;  // drop-down arrow
            case u't': out += u'\u25B4'; break;  // small up
            default: out += c; break;
        }
    }
    return out;
}
