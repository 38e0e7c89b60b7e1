// What a person does with the program, through the window system's real input: each journey
// starts the program on a private display, clicks, types and reads what shows.
#include "tests/e2e/Journey.h"

#include <cstring>
#include <fstream>
#include <regex>
#include <set>
#include <thread>

#include <QString>

namespace fs = std::filesystem;

namespace e2e {
namespace {

const std::vector<std::string> kMsgFiles = {
    "msg/msgconvert-pairs/charset.msg",         "msg/msgconvert-pairs/gpg_signed.msg",
    "msg/msgconvert-pairs/plain_jpeg_attached.msg", "msg/msgconvert-pairs/plain_uc_unsent.msg",
    "msg/msgconvert-pairs/plain_uc_wc_unsent.msg",  "msg/msgconvert-pairs/plain_unsent.msg",
};
const std::vector<std::string> kEmlFiles = {
    "eml/mail-fixtures/plain_emails/basic_email.eml",
    "eml/mail-fixtures/plain_emails/mix_caps_content_type.eml",
};

using JourneyTest = Journey;

TEST_F(JourneyTest, FirstRunAsksForTheLanguageAndOpensTheMainWindowOnTheFolder) {
    CopyMail(kMsgFiles);
    Program& program = Start({"+DIR", Mail().string()}, true);
    ASSERT_TRUE(program.WaitFor("SettingsDlg.rbGerman", 90s)) << "the settings window does not come up at the first start";
    // Clicked beside its caption, inside the control, as a person may.
    ClickOn("SettingsDlg.rbEnglish", "the settings window shows no English choice");
    const auto controls = program.Controls();
    std::optional<Control> ok;
    for (const Control& c : controls)
        if (c.path.rfind("SettingsDlg.", 0) == 0 && c.text == "OK") ok = c;
    ASSERT_TRUE(ok) << "the settings window has no OK button";
    desktop_->Click(ok->cx(), ok->cy());
    ASSERT_TRUE(program.WaitFor("Form1.Messagelist", 60s)) << "OK in the settings window does not open the main window";
    EXPECT_TRUE(program.WaitUntil(ListHas(6), 60s))
        << "the main window does not list the start folder's six messages: " << program.Find("Form1.Messagelist")->detail;
    EXPECT_EQ(program.Close(), 0) << "the program does not end when its window is closed";
    EXPECT_NE(testsupport::ReadFileBytes(home_ / "registry/user.reg").find("\"Language\"=dword:00000001"), std::string::npos)
        << "the language chosen is not kept:\n" << testsupport::ReadFileBytes(home_ / "registry/user.reg");
}

TEST_F(JourneyTest, BrowseWithMouseAndKeysAfterTickingIncludeSubFolders) {
    CopyMail(kMsgFiles);
    CopyMail(kEmlFiles, "sub");
    Program& program = Start({"+DIR", Mail().string()});
    ASSERT_TRUE(program.WaitUntil(ListHas(6), 90s)) << "the main window does not list the folder's six messages";

    ClickOn("Form1.rbSubFolder", "the main window has no Include SubFolders box");
    ASSERT_TRUE(program.WaitUntil(ListHas(8), 60s)) << "ticking Include SubFolders does not list the subfolder's messages";

    // The window still takes clicks: a row is selected and shows its header.
    const auto list = program.Find("Form1.Messagelist");
    ASSERT_TRUE(list);
    desktop_->Click(list->x + 60, list->y + 36);
    ASSERT_TRUE(program.WaitUntil([](const std::vector<Control>& cs) {
        return DetailNumber(FindControl(cs, "Form1.Messagelist"), "selected") >= 0;
    }, 10s)) << "a click on a row does not select it: the window stopped answering after Include SubFolders";
    const int row = DetailNumber(program.Find("Form1.Messagelist"), "selected");
    EXPECT_TRUE(program.WaitUntil([](const std::vector<Control>& cs) {
        const auto s = FindControl(cs, "Form1.lbSubject");
        return s && !s->text.empty();
    }, 20s)) << "the selected message's subject does not show";

    desktop_->Key("Down");
    EXPECT_TRUE(program.WaitUntil([row](const std::vector<Control>& cs) {
        return DetailNumber(FindControl(cs, "Form1.Messagelist"), "selected") == row + 1;
    }, 10s)) << "the Down arrow does not move to the next message";

    // The three tabs below the header switch on a click on their tab.
    const auto pages = program.Find("Form1.RzPageControl1");
    const auto first = program.Find("Form1.RzPageControl1.TabSheet1");
    ASSERT_TRUE(pages && first) << "the message tabs do not show";
    std::set<std::string> seen;
    for (int x = pages->x + 12; x < pages->x + 400 && seen.size() < 3; x += 24) {
        desktop_->Click(x, pages->y + (first->y - pages->y) / 2);
        for (const char* sheet : {"TabSheet1", "TabSheet2", "TabSheet3"})
            if (program.Find(std::string("Form1.RzPageControl1.") + sheet)) seen.insert(sheet);
    }
    EXPECT_EQ(seen.size(), 3u) << "the message tabs do not all switch when clicked";

    // Sorting by a column: two clicks on its header give the two orders.
    const std::string before = DetailText(program.Find("Form1.Messagelist"), "first");
    desktop_->Click(list->x + 150, list->y + 8);
    EXPECT_TRUE(program.WaitUntil([&](const std::vector<Control>& cs) {
        return DetailText(FindControl(cs, "Form1.Messagelist"), "first") != before;
    }, 10s)) << "a click on the From column's header does not sort the list";
    const std::string once = DetailText(program.Find("Form1.Messagelist"), "first");
    desktop_->Click(list->x + 150, list->y + 8);
    EXPECT_TRUE(program.WaitUntil([&](const std::vector<Control>& cs) {
        return DetailText(FindControl(cs, "Form1.Messagelist"), "first") != once;
    }, 10s)) << "a second click on the column header does not reverse the order";

    // The folder panel's splitter follows a drag.
    const auto splitter = program.Find("Form1.Splitter1");
    const auto panel = program.Find("Form1.Panel4");
    ASSERT_TRUE(splitter && panel);
    desktop_->Press(splitter->cx(), splitter->cy());
    desktop_->MoveTo(splitter->cx() + 30, splitter->cy());
    desktop_->Release(splitter->cx() + 60, splitter->cy());
    EXPECT_TRUE(program.WaitUntil([&](const std::vector<Control>& cs) {
        const auto p = FindControl(cs, "Form1.Panel4");
        return p && std::abs(p->w - (panel->w + 60)) <= 4;
    }, 10s)) << "dragging the splitter does not widen the folder panel";

    // And the check box still answers (it was the one control that did).
    ClickOn("Form1.rbSubFolder", "the Include SubFolders box went away");
    EXPECT_TRUE(program.WaitUntil(ListHas(6), 60s)) << "unticking Include SubFolders does not list only the folder's messages";
}

TEST_F(JourneyTest, SearchDialogTakesClicksAndTypingAndFindsBySubjectAndDates) {
    CopyMail(kMsgFiles);
    Program& program = Start({"+DIR", Mail().string()});
    ASSERT_TRUE(program.WaitUntil(ListHas(6), 90s)) << "the main window does not list the folder's six messages";
    ClickOn("Form1.Button10", "the toolbar has no Search button");
    ASSERT_TRUE(program.WaitFor("SearchDlg.edSubject", 30s)) << "the Search button does not open the search dialog";

    ClickOn("SearchDlg.edFolder", "the search dialog has no folder field");
    ClickOn("SearchDlg.edSubject", "the search dialog has no Subject field");
    ASSERT_TRUE(program.WaitUntil([](const std::vector<Control>& cs) {
        const auto s = FindControl(cs, "SearchDlg.edSubject");
        return s && s->Focused();
    }, 10s)) << "a click on the Subject field does not move the focus there: the search dialog does not take clicks";
    desktop_->Type("MSGConvert");
    EXPECT_TRUE(program.WaitUntil([](const std::vector<Control>& cs) {
        const auto s = FindControl(cs, "SearchDlg.edSubject");
        return s && s->text == "MSGConvert";
    }, 10s)) << "typed text does not land in the Subject field";

    ClickOn("SearchDlg.RzBitBtn3", "the search dialog has no START SEARCH button");
    // The dialog closes after the search (as it is set to) and the list shows what it found.
    EXPECT_TRUE(program.WaitUntil([](const std::vector<Control>& cs) {
        return !FindControl(cs, "SearchDlg") && DetailNumber(FindControl(cs, "Form1.Messagelist"), "items") == 4;
    }, 60s)) << "START SEARCH does not list the four messages whose subject holds \"MSGConvert\": "
             << (program.Find("Form1.Messagelist") ? program.Find("Form1.Messagelist")->detail : "no list");

    // Again with a date range typed into From date and To date: only September's "test".
    ClickOn("Form1.Button10", "the toolbar's Search button went away");
    ASSERT_TRUE(program.WaitFor("SearchDlg.edSubject", 30s)) << "the Search button does not open the search dialog again";
    ClickOn("SearchDlg.edSubject", "the search dialog has no Subject field");
    desktop_->Key("ctrl+a");
    desktop_->Type("test");
    ClickOn("SearchDlg.rzDate1", "the search dialog has no From date");
    desktop_->Key("ctrl+a");
    desktop_->Type("9/1/2007");
    ClickOn("SearchDlg.rzDate2", "the search dialog has no To date");
    desktop_->Key("ctrl+a");
    desktop_->Type("12/31/2007");
    ClickOn("SearchDlg.RzBitBtn3", "the search dialog has no START SEARCH button");
    EXPECT_TRUE(program.WaitUntil([](const std::vector<Control>& cs) {
        return !FindControl(cs, "SearchDlg") && DetailNumber(FindControl(cs, "Form1.Messagelist"), "items") == 1;
    }, 60s)) << "a search from 9/1/2007 to 12/31/2007 does not list only the one message of September 2007: "
             << (program.Find("Form1.Messagelist") ? program.Find("Form1.Messagelist")->detail : "no list");
}

// The size, place and state a person leaves through the window manager come back.
TEST_F(JourneyTest, WindowComesBackWhereItWasAfterARestart) {
    CopyMail(kMsgFiles);
    Program* program = &Start({"+DIR", Mail().string()});
    ASSERT_TRUE(program->WaitUntil(ListHas(6), 90s)) << "the main window does not list the folder's six messages";
    const auto form = program->Find("Form1");
    ASSERT_TRUE(form);
    // The first start fills the screen: a double click on the title bar (at the screen's top)
    // gives the normal size.
    desktop_->DoubleClick(form->cx(), 8);
    std::this_thread::sleep_for(1s);
    // Moved and made smaller by the window manager, as a person would with the frame.
    desktop_->Tool({"xdotool", "search", "--onlyvisible", "--name", "Quillora", "windowsize", "--sync", "900", "600",
                    "windowmove", "--sync", "60", "50"});
    ASSERT_TRUE(program->WaitUntil([](const std::vector<Control>& cs) {
        const auto f = FindControl(cs, "Form1");
        return f && f->w == 900 && f->h >= 540 && f->x == 60 && f->y >= 50;
    }, 10s)) << "the main window does not follow a resize and a move by the window manager";
    const auto moved = program->Find("Form1");
    EXPECT_EQ(program->Close(), 0) << "the program does not end when its window is closed";

    // The last folder is not kept between runs (the design keeps none): started on it again.
    program = &Start({"+DIR", Mail().string()});
    ASSERT_TRUE(program->WaitUntil(ListHas(6), 90s)) << "after a restart the main window does not list the folder";
    const auto again = program->Find("Form1");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->w, moved->w) << "the window's width does not come back";
    EXPECT_EQ(again->h, moved->h) << "the window's height does not come back";
    EXPECT_LE(std::abs(again->x - moved->x), 2) << "the window's position does not come back";
    EXPECT_LE(std::abs(again->y - moved->y), 2) << "the window's position does not come back";
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

TEST_F(JourneyTest, WindowsFitASmallScreenAndASavedPlaceOffTheScreenComesBack) {
    desktop_ = std::make_unique<Desktop>(1024, 600);
    ASSERT_TRUE(desktop_->Failure().empty()) << desktop_->Failure();
    CopyMail(kMsgFiles);
    // The designed place and size (for a large screen), then a place on a monitor that is gone.
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{177, 140}, {3000, 2000}}) {
        Settle();
        char props[256];
        std::snprintf(props, sizeof props,
                      "[Software\\Kestrelwright\\quillora\\Properties]\n\"WWidth\"=dword:%08x\n\"WHeight\"=dword:%08x\n"
                      "\"WState\"=dword:00000000\n\"WPosX\"=dword:%08x\n\"WPosY\"=dword:%08x\n",
                      1146, 777, x, y);
        std::ofstream(home_ / "registry/user.reg", std::ios::app) << props;
        Program& program = Start({"+DIR", Mail().string()});
        ASSERT_TRUE(program.WaitUntil(ListHas(6), 90s)) << "the main window does not list the folder's six messages";
        const auto form = program.Find("Form1");
        const auto status = program.Find("Form1.StatusBar1");
        ASSERT_TRUE(form && status);
        EXPECT_GE(form->x, 0) << "saved at " << x << "," << y;
        EXPECT_GE(form->y, 0) << "saved at " << x << "," << y;
        EXPECT_LE(form->x + form->w, 1024) << "the main window runs off the right of a 1024x600 screen (saved at " << x << "," << y << ")";
        EXPECT_LE(status->y + status->h, 600) << "the status bar is below the bottom of a 1024x600 screen (saved at " << x << "," << y << ")";
        EXPECT_EQ(program.Close(), 0);
        std::filesystem::remove(home_ / "registry/user.reg");
    }
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

// A stand-in mail program: registered as the mailto handler (a desktop entry the stand-in
// xdg-mime names), reached through xdg-email on PATH, which records its arguments (one a line)
// and keeps a copy of each attachment.
fs::path InstallStandInMailProgram(const fs::path& home) {
    const fs::path bin = home / "bin";
    fs::create_directories(bin / "got");
    fs::create_directories(home / "home/.local/share/applications");
    std::ofstream(home / "home/.local/share/applications/standin-mail.desktop")
        << "[Desktop Entry]\nType=Application\nName=Stand-in mail\nExec=" << (bin / "xdg-email").string() << " %u\n";
    std::ofstream(bin / "xdg-mime") << "#!/bin/sh\n"
                                       "[ \"$1 $2 $3\" = \"query default x-scheme-handler/mailto\" ] && echo standin-mail.desktop\n"
                                       "exit 0\n";
    std::ofstream(bin / "xdg-email") << "#!/bin/sh\n"
                                        "out=\"$(dirname \"$0\")/got\"\n"
                                        "n=$(ls \"$out\" | wc -l)\n"
                                        "mkdir -p \"$out/$n\"\n"
                                        "prev=\n"
                                        "for a in \"$@\"; do\n"
                                        "  printf '%s\\n' \"$a\" >> \"$out/$n/args\"\n"
                                        "  if [ \"$prev\" = --attach ]; then cp \"$a\" \"$out/$n/\"; fi\n"
                                        "  prev=\"$a\"\n"
                                        "done\n";
    for (const char* tool : {"xdg-mime", "xdg-email"})
        fs::permissions(bin / tool, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
    return bin;
}

// The arguments the stand-in got on its n-th start, once it has been started.
std::string WaitForMail(const fs::path& bin, int n) {
    const fs::path args = bin / "got" / std::to_string(n) / "args";
    for (int i = 0; i < 200 && !fs::exists(args); ++i) std::this_thread::sleep_for(100ms);
    std::this_thread::sleep_for(300ms);
    return testsupport::ReadFileBytes(args);
}

TEST_F(JourneyTest, ReplyAndForwardHandTheMessageToTheMailProgram) {
    CopyMail({"msg/msgconvert-pairs/plain_jpeg_attached.msg"});
    const fs::path bin = InstallStandInMailProgram(home_);
    Program& program = Start({"+DIR", Mail().string()}, false,
                             {{"PATH", bin.string() + ":/usr/local/bin:/usr/bin:/bin"}});
    ASSERT_TRUE(program.WaitUntil(ListHas(1), 90s)) << "the main window does not list the folder's message";
    const auto list = program.Find("Form1.Messagelist");
    desktop_->Click(list->x + 60, list->y + 36);
    ASSERT_TRUE(program.WaitUntil([](const std::vector<Control>& cs) {
        const auto s = FindControl(cs, "Form1.lbSubject");
        return s && s->text == "test";
    }, 20s)) << "a click on the message does not show it";

    ClickOn("Form1.Button4", "the toolbar has no Reply button");
    const std::string reply = WaitForMail(bin, 0);
    ASSERT_FALSE(reply.empty()) << "Reply does not start the mail program";
    EXPECT_NE(reply.find("--subject\nRe: test\n"), std::string::npos) << "the reply's subject is not Re: test:\n" << reply;
    EXPECT_NE(reply.find("Matijs.van.Zuijlen@xs4all.nl"), std::string::npos) << "the reply is not addressed to the sender:\n" << reply;
    const std::size_t body = reply.find("--body\n");
    ASSERT_NE(body, std::string::npos) << "the reply has no body:\n" << reply;
    EXPECT_NE(reply.find("test", body + 7), std::string::npos) << "the reply does not quote the message's text:\n" << reply;

    ClickOn("Form1.Button5", "the toolbar has no Forward button");
    const std::string forward = WaitForMail(bin, 1);
    ASSERT_FALSE(forward.empty()) << "Forward does not start the mail program";
    EXPECT_NE(forward.find("--subject\nFw: test\n"), std::string::npos) << "the forward's subject is not Fw: test:\n" << forward;
    EXPECT_NE(forward.find("--attach\n"), std::string::npos) << "the forward carries no attachment:\n" << forward;
    bool picture = false;
    for (const auto& e : fs::directory_iterator(bin / "got" / "1"))
        if (e.path().filename() != "args") picture = picture || PictureHasInk(e.path());
    EXPECT_TRUE(picture) << "the forwarded attachment is not the message's picture";
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

TEST_F(JourneyTest, EachMessageShowsItsBodyWhenSelectedWithTheKeys) {
    CopyMail(kMsgFiles);
    Program& program = Start({"+DIR", Mail().string()});
    ASSERT_TRUE(program.WaitUntil(ListHas(6), 90s)) << "the main window does not list the folder's six messages";
    const auto list = program.Find("Form1.Messagelist");
    desktop_->Click(list->x + 150, list->y + 36);
    desktop_->Key("Home");
    for (int row = 0; row < 6; ++row) {
        if (row > 0) desktop_->Key("Down");
        ASSERT_TRUE(program.WaitUntil([row](const std::vector<Control>& cs) {
            return DetailNumber(FindControl(cs, "Form1.Messagelist"), "selected") == row;
        }, 10s)) << "the arrow keys do not reach row " << row;
        const std::string subject = DetailText(program.Find("Form1.Messagelist"), "current");
        // Plain text, rich text and HTML bodies all show text in the body pane (HTML paints late).
        int dark = 0;
        for (int attempt = 0; attempt < 20 && dark < 30; ++attempt) {
            std::this_thread::sleep_for(300ms);
            const auto body = program.Find("Form1.BodyPanel");
            ASSERT_TRUE(body) << "the body pane does not show";
            const fs::path shot = home_ / "body.png";
            ASSERT_TRUE(desktop_->Screenshot(shot));
            dark = DarkPixels(shot, body->x + 4, body->y + 4, body->w - 24, body->h - 8);
        }
        EXPECT_GE(dark, 30) << "the body of the message " << subject << " shows no text";
    }
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

// The text of a saved file as a person reads it: a PDF through its text layer, a file with a
// UTF-16 byte-order mark decoded.
std::string SavedText(const fs::path& file) {
    if (file.extension() == ".pdf" || file.extension() == ".PDF") return testsupport::PdfText(file);
    const std::string bytes = testsupport::ReadFileBytes(file);
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::u16string wide((bytes.size() - 2) / 2, u'\0');
        std::memcpy(wide.data(), bytes.data() + 2, wide.size() * 2);
        return QString::fromStdU16String(wide).toStdString();
    }
    return bytes;
}

TEST_F(JourneyTest, SaveBodyWithTheKeyChordAndTheFileDialog) {
    CopyMail({"msg/msgconvert-pairs/plain_jpeg_attached.msg"});
    const fs::path out = home_ / "out";
    fs::create_directories(out);
    Program& program = Start({"+DIR", Mail().string()});
    ASSERT_TRUE(program.WaitUntil(ListHas(1), 90s)) << "the main window does not list the folder's message";
    const auto list = program.Find("Form1.Messagelist");
    desktop_->Click(list->x + 150, list->y + 36);
    ASSERT_TRUE(program.WaitUntil([](const std::vector<Control>& cs) {
        const auto s = FindControl(cs, "Form1.lbSubject");
        return s && s->text == "test";
    }, 20s)) << "a click on the message does not show it";
    desktop_->Key("ctrl+s");
    // The save dialog takes the name typed into it and Return.
    const std::string dialog = desktop_->Tool({"xdotool", "search", "--sync", "--onlyvisible", "--name", "[Ss]ave"});
    ASSERT_FALSE(dialog.empty()) << "ctrl+S does not open a save dialog";
    std::this_thread::sleep_for(500ms);
    desktop_->Type((out / "saved").string());
    desktop_->Key("Return");
    fs::path saved;
    for (int i = 0; i < 100 && saved.empty(); ++i) {
        std::this_thread::sleep_for(100ms);
        for (const auto& e : fs::directory_iterator(out))
            if (e.path().filename().string().rfind("saved", 0) == 0 && fs::file_size(e.path()) > 0) saved = e.path();
    }
    ASSERT_FALSE(saved.empty()) << "Return in the save dialog writes no file";
    std::this_thread::sleep_for(500ms);
    EXPECT_NE(SavedText(saved).find("test"), std::string::npos) << "the saved body " << saved << " does not hold the message's text:\n" << SavedText(saved).substr(0, 1500);
}

}  // namespace
}  // namespace e2e
