// Writes a QTextDocument, or a range of it, as RTF: fonts, colours, character and paragraph
// formatting, tables, links (as HYPERLINK fields) and pictures (as PNG).
#pragma once

#include <string>

class QTextDocument;

namespace richtext {

class RtfWriter {
public:
    // from and to are document positions; to = -1 writes to the end.
    static std::string Write(const QTextDocument& document, int from = 0, int to = -1);
};

}  // namespace richtext
