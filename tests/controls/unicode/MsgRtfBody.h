// The .msg side of the picture tests. The message classes and the class library both have a
// class named TMessage, so the two meet only through this small interface.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace richtext {
class RichTextDocument;
}

struct HWND__;
using HWND = HWND__*;

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

// One attachment of a .msg fixture: its data, its rendering (empty for none), and whether it
// is an OLE object (method 6).
struct MsgFixtureAttachment {
    std::string data;
    std::string rendering;
    bool ole = false;
};

// Writes a .msg file with the RTF body and the attachments into folder and shows it through
// the message display, in a view whose body control is reached by show: show puts the text
// into the control and returns the control's window. Returns the names of the listed
// attachments, one a line.
std::string DisplayRtfMsg(const std::string& folder, const std::string& rtf,
                          const std::vector<MsgFixtureAttachment>& attachments,
                          const std::function<HWND(const std::u16string& text)>& show);
