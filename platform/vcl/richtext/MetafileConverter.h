// Turns the metafile pictures of rich text into SVG that Qt can draw: enhanced metafiles through
// libemf2svg, Windows metafiles through libwmf. Both refuse input whose record structure does
// not hold together before a library sees it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace richtext {

class MetafileConverter {
public:
    // Largest metafile handed to a converter.
    static constexpr std::size_t kMaxMetafileBytes = 32u << 20;

    // SVG text of an enhanced metafile, or nothing when it cannot be converted.
    static std::optional<std::string> EmfToSvg(std::string_view emf);
    // SVG text of a Windows metafile (with or without the placeable header).
    static std::optional<std::string> WmfToSvg(std::string_view wmf);

    // Record walks used before conversion: every record lies inside the data, the first is a
    // header and the walk ends with an end-of-file record.
    static bool IsWellFormedEmf(std::string_view emf);
    static bool IsWellFormedWmf(std::string_view wmf);
};

}  // namespace richtext
