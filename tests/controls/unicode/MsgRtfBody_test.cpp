// The .msg side of the rich edit's picture tests (see MsgRtfBody.h); it holds no tests itself.
#include "tests/controls/unicode/MsgRtfBody.h"

#include "message/MessageMSG.h"
#include "message/ViewEmpty.h"
#include "platform/win/WinString.h"
#include "tests/message/MsgTreeBuilder.h"

struct MsgRtfBody::Impl {
    MessageMSG message;
};

MsgRtfBody::MsgRtfBody(std::string rtf) : impl_(std::make_unique<Impl>()), rtf_(std::move(rtf)) {
    pictures_ = impl_->message.ExtractRtfObjects(rtf_);
}

MsgRtfBody::~MsgRtfBody() = default;

void MsgRtfBody::Place(richtext::RichTextDocument& document) { impl_->message.ReplaceRichEditPlaceholders(document); }

namespace {

class ControlView : public ViewEmpty {
public:
    explicit ControlView(const std::function<HWND(const std::u16string&)>& show) : show_(show) {}
    void ViewRTFString(TMessageAttr&, const WideString& text, HWND* richEdit) override {
        const HWND window = show_(text);
        if (richEdit) *richEdit = window;
    }

private:
    const std::function<HWND(const std::u16string&)>& show_;
};

}  // namespace

std::string DisplayRtfMsg(const std::string& folder, const std::string& rtf,
                          const std::vector<MsgFixtureAttachment>& attachments,
                          const std::function<HWND(const std::u16string& text)>& show) {
    using namespace msgtree;
    TMSGFile file;
    TMSGProperties& root = file.GetProperties();
    Bytes(root, 0x001A001E, "IPM.Note");
    Fixed(root);
    Bytes(root, 0x10090102, rtf + '\0');
    for (const MsgFixtureAttachment& a : attachments) {
        TMSGProperties& node = Node(root, 0x37000000);
        Int(Fixed(node), 0x37050003, a.ole ? 6 : 1);
        Bytes(node, 0x37010102, a.data);
        if (!a.rendering.empty()) Bytes(node, 0x37090102, a.rendering);
    }
    const std::string path = folder + "/rtf.msg";
    EXPECT_EQ(SaveToMsgFile(file, Utf8ToUtf16(path), true), S_OK);
    MessageMSG message;
    EXPECT_TRUE(message.LoadFromFile(Utf8ToUtf16(path), false));
    ControlView view(show);
    message.Display(view, false);
    std::string names;
    for (const AttachmentItem& item : message.attachments) names += Utf16ToUtf8(item.name) + "\n";
    return names;
}
