// Exporting through the export manager window: the destination typed in, PDF, numbered
// (Bates) file names, and the files that come out.
#include "tests/e2e/Journey.h"

#include <thread>

namespace fs = std::filesystem;

namespace e2e {
namespace {

using ExportJourney = Journey;

TEST_F(ExportJourney, ExportManagerWritesNumberedPdfsHoldingTheMessages) {
    CopyMail({"msg/msgconvert-pairs/plain_unsent.msg", "msg/msgconvert-pairs/plain_jpeg_attached.msg"});
    const fs::path out = home_ / "exported";
    fs::create_directories(out);
    Program& program = Start({"+DIR", Mail().string()});
    ASSERT_TRUE(program.WaitUntil(ListHas(2), 90s)) << "the main window does not list the folder's two messages";
    const auto list = program.Find("Form1.Messagelist");
    desktop_->Click(list->x + 150, list->y + 36);
    desktop_->Key("ctrl+a");
    ASSERT_TRUE(program.WaitUntil([](const std::vector<Control>& cs) {
        return DetailNumber(FindControl(cs, "Form1.Messagelist"), "selected") >= 0;
    }, 10s)) << "ctrl+A does not select the messages";

    ClickOn("Form1.TopBar.Button11", "the toolbar has no Export button");
    ASSERT_TRUE(program.WaitFor("fmBateStamp.StartBtn", 30s)) << "the Export button does not open the export manager";

    // The destination typed into its field.
    ClickOn("fmBateStamp.edPath", "the export manager has no destination field");
    desktop_->Key("ctrl+a");
    desktop_->Type(out.string());
    // PDF, the format it offers first when the converter can write it.
    const auto format = program.Find("fmBateStamp.ExportFormatCombo");
    ASSERT_TRUE(format) << "the export manager has no format list";
    if (format->text != "PDF") {
        ClickOn("fmBateStamp.ExportFormatCombo", "the export manager has no format list");
        desktop_->Key("Escape");
        desktop_->Type("P");
    }
    ASSERT_TRUE(program.WaitUntil([](const std::vector<Control>& cs) {
        const auto f = FindControl(cs, "fmBateStamp.ExportFormatCombo");
        return f && f->text == "PDF";
    }, 10s)) << "the export manager does not offer PDF: " << program.Find("fmBateStamp.ExportFormatCombo")->text;

    // Bates numbering: a prefix and numbers counting from 100.
    ClickOn("fmBateStamp.cbCustomScheme", "the export manager has no custom naming choice");
    ASSERT_TRUE(program.WaitUntil([](const std::vector<Control>& cs) {
        const auto p = FindControl(cs, "fmBateStamp.WP");
        return p && p->Enabled();
    }, 10s)) << "choosing the custom naming scheme does not enable the prefix field";
    ClickOn("fmBateStamp.WP", "the export manager has no prefix field");
    desktop_->Key("ctrl+a");
    desktop_->Type("CASE-");
    ClickOn("fmBateStamp.rbFileNumbering", "the export manager has no numbering choice");
    ClickOn("fmBateStamp.edNumber", "the export manager has no start number field");
    desktop_->Key("ctrl+a");
    desktop_->Type("100");
    ASSERT_TRUE(program.WaitUntil([&](const std::vector<Control>& cs) {
        const auto p = FindControl(cs, "fmBateStamp.edPath");
        const auto w = FindControl(cs, "fmBateStamp.WP");
        const auto n = FindControl(cs, "fmBateStamp.edNumber");
        return p && w && n && p->text == out.string() && w->text == "CASE-" && n->text == "100";
    }, 10s)) << "the typed destination, prefix and number do not show in their fields";

    ClickOn("fmBateStamp.StartBtn", "the export manager has no Start button");
    // The run ends with a box saying so.
    const std::string box = desktop_->Tool({"xdotool", "search", "--sync", "--onlyvisible", "--name", "^Completed$"});
    ASSERT_FALSE(box.empty()) << "the export does not say it has completed";
    desktop_->Tool({"xdotool", "windowactivate", "--sync", box.substr(0, box.find('\n')), "key", "Return"});

    std::string texts;
    // The extension is the format's name as the list shows it.
    for (const char* name : {"CASE-100.PDF", "CASE-101.PDF"}) {
        const fs::path pdf = out / name;
        ASSERT_TRUE(fs::exists(pdf)) << "the export wrote no " << name << "; the folder holds:\n"
                                     << [&] {
                                            std::string l;
                                            for (const auto& e : fs::directory_iterator(out)) l += e.path().filename().string() + "\n";
                                            return l;
                                        }();
        const std::string text = testsupport::PdfText(pdf);
        EXPECT_GT(text.size(), 20u) << name << " shows no text:\n" << text;
        texts += text;
    }
    EXPECT_NE(texts.find("The body is in plain text"), std::string::npos) << "no exported PDF holds the plain message's text:\n" << texts.substr(0, 3000);
    EXPECT_NE(texts.find("Test for MSGConvert -- plain text"), std::string::npos) << "no exported PDF holds the plain message's subject";
    EXPECT_NE(texts.find("Matijs"), std::string::npos) << "no exported PDF holds the picture message's sender";
    EXPECT_FALSE(fs::exists(out / "CASE-102.PDF")) << "the export wrote more files than messages";

    ClickOn("fmBateStamp.CancelBtn", "the export manager has no Cancel button");
    EXPECT_TRUE(program.WaitUntil([](const std::vector<Control>& cs) { return !FindControl(cs, "fmBateStamp"); }, 20s))
        << "Cancel does not close the export manager";
}

}  // namespace
}  // namespace e2e
