#include "platform/vcl/richtext/MetafileConverter.h"
#include "platform/win/ByteOrder.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>

namespace richtext {

namespace {


constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableSize = 22;
constexpr std::size_t kMaxRecords = 1u << 20;

// The metafile player names its fonts by their PostScript names; they map onto the metric-
// compatible families the install script provides.
wmfMapping* PostScriptFonts() {
    static char serif[] = "LiberationSerif-Regular.ttf", serifI[] = "LiberationSerif-Italic.ttf",
                serifB[] = "LiberationSerif-Bold.ttf", serifBI[] = "LiberationSerif-BoldItalic.ttf",
                sans[] = "LiberationSans-Regular.ttf", sansI[] = "LiberationSans-Italic.ttf",
                sansB[] = "LiberationSans-Bold.ttf", sansBI[] = "LiberationSans-BoldItalic.ttf",
                mono[] = "LiberationMono-Regular.ttf", monoI[] = "LiberationMono-Italic.ttf",
                monoB[] = "LiberationMono-Bold.ttf", monoBI[] = "LiberationMono-BoldItalic.ttf",
                symbol[] = "DejaVuSans.ttf";
    static char n1[] = "Times-Roman", n2[] = "Times-Italic", n3[] = "Times-Bold",
                n4[] = "Times-BoldItalic", n5[] = "Helvetica", n6[] = "Helvetica-Oblique",
                n7[] = "Helvetica-Bold", n8[] = "Helvetica-BoldOblique", n9[] = "Courier",
                n10[] = "Courier-Oblique", n11[] = "Courier-Bold", n12[] = "Courier-BoldOblique",
                n13[] = "Symbol";
    static wmfMapping map[] = {
        {n1, serif, FT_ENCODING_NONE},  {n2, serifI, FT_ENCODING_NONE},
        {n3, serifB, FT_ENCODING_NONE}, {n4, serifBI, FT_ENCODING_NONE},
        {n5, sans, FT_ENCODING_NONE},   {n6, sansI, FT_ENCODING_NONE},
        {n7, sansB, FT_ENCODING_NONE},  {n8, sansBI, FT_ENCODING_NONE},
        {n9, mono, FT_ENCODING_NONE},   {n10, monoI, FT_ENCODING_NONE},
        {n11, monoB, FT_ENCODING_NONE}, {n12, monoBI, FT_ENCODING_NONE},
        {n13, symbol, FT_ENCODING_NONE}, {nullptr, nullptr, FT_ENCODING_NONE},
    };
    return map;
}

char** FontFolders() {
    static char liberation[] = "/usr/share/fonts/truetype/liberation2";
    static char dejavu[] = "/usr/share/fonts/truetype/dejavu";
    static char* folders[] = {liberation, dejavu, nullptr};
    return folders;
}

struct FreeDeleter {
    void operator()(char* p) const { std::free(p); }
};

}  // namespace

bool MetafileConverter::IsWellFormedEmf(std::string_view emf) {
    if (emf.size() < 88 || emf.size() > kMaxMetafileBytes) return false;
    if (Le32(emf, 0) != kEmrHeader || Le32(emf, 40) != kEmfSignature) return false;
    std::size_t at = 0, records = 0;
    while (at + 8 <= emf.size() && records++ < kMaxRecords) {
        const std::uint32_t type = Le32(emf, at);
        const std::uint32_t size = Le32(emf, at + 4);
        if (size < 8 || size % 4 != 0 || size > emf.size() - at) return false;
        if (type == kEmrEof) return true;
        at += size;
    }
    return false;
}

bool MetafileConverter::IsWellFormedWmf(std::string_view wmf) {
    if (wmf.size() > kMaxMetafileBytes) return false;
    std::size_t at = 0;
    if (wmf.size() >= 4 && Le32(wmf, 0) == kPlaceableKey) at = kPlaceableSize;
    if (wmf.size() < at + 18) return false;
    const std::uint16_t type = Le16(wmf, at);
    const std::uint16_t headerWords = Le16(wmf, at + 2);
    if ((type != 1 && type != 2) || headerWords != 9) return false;
    at += 18;
    std::size_t records = 0;
    while (at + 6 <= wmf.size() && records++ < kMaxRecords) {
        const std::uint64_t words = Le32(wmf, at);
        const std::uint16_t function = Le16(wmf, at + 4);
        if (words < 3 || words * 2 > wmf.size() - at) return false;
        if (function == 0) return true;  // META_EOF
        at += static_cast<std::size_t>(words * 2);
    }
    return false;
}

std::optional<std::string> MetafileConverter::EmfToSvg(std::string_view emf) {
    if (!IsWellFormedEmf(emf)) return std::nullopt;
    std::vector<char> contents(emf.begin(), emf.end());
    char ns[] = "";
    generatorOptions options{};
    options.nameSpace = ns;
    options.verbose = false;
    options.emfplus = true;
    options.svgDelimiter = true;
    char* out = nullptr;
    std::size_t outLength = 0;
    const int ok = emf2svg(contents.data(), contents.size(), &out, &outLength, &options);
    std::unique_ptr<char, FreeDeleter> owned(out);
    if (!ok || !out || outLength == 0) return std::nullopt;
    return std::string(out, outLength);
}

std::optional<std::string> MetafileConverter::WmfToSvg(std::string_view wmf) {
    if (!IsWellFormedWmf(wmf)) return std::nullopt;
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    options.fontdirs = FontFolders();
    options.font.ps = PostScriptFonts();
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR |
                                WMF_OPT_NO_DEBUG | WMF_OPT_FONTDIRS | WMF_OPT_FONTMAP;
    wmfAPI* api = nullptr;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api) wmf_api_destroy(api);
        return std::nullopt;
    }
    struct ApiCloser {
        wmfAPI* api;
        ~ApiCloser() { wmf_api_destroy(api); }
    } closer{api};

    std::vector<unsigned char> data(wmf.begin(), wmf.end());
    if (wmf_mem_open(api, data.data(), static_cast<long>(data.size())) != wmf_E_None)
        return std::nullopt;
    struct MemCloser {
        wmfAPI* api;
        ~MemCloser() { wmf_mem_close(api); }
    } memCloser{api};

    wmfD_Rect bbox{};
    if (wmf_scan(api, 0, &bbox) != wmf_E_None) return std::nullopt;
    unsigned int width = 0, height = 0;
    if (wmf_display_size(api, &width, &height, 96, 96) != wmf_E_None || width == 0 || height == 0)
        return std::nullopt;

    wmf_svg_t* ddata = WMF_SVG_GetData(api);
    ddata->out = wmf_stream_create(api, nullptr);
    if (!ddata->out) return std::nullopt;
    ddata->Description = nullptr;
    ddata->bbox = bbox;
    ddata->width = std::min(width, 4096u);
    ddata->height = std::min(height, 4096u);
    ddata->flags |= WMF_SVG_INLINE_IMAGES;

    const wmf_error_t played = wmf_play(api, 0, &bbox);
    char* buffer = nullptr;
    unsigned long length = 0;
    wmf_stream_destroy(api, ddata->out, &buffer, &length);
    ddata->out = nullptr;
    std::string svg = buffer && length ? std::string(buffer, length) : std::string();
    if (buffer) wmf_free(api, buffer);
    if (played != wmf_E_None || svg.empty()) return std::nullopt;
    return svg;
}

}  // namespace richtext
