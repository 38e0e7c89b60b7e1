#include <gtest/gtest.h>

#include <filesystem>

#include "mail/ReplyForward.h"
#include "platform/win/WinString.h"
#include "tests/mail/FakeRdo.h"
#include "tests/platform/mapi/FakeMailDesktop.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

struct Msg : TMessageAttr {
    int GetType() override { return fileType; }
};

struct CommandFixture : ::testing::Test {
    testsupport::TempDir dir;
    FakeMailDesktop desktop;
    fakerdo::Library lib;
    Msg message;
    ReplyForwardContext context;

    void SetUp() override {
        desktop.handler = {"outlook.desktop", "wine outlook.exe %u"};
        desktop.rfc822Exec = "viewer %f";
        message.fileType = mftMSG;
        message.from = u"ann@ex.com";
        message.plainBody = u"body";
        context.desktop = &desktop;
        context.mapiReady = true;
        context.tempFolder = Utf8ToUtf16(dir.path().string());
        context.rdoFactory = fakerdo::Factory(lib);
    }
};

TEST(ReplyForwardChoice, ProfileSenderOnlyWithMapiAndItsClient) {
    EXPECT_TRUE(UseRdoSender(true, mckOutlook));
    EXPECT_FALSE(UseRdoSender(false, mckOutlook));
    for (const MailClientKind k : {mckThunderbird, mckOpera, mckNotes, mckTheBat, mckOther})
        EXPECT_FALSE(UseRdoSender(true, k));
}

TEST_F(CommandFixture, ProfileSenderFinishesTheCommand) {
    EXPECT_EQ(RunReplyForward(&message, false, context), ReplyForwardRoute::Rdo);
    EXPECT_EQ(lib.displays, 1);
    EXPECT_TRUE(desktop.launched.empty());
}

TEST_F(CommandFixture, EachFailingPreparationStepFallsBackToTheHandoff) {
    HRESULT fakerdo::Library::*steps[] = {&fakerdo::Library::create, &fakerdo::Library::logon, &fakerdo::Library::folder,
                                          &fakerdo::Library::add, &fakerdo::Library::import, &fakerdo::Library::forward};
    for (auto step : steps) {
        fakerdo::Library l;
        l.*step = static_cast<HRESULT>(0x80004005u);
        context.rdoFactory = fakerdo::Factory(l);
        desktop.launched.clear();
        EXPECT_EQ(RunReplyForward(&message, true, context), ReplyForwardRoute::Handoff);
        EXPECT_EQ(desktop.launched.size(), 1u);
        EXPECT_EQ(l.displays, 0);
        EXPECT_FALSE(l.loggedOn);  // logged off again when it got that far
        for (const auto& item : l.made) EXPECT_TRUE(item.get() == l.composed.get() || item->isDeleted);
    }
    // A failing reply request only loses the copied recipients.
    context.rdoFactory = fakerdo::Factory(lib);
    lib.reply = static_cast<HRESULT>(0x80004005u);
    EXPECT_EQ(RunReplyForward(&message, false, context), ReplyForwardRoute::Rdo);
}

TEST_F(CommandFixture, HandoffWithoutMapiOtherClientsOrTheLibrary) {
    context.mapiReady = false;
    EXPECT_EQ(RunReplyForward(&message, false, context), ReplyForwardRoute::Handoff);
    context.mapiReady = true;
    desktop.handler = {"thunderbird.desktop", "thunderbird %u"};
    EXPECT_EQ(RunReplyForward(&message, false, context), ReplyForwardRoute::Handoff);
    // The real library is not on this system.
    desktop.handler = {"outlook.desktop", "wine outlook.exe %u"};
    context.rdoFactory = CreateRDOSession;
    EXPECT_EQ(RunReplyForward(&message, true, context), ReplyForwardRoute::Handoff);
    EXPECT_EQ(lib.imports.size(), 0u);
    EXPECT_EQ(RunReplyForward(nullptr, true, context), ReplyForwardRoute::None);
}

TEST_F(CommandFixture, ForwardLeavesOtherTemporaryFilesAlone) {
    context.mapiReady = false;
    const fs::path shown = dir.WriteFile("temp.html", "the shown message");
    message.attachments.push_back({0, 0, u"a.txt", u""});
    RunReplyForward(&message, true, context);
    RunReplyForward(&message, true, context);
    EXPECT_TRUE(fs::exists(shown));
    // Each command works in a folder of its own.
    EXPECT_TRUE(fs::is_directory(dir.path() / "Mail"));
    EXPECT_TRUE(fs::is_directory(dir.path() / "Mail (2)"));
}

struct FakeTimer : WaitTimer {
    bool enabled = false;
    void SetEnabled(bool e) override { enabled = e; }
};

TEST(ReplyForwardWaitWindow, TimerRunsTheCommandOnceAndCancelStopsIt) {
    FakeTimer timer;
    std::vector<bool> ran;
    int closed = 0;
    ReplyForwardWait wait(timer, [&](bool forward) { ran.push_back(forward); }, [&] { ++closed; });
    wait.isForward = true;
    wait.FormShow();
    EXPECT_TRUE(timer.enabled);
    wait.Timer1Timer();
    EXPECT_FALSE(timer.enabled);
    EXPECT_EQ(ran, std::vector<bool>{true});
    EXPECT_EQ(closed, 1);

    wait.isForward = false;
    wait.FormShow();
    wait.TntButton1Click();
    EXPECT_FALSE(timer.enabled);
    EXPECT_EQ(closed, 2);
    wait.Timer1Timer();  // a tick that was already on its way
    EXPECT_EQ(ran.size(), 1u);
    EXPECT_EQ(closed, 2);
}

}  // namespace
