// The .msg side of the picture test. The message classes and the class library both have a
// class named TMessage, so the two meet only through this small interface.
#pragma once

#include <memory>
#include <string>

namespace richtext {
class RichTextDocument;
}

class MsgRtfBody {
public:
    // Cuts the pictures out of the RTF body of a message, as the message display does.
    explicit MsgRtfBody(std::string rtf);
    ~MsgRtfBody();
    MsgRtfBody(const MsgRtfBody&) = delete;
    MsgRtfBody& operator=(const MsgRtfBody&) = delete;

    const std::string& Rtf() const { return rtf_; }
    int Pictures() const { return pictures_; }
    // Places the pictures into the document the RTF was loaded into.
    void Place(richtext::RichTextDocument& document);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string rtf_;
    int pictures_ = 0;
};
