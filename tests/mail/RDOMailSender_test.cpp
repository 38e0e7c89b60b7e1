#include <gtest/gtest.h>

#include <filesystem>

#include "app/RtfHtml.h"
#include "mail/RDOMailSender.h"
#include "platform/win/WinString.h"
#include "tests/mail/FakeRdo.h"
#include "tests/support/TestSupport.h"

namespace {

// A message of any kind; a store message writes its ".msg" into the folder it is given.
struct Msg : TMessageAttr {
    int GetType() override { return fileType; }
    WideString GetExportFileName() override { return u"exported.msg"; }
    WideString Export(const WideString& path) override {
        exportedTo = path;
        if (exportFails) return {};
        std::FILE* f = std::fopen(Utf16ToUtf8(path).c_str(), "wb");
        if (!f) return {};
        std::fclose(f);
        return path;
    }
    WideString exportedTo;
    bool exportFails = false;
};

struct RdoFixture : ::testing::Test {
    testsupport::TempDir dir;
    fakerdo::Library lib;
    Msg message;

    void SetUp() override {
        message.fileType = mftMSG;
        message.fileName = u"/mail/in.msg";
        message.from = u"Ann {x} <ann@ex.com>";
        message.to = u"Bob\\";
        message.subject = u"Plans \u00e9";
        message.sent = false;
    }
    WideString Temp() const { return Utf8ToUtf16(dir.path().string()); }
};

TEST_F(RdoFixture, ReplyComposesFromTheImportAndLeavesNoStrayDraft) {
    {
        RDOMailSender sender(Temp(), nullptr, fakerdo::Factory(lib));
        ASSERT_EQ(sender.SetMessage(&message, false), 0);
        ASSERT_EQ(lib.imports.size(), 1u);
        EXPECT_EQ(lib.imports[0], (std::pair<WideString, int>{u"/mail/in.msg", olMSG}));
        // The drafts item made for the import is gone again; the reply's recipients are taken.
        EXPECT_TRUE(lib.made[0]->isDeleted);
        EXPECT_EQ(lib.composed->recipients->list, std::vector<WideString>{u"ann@ex.com"});
        EXPECT_EQ(sender.Reply(), 0);
        EXPECT_EQ(lib.displays, 1);
    }
    EXPECT_EQ(lib.closes, 1);
    EXPECT_EQ(lib.logoffs, 1);
    // The header after the colour table, values escaped, the rest of the RTF kept.
    EXPECT_EQ(lib.composed->StoredRtf(), "{\\rtf1{\\colortbl;\\red0\\green0\\blue0;}\n\n\\par \\par\n" +
                                             std::string(35, '_') +
                                             "\n \\par \\b From: \\b0 Ann \\{x\\}  [ann@ex.com]"
                                             "\\par\\b To: \\b0 Bob\\\\\\par\\b Subject: \\b0 Plans \\uc1\\u233?"
                                             "\\par \\par\n\n\\par body}");
    EXPECT_EQ(lib.syncs, 1);
    EXPECT_EQ(lib.composed->rtf, "");  // emptied before the new RTF was written
}

TEST_F(RdoFixture, ForwardEmptiesTheRecipients) {
    RDOMailSender sender(Temp(), nullptr, fakerdo::Factory(lib));
    ASSERT_EQ(sender.SetMessage(&message, true), 0);
    EXPECT_EQ(lib.composed->recipients->list, std::vector<WideString>{u"bob@ex.org"});
    EXPECT_EQ(sender.Forward(), 0);
    EXPECT_TRUE(lib.composed->recipients->list.empty());
}

TEST_F(RdoFixture, EmlWithHtmlBodyIsImportedAsHtml) {
    message.fileType = mftEML;
    message.fileName = u"/mail/in.eml";
    message.htmlBody = u"<p>caf\u00e9</p>";
    RDOMailSender sender(Temp(), nullptr, fakerdo::Factory(lib));
    ASSERT_EQ(sender.SetMessage(&message, true), 0);
    EXPECT_EQ(lib.imports[0].second, olRFC822);
    const fakerdo::Mail& imported = *lib.made[0];
    EXPECT_EQ(imported.body, u"");
    EXPECT_EQ(imported.html, message.htmlBody);
    EXPECT_EQ(imported.rtf, Utf16ToUtf8(encodertfhtml(message.htmlBody)));
    EXPECT_EQ(imported.format, olFormatRichText);
}

TEST_F(RdoFixture, StoreMessageIsImportedFromItsOwnTemporaryMsg) {
    message.fileType = mftPST;
    RDOMailSender sender(Temp(), nullptr, fakerdo::Factory(lib));
    ASSERT_EQ(sender.SetMessage(&message, true), 0);
    EXPECT_EQ(message.exportedTo, Temp() + u"/exported.msg");
    EXPECT_EQ(lib.imports[0], (std::pair<WideString, int>{message.exportedTo, olMSG}));
    EXPECT_FALSE(std::filesystem::exists(Utf16ToUtf8(message.exportedTo)));

    fakerdo::Library failing;
    message.exportFails = true;
    RDOMailSender second(Temp(), nullptr, fakerdo::Factory(failing));
    EXPECT_LT(second.SetMessage(&message, true), 0);
    EXPECT_TRUE(failing.imports.empty());
    EXPECT_TRUE(failing.made[0]->isDeleted);
}

TEST_F(RdoFixture, TasksGetTheirTextEscapedWithoutHeader) {
    message.msgType = mtTask;
    message.plainBody = u"Due <today>\nA & B";
    for (const bool forward : {false, true}) {
        fakerdo::Library l;
        RDOMailSender sender(Temp(), nullptr, fakerdo::Factory(l));
        ASSERT_EQ(sender.SetMessage(&message, forward), 0);
        EXPECT_EQ(forward ? sender.Forward() : sender.Reply(), 0);
        const WideString html = u"<html><body>Due &lt;today&gt;<br>A &amp; B</body></html>";
        EXPECT_EQ(l.composed->html, html);
        EXPECT_EQ(l.composed->rtf, Utf16ToUtf8(encodertfhtml(html)));
        EXPECT_EQ(l.syncs, 0);
    }
}

TEST_F(RdoFixture, RtfWithoutColourTableIsWrittenBackUnchanged) {
    lib.importedRtf = "{\\rtf1 no table\\par x}";
    RDOMailSender sender(Temp(), nullptr, fakerdo::Factory(lib));
    ASSERT_EQ(sender.SetMessage(&message, false), 0);
    sender.Reply();
    EXPECT_EQ(lib.composed->StoredRtf(), lib.importedRtf);
    EXPECT_EQ(lib.syncs, 1);
}

TEST(RdoHeader, GoldenStrings) {
    Msg m;
    m.from = u"ann@ex.com";
    m.sent = false;
    EXPECT_EQ(RDOMailSender::BuildRdoRtfHeader(m, false), u"\n\n\\par \\par");
    EXPECT_EQ(RDOMailSender::BuildRdoRtfHeader(m, true),
              u"\n\n\\par \\par\n" + WideString(35, u'_') +
                  u"\n \\par \\b From: \\b0 ann@ex.com [ann@ex.com]\\par\\b To: \\b0 \\par\\b Subject: \\b0 \\par \\par\n\n");
    EXPECT_EQ(RDOMailSender::InsertAfterColorTable("{\\colortbl;}", u"H"), "{\\colortbl;}");
    EXPECT_EQ(RDOMailSender::InsertAfterColorTable("{\\colortbl;}x}", u"\u00e9"), "{\\colortbl;}\\uc1\\u233?x}");
}

}  // namespace
