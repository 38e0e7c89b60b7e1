#include <gtest/gtest.h>

#include <string>

#include "app/SupportLibrary.h"
#include "message/ExtractRTF.h"
#include "message/Message.h"
#include "platform/win/WinString.h"

namespace {

class ExtractRTFTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)), 1); }

    // A message with the fixed-length node (holding RTF_IN_SYNC when given) and an RTF body.
    static void Build(TMessage& msg, const std::string* rtf, const bool* inSync) {
        TMSGProperty& fixed = msg.GetProperties().Add();
        fixed.TagID = 0;
        if (inSync) {
            TMSGProperty& sync = fixed.SubProperties().Add();
            sync.TagID = 0x0E1F000B;
            sync.Value = *inSync;
        }
        if (rtf) {
            TMSGProperty& body = msg.GetProperties().Add();
            body.TagID = 0x10090102;
            body.Value = *rtf + std::string(1, '\0');
        }
    }
};

const std::string kHtmlRtf =
    "{\\rtf1\\ansi\\ansicpg1251\\fromhtml1 {\\fonttbl{\\f0\\fnil\\fcharset204 Tahoma;}}\\f0"
    "{\\*\\htmltag64 <p>}\\'cf\\'f0\\'e8{\\*\\htmltag72 </p>}}";

}  // namespace

TEST_F(ExtractRTFTest, RebuildsHtmlWhenInSync) {
    const bool yes = true, no = false;
    struct Row {
        const bool* inSync;
        const char16_t* expected;
        bool isHtml;
    };
    const Row rows[] = {
        {nullptr, u"<p>\u041f\u0440\u0438</p>", true},  // a missing in-sync flag counts as in sync
        {&yes, u"<p>\u041f\u0440\u0438</p>", true},
        {&no, u"", false},
    };
    for (const Row& r : rows) {
        TMessage msg;
        Build(msg, &kHtmlRtf, r.inSync);
        bool isHtml = false;
        EXPECT_EQ(ExtractRTF(msg, isHtml), r.expected);
        EXPECT_EQ(isHtml, r.isHtml);
    }
}

TEST_F(ExtractRTFTest, TextRtfAndMissingParts) {
    const std::string textRtf = "{\\rtf1\\ansi\\fromtext \\deff0 Hello\\par}";
    TMessage text;
    Build(text, &textRtf, nullptr);
    bool isHtml = false;
    EXPECT_EQ(ExtractRTF(text, isHtml), Utf8ToUtf16(textRtf));
    EXPECT_FALSE(isHtml);

    TMessage noBody;
    Build(noBody, nullptr, nullptr);
    EXPECT_EQ(ExtractRTF(noBody, isHtml), u"");

    TMessage noFixedNode;
    TMSGProperty& body = noFixedNode.GetProperties().Add();
    body.TagID = 0x10090102;
    body.Value = kHtmlRtf;
    EXPECT_EQ(ExtractRTF(noFixedNode, isHtml), u"");
    EXPECT_FALSE(isHtml);
}
