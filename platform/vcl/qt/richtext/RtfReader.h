// Reads RTF into a QTextDocument at a cursor: character and paragraph formatting, tables,
// fields and links, Unicode and code-page text, pictures and object results.
//
// Hostile input is bounded: group nesting deeper than maxGroupDepth is dropped, numbers
// saturate, \bin takes at most what remains, tables have at most kMaxColumns columns and
// pictures decode only within RtfPictureDecoder's limits; an unreadable picture leaves a box
// of its size.
#pragma once

#include <string_view>
#include <vector>

#include "platform/win/WinTypes.h"

class QTextCursor;

namespace richtext {

struct RtfReadOptions {
    // The code page of 8-bit text when the RTF names none.
    UINT defaultCodePage = 1252;
    int maxGroupDepth = 200;
    // Metafile pictures go through outside converters; a caller may want boxes instead.
    bool decodeMetafiles = true;
};

struct RtfReadResult {
    bool ok = false;               // the input was RTF and was read
    bool unterminated = false;     // the input ended inside an open group
    bool depthExceeded = false;    // groups nested deeper than the limit were left out
    int pictures = 0;              // pictures placed, readable or not
    int unreadablePictures = 0;    // of those, shown as boxes
    // Document positions of the attachment marks (\objattph), in text order.
    std::vector<int> objectPlaceholders;
};

class RtfReader {
public:
    static constexpr int kMaxColumns = 63;

    // True when the text starts with an RTF signature ("{\rtf", any case, after blanks
    // only when allowLeadingBlanks).
    static bool LooksLikeRtf(std::string_view text, bool allowLeadingBlanks = false);

    // Reads the RTF at the cursor (its selection is replaced). Without an RTF signature
    // nothing is inserted and ok is false.
    static RtfReadResult Read(std::string_view rtf, QTextCursor& cursor,
                              const RtfReadOptions& options = {});
};

}  // namespace richtext
