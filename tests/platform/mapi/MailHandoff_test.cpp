#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/mapi/MailHandoff.h"
#include "tests/platform/mapi/FakeMailDesktop.h"
#include "platform/mime/IdMessage.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

namespace {

using FakeDesktop = FakeMailDesktop;

struct HandoffFixture : ::testing::Test {
    testsupport::TempDir dir;
    MailHandoffMessage message;
    FakeDesktop desktop;

    void SetUp() override {
        const fs::path a = dir.WriteFile("4711.pdf", "PDF bytes");
        const fs::path b = dir.WriteFile("815.txt", "text bytes");
        message.subject = u"Re: caf\u00e9";
        message.noteText = u"plain body";
        message.htmlText = u"<p>html body</p>";
        message.recips = {{u"Ann", u"ann@ex.com", MAPI_TO},
                          {u"bob@ex.org", u"bob@ex.org", MAPI_TO},
                          {u"Carl", u"carl@ex.net", MAPI_CC},
                          {u"", u"", MAPI_TO}};
        message.files = {{Utf8ToUtf16(a.string()), u"r\u00e9sum\u00e9, final.pdf"}, {Utf8ToUtf16(b.string()), u""}};
        message.workFolder = Utf8ToUtf16((dir.path() / "work").string());
    }
    fs::path Work() const { return dir.path() / "work"; }
};

TEST(MailHandoffExec, ArgumentsOfDesktopEntries) {
    struct Case {
        const char* exec;
        const char* target;
        Args expected;
    } const cases[] = {
        {"thunderbird %u", "", {"thunderbird"}},
        {"\"/opt/my app/tb\" -P \"x \\\"y\\\"\" %U", "T", {"/opt/my app/tb", "-P", "x \"y\"", "T"}},
        {"/usr/bin/flatpak run --file-forwarding org.x @@u %u @@", "T", {"/usr/bin/flatpak", "run", "--file-forwarding", "org.x", "T"}},
        {"evolution", "T", {"evolution", "T"}},
        {"app --url=%u --icon %i 100%%", "T", {"app", "--url=T", "--icon", "100%"}},
        {"", "T", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(ExecArguments(c.exec, c.target), c.expected) << c.exec;
}

TEST(MailHandoffExec, ClientKindFromDesktopEntry) {
    struct Case {
        const char* id;
        const char* exec;
        ComposeCommand kind;
    } const cases[] = {
        {"thunderbird.desktop", "thunderbird %u", ComposeCommand::ComposeSwitch},
        {"org.mozilla.Thunderbird.desktop", "/usr/bin/flatpak run org.mozilla.Thunderbird @@u %u @@", ComposeCommand::ComposeSwitch},
        {"mail.desktop", "/usr/lib/BetterBird/betterbird %u", ComposeCommand::ComposeSwitch},
        {"org.gnome.Evolution.desktop", "evolution %U", ComposeCommand::MailtoUrl},
        {"mutt.desktop", "xterm -e mutt %u", ComposeCommand::None},
        {"", "", ComposeCommand::None},
    };
    for (const Case& c : cases) EXPECT_EQ(ComposeCommandOf({c.id, c.exec}), c.kind) << c.id;
}

TEST_F(HandoffFixture, ThunderbirdGetsHtmlBodyAndNamedAttachments) {
    desktop.handler = {"thunderbird.desktop", "/usr/bin/thunderbird %u"};
    ASSERT_EQ(MailHandoff(message, desktop), SUCCESS_SUCCESS);
    ASSERT_EQ(desktop.launched.size(), 1u);
    const Args& argv = desktop.launched[0];
    ASSERT_EQ(argv.size(), 3u);
    EXPECT_EQ(argv[0], "/usr/bin/thunderbird");
    EXPECT_EQ(argv[1], "-compose");
    const std::string work = Work().string();
    const std::string staged = work + "/attach1/r\xC3\xA9sum\xC3\xA9, final.pdf";
    EXPECT_EQ(argv[2], "to='Ann <ann@ex.com>,bob@ex.org',cc='Carl <carl@ex.net>',subject='Re: caf\xC3\xA9',"
                       "message='" + work + "/Text.html',attachment='file://" + work +
                       "/attach1/r%C3%A9sum%C3%A9%2C%20final.pdf,file://" +
                       dir.path().string() + "/815.txt',format=html");
    EXPECT_EQ(testsupport::ReadFileBytes(Work() / "Text.html"), "\xEF\xBB\xBF<p>html body</p>");
    EXPECT_EQ(testsupport::ReadFileBytes(staged), "PDF bytes");
}

TEST_F(HandoffFixture, QuoteInAValueTakesTheDraftRoad) {
    desktop.handler = {"thunderbird.desktop", "thunderbird %u"};
    desktop.rfc822Exec = "mailviewer %f";
    message.subject = u"Re: don't forget";
    ASSERT_EQ(MailHandoff(message, desktop), SUCCESS_SUCCESS);
    ASSERT_EQ(desktop.launched.size(), 1u);
    const fs::path draft = Work() / "Draft.eml";
    EXPECT_EQ(desktop.launched[0], (Args{"mailviewer", draft.string()}));

    TIdMessage m;
    m.LoadFromBytes(testsupport::ReadFileBytes(draft), false);
    EXPECT_EQ(m.Headers().Values("X-Unsent"), "1");
    ASSERT_EQ(m.Recipients().Count(), 2);
    EXPECT_EQ(m.Recipients().Items(0).Name, "Ann");
    EXPECT_EQ(m.Recipients().Items(1).Name, "");  // the address is not repeated as a name
    ASSERT_EQ(m.CCList().Count(), 1);
    Args kinds;
    for (int i = 0; i < m.MessageParts().Count(); ++i) {
        const TIdMessagePart& p = m.MessageParts().Items(i);
        if (p.Kind() == TIdMessagePartKind::Attachment) kinds.push_back(static_cast<const TIdAttachment&>(p).Content());
        else if (!static_cast<const TIdText&>(p).Body().empty()) kinds.push_back(p.ContentType());
    }
    EXPECT_EQ(kinds, (Args{"text/plain", "text/html", "PDF bytes", "text bytes"}));
}

TEST_F(HandoffFixture, EvolutionGetsAMailtoUrlWithAttachments) {
    desktop.handler = {"org.gnome.Evolution.desktop", "evolution %U"};
    ASSERT_EQ(MailHandoff(message, desktop), SUCCESS_SUCCESS);
    ASSERT_EQ(desktop.launched.size(), 1u);
    const std::string work = Work().string();
    // Inside the URL every "/" of a path is encoded, and the file URL's own escapes once more.
    const auto inUrl = [](const std::string& path) {
        std::string s;
        for (const char c : path) s += c == '/' ? std::string("%2F") : std::string(1, c);
        return s;
    };
    EXPECT_EQ(desktop.launched[0],
              (Args{"evolution", "mailto:ann%40ex.com,bob%40ex.org?cc=carl%40ex.net&subject=Re%3A%20caf%C3%A9"
                                 "&body=plain%20body&attach=file%3A%2F%2F" +
                                     inUrl(Work().string()) +
                                     "%2Fattach1%2Fr%25C3%25A9sum%25C3%25A9%252C%2520final.pdf&attach=file%3A%2F%2F" +
                                     inUrl(dir.path().string()) + "%2F815.txt"}));
}

TEST_F(HandoffFixture, XdgEmailIsTheLastResort) {
    desktop.xdgEmail = "/usr/bin/xdg-email";
    ASSERT_EQ(MailHandoff(message, desktop), SUCCESS_SUCCESS);
    ASSERT_EQ(desktop.launched.size(), 1u);
    EXPECT_EQ(desktop.launched[0],
              (Args{"/usr/bin/xdg-email", "--utf8", "--cc", "carl@ex.net", "--subject", "Re: caf\xC3\xA9", "--body",
                    "plain body", "--attach", Work().string() + "/attach1/r\xC3\xA9sum\xC3\xA9, final.pdf", "--attach",
                    (dir.path() / "815.txt").string(), "ann@ex.com", "bob@ex.org"}));
}

TEST_F(HandoffFixture, FailedStartsFallThroughAndNothingLeftFails) {
    desktop.handler = {"thunderbird.desktop", "thunderbird %u"};
    desktop.rfc822Exec = "mailviewer %f";
    desktop.xdgEmail = "/usr/bin/xdg-email";
    desktop.launchWorks = false;
    EXPECT_EQ(MailHandoff(message, desktop), MAPI_E_FAILURE);
    ASSERT_EQ(desktop.launched.size(), 3u);  // each road tried once, in order
    EXPECT_EQ(desktop.launched[1][0], "mailviewer");
    EXPECT_EQ(desktop.launched[2][0], "/usr/bin/xdg-email");

    FakeDesktop none;
    EXPECT_FALSE(MailHandoffAvailable(none));
    EXPECT_EQ(MailHandoff(message, none), MAPI_E_FAILURE);
    none.xdgEmail = "/usr/bin/xdg-email";
    EXPECT_FALSE(MailHandoffAvailable(none)) << "xdg-email alone hands the mail to nobody";
    FakeDesktop handlerOnly;
    handlerOnly.handler = {"x.desktop", "x %u"};
    EXPECT_TRUE(MailHandoffAvailable(handlerOnly));
    FakeDesktop draftOnly;
    draftOnly.rfc822Exec = "mailviewer %f";
    EXPECT_TRUE(MailHandoffAvailable(draftOnly));
}

TEST_F(HandoffFixture, XdgEmailCarriesAnHtmlOnlyQuote) {
    desktop.xdgEmail = "/usr/bin/xdg-email";
    message.noteText.clear();
    message.htmlText = u"<html><style>p{x:1}</style><body><p>On Monday &amp; Tuesday</p>"
                       u"<div>&lt;ann@ex.com&gt; wrote:<br>hello</div></body></html>";
    ASSERT_EQ(MailHandoff(message, desktop), SUCCESS_SUCCESS);
    ASSERT_EQ(desktop.launched.size(), 1u);
    const Args& argv = desktop.launched[0];
    const auto body = std::find(argv.begin(), argv.end(), "--body");
    ASSERT_NE(body, argv.end());
    EXPECT_EQ(*(body + 1), "On Monday & Tuesday\n\n<ann@ex.com> wrote:\nhello");
    const auto attach = std::find(argv.begin(), argv.end(), "--attach");
    ASSERT_NE(attach, argv.end());
    EXPECT_EQ(*(attach + 1), (Work() / "Text.html").string()) << "the page goes along as the first attachment";
}

// The session desktop end to end: xdg-mime and the mail program are scripts of the test.
TEST_F(HandoffFixture, SessionDesktopStartsTheRegisteredComposer) {
    const fs::path bin = dir.path() / "bin";
    const fs::path apps = dir.path() / "data/applications";
    fs::create_directories(bin);
    fs::create_directories(apps);
    const fs::path record = dir.path() / "argv.txt";
    dir.WriteFile("bin/xdg-mime", "#!/bin/sh\necho fake-thunderbird.desktop\n");
    dir.WriteFile("bin/fake-thunderbird",
                  "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" + record.string() + ".part\"\nmv \"" +
                      record.string() + ".part\" \"" + record.string() + "\"\n");
    fs::permissions(bin / "xdg-mime", fs::perms::owner_all);
    fs::permissions(bin / "fake-thunderbird", fs::perms::owner_all);
    dir.WriteFile("data/applications/fake-thunderbird.desktop",
                  "[Desktop Entry]\nName=Mail\nExec=" + (bin / "fake-thunderbird").string() + " %u\n");
    const char* path = std::getenv("PATH");
    testsupport::ScopedEnv env1("PATH", bin.string() + ":" + (path ? path : "/usr/bin:/bin"));
    testsupport::ScopedEnv env2("XDG_DATA_HOME", (dir.path() / "data").string());

    EXPECT_TRUE(MailHandoffAvailable());
    ASSERT_EQ(MailHandoff(message), SUCCESS_SUCCESS);
    for (int i = 0; i < 500 && !fs::exists(record); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const std::string args = testsupport::ReadFileBytes(record);
    EXPECT_EQ(args.substr(0, 9), "-compose\n");
    EXPECT_NE(args.find("format=html"), std::string::npos);
}

}  // namespace
