// Saving an attachment from the attachment list: the file written holds the attachment's
// bytes, exactly.
#include "tests/e2e/Journey.h"

#include <QByteArray>
#include <thread>

namespace fs = std::filesystem;

namespace e2e {
namespace {

// The bytes of an attachment of a MIME file (base64), found by its file name.
std::string MimeAttachment(const fs::path& eml, const std::string& name) {
    std::string text;
    for (const char c : testsupport::ReadFileBytes(eml))
        if (c != '\r') text += c;
    std::size_t at = text.find("filename=\"" + name + "\"");
    if (at == std::string::npos) return {};
    at = text.find("\n\n", at);
    const std::size_t end = text.find("\n--", at);
    if (at == std::string::npos || end == std::string::npos) return {};
    const QByteArray bytes = QByteArray::fromBase64(QByteArray::fromStdString(text.substr(at + 2, end - at - 2)));
    return bytes.toStdString();
}

using AttachmentJourney = Journey;

TEST_F(AttachmentJourney, AnAttachmentSavedFromTheListHoldsItsBytes) {
    CopyMail({"msg/msgconvert-pairs/plain_jpeg_attached.msg"});
    const std::string expected =
        MimeAttachment(testsupport::CorpusDir() / "msg/msgconvert-pairs/plain_jpeg_attached.eml", "test.jpg");
    ASSERT_GT(expected.size(), 1000u) << "the picture is not in the message's MIME twin";
    const fs::path out = home_ / "out";
    fs::create_directories(out);
    Program& program = Start({"+DIR", Mail().string()});
    ASSERT_TRUE(program.WaitUntil(ListHas(1), 90s)) << "the main window does not list the folder's message";
    SelectMessage(0, "test");
    const auto attachments = program.WaitFor("Form1.AttachmentList", 20s);
    ASSERT_TRUE(attachments && DetailNumber(attachments, "items") == 1)
        << "the attachment list does not show the message's one attachment: " << (attachments ? attachments->detail : "no list");
    EXPECT_NE(attachments->detail.find("test.jpg"), std::string::npos) << "the attachment list does not name test.jpg: " << attachments->detail;

    // A double click on it asks what to do; "save" and OK bring the save dialog.
    desktop_->DoubleClick(attachments->x + 30, attachments->y + 10);
    ASSERT_TRUE(program.WaitFor("OpenAttachmentDlg.rbSave", 20s)) << "a double click on the attachment does not ask what to do with it";
    ClickOn("OpenAttachmentDlg.rbSave", "the attachment window has no Save choice");
    ClickOn("OpenAttachmentDlg.bbOk", "the attachment window has no OK button");
    const std::string dialog = desktop_->Tool({"xdotool", "search", "--sync", "--onlyvisible", "--name", "[Ss]ave"});
    ASSERT_FALSE(dialog.empty()) << "choosing to save the attachment opens no save dialog";
    std::this_thread::sleep_for(500ms);
    desktop_->Key("ctrl+a");
    desktop_->Type((out / "picture.jpg").string());
    desktop_->Key("Return");
    const fs::path saved = out / "picture.jpg";
    for (int i = 0; i < 100 && (!fs::exists(saved) || fs::file_size(saved) < expected.size()); ++i)
        std::this_thread::sleep_for(100ms);
    ASSERT_TRUE(fs::exists(saved)) << "Return in the save dialog writes no file";
    const std::string bytes = testsupport::ReadFileBytes(saved);
    EXPECT_EQ(bytes.size(), expected.size()) << "the saved attachment is not as long as the attachment";
    EXPECT_TRUE(bytes == expected) << "the saved attachment's bytes differ from the attachment's";
}

}  // namespace
}  // namespace e2e
