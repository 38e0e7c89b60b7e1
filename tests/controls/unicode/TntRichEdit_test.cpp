// The Unicode rich edit without a display: RTF detection, CR LF text and positions, equal
// text, Enter without WantReturns, the wide lines, and a picture of a .msg RTF body placed
// into the control's document.
#include <gtest/gtest.h>

#include "controls/unicode/TntRichEdit.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinString.h"
#include "tests/controls/unicode/MsgRtfBody.h"
#include "tests/support/TestSupport.h"

namespace {

class TProbeRichEdit : public TTntRichEdit {
public:
    using TTntRichEdit::TTntRichEdit;
    WORD Press(WORD key, TShiftState shift) {
        KeyDown(key, shift);
        return key;
    }
};

class TntRichEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        edit_ = new TProbeRichEdit(form_.get());
        edit_->SetParent(form_.get());
        edit_->SetBounds(0, 0, 300, 200);
        edit_->OnChange = [this](TObject*) { ++changes_; };
    }
    std::unique_ptr<TForm> form_;
    TProbeRichEdit* edit_ = nullptr;
    int changes_ = 0;
};

TEST_F(TntRichEditTest, RtfIsDetectedOnlyAtTheStart) {
    edit_->SetText(u"{\\rtf1\\ansi {\\b \u0416\u0438\u0440}\\par \u65E5\u672C}");
    EXPECT_EQ(edit_->GetText(), u"\u0416\u0438\u0440\r\n\u65E5\u672C");
    EXPECT_EQ(edit_->Lines()->Count(), 2);
    EXPECT_EQ(edit_->Lines()->Get(1), u"\u65E5\u672C");
    edit_->SetText(u"  {\\rtf1 x}");
    EXPECT_EQ(edit_->GetText(), u"  {\\rtf1 x}");
}

TEST_F(TntRichEditTest, LineBreaksReadBackAsCrLfAndEqualTextChangesNothing) {
    edit_->SetText(u"a\nb\r\nc\rd");
    EXPECT_EQ(edit_->GetText(), u"a\r\nb\r\nc\r\nd");
    EXPECT_EQ(edit_->Lines()->Count(), 4);
    changes_ = 0;
    edit_->SetText(u"a\r\nb\r\nc\r\nd");
    EXPECT_EQ(changes_, 0);
}

TEST_F(TntRichEditTest, SelectionInCrLfPositions) {
    edit_->SetText(u"ab\r\n\u0416\U0001F600z\r\nlast");
    for (const bool wrap : {false, true}) {
        edit_->SetWordWrap(wrap);
        struct Case {
            int start, length;
            const char16_t* text;
        } cases[] = {{0, 2, u"ab"}, {4, 1, u"\u0416"}, {5, 3, u"\U0001F600z"}, {1, 4, u"b\r\n\u0416"}, {10, 4, u"last"}};
        for (const Case& c : cases) {
            edit_->SetSelStart(c.start);
            edit_->SetSelLength(c.length);
            EXPECT_EQ(edit_->GetSelStart(), c.start) << c.start;
            EXPECT_EQ(edit_->GetSelLength(), c.length) << c.start;
            EXPECT_EQ(edit_->GetWideSelText(), c.text) << c.start;
        }
    }
    EXPECT_EQ(edit_->ToCrLfPosition(0), 0);
    EXPECT_EQ(edit_->FromCrLfPosition(edit_->ToCrLfPosition(7)), 7);
}

TEST_F(TntRichEditTest, EnterWithoutWantReturns) {
    EXPECT_EQ(edit_->Press(VK_RETURN, {}), VK_RETURN);
    edit_->SetWantReturns(false);
    EXPECT_EQ(edit_->Press(VK_RETURN, {}), 0);
    EXPECT_EQ(edit_->Press(VK_RETURN, {ssCtrl}), VK_RETURN);
    EXPECT_EQ(edit_->Press(VK_RETURN, {ssCtrl, ssShift}), 0);
}

TEST_F(TntRichEditTest, LinesAreWide) {
    edit_->Lines()->SetText(u"\u03B1\r\n\u03B2");
    edit_->Lines()->Insert(2, u"\u03B3");
    edit_->Lines()->Put(0, u"\u0391");
    EXPECT_EQ(edit_->GetText(), u"\u0391\r\n\u03B2\r\n\u03B3");
    TTntStringList other;
    other.Add(u"\U0001F600");
    edit_->SetLines(&other);
    EXPECT_EQ(edit_->GetText(), u"\U0001F600");
}

TEST_F(TntRichEditTest, PictureOfAMsgRtfBodyIsPlaced) {
    testsupport::TempDir tmp;
    testsupport::ScopedEnv env("TMPDIR", tmp.path().string());
    const std::string png(
        "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x01\x00\x00\x00\x01\x08\x06\x00"
        "\x00\x00\x1F\x15\xC4\x89\x00\x00\x00\x0D\x49\x44\x41\x54\x78\xDA\x63\x64\x60\xF8\x5F\x0F\x00\x02\x87\x01\x80"
        "\xEB\x47\xBA\x92\x00\x00\x00\x00\x49\x45\x4E\x44\xAE\x42\x60\x82",
        70);
    MsgRtfBody body("{\\rtf1\\ansi \\u1046?x{\\pict\\pngblip\\bin70 " + png + "}y}");
    ASSERT_EQ(body.Pictures(), 1);
    edit_->SetText(Utf8ToUtf16(body.Rtf()));
    body.Place(edit_->Document());
    EXPECT_EQ(edit_->GetText(), u"\u0416x\uFFFCy");
}

// Through the message display, as the main window shows a .msg: the attachment marks get the
// bitmap of a picture attachment and the rendering of an OLE object (which is also listed, so
// that its data can be saved); a file with neither leaves its spot empty; the body's own
// picture is placed too.
TEST_F(TntRichEditTest, RtfBodyOfAMsgShowsItsAttachmentsAndPicturesInPlace) {
    testsupport::TempDir tmp;
    const std::string png(
        "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x01\x00\x00\x00\x01\x08\x06\x00"
        "\x00\x00\x1F\x15\xC4\x89\x00\x00\x00\x0D\x49\x44\x41\x54\x78\xDA\x63\x64\x60\xF8\x5F\x0F\x00\x02\x87\x01\x80"
        "\xEB\x47\xBA\x92\x00\x00\x00\x00\x49\x45\x4E\x44\xAE\x42\x60\x82",
        70);
    std::string bmp("BM\x3A\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0\0\0\0\0\x04\0\0\0"
                    "\x13\x0B\0\0\x13\x0B\0\0\0\0\0\0\0\0\0\0\0\0\xFF\0",
                    58);
    const std::vector<MsgFixtureAttachment> attachments = {
        {bmp, "", false},                              // a bitmap file: itself
        {"native object data", png, true},             // an OLE object: its rendering
        {"%PDF-1.4 no picture, no rendering", "", false},
    };
    const std::string rtf = "{\\rtf1\\ansi A{\\objattph}B{\\objattph}C{\\objattph}D{\\pict\\pngblip\\bin70 " + png + "}E}";
    const std::string listed = DisplayRtfMsg(tmp.path().string(), rtf, attachments, [&](const std::u16string& text) {
        edit_->SetText(text);
        return edit_->Handle();
    });
    EXPECT_EQ(edit_->GetText(), u"A\uFFFCB\uFFFCCD\uFFFCE");
    EXPECT_NE(listed.find("attachment 2\n"), std::string::npos) << listed;
}

}  // namespace
